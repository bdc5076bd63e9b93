#include "interchange/RubyAnimation.h"

#include "interchange/InterchangeText.h"
#include "interchange/RubyMarshal.h"
#include "model/AnimeData.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace MKRUBY;
using interchange::ClampU16;

namespace {

constexpr int kMaxFrames = 200;
constexpr int kMaxTimings = 999;
constexpr int kTableRows = 8;

// Name constants of the writer. The sound's @name is its own constant, so it
// is defined a second time in the stream, as RPG Maker writes it.
const Name kAnimationClass{"RPG::Animation"}, kFrameClass{"RPG::Animation::Frame"},
    kTimingClass{"RPG::Animation::Timing"}, kSeClass{"RPG::SE"}, kAudioFileClass{"RPG::AudioFile"};
const Name kId{"@id"}, kName{"@name"}, kAnimationName{"@animation_name"}, kAnimationHue{"@animation_hue"},
    kAnimation1Name{"@animation1_name"}, kAnimation1Hue{"@animation1_hue"}, kAnimation2Name{"@animation2_name"},
    kAnimation2Hue{"@animation2_hue"}, kPosition{"@position"}, kFrameMax{"@frame_max"}, kFrames{"@frames"},
    kTimings{"@timings"};
const Name kCellData{"@cell_data"}, kCellMax{"@cell_max"};
const Name kFrame{"@frame"}, kFlashDuration{"@flash_duration"}, kFlashScope{"@flash_scope"},
    kFlashColor{"@flash_color"}, kSe{"@se"}, kCondition{"@condition"};
const Name kSeName{"@name"}, kVolume{"@volume"}, kPitch{"@pitch"};

// Ids of the reader's dictionaries.
enum {
    ID_ANIMATION = 0x2000,
    ID_FRAME_CLASS,
    ID_TIMING_CLASS,
    ID_SE_CLASS,
    ID_AUDIOFILE_CLASS,
    ID_TABLE,
    ID_COLOR,
    ID_E,
    ID_ID = 0x3000,
    ID_NAME,
    ID_ANIMATION1_NAME,
    ID_ANIMATION1_HUE,
    ID_ANIMATION2_NAME,
    ID_ANIMATION2_HUE,
    ID_POSITION,
    ID_FRAME_MAX,
    ID_FRAMES,
    ID_TIMINGS,
    ID_ANIMATION_NAME,
    ID_ANIMATION_HUE,
    ID_CELL_MAX = 0x4000,
    ID_CELL_DATA,
    ID_FRAME = 0x5000,
    ID_SE,
    ID_FLASH_SCOPE,
    ID_FLASH_COLOR,
    ID_FLASH_DURATION,
    ID_CONDITION,
    ID_SE_NAME = 0x6000,
    ID_VOLUME,
    ID_PITCH,
};

const NameDictionary& classNames()
{
    static const NameDictionary d(ID_ANIMATION, {"RPG::Animation", "RPG::Animation::Frame", "RPG::Animation::Timing",
                                                 "RPG::SE", "RPG::AudioFile", "Table", "Color", "E"});
    return d;
}
const NameDictionary& animationNames()
{
    static const NameDictionary d(ID_ID, {"@id", "@name", "@animation1_name", "@animation1_hue", "@animation2_name",
                                          "@animation2_hue", "@position", "@frame_max", "@frames", "@timings",
                                          "@animation_name", "@animation_hue"});
    return d;
}
const NameDictionary& frameNames()
{
    static const NameDictionary d(ID_CELL_MAX, {"@cell_max", "@cell_data"});
    return d;
}
const NameDictionary& timingNames()
{
    static const NameDictionary d(ID_FRAME,
                                  {"@frame", "@se", "@flash_scope", "@flash_color", "@flash_duration", "@condition"});
    return d;
}
const NameDictionary& soundNames()
{
    static const NameDictionary d(ID_SE_NAME, {"@name", "@volume", "@pitch"});
    return d;
}

// The eight rows of one cell slot; an empty slot is -1 and zeros.
void cellRows(const strCell* cell, int version, int16_t rows[kTableRows])
{
    std::fill(rows, rows + kTableRows, int16_t(0));
    if (!cell) {
        rows[0] = -1;
        return;
    }
    const int pattern = int(cell->pattern) - 1;
    if (version == RUBY_XP)
        rows[0] = int16_t(std::min(pattern, 32767)); // the picture is not exchanged
    else
        rows[0] = int16_t(std::clamp(pattern, 0, 99) + (cell->picture >= 1 ? 100 : 0));
    rows[1] = cell->x;
    rows[2] = cell->y;
    const int ax = std::abs(int(cell->scaleX)), ay = std::abs(int(cell->scaleY));
    rows[3] = int16_t(std::clamp(ax >= ay ? ax : ay, 20, 800));
    rows[4] = int16_t(((3600 - int(cell->angle)) % 3600) / 10);
    rows[5] = cell->scaleX <= 0 ? 1 : 0;
    rows[6] = cell->opacity;
    rows[7] = cell->blend <= 2 ? cell->blend : 0;
}

bool writeFrame(CWrite& w, const strFrame* frame, int version)
{
    int last = -1;
    if (frame)
        last = frame->cells.LastIndex();
    const int n = std::max(last + 1, 1);
    CTable table;
    if (!table.Create(n, kTableRows, 1))
        return false;
    for (int i = 0; i < n; ++i) {
        int16_t rows[kTableRows];
        cellRows(frame ? frame->cells.Get(i) : nullptr, version, rows);
        for (int r = 0; r < kTableRows; ++r)
            table.Set(i, r, 0, rows[r]);
    }
    ObjectScope scope(w, kFrameClass);
    scope.Child().WriteIvar(kCellData);
    scope.Child().WriteTable(table);
    scope.Child().WriteIvarInt(kCellMax, n);
    return true;
}

void writeTiming(CWrite& w, const strEffect& e, int version, const strFolderNames& folders)
{
    ObjectScope scope(w, kTimingClass);
    CWrite& c = scope.Child();
    const bool flash = e.flags & EF_FLASH;
    c.WriteIvarInt(kFrame, e.frame);
    c.WriteIvarInt(kFlashDuration, flash ? e.flashDuration : 0);
    int flashScope = 0;
    if (flash)
        flashScope = e.flashScope == 0 ? 2 : e.flashScope == 1 ? 1 : 3;
    c.WriteIvarInt(kFlashScope, flashScope);
    c.WriteIvar(kFlashColor);
    if (flash)
        c.WriteColor(e.flashRed, e.flashGreen, e.flashBlue, e.flashStrength);
    else
        c.WriteColor(100.0, 0.0, 0.0, 0.0);
    c.WriteIvar(kSe);
    {
        ObjectScope sound(c, version == RUBY_XP ? kAudioFileClass : kSeClass);
        sound.Child().WriteIvarString(kSeName, interchange::SoundName(e.seName, folders));
        sound.Child().WriteIvarInt(kVolume, e.seVolume);
        sound.Child().WriteIvarInt(kPitch, e.sePitch);
    }
    if (version == RUBY_XP) {
        int condition = 0;
        if (e.flags & EF_NOTE)
            condition = e.note == "HIT" ? 1 : e.note == "MISS" ? 2 : 0;
        c.WriteIvarInt(kCondition, condition);
    }
}

void writePicture(CWrite& w, const strPicture* picture, const Name& nameVar, const Name& hueVar,
                  const strFolderNames& folders)
{
    w.WriteIvarString(nameVar, picture ? interchange::PictureName(picture->path, folders) : std::string());
    w.WriteIvarInt(hueVar, picture ? picture->hue : 0);
}

// Steps over the rest of an object whose class is not the one expected.
bool expectObject(CRead& r, int32_t expected, int32_t& count)
{
    const CRead::Mark mark = r.GetMark();
    const int32_t id = r.ReadObject(count);
    if (id == expected)
        return true;
    if (id != 0) {
        r.Rewind(mark);
        r.SkipValue();
    }
    return false;
}

// XP animations have one graphic, so a pattern of 100 or more is a pattern of
// that graphic; VX and VX Ace take 100 and up from their second graphic.
void readFrame(CRead& r, cAnimeData& project, int frameIndex, bool oneGraphic)
{
    int32_t count;
    if (!expectObject(r, ID_FRAME_CLASS, count))
        return;
    CTable table;
    for (int32_t k = 0; k < count && !r.AtEnd(); ++k) {
        switch (r.ReadIvarId()) {
        case ID_CELL_MAX: r.ReadFixnum(); break;
        case ID_CELL_DATA: r.ReadTable(table, ID_TABLE); break;
        default: r.SkipValue(); break;
        }
    }
    if (!table.HasData())
        return;
    const int n = std::min(table.XSize(), project.CellCount());
    for (int i = 0; i < n; ++i) {
        const int v = table.Get(i, 0);
        if (v < 0)
            continue;
        strCell cell = strCell::New();
        cell.pattern = uint16_t(oneGraphic ? v + 1 : v % 100 + 1);
        cell.picture = !oneGraphic && v >= 100 ? 1 : 0;
        cell.x = table.Get(i, 1);
        cell.y = table.Get(i, 2);
        const int a = std::abs(int(table.Get(i, 3)));
        cell.scaleY = int16_t(a);
        cell.scaleX = int16_t(table.Get(i, 5) < 1 ? a : -a);
        cell.angle = int16_t(table.Get(i, 4) * -10);
        cell.opacity = uint8_t(table.Get(i, 6));
        const int blend = table.Get(i, 7);
        cell.blend = uint8_t(blend >= 0 && blend <= 2 ? blend : 0);
        project.SetCell(frameIndex, i, &cell);
    }
}

void readSound(CRead& r, strEffect& e, bool& sound)
{
    int32_t count;
    const CRead::Mark mark = r.GetMark();
    const int32_t id = r.ReadObject(count);
    if (id != ID_SE_CLASS && id != ID_AUDIOFILE_CLASS) {
        if (id != 0) {
            r.Rewind(mark);
            r.SkipValue();
        }
        return;
    }
    DictionaryScope names(r, soundNames());
    for (int32_t k = 0; k < count && !r.AtEnd(); ++k) {
        switch (r.ReadIvarId()) {
        case ID_SE_NAME: {
            std::string name;
            r.ReadString(name);
            if (!name.empty()) {
                e.seName = interchange::ImportedText(name);
                sound = true;
            }
            break;
        }
        case ID_VOLUME: e.seVolume = ClampU16(r.ReadFixnum()); break;
        case ID_PITCH: e.sePitch = ClampU16(r.ReadFixnum()); break;
        default: r.SkipValue(); break;
        }
    }
}

void readTiming(CRead& r, cAnimeData& project)
{
    int32_t count;
    if (!expectObject(r, ID_TIMING_CLASS, count))
        return;
    strEffect e;
    bool flash = false, sound = false, note = false;
    for (int32_t k = 0; k < count && !r.AtEnd(); ++k) {
        switch (r.ReadIvarId()) {
        case ID_FRAME: e.frame = ClampU16(r.ReadFixnum()); break;
        case ID_FLASH_DURATION: e.flashDuration = ClampU16(r.ReadFixnum()); break;
        case ID_FLASH_SCOPE:
            switch (r.ReadFixnum()) {
            case 1:
                e.flashScope = 1;
                e.flashBlend = 0;
                flash = true;
                break;
            case 2:
                e.flashScope = 0;
                e.flashBlend = 0;
                flash = true;
                break;
            case 3:
                e.flashScope = 2;
                flash = true;
                break;
            default: break;
            }
            break;
        case ID_FLASH_COLOR: {
            const uint32_t c = r.ReadColor(ID_COLOR);
            e.flashRed = uint8_t(c);
            e.flashGreen = uint8_t(c >> 8);
            e.flashBlue = uint8_t(c >> 16);
            e.flashStrength = uint8_t(c >> 24);
            break;
        }
        case ID_SE: readSound(r, e, sound); break;
        case ID_CONDITION:
            switch (r.ReadFixnum()) {
            case 1:
                e.note = "HIT";
                note = true;
                break;
            case 2:
                e.note = "MISS";
                note = true;
                break;
            default: break;
            }
            break;
        default: r.SkipValue(); break;
        }
    }
    if (!sound)
        e.ClearSound();
    if (!note)
        e.note.clear();
    if (!flash)
        e.ClearFlash();
    if (!(flash || sound || note))
        return;
    project.ValidateEffect(e);
    project.InsertEffect(e, nullptr);
}

} // namespace

const char* RubyFormatName(int version)
{
    switch (version) {
    case RUBY_XP: return "RPGXP ANIMATION";
    case RUBY_VX: return "RPGVX ANIMATION";
    case RUBY_VXACE: return "VX Ace ANIMATION";
    default: return nullptr;
    }
}

bool WriteRubyAnimation(const cAnimeData& project, int version, const strFolderNames& folders, Cclip_stream& out)
{
    out.Clear();
    if (!RubyFormatName(version))
        return false;
    const bool xp = version == RUBY_XP;
    SymbolTable symbols;
    CWrite outer(symbols, xp ? STYLE_PLAIN : STYLE_UTF8);
    const uint8_t head[6] = {0, 0, 0, 0, 4, 8};
    outer.Append(head, sizeof head);
    outer.WriteArray(1);
    {
        ObjectScope animation(outer, kAnimationClass);
        CWrite& a = animation.Child();
        a.WriteIvarInt(kId, 1);
        a.WriteIvarString(kName, project.Text(AT_NAME));
        if (xp) {
            writePicture(a, project.GetPicture(0), kAnimationName, kAnimationHue, folders);
        } else {
            writePicture(a, project.GetPicture(0), kAnimation1Name, kAnimation1Hue, folders);
            writePicture(a, project.GetPicture(1), kAnimation2Name, kAnimation2Hue, folders);
        }
        a.WriteIvarInt(kPosition, interchange::ToRpgPosition(project.GetValue(AI_CENTER_POSITION)));
        const int frames = std::min(project.LastUsedIndex(AI_FRAMES) + 1, kMaxFrames);
        a.WriteIvarInt(kFrameMax, frames);
        a.WriteIvar(kFrames);
        a.WriteArray(frames);
        for (int f = 0; f < frames; ++f)
            if (!writeFrame(a, project.GetFrame(f), version))
                return false; // the scope still closes; out stays untouched
        std::vector<const strEffect*> timings;
        const int t = std::min(project.LastUsedIndex(AI_EFFECTS) + 1, kMaxTimings);
        for (int i = 0; i < t; ++i)
            if (const strEffect* e = project.GetEffect(i))
                timings.push_back(e);
        a.WriteIvar(kTimings);
        a.WriteArray(int32_t(timings.size()));
        for (const strEffect* e : timings)
            writeTiming(a, *e, version, folders);
    }
    outer.PatchU32(0, uint32_t(outer.Size()));
    out.AppendStream(outer);
    return true;
}

int ReadRubyAnimation(cAnimeData& project, Cclip_stream& in)
{
    SymbolList symbols;
    CRead r(symbols, STYLE_UTF8);
    r.Assign(in.Data(), in.Size());
    // A block shorter than its own size prefix is cut off: refused, not read in part.
    const uint32_t size = r.Reader().U32();
    r.Skip(2); // Marshal version
    if (r.Failed() || size > in.Size() || !interchange::ResetForImport(project, 16))
        return -1;
    project.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
    if (r.ReadArray() <= 0)
        return -1;
    DictionaryScope classes(r, classNames());
    int32_t count;
    if (r.ReadObject(count) != ID_ANIMATION)
        return -1;
    DictionaryScope animation(r, animationNames());
    strPicture pictures[2];
    std::string text;
    bool xp = false; // the XP layout: @animation_name instead of @animation1_name
    for (int32_t k = 0; k < count && !r.AtEnd(); ++k) {
        switch (r.ReadIvarId()) {
        case ID_ID:
        case ID_FRAME_MAX: r.ReadFixnum(); break;
        case ID_NAME:
            r.ReadString(text);
            if (!text.empty())
                project.SetText(AT_NAME, interchange::ImportedText(text));
            break;
        case ID_ANIMATION_NAME: xp = true; [[fallthrough]];
        case ID_ANIMATION1_NAME:
            r.ReadString(text);
            pictures[0].path = interchange::ImportedText(text);
            break;
        case ID_ANIMATION2_NAME:
            r.ReadString(text);
            pictures[1].path = interchange::ImportedText(text);
            break;
        case ID_ANIMATION_HUE:
        case ID_ANIMATION1_HUE: pictures[0].hue = ClampU16(r.ReadFixnum()); break;
        case ID_ANIMATION2_HUE: pictures[1].hue = ClampU16(r.ReadFixnum()); break;
        case ID_POSITION: project.SetValue(AI_CENTER_POSITION, interchange::FromRpgPosition(r.ReadFixnum())); break;
        case ID_FRAMES: {
            const int32_t n = r.ReadArray();
            if (n > 0)
                project.InsertFrames(0, n);
            DictionaryScope frameScope(r, frameNames());
            int32_t j = 0;
            for (; j < n && !r.AtEnd(); ++j)
                readFrame(r, project, j, xp);
            if (j < n)
                return -1; // fewer frames than the array declares
            break;
        }
        case ID_TIMINGS: {
            const int32_t n = r.ReadArray();
            DictionaryScope timingScope(r, timingNames());
            int32_t j = 0;
            for (; j < n && !r.AtEnd(); ++j)
                readTiming(r, project);
            if (j < n)
                return -1; // fewer timings than the array declares
            break;
        }
        default: r.SkipValue(); break;
        }
    }
    for (int i = 0; i < 2; ++i)
        if (!pictures[i].path.empty()) {
            pictures[i].divX = pictures[i].divY = 192;
            cAnimeData::ValidatePicture(pictures[i]);
            project.SetPicture(pictures[i], i);
        }
    if (r.Truncated())
        return -1;
    if (r.TextCut())
        interchange::NoteTextCut();
    return 1;
}
