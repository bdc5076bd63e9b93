// The binary project file: a 46-byte header, then name, user data, fixed
// pictures, pictures, the sound name table, effects and frames, all packed
// little-endian.
#include "project/AnimeFile.h"

#include "model/AnimeData.h"
#include "model/CellImage.h"
#include "platform/ByteReader.h"
#include "platform/Strings.h"
#include "project/FileText.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace ANIME {

namespace {

constexpr std::string_view kBinaryMagic = "MEVK_BIN";
constexpr std::string_view kVersion = "0072";
// Byte 12, the first reserved byte: bit 0 set when the file's texts are UTF-8.
constexpr size_t kFlagsOffset = 12;
constexpr uint8_t kFlagUtf8 = 1;
// Byte 13: the centre position (1..5); 0, the default, is what older files hold.
constexpr size_t kPositionOffset = 13;
constexpr size_t kReservedEnd = 28;

// File part bits of an effect record; the in-memory flags swap flash and sound.
// An effect with no part (an idle timing from RPG Maker) is marked kPartIdle so
// that it is not taken for a hole; readers that do not know the bit skip it.
constexpr uint8_t kPartSound = 1, kPartFlash = 2, kPartNote = 4, kPartIdle = 8;

uint8_t filePartBits(uint8_t flags)
{
    const uint8_t parts = uint8_t(((flags & EF_SOUND) ? kPartSound : 0) | ((flags & EF_FLASH) ? kPartFlash : 0) |
                                  ((flags & EF_NOTE) ? kPartNote : 0));
    return parts ? parts : kPartIdle;
}

void putU8(std::string& out, unsigned v) { out += char(uint8_t(v)); }
void putU16(std::string& out, unsigned v)
{
    out += char(uint8_t(v));
    out += char(uint8_t(v >> 8));
}
void putU32(std::string& out, uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
// A length-prefixed text; the caller has checked that it fits in 255 bytes.
void putLString(std::string& out, const std::string& s)
{
    putU8(out, unsigned(s.size()));
    out += s;
}

// A length-prefixed text; it ends at its first NUL byte if it holds one.
std::string readLString(platform::ByteReader& in)
{
    const std::string_view v = in.Bytes(in.U8());
    return std::string(v.substr(0, v.find('\0')));
}

void putCellImage(std::string& out, const strCell& c)
{
    uint8_t image[kCellImageSize];
    PackCellImage(c, image);
    out.append(reinterpret_cast<const char*>(image), kCellImageSize);
}

// A short read yields the blank cell; the reader's sticky error reports it.
strCell readCellImage(platform::ByteReader& in)
{
    const std::string_view bytes = in.Bytes(kCellImageSize);
    if (bytes.size() != kCellImageSize)
        return strCell();
    return UnpackCellImage(reinterpret_cast<const uint8_t*>(bytes.data()));
}

// Header numbers saturate instead of wrapping.
unsigned saturateU16(int v) { return unsigned(std::clamp(v, 0, 0xFFFF)); }
uint32_t saturateU32(int v) { return uint32_t(std::max(v, 0)); }

// The stored forms of every text, checked against the format's limits.
struct strStoredTexts {
    std::string name, userData;
    std::vector<std::string> pictures, notes; // notes by effect index
    std::vector<std::string> sounds;          // the sound name table
};

} // namespace

int cAnimeFile_Device::WriteBinary(const cAnimeData& project, std::string& out)
{
    soundIndex_.clear();
    out.clear();
    const int effectCount = project.LastUsedIndex(AI_EFFECTS) + 1;
    const int frameCount = project.LastUsedIndex(AI_FRAMES) + 1;
    const int pictureCount = project.LastUsedIndex(AI_PICTURES) + 1;
    const int cellCount = project.CellCount();

    // Sound names in order of first use; the table's count and indices are bytes.
    const cFileText text = cFileText::For(project);
    strStoredTexts stored;
    bool representable =
        pictureCount <= 255 && cellCount <= 255 && effectCount <= 0xFFFF && frameCount <= 0xFFFF &&
        text.Encode(project.Text(AT_NAME), QT_TRANSLATE_NOOP("Strings", "名前"), stored.name) &&
        text.Encode(project.Text(AT_USER_DATA), QT_TRANSLATE_NOOP("Strings", "ユーザーデータ"), stored.userData);
    stored.notes.resize(size_t(std::max(effectCount, 0)));
    for (int i = 0; i < effectCount && representable; ++i) {
        const strEffect* e = project.GetEffect(i);
        if (!e)
            continue;
        if (e->flags & EF_NOTE)
            representable = text.Encode(e->note, QT_TRANSLATE_NOOP("Strings", "メモ"), stored.notes[size_t(i)]);
        if ((e->flags & EF_SOUND) && representable &&
            soundIndex_.emplace(e->seName, int(stored.sounds.size())).second) {
            stored.sounds.emplace_back();
            representable = text.Encode(e->seName, QT_TRANSLATE_NOOP("Strings", "効果音"), stored.sounds.back());
        }
    }
    stored.pictures.resize(size_t(std::max(pictureCount, 0)));
    for (int i = 0; i < pictureCount && representable; ++i)
        if (const strPicture* p = project.GetPicture(i))
            representable = text.Encode(p->path, QT_TRANSLATE_NOOP("Strings", "画像"), stored.pictures[size_t(i)]);
    if (!representable || stored.sounds.size() > 255) {
        soundIndex_.clear();
        return FR_BAD_FORMAT;
    }

    out.reserve(64 + size_t(frameCount) * (3 + size_t(cellCount) * 23));
    out += kBinaryMagic;
    out += kVersion;
    out.append(16, '\0');
    out[kFlagsOffset] = char(text.Utf8() ? kFlagUtf8 : 0);
    out[kPositionOffset] = char(StoredCenterPosition(project));
    putU8(out, unsigned(project.GetValue(AI_DIVISION_FORMAT) & 3) |
                   unsigned(project.GetValue(AI_FIX_PICTURE_PER_CELL) & 1) << 2 |
                   unsigned(project.GetValue(AI_EDIT_FORMAT) & 15) << 3);
    putU16(out, saturateU16(project.GetValue(AI_BASE_INTERVAL)));
    putU32(out, saturateU32(project.GetValue(AI_TOTAL_INTERVAL)));
    putU32(out, saturateU32(project.SumIntervals()));
    putU16(out, unsigned(effectCount));
    putU16(out, unsigned(frameCount));
    putU8(out, unsigned(pictureCount));
    putU8(out, unsigned(stored.sounds.size()));
    putU8(out, unsigned(cellCount));

    putLString(out, stored.name);
    putLString(out, stored.userData);
    if (project.GetValue(AI_FIX_PICTURE_PER_CELL)) {
        putU8(out, unsigned(cellCount));
        for (int n = 0; n < cellCount; ++n)
            putU8(out, unsigned(project.GetFixPicture(n)));
    } else {
        putU8(out, 0);
    }

    for (int i = 0; i < pictureCount; ++i) {
        const strPicture* p = project.GetPicture(i);
        putU16(out, p ? p->divX : 0);
        putU16(out, p ? p->divY : 0);
        putU16(out, p ? p->hue : 0);
        out.append(6, '\0');
        putLString(out, stored.pictures[size_t(i)]);
    }

    for (size_t i = 0; i < stored.sounds.size(); ++i) {
        putU8(out, unsigned(i));
        putLString(out, stored.sounds[i]);
    }

    for (int i = 0; i < effectCount; ++i) {
        const strEffect* e = project.GetEffect(i);
        if (!e) { // a hole in the effect array: a record without parts, skipped on reading
            putU16(out, 0);
            putU8(out, 0);
            continue;
        }
        putU16(out, e->frame);
        putU8(out, filePartBits(e->flags));
        if (e->flags & EF_SOUND) {
            putU16(out, e->seVolume);
            putU16(out, e->sePitch);
            putU16(out, e->seBalance);
            putU8(out, unsigned(soundIndex_.at(e->seName)));
        }
        if (e->flags & EF_FLASH) {
            putU16(out, e->flashDuration);
            putU8(out, e->flashBlend);
            putU8(out, e->flashScope);
            putU8(out, e->flashBlue);
            putU8(out, e->flashGreen);
            putU8(out, e->flashRed);
            putU8(out, e->flashStrength);
        }
        if (e->flags & EF_NOTE)
            putLString(out, stored.notes[size_t(i)]);
    }

    for (int f = 0; f < frameCount; ++f) {
        const strFrame* frame = project.GetFrame(f);
        if (!frame) {
            putU16(out, 0);
            putU8(out, 0);
            continue;
        }
        putU16(out, frame->interval);
        const size_t countAt = out.size();
        putU8(out, 0);
        unsigned n = 0;
        for (int c = 0; c < std::min(cellCount, frame->cells.Size()); ++c)
            if (const strCell* cell = frame->cells.Get(c)) {
                putU8(out, unsigned(c));
                putCellImage(out, *cell);
                ++n;
            }
        out[countAt] = char(uint8_t(n));
    }
    soundIndex_.clear();
    return FR_OK;
}

int cAnimeFile_Device::ReadBinary(std::string_view data, cAnimeData& project)
{
    soundIndex_.clear();
    platform::ByteReader in(data);
    in.Skip(kFlagsOffset); // magic, version
    const cFileText text((in.U8() & kFlagUtf8) != 0);
    const uint8_t position = in.U8();
    in.Skip(kReservedEnd - kPositionOffset - 1); // the rest of the reserved words
    const uint8_t formatBits = in.U8();
    const uint16_t baseInterval = in.U16();
    const uint32_t totalInterval = in.U32();
    in.Skip(4); // computed length
    const uint16_t effectCount = in.U16();
    const uint16_t frameCount = in.U16();
    const uint8_t pictureCount = in.U8();
    const uint8_t soundCount = in.U8();
    const uint8_t cellCount = in.U8();
    if (!in.Ok() || !project.Reset(frameCount, cellCount, pictureCount, effectCount))
        return FR_BAD_FORMAT;

    project.SetValue(AI_SAVE_FORMAT, 0);
    project.SetValue(AI_DIVISION_FORMAT, formatBits & 3);
    project.SetValue(AI_FIX_PICTURE_PER_CELL, (formatBits >> 2) & 1);
    project.SetValue(AI_EDIT_FORMAT, (formatBits >> 3) & 15);
    project.SetValue(AI_BASE_INTERVAL, baseInterval);
    project.SetValue(AI_TOTAL_INTERVAL, int(std::min<uint32_t>(totalInterval, INT32_MAX)));
    project.SetValue(AI_CENTER_POSITION, ReadCenterPosition(position));
    project.SetText(AT_NAME, text.Decode(readLString(in)));
    project.SetText(AT_USER_DATA, text.Decode(readLString(in)));

    const std::string_view fixed = in.Bytes(in.U8());
    for (size_t n = 0; n < std::min<size_t>(fixed.size(), cellCount); ++n)
        project.SetFixPicture(int(n), uint8_t(fixed[n]));

    for (int i = 0; i < pictureCount; ++i) {
        strPicture p;
        p.divX = in.U16();
        p.divY = in.U16();
        p.hue = in.U16();
        in.Skip(6);
        p.path = text.Decode(readLString(in));
        if (p.divX > 0 && in.Ok()) {
            cAnimeData::ValidatePicture(p);
            project.SetPicture(p, i);
        }
    }

    std::vector<std::string> soundByIndex(256);
    for (int i = 0; i < soundCount; ++i) {
        const uint8_t index = in.U8();
        std::string path = text.Decode(readLString(in));
        soundIndex_[path] = index;
        soundByIndex[index] = std::move(path);
    }

    for (int i = 0; i < effectCount && in.Ok(); ++i) {
        strEffect e;
        e.frame = in.U16();
        const uint8_t parts = in.U8();
        if (parts & kPartSound) {
            e.seVolume = in.U16();
            e.sePitch = in.U16();
            e.seBalance = in.U16();
            e.seName = soundByIndex[in.U8()];
            e.flags |= EF_SOUND;
        }
        if (parts & kPartFlash) {
            e.flashDuration = in.U16();
            e.flashBlend = in.U8();
            e.flashScope = in.U8();
            e.flashBlue = in.U8();
            e.flashGreen = in.U8();
            e.flashRed = in.U8();
            e.flashStrength = in.U8();
            e.flags |= EF_FLASH;
        }
        if (parts & kPartNote) {
            e.note = text.Decode(readLString(in));
            e.flags |= EF_NOTE;
        }
        if ((e.flags || (parts & kPartIdle)) && in.Ok())
            project.InsertEffect(e, nullptr);
    }

    if (frameCount > 0)
        project.InsertFrames(0, frameCount);
    for (int f = 0; f < frameCount && in.Ok(); ++f) {
        project.SetInterval(f, in.U16());
        const uint8_t n = in.U8();
        for (int k = 0; k < n && in.Ok(); ++k) {
            const uint8_t cellNo = in.U8();
            const strCell cell = readCellImage(in);
            if (in.Ok())
                project.SetCell(f, cellNo, &cell);
        }
    }
    soundIndex_.clear();
    return in.Ok() ? FR_OK : FR_BAD_FORMAT;
}

} // namespace ANIME
