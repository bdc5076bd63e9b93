// The XYZ decoder on arbitrary bytes.
#include "image/Bmp.h"
#include "image/ImageDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cBMP image;
    cPalette palette;
    DecodeXyz(data, size, image, palette);
    return 0;
}
