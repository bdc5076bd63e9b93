#include "interchange/Rm2000Animation.h"

#include "InterchangeFixtures.h"
#include "interchange/Mk2.h"
#include "platform/ByteReader.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

std::string hex(const std::string& bytes)
{
    std::string s;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        s += buf;
    }
    if (!s.empty())
        s.pop_back();
    return s;
}

std::string block(const cAnimeData& p)
{
    Cclip_stream s;
    EXPECT_TRUE(WriteRm2000Animation(p, strFolderNames{}, s));
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

struct BerCase {
    uint32_t value;
    const char* wire;
};

TEST(Ber, EncodesAndDecodes)
{
    const BerCase cases[] = {{0, "00"},      {127, "7F"},         {128, "81 00"},
                             {300, "82 2C"}, {16384, "81 80 00"}, {0xFFFFFFFF, "8F FF FF FF 7F"}};
    for (const BerCase& c : cases) {
        uint8_t buf[8];
        const int n = EncodeBer(c.value, buf, sizeof buf);
        EXPECT_EQ(hex(std::string(reinterpret_cast<char*>(buf), size_t(n))), c.wire);
        platform::ByteReader in(buf, size_t(n));
        uint64_t value = 0;
        EXPECT_TRUE(in.Ber(value, 5));
        EXPECT_EQ(value, c.value);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_TRUE(in.Ok());
    }
    uint8_t small[1] = {0x55};
    EXPECT_EQ(EncodeBer(300, small, 1), 2); // too small: nothing written
    EXPECT_EQ(small[0], 0x55);
}

TEST(Rm2000Export, ReferenceBlock)
{
    cAnimeData p;
    MakeProject(p, 1, "A");
    PutPicture(p, 0, "x.png");
    EXPECT_EQ(hex(block(p)), "18 00 00 00 01 00 00 00 01 01 41 02 01 78 06 01 00 09 01 00 0A 01 01 "
                             "0C 06 01 01 01 01 00 00 00");
}

TEST(Rm2000Export, TimingsCellsAndLimits)
{
    cAnimeData p;
    MakeProject(p, 1, "");
    p.SetValue(AI_CENTER_POSITION, 3);
    PutPicture(p, 0, "a\\pic.png");
    strEffect quiet;
    quiet.seName = "Sound\\a.wav";
    AddEffect(p, quiet);
    strEffect e = FlashEffect(0, 1, 8, 255, 128, 0, 31 * 255 / 31);
    e.seName = "b";
    e.sePitch = 200;
    e.seVolume = 30;
    e.seBalance = 0;
    AddEffect(p, e);
    p.SetCellCount(12);
    PutCell(p, 0, 0, {0, 3, 0, -1, 2, 10, 5, 0, 0, 150});
    PutCell(p, 0, 2, {0, 1, 0, 0, 0, -100, 100, 0, 255});
    PutCell(p, 0, 10, {0, 1, 0, 0, 0, 100, 100, 0, 255});
    const std::string b = hex(block(p));
    // Timings: the first with its sound name only; the second with tempo 150,
    // volume 30, balance 0, target flash and colours scaled to 0..31.
    EXPECT_NE(b.find("06 2A 02 "
                     "01 01 01 01 02 04 01 01 61 00 00 "
                     "02 01 01 01 02 0E 01 01 62 03 01 1E 04 02 81 16 05 01 00 00 03 01 01 05 01 10 06 01 00 00"),
              std::string::npos)
        << b;
    EXPECT_NE(b.find("09 01 00 0A 01 00"), std::string::npos) << b;
    // Frames: cells 1..3 only (slot 10 lies beyond the eighth).
    EXPECT_NE(b.find("0C 26 01 01 01 21 03 "
                     "01 02 01 02 03 05 8F FF FF FF 7F 04 01 02 05 01 14 06 02 81 16 0A 01 64 00 "
                     "02 01 01 00 00 "
                     "03 00 00 00"),
              std::string::npos)
        << b;
}

TEST(Rm2000Export, FrameLimitTextLimitAndMissingPicture)
{
    cAnimeData p;
    MakeProject(p, 1200, "");
    std::string longName;
    for (int i = 0; i < 63; ++i)
        longName += "あ"; // 126 bytes in CP932
    p.SetText(AT_NAME, longName);
    PutPicture(p, 0, "p");
    Cclip_stream s;
    ASSERT_TRUE(WriteRm2000Animation(p, strFolderNames{}, s));
    cAnimeData back;
    ASSERT_EQ(ReadRm2000Animation(back, s), 1);
    EXPECT_EQ(back.GetValue(AI_FRAMES), 999);
    EXPECT_EQ(back.Text(AT_NAME), longName);
    // A name over 127 bytes is not cut: the export fails and says why.
    platform::TakeTextProblems();
    p.SetText(AT_NAME, longName + "あ");
    EXPECT_FALSE(WriteRm2000Animation(p, strFolderNames{}, s));
    EXPECT_NE(platform::TakeTextProblems().find("128"), std::string::npos);

    PutPicture(p, 2, "q"); // two pictures, slot 1 empty
    EXPECT_FALSE(WriteRm2000Animation(p, strFolderNames{}, s));
    cAnimeData none;
    MakeProject(none);
    EXPECT_FALSE(WriteRm2000Animation(none, strFolderNames{}, s));
}

TEST(Rm2000, FlashScaling)
{
    EXPECT_EQ(To31(255), 31);
    EXPECT_EQ(To255(31), 255);
    EXPECT_EQ(To31(128), 16);
    EXPECT_EQ(To255(16), 132);
    EXPECT_EQ(To31(0), 0);
    // Numbers from foreign data of any size saturate instead of overflowing.
    EXPECT_EQ(To255(INT32_MAX), INT32_MAX);
    EXPECT_EQ(To255(INT32_MIN), INT32_MIN);
}

TEST(Rm2000Import, ReadsRecordsWithDefaultsAndUnknownChunks)
{
    std::string rec;
    rec += std::string("\x01\xFF", 2) + std::string(255, 'n'); // name of 255 bytes
    rec += std::string("\x20\x03\xAA\xBB\xCC", 5);             // a chunk this reader does not know
    rec += "\x02\x03"
           "pic";
    // Two timings: "(OFF)" without flash; a sound with screen flash in default colours.
    rec += std::string("\x06\x1F\x02", 3);
    rec += std::string("\x01\x01\x01\x01\x02\x07\x01\x05(OFF)\x00\x00", 15);
    rec += std::string("\x02\x01\x01\x02\x02\x0B\x01\x03"
                       "hit\x05\x01\x0A\x00\x03\x01\x02\x00",
                       19);
    rec += std::string("\x09\x01\x00\x0A\x01\x02\x0B\x01\x01", 9);
    // One frame with an empty slot and a cell with defaults but pattern 5 and transparency 40.
    rec += std::string("\x0C\x10\x01\x01\x01\x0C\x02\x01\x01\x01\x00\x00\x02\x02\x01\x04\x0A\x01\x28\x00\x00", 21);
    rec += std::string(1, '\0');
    std::string data = std::string("\x01\x00\x00\x00\x01\x00\x00\x00", 8) + rec;
    Cclip_stream s;
    s.Assign(data);
    cAnimeData p;
    ASSERT_EQ(ReadRm2000Animation(p, s), 1);
    EXPECT_EQ(p.Text(AT_NAME), std::string(255, 'n'));
    EXPECT_EQ(p.CellCount(), 8);
    EXPECT_EQ(Content(p), "name=" + std::string(255, 'n') +
                              " center=2\n"
                              "frame 0 interval 0 slots 8\n"
                              "  cell 1: 0 5 0 0 0 100 100 0 153 100 100 100 100\n"
                              "picture 0 96 96 0 pic\n"
                              "effect 0 0 0 0 0 0 128 128 128 255 100 100 100 [] []\n"
                              "effect 1 1 3 8 0 0 255 255 255 255 100 100 20 [hit] []\n");
}

TEST(Rm2000Import, HeaderWordsMustBeSet)
{
    for (const std::string& head :
         {std::string("\0\0\0\0\x01\0\0\0", 8), std::string("\x01\0\0\0\0\0\0\0", 8), std::string("\x01\0", 2)}) {
        Cclip_stream s;
        s.Assign(head);
        cAnimeData p;
        MakeProject(p, 3, "keep");
        EXPECT_EQ(ReadRm2000Animation(p, s), -1);
        EXPECT_EQ(p.Text(AT_NAME), "keep");
    }
}

TEST(Rm2000Import, RoundTrip)
{
    cAnimeData p;
    MakeProject(p, 3, "Round");
    p.SetCellCount(8);
    p.SetValue(AI_EDIT_FORMAT, 2);
    p.SetValue(AI_CENTER_POSITION, 2);
    PutPicture(p, 0, "Sheet", 0, 96);
    PutCell(p, 0, 0, {0, 1, 0, -1024, 1024, 20, 20, 0, 255, 0, 200, 7, 100});
    PutCell(p, 0, 7, {0, 600, 0, 3, -4, 1000, 1000, 0, 0});
    PutCell(p, 2, 3, {0, 42, 0, 0, 0, 100, 100, 0, 255});
    AddEffect(p, FlashEffect(1, 0, 8, 0, 255, 132, 8));
    strEffect sound;
    sound.frame = 2;
    sound.seName = "Bow";
    sound.seVolume = 1;
    sound.sePitch = 150;
    sound.seBalance = 200;
    AddEffect(p, sound);
    Cclip_stream s;
    ASSERT_TRUE(WriteRm2000Animation(p, strFolderNames{}, s));
    cAnimeData back;
    ASSERT_EQ(ReadRm2000Animation(back, s), 1);
    EXPECT_EQ(Content(back), Content(p));
}

} // namespace
