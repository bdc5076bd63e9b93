#pragma once
// Reading a GIF held in memory with giflib: the byte source, its read callback
// (bounded by the data's end) and a guard that closes the decoder.

#include <gif_lib.h>

#include <cstddef>
#include <cstdint>

struct strGifMemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

/** giflib read callback over a strGifMemorySource in UserData. */
int GifMemoryRead(GifFileType* gif, GifByteType* out, int length);

/** Closes a decoder opened with DGifOpen when it goes out of scope. */
struct cGifDecoderCloser {
    GifFileType* gif;
    ~cGifDecoderCloser()
    {
        int err = 0;
        if (gif)
            DGifCloseFile(gif, &err);
    }
};
