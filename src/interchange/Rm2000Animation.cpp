#include "interchange/Rm2000Animation.h"

#include "interchange/InterchangeText.h"
#include "interchange/Mk2.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cstdint>
#include <string>

using interchange::ClampU16;

namespace {

// A one-byte length above 127 would read as a multi-byte number on the other side.
constexpr size_t kMaxText = 127;
// A text's length is one byte: every text read fits (the buffer size includes a terminator).
constexpr size_t kMaxRead = 256;
constexpr int kMaxFrames = 999;
constexpr int kMaxCells = 8;
const char kNoSound[] = "(OFF)";

// Record identifiers.
enum { A_NAME = 1, A_PICTURE = 2, A_TIMINGS = 6, A_SCOPE = 9, A_POSITION = 10, A_FLAG = 11, A_FRAMES = 12 };
enum { T_FRAME = 1, T_SOUND = 2, T_SCOPE = 3, T_RED = 4, T_GREEN = 5, T_BLUE = 6, T_STRENGTH = 7 };
enum { S_NAME = 1, S_VOLUME = 3, S_TEMPO = 4, S_BALANCE = 5 };
enum { F_CELLS = 1 };
enum { C_VALID = 1, C_PATTERN, C_X, C_Y, C_ZOOM, C_RED, C_GREEN, C_BLUE, C_SATURATION, C_TRANSPARENCY };

void writeIntIf(MK2::CWrite& w, uint32_t id, int value, int defaultValue)
{
    if (value != defaultValue)
        w.WriteIntChunk(id, value);
}

// Texts go in the ANSI code page; one that it cannot hold fails the export.
bool writeText(MK2::CWrite& w, uint32_t id, const std::string& text, const char* field)
{
    std::string stored;
    if (!interchange::EncodeForCodePage(text, field, kMaxText, stored))
        return false;
    if (!stored.empty())
        w.WriteStringChunk(id, stored);
    return true;
}

bool writeTiming(MK2::CWrite& w, const strEffect& e, const strFolderNames& folders)
{
    w.WriteIntChunk(T_FRAME, e.frame + 1);
    MK2::CWrite sound;
    if (e.flags & EF_SOUND) {
        if (!writeText(sound, S_NAME, interchange::SoundName(e.seName, folders),
                       QT_TRANSLATE_NOOP("Strings", "効果音")))
            return false;
        writeIntIf(sound, S_VOLUME, std::min<int>(e.seVolume, 100), 100);
        writeIntIf(sound, S_TEMPO, std::clamp<int>(e.sePitch, 50, 150), 100);
        writeIntIf(sound, S_BALANCE, e.seBalance <= 201 ? e.seBalance / 2 : 100, 50);
    } else {
        sound.WriteStringChunk(S_NAME, kNoSound);
    }
    sound.WriteEnd();
    w.WriteListChunk(T_SOUND, sound);
    if (e.flags & EF_FLASH) {
        writeIntIf(w, T_SCOPE, e.flashScope == 1 ? 1 : e.flashScope == 0 ? 2 : 0, 0);
        writeIntIf(w, T_RED, To31(e.flashRed), 31);
        writeIntIf(w, T_GREEN, To31(e.flashGreen), 31);
        writeIntIf(w, T_BLUE, To31(e.flashBlue), 31);
        writeIntIf(w, T_STRENGTH, To31(e.flashStrength), 31);
    }
    w.WriteEnd();
    return true;
}

void writeCell(MK2::CWrite& w, const strCell* c)
{
    if (!c) {
        w.WriteIntChunk(C_VALID, 0);
    } else {
        writeIntIf(w, C_PATTERN, c->pattern - 1, 0);
        writeIntIf(w, C_X, c->x, 0);
        writeIntIf(w, C_Y, c->y, 0);
        writeIntIf(w, C_ZOOM, std::max({int(c->scaleX), int(c->scaleY), 20}), 100);
        writeIntIf(w, C_RED, c->red, 100);
        writeIntIf(w, C_GREEN, c->green, 100);
        writeIntIf(w, C_BLUE, c->blue, 100);
        writeIntIf(w, C_SATURATION, c->saturation, 100);
        writeIntIf(w, C_TRANSPARENCY, (255 - c->opacity) * 100 / 255, 0);
    }
    w.WriteEnd();
}

void writeFrame(MK2::CWrite& w, const strFrame* frame, int slots)
{
    int count = 0;
    if (frame)
        for (int v = slots - 1; v >= 0; --v)
            if (frame->cells.Get(v)) {
                count = v + 1;
                break;
            }
    MK2::CWrite cells;
    cells.WriteNumber(uint32_t(count));
    for (int v = 0; v < count; ++v) {
        cells.WriteNumber(uint32_t(v + 1));
        writeCell(cells, frame->cells.Get(v));
    }
    w.WriteListChunk(F_CELLS, cells);
    w.WriteEnd();
}

int clampByte(int v) { return std::clamp(v, 0, 255); }

void readSound(Cclip_stream& s, strEffect& e)
{
    MK2::CReadClass(s, 0).ReadNumber(); // size
    MK2::CReadClass record(s, 5);
    std::string name = kNoSound;
    int volume = 100, tempo = 100, balance = 50;
    while (uint32_t id = record.Next()) {
        switch (id) {
        case S_NAME: record.ReadStringData(name, kMaxRead); break;
        case S_VOLUME: volume = record.ReadIntData(); break;
        case S_TEMPO: tempo = record.ReadIntData(); break;
        case S_BALANCE: balance = record.ReadIntData(); break;
        default: record.SkipData(); break;
        }
    }
    if (name != kNoSound) {
        e.seName = platform::DecodeText(name, platform::AnsiCodePage());
        e.seVolume = ClampU16(volume);
        e.sePitch = ClampU16(tempo);
        e.seBalance = ClampU16(int64_t(balance) * 2);
    }
}

void readTimings(Cclip_stream& s, cAnimeData& project)
{
    MK2::CReadArray list(s, 0);
    list.ReadNumber(); // size
    const uint32_t count = list.ReadNumber();
    MK2::CReadArray indices(s, int32_t(std::min<uint32_t>(count, INT32_MAX)));
    for (uint32_t i = 0; i < count && !s.AtEnd(); ++i) {
        indices.Next();
        MK2::CReadClass record(s, 7);
        strEffect e;
        int frame = 0, scope = 0, rgbs[4] = {31, 31, 31, 31};
        while (uint32_t id = record.Next()) {
            switch (id) {
            case T_FRAME: frame = record.ReadIntData(); break;
            case T_SOUND: readSound(s, e); break;
            case T_SCOPE: scope = record.ReadIntData(); break;
            case T_RED:
            case T_GREEN:
            case T_BLUE:
            case T_STRENGTH: rgbs[id - T_RED] = record.ReadIntData(); break;
            default: record.SkipData(); break;
            }
        }
        e.frame = ClampU16(int64_t(frame) - 1);
        if (scope != 0) {
            e.flashScope = scope == 1 ? 1 : 0;
            e.flashRed = uint8_t(clampByte(To255(rgbs[0])));
            e.flashGreen = uint8_t(clampByte(To255(rgbs[1])));
            e.flashBlue = uint8_t(clampByte(To255(rgbs[2])));
            e.flashStrength = uint8_t(clampByte(To255(rgbs[3])));
            e.flashDuration = 8;
        }
        project.ValidateEffect(e);
        project.InsertEffect(e, nullptr);
    }
}

void readCells(Cclip_stream& s, cAnimeData& project, int frame)
{
    MK2::CReadArray list(s, 0);
    list.ReadNumber(); // size
    const uint32_t count = list.ReadNumber();
    MK2::CReadArray indices(s, int32_t(std::min<uint32_t>(count, INT32_MAX)));
    for (uint32_t i = 0; i < count && !s.AtEnd(); ++i) {
        const int64_t slot = int64_t(indices.Next()) - 1;
        MK2::CReadClass record(s, 10);
        bool valid = true;
        int values[C_TRANSPARENCY + 1] = {0, 1, 0, 0, 0, 100, 100, 100, 100, 100, 0};
        while (uint32_t id = record.Next()) {
            if (id == C_VALID)
                valid = record.ReadBoolData();
            else if (id <= C_TRANSPARENCY)
                values[id] = record.ReadIntData();
            else
                record.SkipData();
        }
        if (!valid || slot < 0 || slot >= project.CellCount())
            continue;
        strCell c = strCell::New();
        c.picture = 0;
        c.pattern = uint16_t(values[C_PATTERN] + 1);
        c.x = int16_t(values[C_X]);
        c.y = int16_t(values[C_Y]);
        c.scaleX = c.scaleY = int16_t(std::clamp(values[C_ZOOM], -32768, 32767));
        c.angle = 0;
        c.red = uint8_t(clampByte(values[C_RED]));
        c.green = uint8_t(clampByte(values[C_GREEN]));
        c.blue = uint8_t(clampByte(values[C_BLUE]));
        c.saturation = uint8_t(clampByte(values[C_SATURATION]));
        c.blend = 0;
        c.opacity = uint8_t((100 - std::clamp(values[C_TRANSPARENCY], 0, 100)) * 255 / 100);
        project.SetCell(frame, int(slot), &c);
    }
}

void readFrames(Cclip_stream& s, cAnimeData& project)
{
    MK2::CReadArray list(s, 0);
    list.ReadNumber(); // size
    const uint32_t count = list.ReadNumber();
    if (count > 0)
        project.InsertFrames(0, int(std::min<uint32_t>(count, uint32_t(project.FrameCapacity()))));
    MK2::CReadArray indices(s, int32_t(std::min<uint32_t>(count, INT32_MAX)));
    for (uint32_t i = 0; i < count && !s.AtEnd(); ++i) {
        const int64_t frame = int64_t(indices.Next()) - 1;
        MK2::CReadClass record(s, 1);
        while (uint32_t id = record.Next()) {
            if (id == F_CELLS && frame >= 0 && frame < project.FrameCapacity())
                readCells(s, project, int(frame));
            else if (id == F_CELLS)
                readCells(s, project, -1);
            else
                record.SkipData();
        }
    }
}

} // namespace

namespace {
// Truncation toward zero; values a 32-bit int cannot hold saturate (foreign data
// may hold any number).
int truncToInt(float v)
{
    if (!(v > -2147483648.0f))
        return v != v ? 0 : INT32_MIN;
    if (v >= 2147483648.0f)
        return INT32_MAX;
    return int(v);
}
} // namespace

int To31(int v) { return truncToInt((float(v) * 31.0f + 127.5f) / 255.0f); }

int To255(int v) { return truncToInt((float(v) * 255.0f + 15.5f) / 31.0f); }

bool WriteRm2000Animation(const cAnimeData& project, const strFolderNames& folders, Cclip_stream& out)
{
    out.Clear();
    const strPicture* picture = project.GetPicture(project.GetValue(AI_PICTURES) - 1);
    if (!picture)
        return false;
    MK2::CWrite w;
    const uint8_t header[8] = {};
    w.Append(header, sizeof header);

    int scope = 0, position = 1;
    switch (project.GetValue(AI_CENTER_POSITION)) {
    case 1: scope = 1; break;
    case 2: position = 2; break;
    case 3: position = 0; break;
    default: break;
    }
    if (!writeText(w, A_NAME, project.Text(AT_NAME), QT_TRANSLATE_NOOP("Strings", "名前")) ||
        !writeText(w, A_PICTURE, interchange::PictureName(picture->path, folders),
                   QT_TRANSLATE_NOOP("Strings", "画像")))
        return false;

    MK2::CWrite timings;
    const int effects = project.GetValue(AI_EFFECTS);
    int written = 0;
    for (int i = 0; i < effects; ++i)
        written += project.GetEffect(i) ? 1 : 0;
    timings.WriteNumber(uint32_t(written));
    for (int i = 0; i < effects; ++i)
        if (const strEffect* e = project.GetEffect(i)) {
            timings.WriteNumber(uint32_t(i + 1));
            if (!writeTiming(timings, *e, folders))
                return false;
        }
    w.WriteListChunk(A_TIMINGS, timings);
    w.WriteIntChunk(A_SCOPE, scope);
    w.WriteIntChunk(A_POSITION, position);

    const int frames = std::clamp(project.GetValue(AI_FRAMES), 1, kMaxFrames);
    const int slots = std::clamp(project.CellCount(), 1, kMaxCells);
    MK2::CWrite list;
    list.WriteNumber(uint32_t(frames));
    for (int k = 0; k < frames; ++k) {
        list.WriteNumber(uint32_t(k + 1));
        writeFrame(list, project.GetFrame(k), slots);
    }
    w.WriteListChunk(A_FRAMES, list);
    w.WriteEnd();
    w.PatchU32(0, uint32_t(w.Size() - 8));
    w.PatchU32(4, 1);
    out.AppendStream(w);
    return true;
}

int ReadRm2000Animation(cAnimeData& project, Cclip_stream& in)
{
    in.Seek(0);
    const uint32_t size = in.Reader().U32();
    const uint32_t one = in.Reader().U32();
    // A block shorter than its own size prefix is cut off: refused, not read in part.
    if (size == 0 || one == 0 || size > in.Size() - std::min<size_t>(in.Size(), 8))
        return -1;
    if (!interchange::ResetForImport(project, 8))
        return -1;

    std::string name, pictureName;
    int scope = 0, position = 1;
    MK2::CReadClass record(in, 12);
    while (uint32_t id = record.Next()) {
        switch (id) {
        case A_NAME: record.ReadStringData(name, kMaxRead); break;
        case A_PICTURE: record.ReadStringData(pictureName, kMaxRead); break;
        case A_TIMINGS: readTimings(in, project); break;
        case A_SCOPE: scope = record.ReadIntData(); break;
        case A_POSITION: position = record.ReadIntData(); break;
        case A_FLAG: record.ReadIntData(); break;
        case A_FRAMES: readFrames(in, project); break;
        default: record.SkipData(); break;
        }
    }
    int center = 0;
    if (scope != 0)
        center = 1;
    else if (position == 2)
        center = 2;
    else if (position == 0)
        center = 3;
    project.SetValue(AI_CENTER_POSITION, center);
    project.SetText(AT_NAME, platform::DecodeText(name, platform::AnsiCodePage()));
    strPicture picture;
    picture.path = platform::DecodeText(pictureName, platform::AnsiCodePage());
    picture.hue = 0;
    picture.divX = picture.divY = 96;
    project.SetPicture(picture, 0);
    return 1;
}
