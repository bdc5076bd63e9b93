#include "render/DraftGif.h"

#include "platform/FileIO.h"
#include "platform/Paths.h"

#include <algorithm>

bool cDraftGif::Load(const std::string& path)
{
    Clear();
    std::vector<uint8_t> bytes;
    if (path.empty() || !platform::ReadFile(paths::ToDiskPath(path), bytes, platform::FileKind::Gif))
        return false;
    return ReadGifAnimation(bytes.data(), bytes.size(), gif_);
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
    if (i < 0 || i >= FrameCount())
        return nullptr;
    const cBMP& image = gif_.frames[static_cast<size_t>(i)].image;
    return image.Empty() || image.BitsPerPixel() != 32 ? nullptr : &image;
}
