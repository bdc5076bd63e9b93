// cGifEncoder: palette building over all frames in pass 1, then the block sequence
// through giflib's write-callback interface in pass 2.

#include "export/GifEncoder.h"

#include <gif_lib.h>
#include <zlib.h>

#include <algorithm>

#include "export/GifFile.h"

using gifpal::cColorIndex;
using gifpal::kTransparent;

namespace {

// A colour map padded with black to a power of two; null on allocation failure.
ColorMapObject* makeMap(const std::vector<uint32_t>& table)
{
    int size = 2;
    while (size < static_cast<int>(table.size()))
        size *= 2;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    if (!map)
        return nullptr;
    for (int i = 0; i < size; ++i) {
        uint32_t c = i < static_cast<int>(table.size()) ? table[static_cast<size_t>(i)] : 0;
        map->Colors[i] = {static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                          static_cast<GifByteType>(c)};
    }
    return map;
}

struct MapGuard {
    ColorMapObject* map;
    ~MapGuard() { GifFreeMapObject(map); }
};

// The box of the pixels that are not transparent; a frame with none is 1 x 1 at 0, 0.
void opaqueBox(const std::vector<uint32_t>& work, int width, int height, int box[4])
{
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = work.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x)
            if (row[x] != kTransparent) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    if (x1 < 0)
        x0 = y0 = x1 = y1 = 0;
    box[0] = x0, box[1] = y0, box[2] = x1 - x0 + 1, box[3] = y1 - y0 + 1;
}

} // namespace

cGifEncoder::cGifEncoder() = default;

cGifEncoder::~cGifEncoder() { Close(); }

void cGifEncoder::Reset(eGifQuality quality, size_t cacheBudget)
{
    Close();
    quality_ = quality;
    budget_ = cacheBudget;
    cached_ = 0;
    plans_.clear();
    screenW_ = screenH_ = 0;
    globalTable_.clear();
    globalPositions_.Clear();
    globalTransparent_ = -1;
    next_ = 0;
    failed_ = false;
}

void cGifEncoder::Close()
{
    if (!gif_)
        return;
    sink_ = nullptr; // an abandoned file gets no trailer
    int err = 0;
    EGifCloseFile(gif_, &err);
    gif_ = nullptr;
}

int cGifEncoder::WriteBytes(GifFileType* gif, const uint8_t* data, int length)
{
    auto* self = static_cast<cGifEncoder*>(gif->UserData);
    if (!self->sink_)
        return length;
    return self->sink_(data, static_cast<size_t>(length)) ? length : 0;
}

bool cGifEncoder::Reduce(const CGIFLocal& f, std::vector<uint32_t>& list, std::vector<uint8_t>& indices, int box[4])
{
    if (f.image.Empty())
        return false;
    gifpal::MarkUp(f, work_);
    if (!gifpal::CollectColors(work_, list)) {
        if (!gifpal::ReduceColors(f, work_, quality_) || !gifpal::CollectColors(work_, list))
            return false;
    }
    int w = f.image.Width();
    opaqueBox(work_, w, f.image.Height(), box);
    cColorIndex positions;
    for (size_t i = 0; i < list.size(); ++i)
        positions.Insert(list[i], static_cast<int>(i));
    indices.resize(static_cast<size_t>(box[2]) * static_cast<size_t>(box[3]));
    uint8_t* out = indices.data();
    for (int y = 0; y < box[3]; ++y) {
        const uint32_t* row = work_.data() + static_cast<size_t>(box[1] + y) * static_cast<size_t>(w) + box[0];
        uint32_t last = ~row[0];
        uint8_t index = 0;
        for (int x = 0; x < box[2]; ++x) {
            if (row[x] != last) {
                last = row[x];
                index = static_cast<uint8_t>(positions.Find(last));
            }
            *out++ = index;
        }
    }
    return true;
}

bool cGifEncoder::Analyse(const CGIFLocal& f)
{
    strPlan plan;
    if (gif_ || !Reduce(f, plan.list, indices_, plan.box))
        return false;
    plan.transparent = std::find(plan.list.begin(), plan.list.end(), kTransparent) != plan.list.end();
    plan.delay = std::clamp(f.delay, 0, 0xFFFF);
    plan.disposal = f.disposal;
    plan.interlace = f.interlace;
    screenW_ = std::max(screenW_, f.image.Width());
    screenH_ = std::max(screenH_, f.image.Height());
    uLongf size = compressBound(static_cast<uLong>(indices_.size()));
    if (cached_ + size <= budget_) {
        plan.packed.resize(size);
        if (compress2(plan.packed.data(), &size, indices_.data(), static_cast<uLong>(indices_.size()), 1) == Z_OK &&
            cached_ + size <= budget_) {
            plan.packed.resize(size);
            plan.packed.shrink_to_fit();
            cached_ += size;
        } else {
            plan.packed.clear();
            plan.packed.shrink_to_fit();
        }
    }
    plans_.push_back(std::move(plan));
    return true;
}

bool cGifEncoder::NeedsImage(int i) const
{
    return i >= 0 && i < FrameCount() && plans_[static_cast<size_t>(i)].packed.empty();
}

bool cGifEncoder::Begin(Sink sink, uint32_t background, int loopCount, uint32_t bufferSize, const std::string& comment)
{
    if (plans_.empty() || gif_)
        return false;

    // The global table takes every frame, in order, whose colours still fit in 256
    // entries; those frames are written with it.
    std::vector<uint32_t> merged;
    cColorIndex mergedSet;
    for (strPlan& p : plans_) {
        int added = 0;
        for (uint32_t v : p.list)
            added += mergedSet.Find(v) < 0;
        if (merged.size() + static_cast<size_t>(added) > 256)
            continue;
        for (uint32_t v : p.list)
            if (mergedSet.Find(v) < 0) {
                mergedSet.Insert(v, static_cast<int>(merged.size()));
                merged.push_back(v);
            }
        p.global = true;
    }
    globalTransparent_ = gifpal::FinishTable(merged, globalTable_, globalPositions_);

    bool netscape = plans_.size() > 1;
    bool gif89 = netscape || !comment.empty();
    for (const strPlan& p : plans_)
        gif89 = gif89 || p.delay || p.disposal || p.transparent;

    int backgroundIndex = 0;
    if (background < 0x1000000) {
        auto it = std::find(globalTable_.begin(), globalTable_.end(), background);
        if (it != globalTable_.end())
            backgroundIndex = static_cast<int>(it - globalTable_.begin());
    }

    sink_ = std::move(sink);
    int err = 0;
    gif_ = EGifOpen(this, WriteBytes, &err);
    if (!gif_)
        return false;
    EGifSetGifVersion(gif_, gif89);
    bool ok;
    {
        MapGuard screenMap{makeMap(globalTable_)};
        ok = screenMap.map &&
             EGifPutScreenDesc(gif_, screenW_, screenH_, GifBitSize(static_cast<int>(globalTable_.size())),
                               backgroundIndex, screenMap.map) == GIF_OK;
    }
    if (ok && netscape) {
        GifByteType loop[3] = {1, static_cast<GifByteType>(loopCount & 0xFF),
                               static_cast<GifByteType>(loopCount >> 8 & 0xFF)};
        ok = EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(gif_, 3, loop) == GIF_OK;
        if (ok && bufferSize) {
            GifByteType buf[5] = {2, static_cast<GifByteType>(bufferSize), static_cast<GifByteType>(bufferSize >> 8),
                                  static_cast<GifByteType>(bufferSize >> 16),
                                  static_cast<GifByteType>(bufferSize >> 24)};
            ok = EGifPutExtensionBlock(gif_, 5, buf) == GIF_OK;
        }
        ok = ok && EGifPutExtensionTrailer(gif_) == GIF_OK;
    }
    if (ok && !comment.empty())
        ok = EGifPutComment(gif_, comment.c_str()) == GIF_OK;
    failed_ = !ok;
    return ok;
}

bool cGifEncoder::Write(int i, const CGIFLocal* frame)
{
    if (!gif_ || failed_ || i != next_ || i >= FrameCount())
        return false;
    const strPlan& plan = plans_[static_cast<size_t>(i)];
    bool ok;
    if (!plan.packed.empty()) {
        indices_.resize(static_cast<size_t>(plan.box[2]) * static_cast<size_t>(plan.box[3]));
        uLongf size = static_cast<uLongf>(indices_.size());
        ok = uncompress(indices_.data(), &size, plan.packed.data(), static_cast<uLong>(plan.packed.size())) == Z_OK &&
             size == indices_.size();
    } else {
        // Reduced again: the same image gives the same colours in the same order.
        int box[4];
        ok = frame && Reduce(*frame, list_, indices_, box) && list_ == plan.list && std::equal(box, box + 4, plan.box);
    }
    ok = ok && WriteImage(plan, indices_);
    failed_ = !ok;
    ++next_;
    return ok;
}

bool cGifEncoder::WriteImage(const strPlan& plan, const std::vector<uint8_t>& indices)
{
    // List position -> table position.
    uint8_t lookup[256] = {};
    std::vector<uint32_t> localTable;
    int transparentIndex = -1;
    if (plan.global) {
        for (size_t k = 0; k < plan.list.size(); ++k)
            lookup[k] = static_cast<uint8_t>(std::max(0, globalPositions_.Find(plan.list[k])));
        if (plan.transparent)
            transparentIndex = globalTransparent_;
    } else {
        cColorIndex positions;
        transparentIndex = gifpal::FinishTable(plan.list, localTable, positions);
        for (size_t k = 0; k < plan.list.size(); ++k)
            lookup[k] = static_cast<uint8_t>(std::max(0, positions.Find(plan.list[k])));
    }

    if (plan.disposal || transparentIndex >= 0 || plan.delay) {
        GifByteType gce[4] = {static_cast<GifByteType>((plan.disposal & 7) << 2 | (transparentIndex >= 0 ? 1 : 0)),
                              static_cast<GifByteType>(plan.delay & 0xFF), static_cast<GifByteType>(plan.delay >> 8),
                              static_cast<GifByteType>(std::max(0, transparentIndex))};
        if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, gce) != GIF_OK)
            return false;
    }
    MapGuard local{plan.global ? nullptr : makeMap(localTable)};
    // giflib drops the previous frame's local map without freeing it when this
    // frame has none; free it here.
    if (!local.map && gif_->Image.ColorMap) {
        GifFreeMapObject(gif_->Image.ColorMap);
        gif_->Image.ColorMap = nullptr;
    }
    const int* box = plan.box;
    if ((!plan.global && !local.map) ||
        EGifPutImageDesc(gif_, box[0], box[1], box[2], box[3], plan.interlace, local.map) != GIF_OK)
        return false;

    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    line_.resize(static_cast<size_t>(box[2]));
    int passes = plan.interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        int step = plan.interlace ? kStep[pass] : 1;
        for (int y = plan.interlace ? kStart[pass] : 0; y < box[3]; y += step) {
            const uint8_t* row = indices.data() + static_cast<size_t>(y) * static_cast<size_t>(box[2]);
            for (int x = 0; x < box[2]; ++x)
                line_[static_cast<size_t>(x)] = lookup[row[x]];
            if (EGifPutLine(gif_, line_.data(), box[2]) != GIF_OK)
                return false;
        }
    }
    return true;
}

bool cGifEncoder::End()
{
    if (!gif_)
        return false;
    bool ok = !failed_ && next_ == FrameCount();
    int err = 0;
    if (!ok)
        sink_ = nullptr;
    if (EGifCloseFile(gif_, &err) != GIF_OK)
        ok = false;
    gif_ = nullptr;
    return ok;
}
