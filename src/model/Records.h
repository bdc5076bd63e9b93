#pragma once
// The plain records of a project: cells, frames, pictures and effects.

#include "model/PtrArray.h"

#include <cstdint>
#include <string>

/** Cell parameter indices (also bit positions of parameter masks). */
enum eCellParam {
    CP_PICTURE,
    CP_PATTERN,
    CP_BLEND,
    CP_X,
    CP_Y,
    CP_SCALE_X,
    CP_SCALE_Y,
    CP_ANGLE,
    CP_OPACITY,
    CP_RED,
    CP_GREEN,
    CP_BLUE,
    CP_SATURATION,
    CP_COUNT
};

/** One placed sprite. The default is the blank cell (opacity 0). */
struct strCell {
    uint8_t picture = 0;
    uint16_t pattern = 1;
    uint8_t blend = 0;
    int16_t x = 0, y = 0;
    int16_t scaleX = 100, scaleY = 100;
    int16_t angle = 0;
    uint8_t opacity = 0;
    uint8_t red = 100, green = 100, blue = 100;
    uint8_t saturation = 100;

    /** The blank cell: the start of delta encodings and of cells a file names first. */
    static strCell Blank() { return strCell(); }
    /** A freshly created cell: the blank cell, opaque. */
    static strCell New()
    {
        strCell c;
        c.opacity = 255;
        return c;
    }

    /** Parameter by index 0..12 (0 for other indices). */
    int Get(int index) const;
    /** Stores a parameter by index, converted to the field's type without clamping. */
    void Set(int index, int value);

    bool operator==(const strCell&) const = default;
};

/** One frame: a duration and one slot per cell number. */
struct strFrame {
    uint16_t interval = 0; // ticks; 0 = the project's base interval
    cPtrArray<strCell> cells;
};

/** One source picture: an image sheet cut into patterns. */
struct strPicture {
    uint16_t divX = 1, divY = 1;
    uint16_t hue = 0;
    std::string path;
    bool operator==(const strPicture&) const = default;
};

/** Effect flag bits. */
enum eEffectFlag : uint8_t { EF_FLASH = 1, EF_SOUND = 2, EF_NOTE = 4 };

/** One timed effect: screen flash, sound effect and note attached to a frame. */
struct strEffect {
    uint16_t frame = 0;
    uint8_t flags = 0;
    uint16_t flashDuration = 0;
    uint8_t flashBlend = 0;
    uint8_t flashScope = 0;
    uint8_t flashRed = 128, flashGreen = 128, flashBlue = 128;
    uint8_t flashStrength = 255;
    uint16_t seVolume = 100, sePitch = 100, seBalance = 100;
    std::string seName;
    std::string note;
    bool operator==(const strEffect&) const = default;

    /** No flash: clears EF_FLASH and puts the flash fields back to their defaults. */
    void ClearFlash();
    /** No sound: clears EF_SOUND, the name, and puts volume, pitch and balance back to their defaults. */
    void ClearSound();
};
