#include "image/GifMemory.h"

#include <algorithm>
#include <cstring>

int GifMemoryRead(GifFileType* gif, GifByteType* out, int length)
{
    auto* src = static_cast<strGifMemorySource*>(gif->UserData);
    if (length <= 0)
        return 0;
    const size_t n = std::min(static_cast<size_t>(length), src->size - src->pos);
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
    return static_cast<int>(n);
}
