#include "render/DraftGif.h"

#include "project/Paths.h"

#include <algorithm>

bool cDraftGif::Load(const std::string& path)
{
    file_.clear();
    if (path.empty())
        return false;
    if (!file_.load(paths::ToDiskPath(path))) {
        file_.clear();
        return false;
    }
    return !Empty();
}

int cDraftGif::FrameFor(int animationFrame, int speed, int offset) const
{
    if (Empty())
        return -1;
    const long long f = (long long)std::max(animationFrame, 0) * speed / 100 - offset;
    return int(std::clamp<long long>(f, 0, FrameCount() - 1));
}

const cBMP* cDraftGif::Image(int i) const
{
    const CGIFLocal* frame = file_.frameAt(i);
    if (!frame || frame->image.empty() || frame->image.bitsPerPixel() != 32)
        return nullptr;
    return &frame->image;
}
