#pragma once
// The settings the editing views follow, filled by the windows from the editor
// settings when they are needed (so a change in the settings dialog applies at once).

#include "project/Settings.h"

#include <cstdint>

struct strEditOptions {
    bool addFrameAtEnd = true; // stepping past the last frame appends one
    int compType = 0;          // what interpolation keeps (see InterpolateCell)
    uint32_t gridBits = 7;     // which drags snap: GRID_POSITION, GRID_SCALE, GRID_ANGLE
    int positionGrid = 4, scaleGrid = 10, angleGrid = 10;
    int newPictureDivX = 5, newPictureDivY = 5; // divisions offered for an empty picture slot
};

inline strEditOptions EditOptionsOf(const cSettings& s)
{
    strEditOptions o;
    o.addFrameAtEnd = s.NewFrameFlag;
    o.compType = s.CompType;
    o.gridBits = s.GridBit;
    o.positionGrid = s.PostGrid;
    o.scaleGrid = s.ScaleGrid;
    o.angleGrid = s.AngleGrid;
    o.newPictureDivX = s.Init_CutX;
    o.newPictureDivY = s.Init_CutY;
    return o;
}
