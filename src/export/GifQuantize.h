#pragma once
// Colour reduction of the GIF export. The standard quantiser is a median-cut style
// one in YCbCr space that splits the pixels recursively at the mean of their widest
// axis; the high-quality one builds its palette by variance-driven splits refined by
// k-means. Neither dithers.

#include <cstdint>
#include <vector>

#include "image/Bmp.h"

/** Which quantiser reduces frames of more than 256 colours. */
enum class eGifQuality { Standard, High };

/** Result of quantising: one cluster number per pixel (rows top first, no padding)
 *  and the colour of each cluster (0x00RRGGBB; clusters without pixels are black). */
struct strQuantized {
    int width = 0, height = 0;
    std::vector<uint16_t> index;  // cluster of each pixel
    std::vector<uint32_t> colors; // 2^depth entries (standard), at most n (high)
};

/** Clusters the colours (0x00RRGGBB words, width × height pixels) into 2^floor(log2 n)
 *  clusters. False when n is outside 2–512 or there are no pixels. */
bool QuantizePixels(const uint32_t* rgb, int width, int height, int n, strQuantized& out);

/** High quality: at most n colours (2 ≤ n ≤ 256) chosen to keep the squared RGB
 *  error small: the pixels' distinct colours are split where that removes the most
 *  error until there are n groups, the group means are refined by k-means, and
 *  every pixel takes its nearest palette colour. False on bad arguments. */
bool QuantizeHigh(const uint32_t* rgb, int width, int height, int n, strQuantized& out);

/** Reduces a 24-bit image to at most n colours (2 ≤ n ≤ 512). For n ≤ 256 the result
 *  is indexed (1 bit for n ≤ 2, 4 for n ≤ 16, else 8) with a table of n entries,
 *  rounded up to even; above 256 it stays 24-bit with each colour replaced by its
 *  cluster colour. False on bad arguments. */
bool QuantizeImage(const cBMP& source, int n, cBMP& out);
