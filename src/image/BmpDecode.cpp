// BMP files: 1, 4, 8, 16, 24 and 32 bits; BI_RGB, BI_BITFIELDS (and the alpha
// variant), RLE8 and RLE4; bottom-up and top-down; core and info headers.

#include <algorithm>
#include <cstring>

#include "image/ImageDecoders.h"

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// RLE8/RLE4 into an 8-bit buffer whose rows are stored top first. `bottomUp` files
// start at the last row. Pixels the stream skips stay index 0.
bool decodeRle(const uint8_t* p, const uint8_t* end, cBMP& out, bool rle4, bool bottomUp)
{
    int w = out.Width(), h = out.Height();
    int x = 0, line = 0; // line counts rows in file order
    auto put = [&](uint8_t index) {
        if (x < w && line < h)
            out.Row(bottomUp ? h - 1 - line : line)[x] = index;
        ++x;
    };
    while (p + 2 <= end) {
        uint8_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(rle4 ? ((i & 1) ? (value & 15) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++line;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            if (p + 2 > end)
                return false;
            x += p[0];
            line += p[1];
            p += 2;
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            size_t bytes = rle4 ? (value + 1u) / 2 : value;
            size_t padded = (bytes + 1) & ~size_t{1};
            if (static_cast<size_t>(end - p) < bytes)
                return false;
            for (int i = 0; i < value; ++i)
                put(rle4 ? ((i & 1) ? (p[i / 2] & 15) : (p[i / 2] >> 4)) : p[i]);
            p += std::min<size_t>(padded, static_cast<size_t>(end - p));
        }
        if (line >= h)
            return true;
    }
    // A stream without its end marker still yields what it drew.
    return true;
}

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels)
{
    out.Clear();
    palette.Clear();
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    uint32_t offBits = u32(data + 10);
    const uint8_t* hdr = data + 14;
    uint32_t hsize = u32(hdr);
    if (hsize > size - 14)
        return false;

    int64_t width, height;
    int bpp;
    uint32_t compression = BI_RGB, clrUsed = 0;
    int entryBytes = 4;
    if (hsize == 12) {
        width = u16(hdr + 4);
        height = static_cast<int16_t>(u16(hdr + 6));
        bpp = u16(hdr + 10);
        entryBytes = 3;
    } else if (hsize == 40 || hsize == 52 || hsize == 56 || hsize == 108 || hsize == 124) {
        width = static_cast<int32_t>(u32(hdr + 4));
        height = static_cast<int32_t>(u32(hdr + 8));
        bpp = u16(hdr + 14);
        compression = u32(hdr + 16);
        clrUsed = u32(hdr + 32);
    } else {
        return false;
    }
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (!FitsPixelBudget(width, height, maxPixels))
        return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;

    bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    bool fields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if ((compression == BI_RLE8 && bpp != 8) || (compression == BI_RLE4 && bpp != 4))
        return false;
    if (fields && bpp != 16 && bpp != 32)
        return false;
    if (!rle && !fields && compression != BI_RGB)
        return false;

    // Bit-field masks: inside the larger headers, else right after a 40-byte one.
    size_t pos = 14 + hsize;
    uint32_t masks[4] = {0, 0, 0, 0};
    if (fields) {
        int n = compression == BI_ALPHABITFIELDS ? 4 : 3;
        const uint8_t* m = hdr + 40;
        if (hsize == 40) {
            if (size - pos < static_cast<size_t>(4 * n))
                return false;
            m = data + pos;
            pos += 4 * n;
        }
        for (int i = 0; i < n; ++i)
            masks[i] = u32(m + 4 * i);
        if (hsize >= 56)
            masks[3] = u32(hdr + 52);
    }

    // Colour table (indexed depths only).
    std::vector<uint32_t> table;
    if (bpp <= 8) {
        uint32_t count = clrUsed ? clrUsed : (1u << bpp);
        if (count > (1u << bpp))
            count = 1u << bpp;
        // Tables cut short by the pixel offset (as core headers often are) hold fewer.
        if (offBits > pos && (offBits - pos) / entryBytes < count)
            count = static_cast<uint32_t>((offBits - pos) / entryBytes);
        if ((size - pos) / entryBytes < count)
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + pos + i * entryBytes;
            uint32_t a = entryBytes == 4 ? e[3] : 0;
            table.push_back(e[0] | (e[1] << 8) | (e[2] << 16) | (a << 24));
        }
        pos += count * entryBytes;
    }
    if (offBits != 0) {
        if (offBits >= size)
            return false;
        pos = offBits;
    }
    const uint8_t* pix = data + pos;
    const uint8_t* end = data + size;

    if (rle) {
        // RLE buffers come out as 8-bit with a 256-entry table, the rest black.
        if (topDown)
            return false;
        if (!out.Create(static_cast<int>(width), static_cast<int>(height), 8, 256))
            return false;
        std::copy(table.begin(), table.end(), out.ColorTable().begin());
        if (!decodeRle(pix, end, out, compression == BI_RLE4, true)) {
            out.Clear();
            return false;
        }
        return true;
    }

    int w = static_cast<int>(width), h = static_cast<int>(height);
    size_t stride = static_cast<size_t>(cBMP::StrideFor(bpp, w));
    size_t lastRow = (static_cast<size_t>(bpp) * w + 7) / 8;
    // Some writers leave off the padding of the last row.
    if (static_cast<size_t>(end - pix) < stride * (h - 1) + lastRow)
        return false;
    if (!out.Create(w, h, bpp, static_cast<int>(table.size())))
        return false;
    out.ColorTable() = table;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = pix + stride * (topDown ? y : h - 1 - y);
        std::memcpy(out.Row(y), src, y == (topDown ? h - 1 : 0) ? lastRow : stride);
    }
    if (fields) {
        out.SetMasks(masks[0], masks[1], masks[2], masks[3]);
    } else if (bpp == 32) {
        // Plain 32-bit files: the fourth byte is taken as alpha (all zero = opaque, see LoadImage).
        out.SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    }
    return true;
}
