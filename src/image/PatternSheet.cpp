#include "image/PatternSheet.h"

#include <algorithm>
#include <cstring>

#include "image/HueAdjust.h"

int TransparencyFlags(int transType)
{
    static const int flags[5] = {0, kSheetKeyIndex0, kSheetKeyTopLeft, kSheetKeyBlack, kSheetKeyAuto};
    return transType >= 0 && transType < 5 ? flags[transType] : 0;
}

void cPatternSheet::SetColorAdjust(const int values[4])
{
    for (int i = 0; i < 4; ++i)
        adjust_[i] = values ? values[i] : 0;
}

void cPatternSheet::ReleaseTextures()
{
    std::vector<uint32_t>().swap(texture_);
    std::vector<uint32_t>().swap(work_[0]);
    std::vector<uint32_t>().swap(work_[1]);
    workTag_ = 0;
}

bool cPatternSheet::Build(int a, int b, int flags)
{
    ReleaseTextures();
    if (a < 0) {
        a = reqA_;
        b = reqB_;
        flags = reqFlags_;
    } else {
        reqA_ = a;
        reqB_ = b;
        reqFlags_ = flags;
    }
    patternCount_ = 0;
    if (Empty() || a <= 0 || b <= 0)
        return false;
    int w = Width(), h = Height();
    if (flags & kSheetDivideBySize) {
        patW_ = a;
        patH_ = b;
    } else {
        patW_ = std::max(1, w / a);
        patH_ = std::max(1, h / b);
    }
    cols_ = w / patW_;
    rows_ = h / patH_;
    long long count = static_cast<long long>(cols_) * rows_;
    if (count < 1 || count > kMaxPatterns)
        return false;

    texture_.assign(static_cast<size_t>(w) * h, 0);
    work_[0].assign(static_cast<size_t>(patW_) * patH_, 0);
    work_[1].assign(static_cast<size_t>(patW_) * patH_, 0);
    ChooseKey(flags);
    FillTexture();
    patternCount_ = static_cast<int>(count);
    return true;
}

void cPatternSheet::ChooseKey(int flags)
{
    key_ = kNoKeyColor;
    keyIndex_ = kNoKeyIndex;
    bool paletted = BitsPerPixel() == 8 && Palette().Count() > 0;
    const uint32_t* entries = Palette().Entries();
    int n = Palette().Count();
    if ((flags & kSheetKeyAuto) && paletted) {
        for (int i = 0; i < n; ++i)
            if ((entries[i] >> 24) == 0) {
                keyIndex_ = static_cast<uint32_t>(i);
                break;
            }
    }
    if (keyIndex_ == kNoKeyIndex) {
        if ((flags & kSheetKeyIndex0) && paletted) {
            keyIndex_ = 0;
        } else if (flags & kSheetKeyTopLeft) {
            if (paletted)
                keyIndex_ = Row(0)[0];
            else if (BitsPerPixel() == 32)
                key_ = PixelColor(*this, 0, 0) & 0xFFFFFF;
        } else if (flags & kSheetKeyBlack) {
            key_ = 0x000000;
        }
    }
    uint32_t e;
    if (keyIndex_ != kNoKeyIndex && Palette().Entry(static_cast<int>(keyIndex_), e))
        key_ = e & 0xFFFFFF;
}

void cPatternSheet::FillTexture()
{
    int w = Width(), h = Height();
    int shift = adjust_[0];
    if (BitsPerPixel() == 8) {
        // Indices at or beyond the palette's end stay transparent black.
        uint32_t table[256] = {};
        int n = std::min(Palette().Count(), 256);
        for (int i = 0; i < n; ++i) {
            uint32_t c = Palette().Entries()[i];
            if (shift != 0)
                c = AdjustHue(c, shift, adjust_[1], adjust_[2]);
            table[i] = static_cast<uint32_t>(i) == keyIndex_ ? (c & 0x00FFFFFF) : c;
        }
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = Row(y);
            uint32_t* dst = texture_.data() + static_cast<size_t>(y) * w;
            for (int x = 0; x < w; ++x)
                dst[x] = table[src[x]];
        }
        return;
    }
    // 32-bit pixels; the key index means nothing here.
    uint32_t key = key_;
    uint32_t lastIn = 0, lastOut = 0; // runs of one colour are adjusted once
    if (shift != 0)
        lastOut = AdjustHue(lastIn, shift, adjust_[1], adjust_[2]);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = Row(y);
        uint32_t* dst = texture_.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            uint32_t c;
            std::memcpy(&c, src + 4 * x, 4);
            if ((c >> 24) == 0 || (c & 0xFFFFFF) == key)
                dst[x] = 0;
            else if (shift == 0)
                dst[x] = c;
            else if (c == lastIn)
                dst[x] = lastOut;
            else
                dst[x] = lastOut = AdjustHue(lastIn = c, shift, adjust_[1], adjust_[2]);
        }
    }
}

cPatternSheet::Rect cPatternSheet::PatternRect(int i) const
{
    Rect r;
    if (cols_ <= 0 || i < 0)
        return r;
    r.left = (i % cols_) * patW_;
    r.top = (i / cols_) * patH_;
    r.right = r.left + patW_;
    r.bottom = r.top + patH_;
    return r;
}

int cPatternSheet::PatternAt(int x, int y) const
{
    if (x < 0 || y < 0 || patW_ <= 0 || patH_ <= 0)
        return -1;
    int c = x / patW_, r = y / patH_;
    if (c >= cols_ || r >= rows_)
        return -1;
    return c + r * cols_;
}

strPatternUV cPatternSheet::PatternUV(int i) const
{
    strPatternUV uv;
    if (!IsValidPattern(i))
        return uv;
    float w = static_cast<float>(Width()), h = static_cast<float>(Height());
    uv.u = static_cast<float>((i % cols_) * patW_) / w;
    uv.v = static_cast<float>((i / cols_) * patH_) / h;
    uv.width = static_cast<float>(patW_) / w;
    uv.height = static_cast<float>(patH_) / h;
    uv.valid = true;
    return uv;
}

void cPatternSheet::PatternSize(int& w, int& h) const
{
    w = IsReady() ? patW_ : 0;
    h = IsReady() ? patH_ : 0;
}

void cPatternSheet::GridSize(int& columns, int& rows) const
{
    columns = IsReady() ? cols_ : 0;
    rows = IsReady() ? rows_ : 0;
}
