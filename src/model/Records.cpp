#include "model/Records.h"

int strCell::Get(int index) const
{
    switch (index) {
    case CP_PICTURE: return picture;
    case CP_PATTERN: return pattern;
    case CP_BLEND: return blend;
    case CP_X: return x;
    case CP_Y: return y;
    case CP_SCALE_X: return scaleX;
    case CP_SCALE_Y: return scaleY;
    case CP_ANGLE: return angle;
    case CP_OPACITY: return opacity;
    case CP_RED: return red;
    case CP_GREEN: return green;
    case CP_BLUE: return blue;
    case CP_SATURATION: return saturation;
    default: return 0;
    }
}

void strCell::Set(int index, int value)
{
    switch (index) {
    case CP_PICTURE: picture = uint8_t(value); break;
    case CP_PATTERN: pattern = uint16_t(value); break;
    case CP_BLEND: blend = uint8_t(value); break;
    case CP_X: x = int16_t(value); break;
    case CP_Y: y = int16_t(value); break;
    case CP_SCALE_X: scaleX = int16_t(value); break;
    case CP_SCALE_Y: scaleY = int16_t(value); break;
    case CP_ANGLE: angle = int16_t(value); break;
    case CP_OPACITY: opacity = uint8_t(value); break;
    case CP_RED: red = uint8_t(value); break;
    case CP_GREEN: green = uint8_t(value); break;
    case CP_BLUE: blue = uint8_t(value); break;
    case CP_SATURATION: saturation = uint8_t(value); break;
    default: break;
    }
}

void strEffect::ClearFlash()
{
    const strEffect d;
    flags &= uint8_t(~EF_FLASH);
    flashDuration = d.flashDuration;
    flashBlend = d.flashBlend;
    flashScope = d.flashScope;
    flashRed = d.flashRed;
    flashGreen = d.flashGreen;
    flashBlue = d.flashBlue;
    flashStrength = d.flashStrength;
}

void strEffect::ClearSound()
{
    const strEffect d;
    flags &= uint8_t(~EF_SOUND);
    seVolume = d.seVolume;
    sePitch = d.sePitch;
    seBalance = d.seBalance;
    seName.clear();
}
