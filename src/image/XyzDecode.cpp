// XYZ pictures: "XYZ1", width and height (16-bit little-endian), then one zlib
// stream holding 256 RGB palette entries and width × height indices, top row first.

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "image/ImageDecoders.h"

bool DecodeXyz(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels)
{
    out.Clear();
    palette.Clear();
    if (size < 8 || std::memcmp(data, "XYZ1", 4) != 0)
        return false;
    int w = data[4] | (data[5] << 8);
    int h = data[6] | (data[7] << 8);
    if (!FitsPixelBudget(w, h, maxPixels))
        return false;
    const size_t need = 768 + static_cast<size_t>(w) * h;

    // Inflate in 2048-byte steps; the buffer grows only as the stream delivers, so a
    // header that promises more than the data holds costs nothing.
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef*>(data + 8);
    zs.avail_in = static_cast<uInt>(std::min<size_t>(size - 8, 0xFFFFFFFFu));
    std::vector<uint8_t> raw;
    uint8_t chunk[2048];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END)
            break;
        size_t got = sizeof chunk - zs.avail_out;
        size_t keep = std::min(got, need - raw.size()); // bytes past the picture are ignored
        raw.insert(raw.end(), chunk, chunk + keep);
        if (rc == Z_OK && got == 0 && zs.avail_in == 0)
            break; // input ran out
    }
    inflateEnd(&zs);
    // The stream must reach its end marker and hold the whole picture.
    if (rc != Z_STREAM_END || raw.size() < need)
        return false;

    if (!out.Create(w, h, 8, 256))
        return false;
    uint32_t entries[256];
    for (int i = 0; i < 256; ++i) {
        const uint8_t* e = raw.data() + 3 * i;
        entries[i] = (i == 0 ? 0u : 0xFF000000u) | (e[0] << 16) | (e[1] << 8) | e[2];
    }
    std::memcpy(out.ColorTable().data(), entries, sizeof entries);
    palette.Set(entries, 256);
    for (int y = 0; y < h; ++y)
        std::memcpy(out.Row(y), raw.data() + 768 + static_cast<size_t>(y) * w, w);
    return true;
}
