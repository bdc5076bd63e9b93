#pragma once
// What every successfully loaded project must satisfy; a violation stops the
// fuzzer like a crash.

#include "model/AnimeData.h"

#include <cstdlib>

inline void Require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

inline void CheckProjectInvariants(const cAnimeData& p)
{
    const int cells = p.CellCount();
    Require(cells >= 1 && cells <= 255);
    Require(int(p.FixPictures().size()) == cells);
    for (int f = 0; f < p.FrameCapacity(); ++f)
        if (const strFrame* frame = p.GetFrame(f)) {
            Require(frame->cells.Size() == cells);
            for (int c = 0; c < cells; ++c)
                if (const strCell* cell = frame->cells.Get(c)) {
                    Require(cell->pattern >= 1 && cell->blend <= 4);
                    Require(std::abs(cell->x) <= 1024 && std::abs(cell->y) <= 1024);
                    Require(std::abs(cell->scaleX) <= 1000 && std::abs(cell->scaleY) <= 1000);
                    Require(std::abs(cell->angle) <= 3600);
                    Require(cell->red <= 200 && cell->green <= 200 && cell->blue <= 200 &&
                            cell->saturation <= 200);
                }
        }
    // Effects: a dense prefix sorted by frame.
    const int effects = p.GetValue(AI_EFFECTS);
    int lastFrame = -1;
    for (int i = 0; i < p.EffectCapacity(); ++i) {
        const strEffect* e = p.GetEffect(i);
        Require((e != nullptr) == (i < effects));
        if (e) {
            Require(e->frame >= lastFrame);
            lastFrame = e->frame;
        }
    }
}
