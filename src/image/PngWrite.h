#pragma once
// Writing a 32-bit cBMP as an 8-bit RGBA PNG.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/Bmp.h"

/** Encodes a 32-bit image (B, G, R, A pixels, top row first) as RGBA PNG bytes; with
 *  `keepAlpha` false every pixel is written opaque. False for other depths or on a
 *  libpng error. */
bool EncodePngRGBA(const cBMP& image, bool keepAlpha, std::vector<uint8_t>& out);

/** Encodes and writes the file through a temporary file and rename, so a failed
 *  write leaves no partial file; error receives the reason of a failure. */
bool WritePngRGBA(const std::filesystem::path& path, const cBMP& image, bool keepAlpha, std::string* error = nullptr);
