#include "image/ImageFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "image/ImageDecoders.h"
#include "platform/FileIO.h"

namespace {

std::function<void(const std::string&)>& traceSink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}

void trace(const std::string& line)
{
    if (traceSink())
        traceSink()(line);
}

bool anyAlpha(const cBMP& image)
{
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x)
            if (row[4 * x + 3] != 0)
                return true;
    }
    return false;
}

void makeOpaque(cBMP& image)
{
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x)
            row[4 * x + 3] = 255;
    }
}

} // namespace

void SetImageTraceSink(std::function<void(const std::string&)> sink) { traceSink() = std::move(sink); }

int DetectImageKind(const uint8_t head8[8], const uint8_t tail8[8])
{
    const uint8_t* h = head8;
    if (h[0] == 0x89 && h[1] == 'P' && h[2] == 'N' && h[3] == 'G')
        return kImagePNG;
    if (h[0] == 0xFF && h[1] == 0xD8 && tail8[6] == 0xFF && tail8[7] == 0xD9)
        return kImageJPEG;
    if (h[0] == 'G' && h[1] == 'I' && h[2] == 'F')
        return kImageGIF;
    if (h[0] == 0x00 && h[1] == 0x2A)
        return kImageKind5;
    if (std::memcmp(h, "XYZ1", 4) == 0)
        return kImageXYZ;
    if (h[0] == 'B' && h[1] == 'M')
        return kImageBMP;
    return kImageUnknown;
}

bool LoadImageData(const uint8_t* data, size_t size, cBMP& image, uint64_t maxPixels)
{
    image.Clear();
    if (!data || size == 0)
        return false;
    uint8_t head[8] = {}, tail[8] = {};
    std::memcpy(head, data, std::min<size_t>(size, 8));
    // The last 8 bytes, right-aligned; a short file leaves the leading ones zero.
    size_t n = std::min<size_t>(size, 8);
    std::memcpy(tail + 8 - n, data + size - n, n);
    int kind = DetectImageKind(head, tail);

    cBMP buf;
    cPalette palette;
    bool ok = false;
    switch (kind) {
    case kImageBMP: ok = DecodeBmp(data, size, buf, palette, maxPixels); break;
    case kImagePNG: ok = DecodePng(data, size, buf, palette, maxPixels); break;
    case kImageGIF: ok = DecodeGif(data, size, buf, palette, maxPixels); break;
    case kImageXYZ: ok = DecodeXyz(data, size, buf, palette, maxPixels); break;
    default: return false;
    }
    if (!ok || buf.Empty())
        return false;

    // Normalise to 8 or 32 bits.
    if (buf.BitsPerPixel() < 8 && !ConvertDepth(buf, 8, false))
        return false;
    bool converted = false;
    if (buf.BitsPerPixel() != 8 && !(buf.BitsPerPixel() == 32 && buf.HasAlphaMasks())) {
        if (!ConvertDepth(buf, 32, true))
            return false;
        converted = true;
    }
    // A buffer without any alpha (made from colours only, or a BMP whose fourth
    // bytes are all zero) is opaque.
    if ((converted || kind == kImageBMP) && buf.BitsPerPixel() == 32 && !anyAlpha(buf))
        makeOpaque(buf);

    buf.SetKeyColor(0);
    if (palette.Count() > 0 || buf.BitsPerPixel() == 32) {
        buf.Palette() = palette;
    } else {
        std::vector<uint32_t> table = buf.ColorTable();
        bool alpha = false;
        for (uint32_t e : table)
            alpha |= (e >> 24) != 0;
        if (!alpha)
            for (uint32_t& e : table)
                e |= 0xFF000000;
        buf.Palette().Set(table.data(), static_cast<int>(table.size()));
    }
    image.Swap(buf);
    return true;
}

bool LoadImage(const std::filesystem::path& path, cBMP& image, uint64_t maxPixels)
{
    image.Clear();
    std::vector<uint8_t> bytes;
    if (!platform::ReadFile(path, bytes, platform::FileKind::Picture)) {
        const int err = errno;
        char line[64];
        std::snprintf(line, sizeof line, "Error : %d\nPath : ", err);
        trace(std::string(line) + path.string() + "\n");
        return false;
    }
    try {
        return LoadImageData(bytes.data(), bytes.size(), image, maxPixels);
    } catch (const std::bad_alloc&) {
        image.Clear();
        return false;
    }
}

bool LoadImageResource(const std::string& name, cBMP& image)
{
    image.Clear();
    if (name != "BITMAP_ERCELL")
        return false;
    const std::vector<uint8_t>& bytes = ErrorCellBitmap();
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    return LoadImageData(bytes.data(), bytes.size(), image);
}
