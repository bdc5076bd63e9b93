#pragma once
// A running flash of an effect (screen or target flash): colour bytes, the blend
// and scope it came with, and how many ticks of its duration remain. The player
// and the export start, step and read it; the compositor draws its faded colour.

#include "model/Records.h"

#include <cstdint>

struct strFlashState {
    uint8_t red = 0, green = 0, blue = 0, strength = 0;
    int duration = 0;  // n: ticks the flash lasts; below 1 the flash is inactive
    int remaining = 0; // r: ticks left, n when started, 0 when cleared
    int scope = 0;     // 0 screen, 1 target, 2 hide target
    int blend = 0;     // 0-4 as for cells

    /** Starts a flash of `n` ticks (n < 1 clears it). */
    void Start(uint8_t r, uint8_t g, uint8_t b, uint8_t s, int n, int sc, int bl)
    {
        red = r;
        green = g;
        blue = b;
        strength = s;
        scope = sc;
        blend = bl;
        duration = n;
        remaining = n;
        if (n < 1)
            Clear();
    }

    /** Drops the flash. */
    void Clear()
    {
        duration = 0;
        remaining = 0;
    }

    bool IsActive() const { return duration >= 1 && remaining >= 1; }

    /** One tick: an active flash loses one from its remaining count and is cleared
     *  when that falls below 1. Returns whether the flash was active. */
    bool Step()
    {
        if (!IsActive())
            return false;
        if (--remaining < 1)
            Clear();
        return true;
    }

    /** Plain form: the colour bytes with the strength faded to strength × r / n. */
    uint8_t FadedStrength() const { return IsActive() ? static_cast<uint8_t>(strength * remaining / duration) : 0; }

    /** Signed form of one byte: (byte − 128) × r / n + 128; neutral 128 when inactive. */
    uint8_t SignedByte(uint8_t v) const
    {
        if (!IsActive())
            return 128;
        return static_cast<uint8_t>((v - 128) * remaining / duration + 128);
    }
};

/** Starts the flash an effect carries: scope 0 in the screen state, 1 and 2 in the
 *  target state. Effects without a flash, with a zero duration or another scope
 *  start nothing. The player and the image export share this rule. */
inline void StartEffectFlash(const strEffect& effect, strFlashState& screen, strFlashState& target)
{
    if (!(effect.flags & EF_FLASH) || effect.flashDuration == 0 || effect.flashScope > 2)
        return;
    strFlashState& flash = effect.flashScope == 0 ? screen : target;
    flash.Start(effect.flashRed, effect.flashGreen, effect.flashBlue, effect.flashStrength, effect.flashDuration,
                effect.flashScope, effect.flashBlend);
}
