// CGIFFile: the frame list, `save` through cGifEncoder, and `load`, which composes
// every frame on the logical screen the way a viewer shows it.

#include "export/GifFile.h"

#include "image/GifReader.h"

#include <algorithm>
#include <cstring>

#include "export/GifEncoder.h"
#include "platform/FileIO.h"

CGIFFile::CGIFFile() = default;
CGIFFile::~CGIFFile() = default;

void CGIFFile::addFrame(std::unique_ptr<CGIFLocal> frame)
{
    if (frame) m_frames.push_back(std::move(frame));
}

CGIFLocal* CGIFFile::frameAt(int i) const
{
    return i >= 0 && i < frameCount() ? m_frames[static_cast<size_t>(i)].get() : nullptr;
}

void CGIFFile::clear()
{
    m_frames.clear();
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

bool CGIFFile::encode(uint32_t background, std::vector<uint8_t>& out)
{
    out.clear();
    cGifEncoder encoder;
    encoder.reset(quality);
    for (const auto& f : m_frames)
        if (!encoder.analyse(*f)) return false;
    auto sink = [&out](const uint8_t* data, size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
    };
    bool ok = encoder.begin(sink, background, loopCount, bufferSize, comment);
    for (int i = 0; ok && i < frameCount(); ++i) ok = encoder.write(i, m_frames[static_cast<size_t>(i)].get());
    ok = encoder.end() && ok;
    if (!ok) {
        out.clear();
        return false;
    }
    hasBackground = background < 0x1000000;
    backgroundColor = hasBackground ? background : 0;
    netscape = m_frames.size() > 1;
    useGlobalTable = true;
    globalTable = encoder.globalTable();
    globalCount = static_cast<int>(globalTable.size());
    return true;
}

bool CGIFFile::save(const std::filesystem::path& path, uint32_t background)
{
    std::vector<uint8_t> bytes;
    return encode(background, bytes) && platform::WriteFileAtomic(path, bytes);
}

namespace {

// Composed frames may take at most this many bytes together.
constexpr unsigned long long kMaxComposedBytes = 512ull << 20;
// LZW codes at most 12 bits long stand for at most 4096 pixels each.
constexpr unsigned long long kMaxPixelsPerByte = 3000;

uint32_t mapColor(const ColorMapObject* map, int index)
{
    const GifColorType& c = map->Colors[index];
    return static_cast<uint32_t>(c.Red) << 16 | static_cast<uint32_t>(c.Green) << 8 | c.Blue;
}

// Fills a rectangle of the canvas (clipped) with one 32-bit value.
void fillRect(cBMP& canvas, int left, int top, int width, int height, uint32_t value)
{
    int x0 = std::max(0, left), y0 = std::max(0, top);
    int x1 = std::min(canvas.width(), left + width), y1 = std::min(canvas.height(), top + height);
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(canvas.row(y));
        std::fill(row + x0, row + std::max(x0, x1), value);
    }
}

}  // namespace

bool CGIFFile::load(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    if (!platform::ReadFile(path, bytes, platform::FileKind::Gif)) {
        clear();
        return false;
    }
    return loadBytes(bytes.data(), bytes.size());
}

bool CGIFFile::loadBytes(const uint8_t* data, size_t size)
{
    clear();
    bool ok = data && parse(data, size);
    if (!ok) clear();
    return ok;
}

bool CGIFFile::parse(const uint8_t* data, size_t size)
{
    cGifReader reader(data, size);
    GifFileType* gif = reader.Gif();
    if (!gif) return false;
    int sw = gif->SWidth, sh = gif->SHeight;
    if (sw <= 0 || sh <= 0 || sw > kMaxImageSide || sh > kMaxImageSide) return false;
    unsigned long long frameBytes = 4ull * static_cast<unsigned>(sw) * static_cast<unsigned>(sh);
    // Every frame is composed on a screen-sized canvas, so a few bytes claiming a huge
    // screen would cost as much as a huge image: the screen is held to what the data
    // could fill (as each image is below), and the canvas and one frame to the cap.
    if (frameBytes / 4 > (size + 1) * kMaxPixelsPerByte || 2 * frameBytes > kMaxComposedBytes) return false;

    const ColorMapObject* globalMap = gif->SColorMap;
    uint32_t clearValue = 0;  // background colour, alpha 0
    if (globalMap && gif->SBackGroundColor < globalMap->ColorCount) {
        hasBackground = true;
        backgroundColor = mapColor(globalMap, gif->SBackGroundColor);
        clearValue = backgroundColor;
    }
    if (globalMap) {
        useGlobalTable = true;
        globalCount = globalMap->ColorCount;
        for (int i = 0; i < globalCount; ++i) globalTable.push_back(mapColor(globalMap, i));
    }

    bool inNetscape = false;
    auto onBlock = [&](int code, const GifByteType* b, int index) {
        if (code == APPLICATION_EXT_FUNC_CODE && index == 0) {
            inNetscape = b[0] == 11 && !std::memcmp(b + 1, "NETSCAPE2.0", 11);
            netscape = netscape || inNetscape;
        } else if (code == APPLICATION_EXT_FUNC_CODE && inNetscape) {
            if (b[0] >= 3 && b[1] == 1) loopCount = b[2] | b[3] << 8;
            if (b[0] >= 5 && b[1] == 2) bufferSize = b[2] | b[3] << 8 | b[4] << 16 | static_cast<uint32_t>(b[5]) << 24;
        } else if (code == COMMENT_EXT_FUNC_CODE) {
            comment.append(reinterpret_cast<const char*>(b + 1), b[0]);
        }
    };

    cBMP canvas, saved;
    if (!canvas.create(sw, sh, 32)) return false;
    fillRect(canvas, 0, 0, sw, sh, clearValue);
    std::vector<GifPixelType> pixels;
    for (;;) {
        const cGifReader::eRecord record = reader.NextImage(onBlock);
        if (record == cGifReader::GIF_END) break;
        if (record == cGifReader::GIF_DAMAGED) return false;
        const GifImageDesc& d = reader.Image();
        const GraphicsControlBlock& gcb = reader.Control();
        unsigned long long area = static_cast<unsigned long long>(std::max(0, d.Width)) * std::max(0, d.Height);
        if (d.Width <= 0 || d.Height <= 0 || area > (reader.BytesLeft() + 1) * kMaxPixelsPerByte) return false;
        if (frameBytes * (m_frames.size() + 2) > kMaxComposedBytes) return false;   // the frames and the canvas
        if (!reader.ReadPixels(pixels)) return false;

        if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : globalMap;
        for (int y = 0; map && y < d.Height; ++y) {
            int cy = d.Top + y;
            if (cy < 0 || cy >= sh) continue;
            auto* row = reinterpret_cast<uint32_t*>(canvas.row(cy));
            const GifPixelType* src = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(d.Width);
            for (int x = 0; x < d.Width; ++x) {
                int cx = d.Left + x, index = src[x];
                if (cx < 0 || cx >= sw || index == gcb.TransparentColor || index >= map->ColorCount) continue;
                row[cx] = 0xFF000000 | mapColor(map, index);
            }
        }

        auto frame = std::make_unique<CGIFLocal>();
        frame->image = canvas;
        frame->delay = gcb.DelayTime;
        frame->disposal = gcb.DisposalMode;
        frame->interlace = d.Interlace;
        frame->transparentIndex = gcb.TransparentColor;
        frame->left = d.Left;
        frame->top = d.Top;
        if (d.ColorMap) {
            frame->colorCount = d.ColorMap->ColorCount;
            for (int i = 0; i < frame->colorCount; ++i) frame->colorTable.push_back(mapColor(d.ColorMap, i));
        }
        m_frames.push_back(std::move(frame));

        if (gcb.DisposalMode == DISPOSE_BACKGROUND)
            fillRect(canvas, d.Left, d.Top, d.Width, d.Height, clearValue);
        else if (gcb.DisposalMode == DISPOSE_PREVIOUS && !saved.empty())
            canvas = saved;
    }
    screenWidth = sw;
    screenHeight = sh;
    return !m_frames.empty();
}
