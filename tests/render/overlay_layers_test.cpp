// Canvas overlay layers drawn into the canvas buffer: lines, grid, centre lines,
// neighbouring frames, draft GIF frames and placement, the target picture and the
// order of the whole scene, as pixel grids.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "export/GifFile.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#include "render/Overlay.h"
#include "render/OverlayLines.h"
#include "render/SpriteDrawer.h"

namespace {

constexpr uint32_t kBack = 0xFF000000;

uint32_t px(const cBMP& t, int x, int y)
{
    uint32_t c;
    std::memcpy(&c, t.Row(y) + 4 * x, 4);
    return c;
}

void fill(cBMP& t, uint32_t c)
{
    for (int y = 0; y < t.Height(); ++y)
        for (int x = 0; x < t.Width(); ++x)
            std::memcpy(t.Row(y) + 4 * x, &c, 4);
}

// The target as rows of characters: '.' background, letters from the legend, '?' else.
std::string grid(const cBMP& t, const std::map<uint32_t, char>& legend)
{
    std::string out;
    for (int y = 0; y < t.Height(); ++y) {
        for (int x = 0; x < t.Width(); ++x) {
            const uint32_t c = px(t, x, y);
            auto it = legend.find(c);
            out += c == kBack ? '.' : it != legend.end() ? it->second : '?';
        }
        out += '\n';
    }
    return out;
}

// A one-pattern sheet of w x h opaque pixels of one colour.
std::unique_ptr<cPatternSheet> solidSheet(int w, int h, uint32_t colour)
{
    auto sheet = std::make_unique<cPatternSheet>();
    sheet->Create(w, h, 32);
    sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    fill(*sheet, colour);
    sheet->Build(1, 1, 0);
    return sheet;
}

} // namespace

TEST(OverlayLines, RectsAndLinesClipAndBlend)
{
    cBMP t;
    ASSERT_TRUE(t.Create(6, 4, 32));
    fill(t, kBack);
    FillRect(t, -3, 1, 2, 9, strPen{0x00FF0000, false, 1});
    DrawLine(t, 2, 0, 5, 3, strPen{0x0000FF00, false, 1});
    DrawLine(t, 5, -100, 5, 100000, strPen{0x000000FF, false, 1});
    EXPECT_EQ(grid(t, {{0xFFFF0000, 'r'}, {0xFF00FF00, 'g'}, {0xFF0000FF, 'b'}}), "..g..b\n"
                                                                                  "rr.g.b\n"
                                                                                  "rr..gb\n"
                                                                                  "rr...b\n");
    // Half-transparent pens blend each pixel once.
    FillRect(t, 0, 0, 1, 1, strPen{0x80FFFFFF, true, 1});
    EXPECT_EQ(px(t, 0, 0), 0xFF808080u);
    DrawLine(t, 0, 0, 0, 0, strPen{0xFFFFFFFF, true, 3}); // a wide point, clipped at the corner
    EXPECT_EQ(px(t, 1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(px(t, 2, 2), kBack);
}

TEST(OverlayLayers, GridAndCentreLines)
{
    cBMP t;
    ASSERT_TRUE(t.Create(11, 9, 32));
    fill(t, kBack);
    const strCanvasView view{1, 5, 4}; // animation origin at pixel (5, 4)
    // Columns at x = -4, 0 and 4 (pixels 1, 5, 9), rows at y = -4, 0, 4 (pixels 0, 4, 8).
    DrawGrid(t, view, 4, 0x404040, 1);
    EXPECT_EQ(grid(t, {{0xFF404040, '#'}}), "###########\n"
                                            ".#...#...#.\n"
                                            ".#...#...#.\n"
                                            ".#...#...#.\n"
                                            "###########\n"
                                            ".#...#...#.\n"
                                            ".#...#...#.\n"
                                            ".#...#...#.\n"
                                            "###########\n");

    fill(t, kBack);
    DrawCenterLines(t, view, 6, 4, 0xFF88FF88, 1);
    EXPECT_EQ(grid(t, {{0xFF88FF88, 'c'}}), "...........\n"
                                            "...........\n"
                                            "..ccccccc..\n"
                                            "..c..c..c..\n"
                                            "..ccccccc..\n"
                                            "..c..c..c..\n"
                                            "..ccccccc..\n"
                                            "...........\n"
                                            "...........\n");
    // The setting's alpha blends every covered pixel exactly once.
    fill(t, kBack);
    DrawCenterLines(t, view, 6, 4, 0x80FFFFFF, 1);
    EXPECT_EQ(grid(t, {{0xFF808080, 'c'}}).find('?'), std::string::npos);
}

TEST(OverlayDraft, FramesFollowSpeedAndOffset)
{
    CGIFFile gif;
    for (int i = 0; i < 3; ++i) {
        auto frame = std::make_unique<CGIFLocal>();
        frame->image.Create(2, 2, 32);
        fill(frame->image, 0xFF000000u | uint32_t(0x10 * (i + 1)));
        frame->delay = 10;
        gif.AddFrame(std::move(frame));
    }
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(gif.Encode(CGIFFile::kNoBackground, bytes));
    const std::string path = ::testing::TempDir() + "overlay_draft.gif";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    cDraftGif draft;
    EXPECT_FALSE(draft.Load(path + ".missing"));
    EXPECT_TRUE(draft.Empty());
    ASSERT_TRUE(draft.Load(path));
    ASSERT_EQ(draft.FrameCount(), 3);
    const struct {
        int frame, speed, offset, expected;
    } rows[] = {{0, 50, 0, 0},  {1, 50, 0, 0},  {2, 50, 0, 1},  {3, 50, 0, 1},  {9, 50, 0, 2},
                {2, 100, 0, 2}, {2, 100, 1, 1}, {0, 100, 5, 0}, {1, 300, 0, 2}, {-1, 100, 0, 0}};
    for (const auto& r : rows)
        EXPECT_EQ(draft.FrameFor(r.frame, r.speed, r.offset), r.expected) << r.frame << " " << r.speed;
    ASSERT_NE(draft.Image(1), nullptr);
    EXPECT_EQ(px(*draft.Image(1), 0, 0) & 0xFFFFFF, 0x20u);
    std::remove(path.c_str());

    // Drawn at (1, 0) doubled and at zoom 1: a 4 x 4 block replacing what lies under it.
    cBMP t, image;
    ASSERT_TRUE(t.Create(8, 6, 32));
    fill(t, 0xFF123456);
    ASSERT_TRUE(image.Create(2, 2, 32));
    fill(image, 0x00ABCDEF); // alpha 0: drawn anyway
    DrawDraftGif(t, strCanvasView{1, 4, 3}, image, strDraftPlacement{1, 0, 2, 2, 0, 0});
    EXPECT_EQ(grid(t, {{0x00ABCDEF, 'g'}, {0xFF123456, '-'}}), "--------\n"
                                                               "---gggg-\n"
                                                               "---gggg-\n"
                                                               "---gggg-\n"
                                                               "---gggg-\n"
                                                               "--------\n");
}

class OverlayScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        cSettings& s = settings;
        s.VLineFlag = false; // no grid or centre lines unless a test asks
        s.VTargetFlag = s.VGifFlag = false;
        s.CGround = 0;
        drawer.SetOptions(RenderOptionsOf(s));
        drawer.PutSheet(solidSheet(2, 2, 0xFFFF0000), 0);
        project.Reset(-1, 4, -1, -1);
        project.InsertFrames(0, 3);
        ASSERT_TRUE(target.Create(10, 6, 32));
    }
    void Store(int f, int k, int x, int y)
    {
        strCell c = strCell::New();
        c.x = int16_t(x);
        c.y = int16_t(y);
        ASSERT_TRUE(project.SetCell(f, k, &c));
    }
    std::string Draw(int frame, const std::map<uint32_t, char>& legend)
    {
        drawer.SetOptions(RenderOptionsOf(settings));
        EXPECT_TRUE(drawer.BeginCanvas(target, 0, 0, 1));
        strCanvasScene scene;
        scene.project = &project;
        scene.frame = frame;
        scene.settings = &settings;
        DrawCanvasScene(drawer, target, scene);
        drawer.Present();
        return grid(target, legend);
    }
    cSettings settings;
    cSpriteDrawer drawer;
    cAnimeData project;
    cBMP target;
};

TEST_F(OverlayScene, NeighbourSilhouettesUnderTheCurrentCells)
{
    settings.VShadowFlag = true;
    settings.CBackShadow = 0xFF0000FF;
    settings.CNextShadow = 0xFF00FF00;
    Store(0, 0, -3, 0);
    Store(1, 0, 0, 0);
    Store(2, 0, 2, 0);
    Store(2, 1, 0, 0); // under the current cell: hidden by it
    const std::map<uint32_t, char> legend = {{0xFFFF0000, 'R'}, {0xFF0000FF, 'b'}, {0xFF00FF00, 'n'}};
    EXPECT_EQ(Draw(1, legend), "..........\n"
                               "..........\n"
                               ".bb.RRnn..\n"
                               ".bb.RRnn..\n"
                               "..........\n"
                               "..........\n");
    // Frame 0 has no previous frame; the last frame has no next one.
    EXPECT_EQ(Draw(0, legend), "..........\n"
                               "..........\n"
                               ".RR.nn....\n"
                               ".RR.nn....\n"
                               "..........\n"
                               "..........\n");
    EXPECT_EQ(Draw(2, legend), "..........\n"
                               "..........\n"
                               "....RRRR..\n"
                               "....RRRR..\n"
                               "..........\n"
                               "..........\n");
    // Half-transparent shadows take the setting's alpha as their opacity.
    settings.CBackShadow = 0x800000FF;
    Draw(1, legend);
    EXPECT_EQ(px(target, 2, 2) & 0xFFFFFF, 0x000080u);
}

TEST_F(OverlayScene, OnionSkinReachesSeveralFramesFadingWithDistance)
{
    settings.VShadowFlag = true;
    settings.VNextFlag = false;
    settings.CBackShadow = 0xFF0000FF;
    project.InsertFrames(3, 1);
    Store(0, 0, -3, 0); // two frames back
    Store(1, 0, 2, 0);  // one frame back
    Draw(2, {});
    EXPECT_EQ(px(target, 1, 2), kBack) << "one neighbour by default";
    EXPECT_EQ(px(target, 6, 2), 0xFF0000FFu);
    settings.OnionFrames = 2;
    Draw(2, {});
    EXPECT_EQ(px(target, 6, 2), 0xFF0000FFu) << "the nearest neighbour at full strength";
    const uint32_t blue = px(target, 1, 2) & 0xFF;
    EXPECT_GT(blue, 0x60u);
    EXPECT_LT(blue, 0xA0u) << "two frames back at half strength";
}

TEST(Overlay, OnionColourScalesTheAlphaWithTheDistance)
{
    const struct {
        uint32_t argb;
        int distance, reach;
        uint32_t expected;
    } rows[] = {
        {0x880000FF, 1, 1, 0x880000FF}, {0x880000FF, 1, 3, 0x880000FF}, {0x880000FF, 2, 3, 0x5A0000FF},
        {0x880000FF, 3, 3, 0x2D0000FF}, {0xFF00FF00, 4, 4, 0x3F00FF00},
    };
    for (const auto& r : rows)
        EXPECT_EQ(OnionColour(r.argb, r.distance, r.reach), r.expected) << r.distance << "/" << r.reach;
}

TEST_F(OverlayScene, NeighbourOutlinesWithoutShadowsAndNothingWhenOff)
{
    drawer.PutSheet(solidSheet(4, 4, 0xFFFF0000), 0);
    settings.VShadowFlag = false;
    settings.CNextShadow = 0x8800FF00;
    settings.VBackFlag = false;
    Store(1, 0, 0, 0);
    project.SetCell(1, 0, nullptr);
    Store(2, 0, 0, 0);
    EXPECT_EQ(Draw(1, {{0xFF00FF00, 'n'}}), "..........\n"
                                            "...nnnnn..\n"
                                            "...n...n..\n"
                                            "...n...n..\n"
                                            "...n...n..\n"
                                            "...nnnnn..\n");
    settings.VNextFlag = false;
    EXPECT_EQ(Draw(1, {}).find_first_not_of(".\n"), std::string::npos);
}

TEST_F(OverlayScene, DisplayedCellsReplaceStoredOnesAndPlayingShowsTheFlashOverCellsAndTarget)
{
    Store(1, 0, 0, 0);
    EXPECT_TRUE(drawer.BeginCanvas(target, 0, 0, 1));
    strCanvasScene scene;
    scene.project = &project;
    scene.frame = 1;
    scene.settings = &settings;
    scene.displayedCell = [](int k, strCell& out) {
        if (k != 0)
            return false;
        out = strCell::New();
        out.x = 3;
        return true;
    };
    DrawCanvasScene(drawer, target, scene);
    EXPECT_EQ(px(target, 7, 2), 0xFFFF0000u);
    EXPECT_EQ(px(target, 4, 2), kBack);

    // Playing: a full-strength white screen flash covers the cell and the target picture.
    drawer.PutSheet(solidSheet(2, 2, 0xFF0000FF), kTargetSheet);
    settings.VTargetFlag = true;
    strFlashState flash;
    flash.Start(255, 255, 255, 255, 4, 0, 0);
    scene.playing = true;
    scene.screenFlash = &flash;
    EXPECT_TRUE(drawer.BeginCanvas(target, 0, 0, 1));
    DrawCanvasScene(drawer, target, scene);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(px(target, x, 2), 0xFFFFFFFFu) << x;
}

TEST_F(OverlayScene, TargetPictureSitsAtItsOffsetAndAMissingOneDrawsNothing)
{
    settings.VTargetFlag = true;
    settings.TargetPostX = -3;
    EXPECT_FALSE(drawer.LoadSingleSheet(::testing::TempDir() + "no_such_target.png", kTargetSheet));
    EXPECT_EQ(Draw(0, {}).find_first_not_of(".\n"), std::string::npos);

    drawer.PutSheet(solidSheet(2, 4, 0xFF0000FF), kTargetSheet);
    settings.TargetOpacity = 255;
    project.SetValue(AI_CENTER_POSITION, 2); // 下: moved up by half its height
    EXPECT_EQ(Draw(0, {{0xFF0000FF, 't'}}), ".tt.......\n"
                                            ".tt.......\n"
                                            ".tt.......\n"
                                            "..........\n"
                                            "..........\n"
                                            "..........\n");
    const strCanvasPoint at = TargetPosition(&project, RenderOptionsOf(settings), 2, 4);
    EXPECT_FLOAT_EQ(at.x, -3);
    EXPECT_FLOAT_EQ(at.y, -2);
}
