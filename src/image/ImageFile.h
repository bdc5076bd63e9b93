#pragma once
// Reading picture files (BMP, PNG, GIF, XYZ) into a cBMP of 8 or 32 bits.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "image/Bmp.h"

/** File kinds as DetectImageKind reports them. */
enum eImageKind : int {
    kImageBMP = 0,
    kImageXYZ = 1,
    kImagePNG = 2,
    kImageJPEG = 3,
    kImageGIF = 4,
    kImageKind5 = 5, // files starting 00 2A: recognised, not decoded
    kImageUnknown = 0xFFFF,
};

/** Classifies a file from its first and last 8 bytes (missing bytes are zero). */
int DetectImageKind(const uint8_t head8[8], const uint8_t tail8[8]);

/** Pixels all picture sheets of a project may hold together: 64 Mpx (the editor
 *  keeps some 18 bytes a pixel in decoded pictures, textures and views, so about
 *  1.1 GiB; 17 sheets of 960 x 3840). */
constexpr uint64_t kMaxProjectPixels = uint64_t(64) << 20;

/** Empties `image`, decodes the file at `path` (a path on disk) and fills `image`.
 *  False, with `image` empty, on any failure, among them a file that is not a
 *  regular file or is larger than a picture may be, and a picture of more than
 *  maxPixels pixels (refused from its header, before its pixels are allocated). */
bool LoadImage(const std::filesystem::path& path, cBMP& image, uint64_t maxPixels = kMaxPicturePixels);

/** The same for a file already in memory. */
bool LoadImageData(const uint8_t* data, size_t size, cBMP& image, uint64_t maxPixels = kMaxPicturePixels);

/** The same for a bitmap resource of the program (BMP only): "BITMAP_ERCELL". */
bool LoadImageResource(const std::string& name, cBMP& image);

/** Where trace lines of the loader go (the debugger output); none by default. */
void SetImageTraceSink(std::function<void(const std::string&)> sink);
