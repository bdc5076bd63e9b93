#pragma once
// A GIF read as a viewer shows it: every frame composed on the logical screen
// (disposal honoured; pixels nothing painted are the background colour with
// alpha 0), with the file's settings. The GIF export reads its files back with
// this, and the canvas draws the draft GIF from it.

#include "image/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct strGifFrame {
    cBMP image;       // 32-bit, the logical screen's size
    int delay = 0;    // hundredths of a second
    int disposal = 0; // 0-7; 2 = restore to background
    bool interlace = false;
    std::vector<uint32_t> colorTable; // the frame's own table, 0x00RRGGBB; empty: none
    int transparentIndex = -1;        // -1: none
    int left = 0, top = 0;            // where the frame's image lies on the screen
};

struct strGifAnimation {
    int screenWidth = 0, screenHeight = 0;
    uint32_t backgroundColor = 0; // 0xRRGGBB
    bool hasBackground = false;
    bool useGlobalTable = false;
    std::vector<uint32_t> globalTable; // 0x00RRGGBB
    bool netscape = false;
    int loopCount = 0; // 0 = forever
    uint32_t bufferSize = 0;
    std::string comment;
    std::vector<strGifFrame> frames;
};

/** Reads a GIF held in memory into out (reset first). False, with out empty, on a
 *  damaged file, a file without images, or one whose composed frames would exceed
 *  the memory budget. */
bool ReadGifAnimation(const uint8_t* data, size_t size, strGifAnimation& out);
