#include "interchange/DataFile.h"

#include "InterchangeFixtures.h"
#include "interchange/Rm2000Animation.h"

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
    int movedX = 30; // x of frame 2's first cell in animation 1
    bool withAnimations = true;
    bool endMarker = true;
    std::string added; // records after the list's own, each with its ID
    int addedCount = 0;
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
    ldb += chunk(0x0F, std::string(300, '\x55')); // a size of two BER bytes
    if (g.withAnimations)
        ldb += chunk(0x13, ber(3 + g.addedCount) + ber(1) + animation1(g) + ber(2) + animation2() + ber(3) +
                               record({}) + g.added);
    else if (g.addedCount > 0)
        ldb += chunk(0x13, ber(g.addedCount) + g.added);
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

// id, name, frames / cells / timings of each entry.
std::string listing(const cDataFile& file)
{
    std::string out;
    for (const strDataEntry& e : file.List())
        out += std::to_string(e.id) + " " + e.name + " " + std::to_string(e.frames) + "/" + std::to_string(e.cells) +
               "/" + std::to_string(e.timings) + "\n";
    return out;
}

class LdbDataFile : public ::testing::Test {
protected:
    void SetUp() override { platform::SetLocale("jpn"); }
    void ImportInto(const cDataFile& file, int id, cAnimeData& p)
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
        // The empty slot 3 is left out.
        EXPECT_EQ(listing(*file), "1 炎の魔法 2/2/2\n2 " + std::string(150, 'L') + " 1/1/0\n");
    }
}

TEST_F(LdbDataFile, ImportsTheRecordAndRefusesEmptySlots)
{
    auto file = parse(makeLdb());
    cAnimeData p;
    ImportInto(*file, 1, p);
    EXPECT_EQ(p.Text(AT_NAME), "炎の魔法");
    EXPECT_EQ(p.GetPicture(0)->path, "炎");
    EXPECT_EQ(p.GetValue(AI_CENTER_POSITION), 2); // position 2: bottom
    ASSERT_TRUE(p.GetCell(0, 1));
    EXPECT_EQ(p.GetCell(0, 1)->x, -20);
    EXPECT_EQ(p.GetCell(0, 1)->pattern, 4);
    EXPECT_FALSE(p.GetCell(0, 0));
    ASSERT_TRUE(p.GetEffect(0));
    EXPECT_EQ(p.GetEffect(0)->seVolume, 80);

    // A name past 127 bytes does not put the reader out of step.
    ImportInto(*file, 2, p);
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

TEST_F(LdbDataFile, AnEditChangesOnlyThatValue)
{
    const std::string bytes = makeLdb();
    auto file = parse(bytes);
    cAnimeData p;
    ImportInto(*file, 1, p);
    std::string error;
    ASSERT_TRUE(file->Export(p, 1, strFolderNames{}, error)) << error;
    EXPECT_EQ(file->Bytes(), bytes); // unchanged: every byte kept

    strCell c = *p.GetCell(1, 0);
    c.x = -7;
    p.SetCell(1, 0, &c);
    ASSERT_TRUE(file->Export(p, 1, strFolderNames{}, error)) << error;
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
    ImportInto(*file, 1, p);
    PutCell(p, 0, 0, {0, 2, 0, 5, 6, 100, 100, 0, 255});
    std::string error;
    ASSERT_TRUE(file->Export(p, 1, strFolderNames{}, error)) << error;
    auto reread = parse(file->Bytes());
    cAnimeData q;
    ImportInto(*reread, 1, q);
    ASSERT_TRUE(q.GetCell(0, 0));
    EXPECT_EQ(q.GetCell(0, 0)->x, 5);
    EXPECT_EQ(q.GetCell(0, 0)->scaleX, 100); // not the stale 50
    EXPECT_EQ(Content(q), Content(p));
}

TEST_F(LdbDataFile, AnIdPastTheEndAppendsWithEmptyRecords)
{
    cAnimeData p;
    MakeProject(p, 2, "新しい");
    PutPicture(p, 0, "Battle\\slash.png");
    PutCell(p, 1, 2, {0, 3, 0, 10, -10, 100, 100, 0, 255});
    Cclip_stream block;
    ASSERT_TRUE(WriteRm2000Animation(p, strFolderNames{}, block));
    const std::string written(reinterpret_cast<const char*>(block.Data()) + 8, block.Size() - 8);

    for (bool withAnimations : {true, false}) {
        strGame g;
        g.withAnimations = withAnimations;
        auto file = parse(makeLdb(g));
        std::string error;
        ASSERT_TRUE(file->Export(p, 6, strFolderNames{}, error)) << error;
        // The IDs in between become empty records; without a list, one is made in chunk order.
        strGame expected = g;
        for (int id = withAnimations ? 4 : 1; id < 6; ++id)
            expected.added += ber(uint32_t(id)) + record({});
        expected.added += ber(6) + written;
        expected.addedCount = withAnimations ? 3 : 6;
        EXPECT_EQ(file->Bytes(), makeLdb(expected));

        EXPECT_NE(listing(*file).find("6 新しい 2/3/0\n"), std::string::npos);
        cAnimeData q;
        ImportInto(*file, 6, q);
        EXPECT_EQ(cells(q), cells(p));
    }
}

TEST_F(LdbDataFile, AFailedExportLeavesTheFileAsItWas)
{
    const std::string bytes = makeLdb();
    auto file = parse(bytes);
    cAnimeData p;
    MakeProject(p, 1, "x"); // no picture
    std::string error;
    EXPECT_FALSE(file->Export(p, 1, strFolderNames{}, error));
    EXPECT_FALSE(error.empty());
    PutPicture(p, 0, "a.png");
    EXPECT_FALSE(file->Export(p, 0, strFolderNames{}, error));
    EXPECT_FALSE(file->Export(p, 100000, strFolderNames{}, error));
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
    boundaries.push_back(good.size() - 1); // all but the end marker
    for (size_t n = 0; n < good.size(); ++n) {
        std::string error;
        const bool parsed = ParseLdbDataFile(good.substr(0, n), error) != nullptr;
        const bool boundary = std::find(boundaries.begin(), boundaries.end(), n) != boundaries.end();
        EXPECT_EQ(parsed, boundary) << n << ": " << error;
    }
}

} // namespace
