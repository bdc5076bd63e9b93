// GIF through giflib: records are read up to the first image, which is painted onto
// a black 24-bit canvas of the logical screen size (transparent pixels left
// unpainted); the rest of the file is never decoded.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "image/GifMemory.h"
#include "image/ImageDecoders.h"

namespace {

// Paints one decoded row of the first image onto the canvas.
void paintRow(cBMP& canvas, const GifImageDesc& d, int y, const std::vector<GifPixelType>& line,
              const ColorMapObject* map, int transparent)
{
    int cy = d.Top + y;
    if (cy < 0 || cy >= canvas.height() || !map) return;
    uint8_t* row = canvas.row(cy);
    for (int x = 0; x < d.Width; ++x) {
        int cx = d.Left + x;
        int index = line[static_cast<size_t>(x)];
        if (cx >= canvas.width() || index == transparent || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        row[3 * cx] = c.Blue;
        row[3 * cx + 1] = c.Green;
        row[3 * cx + 2] = c.Red;
    }
}

}  // namespace

bool decodeGif(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels)
{
    out.clear();
    palette.clear();
    strGifMemorySource src{data, size, 0};
    int err = 0;
    cGifDecoderCloser closer{DGifOpen(&src, GifMemoryRead, &err)};
    GifFileType* gif = closer.gif;
    if (!gif) return false;
    int sw = gif->SWidth, sh = gif->SHeight;
    if (!fitsPixelBudget(sw, sh, maxPixels)) return false;
    // The canvas can't be far larger than what the file could describe.
    unsigned long long canvasBytes = 3ull * static_cast<unsigned>(sw) * static_cast<unsigned>(sh);
    if (canvasBytes > static_cast<unsigned long long>(size) * 4096ull + (16ull << 20)) return false;

    cBMP canvas;
    int transparent = -1;  // from the graphic control extension before the image
    std::vector<GifPixelType> line;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
        if (type == TERMINATE_RECORD_TYPE) return false;  // no image
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return false;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
            }
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return false;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
        const GifImageDesc& d = gif->Image;
        // The image's own rectangle is decoded in full, so it is held to the budget too.
        if (!fitsPixelBudget(d.Width, d.Height, maxPixels)) return false;
        line.assign(static_cast<size_t>(d.Width), 0);
        if (!canvas.create(sw, sh, 24)) return false;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        int passes = d.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            int y0 = d.Interlace ? start[pass] : 0, dy = d.Interlace ? step[pass] : 1;
            for (int y = y0; y < d.Height; y += dy) {
                if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return false;
                paintRow(canvas, d, y, line, map, transparent);
            }
        }
        out.swap(canvas);
        return true;
    }
}
