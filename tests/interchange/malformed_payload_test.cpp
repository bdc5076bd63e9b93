// Truncated and randomly changed payloads of every format: the readers must
// stay inside the data and end with a result, whatever they are given.

#include "InterchangeFixtures.h"
#include "interchange/JsonAnimation.h"
#include "interchange/Rm2000Animation.h"
#include "interchange/RubyAnimation.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

void buildRich(cAnimeData& p)
{
    MakeProject(p, 6, "Rich");
    p.SetText(AT_NAME, std::string("豪華なアニメ"));
    PutPicture(p, 0, "Fire1.png", 40, 96);
    PutPicture(p, 1, "Ice.png", 0, 96);
    for (int f = 0; f < 6; ++f)
        for (int c = 0; c < 8; c += 1 + f % 3)
            PutCell(p, f, c, {c % 2, 1 + f * 7 + c, c % 5, f * 10 - c, c * 3, 100 + f * 10, 90, f * 300 - 900, 200});
    strEffect a = FlashEffect(1, 1, 12, 255, 10, 0, 200);
    a.seName = std::string("Sound\\斬撃.ogg");
    AddEffect(p, a);
    strEffect b;
    b.frame = 3;
    b.note = "HIT";
    AddEffect(p, b);
    AddEffect(p, FlashEffect(5, 2, 3, 1, 2, 3, 4));
}

using Reader = std::function<int(cAnimeData&, Cclip_stream&)>;

struct Format {
    const char* name;
    std::function<std::string(const cAnimeData&)> write;
    Reader read;
};

std::string rubyBytes(const cAnimeData& p, int version)
{
    Cclip_stream s;
    WriteRubyAnimation(p, version, strFolderNames{}, s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

std::vector<Format> formats()
{
    return {
        {"xp", [](const cAnimeData& p) { return rubyBytes(p, RUBY_XP); }, ReadRubyAnimation},
        {"vxace", [](const cAnimeData& p) { return rubyBytes(p, RUBY_VXACE); }, ReadRubyAnimation},
        {"json", [](const cAnimeData& p) { return WriteJsonAnimation(p, strFolderNames{}); },
         [](cAnimeData& p, Cclip_stream& s) { return ReadJsonAnimation(p, s); }},
        {"2000",
         [](const cAnimeData& p) {
             Cclip_stream s;
             WriteRm2000Animation(p, strFolderNames{}, s);
             return std::string(s.Bytes().begin(), s.Bytes().end());
         },
         ReadRm2000Animation},
    };
}

int readBytes(const Reader& read, const std::string& bytes)
{
    Cclip_stream s;
    s.Assign(bytes);
    cAnimeData p;
    const int result = read(p, s);
    EXPECT_TRUE(result == 1 || result == -1);
    if (result == 1) {
        EXPECT_LE(p.GetValue(AI_FRAMES), p.FrameCapacity());
        EXPECT_EQ(p.CellCount(), p.GetFrame(0) ? p.GetFrame(0)->cells.Size() : p.CellCount());
    }
    return result;
}

TEST(MalformedPayload, EveryTruncation)
{
    cAnimeData p;
    buildRich(p);
    for (const Format& f : formats()) {
        SCOPED_TRACE(f.name);
        const std::string full = f.write(p);
        ASSERT_EQ(readBytes(f.read, full), 1);
        for (size_t n = 0; n < full.size(); ++n)
            readBytes(f.read, full.substr(0, n));
    }
}

TEST(MalformedPayload, RandomByteChanges)
{
    cAnimeData p;
    buildRich(p);
    std::mt19937 rng(12345);
    for (const Format& f : formats()) {
        SCOPED_TRACE(f.name);
        const std::string full = f.write(p);
        int accepted = 0;
        for (int round = 0; round < 1500; ++round) {
            std::string bytes = full;
            const int changes = 1 + int(rng() % 4);
            for (int k = 0; k < changes; ++k) {
                const size_t at = rng() % bytes.size();
                switch (rng() % 3) {
                case 0: bytes[at] = char(rng()); break;
                case 1: bytes[at] = char(uint8_t(bytes[at]) ^ (1u << (rng() % 8))); break;
                default: bytes[at] = char(0xFF); break;
                }
            }
            accepted += readBytes(f.read, bytes) == 1;
        }
        EXPECT_GT(accepted, 0);
    }
}

TEST(MalformedPayload, HostileCountsAndSizes)
{
    // Ruby: an array of 2^31-1 elements, a table of 2^30 x 2^30 cells.
    const std::string hugeArray = std::string("\0\0\0\0\x04\x08[\x04\xFF\xFF\xFF\x7F", 12);
    readBytes(ReadRubyAnimation, hugeArray);
    const std::string table = std::string("\0\0\0\0\x04\x08[\x06", 8) +
                              "o:\x13RPG::Animation\x06:\x0C@frames[\x06o:\x1ARPG::Animation::Frame\x06"
                              ":\x0F@cell_datau:\x0ATable\x19" +
                              std::string("\x02\0\0\0\0\0\0\x40\0\0\0\x40\x01\0\0\0\xFF\xFF\xFF\x7F", 20);
    EXPECT_EQ(readBytes(ReadRubyAnimation, table), 1);
    // 2000: counts of 2^32-1 frames and timings with nothing behind them, in a block
    // shorter than its size word: refused.
    const std::string frames = std::string("\x10\0\0\0\x01\0\0\0\x0C\x05\x8F\xFF\xFF\xFF\x7F"
                                           "\x06\x05\x8F\xFF\xFF\xFF\x7F",
                                           22);
    EXPECT_EQ(readBytes(ReadRm2000Animation, frames), -1);
    // JSON nested deeply.
    EXPECT_EQ(
        readBytes([](cAnimeData& p, Cclip_stream& s) { return ReadJsonAnimation(p, s); }, std::string(100000, '[')),
        -1);
}

} // namespace
