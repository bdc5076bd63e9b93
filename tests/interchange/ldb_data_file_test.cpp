#include "interchange/DataFile.h"

#include "InterchangeFixtures.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace {

// An RPG_RT.ldb built by hand, the way RPG Maker lays it out.
std::string ber(uint32_t v)
{
    std::string groups(1, char(v & 0x7F));
    for (v >>= 7; v != 0; v >>= 7)
        groups.insert(groups.begin(), char(0x80 | (v & 0x7F)));
    return groups;
}
std::string chunk(uint32_t id, const std::string& data) { return ber(id) + ber(uint32_t(data.size())) + data; }
std::string num(uint32_t id, int v) { return chunk(id, ber(uint32_t(v))); }
std::string record(std::initializer_list<std::string> fields)
{
    std::string r;
    for (const std::string& f : fields)
        r += f;
    return r + '\0';
}
std::string list(std::initializer_list<std::string> records)
{
    std::string l = ber(uint32_t(records.size()));
    uint32_t index = 0;
    for (const std::string& r : records)
        l += ber(++index) + r;
    return l;
}
std::string cp932(const char* utf8)
{
    std::string out;
    EXPECT_TRUE(platform::EncodeText(utf8, "CP932", out));
    return out;
}

struct strGame {
    int movedX = 30;          // x of frame 2's first cell in animation 1
    bool withAnimations = true;
    bool endMarker = true;
};

// Animation 1 holds what the editor cannot: an unknown field (3), a flash colour
// of a timing without flash, an empty cell slot with stale values, explicit
// defaults and an unknown cell field. Animation 2 has a name past 127 bytes,
// animation 3 is an empty slot.
std::string animation1(const strGame& g)
{
    const std::string timings = list({
        record({num(1, 1), chunk(2, record({chunk(1, "Fire1"), num(3, 80)})), num(4, 10)}),
        record({num(1, 2), chunk(2, record({chunk(1, "(OFF)")})), num(3, 1), num(4, 31), num(7, 20)}),
    });
    const std::string frames = list({
        record({chunk(1, list({record({num(1, 0), num(3, 99), num(5, 50)}),
                               record({num(2, 3), num(3, -20), num(4, 10), num(5, 120), num(10, 40)})}))}),
        record({chunk(1, list({record({num(1, 1), num(2, 1), num(3, g.movedX), num(4, 0), num(5, 100),
                                       chunk(0x20, "\x07\x08")})}))}),
    });
    return record({chunk(1, cp932("炎の魔法")), chunk(2, cp932("炎")), num(3, 1), chunk(6, timings), num(9, 0),
                   num(10, 2), chunk(12, frames)});
}

std::string animation2()
{
    const std::string frames = list({record({chunk(1, list({record({num(2, 4)})}))})});
    return record({chunk(1, std::string(150, 'L')), chunk(2, "ice"), chunk(6, list({})), num(9, 1), num(10, 1),
                   chunk(12, frames)});
}

std::string makeLdb(const strGame& g = {})
{
    std::string ldb = ber(11) + "LcfDataBase";
    ldb += chunk(0x0B, record({chunk(1, cp932("勇者"))}));
    ldb += chunk(0x0F, std::string(300, '\x55'));   // a size of two BER bytes
    if (g.withAnimations)
        ldb += chunk(0x13, ber(3) + ber(1) + animation1(g) + ber(2) + animation2() + ber(3) + record({}));
    ldb += chunk(0x14, "\x01\x02\x03");
    ldb += chunk(0x7F5, "future");
    return g.endMarker ? ldb + '\0' : ldb;
}

std::unique_ptr<cDataFile> parse(const std::string& bytes)
{
    std::string error;
    auto file = ParseLdbDataFile(bytes, error);
    EXPECT_TRUE(file) << error;
    return file;
}

// The cells of a project, frame by frame, as text.
std::string cells(const cAnimeData& p)
{
    std::istringstream in(Content(p));
    std::string out;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("frame", 0) == 0)
            out += line.substr(0, line.find(" interval")) + "\n";
        else if (line.rfind("  cell", 0) == 0)
            out += line + "\n";
    return out;
}

class LdbDataFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetLocale("jpn");
        Settings().SetDefaults();
    }
    void importInto(const cDataFile& file, int id, cAnimeData& p)
    {
        std::string error;
        ASSERT_TRUE(file.Import(id, p, error)) << error;
    }
};

TEST_F(LdbDataFile, ListsAndReadsBackUnchanged)
{
    for (bool endMarker : {true, false}) {
        strGame g;
        g.endMarker = endMarker;
        const std::string bytes = makeLdb(g);
        auto file = parse(bytes);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Bytes(), bytes);
        const std::vector<strDataEntry> entries = file->List();
        ASSERT_EQ(entries.size(), 2u);   // the empty slot 3 is left out
        EXPECT_EQ(entries[0].id, 1);
        EXPECT_EQ(entries[0].name, "炎の魔法");
        EXPECT_EQ(entries[0].frames, 2);
        EXPECT_EQ(entries[0].cells, 2);
        EXPECT_EQ(entries[0].timings, 2);
        EXPECT_EQ(entries[1].id, 2);
        EXPECT_EQ(entries[1].name, std::string(150, 'L'));
        EXPECT_EQ(entries[1].timings, 0);
    }
}

TEST_F(LdbDataFile, ImportsTheRecordAndRefusesEmptySlots)
{
    auto file = parse(makeLdb());
    cAnimeData p;
    importInto(*file, 1, p);
    EXPECT_EQ(p.Text(AT_NAME), "炎の魔法");
    EXPECT_EQ(p.GetPicture(0)->path, "炎");
    EXPECT_EQ(p.GetValue(AI_CENTER_POSITION), 2);   // position 2: bottom
    ASSERT_TRUE(p.GetCell(0, 1));
    EXPECT_EQ(p.GetCell(0, 1)->x, -20);
    EXPECT_EQ(p.GetCell(0, 1)->pattern, 4);
    EXPECT_FALSE(p.GetCell(0, 0));
    ASSERT_TRUE(p.GetEffect(0));
    EXPECT_EQ(p.GetEffect(0)->seVolume, 80);

    // A name past 127 bytes does not put the reader out of step.
    importInto(*file, 2, p);
    EXPECT_EQ(p.Text(AT_NAME), std::string(150, 'L'));
    EXPECT_EQ(p.GetValue(AI_CENTER_POSITION), 1);
    ASSERT_TRUE(p.GetCell(0, 0));
    EXPECT_EQ(p.GetCell(0, 0)->pattern, 5);

    std::string error;
    for (int id : {0, 3, 4}) {
        EXPECT_FALSE(file->Import(id, p, error)) << id;
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(LdbDataFile, ExportingAnUnchangedAnimationKeepsEveryByte)
{
    const std::string bytes = makeLdb();
    auto file = parse(bytes);
    cAnimeData p;
    importInto(*file, 1, p);
    std::string error;
    ASSERT_TRUE(file->Export(p, 1, error)) << error;
    EXPECT_EQ(file->Bytes(), bytes);
}

TEST_F(LdbDataFile, AnEditChangesOnlyThatValue)
{
    auto file = parse(makeLdb());
    cAnimeData p;
    importInto(*file, 1, p);
    strCell c = *p.GetCell(1, 0);
    c.x = -7;
    p.SetCell(1, 0, &c);
    std::string error;
    ASSERT_TRUE(file->Export(p, 1, error)) << error;
    // Unknown fields, explicit defaults, the stale empty slot and the unused flash
    // colour all stay; only the x and the sizes around it change.
    strGame edited;
    edited.movedX = -7;
    EXPECT_EQ(file->Bytes(), makeLdb(edited));
}

TEST_F(LdbDataFile, AFilledSlotDoesNotTakeOverStaleValues)
{
    auto file = parse(makeLdb());
    cAnimeData p;
    importInto(*file, 1, p);
    PutCell(p, 0, 0, {0, 2, 0, 5, 6, 100, 100, 0, 255});
    std::string error;
    ASSERT_TRUE(file->Export(p, 1, error)) << error;
    auto reread = parse(file->Bytes());
    cAnimeData q;
    importInto(*reread, 1, q);
    ASSERT_TRUE(q.GetCell(0, 0));
    EXPECT_EQ(q.GetCell(0, 0)->x, 5);
    EXPECT_EQ(q.GetCell(0, 0)->scaleX, 100);   // not the stale 50
    EXPECT_EQ(Content(q), Content(p));
}

TEST_F(LdbDataFile, AnIdPastTheEndAppendsWithEmptyRecords)
{
    for (bool withAnimations : {true, false}) {
        strGame g;
        g.withAnimations = withAnimations;
        const std::string bytes = makeLdb(g);
        auto file = parse(bytes);
        cAnimeData p;
        MakeProject(p, 2, "新しい");
        PutPicture(p, 0, "Battle\\slash.png");
        PutCell(p, 1, 2, {0, 3, 0, 10, -10, 100, 100, 0, 255});
        std::string error;
        ASSERT_TRUE(file->Export(p, 6, error)) << error;
        const std::string out = file->Bytes();
        auto reread = parse(out);
        const std::vector<strDataEntry> entries = reread->List();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.back().id, 6);
        EXPECT_EQ(entries.back().name, "新しい");
        EXPECT_EQ(entries.back().cells, 3);
        cAnimeData q;
        importInto(*reread, 6, q);
        EXPECT_EQ(cells(q), cells(p));

        // The chunks around the list are untouched; IDs 4 and 5 (or 1..5) are empty records.
        const std::string before = bytes.substr(0, bytes.find(std::string("\x14\x03\x01\x02\x03", 5)));
        const std::string after = bytes.substr(before.size());
        EXPECT_EQ(out.substr(out.size() - after.size()), after);
        if (withAnimations) {
            const std::string list = chunk(0x13, ber(3) + ber(1) + animation1(g) + ber(2) + animation2() + ber(3) +
                                                     record({}));
            EXPECT_EQ(out.substr(0, before.size() - list.size()), before.substr(0, before.size() - list.size()));
            EXPECT_NE(out.find(std::string("\x03\x00\x04\x00\x05\x00\x06", 7)), std::string::npos);
        } else {
            EXPECT_EQ(out.substr(0, before.size()), before);
            EXPECT_NE(out.find(std::string("\x06\x01\x00\x02\x00\x03\x00\x04\x00\x05\x00\x06", 12)),
                      std::string::npos);
        }
    }
}

TEST_F(LdbDataFile, AFailedExportLeavesTheFileAsItWas)
{
    const std::string bytes = makeLdb();
    auto file = parse(bytes);
    cAnimeData p;
    MakeProject(p, 1, "x");   // no picture
    std::string error;
    EXPECT_FALSE(file->Export(p, 1, error));
    EXPECT_FALSE(error.empty());
    PutPicture(p, 0, "a.png");
    EXPECT_FALSE(file->Export(p, 0, error));
    EXPECT_FALSE(file->Export(p, 100000, error));
    EXPECT_EQ(file->Bytes(), bytes);
}

TEST_F(LdbDataFile, DamagedDataIsRefused)
{
    const std::string good = makeLdb();
    const std::string header = ber(11) + "LcfDataBase";
    struct strCase {
        const char* what;
        std::string bytes;
    };
    const strCase cases[] = {
        {"no magic", "\x0bLcfDataBasX" + chunk(1, "a")},
        {"another file", "\x04\x08[\x00"},
        {"a six-byte number", header + "\x81\x81\x81\x81\x81\x01"},
        {"a number past 32 bits", header + "\x01\x9F\xFF\xFF\xFF\x7F"},
        {"a size past the end", header + "\x01\x05" + "abc"},
        {"data after the end marker", header + chunk(1, "a") + '\0' + "x"},
        {"a list count past its data", header + chunk(0x13, ber(5) + ber(1) + record({}))},
        {"stray bytes in the list", header + chunk(0x13, ber(1) + ber(1) + record({}) + "z")},
        {"a cell list longer than its field",
         header + chunk(0x13, ber(1) + ber(1) + record({chunk(12, list({record({chunk(1, ber(2) + ber(1))})}))}))},
    };
    for (const strCase& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseLdbDataFile(c.bytes, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }

    // Every cut of the file is refused, unless it falls between two top-level chunks.
    std::vector<size_t> boundaries;
    for (size_t pos = header.size(); pos < good.size() - 1;) {
        boundaries.push_back(pos);
        size_t at = pos;
        uint32_t id = 0, size = 0;
        for (uint32_t* v : {&id, &size})
            for (*v = 0;;) {
                const uint8_t b = uint8_t(good[at++]);
                *v = *v * 128 + (b & 0x7Fu);
                if (b < 0x80)
                    break;
            }
        pos = at + size;
    }
    boundaries.push_back(good.size() - 1);   // all but the end marker
    for (size_t n = 0; n < good.size(); ++n) {
        std::string error;
        const bool parsed = ParseLdbDataFile(good.substr(0, n), error) != nullptr;
        const bool boundary = std::find(boundaries.begin(), boundaries.end(), n) != boundaries.end();
        EXPECT_EQ(parsed, boundary) << n << ": " << error;
    }
}

} // namespace
