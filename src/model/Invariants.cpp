#include "model/Invariants.h"

#include "model/AnimeData.h"

#include <cstdlib>

std::string FindInvariantViolation(const cAnimeData& p)
{
    const int cells = p.CellCount();
    if (cells < 1 || cells > 255)
        return "cell count " + std::to_string(cells);
    if (int(p.FixPictures().size()) != cells)
        return "fixed picture table size";
    if (p.EmptyFrame().cells.Size() != cells)
        return "empty frame template size";
    for (int f = 0; f < p.FrameCapacity(); ++f) {
        const strFrame* frame = p.GetFrame(f);
        if (!frame)
            continue;
        const std::string where = "frame " + std::to_string(f);
        if (frame->cells.Size() != cells)
            return where + " has " + std::to_string(frame->cells.Size()) + " slots";
        for (int c = 0; c < cells; ++c) {
            const strCell* cell = frame->cells.Get(c);
            if (!cell)
                continue;
            const bool ok = cell->pattern >= 1 && cell->blend <= 4 && std::abs(cell->x) <= 1024 &&
                            std::abs(cell->y) <= 1024 && std::abs(cell->scaleX) <= 1000 &&
                            std::abs(cell->scaleY) <= 1000 && std::abs(cell->angle) <= 3600 && cell->red <= 200 &&
                            cell->green <= 200 && cell->blue <= 200 && cell->saturation <= 200;
            if (!ok)
                return where + " cell " + std::to_string(c) + " out of range";
        }
    }
    const int effects = p.GetValue(AI_EFFECTS);
    int lastFrame = -1;
    for (int i = 0; i < p.EffectCapacity(); ++i) {
        const strEffect* e = p.GetEffect(i);
        if ((e != nullptr) != (i < effects))
            return "effect slots not dense at " + std::to_string(i);
        if (e) {
            if (e->frame < lastFrame)
                return "effect " + std::to_string(i) + " out of frame order";
            lastFrame = e->frame;
        }
    }
    return {};
}
