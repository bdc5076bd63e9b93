#include "view/DialogEffect.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "render/Compositor.h"

#include <algorithm>

namespace {
constexpr size_t kMaxText = 255;
}

strEffectForm strEffectForm::From(const strEffect& e)
{
    strEffectForm f;
    f.frame = e.frame;
    f.sound = (e.flags & EF_SOUND) != 0;
    f.seName = e.seName;
    f.volume = e.seVolume;
    f.pitch = e.sePitch;
    f.balance = e.seBalance;
    f.flash = (e.flags & EF_FLASH) != 0;
    f.duration = f.flash ? e.flashDuration : 10;
    f.scope = e.flashScope;
    f.blend = e.flashBlend;
    f.red = e.flashRed;
    f.green = e.flashGreen;
    f.blue = e.flashBlue;
    f.strength = e.flashStrength;
    f.note = (e.flags & EF_NOTE) != 0;
    f.noteText = e.note;
    return f;
}

void strEffectForm::ApplyTo(strEffect& e) const
{
    e.frame = uint16_t(std::max(0, frame));
    if (sound) {
        e.flags |= EF_SOUND;
        e.seVolume = uint16_t(std::clamp(volume, 1, 100));
        e.sePitch = uint16_t(std::clamp(pitch, 1, 200));
        e.seBalance = uint16_t(std::clamp(balance, 0, 200));
        e.seName = platform::CutStored(seName, kMaxText);
    } else {
        e.ClearSound();
    }
    if (flash) {
        e.flags |= EF_FLASH;
        e.flashScope = uint8_t(std::clamp(scope, 0, 2));
        e.flashDuration = uint16_t(std::clamp(duration, 0, 255));
        if (e.flashScope == 2) {
            e.flashBlend = 0;
            e.flashRed = e.flashGreen = e.flashBlue = 128;
            e.flashStrength = 255;
        } else {
            e.flashBlend = uint8_t(std::clamp(blend, 0, 4));
            e.flashRed = uint8_t(std::clamp(red, 0, 255));
            e.flashGreen = uint8_t(std::clamp(green, 0, 255));
            e.flashBlue = uint8_t(std::clamp(blue, 0, 255));
            e.flashStrength = uint8_t(std::clamp(strength, 0, 255));
        }
    } else {
        e.ClearFlash();
    }
    if (note) {
        e.flags |= EF_NOTE;
        e.note = platform::CutStored(noteText, kMaxText);
    } else {
        e.flags &= uint8_t(~EF_NOTE);
        e.note.clear();
    }
}

void strEffectForm::ResetColour()
{
    red = green = blue = 128;
    strength = 255;
}

strEffectEnabling EffectEnabling(const strEffectForm& f)
{
    strEffectEnabling e;
    e.sound = f.sound;
    e.flash = f.flash;
    e.flashColour = f.flash && f.scope != 2;
    e.note = f.note;
    return e;
}

uint32_t FlashPreviewColour(const strEffectForm& f, uint32_t ground)
{
    uint8_t pixel[4] = {uint8_t(ground), uint8_t(ground >> 8), uint8_t(ground >> 16), 255};
    strSurface surface{pixel, 1, 1, 4};
    const uint32_t rgb = uint32_t(std::clamp(f.red, 0, 255)) << 16 | uint32_t(std::clamp(f.green, 0, 255)) << 8 |
                         uint32_t(std::clamp(f.blue, 0, 255));
    CompositeFill(surface, rgb, std::clamp(f.strength, 0, 255), std::clamp(f.blend, 0, 4));
    return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
}

strPictureForm strPictureForm::From(const strPicture& p, const cAnimeData& project)
{
    strPictureForm f;
    f.path = p.path;
    f.divX = p.divX;
    f.divY = p.divY;
    f.hue = p.hue;
    f.divisionFormat = project.GetValue(AI_DIVISION_FORMAT);
    return f;
}

void strPictureForm::ApplyTo(strPicture& p) const
{
    p.divX = uint16_t(std::clamp(divX, 1, 1024));
    p.divY = uint16_t(std::clamp(divY, 1, 1024));
    p.hue = uint16_t(std::clamp(hue, 0, 360));
    p.path = platform::CutStored(path, kMaxText);
}

std::string DroppedFilePath(const cAnimeData& project, const std::string& path)
{
    const std::string& folder = project.Text(AT_WORK_FOLDER);
    if (folder.empty())
        return paths::LimitPath(path);
    return paths::MakeRelative(path, folder);
}
