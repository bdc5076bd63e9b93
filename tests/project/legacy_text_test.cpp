// Import of the legacy comma-separated animation text.
#include "support/ProjectFixtures.h"

namespace {

using namespace ANIME;

const char* const kLegacy = "nani,Old Burst\n"
                            "60,3,1,40\n"
                            "70,1,5,,Graphics\\burst.png\n"
                            "70,,2,2,lost.png\n"
                            "80,1991x1\n"
                            "90,whatever\n"
                            "2,0,4,10,-20,1,128,90,150,9999,0x\n"
                            "2,1,2,,,,,,,,16711935\n"
                            "2,40,3\n"
                            "5,1,6,200,100,50,0\n"
                            "6,80,,Sound\\boom.wav\n"
                            "7\n"
                            "note,remember this\n"
                            "1,5\n"
                            "2,0,0\n"
                            "5,4,3,,200,0,100\n"
                            "5,0\n"
                            "1,\n";

TEST(LegacyText, ImportsRecords)
{
    int result = 0;
    const auto p = LoadFrom(kLegacy, &result);
    ASSERT_TRUE(p) << result;
    EXPECT_EQ(p->Text(AT_NAME), "Old Burst");
    EXPECT_EQ(p->GetValue(AI_SAVE_FORMAT), 1);
    EXPECT_EQ(p->GetValue(AI_FIX_PICTURE_PER_CELL), 1);
    EXPECT_EQ(p->GetValue(AI_DIVISION_FORMAT), 0);
    EXPECT_EQ(p->GetValue(AI_BASE_INTERVAL), 3);
    EXPECT_EQ(p->GetValue(AI_EDIT_FORMAT), 4);
    EXPECT_EQ(p->GetValue(AI_TOTAL_INTERVAL), 40);
    EXPECT_EQ(p->CellCount(), 16);
    ASSERT_TRUE(p->GetPicture(1));
    EXPECT_EQ(*p->GetPicture(1), (strPicture{5, 1, 0, "Graphics\\burst.png"}));
    EXPECT_EQ(p->Pictures().Count(), 1);
    // "9" alternates 0/1 by cell number, "1" is 1, any other character ends the digits.
    std::vector<uint8_t> fix(16, 0);
    fix[0] = fix[1] = fix[3] = 1;
    EXPECT_EQ(p->FixPictures(), fix);

    // Cell 0: a new cell (opacity 255 before the record) with the record's fields.
    ASSERT_TRUE(p->GetCell(0, 0));
    const strCell& c0 = *p->GetCell(0, 0);
    EXPECT_EQ(c0.picture, 1);
    EXPECT_EQ(c0.pattern, 4);
    EXPECT_EQ(c0.x, 10);
    EXPECT_EQ(c0.y, -20);
    EXPECT_EQ(c0.blend, 1);
    EXPECT_EQ(c0.opacity, 128);
    EXPECT_EQ(c0.angle, 0); // edit format 4 keeps no angle
    EXPECT_EQ(c0.scaleX, 150);
    EXPECT_EQ(c0.scaleY, 100); // 9999 counts as empty
    EXPECT_EQ(c0.red, 0);      // "0x" reads as 0
    ASSERT_TRUE(p->GetCell(0, 1));
    const strCell& c1 = *p->GetCell(0, 1);
    EXPECT_EQ(c1.picture, 1); // the fixed picture of cell number 1
    EXPECT_EQ(c1.opacity, 255);
    EXPECT_EQ(c1.red, 200); // 0xFF00FF, limited by validation
    EXPECT_EQ(c1.green, 0);
    EXPECT_EQ(c1.blue, 200);
    EXPECT_EQ(p->GetCells(0)->Count(), 2); // cell number 40 is out of range
    EXPECT_EQ(p->GetFrame(0)->interval, 5);

    // Frame 1 starts as a copy; its cell 0 is removed.
    EXPECT_FALSE(p->GetCell(1, 0));
    EXPECT_TRUE(p->GetCell(1, 1));
    EXPECT_EQ(p->GetFrame(1)->interval, 0);
    EXPECT_TRUE(p->GetFrame(2)); // the copy after the last frame stays

    ASSERT_EQ(p->Effects().Count(), 3);
    const strEffect& a = *p->GetEffect(0);
    EXPECT_EQ(a.frame, 0);
    EXPECT_EQ(a.flags, EF_FLASH | EF_SOUND | EF_NOTE);
    EXPECT_EQ(a.flashBlend, 1);
    EXPECT_EQ(a.flashScope, 0);
    EXPECT_EQ(a.flashDuration, 6);
    EXPECT_EQ(a.flashStrength, 200);
    EXPECT_EQ(a.flashRed, 255);   // (100*255 + 25500 + 0.5) / 200 = 255.0
    EXPECT_EQ(a.flashGreen, 191); // (50*255 + 25500 + 0.5) / 200 = 191.3
    EXPECT_EQ(a.flashBlue, 127);  // (0 + 25500 + 0.5) / 200 = 127.5
    EXPECT_EQ(a.seVolume, 80);
    EXPECT_EQ(a.sePitch, 100);
    EXPECT_EQ(a.seName, "Sound\\boom.wav");
    EXPECT_EQ(a.note, "remember this");
    // A second flash in one frame sends the first off.
    const strEffect& b = *p->GetEffect(1);
    EXPECT_EQ(b.frame, 1);
    EXPECT_EQ(b.flags, EF_FLASH);
    EXPECT_EQ(b.flashScope, 1);
    EXPECT_EQ(b.flashBlend, 1);
    EXPECT_EQ(b.flashStrength, 0);
    EXPECT_EQ(b.flashDuration, 3);
    EXPECT_EQ(b.flashRed, 255); // 200*255/200, limited
    EXPECT_EQ(b.flashGreen, 0);
    EXPECT_EQ(b.flashBlue, 127); // (100*255 + 0.5) / 200 = 127.5
    const strEffect& c = *p->GetEffect(2);
    EXPECT_EQ(c.flashBlend, 0);
    EXPECT_EQ(c.flashDuration, 2);
    EXPECT_EQ(c.flashStrength, 255);
    EXPECT_EQ(c.flashRed, 255);
}

TEST(LegacyText, DamagedFilesNeverCrash)
{
    const std::string good = kLegacy;
    for (size_t n = 0; n <= good.size(); ++n)
        LoadFrom(good.substr(0, n));
    std::mt19937 rng(17);
    const char alphabet[] = "0123456789,-\n\r7x";
    for (int round = 0; round < 2000; ++round) {
        std::string bad = good;
        for (int k = 0, changes = 1 + int(rng() % 8); k < changes; ++k)
            bad[4 + rng() % (bad.size() - 4)] = alphabet[rng() % (sizeof alphabet - 1)];
        LoadFrom(bad);
    }
}

} // namespace
