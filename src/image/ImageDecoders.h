#pragma once
// The decoders behind LoadImage. Each reads a whole file from memory, bounded by its
// size, and yields a buffer of the file's own depth with rows top first (1, 4, 8, 16,
// 24 or 32 bits) and, for PNG and XYZ, the palette it made. False on any failure,
// including a header that claims more than maxPixels pixels (checked before any
// pixel buffer is allocated).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Bmp.h"

bool DecodeBmp(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels = kMaxPicturePixels);
bool DecodePng(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels = kMaxPicturePixels);
bool DecodeGif(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels = kMaxPicturePixels);
bool DecodeXyz(const uint8_t* data, size_t size, cBMP& out, cPalette& palette, uint64_t maxPixels = kMaxPicturePixels);

/** A width and height within the side limit whose area stays within maxPixels. */
inline bool FitsPixelBudget(int64_t width, int64_t height, uint64_t maxPixels)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           uint64_t(width) * uint64_t(height) <= maxPixels;
}

/** The built-in error-cell picture as BMP file bytes. */
const std::vector<uint8_t>& ErrorCellBitmap();
