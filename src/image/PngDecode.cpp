// PNG through libpng: 16 bits stripped to 8, small samples packed to bytes, grey to
// RGB, grey transparency to alpha, B G R order, gamma against a 2.2 screen.

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "image/ImageDecoders.h"

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void readData(png_structp png, png_bytep out, size_t length)
{
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (length > src->size - src->pos)
        png_error(png, "unexpected end of file");
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
}

void quietWarning(png_structp, png_const_charp) {}

[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Decoded pixels can't exceed what deflate can expand the file to (about 1032:1),
// times the widening of small samples; larger headers disagree with their data.
bool plausibleSize(size_t fileSize, uint32_t w, uint32_t h)
{
    unsigned long long pixels = static_cast<unsigned long long>(w) * h;
    return pixels <= static_cast<unsigned long long>(fileSize) * 1032ull * 8ull + 65536ull;
}

// The libpng part, kept free of C++ objects with destructors because of longjmp.
bool readPng(png_structp png, png_infop info, Source* src, cBMP* out, cPalette* palette, std::vector<png_bytep>* rows,
             uint64_t maxPixels)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, src, readData);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);

    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
    if (!FitsPixelBudget(w, h, maxPixels) || !plausibleSize(src->size, w, h))
        return false;

    png_set_strip_16(png);
    png_set_packing(png);
    png_set_packswap(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) {
        png_set_gray_to_rgb(png);
        if (depth <= 8) {
            png_set_expand_gray_1_2_4_to_8(png);
            if (png_get_valid(png, info, PNG_INFO_tRNS))
                png_set_tRNS_to_alpha(png);
        }
    }
    png_set_bgr(png);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma))
        png_set_gamma(png, 2.2, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    int bpp = png_get_channels(png, info) * png_get_bit_depth(png, info);
    bool paletted = colorType == PNG_COLOR_TYPE_PALETTE;
    png_colorp plte = nullptr;
    int numPalette = 0;
    if (paletted && !png_get_PLTE(png, info, &plte, &numPalette))
        return false;
    if (numPalette > 256)
        numPalette = 256;
    if (bpp != 8 && bpp != 24 && bpp != 32)
        return false;
    if (!out->Create(static_cast<int>(w), static_cast<int>(h), bpp, paletted ? numPalette : 0))
        return false;
    if (bpp == 32 && (colorType & PNG_COLOR_MASK_ALPHA || !paletted))
        out->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    if (png_get_rowbytes(png, info) > static_cast<size_t>(out->Stride()))
        return false;

    rows->resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        (*rows)[y] = out->Row(static_cast<int>(y));
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);

    if (paletted) {
        std::vector<uint32_t>& table = out->ColorTable();
        for (int i = 0; i < numPalette; ++i)
            table[i] = 0xFF000000u | (plte[i].red << 16) | (plte[i].green << 8) | plte[i].blue;
        png_bytep trans = nullptr;
        int numTrans = 0;
        if (png_get_tRNS(png, info, &trans, &numTrans, nullptr) && trans)
            for (int i = 0; i < numTrans && i < numPalette; ++i)
                table[i] = (table[i] & 0x00FFFFFF) | (static_cast<uint32_t>(trans[i]) << 24);
        palette->Set(table.data(), numPalette);
    }
    return true;
}

} // namespace

bool DecodePng(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels)
{
    out.Clear();
    palette.Clear();
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    Source src{data, size, 0};
    std::vector<png_bytep> rows;
    bool ok = readPng(png, info, &src, &out, &palette, &rows, maxPixels);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        out.Clear();
        palette.Clear();
    }
    return ok;
}
