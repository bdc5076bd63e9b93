#include "interchange/JsonAnimation.h"

#include "InterchangeFixtures.h"

#include <gtest/gtest.h>

namespace {

int readJson(cAnimeData& p, const std::string& text)
{
    Cclip_stream s;
    s.Assign(text);
    return ReadJsonAnimation(p, s);
}

TEST(JsonExport, ReferenceText)
{
    cAnimeData p;
    MakeProject(p, 2, "A");
    const std::string text = WriteJsonAnimation(p, strFolderNames{});
    EXPECT_EQ(text, "[{\"animation1Hue\":0,\"animation1Name\":\"\",\"animation2Hue\":0,\"animation2Name\":\"\","
                    "\"frames\":[[],[]],\"id\":1,\"name\":\"A\",\"position\":1,\"timings\":[]}]");
    EXPECT_EQ(text.size(), 140u);
}

TEST(JsonExport, CellsTimingsAndKeyOrder)
{
    cAnimeData p;
    MakeProject(p, 1, "B");
    p.SetValue(AI_CENTER_POSITION, 1);
    PutPicture(p, 0, "a\\b.png", 10);
    PutCell(p, 0, 1, {2, 3, 2, 1, -2, -300, 100, -905, 7});
    PutCell(p, 0, 2, {0, 300, 4, 0, 0, 50, -60, 0, 255});
    strEffect e = FlashEffect(0, 0, 4, 1, 2, 3, 4);
    e.seName = "S\\hit.wav";
    e.seVolume = 50;
    e.sePitch = 150;
    AddEffect(p, e);
    strEffect plain;
    plain.note = "x";
    AddEffect(p, plain);
    EXPECT_EQ(WriteJsonAnimation(p, strFolderNames{}),
              "[{\"animation1Hue\":10,\"animation1Name\":\"b\",\"animation2Hue\":0,\"animation2Name\":\"\","
              "\"frames\":[[[],[102,1,-2,300,-90,1,7,0],[99,0,0,60,0,0,255,3]]],\"id\":1,\"name\":\"B\","
              "\"position\":3,\"timings\":[{\"flashColor\":[1,2,3,4],\"flashDuration\":4,\"flashScope\":2,"
              "\"frame\":0,\"se\":{\"name\":\"hit\",\"pan\":0,\"pitch\":150,\"volume\":50}},"
              "{\"flashColor\":[255,0,0,0],\"flashDuration\":0,\"flashScope\":0,\"frame\":0,\"se\":null}]}]");
}

TEST(JsonExport, PythonReadsTheTextBackIdentically)
{
    if (!HaveProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    cAnimeData p;
    MakeProject(p, 3, "");
    p.SetText(AT_NAME, std::string("炎の剣①"));
    PutPicture(p, 1, std::string("画像\\ソード.png"), 360);
    PutCell(p, 2, 15, {1, 7, 1, -5, 9, 120, 120, 3600, 30});
    strEffect e = FlashEffect(2, 2, 9, 255, 0, 128, 64);
    e.seName = std::string("効果音");
    e.seBalance = 0;
    AddEffect(p, e);
    const std::string text = WriteJsonAnimation(p, strFolderNames{});
    const auto dir = TestFolder("json");
    WriteBytes(dir / "anim.json", text.data(), text.size());
    int code = 0;
    const std::string out = RunScript(dir, "python3", R"PY(
import json, sys
data = json.load(open(sys.argv[1], encoding='utf-8'))
a = data[0]
print(a['name'], a['animation2Name'], a['timings'][0]['se']['name'], a['timings'][0]['se']['pan'],
      a['frames'][2][15], len(a['frames'][2]))
sys.stdout.write(json.dumps(data, sort_keys=True, separators=(',', ':'), ensure_ascii=False))
)PY",
                                      "'" + (dir / "anim.json").string() + "'", code);
    ASSERT_EQ(code, 0) << out;
    EXPECT_EQ(out, "炎の剣① ソード 効果音 -100 [106, -5, 9, 120, 360, 0, 30, 1] 16\n" + text);
}

TEST(JsonImport, CellAndTimingMapping)
{
    cAnimeData p;
    ASSERT_EQ(readJson(p, R"([{"name":"N","position":2,"animation1Name":"F","animation1Hue":400,
        "frames":[[[150,10,20,100,45,1,200,3],[1,2,3,4,5,6,7],[-1,0,0,100,0,0,255,0],[0,0,0,100,0,0,255,2],
                   [],[3.9,"x",null,100,-1.5,0,511,1]]],
        "timings":[{"frame":3,"flashScope":3,"flashDuration":7,"flashColor":[1,2,3,260],
                    "se":{"name":"Hit","pan":-50,"pitch":80,"volume":70}},
                   {"frame":1,"flashScope":0,"se":null},
                   {"frame":2,"flashScope":1,"flashDuration":5,"flashColor":[9,9,9]}]}])"),
              1);
    EXPECT_EQ(Content(p), "name=N center=2\n"
                          "frame 0 interval 0 slots 16\n"
                          "  cell 0: 1 51 4 10 20 -100 100 450 200 100 100 100 100\n"
                          "  cell 3: 0 1 3 0 0 100 100 0 255 100 100 100 100\n"
                          "  cell 5: 0 4 1 0 0 100 100 -10 255 100 100 100 100\n"
                          "picture 0 192 192 360 F\n"
                          "effect 0 1 0 0 0 0 128 128 128 255 100 100 100 [] []\n"
                          "effect 1 2 1 5 0 1 128 128 128 255 100 100 100 [] []\n"
                          "effect 2 3 3 7 0 2 1 2 3 4 70 80 50 [Hit] []\n");
}

TEST(JsonImport, FailuresAndToleratedInput)
{
    const char* bad[] = {
        "",
        "[",
        "[]",
        "{}",
        "[1]",
        R"([{"position":0,"frames":[[]],"timings":[]}])",
        R"([{"name":"a","position":"0","frames":[[]],"timings":[]}])",
        R"([{"name":"a","position":0,"frames":[],"timings":[]}])",
        R"([{"name":"a","position":0,"frames":[[]]}])",
        R"([{"name":"a","position":0,"frames":[[]],"timings":{}}])",
        R"([{"name":"a","position":0,"frames":[{}],"timings":[]}])",
        R"([{"name":"a","position":0,"frames":[[1]],"timings":[]}])",
        R"([{"name":"a","position":0,"frames":[[]],"timings":[1]}])",
    };
    for (const char* text : bad) {
        cAnimeData p;
        EXPECT_EQ(readJson(p, text), -1) << text;
    }
    cAnimeData p;
    // Zero padding after the text, extra elements and unknown keys are accepted.
    EXPECT_EQ(readJson(p, std::string(R"([{"name":"a","position":1e300,"frames":[[]],"timings":[],"x":{}},5])") +
                              std::string(4, '\0')),
              1);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 1);
}

TEST(JsonImport, RoundTrip)
{
    cAnimeData p;
    MakeProject(p, 4, "Round");
    p.SetValue(AI_EDIT_FORMAT, 2);
    PutPicture(p, 0, "One", 90);
    PutPicture(p, 1, "Two", 0);
    PutCell(p, 0, 0, {0, 1, 0, -1024, 1024, 1000, 1000, 3600, 0});
    PutCell(p, 1, 15, {1, 100, 4, 3, -4, -20, 20, -3590, 255});
    PutCell(p, 3, 7, {0, 42, 3, 0, 0, 100, 100, -10, 1});
    AddEffect(p, FlashEffect(0, 2, 255, 0, 255, 1, 2));
    strEffect sound;
    sound.frame = 3;
    sound.seName = "Bow";
    sound.seVolume = 1;
    sound.sePitch = 200;
    sound.seBalance = 0;
    AddEffect(p, sound);
    Cclip_stream s;
    s.Append(WriteJsonAnimation(p, strFolderNames{}));
    cAnimeData back;
    ASSERT_EQ(ReadJsonAnimation(back, s), 1);
    EXPECT_EQ(Content(back), Content(p));
}

} // namespace
