// CGIFFile: the frame list, `save` through cGifEncoder, and `load`, which composes
// every frame on the logical screen the way a viewer shows it.

#include "export/GifFile.h"

#include "image/GifAnimation.h"

#include <algorithm>
#include <cstring>

#include "export/GifEncoder.h"
#include "platform/FileIO.h"

CGIFFile::CGIFFile() = default;
CGIFFile::~CGIFFile() = default;

void CGIFFile::AddFrame(std::unique_ptr<CGIFLocal> frame)
{
    if (frame)
        frames_.push_back(std::move(frame));
}

CGIFLocal* CGIFFile::FrameAt(int i) const
{
    return i >= 0 && i < FrameCount() ? frames_[static_cast<size_t>(i)].get() : nullptr;
}

void CGIFFile::Clear()
{
    frames_.clear();
    screenWidth = screenHeight = 0;
    backgroundColor = 0;
    hasBackground = useGlobalTable = netscape = false;
    globalCount = 0;
    globalTable.clear();
    loopCount = 0;
    bufferSize = 0;
    comment.clear();
    quality = eGifQuality::Standard;
}

bool CGIFFile::Encode(uint32_t background, std::vector<uint8_t>& out)
{
    out.clear();
    cGifEncoder encoder;
    encoder.Reset(quality);
    for (const auto& f : frames_)
        if (!encoder.Analyse(*f))
            return false;
    auto sink = [&out](const uint8_t* data, size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
    };
    bool ok = encoder.Begin(sink, background, loopCount, bufferSize, comment);
    for (int i = 0; ok && i < FrameCount(); ++i)
        ok = encoder.Write(i, frames_[static_cast<size_t>(i)].get());
    ok = encoder.End() && ok;
    if (!ok) {
        out.clear();
        return false;
    }
    hasBackground = background < 0x1000000;
    backgroundColor = hasBackground ? background : 0;
    netscape = frames_.size() > 1;
    useGlobalTable = true;
    globalTable = encoder.GlobalTable();
    globalCount = static_cast<int>(globalTable.size());
    return true;
}

bool CGIFFile::Save(const std::filesystem::path& path, uint32_t background)
{
    std::vector<uint8_t> bytes;
    return Encode(background, bytes) && platform::WriteFileAtomic(path, bytes);
}

bool CGIFFile::Load(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    if (!platform::ReadFile(path, bytes, platform::FileKind::Gif)) {
        Clear();
        return false;
    }
    return LoadBytes(bytes.data(), bytes.size());
}

bool CGIFFile::LoadBytes(const uint8_t* data, size_t size)
{
    Clear();
    strGifAnimation gif;
    if (!ReadGifAnimation(data, size, gif))
        return false;
    screenWidth = gif.screenWidth;
    screenHeight = gif.screenHeight;
    backgroundColor = gif.backgroundColor;
    hasBackground = gif.hasBackground;
    useGlobalTable = gif.useGlobalTable;
    globalTable = std::move(gif.globalTable);
    globalCount = static_cast<int>(globalTable.size());
    netscape = gif.netscape;
    loopCount = gif.loopCount;
    bufferSize = gif.bufferSize;
    comment = std::move(gif.comment);
    for (strGifFrame& f : gif.frames) {
        auto frame = std::make_unique<CGIFLocal>();
        frame->image = std::move(f.image);
        frame->delay = f.delay;
        frame->disposal = f.disposal;
        frame->interlace = f.interlace;
        frame->colorTable = std::move(f.colorTable);
        frame->colorCount = static_cast<int>(frame->colorTable.size());
        frame->transparentIndex = f.transparentIndex;
        frame->left = f.left;
        frame->top = f.top;
        frames_.push_back(std::move(frame));
    }
    return true;
}
