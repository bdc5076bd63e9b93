#pragma once
// The settings the drawing follows. The editor hands them to its drawer when they
// change; an export job copies them when it starts.

#include "project/Settings.h"

#include <cstdint>
#include <string>

struct strRenderOptions {
    int transType = 4;            // how a sheet finds its transparent colour
    uint32_t ground = 0x00101010; // canvas background, 0xRRGGBB
    int targetX = 0, targetY = 0; // the target picture's offset
    int targetOpacity = 255;
    std::string targetPath; // the target picture's file (model path)
};

inline strRenderOptions RenderOptionsOf(const cSettings& s)
{
    strRenderOptions o;
    o.transType = s.TransType;
    o.ground = s.CGround;
    o.targetX = s.TargetPostX;
    o.targetY = s.TargetPostY;
    o.targetOpacity = s.TargetOpacity;
    o.targetPath = s.TargetPath;
    return o;
}
