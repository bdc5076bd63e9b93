// GIF through giflib: records are read up to the first image, which is painted onto
// a black 24-bit canvas of the logical screen size (transparent pixels left
// unpainted); the rest of the file is never decoded.

#include <algorithm>
#include <cstring>

#include "image/GifReader.h"
#include "image/ImageDecoders.h"

namespace {

// Paints one decoded row of the first image onto the canvas.
void paintRow(cBMP& canvas, const GifImageDesc& d, int y, const GifPixelType* line, const ColorMapObject* map,
              int transparent)
{
    int cy = d.Top + y;
    if (cy < 0 || cy >= canvas.Height() || !map)
        return;
    uint8_t* row = canvas.Row(cy);
    for (int x = 0; x < d.Width; ++x) {
        int cx = d.Left + x;
        int index = line[x];
        if (cx >= canvas.Width() || index == transparent || index >= map->ColorCount)
            continue;
        const GifColorType& c = map->Colors[index];
        row[3 * cx] = c.Blue;
        row[3 * cx + 1] = c.Green;
        row[3 * cx + 2] = c.Red;
    }
}

} // namespace

bool DecodeGif(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels)
{
    out.Clear();
    palette.Clear();
    cGifReader reader(data, size);
    GifFileType* gif = reader.Gif();
    if (!gif)
        return false;
    int sw = gif->SWidth, sh = gif->SHeight;
    if (!FitsPixelBudget(sw, sh, maxPixels))
        return false;
    // The canvas can't be far larger than what the file could describe.
    unsigned long long canvasBytes = 3ull * static_cast<unsigned>(sw) * static_cast<unsigned>(sh);
    if (canvasBytes > static_cast<unsigned long long>(size) * 4096ull + (16ull << 20))
        return false;
    if (reader.NextImage() != cGifReader::GIF_IMAGE)
        return false;
    const GifImageDesc& d = reader.Image();
    // The image's own rectangle is decoded in full, so it is held to the budget too.
    if (!FitsPixelBudget(d.Width, d.Height, maxPixels))
        return false;
    std::vector<GifPixelType> pixels;
    cBMP canvas;
    if (!reader.ReadPixels(pixels) || !canvas.Create(sw, sh, 24))
        return false;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    for (int y = 0; y < d.Height; ++y)
        paintRow(canvas, d, y, pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(d.Width), map,
                 reader.Control().TransparentColor);
    out.Swap(canvas);
    return true;
}
