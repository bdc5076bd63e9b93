#pragma once
// cDraftGif: the draft GIF animation shown under the cells as a drawing aid. The
// file is read with every frame composed on the logical screen; the
// canvas picks the GIF frame for an animation frame and draws it as a
// parallelogram placed, scaled and turned by the user.

#include "image/GifAnimation.h"

#include <string>

/** Where the draft GIF lies: centre in animation coordinates, scale pair (0, 0 =
 *  the zoom alone), angle in degrees clockwise, and the frame offset. */
struct strDraftPlacement {
    float x = 0, y = 0;
    float scaleX = 0, scaleY = 0;
    float angle = 0;
    int frameOffset = 0;
};

class cDraftGif {
public:
    /** Reads the GIF at a model path; an empty path or a damaged file leaves it empty. */
    bool Load(const std::string& path);
    void Clear() { gif_ = strGifAnimation(); }
    bool Empty() const { return gif_.frames.empty(); }
    int FrameCount() const { return static_cast<int>(gif_.frames.size()); }
    /** The GIF frame of animation frame f: f × speed / 100 − offset, clamped to the frames. */
    int FrameFor(int animationFrame, int speed, int offset) const;
    /** Composed image of GIF frame i (32-bit), null when there is none. */
    const cBMP* Image(int i) const;

private:
    strGifAnimation gif_;
};
