// Import of the legacy comma-separated animation text (starts with "nani").
// Each line is a record: a numeric code and up to 15 fields.
#include "project/AnimeFile.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Strings.h"
#include "project/FileText.h"
#include "project/LineReader.h"

#include <algorithm>
#include <cmath>

namespace ANIME {

namespace {

constexpr size_t kMaxLine = 511;
constexpr size_t kMaxFields = 16;
constexpr int kEmptyMark = 9999;

bool given(const std::vector<std::string_view>& fields, size_t i)
{
    return i < fields.size() && !fields[i].empty() && FieldValue(fields[i]) != kEmptyMark;
}

// A text in the ANSI code page; longer texts than the project files hold are cut at a
// character boundary, and the cut is reported.
std::string textField(const std::vector<std::string_view>& fields, size_t i)
{
    if (i >= fields.size())
        return {};
    if (fields[i].size() > cFileText::kMaxBytes)
        platform::NoteTextProblem(platform::FormatText(
            QT_TRANSLATE_NOOP("Strings", "長すぎるテキストを %zu バイトに切りました"), size_t(cFileText::kMaxBytes)));
    return cFileText(false).Decode(fields[i]);
}

uint8_t flashComponent(double v, double offset)
{
    return uint8_t(std::clamp((v * 255.0 + offset + 0.5) / 200.0, 0.0, 255.0));
}

// The effect being assembled from code 5, 6 and note records.
class cPendingEffect {
public:
    explicit cPendingEffect(cAnimeData& project) : project_(project) {}

    /** Starts a part: a part already present first sends the pending effect off. */
    strEffect& Begin(uint8_t part, int frame)
    {
        if (e_.flags & part)
            Flush();
        e_.flags |= part;
        e_.frame = uint16_t(frame);
        return e_;
    }
    /** Sends the effect off once it has all three parts. */
    void CompleteIfFull()
    {
        if ((e_.flags & (EF_FLASH | EF_SOUND | EF_NOTE)) == (EF_FLASH | EF_SOUND | EF_NOTE))
            Flush();
    }
    void Flush()
    {
        if (e_.flags)
            project_.InsertEffect(e_, nullptr);
        e_ = strEffect();
    }

private:
    cAnimeData& project_;
    strEffect e_;
};

void readFixPictures(cAnimeData& project, std::string_view digits)
{
    const int cells = project.CellCount();
    bool open = true;
    for (int n = 0; n < cells; ++n) {
        int value = 0;
        if (open && size_t(n) < digits.size()) {
            switch (digits[size_t(n)]) {
            case '0': value = 0; break;
            case '1': value = 1; break;
            case '9': value = n % 2; break;
            default: open = false; break;
            }
        }
        project.SetFixPicture(n, value);
    }
}

} // namespace

int cAnimeFile_Device::ReadLegacyText(std::string_view data, cAnimeData& project)
{
    project.Reset(300, 16, 2, 300);
    project.InsertFrames(0, 1);
    project.SetValue(AI_SAVE_FORMAT, 1);
    project.SetValue(AI_FIX_PICTURE_PER_CELL, 1);

    enum { NO_TEXT, NAME_TEXT, NOTE_TEXT } textState = NAME_TEXT;
    cPendingEffect pending(project);
    int f = 0;
    bool copied = true;
    cLineReader lines(data, kMaxLine);
    std::string_view line;
    std::vector<std::string_view> fields;
    while (lines.Next(line)) {
        SplitFields(line, fields, kMaxFields);
        switch (FieldValue(fields[0])) {
        case 60:
            project.SetValue(AI_DIVISION_FORMAT, 0);
            // Intervals within what the project files hold (a frame's is 16 bits).
            project.SetValue(AI_BASE_INTERVAL, std::clamp(FieldOr(fields, 1, 0), 0, 0xFFFF));
            project.SetValue(AI_EDIT_FORMAT, FieldOr(fields, 2, 0) == 1 ? 4 : 3);
            project.SetValue(AI_TOTAL_INTERVAL, std::max(FieldOr(fields, 3, 0), 0));
            break;
        case 70: {
            strPicture p;
            p.divX = uint16_t(FieldOr(fields, 2, 1));
            p.divY = uint16_t(FieldOr(fields, 3, 1));
            p.path = textField(fields, 4);
            cAnimeData::ValidatePicture(p);
            project.SetPicture(p, FieldOr(fields, 1, -1));
            break;
        }
        case 80: readFixPictures(project, fields.size() > 1 ? fields[1] : std::string_view()); break;
        case 90:
        case 4: break;
        case 7: textState = NOTE_TEXT; break;
        case 1:
            pending.Flush();
            project.SetInterval(f, std::clamp(FieldOr(fields, 1, 0), 0, 0xFFFF));
            ++f;
            copied = copied && project.CopyFrame(f, f - 1);
            break;
        case 2: {
            const int n = FieldOr(fields, 1, -1);
            if (n < 0 || n >= project.CellCount())
                break;
            if (fields.size() > 2 && !fields[2].empty() && FieldValue(fields[2]) == 0) {
                project.SetCell(f, n, nullptr);
                break;
            }
            const strCell* present = project.GetCell(f, n);
            strCell cell = present ? *present : strCell::New();
            if (!present)
                cell.picture = uint8_t(project.GetFixPicture(n));
            static constexpr eCellParam kOrder[] = {CP_PATTERN, CP_X,     CP_Y,       CP_BLEND,
                                                    CP_OPACITY, CP_ANGLE, CP_SCALE_X, CP_SCALE_Y};
            for (size_t k = 0; k < std::size(kOrder); ++k)
                if (given(fields, k + 2))
                    cell.Set(kOrder[k], FieldValue(fields[k + 2]));
            if (given(fields, 10)) {
                const unsigned rgb = unsigned(FieldValue(fields[10]));
                cell.red = uint8_t(rgb >> 16);
                cell.green = uint8_t(rgb >> 8);
                cell.blue = uint8_t(rgb);
            }
            project.SetCell(f, n, &cell);
            break;
        }
        case 5: {
            strEffect& e = pending.Begin(EF_FLASH, f);
            e.flashBlend = uint8_t(FieldOr(fields, 1, 0));
            e.flashScope = 0;
            e.flashDuration = uint16_t(FieldOr(fields, 2, 2));
            const double red = FieldOr(fields, 4, 255), green = FieldOr(fields, 5, 255), blue = FieldOr(fields, 6, 255);
            if (e.flashBlend < 4) {
                e.flashStrength = uint8_t(FieldOr(fields, 3, 255));
                e.flashRed = flashComponent(red, 25500);
                e.flashGreen = flashComponent(green, 25500);
                e.flashBlue = flashComponent(blue, 25500);
            } else {
                e.flashScope = 1;
                e.flashBlend = 1;
                e.flashStrength = 0;
                e.flashRed = flashComponent(red, 0);
                e.flashGreen = flashComponent(green, 0);
                e.flashBlue = flashComponent(blue, 0);
            }
            pending.CompleteIfFull();
            break;
        }
        case 6: {
            strEffect& e = pending.Begin(EF_SOUND, f);
            e.seVolume = uint16_t(FieldOr(fields, 1, 100));
            e.sePitch = uint16_t(FieldOr(fields, 2, 100));
            e.seName = textField(fields, 3);
            pending.CompleteIfFull();
            break;
        }
        default:
            if (textState == NAME_TEXT) {
                project.SetText(AT_NAME, textField(fields, 1));
            } else if (textState == NOTE_TEXT) {
                pending.Begin(EF_NOTE, f).note = textField(fields, 1);
                pending.CompleteIfFull();
            }
            textState = NO_TEXT;
            break;
        }
    }
    // The frame made by the last code-1 record stays, as the format's own tools expect.
    return copied ? FR_OK : FR_CANNOT_OPEN;
}

} // namespace ANIME
