// The text project file: CR LF lines of comma-separated integers and text
// lines. Frames are stored as differences: a cell line is written only where a
// cell is added or changed, with only its changed parameter groups.
#include "project/AnimeFile.h"

#include "model/AnimeData.h"
#include "platform/Strings.h"
#include "project/FileText.h"
#include "project/LineReader.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace ANIME {

namespace {

constexpr std::string_view kTextMagic = "MEVK_TEX0072";
constexpr size_t kMaxLine = 1023;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF"; // before the magic of a UTF-8 file
constexpr int kEmptyMark = 9999;                       // a cell field holding this number counts as empty

void endLine(std::string& out) { out += "\r\n"; }

void textLine(std::string& out, const std::string& text)
{
    out += text;
    endLine(out);
}

// Writes ",v" per value when changed, else only the commas.
void group(std::string& out, bool changed, std::initializer_list<int> values)
{
    for (int v : values) {
        out += ',';
        if (changed)
            AppendInt(out, v);
    }
}

void cellLine(std::string& out, int cellNo, const strCell& c, const strCell& last)
{
    out += "2,";
    AppendInt(out, cellNo);
    group(out, c.picture != last.picture, {c.picture});
    group(out, c.pattern != last.pattern, {c.pattern});
    group(out, c.blend != last.blend, {c.blend});
    group(out, c.x != last.x || c.y != last.y, {c.x, c.y});
    group(out, c.scaleX != last.scaleX || c.scaleY != last.scaleY, {c.scaleX, c.scaleY});
    group(out, c.angle != last.angle, {c.angle});
    group(out, c.opacity != last.opacity, {c.opacity});
    group(out, c.blue != last.blue || c.green != last.green || c.red != last.red || c.saturation != last.saturation,
          {c.blue, c.green, c.red, c.saturation});
    endLine(out);
}

// An effect with the stored forms of its sound name and note.
struct strStoredEffect {
    const strEffect* effect;
    std::string seName, note;
};

// An effect inside the frame loop takes the frame it is written in; one past the
// last frame names its frame as a third field of its head line.
void effectLines(std::string& out, const strStoredEffect& stored, bool namesFrame)
{
    const strEffect& e = *stored.effect;
    out += "4,";
    AppendInt(out, ((e.flags & EF_SOUND) ? 1 : 0) + ((e.flags & EF_FLASH) ? 1 : 0) + ((e.flags & EF_NOTE) ? 1 : 0));
    if (namesFrame) {
        out += ',';
        AppendInt(out, e.frame);
    }
    endLine(out);
    if (e.flags & EF_SOUND) {
        out += '6';
        group(out, true, {e.seVolume, e.sePitch, e.seBalance});
        endLine(out);
        textLine(out, stored.seName);
    }
    if (e.flags & EF_FLASH) {
        out += '5';
        group(out, true,
              {e.flashScope, e.flashBlend, e.flashDuration, e.flashBlue, e.flashGreen, e.flashRed, e.flashStrength});
        endLine(out);
    }
    if (e.flags & EF_NOTE) {
        out += '7';
        endLine(out);
        textLine(out, stored.note);
    }
}

} // namespace

int cAnimeFile_Device::WriteText(const cAnimeData& project, std::string& out)
{
    soundIndex_.clear();
    out.clear();
    const int frameCount = project.LastUsedIndex(AI_FRAMES) + 1;
    const int effectCount = project.LastUsedIndex(AI_EFFECTS) + 1;
    const int pictureCount = project.LastUsedIndex(AI_PICTURES) + 1;
    const int cellCount = project.CellCount();

    // Every text value in its stored form; it must fit on one line and within what the reader keeps.
    const cFileText text = cFileText::For(project);
    std::string name, userData;
    bool writable =
        text.Encode(project.Text(AT_NAME), QT_TRANSLATE_NOOP("Strings", "名前"), name, true) &&
        text.Encode(project.Text(AT_USER_DATA), QT_TRANSLATE_NOOP("Strings", "ユーザーデータ"), userData, true);
    std::vector<std::string> pictures(size_t(std::max(pictureCount, 0)));
    for (int i = 0; i < pictureCount && writable; ++i)
        if (const strPicture* p = project.GetPicture(i))
            writable = text.Encode(p->path, QT_TRANSLATE_NOOP("Strings", "画像"), pictures[size_t(i)], true);
    // Effects by frame, in array order, and those past the last frame; sound names in order of first use.
    std::vector<std::vector<strStoredEffect>> effectsAt(size_t(std::max(frameCount, 0)));
    std::vector<strStoredEffect> pastEnd;
    std::vector<std::string> soundNames;
    for (int i = 0; i < effectCount && writable; ++i) {
        const strEffect* e = project.GetEffect(i);
        if (!e)
            continue;
        strStoredEffect stored{e, {}, {}};
        writable = text.Encode(e->seName, QT_TRANSLATE_NOOP("Strings", "効果音"), stored.seName, true) &&
                   text.Encode(e->note, QT_TRANSLATE_NOOP("Strings", "メモ"), stored.note, true);
        if ((e->flags & EF_SOUND) && soundIndex_.emplace(e->seName, int(soundNames.size())).second)
            soundNames.push_back(stored.seName);
        if (e->frame < frameCount)
            effectsAt[e->frame].push_back(std::move(stored));
        else
            pastEnd.push_back(std::move(stored));
    }
    soundIndex_.clear();
    if (!writable)
        return FR_BAD_FORMAT;

    out.reserve(256 + size_t(frameCount) * (8 + size_t(cellCount) * 16));
    if (text.Utf8())
        out += kUtf8Mark;
    out += kTextMagic;
    endLine(out);
    textLine(out, name);
    textLine(out, userData);

    out += '1';
    group(out, true,
          {project.GetValue(AI_DIVISION_FORMAT), project.GetValue(AI_FIX_PICTURE_PER_CELL),
           project.GetValue(AI_EDIT_FORMAT), project.GetValue(AI_BASE_INTERVAL), project.GetValue(AI_TOTAL_INTERVAL),
           project.SumIntervals(), frameCount, cellCount, pictureCount, effectCount});
    // The centre position follows as an eleventh value when it is not the default.
    if (const int position = StoredCenterPosition(project))
        group(out, true, {position});
    endLine(out);
    for (int i = 0; i < pictureCount; ++i)
        if (const strPicture* p = project.GetPicture(i)) {
            out += "2,";
            AppendInt(out, i);
            group(out, true, {p->divX, p->divY, p->hue, 0, 0, 0});
            endLine(out);
            textLine(out, pictures[size_t(i)]);
        }
    for (const std::string& soundName : soundNames) {
        out += '3';
        endLine(out);
        textLine(out, soundName);
    }
    if (project.GetValue(AI_FIX_PICTURE_PER_CELL)) {
        out += '4';
        for (int n = 0; n < cellCount; ++n) {
            out += ',';
            AppendInt(out, project.GetFixPicture(n));
        }
        endLine(out);
    }
    out += '9';
    endLine(out);

    // The last state written per cell number, and whether it is a cell.
    std::vector<strCell> last(size_t(cellCount), strCell::Blank());
    std::vector<char> isCell(size_t(cellCount), 0);
    for (int f = 0; f < frameCount; ++f) {
        const strFrame* frame = project.GetFrame(f);
        for (int n = 0; n < cellCount; ++n) {
            const strCell* cell = frame ? frame->cells.Get(n) : nullptr;
            if (cell) {
                if (!isCell[size_t(n)] || !(*cell == last[size_t(n)])) {
                    cellLine(out, n, *cell, last[size_t(n)]);
                    last[size_t(n)] = *cell;
                    isCell[size_t(n)] = 1;
                }
            } else if (isCell[size_t(n)]) {
                out += "3,";
                AppendInt(out, n);
                endLine(out);
                last[size_t(n)] = strCell::Blank();
                isCell[size_t(n)] = 0;
            }
        }
        for (const strStoredEffect& e : effectsAt[size_t(f)])
            effectLines(out, e, false);
        out += "1,";
        AppendInt(out, frame ? frame->interval : 0);
        endLine(out);
    }
    for (const strStoredEffect& e : pastEnd)
        effectLines(out, e, true);
    out += '9';
    return FR_OK;
}

int cAnimeFile_Device::ReadText(std::string_view data, cAnimeData& project)
{
    const cFileText text(data.substr(0, kUtf8Mark.size()) == kUtf8Mark);
    if (text.Utf8())
        data.remove_prefix(kUtf8Mark.size());
    auto textValue = [&](std::string_view line) { return text.Decode(line); };
    cLineReader lines(data, kMaxLine);
    std::string_view line;
    if (!lines.Next(line))
        return FR_CANNOT_OPEN;
    std::string_view nameLine, userLine;
    if (!lines.Next(nameLine) || !lines.Next(userLine))
        return FR_CANNOT_OPEN;
    const std::string name = textValue(nameLine), userData = textValue(userLine);

    std::vector<std::string_view> fields;
    bool headerEnded = false, sized = false;
    while (!headerEnded && lines.Next(line)) {
        if (line.empty())
            continue;
        SplitFields(line, fields);
        switch (line[0]) {
        case '1':
            project.Reset(FieldOr(fields, 7, 0), FieldOr(fields, 8, 0), FieldOr(fields, 9, 0), FieldOr(fields, 10, 0));
            project.SetValue(AI_SAVE_FORMAT, 1);
            project.SetText(AT_NAME, name);
            project.SetText(AT_USER_DATA, userData);
            // Kept within what the binary file holds, so that a conversion never wraps them.
            project.SetValue(AI_DIVISION_FORMAT, std::clamp(FieldOr(fields, 1, 0), 0, 3));
            project.SetValue(AI_FIX_PICTURE_PER_CELL, FieldOr(fields, 2, 0));
            project.SetValue(AI_EDIT_FORMAT, std::clamp(FieldOr(fields, 3, 0), 0, 15));
            project.SetValue(AI_BASE_INTERVAL, std::clamp(FieldOr(fields, 4, 0), 0, 0xFFFF));
            project.SetValue(AI_TOTAL_INTERVAL, std::max(FieldOr(fields, 5, 0), 0));
            project.SetValue(AI_CENTER_POSITION, ReadCenterPosition(FieldOr(fields, 11, 0)));
            project.InsertFrames(0, 1);
            sized = true;
            break;
        case '2': {
            const int index = FieldOr(fields, 1, -1);
            strPicture p;
            p.divX = uint16_t(FieldOr(fields, 2, 1));
            p.divY = uint16_t(FieldOr(fields, 3, 1));
            p.hue = uint16_t(FieldOr(fields, 4, 0));
            std::string_view path;
            if (!lines.Next(path))
                return FR_CANNOT_OPEN;
            p.path = textValue(path);
            cAnimeData::ValidatePicture(p);
            project.SetPicture(p, index);
            break;
        }
        case '3':
            if (!lines.Next(line))
                return FR_CANNOT_OPEN;
            break;
        case '4':
            for (int n = std::min(project.CellCount() - 1, 256); n >= 0; --n)
                project.SetFixPicture(n, std::abs(FieldOr(fields, size_t(n) + 1, 0)));
            break;
        case '9': headerEnded = true; break;
        default: break;
        }
    }
    // Without a "1" line there is no project to fill.
    if (!sized)
        return FR_CANNOT_OPEN;
    if (!headerEnded)
        return FR_OK;

    int f = 0;
    while (lines.Next(line)) {
        if (line.empty())
            continue;
        SplitFields(line, fields);
        switch (line[0]) {
        case '2': {
            const int cellNo = FieldOr(fields, 1, 0);
            const strCell* present = project.GetCell(f, cellNo);
            strCell cell = present ? *present : strCell::Blank();
            static constexpr eCellParam kOrder[] = {CP_PICTURE, CP_PATTERN, CP_BLEND,     CP_X,       CP_Y,
                                                    CP_SCALE_X, CP_SCALE_Y, CP_ANGLE,     CP_OPACITY, CP_BLUE,
                                                    CP_GREEN,   CP_RED,     CP_SATURATION};
            for (size_t k = 0; k < std::size(kOrder); ++k) {
                const size_t i = k + 2;
                if (i < fields.size() && !fields[i].empty()) {
                    const int v = FieldValue(fields[i]);
                    if (v != kEmptyMark)
                        cell.Set(kOrder[k], v);
                }
            }
            project.SetCell(f, cellNo, &cell);
            break;
        }
        case '3': project.SetCell(f, FieldOr(fields, 1, 0), nullptr); break;
        case '4': {
            const int parts = FieldOr(fields, 1, 0);
            strEffect e;
            e.frame = uint16_t(std::clamp(FieldOr(fields, 2, f), 0, 0xFFFF));
            for (int k = 0; k < parts; ++k) {
                std::string_view part, text;
                if (!lines.Next(part))
                    return FR_CANNOT_OPEN;
                SplitFields(part, fields);
                const char tag = part.empty() ? '\0' : part[0];
                if (tag == '5') {
                    e.flashScope = uint8_t(FieldOr(fields, 1, 0));
                    e.flashBlend = uint8_t(FieldOr(fields, 2, 0));
                    e.flashDuration = uint16_t(FieldOr(fields, 3, 4));
                    e.flashBlue = uint8_t(FieldOr(fields, 4, 0));
                    e.flashGreen = uint8_t(FieldOr(fields, 5, 0));
                    e.flashRed = uint8_t(FieldOr(fields, 6, 0));
                    e.flashStrength = uint8_t(FieldOr(fields, 7, 0));
                    e.flags |= EF_FLASH;
                } else if (tag == '6') {
                    e.seVolume = uint16_t(FieldOr(fields, 1, 100));
                    e.sePitch = uint16_t(FieldOr(fields, 2, 100));
                    e.seBalance = uint16_t(FieldOr(fields, 3, 100));
                    if (!lines.Next(text))
                        return FR_CANNOT_OPEN;
                    e.seName = textValue(text);
                    e.flags |= EF_SOUND;
                } else if (tag == '7') {
                    if (!lines.Next(text))
                        return FR_CANNOT_OPEN;
                    e.note = textValue(text);
                    e.flags |= EF_NOTE;
                }
            }
            project.InsertEffect(e, nullptr);
            break;
        }
        case '1':
            project.SetInterval(f, std::clamp(FieldOr(fields, 1, 0), 0, 0xFFFF));
            ++f;
            project.CopyFrame(f, f - 1);
            break;
        case '9': project.DeleteFrames(f, 1, false); return FR_OK;
        default: break;
        }
    }
    return FR_OK;
}

} // namespace ANIME
