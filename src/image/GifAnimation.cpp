#include "image/GifAnimation.h"

#include "image/GifReader.h"

#include <algorithm>
#include <cstring>

namespace {

// Composed frames may take at most this many bytes together.
constexpr unsigned long long kMaxComposedBytes = 512ull << 20;
// LZW codes at most 12 bits long stand for at most 4096 pixels each.
constexpr unsigned long long kMaxPixelsPerByte = 3000;

uint32_t mapColor(const ColorMapObject* map, int index)
{
    const GifColorType& c = map->Colors[index];
    return static_cast<uint32_t>(c.Red) << 16 | static_cast<uint32_t>(c.Green) << 8 | c.Blue;
}

// Fills a rectangle of the canvas (clipped) with one 32-bit value.
void fillRect(cBMP& canvas, int left, int top, int width, int height, uint32_t value)
{
    int x0 = std::max(0, left), y0 = std::max(0, top);
    int x1 = std::min(canvas.Width(), left + width), y1 = std::min(canvas.Height(), top + height);
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(canvas.Row(y));
        std::fill(row + x0, row + std::max(x0, x1), value);
    }
}

bool readGif(const uint8_t* data, size_t size, strGifAnimation& out)
{
    cGifReader reader(data, size);
    GifFileType* gif = reader.Gif();
    if (!gif)
        return false;
    int sw = gif->SWidth, sh = gif->SHeight;
    if (sw <= 0 || sh <= 0 || sw > kMaxImageSide || sh > kMaxImageSide)
        return false;
    unsigned long long frameBytes = 4ull * static_cast<unsigned>(sw) * static_cast<unsigned>(sh);
    // Every frame is composed on a screen-sized canvas, so a few bytes claiming a huge
    // screen would cost as much as a huge image: the screen is held to what the data
    // could fill (as each image is below), and the canvas and one frame to the cap.
    if (frameBytes / 4 > (size + 1) * kMaxPixelsPerByte || 2 * frameBytes > kMaxComposedBytes)
        return false;

    const ColorMapObject* globalMap = gif->SColorMap;
    uint32_t clearValue = 0; // background colour, alpha 0
    if (globalMap && gif->SBackGroundColor < globalMap->ColorCount) {
        out.hasBackground = true;
        out.backgroundColor = mapColor(globalMap, gif->SBackGroundColor);
        clearValue = out.backgroundColor;
    }
    if (globalMap) {
        out.useGlobalTable = true;
        for (int i = 0; i < globalMap->ColorCount; ++i)
            out.globalTable.push_back(mapColor(globalMap, i));
    }

    bool inNetscape = false;
    auto onBlock = [&](int code, const GifByteType* b, int index) {
        if (code == APPLICATION_EXT_FUNC_CODE && index == 0) {
            inNetscape = b[0] == 11 && !std::memcmp(b + 1, "NETSCAPE2.0", 11);
            out.netscape = out.netscape || inNetscape;
        } else if (code == APPLICATION_EXT_FUNC_CODE && inNetscape) {
            if (b[0] >= 3 && b[1] == 1)
                out.loopCount = b[2] | b[3] << 8;
            if (b[0] >= 5 && b[1] == 2)
                out.bufferSize = b[2] | b[3] << 8 | b[4] << 16 | static_cast<uint32_t>(b[5]) << 24;
        } else if (code == COMMENT_EXT_FUNC_CODE) {
            out.comment.append(reinterpret_cast<const char*>(b + 1), b[0]);
        }
    };

    cBMP canvas, saved;
    if (!canvas.Create(sw, sh, 32))
        return false;
    fillRect(canvas, 0, 0, sw, sh, clearValue);
    std::vector<GifPixelType> pixels;
    for (;;) {
        const cGifReader::eRecord record = reader.NextImage(onBlock);
        if (record == cGifReader::GIF_END)
            break;
        if (record == cGifReader::GIF_DAMAGED)
            return false;
        const GifImageDesc& d = reader.Image();
        const GraphicsControlBlock& gcb = reader.Control();
        unsigned long long area = static_cast<unsigned long long>(std::max(0, d.Width)) * std::max(0, d.Height);
        if (d.Width <= 0 || d.Height <= 0 || area > (reader.BytesLeft() + 1) * kMaxPixelsPerByte)
            return false;
        if (frameBytes * (out.frames.size() + 2) > kMaxComposedBytes)
            return false; // the frames and the canvas
        if (!reader.ReadPixels(pixels))
            return false;

        if (gcb.DisposalMode == DISPOSE_PREVIOUS)
            saved = canvas;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : globalMap;
        for (int y = 0; map && y < d.Height; ++y) {
            int cy = d.Top + y;
            if (cy < 0 || cy >= sh)
                continue;
            auto* row = reinterpret_cast<uint32_t*>(canvas.Row(cy));
            const GifPixelType* src = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(d.Width);
            for (int x = 0; x < d.Width; ++x) {
                int cx = d.Left + x, index = src[x];
                if (cx < 0 || cx >= sw || index == gcb.TransparentColor || index >= map->ColorCount)
                    continue;
                row[cx] = 0xFF000000 | mapColor(map, index);
            }
        }

        strGifFrame frame;
        frame.image = canvas;
        frame.delay = gcb.DelayTime;
        frame.disposal = gcb.DisposalMode;
        frame.interlace = d.Interlace;
        frame.transparentIndex = gcb.TransparentColor;
        frame.left = d.Left;
        frame.top = d.Top;
        if (d.ColorMap) {
            for (int i = 0; i < d.ColorMap->ColorCount; ++i)
                frame.colorTable.push_back(mapColor(d.ColorMap, i));
        }
        out.frames.push_back(std::move(frame));

        if (gcb.DisposalMode == DISPOSE_BACKGROUND)
            fillRect(canvas, d.Left, d.Top, d.Width, d.Height, clearValue);
        else if (gcb.DisposalMode == DISPOSE_PREVIOUS && !saved.Empty())
            canvas = saved;
    }
    out.screenWidth = sw;
    out.screenHeight = sh;
    return !out.frames.empty();
}

} // namespace

bool ReadGifAnimation(const uint8_t* data, size_t size, strGifAnimation& out)
{
    out = strGifAnimation();
    if (data && readGif(data, size, out))
        return true;
    out = strGifAnimation();
    return false;
}
