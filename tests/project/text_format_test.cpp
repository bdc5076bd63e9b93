// The text project file: exact lines, the delta encoding of frames, and
// reading of files written by hand.
#include "support/ProjectFixtures.h"

#include "platform/CodePage.h"

namespace {

using namespace ANIME;

std::string Lines(std::initializer_list<const char*> lines)
{
    std::string s;
    for (const char* l : lines)
        s += std::string(l) + "\r\n";
    return s;
}

std::unique_ptr<cAnimeData> Project(int frames, int cells)
{
    auto p = std::make_unique<cAnimeData>();
    p->Reset(frames, cells, 1, 1);
    p->SetValue(AI_SAVE_FORMAT, 1);
    if (frames)
        p->InsertFrames(0, frames);
    return p;
}

TEST(TextFormat, OneCellProjectIsWrittenExactly)
{
    auto p = Project(1, 2);
    p->SetText(AT_NAME, "boom");
    strPicture pic;
    pic.divX = 5;
    pic.divY = 2;
    pic.path = "BattleEffect\\boom.png";
    p->SetPicture(pic, 0);
    strCell c = strCell::New();
    c.x = 10;
    c.red = 150;
    c.green = 100;
    c.blue = 50;
    p->SetCell(0, 0, &c);
    EXPECT_EQ(SaveAs(*p, 1), Lines({"MEVK_TEX0072", "boom", "", "1,0,0,0,1,0,1,1,2,1,0", "2,0,5,2,0,0,0,0",
                                    "BattleEffect\\boom.png", "9", "2,0,,,,10,0,,,,255,50,100,150,100", "1,0"}) +
                                 "9");
}

TEST(TextFormat, FramesAreStoredAsDifferences)
{
    auto p = Project(5, 3);
    strCell a = strCell::New();
    strCell b = strCell::New();
    b.pattern = 4;
    b.angle = 90;
    for (int f = 0; f < 5; ++f)
        p->SetCell(f, 0, &a); // unchanged over five frames: written once
    p->SetCell(0, 2, &b);
    p->SetCell(1, 2, &b);
    b.scaleY = 50;
    p->SetCell(3, 2, &b); // absent in frame 2, back in frame 3
    const std::string text = SaveAs(*p, 1);
    const std::string frames = text.substr(text.find("\r\n9\r\n") + 5);
    EXPECT_EQ(frames, Lines({"2,0,,,,,,,,,255,,,,", "2,2,,4,,,,,,90,255,,,,", "1,0", "1,0", "3,2", "1,0",
                             "2,2,,4,,,,100,50,90,255,,,,", "1,0", "3,2", "1,0"}) +
                          "9");
    const auto back = LoadFrom(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(ContentDump(*back), ContentDump(*p));
    for (int f = 0; f < 5; ++f)
        EXPECT_TRUE(back->GetCell(f, 0)) << f;
}

TEST(TextFormat, EffectsHeaderAndFixedPictures)
{
    auto p = Project(2, 3);
    p->SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p->SetFixPicture(0, 4);
    p->SetFixPicture(2, 7);
    strEffect e;
    e.frame = 1;
    e.flags = EF_SOUND | EF_NOTE;
    e.seVolume = 80;
    e.sePitch = 120;
    e.seBalance = 30;
    e.seName = "Sound\\hit.wav";
    e.note = "メモ";
    p->InsertEffect(e, nullptr);
    e = strEffect();
    e.frame = 5; // past the last frame: written after it, naming its frame
    e.flags = EF_FLASH;
    e.flashDuration = 3;
    p->InsertEffect(e, nullptr);
    e.frame = 0;
    e.flashScope = 2;
    e.flashBlend = 1;
    e.flashRed = 9;
    p->InsertEffect(e, nullptr);
    const std::string memo = platform::Utf8ToAnsi("メモ"); // texts are stored in CP932
    EXPECT_EQ(SaveAs(*p, 1), Lines({"MEVK_TEX0072", "", "", "1,0,1,0,1,0,2,2,3,0,3", "3", "Sound\\hit.wav", "4,4,0,7",
                                    "9", "4,1", "5,2,1,3,128,128,9,255", "1,0", "4,2", "6,80,120,30", "Sound\\hit.wav",
                                    "7", memo.c_str(), "1,0", "4,1,5", "5,0,0,3,128,128,128,255"}) +
                                 "9");
}

// Effects past the last frame, and idle ones (timings from RPG Maker with neither
// flash nor sound), survive both formats.
TEST(TextFormat, EffectsPastTheLastFrameAndIdleEffectsSurvive)
{
    const struct {
        int frames;
        std::vector<int> at;
    } cases[] = {{0, {0, 3}}, {2, {1, 2, 9, 9, 4}}, {3, {0, 65535}}};
    for (const auto& c : cases) {
        auto p = std::make_unique<cAnimeData>();
        p->Reset(c.frames, 2, 1, 8);
        if (c.frames)
            p->InsertFrames(0, c.frames);
        for (size_t i = 0; i < c.at.size(); ++i) {
            strEffect e;
            e.frame = uint16_t(c.at[i]);
            if (i % 2 == 0) {
                e.flags = EF_NOTE;
                e.note = "e" + std::to_string(i);
            }
            p->InsertEffect(e, nullptr);
        }
        const auto fromBinary = LoadFrom(SaveAs(*p, 0));
        ASSERT_TRUE(fromBinary);
        EXPECT_EQ(ContentDump(*fromBinary), ContentDump(*p));
        const std::string text = SaveAs(*p, 1);
        const auto back = LoadFrom(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(ContentDump(*back), ContentDump(*p)) << text;
        EXPECT_EQ(SaveAs(*back, 1), text);
        EXPECT_EQ(SaveAs(*back, 0), SaveAs(*p, 0));
    }
}

TEST(TextFormat, CentrePositionEndsTheHeaderLine)
{
    auto p = Project(1, 1);
    const std::string centre = SaveAs(*p, 1);
    const size_t headerEnd = centre.find("\r\n", centre.find("\r\n1,") + 2);
    for (int position = 1; position <= 5; ++position) {
        p->SetValue(AI_CENTER_POSITION, position);
        const std::string text = SaveAs(*p, 1);
        EXPECT_EQ(text, std::string(centre).insert(headerEnd, "," + std::to_string(position)));
        const auto back = LoadFrom(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetValue(AI_CENTER_POSITION), position);
    }
    const auto unknown = LoadFrom(std::string(centre).insert(headerEnd, ",7"));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->GetValue(AI_CENTER_POSITION), 0);
}

TEST(TextFormat, ReadsHandWrittenFile)
{
    const std::string file = "MEVK_TEX0072\nname\r\nuser\r"
                             "1,1,,2,4,,99,3,2,5,4\n"
                             "2,3,4,,\npics\\p.png\n"
                             "2,,1,1,0\nnowhere.png\n"
                             "x ignored\n"
                             "3\nSound\\ignored.wav\n"
                             "9\n"
                             "2,1,2,3,1,10,20,50,60,45,200,1,2,3,4\n"
                             "2,0,,9999,,,,,,,,,,,\n"
                             "4,3\n5,,2,,1,2,3,\nzzz\n6,,50\nse.wav\n"
                             "1,6\n"
                             "2,1,,,,11,,,,,,,,,\n"
                             "4,1\n7\nnote line\n"
                             "1,\n"
                             "3,1\n"
                             "1,2\n"
                             "9";
    const auto p = LoadFrom(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Text(AT_NAME), "name");
    EXPECT_EQ(p->Text(AT_USER_DATA), "user");
    EXPECT_EQ(p->GetValue(AI_SAVE_FORMAT), 1);
    EXPECT_EQ(p->GetValue(AI_DIVISION_FORMAT), 1);
    EXPECT_EQ(p->GetValue(AI_EDIT_FORMAT), 2);
    EXPECT_EQ(p->GetValue(AI_BASE_INTERVAL), 4);
    EXPECT_EQ(p->GetValue(AI_TOTAL_INTERVAL), 0);
    EXPECT_EQ(p->CellCount(), 2);
    ASSERT_TRUE(p->GetPicture(3));
    EXPECT_EQ(*p->GetPicture(3), (strPicture{4, 1, 0, "pics\\p.png"}));
    EXPECT_EQ(p->Pictures().Count(), 1);

    strCell c = strCell::Blank();
    c.picture = 2;
    c.pattern = 3;
    c.blend = 1;
    c.x = 10;
    c.y = 20;
    c.scaleX = 60;
    c.scaleY = 60;
    c.angle = 45;
    c.opacity = 200;
    c.blue = 1;
    c.green = 2;
    c.red = 3;
    c.saturation = 4; // edit format 2: scaleX follows scaleY
    ASSERT_TRUE(p->GetCell(0, 1));
    EXPECT_EQ(*p->GetCell(0, 1), c);
    ASSERT_TRUE(p->GetCell(0, 0));
    EXPECT_EQ(p->GetCell(0, 0)->pattern, 1); // 9999 counts as empty
    EXPECT_EQ(p->GetFrame(0)->interval, 6);
    c.x = 11;
    ASSERT_TRUE(p->GetCell(1, 1));
    EXPECT_EQ(*p->GetCell(1, 1), c);
    EXPECT_EQ(p->GetFrame(1)->interval, 0);
    EXPECT_FALSE(p->GetCell(2, 1));
    EXPECT_TRUE(p->GetCell(2, 0));
    EXPECT_EQ(p->GetFrame(2)->interval, 2);
    EXPECT_FALSE(p->GetFrame(3)); // the copy after the last frame is removed

    ASSERT_EQ(p->Effects().Count(), 2);
    const strEffect& a = *p->GetEffect(0);
    EXPECT_EQ(a.frame, 0);
    EXPECT_EQ(a.flags, EF_FLASH | EF_SOUND);
    EXPECT_EQ(a.flashScope, 0);
    EXPECT_EQ(a.flashBlend, 2);
    EXPECT_EQ(a.flashDuration, 4);
    EXPECT_EQ(a.flashBlue, 1);
    EXPECT_EQ(a.flashGreen, 2);
    EXPECT_EQ(a.flashRed, 3);
    EXPECT_EQ(a.flashStrength, 0);
    EXPECT_EQ(a.seVolume, 100);
    EXPECT_EQ(a.sePitch, 50);
    EXPECT_EQ(a.seBalance, 100);
    EXPECT_EQ(a.seName, "se.wav");
    EXPECT_EQ(p->GetEffect(1)->frame, 1);
    EXPECT_EQ(p->GetEffect(1)->note, "note line");
}

TEST(TextFormat, MissingFollowingLinesFail)
{
    const std::string head = "MEVK_TEX0072\r\n\r\n\r\n1,0,0,0,1,0,0,1,1,1,1\r\n";
    for (const char* tail : {"2,0,1,1,0", "3", "9\r\n4,1\r\n6,1,1,1", "9\r\n4,2\r\n7\r\nnote"}) {
        int result = 0;
        EXPECT_FALSE(LoadFrom(head + tail, &result)) << tail;
        EXPECT_EQ(result, FR_CANNOT_OPEN);
    }
    int result = 0;
    EXPECT_FALSE(LoadFrom("MEVK_TEX0072\r\nname only", &result));
    EXPECT_FALSE(LoadFrom("MEVK_TEX0072\r\n\r\n\r\n9\r\n1,0\r\n9", &result)); // no header line
    EXPECT_TRUE(LoadFrom(head + "2,0,1,1,0\r\np.png"));                       // no "9": header only
}

TEST(TextFormat, MoreThan255CellsAreReadAs255)
{
    std::string fix = "4";
    for (int n = 0; n < 300; ++n)
        fix += "," + std::to_string(n % 7);
    const auto p = LoadFrom("MEVK_TEX0072\r\n\r\n\r\n1,0,1,0,1,0,0,1,300,0,0\r\n" + fix +
                            "\r\n9\r\n2,254,,3\r\n2,255,,3\r\n1,0\r\n9");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->CellCount(), 255);
    EXPECT_EQ(p->GetFixPicture(254), 254 % 7);
    EXPECT_TRUE(p->GetCell(0, 254));
    EXPECT_EQ(p->GetCells(0)->Count(), 1);
}

TEST(TextFormat, LongLinesAreCutAndValuesKeep255Bytes)
{
    const std::string longName(2000, 'n');
    const auto p = LoadFrom("MEVK_TEX0072\r\n" + longName + "\r\n\r\n1,0,0,0,1,0,0,1,1,0,0\r\n9\r\n1,3\r\n9");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Text(AT_NAME), std::string(255, 'n'));
    EXPECT_EQ(p->GetFrame(0)->interval, 3);
}

TEST(TextFormat, RefusesTextsItCannotHold)
{
    auto p = Project(1, 1);
    ANIME::cAnimeFile_Device device;
    std::string out;
    for (const std::string& bad : {std::string("two\r\nlines"), std::string("cr\r"), std::string(256, 'a')}) {
        p->SetText(AT_NAME, bad);
        EXPECT_EQ(device.WriteText(*p, out), FR_BAD_FORMAT);
    }
    p->SetText(AT_NAME, std::string(255, 'a'));
    EXPECT_EQ(device.WriteText(*p, out), FR_OK);
}

TEST(TextFormat, Pattern9999IsNotReproduced)
{
    auto p = Project(1, 1);
    strCell c = strCell::New();
    c.pattern = 9999;
    p->SetCell(0, 0, &c);
    const auto back = LoadFrom(SaveAs(*p, 1));
    ASSERT_TRUE(back && back->GetCell(0, 0));
    EXPECT_EQ(back->GetCell(0, 0)->pattern, 1);
}

TEST(TextFormat, DamagedFilesNeverCrash)
{
    const std::string good = ReadBytes(ExampleData() / "sample.txt");
    ASSERT_GT(good.size(), 100u);
    for (size_t n = 0; n <= good.size(); ++n) {
        int result = 0;
        LoadFrom(good.substr(0, n), &result);
        EXPECT_TRUE(result == FR_OK || result == FR_CANNOT_OPEN || result == FR_BAD_FORMAT);
    }
    std::mt19937 rng(5);
    const char alphabet[] = "0123456789,-\r\n9999abc\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string bad = good;
        for (int k = 0, changes = 1 + int(rng() % 8); k < changes; ++k)
            bad[12 + rng() % (bad.size() - 12)] = alphabet[rng() % (sizeof alphabet - 1)];
        int result = 0;
        LoadFrom(bad, &result);
        EXPECT_TRUE(result == FR_OK || result == FR_CANNOT_OPEN);
    }
}

} // namespace
