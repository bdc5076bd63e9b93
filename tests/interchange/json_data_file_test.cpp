#include "interchange/DataFile.h"
#include "interchange/JsonAnimation.h"
#include "interchange/OrderedJson.h"

#include "InterchangeFixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

// An animation object in RPG Maker's member order; extra members go before "name".
std::string animation(int id, const std::string& nameJson, const std::string& frames, const std::string& timings,
                      const std::string& extra = "")
{
    return "{\"id\":" + std::to_string(id) +
           ",\"animation1Hue\":0,\"animation1Name\":\"Hit1\",\"animation2Hue\":20,\"animation2Name\":\"\",\"frames\":" +
           frames + extra + ",\"name\":" + nameJson + ",\"position\":1,\"timings\":" + timings + "}";
}

// Frame 0 has a fractional y and a trailing empty slot in MV's [-1,...] form;
// timing 1 carries a flash colour that does nothing (scope 0).
const std::string kSlash =
    animation(1, "\"Slash\"", "[[[0,0,-12.5,180,0,0,255,1],[-1,0,0,0,0,0,0,0]],[[1,4,0,150,15,1,200,0],[]],[]]",
              "[{\"flashColor\":[255,255,255,153],\"flashDuration\":5,\"flashScope\":1,\"frame\":0,"
              "\"se\":{\"name\":\"Slash1\",\"pan\":0,\"pitch\":100,\"volume\":90}},"
              "{\"flashColor\":[255,0,0,128],\"flashDuration\":3,\"flashScope\":0,\"frame\":1,\"se\":null}]");
// Raw and escaped non-ASCII in the name, a number written 1e2, a member the editor does not know.
const std::string kFire =
    animation(2, "\"炎の剣\\u2460\"", "[[[100,-8,16,1e2,-45,0,255,3]]]", "[]", ",\"conditions\":{\"note\":1.50}");
const std::string kEffekseer =
    "{\"id\":3,\"displayType\":0,\"effectName\":\"CureOne1\",\"flashTimings\":[],\"name\":\"Heal\",\"offsetX\":0,"
    "\"offsetY\":0,\"rotation\":{\"x\":0,\"y\":0,\"z\":0},\"scale\":100,\"soundTimings\":[{\"frame\":0,\"se\":"
    "{\"name\":\"Heal3\",\"pan\":0,\"pitch\":100,\"volume\":90}}],\"speed\":100}";

std::string mvFile(const std::vector<std::string>& entries)
{
    std::string text = "[\nnull";
    for (const std::string& e : entries)
        text += ",\n" + e;
    return text + "\n]";
}

// ID 3 is an empty slot.
const std::string kMv = mvFile({kSlash, kFire, "null", animation(4, "\"Hit\"", "[[]]", "[]")});

std::unique_ptr<cDataFile> parse(const std::string& bytes, eDataFileKind kind = DATA_MV)
{
    std::string error;
    auto file = ParseDataFile(kind, bytes, error);
    EXPECT_TRUE(file) << error;
    return file;
}

std::string listText(const cDataFile& file)
{
    std::string out;
    for (const strDataEntry& e : file.List())
        out += std::to_string(e.id) + " " + e.name + " " + std::to_string(e.frames) + "/" + std::to_string(e.cells) +
               "/" + std::to_string(e.timings) + (e.editable ? "" : " locked") + "\n";
    return out;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class JsonDataFile : public ::testing::Test {};

TEST_F(JsonDataFile, ListsEntriesAndGivesBackItsBytes)
{
    const std::string pretty = "  [ null ,\r\n\t" + kSlash + " , null\r\n,\t" + kFire + " ]\r\n";
    for (const std::string& bytes : {kMv, pretty}) {
        auto file = parse(bytes);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Bytes(), bytes);
        EXPECT_EQ(file->Kind(), DATA_MV);
    }
    EXPECT_EQ(listText(*parse(kMv)), "1 Slash 3/2/2\n2 炎の剣① 1/1/0\n4 Hit 1/0/0\n");
}

TEST_F(JsonDataFile, UnchangedExportKeepsEveryByte)
{
    auto file = parse(kMv);
    ASSERT_TRUE(file);
    for (int id : {1, 2, 4}) {
        cAnimeData p;
        std::string error;
        ASSERT_TRUE(file->Import(id, p, error)) << error;
        ASSERT_TRUE(file->Export(p, id, strFolderNames{}, error)) << error;
        EXPECT_EQ(file->Bytes(), kMv) << "ID " << id;
    }
}

TEST_F(JsonDataFile, EditChangesOnlyWhatChanged)
{
    auto file = parse(kMv);
    ASSERT_TRUE(file);
    cAnimeData p;
    std::string error;
    ASSERT_TRUE(file->Import(1, p, error)) << error;
    strCell cell = *p.GetCell(1, 0);
    cell.x = 40;
    p.SetCell(1, 0, &cell);
    ASSERT_TRUE(file->Export(p, 1, strFolderNames{}, error)) << error;
    // Frame 0 keeps its fractional y and its empty slot, the second timing its colour.
    std::string expected = replaced(kMv, "[1,4,0,150", "[1,40,0,150");
    EXPECT_EQ(file->Bytes(), expected);

    // A renamed animation keeps the member the editor does not know, where it was.
    ASSERT_TRUE(file->Import(2, p, error)) << error;
    p.SetText(AT_NAME, "Ice");
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    expected = replaced(expected, "\"炎の剣\\u2460\"", "\"Ice\"");
    EXPECT_EQ(file->Bytes(), expected);

    // Dropping the last timing cuts it; the first stays as written.
    ASSERT_TRUE(file->Import(1, p, error)) << error;
    p.DeleteEffect(1, true);
    ASSERT_TRUE(file->Export(p, 1, strFolderNames{}, error)) << error;
    expected = replaced(
        expected, ",{\"flashColor\":[255,0,0,128],\"flashDuration\":3,\"flashScope\":0,\"frame\":1,\"se\":null}", "");
    EXPECT_EQ(file->Bytes(), expected);
    EXPECT_EQ(listText(*parse(file->Bytes())), "1 Slash 3/2/1\n2 Ice 1/1/0\n4 Hit 1/0/0\n");
}

TEST_F(JsonDataFile, ExportIntoEmptySlotsAndPastTheEnd)
{
    cAnimeData p;
    MakeProject(p, 2, "New");
    nlohmann::json written = nlohmann::json::parse(WriteJsonAnimation(p, strFolderNames{}))[0];
    written.erase("id");
    const std::string rest = written.dump().substr(1); // members after "id", in the writer's order

    auto file = parse(kMv);
    ASSERT_TRUE(file);
    std::string error;
    ASSERT_TRUE(file->Export(p, 7, strFolderNames{}, error)) << error;
    std::string expected = kMv.substr(0, kMv.size() - 2) + ",\nnull,\nnull,\n{\"id\":7," + rest + "\n]";
    EXPECT_EQ(file->Bytes(), expected);
    ASSERT_TRUE(file->Export(p, 3, strFolderNames{}, error)) << error;
    expected = replaced(expected, "\nnull,\n{\"id\":4", "\n{\"id\":3," + rest + ",\n{\"id\":4");
    EXPECT_EQ(file->Bytes(), expected);
    EXPECT_EQ(listText(*parse(file->Bytes())),
              "1 Slash 3/2/2\n2 炎の剣① 1/1/0\n3 New 2/0/0\n4 Hit 1/0/0\n7 New 2/0/0\n");

    // An empty array gets RPG Maker's layout.
    file = parse(" []");
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    EXPECT_EQ(file->Bytes(), " [\nnull,\nnull,\n{\"id\":2," + rest + "\n]");
    EXPECT_FALSE(file->Export(p, 0, strFolderNames{}, error));
}

TEST_F(JsonDataFile, EffekseerEntriesStayUntouched)
{
    const std::string mz = mvFile({kSlash, kFire, kEffekseer});
    auto file = parse(mz);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Kind(), DATA_MZ);
    EXPECT_EQ(listText(*file), "1 Slash 3/2/2\n2 炎の剣① 1/1/0\n3 Heal 0/0/0 locked\n");
    cAnimeData p;
    std::string error;
    EXPECT_FALSE(file->Import(3, p, error));
    EXPECT_NE(error.find("Effekseer"), std::string::npos) << error;
    ASSERT_TRUE(file->Import(1, p, error)) << error;
    error.clear();
    EXPECT_FALSE(file->Export(p, 3, strFolderNames{}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(file->Bytes(), mz);
    p.SetValue(AI_CENTER_POSITION, 3); // top
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    const std::string bytes = file->Bytes();
    EXPECT_EQ(bytes.substr(bytes.find(",\n{\"id\":3")), ",\n" + kEffekseer + "\n]");
    EXPECT_NE(bytes.find("\"position\":0"), std::string::npos);
}

TEST_F(JsonDataFile, DamagedFilesAreRefused)
{
    const std::string small = mvFile({animation(1, "\"é\\n\"", "[[[0,1.5,-2,100,0,0,255,1]]]", "[]")});
    for (size_t n = 1; n < small.size(); ++n) {
        std::string error;
        EXPECT_FALSE(ParseDataFile(DATA_MV, small.substr(0, n), error)) << n;
        EXPECT_EQ(error, "truncated at byte " + std::to_string(n));
    }
    const std::pair<std::string, const char*> damaged[] = {
        {"", "empty file"},
        {"{}", "not a JSON array"},
        {"[null,3]", "entry 1 at byte 6 is neither"},
        {"[null]x", "unexpected data after the end at byte 6"},
        {std::string(200, '[') + std::string(200, ']'), "nesting too deep"},
        {"[null,{\"name\":\"a\x01\"}]", "control character in a string at byte 16"},
        {"[null,{\"name\":\"\xC3\x28\"}]", "malformed UTF-8 at byte 15"},
        {"[null,{\"name\":\"\xED\xA0\x80\"}]", "malformed UTF-8"},
        {"[null,{\"name\":\"\\q\"}]", "bad escape at byte 16"},
        {"[null,{\"x\":01}]", "expected ',' or '}' at byte 12"},
        {"[null,{\"x\":-}]", "malformed number"},
        {"[null,{\"x\" 1}]", "expected ':'"},
    };
    for (const auto& [bytes, reason] : damaged) {
        std::string error;
        EXPECT_FALSE(ParseDataFile(DATA_MV, bytes, error)) << bytes;
        EXPECT_NE(error.find(reason), std::string::npos) << bytes << " -> " << error;
    }
    // An entry the editor cannot read is neither imported nor overwritten.
    auto file = parse(mvFile({"{\"name\":\"x\",\"frames\":[[]]}"}));
    ASSERT_TRUE(file);
    cAnimeData p;
    MakeProject(p);
    std::string error;
    EXPECT_FALSE(file->Import(1, p, error));
    EXPECT_FALSE(file->Export(p, 1, strFolderNames{}, error));
    EXPECT_EQ(file->Bytes(), mvFile({"{\"name\":\"x\",\"frames\":[[]]}"}));
}

TEST(OrderedJson, KeepsSourceTextAndWritesNewValuesAsJavaScript)
{
    const std::string source = "[1.50, 1e3,\"\\u00e9\\/\",{\"b\":-0,\"a\":[true,null]}]";
    OJSON::strValue v;
    std::string error;
    ASSERT_TRUE(OJSON::Parse(source, v, error)) << error;
    EXPECT_EQ(OJSON::Write(v, source), source);
    EXPECT_EQ(v.items[2].String(), "é/");
    v.fromSource = false;
    v.items[0] = OJSON::MakeString("x\"\\\b\f\n\r\t\x01\x1f\x7f\xff");
    EXPECT_EQ(OJSON::Write(v, source), "[\"x\\\"\\\\\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\xEF\xBF\xBD\",1e3,\"\\u00e9\\/\","
                                       "{\"b\":-0,\"a\":[true,null]}]");
    EXPECT_EQ(OJSON::Write(OJSON::Fresh(v)), "[\"x\\\"\\\\\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\xEF\xBF\xBD\",1000,\"é/\","
                                             "{\"b\":0,\"a\":[true,null]}]");

    const std::pair<double, const char*> numbers[] = {
        {0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {-0.1, "-0.1"},
        {1.0 / 3, "0.3333333333333333"},
        {123456789012, "123456789012"},
        {1e20, "100000000000000000000"},
        {1e21, "1e+21"},
        {2.5e300, "2.5e+300"},
        {0.000001, "0.000001"},
        {1.5e-7, "1.5e-7"},
    };
    for (const auto& [value, text] : numbers)
        EXPECT_EQ(OJSON::NumberText(value), text) << value;

    // Escaped surrogate pairs decode; a lone one reads as U+FFFD.
    ASSERT_TRUE(OJSON::Parse("[\"\\ud83d\\ude00\",\"\\ud800x\"]", v, error));
    EXPECT_EQ(v.items[0].String(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(v.items[1].String(), "\xEF\xBF\xBDx");
}

} // namespace
