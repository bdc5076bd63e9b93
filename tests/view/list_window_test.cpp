// The list and palette windows' rules: table texts, edits stored back in frame
// order, picture loading, the palette's pattern layout and placing a dragged
// pattern.

#include "support/EditFixture.h"

#include "render/SpriteDrawer.h"
#include "view/ListWindow.h"
#include "view/PaletteView.h"

#include <filesystem>

namespace {

class ListWindowTest : public EditTest {
protected:
    strEffect EffectAt(int frame)
    {
        strEffect e;
        e.frame = uint16_t(frame);
        e.flags = EF_NOTE;
        e.note = "n" + std::to_string(frame);
        return e;
    }
    std::vector<int> EffectFrames() const
    {
        std::vector<int> frames;
        for (int i = 0; p.GetEffect(i); ++i)
            frames.push_back(p.GetEffect(i)->frame);
        return frames;
    }
};

TEST_F(ListWindowTest, PictureTableTexts)
{
    strPicture pic;
    pic.divX = 5, pic.divY = 3, pic.hue = 45;
    pic.path = "Graphics\\Animations\\fire.png";
    ASSERT_TRUE(p.SetPicture(pic, 7));
    p.SetValue(AI_DIVISION_FORMAT, 1);
    EXPECT_EQ(PictureRowCount(p), p.PictureCapacity());
    const std::vector<std::string> expected = {"07", "fire.png", "5,3", "45", "幅を指定"};
    for (int c = 0; c < PC_COLUMNS; ++c) {
        EXPECT_EQ(PictureCellText(p, 7, c), expected[size_t(c)]) << c;
        EXPECT_EQ(PictureCellText(p, 6, c), "") << "empty slot, column " << c;
    }
}

TEST_F(ListWindowTest, EffectTableTextsAndTheAddingRow)
{
    EXPECT_EQ(EffectRowCount(p), 1) << "no effects: one empty row";
    strEffect e;
    e.frame = 12;
    e.flags = EF_SOUND | EF_FLASH | EF_NOTE;
    e.seName = "Audio\\SE\\hit.ogg";
    e.seVolume = 80, e.sePitch = 120, e.seBalance = 100;
    e.flashScope = 1, e.flashBlend = 2;
    e.flashRed = 1, e.flashGreen = 2, e.flashBlue = 3, e.flashStrength = 4, e.flashDuration = 5;
    e.note = "HIT";
    ASSERT_TRUE(p.InsertEffect(e, nullptr));
    EXPECT_EQ(EffectRowCount(p), 2);
    const std::vector<std::string> expected = {"12", "hit.ogg", "80,120,100", "[対象,減算](1,2,3,4)@5", "\"HIT\""};
    for (int c = 0; c < EC_COLUMNS; ++c) {
        EXPECT_EQ(EffectCellText(p, 0, c), expected[size_t(c)]) << c;
        EXPECT_EQ(EffectCellText(p, 1, c), "") << c;
    }
    strEffect quiet;
    quiet.frame = 3;
    quiet.flags = EF_NOTE;
    quiet.note = "x";
    ASSERT_TRUE(p.InsertEffect(quiet, nullptr));
    EXPECT_EQ(EffectCellText(p, 0, EC_SE), "") << "no sound: no sound texts";
    EXPECT_EQ(EffectCellText(p, 0, EC_FLASH), "");
}

TEST_F(ListWindowTest, EditedEffectsMoveToTheirFramePlace)
{
    for (int f : {2, 9})
        ASSERT_TRUE(p.InsertEffect(EffectAt(f), nullptr));
    strEffect e = EffectForSlot(p, 1);
    e.frame = 1;
    EXPECT_EQ(StoreEffect(p, 1, e), 0) << "frame 9 -> 1 moves to the top";
    EXPECT_EQ(EffectFrames(), (std::vector<int>{1, 2}));

    const int slot = FirstEmptyEffectSlot(p);
    EXPECT_EQ(slot, 2);
    EXPECT_EQ(StoreEffect(p, slot, EffectAt(7)), 2);
    EXPECT_EQ(StoreEffect(p, FirstEmptyEffectSlot(p), EffectAt(2)), 2) << "after the equal frame";
    EXPECT_EQ(EffectFrames(), (std::vector<int>{1, 2, 2, 7}));
}

TEST_F(ListWindowTest, StoredEffectsAreValidated)
{
    strEffect e;
    e.frame = 60000;
    e.flags = EF_SOUND; // but no name
    e.seVolume = 7;
    const int at = StoreEffect(p, 0, e);
    ASSERT_GE(at, 0);
    EXPECT_EQ(p.GetEffect(at)->frame, p.FrameCapacity() - 1);
    EXPECT_EQ(p.GetEffect(at)->flags & EF_SOUND, 0);
    EXPECT_EQ(p.GetEffect(at)->seVolume, 100);
}

TEST_F(ListWindowTest, EmptyPictureSlotsStartWithTheDefaultDivision)
{
    strEditOptions options;
    options.newPictureDivX = 4;
    options.newPictureDivY = 2;
    const strPicture fresh = PictureForSlot(p, 3, options);
    EXPECT_EQ(fresh.divX, 4);
    EXPECT_EQ(fresh.divY, 2);
    EXPECT_EQ(FirstEmptyPictureSlot(p), 0);
    strPicture pic;
    for (int i = 0; i < p.PictureCapacity(); ++i)
        p.SetPicture(pic, i);
    EXPECT_EQ(FirstEmptyPictureSlot(p), -1) << "all slots used: a dropped image goes nowhere";
}

TEST_F(ListWindowTest, StoringAPictureLoadsItsSheetOrReportsThePath)
{
    cSpriteDrawer drawer;
    const std::string folder = std::string(MEVKO_SOURCE_DIR) + "/examples/Data";
    p.SetText(AT_WORK_FOLDER, folder);
    std::string image;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder + "/BattleEffect"))
        if (entry.path().extension() == ".png") {
            image = entry.path().string();
            break;
        }
    ASSERT_FALSE(image.empty());
    strPicture pic;
    pic.path = image;
    pic.divX = 2;
    EXPECT_TRUE(StorePicture(p, 4, pic, drawer, status));
    ASSERT_NE(drawer.Sheet(4), nullptr);
    EXPECT_TRUE(drawer.Sheet(4)->IsReady());
    EXPECT_TRUE(ReloadPicture(p, 4, drawer, status));
    EXPECT_EQ(status.last, "再読込が完了 : 4");

    pic.path = "missing\\none.png";
    EXPECT_FALSE(StorePicture(p, 5, pic, drawer, status));
    EXPECT_EQ(status.last, "ファイルを開けませんでした。: missing/none.png");
    EXPECT_EQ(p.GetPicture(5)->path, "missing\\none.png") << "the entry is stored anyway";

    ASSERT_TRUE(p.DeletePicture(4));
    SyncPictureSheet(p, 4, drawer);
    EXPECT_EQ(drawer.Sheet(4), nullptr);
    EXPECT_FALSE(ReloadPicture(p, 4, drawer, status));
    EXPECT_TRUE(IsTimeFailure(status.last));

    // Storing is one undo step; after undo and redo the sheets follow the pictures.
    history.SetCapacity(-1);
    pic.path = image;
    ASSERT_TRUE(StorePicture(p, 4, pic, drawer, status));
    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    EXPECT_EQ(p.GetPicture(4), nullptr);
    SyncPictureSheets(p, drawer);
    EXPECT_EQ(drawer.Sheet(4), nullptr);
    ASSERT_TRUE(history.Restore(p, RESTORE_REDO));
    SyncPictureSheets(p, drawer);
    ASSERT_NE(drawer.Sheet(4), nullptr);
    EXPECT_TRUE(drawer.Sheet(4)->IsReady());
}

TEST(PaletteGeometry, ContentFitsTheSheetAndTheClientAtEveryZoom)
{
    strPaletteGeometry g;
    g.patternW = 10, g.patternH = 20, g.columns = 3, g.count = 7; // 30 × 60
    const struct {
        int w, h;
        double factor, width, height;
    } rows[] = {{100, 50, 2.0, 50, 60}, {100, 50, 4.0, 30, 60}, {10, 10, 0.25, 40, 60}, {0, 0, 1.0, 30, 60}};
    for (const auto& r : rows) {
        double w = 0, h = 0;
        g.ContentSize(r.w, r.h, r.factor, w, h);
        EXPECT_DOUBLE_EQ(w, r.width) << r.factor;
        EXPECT_DOUBLE_EQ(h, r.height) << r.factor;
    }
}

TEST(PaletteGeometry, GridAndVerticalLayoutsAndHits)
{
    strPaletteGeometry g;
    g.patternW = 10, g.patternH = 20, g.columns = 3, g.count = 7;
    int x, y;
    g.PatternPos(4, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(g.PatternAt(15, 25), 4);
    EXPECT_EQ(g.PatternAt(5, 45), 6);
    EXPECT_EQ(g.PatternAt(15, 45), -1) << "past the last pattern";
    EXPECT_EQ(g.PatternAt(35, 5), -1) << "right of the grid";
    EXPECT_EQ(g.PatternAt(-1, 5), -1);
    EXPECT_EQ(g.Width(), 30);
    EXPECT_EQ(g.Height(), 60);
    g.vertical = true;
    g.PatternPos(4, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 80);
    EXPECT_EQ(g.PatternAt(5, 85), 4);
    EXPECT_EQ(g.PatternAt(15, 85), -1);
    EXPECT_EQ(g.Height(), 140);
    EXPECT_EQ(ClampPalettePattern(9, 7), 7);
    EXPECT_EQ(ClampPalettePattern(0, 7), 1);
    EXPECT_EQ(ClampPalettePattern(3, 0), 1);
}

TEST_F(ListWindowTest, PaletteTabsCoverTheUsedPictureSlots)
{
    EXPECT_EQ(PaletteTabCount(p), 1);
    strPicture pic;
    p.SetPicture(pic, 6);
    EXPECT_EQ(PaletteTabCount(p), 7);
}

TEST_F(ListWindowTest, DroppingOnEmptySpaceCreatesACellAndOnACellReskinsIt)
{
    Frames(2);
    Store(1, 0, CellXY(0, 0));
    int current = 1;
    EXPECT_EQ(PaletteDrop(p, current, messages, 3, 5, 40, -20, -1), 1);
    const strCell* c = p.GetCell(1, 1);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->x, 40);
    EXPECT_EQ(c->y, -20);
    EXPECT_EQ(c->picture, 3);
    EXPECT_EQ(c->pattern, 5);
    EXPECT_EQ(c->opacity, 255);
    EXPECT_EQ(history.UndoCount(), 1);

    strCell keep = CellXY(7, 8);
    keep.angle = 90;
    Store(1, 0, keep);
    EXPECT_EQ(PaletteDrop(p, current, messages, 9, 2, 500, 500, 0), 0);
    strCell expected = keep;
    expected.picture = 9;
    expected.pattern = 2;
    EXPECT_EQ(*p.GetCell(1, 0), expected) << "only picture and pattern change";
    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    EXPECT_EQ(*p.GetCell(1, 0), keep);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ListWindowTest, DropHonoursFixedPicturesAndAFullFrame)
{
    Frames(1, 4);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p.SetFixPicture(0, 1);
    p.SetFixPicture(1, 2);
    p.SetFixPicture(2, 2);
    p.SetFixPicture(3, 1);
    int current = 0;
    EXPECT_EQ(PaletteDrop(p, current, messages, 2, 1, 0, 0, -1), 1) << "the first slot fixed to picture 2";
    EXPECT_EQ(PaletteDropSlot(p, 0, 2, 1), 1) << "a hit cell is re-skinned whatever its fixed picture";
    EXPECT_EQ(PaletteDropSlot(p, 0, 2, 3), 2) << "an empty hit slot falls back to the free slot";
    EXPECT_EQ(PaletteDrop(p, current, messages, 2, 1, 0, 0, -1), 2);
    EXPECT_EQ(PaletteDrop(p, current, messages, 2, 1, 0, 0, -1), -1) << "no free slot: nothing happens";
    EXPECT_EQ(p.GetCell(0, 0), nullptr);
    EXPECT_EQ(p.GetCell(0, 3), nullptr);
}

TEST_F(ListWindowTest, DropOnAMissingFrameRunsTheGuard)
{
    Frames(3);
    ASSERT_TRUE(p.SetFrame(2, nullptr));
    int current = 2;
    EXPECT_EQ(PaletteDrop(p, current, messages, 0, 1, 0, 0, -1), -1);
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(current, 1);
}

} // namespace
