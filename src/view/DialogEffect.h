#pragma once
// The effect and picture dialogs' rules without a window: what the controls show
// for a record, how "適用" writes them back, which groups are enabled, the flash
// preview colour, and where a dropped file's path goes.

#include "model/Records.h"

#include <cstdint>
#include <string>

class cAnimeData;

/** The effect dialog's controls. Texts are ANSI bytes as stored. */
struct strEffectForm {
    int frame = 0;
    bool sound = false;
    std::string seName;
    int volume = 100, pitch = 100, balance = 100;
    bool flash = false;
    int duration = 10;
    int scope = 0, blend = 0;
    int red = 128, green = 128, blue = 128, strength = 255;
    bool note = false;
    std::string noteText;

    /** The controls of an effect; the flash length shows 10 when it has no flash. */
    static strEffectForm From(const strEffect& effect);
    /** "適用": the ticked groups with their fields, the others back to their defaults;
     *  a flash that hides the target stores blend 0 and the neutral colour. */
    void ApplyTo(strEffect& effect) const;
    /** "初期化": the colour rows back to 128, 128, 128 and strength 255. */
    void ResetColour();
};

/** Which groups of the effect dialog are enabled. */
struct strEffectEnabling {
    bool sound = false, flash = false, flashColour = false, note = false;
};
strEffectEnabling EffectEnabling(const strEffectForm& form);

/** The preview colour (0xRRGGBB) of a square whose ground is `ground` (0xRRGGBB):
 *  the flash colour composited over it with the form's blend mode and strength. */
uint32_t FlashPreviewColour(const strEffectForm& form, uint32_t ground);

/** The picture dialog's controls. */
struct strPictureForm {
    std::string path;
    int divX = 1, divY = 1, hue = 0;
    int divisionFormat = 0; // shown only; never written back

    static strPictureForm From(const strPicture& picture, const cAnimeData& project);
    /** "適用": division, hue and path into the record. */
    void ApplyTo(strPicture& picture) const;
};

/** A dropped file's model path, relative to the project's working folder when it
 *  lies below it. */
std::string DroppedFilePath(const cAnimeData& project, const std::string& path);
