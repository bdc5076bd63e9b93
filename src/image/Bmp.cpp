#include "image/Bmp.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

void cPalette::Set(const uint32_t* entries, int count)
{
    entries_.clear();
    if (count <= 0 || !entries)
        return;
    entries_.assign(entries, entries + count);
}

bool cPalette::Entry(int index, uint32_t& out) const
{
    if (index < 0 || index >= Count())
        return false;
    out = entries_[static_cast<size_t>(index)];
    return true;
}

static bool validDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool cBMP::Create(int width, int height, int bitsPerPixel, int tableCount, uint32_t keyColor)
{
    Clear();
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide)
        return false;
    if (!validDepth(bitsPerPixel))
        return false;
    if (bitsPerPixel <= 8) {
        if (tableCount < 0 || tableCount > (1 << bitsPerPixel))
            return false;
    } else {
        tableCount = 0;
    }
    width_ = width;
    height_ = height;
    bpp_ = bitsPerPixel;
    stride_ = StrideFor(bitsPerPixel, width);
    pixels_.assign(static_cast<size_t>(stride_) * height, 0);
    table_.assign(static_cast<size_t>(tableCount), 0);
    keyColor_ = keyColor;
    return true;
}

void cBMP::Clear()
{
    keyColor_ = 0;
    std::vector<uint8_t>().swap(pixels_);
    width_ = height_ = bpp_ = stride_ = 0;
    std::fill(std::begin(masks_), std::end(masks_), 0u);
    table_.clear();
    palette_.Clear();
}

void cBMP::SetMasks(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    masks_[0] = r;
    masks_[1] = g;
    masks_[2] = b;
    masks_[3] = a;
}

bool cBMP::HasAlphaMasks() const
{
    return bpp_ == 32 && masks_[0] == kMaskR && masks_[1] == kMaskG && masks_[2] == kMaskB && masks_[3] == kMaskA;
}

void cBMP::Swap(cBMP& other)
{
    std::swap(keyColor_, other.keyColor_);
    pixels_.swap(other.pixels_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bpp_, other.bpp_);
    std::swap(stride_, other.stride_);
    std::swap(masks_, other.masks_);
    table_.swap(other.table_);
    std::swap(palette_, other.palette_);
}

// One channel out of a bit-field pixel, scaled to 0-255.
static uint32_t maskChannel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask >> shift);
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8)
        return v >> (bits - 8);
    uint32_t maxv = (1u << bits) - 1;
    return (v * 255 + maxv / 2) / maxv;
}

static uint32_t indexAt(const uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return row[x];
    }
}

uint32_t PixelColor(const cBMP& image, int x, int y)
{
    if (image.Empty() || x < 0 || y < 0 || x >= image.Width() || y >= image.Height())
        return 0;
    const uint8_t* row = image.Row(y);
    const uint32_t* m = image.Masks();
    bool custom = m[0] || m[1] || m[2] || m[3];
    switch (image.BitsPerPixel()) {
    case 1:
    case 4:
    case 8: {
        uint32_t i = indexAt(row, x, image.BitsPerPixel());
        const auto& table = image.ColorTable();
        return i < table.size() ? table[i] : 0;
    }
    case 16: {
        uint32_t p = row[2 * x] | (row[2 * x + 1] << 8);
        if (!custom)
            return (maskChannel(p, 0x7C00) << 16) | (maskChannel(p, 0x03E0) << 8) | maskChannel(p, 0x001F);
        return (maskChannel(p, m[3]) << 24) | (maskChannel(p, m[0]) << 16) | (maskChannel(p, m[1]) << 8) |
               maskChannel(p, m[2]);
    }
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    default: {
        uint32_t p;
        std::memcpy(&p, row + 4 * x, 4);
        if (!custom)
            return p;
        return (maskChannel(p, m[3]) << 24) | (maskChannel(p, m[0]) << 16) | (maskChannel(p, m[1]) << 8) |
               maskChannel(p, m[2]);
    }
    }
}

static void putIndex(uint8_t* row, int x, int bits, uint32_t i)
{
    switch (bits) {
    case 1: row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | ((i & 1) << (7 - (x & 7)))); break;
    case 4: row[x >> 1] = static_cast<uint8_t>(row[x >> 1] | ((i & 15) << ((x & 1) ? 0 : 4))); break;
    default: row[x] = static_cast<uint8_t>(i);
    }
}

// The fixed tables used when an image has more colours than an indexed depth holds.
static std::vector<uint32_t> fixedTable(int bits)
{
    std::vector<uint32_t> t;
    if (bits == 1) {
        t = {0xFF000000, 0xFFFFFFFF};
    } else if (bits == 4) {
        static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (uint32_t c : vga)
            t.push_back(0xFF000000 | c);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    t.push_back(0xFF000000u | (r * 51u << 16) | (g * 51u << 8) | (b * 51u));
        for (int i = 0; i < 40; ++i) {
            uint32_t v = static_cast<uint32_t>(i * 255 / 39);
            t.push_back(0xFF000000u | (v << 16) | (v << 8) | v);
        }
    }
    return t;
}

static uint32_t nearestIndex(const std::vector<uint32_t>& table, uint32_t c)
{
    uint32_t best = 0;
    int bestDist = 1 << 30;
    for (size_t i = 0; i < table.size(); ++i) {
        int dr = static_cast<int>((table[i] >> 16) & 255) - static_cast<int>((c >> 16) & 255);
        int dg = static_cast<int>((table[i] >> 8) & 255) - static_cast<int>((c >> 8) & 255);
        int db = static_cast<int>(table[i] & 255) - static_cast<int>(c & 255);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = static_cast<uint32_t>(i);
        }
    }
    return best;
}

static bool toIndexed(const cBMP& src, cBMP& dst, int bits)
{
    int w = src.Width(), h = src.Height();
    if (src.BitsPerPixel() <= 8 && src.BitsPerPixel() <= bits) {
        int count = bits == 8 ? 256 : static_cast<int>(std::min<size_t>(src.ColorTable().size(), 1u << bits));
        if (!dst.Create(w, h, bits, count, src.KeyColor()))
            return false;
        const auto& t = src.ColorTable();
        std::copy(t.begin(), t.begin() + std::min<size_t>(t.size(), static_cast<size_t>(count)),
                  dst.ColorTable().begin());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                putIndex(dst.Row(y), x, bits, indexAt(src.Row(y), x, src.BitsPerPixel()));
        return true;
    }
    // Colours: exact table when they fit, else the fixed table.
    size_t limit = size_t{1} << bits;
    std::unordered_map<uint32_t, uint32_t> index;
    std::vector<uint32_t> table;
    for (int y = 0; y < h && table.size() <= limit; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = PixelColor(src, x, y) & 0xFFFFFF;
            if (index.emplace(c, static_cast<uint32_t>(table.size())).second) {
                table.push_back(0xFF000000 | c);
                if (table.size() > limit)
                    break;
            }
        }
    bool exact = table.size() <= limit;
    if (!exact) {
        table = fixedTable(bits);
        index.clear();
    }
    if (!dst.Create(w, h, bits, static_cast<int>(table.size()), src.KeyColor()))
        return false;
    dst.ColorTable() = table;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = PixelColor(src, x, y) & 0xFFFFFF;
            auto it = index.find(c);
            uint32_t i = it != index.end() ? it->second : index.emplace(c, nearestIndex(table, c)).first->second;
            putIndex(dst.Row(y), x, bits, i);
        }
    return true;
}

bool ConvertDepth(cBMP& image, int bits, bool alphaMasks)
{
    if (image.Empty() || !validDepth(bits))
        return false;
    cBMP dst;
    int w = image.Width(), h = image.Height();
    if (bits <= 8) {
        if (!toIndexed(image, dst, bits))
            return false;
    } else {
        if (!dst.Create(w, h, bits, 0, image.KeyColor()))
            return false;
        for (int y = 0; y < h; ++y) {
            uint8_t* out = dst.Row(y);
            for (int x = 0; x < w; ++x) {
                uint32_t c = PixelColor(image, x, y);
                if (bits == 32) {
                    std::memcpy(out + 4 * x, &c, 4);
                } else if (bits == 24) {
                    out[3 * x] = static_cast<uint8_t>(c);
                    out[3 * x + 1] = static_cast<uint8_t>(c >> 8);
                    out[3 * x + 2] = static_cast<uint8_t>(c >> 16);
                } else {
                    uint32_t p = (((c >> 19) & 31) << 10) | (((c >> 11) & 31) << 5) | ((c >> 3) & 31);
                    out[2 * x] = static_cast<uint8_t>(p);
                    out[2 * x + 1] = static_cast<uint8_t>(p >> 8);
                }
            }
        }
        if (bits == 32 && alphaMasks)
            dst.SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    }
    dst.Palette() = image.Palette();
    image.Swap(dst);
    return true;
}

void FlipRows(cBMP& image)
{
    if (image.Empty())
        return;
    std::vector<uint8_t> tmp(static_cast<size_t>(image.Stride()));
    for (int top = 0, bottom = image.Height() - 1; top < bottom; ++top, --bottom) {
        std::memcpy(tmp.data(), image.Row(top), tmp.size());
        std::memcpy(image.Row(top), image.Row(bottom), tmp.size());
        std::memcpy(image.Row(bottom), tmp.data(), tmp.size());
    }
}

std::vector<uint32_t> ReadColorTable(const cBMP& image)
{
    return image.Empty() ? std::vector<uint32_t>{} : image.ColorTable();
}

bool WriteColorTable(cBMP& image, const std::vector<uint32_t>& entries)
{
    if (image.Empty() || image.BitsPerPixel() > 8 || entries.size() > (size_t{1} << image.BitsPerPixel()))
        return false;
    image.ColorTable() = entries;
    return true;
}
