// One table of names, from plain ASCII to emoji and texts at every byte limit,
// through every reader and writer: both project formats, the legacy text, the
// six clipboard formats and the effect dialog's apply. A name is kept exactly
// wherever a format can hold it; where it cannot, the user is told and nothing
// is written.

#include "InterchangeFixtures.h"
#include "interchange/ClipboardTransfer.h"
#include "interchange/JsonAnimation.h"
#include "interchange/Rm2000Animation.h"
#include "interchange/RubyAnimation.h"
#include "platform/Clipboard.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"
#include "view/DialogEffect.h"

#include <gtest/gtest.h>

namespace {

std::string repeat(const char* s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

struct strName {
    const char* label;
    std::string text;
    bool cp932; // CP932 holds every character
};

const std::vector<strName>& names()
{
    static const std::vector<strName> table = {
        {"ascii", "Fire", true},
        {"japanese", "炎の剣①～", true},
        {"portuguese", "Lança", false},
        {"french", "Épée_1", false},
        {"korean", "한국어", false},
        {"greek", "Ελληνικά", false}, // CP932 has Greek letters but no final sigma
        {"ukrainian", "Українська", false},
        {"emoji", "💥boom", false},
        {"dots", "Fire.v2", true},
        {"trailing dot", "huh.", true},
        {"folder", "effects/Slash2", true},
        {"255 bytes in CP932", repeat("あ", 127) + "a", true},
        {"255 bytes in UTF-8", repeat("é", 127) + "a", false},
        {"127 bytes in CP932", repeat("雷", 63) + "x", true},
    };
    return table;
}

class UnicodeNames : public ::testing::TestWithParam<strName> {
protected:
    void SetUp() override
    {
        platform::SetLocale("jpn");
        platform::TakeTextProblems();
    }
    std::string ClipboardData(const std::string& format)
    {
        std::vector<uint8_t> bytes;
        clipboard.Open();
        clipboard.GetData(format, bytes);
        clipboard.Close();
        return std::string(bytes.begin(), bytes.end());
    }
    platform::MemoryClipboard clipboard;
    const std::string& Name() const { return GetParam().text; }
    // The model path of a picture or sound with this name, as a user picks it.
    std::string PicturePath() const { return "BattleEffect\\" + FolderForm(Name()) + ".png"; }
    std::string SoundPath() const { return "Sound\\" + FolderForm(Name()) + ".wav"; }
    static std::string FolderForm(std::string s)
    {
        std::replace(s.begin(), s.end(), '/', '\\');
        return s;
    }
};

std::string bytesOf(const Cclip_stream& s) { return std::string(s.Bytes().begin(), s.Bytes().end()); }

TEST_P(UnicodeNames, ProjectFilesKeepEveryText)
{
    cAnimeData p;
    MakeProject(p, 2);
    p.SetText(AT_NAME, Name());
    p.SetText(AT_USER_DATA, Name());
    PutPicture(p, 0, Name());
    strEffect e = FlashEffect(1, 1, 4, 1, 2, 3, 4);
    e.flags |= EF_SOUND | EF_NOTE;
    e.seName = Name();
    e.note = Name();
    AddEffect(p, e);
    for (int format : {0, 1}) {
        SCOPED_TRACE(format);
        ANIME::cAnimeFile_Device device;
        std::string bytes;
        ASSERT_EQ(device.SaveBytes(p, format, bytes), ANIME::FR_OK);
        // Only a file that needs it carries the UTF-8 mark.
        const bool marked = format == 0 ? bytes[12] == 1 : bytes.rfind("\xEF\xBB\xBF", 0) == 0;
        EXPECT_EQ(marked, !GetParam().cp932);
        cAnimeData back;
        ASSERT_EQ(device.LoadBytes(bytes, back), ANIME::FR_OK);
        EXPECT_EQ(back.Text(AT_NAME), Name());
        EXPECT_EQ(back.Text(AT_USER_DATA), Name());
        EXPECT_EQ(back.GetPicture(0)->path, Name());
        // Effect texts hold 254 bytes; longer ones lose whole characters only.
        EXPECT_EQ(back.GetEffect(0)->seName, platform::CutStored(Name(), 254));
        EXPECT_EQ(back.GetEffect(0)->note, platform::CutStored(Name(), 254));
        std::string again;
        ASSERT_EQ(device.SaveBytes(back, format, again), ANIME::FR_OK);
        EXPECT_EQ(again, bytes);
    }
}

TEST_P(UnicodeNames, LegacyTextReadsTheCodePage)
{
    std::string stored;
    if (!platform::EncodeText(Name(), "CP932", stored))
        GTEST_SKIP() << "the legacy text is in the code page";
    const std::string file = "nani," + stored + "\r\n70,0,1,1," + stored + "\r\n6,80,100," + stored + "\r\n1,0\r\n";
    cAnimeData p;
    ASSERT_EQ(ANIME::cAnimeFile_Device().LoadBytes(file, p), ANIME::FR_OK);
    EXPECT_EQ(p.Text(AT_NAME), Name());
    EXPECT_EQ(p.GetPicture(0)->path, Name());
    EXPECT_EQ(p.GetEffect(0)->seName, Name());
}

TEST_P(UnicodeNames, RubyAndJsonCarryNamesUnchanged)
{
    cAnimeData p;
    MakeProject(p, 2);
    p.SetText(AT_NAME, Name());
    PutPicture(p, 0, PicturePath());
    strEffect e;
    e.flags = EF_SOUND;
    e.seName = SoundPath();
    AddEffect(p, e);
    for (int version : {RPG_XP, RPG_VX, RPG_VXACE, RPG_MV, RPG_MZ}) {
        SCOPED_TRACE(version);
        ASSERT_EQ(ExportToClipboard(clipboard, p, version, strFolderNames{}), 1);
        cAnimeData back;
        ASSERT_EQ(ImportFromClipboard(clipboard, back, version, strFolderNames{}), 1);
        EXPECT_EQ(back.Text(AT_NAME), Name());
        // The name RPG Maker gets has its dots and folder parts; the import puts the folder back,
        // cutting (and reporting) what would then be longer than the project holds.
        EXPECT_EQ(back.GetPicture(0)->path, platform::CutStored("BattleEffect\\" + FolderForm(Name()), 255));
        EXPECT_EQ(back.GetEffect(0)->seName, platform::CutStored("Sound\\" + FolderForm(Name()), 254));
    }
    EXPECT_EQ(platform::TakeTextProblems().empty(), platform::StoredSize("BattleEffect\\" + FolderForm(Name())) <= 255);
}

TEST_P(UnicodeNames, Rm2000HoldsWhatItsCodePageHoldsAndRefusesTheRest)
{
    cAnimeData p;
    MakeProject(p, 2);
    p.SetText(AT_NAME, Name());
    PutPicture(p, 0, PicturePath());
    std::string stored;
    const bool fits = platform::EncodeText(Name(), "CP932", stored) && stored.size() <= 127;
    clipboard.Open();
    clipboard.SetData(platform::kFormat2000, {'o', 'l', 'd'});
    clipboard.Close();
    struct cStatus : iStatusSink {
        std::string text;
        void ShowStatus(const std::string& t) override { text = t; }
    } status;
    EXPECT_EQ(ClipboardExportCommand(clipboard, p, RPG_2000, strFolderNames{}, status), fits ? 1 : -1);
    if (!fits) {
        // Told which field and why; the clipboard keeps what it had.
        EXPECT_NE(status.text.find("名前"), std::string::npos) << status.text;
        const bool length = platform::EncodeText(Name(), "CP932", stored);
        EXPECT_NE(status.text.find(length ? "バイト" : "U+"), std::string::npos) << status.text;
        EXPECT_EQ(ClipboardData(platform::kFormat2000), "old");
        return;
    }
    cAnimeData back;
    ASSERT_EQ(ImportFromClipboard(clipboard, back, RPG_2000, strFolderNames{}), 1);
    EXPECT_EQ(back.Text(AT_NAME), Name());
    EXPECT_EQ(back.GetPicture(0)->path, "BattleEffect\\" + FolderForm(Name()));
}

TEST_P(UnicodeNames, EffectDialogKeepsWholeCharactersWithinTheLimit)
{
    strEffectForm f;
    f.sound = f.note = true;
    f.seName = f.noteText = Name() + Name(); // twice: over the limit for the long ones
    strEffect e;
    f.ApplyTo(e);
    EXPECT_LE(platform::StoredSize(e.note), 255u);
    EXPECT_TRUE(platform::IsUtf8(e.note));
    EXPECT_EQ(e.note, e.seName);
    EXPECT_EQ(f.noteText.compare(0, e.note.size(), e.note), 0); // a prefix, nothing erased
    if (platform::StoredSize(f.noteText) <= 255) {
        EXPECT_EQ(e.note, f.noteText);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UnicodeNames, ::testing::ValuesIn(names()),
                         [](const ::testing::TestParamInfo<strName>& info) {
                             std::string s;
                             for (const char* c = info.param.label; *c; ++c)
                                 s += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return s;
                         });

TEST(ImportedTexts, LongerThanTheFilesHoldAreCutAtACharacterAndReported)
{
    platform::TakeTextProblems();
    cAnimeData p;
    MakeProject(p);
    p.SetText(AT_NAME, repeat("é", 200)); // 400 bytes: only an import can bring this in
    PutPicture(p, 0, "x");
    Cclip_stream json;
    json.Append(WriteJsonAnimation(p, strFolderNames{}));
    cAnimeData back;
    ASSERT_EQ(ReadJsonAnimation(back, json), 1);
    EXPECT_EQ(back.Text(AT_NAME), repeat("é", 127)); // whole characters within 255 bytes
    EXPECT_NE(platform::TakeTextProblems(), "");
    Cclip_stream ruby;
    ASSERT_TRUE(WriteRubyAnimation(p, RUBY_VXACE, strFolderNames{}, ruby));
    ASSERT_EQ(ReadRubyAnimation(back, ruby), 1);
    EXPECT_EQ(back.Text(AT_NAME), repeat("é", 127));
    EXPECT_NE(platform::TakeTextProblems(), "");
}

TEST(ShortPayloads, BlocksShorterThanTheirSizeAreRefused)
{
    cAnimeData p;
    MakeProject(p, 4);
    PutPicture(p, 0, "x");
    for (int f = 0; f < 4; ++f)
        PutCell(p, f, f, {0, 1, 0, f, f, 100, 100, 0, 255});
    Cclip_stream rm, ruby;
    ASSERT_TRUE(WriteRm2000Animation(p, strFolderNames{}, rm));
    ASSERT_TRUE(WriteRubyAnimation(p, RUBY_VXACE, strFolderNames{}, ruby));
    for (size_t keep : {size_t(9), rm.Size() / 2, rm.Size() - 1}) {
        Cclip_stream cut;
        cut.Assign(bytesOf(rm).substr(0, keep));
        cAnimeData back;
        EXPECT_EQ(ReadRm2000Animation(back, cut), -1) << keep;
    }
    for (size_t keep : {size_t(7), ruby.Size() / 2, ruby.Size() - 1}) {
        Cclip_stream cut;
        cut.Assign(bytesOf(ruby).substr(0, keep));
        cAnimeData back;
        EXPECT_EQ(ReadRubyAnimation(back, cut), -1) << keep;
    }
}

} // namespace
