#include "edit/EditClip.h"

#include "model/CellImage.h"

#include "platform/Clipboard.h"

#include <algorithm>

namespace {
constexpr size_t kHeaderSize = 8;
constexpr size_t kPictureHead = 8;
constexpr size_t kEffectHead = 20;
constexpr size_t kMassHead = 12;
constexpr size_t kMaxEntries = 0xFFFF;

void put8(Cclip_stream& s, unsigned v) { s.AppendByte(uint8_t(v)); }
void put16(Cclip_stream& s, unsigned v)
{
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    s.Append(b, 2);
}
void put32(Cclip_stream& s, uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    s.Append(b, 4);
}
// A text: one length byte and that many bytes (longer texts are cut to 255 bytes).
void putText(Cclip_stream& s, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    put8(s, unsigned(n));
    s.Append(text.data(), n);
}

// Readers: callers check that enough bytes remain; past the end they yield zeros.
uint8_t get8(Cclip_stream& s) { return s.ReadByte(); }
uint16_t get16(Cclip_stream& s)
{
    uint8_t b[2] = {};
    s.Read(b, 2);
    return uint16_t(b[0] | b[1] << 8);
}
uint32_t get32(Cclip_stream& s)
{
    uint8_t b[4] = {};
    s.Read(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
// Reads as much of the text as the data holds.
std::string getText(Cclip_stream& s)
{
    const size_t announced = get8(s);
    const size_t n = std::min(announced, s.Remaining());
    std::string text(n, '\0');
    s.Read(text.data(), n);
    return text;
}

// The block of the format when it is at least 5 bytes long and starts with kind.
bool readBlock(uint32_t kind, std::vector<uint8_t>& block)
{
    platform::Clipboard& clipboard = platform::SystemClipboard();
    if (!clipboard.IsAvailable(kEditClipFormat) || !clipboard.Open())
        return false;
    const bool ok = clipboard.GetData(kEditClipFormat, block);
    clipboard.Close();
    if (!ok || block.size() < 5)
        return false;
    const uint32_t head =
        uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 | uint32_t(block[3]) << 24;
    return head == kind;
}
} // namespace

bool Put(cEditClip& clip)
{
    clip.stream.Clear();
    const uint8_t placeholder[kHeaderSize] = {};
    clip.stream.Append(placeholder, kHeaderSize);
    if (!clip.Serialize())
        return false;
    clip.stream.PatchU32(0, clip.kind);
    clip.stream.PatchU32(4, uint32_t(clip.stream.Size() - kHeaderSize));
    return platform::SystemClipboard().Store(kEditClipFormat, clip.stream.Bytes());
}

bool Get(cEditClip& clip)
{
    std::vector<uint8_t> block;
    if (!readBlock(clip.kind, block))
        return false;
    // The length field bounds the payload as well as the block's end does.
    size_t end = block.size();
    if (end >= kHeaderSize) {
        const size_t length =
            uint32_t(block[4]) | uint32_t(block[5]) << 8 | uint32_t(block[6]) << 16 | uint32_t(block[7]) << 24;
        end = std::min(end, kHeaderSize + length);
    }
    clip.stream.Assign(block.data(), end);
    clip.stream.Seek(kHeaderSize);
    return clip.Deserialize();
}

bool Has(uint32_t kind)
{
    std::vector<uint8_t> block;
    return readBlock(kind, block);
}

void WriteCellImage(Cclip_stream& out, const strCell& c)
{
    uint8_t image[kCellImageSize];
    PackCellImage(c, image);
    out.Append(image, kCellImageSize);
}

bool ReadCellImage(Cclip_stream& in, strCell& c)
{
    uint8_t image[kCellImageSize];
    if (in.Remaining() < kCellImageSize)
        return false;
    in.Read(image, kCellImageSize);
    c = UnpackCellImage(image);
    return true;
}

bool cClip_Picture::Serialize()
{
    if (!picture)
        return false;
    put16(stream, picture->divX);
    put16(stream, picture->divY);
    put16(stream, picture->hue);
    put16(stream, 0);
    putText(stream, picture->path);
    return true;
}

bool cClip_Picture::Deserialize()
{
    if (!picture || stream.Remaining() < kPictureHead)
        return false;
    picture->divX = get16(stream);
    picture->divY = get16(stream);
    picture->hue = get16(stream);
    get16(stream);
    picture->path = getText(stream);
    return true;
}

bool cClip_Effect::Serialize()
{
    if (!effect)
        return false;
    const strEffect& e = *effect;
    put16(stream, e.frame);
    put8(stream, e.flags);
    put8(stream, 0);
    put16(stream, e.flashDuration);
    put8(stream, e.flashBlend);
    put8(stream, e.flashScope);
    put8(stream, e.flashRed);
    put8(stream, e.flashGreen);
    put8(stream, e.flashBlue);
    put8(stream, e.flashStrength);
    put16(stream, e.seVolume);
    put16(stream, e.sePitch);
    put16(stream, e.seBalance);
    put16(stream, 0);
    putText(stream, e.seName);
    putText(stream, e.note);
    return true;
}

bool cClip_Effect::Deserialize()
{
    if (!effect || stream.Remaining() < kEffectHead)
        return false;
    strEffect& e = *effect;
    e.frame = get16(stream);
    e.flags = get8(stream);
    get8(stream);
    e.flashDuration = get16(stream);
    e.flashBlend = get8(stream);
    e.flashScope = get8(stream);
    e.flashRed = get8(stream);
    e.flashGreen = get8(stream);
    e.flashBlue = get8(stream);
    e.flashStrength = get8(stream);
    e.seVolume = get16(stream);
    e.sePitch = get16(stream);
    e.seBalance = get16(stream);
    get16(stream);
    e.seName = getText(stream);
    e.note = getText(stream);
    return true;
}

void cClip_Mass::ClearLists()
{
    cells.clear();
    empties.clear();
    frames.clear();
    fixPictures.clear();
}

bool cClip_Mass::Serialize()
{
    // Counts are 16-bit: a block with more entries cannot be written whole, and a
    // partial one would lose the rest on a cut.
    const size_t nc = cells.size(), ne = empties.size(), nf = frames.size(), np = fixPictures.size();
    if (Empty() || std::max({nc, ne, nf, np}) > kMaxEntries)
        return false;
    put32(stream, 0);
    put16(stream, unsigned(nc));
    put16(stream, unsigned(ne));
    put16(stream, unsigned(nf));
    put16(stream, unsigned(np));
    for (size_t i = 0; i < nc; ++i) {
        put16(stream, cells[i].frame);
        put16(stream, cells[i].cellNo);
        WriteCellImage(stream, cells[i].cell);
    }
    for (size_t i = 0; i < ne; ++i) {
        put16(stream, empties[i].frame);
        put16(stream, empties[i].cellNo);
    }
    for (size_t i = 0; i < nf; ++i) {
        put16(stream, frames[i].frame);
        put16(stream, frames[i].interval);
    }
    for (size_t i = 0; i < np; ++i) {
        put16(stream, fixPictures[i].row);
        put16(stream, fixPictures[i].picture);
    }
    return true;
}

bool cClip_Mass::Deserialize()
{
    ClearLists();
    if (stream.Remaining() < kMassHead)
        return false;
    get32(stream);
    const size_t nc = get16(stream), ne = get16(stream), nf = get16(stream), np = get16(stream);
    // Counts larger than the data: the complete entries present are read, and the
    // lists after a short one are left empty (their bytes are not there).
    for (size_t i = 0; i < nc && stream.Remaining() >= 4 + kCellImageSize; ++i) {
        strCellEntry entry{};
        entry.frame = get16(stream);
        entry.cellNo = get16(stream);
        ReadCellImage(stream, entry.cell);
        cells.push_back(entry);
    }
    auto readPairs = [this](size_t count, auto& list) {
        for (size_t i = 0; i < count && stream.Remaining() >= 4; ++i) {
            const uint16_t a = get16(stream);
            list.push_back({a, get16(stream)});
        }
        return list.size() == count;
    };
    if (cells.size() == nc && readPairs(ne, empties) && readPairs(nf, frames))
        readPairs(np, fixPictures);
    return true;
}
