#pragma once
// The 22-byte little-endian image of a cell that the binary project file and the
// internal clipboard share: picture, pad, pattern (2), blend, pad, x, y, scaleX,
// scaleY, angle (2 each), opacity, red, green, blue, saturation, pad.

#include "model/Records.h"

#include <cstddef>
#include <cstdint>

inline constexpr size_t kCellImageSize = 22;

void PackCellImage(const strCell& cell, uint8_t out[kCellImageSize]);
strCell UnpackCellImage(const uint8_t in[kCellImageSize]);
