#pragma once
// A complete, readable text of a project's state for whole-model comparisons in
// tests: items, texts, fixed pictures, every frame with every cell, pictures and
// effects with their slot indices.

#include "model/AnimeData.h"

#include <sstream>
#include <string>

inline std::string ModelText(const cAnimeData& p)
{
    std::ostringstream o;
    for (int i = 1; i <= 11; ++i)
        o << "item" << i << "=" << p.GetValue(i) << " ";
    o << "\n";
    for (int i = 16; i <= 19; ++i)
        o << "text" << i << "=" << p.Text(i) << "\n";
    o << "fix:";
    for (uint8_t f : p.FixPictures())
        o << " " << int(f);
    o << "\n";
    for (int f = 0; f < p.FrameCapacity(); ++f) {
        const strFrame* frame = p.GetFrame(f);
        if (!frame)
            continue;
        o << "frame " << f << " interval " << frame->interval << " slots " << frame->cells.Size() << "\n";
        for (int c = 0; c < frame->cells.Size(); ++c)
            if (const strCell* cell = frame->cells.Get(c)) {
                o << "  cell " << c << ":";
                for (int k = 0; k < CP_COUNT; ++k)
                    o << " " << cell->Get(k);
                o << "\n";
            }
    }
    for (int i = 0; i < p.PictureCapacity(); ++i)
        if (const strPicture* pic = p.GetPicture(i))
            o << "picture " << i << " " << pic->divX << " " << pic->divY << " " << pic->hue << " " << pic->path << "\n";
    for (int i = 0; i < p.EffectCapacity(); ++i)
        if (const strEffect* e = p.GetEffect(i))
            o << "effect " << i << " " << e->frame << " " << int(e->flags) << " " << e->flashDuration << " "
              << int(e->flashBlend) << " " << int(e->flashScope) << " " << int(e->flashRed) << " " << int(e->flashGreen)
              << " " << int(e->flashBlue) << " " << int(e->flashStrength) << " " << e->seVolume << " " << e->sePitch
              << " " << e->seBalance << " [" << e->seName << "] [" << e->note << "]\n";
    return o.str();
}
