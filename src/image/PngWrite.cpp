#include "image/PngWrite.h"

#include <png.h>

#include <csetjmp>

#include "platform/FileIO.h"

namespace {

void writeData(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushData(png_structp) {}

[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void quietWarning(png_structp, png_const_charp) {}

// The libpng part, free of objects with destructors because of longjmp.
bool writePng(png_structp png, png_infop info, const cBMP* image, bool keepAlpha, std::vector<uint8_t>* out,
              std::vector<uint8_t>* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, writeData, flushData);
    int w = image->Width(), h = image->Height();
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    row->resize(static_cast<size_t>(w) * 4);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = image->Row(y);
        uint8_t* dst = row->data();
        for (int x = 0; x < w; ++x) {
            dst[4 * x] = src[4 * x + 2];
            dst[4 * x + 1] = src[4 * x + 1];
            dst[4 * x + 2] = src[4 * x];
            dst[4 * x + 3] = keepAlpha ? src[4 * x + 3] : 255;
        }
        png_write_row(png, dst);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool EncodePngRGBA(const cBMP& image, bool keepAlpha, std::vector<uint8_t>& out)
{
    out.clear();
    if (image.Empty() || image.BitsPerPixel() != 32)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> row;
    bool ok = writePng(png, info, &image, keepAlpha, &out, &row);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        out.clear();
    return ok;
}

bool WritePngRGBA(const std::filesystem::path& path, const cBMP& image, bool keepAlpha, std::string* error)
{
    std::vector<uint8_t> bytes;
    if (!EncodePngRGBA(image, keepAlpha, bytes)) {
        if (error)
            *error = "the image cannot be encoded as PNG";
        return false;
    }
    return platform::WriteFileAtomic(path, bytes, error);
}
