#pragma once
// The one walk over a GIF's records, for the picture decoder and the GIF
// export's read-back: giflib reads the block syntax from memory (bounded by the
// data's end); extensions go to a callback, the graphic control block before
// each image is kept, and an image's pixels come back de-interlaced.

#include <gif_lib.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class cGifReader {
public:
    /** Called for each data block of an extension: index 0 is the block after the
     *  extension code, then each sub-block; block[0] is the block's length. */
    using ExtensionBlock = std::function<void(int code, const GifByteType* block, int index)>;

    cGifReader(const uint8_t* data, size_t size);
    ~cGifReader();
    cGifReader(const cGifReader&) = delete;
    cGifReader& operator=(const cGifReader&) = delete;

    /** The decoder after the screen descriptor was read; nullptr when the data is no GIF. */
    GifFileType* Gif() const { return gif_; }

    enum eRecord { GIF_IMAGE, GIF_END, GIF_DAMAGED };
    /** Reads records up to the next image descriptor. */
    eRecord NextImage(const ExtensionBlock& onBlock = {});
    /** The image descriptor NextImage stopped at and the control block before it
     *  (reset after each image). */
    const GifImageDesc& Image() const { return gif_->Image; }
    const GraphicsControlBlock& Control() const { return control_; }
    /** Bytes of the data not yet read. */
    size_t BytesLeft() const { return size_ - pos_; }
    /** Reads the image's pixels, rows in display order (Width x Height indices). */
    bool ReadPixels(std::vector<GifPixelType>& pixels);

private:
    static int Read(GifFileType* gif, GifByteType* out, int length);

    const uint8_t* data_;
    size_t size_, pos_ = 0;
    GifFileType* gif_ = nullptr;
    GraphicsControlBlock control_{};
    bool pendingReset_ = false;
};
