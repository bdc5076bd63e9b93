// CGIFFile::save: palette building over all frames, then the block sequence through
// giflib's write-callback interface into memory, then one atomic file write.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "export/GifFile.h"
#include "export/GifPalette.h"
#include "platform/FileIO.h"

using gifpal::cColorIndex;
using gifpal::kTransparent;

namespace {

// Working state of the frame being written.
struct strWorking {
    int left = 0, top = 0, width = 0, height = 0;
    int disposal = 0;
    bool userInput = false;
    bool transparent = false;
    int transparentIndex = 0;
    int delay = 0;
    bool interlace = false;
    const std::vector<uint32_t>* colors = nullptr;  // local table, or null for the global one
};

int writeBytes(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// A colour map padded with black to a power of two; null on allocation failure.
ColorMapObject* makeMap(const std::vector<uint32_t>& table)
{
    int size = 2;
    while (size < static_cast<int>(table.size())) size *= 2;
    ColorMapObject* map = GifMakeMapObject(size, nullptr);
    if (!map) return nullptr;
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

// Per-frame result of palette building.
struct FramePlan {
    std::vector<uint32_t> list;  // its colours, in first-seen order
    bool global = false;
    cColorIndex positions;       // local table positions (frames with a local table)
};

// The global table's colour list: it takes every frame, in order, whose colours
// still fit in 256 entries; those frames are marked global.
std::vector<uint32_t> mergeGlobal(std::vector<FramePlan>& plans)
{
    std::vector<uint32_t> merged;
    cColorIndex mergedSet;
    for (FramePlan& p : plans) {
        int added = 0;
        for (uint32_t v : p.list) added += mergedSet.find(v) < 0;
        if (merged.size() + static_cast<size_t>(added) > 256) continue;
        for (uint32_t v : p.list)
            if (mergedSet.find(v) < 0) {
                mergedSet.insert(v, static_cast<int>(merged.size()));
                merged.push_back(v);
            }
        p.global = true;
    }
    return merged;
}

// The bounding box of the opaque pixels; a frame with none is 1 x 1 at 0, 0.
void cropToOpaque(const CGIFLocal& f, strWorking& w)
{
    int iw = f.image.width(), ih = f.image.height();
    int x0 = iw, y0 = ih, x1 = -1, y1 = -1;
    for (int y = 0; y < ih; ++y) {
        const uint32_t* row = f.work.data() + static_cast<size_t>(y) * static_cast<size_t>(iw);
        for (int x = 0; x < iw; ++x)
            if (row[x] != kTransparent) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    if (x1 < 0) x0 = y0 = x1 = y1 = 0;
    w.left = x0, w.top = y0, w.width = x1 - x0 + 1, w.height = y1 - y0 + 1;
}

// Graphic control extension, image descriptor and rows of one frame.
bool writeFrame(GifFileType* gif, const CGIFLocal& f, const cColorIndex& positions, bool global,
                std::vector<GifPixelType>& line)
{
    strWorking w;
    w.disposal = f.disposal;
    w.delay = f.delay;
    w.interlace = f.interlace;
    w.transparent = f.transparentIndex >= 0;
    w.transparentIndex = w.transparent ? f.transparentIndex : 0;
    w.colors = global ? nullptr : &f.colorTable;
    cropToOpaque(f, w);

    if (w.disposal || w.transparent || w.delay) {
        GifByteType gce[4] = {
            static_cast<GifByteType>((w.disposal & 7) << 2 | (w.userInput ? 2 : 0) | (w.transparent ? 1 : 0)),
            static_cast<GifByteType>(w.delay & 0xFF), static_cast<GifByteType>(w.delay >> 8 & 0xFF),
            static_cast<GifByteType>(w.transparentIndex)};
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce) != GIF_OK) return false;
    }
    MapGuard local{w.colors ? makeMap(*w.colors) : nullptr};
    // giflib drops the previous frame's local map without freeing it when this
    // frame has none; free it here.
    if (!local.map && gif->Image.ColorMap) {
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
    if ((w.colors && !local.map) ||
        EGifPutImageDesc(gif, w.left, w.top, w.width, w.height, w.interlace, local.map) != GIF_OK)
        return false;

    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    line.resize(static_cast<size_t>(w.width));
    int iw = f.image.width();
    int passes = w.interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        int step = w.interlace ? kStep[pass] : 1;
        for (int y = w.interlace ? kStart[pass] : 0; y < w.height; y += step) {
            const uint32_t* row = f.work.data() + static_cast<size_t>(w.top + y) * static_cast<size_t>(iw) + w.left;
            uint32_t last = ~row[0];
            int index = 0;
            for (int x = 0; x < w.width; ++x) {
                if (row[x] != last) {
                    last = row[x];
                    index = last == kTransparent ? w.transparentIndex : std::max(0, positions.find(last));
                }
                line[static_cast<size_t>(x)] = static_cast<GifPixelType>(index);
            }
            if (EGifPutLine(gif, line.data(), w.width) != GIF_OK) return false;
        }
    }
    return true;
}

}  // namespace

bool CGIFFile::encode(uint32_t background, std::vector<uint8_t>& out)
{
    out.clear();
    if (m_frames.empty()) return false;
    for (const auto& f : m_frames)
        if (f->image.empty()) return false;

    hasBackground = background < 0x1000000;
    backgroundColor = hasBackground ? background : 0;
    netscape = m_frames.size() > 1;

    // Mark-up, counting and reduction.
    std::vector<FramePlan> plans(m_frames.size());
    screenWidth = screenHeight = 0;
    for (size_t i = 0; i < m_frames.size(); ++i) {
        CGIFLocal& f = *m_frames[i];
        screenWidth = std::max(screenWidth, f.image.width());
        screenHeight = std::max(screenHeight, f.image.height());
        gifpal::markUp(f);
        if (!gifpal::collectColors(f.work, plans[i].list)) {
            if (!gifpal::reduceColors(f) || !gifpal::collectColors(f.work, plans[i].list)) return false;
        }
    }

    cColorIndex globalPositions;
    int globalTransparent = gifpal::finishTable(mergeGlobal(plans), globalTable, globalPositions);
    useGlobalTable = true;
    globalCount = static_cast<int>(globalTable.size());

    bool gif89 = netscape || !comment.empty();
    for (size_t i = 0; i < m_frames.size(); ++i) {
        CGIFLocal& f = *m_frames[i];
        FramePlan& p = plans[i];
        bool hasMarker = std::find(p.list.begin(), p.list.end(), kTransparent) != p.list.end();
        if (p.global) {
            f.colorTable.clear();
            f.colorCount = 0;
            f.transparentIndex = hasMarker ? globalTransparent : -1;
        } else {
            f.transparentIndex = gifpal::finishTable(p.list, f.colorTable, p.positions);
            f.colorCount = static_cast<int>(f.colorTable.size());
        }
        gif89 = gif89 || f.delay || f.disposal || f.transparentIndex >= 0;
    }

    int backgroundIndex = 0;
    if (hasBackground) {
        auto it = std::find(globalTable.begin(), globalTable.end(), backgroundColor);
        if (it != globalTable.end()) backgroundIndex = static_cast<int>(it - globalTable.begin());
    }

    int err = 0;
    GifFileType* gif = EGifOpen(&out, writeBytes, &err);
    if (!gif) return false;
    EGifSetGifVersion(gif, gif89);
    bool ok = true;
    {
        MapGuard screenMap{makeMap(globalTable)};
        ok = screenMap.map && EGifPutScreenDesc(gif, screenWidth, screenHeight, GifBitSize(globalCount),
                                                backgroundIndex, screenMap.map) == GIF_OK;
    }
    if (ok && netscape) {
        GifByteType loop[3] = {1, static_cast<GifByteType>(loopCount & 0xFF),
                               static_cast<GifByteType>(loopCount >> 8 & 0xFF)};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
             EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
             EGifPutExtensionBlock(gif, 3, loop) == GIF_OK;
        if (ok && bufferSize) {
            GifByteType buf[5] = {2, static_cast<GifByteType>(bufferSize), static_cast<GifByteType>(bufferSize >> 8),
                                  static_cast<GifByteType>(bufferSize >> 16), static_cast<GifByteType>(bufferSize >> 24)};
            ok = EGifPutExtensionBlock(gif, 5, buf) == GIF_OK;
        }
        ok = ok && EGifPutExtensionTrailer(gif) == GIF_OK;
    }
    if (ok && !comment.empty()) ok = EGifPutComment(gif, comment.c_str()) == GIF_OK;

    std::vector<GifPixelType> line;
    for (size_t i = 0; ok && i < m_frames.size(); ++i) {
        const FramePlan& p = plans[i];
        ok = writeFrame(gif, *m_frames[i], p.global ? globalPositions : p.positions, p.global, line);
    }
    int closeErr = 0;
    if (EGifCloseFile(gif, &closeErr) != GIF_OK) ok = false;
    for (const auto& f : m_frames) std::vector<uint32_t>().swap(f->work);
    if (!ok) out.clear();
    return ok;
}

bool CGIFFile::save(const std::filesystem::path& path, uint32_t background)
{
    std::vector<uint8_t> bytes;
    return encode(background, bytes) && platform::WriteFileAtomic(path, bytes);
}
