#include "image/GifReader.h"

#include <algorithm>
#include <cstring>

namespace {

const GraphicsControlBlock kNoControl{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};

} // namespace

cGifReader::cGifReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0), control_(kNoControl)
{
    int err = 0;
    gif_ = DGifOpen(this, &cGifReader::Read, &err);
}

cGifReader::~cGifReader()
{
    int err = 0;
    if (gif_)
        DGifCloseFile(gif_, &err);
}

int cGifReader::Read(GifFileType* gif, GifByteType* out, int length)
{
    auto* self = static_cast<cGifReader*>(gif->UserData);
    if (length <= 0)
        return 0;
    const size_t n = std::min(static_cast<size_t>(length), self->size_ - self->pos_);
    std::memcpy(out, self->data_ + self->pos_, n);
    self->pos_ += n;
    return static_cast<int>(n);
}

cGifReader::eRecord cGifReader::NextImage(const ExtensionBlock& onBlock)
{
    if (!gif_)
        return GIF_DAMAGED;
    if (pendingReset_) {
        control_ = kNoControl;
        pendingReset_ = false;
    }
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif_, &type) == GIF_ERROR)
            return GIF_DAMAGED;
        if (type == TERMINATE_RECORD_TYPE)
            return GIF_END;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR)
                return GIF_DAMAGED;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                DGifExtensionToGCB(block[0], block + 1, &control_);
            for (int index = 0; block; ++index) {
                if (onBlock)
                    onBlock(code, block, index);
                if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR)
                    return GIF_DAMAGED;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif_) == GIF_ERROR)
            return GIF_DAMAGED;
        pendingReset_ = true;
        return GIF_IMAGE;
    }
}

bool cGifReader::ReadPixels(std::vector<GifPixelType>& pixels)
{
    const GifImageDesc& d = gif_->Image;
    if (d.Width <= 0 || d.Height <= 0)
        return false;
    const size_t width = static_cast<size_t>(d.Width);
    pixels.assign(width * static_cast<size_t>(d.Height), 0);
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int step = d.Interlace ? kStep[pass] : 1;
        for (int y = d.Interlace ? kStart[pass] : 0; y < d.Height; y += step)
            if (DGifGetLine(gif_, pixels.data() + static_cast<size_t>(y) * width, d.Width) == GIF_ERROR)
                return false;
    }
    return true;
}
