#include "image/PatternSheet.h"

#include <algorithm>
#include <cstring>

#include "image/HueAdjust.h"

int transparencyFlags(int transType)
{
    static const int flags[5] = {0, kSheetKeyIndex0, kSheetKeyTopLeft, kSheetKeyBlack, kSheetKeyAuto};
    return transType >= 0 && transType < 5 ? flags[transType] : 0;
}

void cPatternSheet::setColorAdjust(const int values[4])
{
    for (int i = 0; i < 4; ++i) m_adjust[i] = values ? values[i] : 0;
}

void cPatternSheet::releaseTextures()
{
    std::vector<uint32_t>().swap(m_texture);
    std::vector<uint32_t>().swap(m_work[0]);
    std::vector<uint32_t>().swap(m_work[1]);
    m_workTag = 0;
}

bool cPatternSheet::build(int a, int b, int flags)
{
    releaseTextures();
    if (a < 0) {
        a = m_reqA;
        b = m_reqB;
        flags = m_reqFlags;
    } else {
        m_reqA = a;
        m_reqB = b;
        m_reqFlags = flags;
    }
    m_patternCount = 0;
    if (empty() || a <= 0 || b <= 0) return false;
    int w = width(), h = height();
    if (flags & kSheetDivideBySize) {
        m_patW = a;
        m_patH = b;
    } else {
        m_patW = std::max(1, w / a);
        m_patH = std::max(1, h / b);
    }
    m_cols = w / m_patW;
    m_rows = h / m_patH;
    long long count = static_cast<long long>(m_cols) * m_rows;
    if (count < 1 || count > kMaxPatterns) return false;

    m_texture.assign(static_cast<size_t>(w) * h, 0);
    m_work[0].assign(static_cast<size_t>(m_patW) * m_patH, 0);
    m_work[1].assign(static_cast<size_t>(m_patW) * m_patH, 0);
    chooseKey(flags);
    fillTexture();
    m_patternCount = static_cast<int>(count);
    return true;
}

void cPatternSheet::chooseKey(int flags)
{
    m_key = kNoKeyColor;
    m_keyIndex = kNoKeyIndex;
    bool paletted = bitsPerPixel() == 8 && palette().count() > 0;
    const uint32_t* entries = palette().entries();
    int n = palette().count();
    if ((flags & kSheetKeyAuto) && paletted) {
        for (int i = 0; i < n; ++i)
            if ((entries[i] >> 24) == 0) {
                m_keyIndex = static_cast<uint32_t>(i);
                break;
            }
    }
    if (m_keyIndex == kNoKeyIndex) {
        if ((flags & kSheetKeyIndex0) && paletted) {
            m_keyIndex = 0;
        } else if (flags & kSheetKeyTopLeft) {
            if (paletted)
                m_keyIndex = row(0)[0];
            else if (bitsPerPixel() == 32)
                m_key = pixelColor(*this, 0, 0) & 0xFFFFFF;
        } else if (flags & kSheetKeyBlack) {
            m_key = 0x000000;
        }
    }
    uint32_t e;
    if (m_keyIndex != kNoKeyIndex && palette().entry(static_cast<int>(m_keyIndex), e)) m_key = e & 0xFFFFFF;
}

void cPatternSheet::fillTexture()
{
    int w = width(), h = height();
    int shift = m_adjust[0];
    if (bitsPerPixel() == 8) {
        // Indices at or beyond the palette's end stay transparent black.
        uint32_t table[256] = {};
        int n = std::min(palette().count(), 256);
        for (int i = 0; i < n; ++i) {
            uint32_t c = palette().entries()[i];
            if (shift != 0) c = adjustHue(c, shift, m_adjust[1], m_adjust[2]);
            table[i] = static_cast<uint32_t>(i) == m_keyIndex ? (c & 0x00FFFFFF) : c;
        }
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = row(y);
            uint32_t* dst = m_texture.data() + static_cast<size_t>(y) * w;
            for (int x = 0; x < w; ++x) dst[x] = table[src[x]];
        }
        return;
    }
    // 32-bit pixels; the key index means nothing here.
    uint32_t key = m_key;
    uint32_t lastIn = 0, lastOut = 0;  // runs of one colour are adjusted once
    if (shift != 0) lastOut = adjustHue(lastIn, shift, m_adjust[1], m_adjust[2]);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = row(y);
        uint32_t* dst = m_texture.data() + static_cast<size_t>(y) * w;
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
                dst[x] = lastOut = adjustHue(lastIn = c, shift, m_adjust[1], m_adjust[2]);
        }
    }
}

cPatternSheet::Rect cPatternSheet::patternRect(int i) const
{
    Rect r;
    if (m_cols <= 0 || i < 0) return r;
    r.left = (i % m_cols) * m_patW;
    r.top = (i / m_cols) * m_patH;
    r.right = r.left + m_patW;
    r.bottom = r.top + m_patH;
    return r;
}

int cPatternSheet::patternAt(int x, int y) const
{
    if (x < 0 || y < 0 || m_patW <= 0 || m_patH <= 0) return -1;
    int c = x / m_patW, r = y / m_patH;
    if (c >= m_cols || r >= m_rows) return -1;
    return c + r * m_cols;
}

strPatternUV cPatternSheet::patternUV(int i) const
{
    strPatternUV uv;
    if (!isValidPattern(i)) return uv;
    float w = static_cast<float>(width()), h = static_cast<float>(height());
    uv.u = static_cast<float>((i % m_cols) * m_patW) / w;
    uv.v = static_cast<float>((i / m_cols) * m_patH) / h;
    uv.width = static_cast<float>(m_patW) / w;
    uv.height = static_cast<float>(m_patH) / h;
    uv.valid = true;
    return uv;
}

void cPatternSheet::patternSize(int& w, int& h) const
{
    w = isReady() ? m_patW : 0;
    h = isReady() ? m_patH : 0;
}

void cPatternSheet::gridSize(int& columns, int& rows) const
{
    columns = isReady() ? m_cols : 0;
    rows = isReady() ? m_rows : 0;
}
