// The binary project file: layout checked against bytes built here by hand,
// refusal of what it cannot hold, and bounded reading of damaged files.
#include "support/ProjectFixtures.h"

#include <cstring>

namespace {

using namespace ANIME;

// An independent little writer for the binary layout.
struct BinWriter {
    std::string b;
    BinWriter& U8(unsigned v)
    {
        b += char(uint8_t(v));
        return *this;
    }
    BinWriter& U16(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
    BinWriter& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    BinWriter& Str(const std::string& s)
    {
        U8(unsigned(s.size()));
        b += s;
        return *this;
    }
    BinWriter& Zeros(size_t n)
    {
        b.append(n, '\0');
        return *this;
    }
    BinWriter& Header(unsigned bits, unsigned base, uint32_t total, uint32_t sum, unsigned effects, unsigned frames,
                      unsigned pictures, unsigned sounds, unsigned cells)
    {
        b += "MEVK_BIN0072";
        return Zeros(16).U8(bits).U16(base).U32(total).U32(sum).U16(effects).U16(frames).U8(pictures).U8(sounds).U8(
            cells);
    }
    BinWriter& CellRecord(unsigned n, const strCell& c)
    {
        return U8(n)
            .U8(c.picture)
            .U8(0)
            .U16(c.pattern)
            .U8(c.blend)
            .U8(0)
            .U16(uint16_t(c.x))
            .U16(uint16_t(c.y))
            .U16(uint16_t(c.scaleX))
            .U16(uint16_t(c.scaleY))
            .U16(uint16_t(c.angle))
            .U8(c.opacity)
            .U8(c.red)
            .U8(c.green)
            .U8(c.blue)
            .U8(c.saturation)
            .U8(0);
    }
};

strCell SampleCell()
{
    strCell c = strCell::New();
    c.picture = 1;
    c.pattern = 7;
    c.blend = 2;
    c.x = -12;
    c.y = 300;
    c.scaleX = -150;
    c.scaleY = 80;
    c.angle = -900;
    c.opacity = 200;
    c.red = 150;
    c.green = 100;
    c.blue = 50;
    c.saturation = 10;
    return c;
}

// A small project: 2 frames (the second empty-intervalled), 3 effects sharing sounds.
std::unique_ptr<cAnimeData> SmallProject()
{
    auto p = std::make_unique<cAnimeData>();
    p->Reset(2, 4, 2, 4);
    p->SetValue(AI_DIVISION_FORMAT, 1);
    p->SetValue(AI_EDIT_FORMAT, 0);
    p->SetValue(AI_BASE_INTERVAL, 3);
    p->SetValue(AI_TOTAL_INTERVAL, 9);
    p->SetText(AT_NAME, "n");
    p->InsertFrames(0, 2);
    p->SetInterval(0, 5);
    const strCell c = SampleCell();
    p->SetCell(0, 2, &c);
    strPicture pic;
    pic.divX = 5;
    pic.divY = 2;
    pic.hue = 30;
    pic.path = "a.png";
    p->SetPicture(pic, 1);
    strEffect e;
    e.flags = EF_SOUND;
    e.seName = "x.wav";
    p->InsertEffect(e, nullptr);
    e.frame = 1;
    p->InsertEffect(e, nullptr);
    e.seName = "y.wav";
    e.flags = EF_SOUND | EF_FLASH | EF_NOTE;
    e.flashDuration = 6;
    e.flashBlue = 1;
    e.flashGreen = 2;
    e.flashRed = 3;
    e.note = "hi";
    p->InsertEffect(e, nullptr);
    return p;
}

TEST(BinaryFormat, WritesTheExactLayout)
{
    const auto p = SmallProject();
    BinWriter w;
    w.Header(1, 3, 9, 5 + 3, 3, 2, 2, 2, 4).Str("n").Str("").U8(0);
    w.Zeros(12).Str("");                             // empty picture slot 0
    w.U16(5).U16(2).U16(30).Zeros(6).Str("a.png");   // picture 1
    w.U8(0).Str("x.wav").U8(1).Str("y.wav");         // sound names in order of first use
    w.U16(0).U8(1).U16(100).U16(100).U16(100).U8(0); // sound only: file bit 0
    w.U16(1).U8(1).U16(100).U16(100).U16(100).U8(0);
    w.U16(1)
        .U8(7)
        .U16(100)
        .U16(100)
        .U16(100)
        .U8(1) // all three parts
        .U16(6)
        .U8(0)
        .U8(0)
        .U8(1)
        .U8(2)
        .U8(3)
        .U8(255)
        .Str("hi");
    w.U16(5).U8(1).CellRecord(2, SampleCell());
    w.U16(0).U8(0);
    EXPECT_EQ(SaveAs(*p, 0), w.b);
}

TEST(BinaryFormat, ReadsHandWrittenFile)
{
    strCell c = SampleCell();
    BinWriter w;
    // fixPicturePerCell 1, edit format 2, division 1; fixed table longer than the cell count.
    w.Header(1 | 4 | (2 << 3), 4, 77, 0xDEAD, 2, 3, 3, 1, 3).Str("\x96\xBC\x91\x4F").Str(std::string("ud\0junk", 7));
    w.Str(std::string("\x01\x02\x03\x09", 4));
    w.U16(0).U16(9).U16(9).Zeros(6).Str("skip.png"); // divX 0: empty slot
    w.U16(2).U16(3).U16(400).Zeros(6).Str("p.png");  // hue clamped on reading
    w.U16(4).U16(5).U16(6).Zeros(6).Str("q.png");
    w.U8(0).Str("s.wav");
    w.U16(2).U8(6).U16(10).U8(1).U8(2).U8(3).U8(4).U8(5).U8(6).Str("note"); // flash + note
    w.U16(0).U8(1).U16(50).U16(60).U16(70).U8(0);                           // sound
    w.U16(0).U8(2).CellRecord(0, c).CellRecord(200, c);                     // cell number 200 >= cellCount: dropped
    w.U16(7).U8(0);
    w.U16(0).U8(1).CellRecord(2, c);

    const auto p = LoadFrom(w.b);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Text(AT_NAME), "名前");
    EXPECT_EQ(p->Text(AT_USER_DATA), "ud");
    EXPECT_EQ(p->GetValue(AI_DIVISION_FORMAT), 1);
    EXPECT_EQ(p->GetValue(AI_FIX_PICTURE_PER_CELL), 1);
    EXPECT_EQ(p->GetValue(AI_EDIT_FORMAT), 2);
    EXPECT_EQ(p->GetValue(AI_BASE_INTERVAL), 4);
    EXPECT_EQ(p->GetValue(AI_TOTAL_INTERVAL), 77);
    EXPECT_EQ(p->GetValue(AI_SAVE_FORMAT), 0);
    EXPECT_EQ(p->GetValue(AI_CENTER_POSITION), 0);
    EXPECT_EQ(p->FixPictures(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(p->GetPicture(0), nullptr);
    ASSERT_TRUE(p->GetPicture(1));
    EXPECT_EQ(*p->GetPicture(1), (strPicture{2, 3, 360, "p.png"}));
    // Effects are sorted by frame; part bits map back to the in-memory flags.
    ASSERT_TRUE(p->GetEffect(0) && p->GetEffect(1));
    EXPECT_EQ(p->GetEffect(0)->flags, EF_SOUND);
    EXPECT_EQ(p->GetEffect(0)->seName, "s.wav");
    EXPECT_EQ(p->GetEffect(0)->sePitch, 60);
    const strEffect& fx = *p->GetEffect(1);
    EXPECT_EQ(fx.flags, EF_FLASH | EF_NOTE);
    EXPECT_EQ(fx.frame, 2);
    EXPECT_EQ(fx.flashDuration, 10);
    EXPECT_EQ(fx.flashBlend, 1);
    EXPECT_EQ(fx.flashScope, 2);
    EXPECT_EQ(fx.flashBlue, 3);
    EXPECT_EQ(fx.flashGreen, 4);
    EXPECT_EQ(fx.flashRed, 5);
    EXPECT_EQ(fx.flashStrength, 6);
    EXPECT_EQ(fx.note, "note");
    // Frames: the fixed picture and the edit format apply through SetCell.
    c.picture = 1;
    c.scaleX = -80;
    ASSERT_TRUE(p->GetCell(0, 0));
    EXPECT_EQ(*p->GetCell(0, 0), c);
    EXPECT_EQ(p->GetCells(0)->Count(), 1);
    EXPECT_EQ(p->GetFrame(1)->interval, 7);
    c.picture = 3;
    ASSERT_TRUE(p->GetCell(2, 2));
    EXPECT_EQ(*p->GetCell(2, 2), c);
    EXPECT_EQ(p->LastUsedIndex(AI_FRAMES), 2);
}

TEST(BinaryFormat, FlashAndNoteWithoutSoundUsePartBits6)
{
    auto p = std::make_unique<cAnimeData>();
    p->Reset(1, 1, 1, 1);
    strEffect e;
    e.frame = 0x0102;
    e.flags = EF_FLASH | EF_NOTE;
    e.flashDuration = 0x0304;
    e.note = "ab";
    p->InsertEffect(e, nullptr);
    const std::string bytes = SaveAs(*p, 0);
    // Header, empty name, user data and fixed table, no pictures or sounds, then the effect.
    const std::string expect = std::string("\x02\x01\x06\x04\x03\x00\x00\x80\x80\x80\xFF\x02"
                                           "ab",
                                           14);
    EXPECT_EQ(bytes.substr(46 + 3, expect.size()), expect);
}

TEST(BinaryFormat, EmptyProjectHasNoFramesAndZeroFixedTable)
{
    auto p = std::make_unique<cAnimeData>();
    p->Reset(1, 8, 1, 1);
    const std::string bytes = SaveAs(*p, 0);
    EXPECT_EQ(bytes.size(), 46u + 3u);
    EXPECT_EQ(uint8_t(bytes[41]) | uint8_t(bytes[42]) << 8, 0); // frame count
    const auto back = LoadFrom(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->LastUsedIndex(AI_FRAMES), -1);
    EXPECT_EQ(back->FixPictures(), std::vector<uint8_t>(8, 0));
}

TEST(BinaryFormat, CentrePositionTakesReservedByte13)
{
    auto p = SmallProject();
    const std::string centre = SaveAs(*p, 0);
    EXPECT_EQ(centre[13], '\0'); // the default leaves the bytes as older files have them
    for (int position = 1; position <= 5; ++position) {
        p->SetValue(AI_CENTER_POSITION, position);
        std::string bytes = SaveAs(*p, 0);
        const auto back = LoadFrom(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetValue(AI_CENTER_POSITION), position);
        EXPECT_EQ(uint8_t(bytes[13]), position);
        bytes[13] = '\0';
        EXPECT_EQ(bytes, centre) << "only byte 13 differs";
    }
    std::string unknown = centre;
    unknown[13] = 9;
    const auto back = LoadFrom(unknown);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetValue(AI_CENTER_POSITION), 0);
}

TEST(BinaryFormat, RefusesWhatItCannotHold)
{
    const std::string longText(256, 'a');
    auto refuse = [](const cAnimeData& p) {
        ANIME::cAnimeFile_Device device;
        std::string out;
        return device.WriteBinary(p, out) == FR_BAD_FORMAT;
    };
    {
        auto p = SmallProject();
        p->SetText(AT_USER_DATA, longText);
        EXPECT_TRUE(refuse(*p));
        p->SetText(AT_USER_DATA, longText.substr(1));
        EXPECT_FALSE(refuse(*p));
    }
    {
        auto p = SmallProject();
        strPicture pic;
        pic.path = longText;
        p->SetPicture(pic, 0);
        EXPECT_TRUE(refuse(*p));
    }
    {
        auto p = std::make_unique<cAnimeData>();
        p->Reset(1, 1, 1, 300);
        strEffect e;
        e.flags = EF_SOUND;
        for (int i = 0; i < 256; ++i) {
            e.seName = "s" + std::to_string(i);
            p->SetEffect(e, i);
        }
        EXPECT_TRUE(refuse(*p));
        p->DeleteEffect(255, false);
        EXPECT_FALSE(refuse(*p));
    }
}

TEST(BinaryFormat, DamagedFilesFailCleanly)
{
    const std::string good = ReadBytes(ExampleData() / "sample.dat");
    ASSERT_GT(good.size(), 100u);
    for (size_t n = 0; n < good.size(); ++n) {
        int result = 0;
        const auto p = LoadFrom(good.substr(0, n), &result);
        EXPECT_EQ(result, FR_BAD_FORMAT) << "prefix " << n;
    }
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        std::string bad = good;
        const int changes = 1 + int(rng() % 6);
        for (int k = 0; k < changes; ++k)
            bad[12 + rng() % (bad.size() - 12)] = char(rng());
        int result = 0;
        LoadFrom(bad, &result);
        EXPECT_TRUE(result == FR_OK || result == FR_BAD_FORMAT);
    }
}

} // namespace
