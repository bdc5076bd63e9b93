#pragma once
// The in-memory image (cBMP) and its palette (cPalette).
//
// Pixel layout: rows top row first, each row padded to a multiple of 4 bytes;
// a 32-bit pixel is the bytes B, G, R, A (the little-endian word 0xAARRGGBB);
// 8-bit and smaller pixels index the image's own colour table. Decoded pictures
// are 8 or 32 bits; 1, 4, 16 and 24 bits exist only as decoder output and as
// targets of ConvertDepth.

#include <cstddef>
#include <cstdint>
#include <vector>

/** Counted array of colour entries, each the word 0xAARRGGBB (bytes B, G, R, A). */
class cPalette {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    const uint32_t* Entries() const { return entries_.empty() ? nullptr : entries_.data(); }
    /** Replaces the entries; a count of 0 or less leaves the palette empty. */
    void Set(const uint32_t* entries, int count);
    void Clear() { entries_.clear(); }
    /** Entry `index` when 0 <= index < count, else false. */
    bool Entry(int index, uint32_t& out) const;

private:
    std::vector<uint32_t> entries_;
};

/** Largest width or height any image may have. */
constexpr int kMaxImageSide = 16384;
/** Largest picture a file may decode to: 16 Mpx (4096 x 4096, or 960 x 16384), 64 MiB
 *  as 32-bit pixels and some 300 MiB with the editor's textures and views, so a tiny
 *  file claiming a huge picture can't cost gigabytes. Larger headers are refused
 *  before anything is allocated. */
constexpr uint64_t kMaxPicturePixels = uint64_t(16) << 20;

/** Bit-field masks of a 32-bit buffer whose fourth byte is alpha. */
constexpr uint32_t kMaskR = 0x00FF0000, kMaskG = 0x0000FF00, kMaskB = 0x000000FF, kMaskA = 0xFF000000;

/** An image: pixel buffer, its description and colour table, a palette, an optional
 *  key colour. Every accessor answers "nothing" while the image is empty. */
class cBMP {
public:
    /** Allocates a zeroed buffer (the old one is dropped). Depth 1, 4, 8, 16, 24 or 32;
     *  indexed depths get a table of `tableCount` black entries (at most 2^bits).
     *  `keyColor` is 0 or 0xFF000000 | RGB. False (and empty) on bad arguments. */
    bool Create(int width, int height, int bitsPerPixel, int tableCount = 0, uint32_t keyColor = 0);
    void Clear();

    bool Empty() const { return pixels_.empty(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bpp_; }
    int Stride() const { return stride_; }
    uint8_t* Pixels() { return Empty() ? nullptr : pixels_.data(); }
    const uint8_t* Pixels() const { return Empty() ? nullptr : pixels_.data(); }
    uint8_t* Row(int y) { return Pixels() + static_cast<size_t>(y) * stride_; }
    const uint8_t* Row(int y) const { return Pixels() + static_cast<size_t>(y) * stride_; }
    size_t ByteSize() const { return pixels_.size(); }

    uint32_t KeyColor() const { return keyColor_; }
    void SetKeyColor(uint32_t key) { keyColor_ = key; }

    /** Bit-field masks R, G, B, A of a 16- or 32-bit buffer; all zero means the
     *  default layout (5-5-5 for 16 bits; the bytes B, G, R, A for 32 bits). */
    const uint32_t* Masks() const { return masks_; }
    void SetMasks(uint32_t r, uint32_t g, uint32_t b, uint32_t a);
    /** True for a 32-bit buffer described with the alpha masks. */
    bool HasAlphaMasks() const;

    /** The buffer's own colour table (entries 0xAARRGGBB). */
    std::vector<uint32_t>& ColorTable() { return table_; }
    const std::vector<uint32_t>& ColorTable() const { return table_; }

    cPalette& Palette() { return palette_; }
    const cPalette& Palette() const { return palette_; }
    bool PaletteEntry(int index, uint32_t& out) const { return !Empty() && palette_.Entry(index, out); }

    /** Row stride in bytes for a depth and width. */
    static int StrideFor(int bitsPerPixel, int width) { return ((bitsPerPixel * width + 31) / 32) * 4; }

    /** Swaps whole buffers, descriptions and palettes. */
    void Swap(cBMP& other);

private:
    uint32_t keyColor_ = 0;
    std::vector<uint8_t> pixels_;
    int width_ = 0, height_ = 0, bpp_ = 0, stride_ = 0;
    uint32_t masks_[4] = {0, 0, 0, 0};
    std::vector<uint32_t> table_;
    cPalette palette_;
};

/** Re-encodes the buffer at 1, 4, 8, 16, 24 or 32 bits (any other depth is refused).
 *  Indexed to wider indexed keeps indices and table (an 8-bit target gets a 256-entry
 *  table, the rest black). Colours to an indexed depth use the exact colours when they
 *  fit, else the nearest entry of a fixed table. To 32 bits the alpha byte is kept from
 *  sources that have one (0 otherwise); `alphaMasks` describes the result with the
 *  alpha masks. The palette and key colour are kept. */
bool ConvertDepth(cBMP& image, int bits, bool alphaMasks);

/** Swaps row i with row height − 1 − i. */
void FlipRows(cBMP& image);

/** The buffer's colour table. */
std::vector<uint32_t> ReadColorTable(const cBMP& image);
/** Replaces the buffer's colour table (indexed images only, at most 2^bits entries). */
bool WriteColorTable(cBMP& image, const std::vector<uint32_t>& entries);

/** Colour (0xAARRGGBB) of pixel (x, y) at any depth; alpha as the buffer holds it
 *  (indexed: the table entry's fourth byte; 16 and 24 bits: 0 unless a mask gives it;
 *  32 bits: the alpha mask's bits, or the fourth byte in the default layout). */
uint32_t PixelColor(const cBMP& image, int x, int y);
