#pragma once
// The decoders behind loadImage. Each reads a whole file from memory, bounded by its
// size, and yields a buffer of the file's own depth with rows top first (1, 4, 8, 16,
// 24 or 32 bits) and, for PNG and XYZ, the palette it made. False on any failure.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Bmp.h"

bool decodeBmp(const uint8_t* data, size_t size, cBMP& out, cPalette& palette);
bool decodePng(const uint8_t* data, size_t size, cBMP& out, cPalette& palette);
bool decodeGif(const uint8_t* data, size_t size, cBMP& out, cPalette& palette);
bool decodeXyz(const uint8_t* data, size_t size, cBMP& out, cPalette& palette);

/** The built-in error-cell picture as BMP file bytes. */
const std::vector<uint8_t>& errorCellBitmap();
