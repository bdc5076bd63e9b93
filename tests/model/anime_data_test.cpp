#include "model/AnimeData.h"

#include "model/Restore.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

namespace {

// Keeps every committed group; Forget drops them.
struct cGroupSink : iChangeSink {
    bool KeepsRecords() const override { return true; }
    bool Commit(std::unique_ptr<cRestoreObj> group) override
    {
        groups.push_back(std::move(group));
        return true;
    }
    void Forget() override { groups.clear(); }
    std::vector<std::unique_ptr<cRestoreObj>> groups;
};

class AnimeDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.SetChangeSink(&sink);
        p.NewProject("");
    }
    cGroupSink sink;
    cAnimeData p;
};

strCell cellWith(int index, int value)
{
    strCell c = strCell::New();
    c.Set(index, value);
    return c;
}

TEST_F(AnimeDataTest, NewProjectShape)
{
    EXPECT_EQ(p.FrameCapacity(), 2024);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 1);
    EXPECT_EQ(p.PictureCapacity(), 255);
    EXPECT_EQ(p.EffectCapacity(), 1023);
    EXPECT_EQ(p.CellCount(), 16);
    EXPECT_EQ(p.GetFrame(0)->cells.Size(), 16);
    EXPECT_EQ(p.FixPictures().size(), 16u);
    EXPECT_TRUE(p.untitled);
    EXPECT_FALSE(p.modified);
    EXPECT_EQ(p.Text(AT_FILE_NAME), "newfile.txt");
    // The new-project settings land in the items.
    EXPECT_EQ(p.GetValue(AI_EDIT_FORMAT), 2);
    EXPECT_EQ(p.GetValue(AI_SAVE_FORMAT), 1);
    EXPECT_EQ(p.GetValue(AI_FIX_PICTURE_PER_CELL), 1);
    EXPECT_EQ(p.GetValue(AI_BASE_INTERVAL), 1);
}

TEST_F(AnimeDataTest, ResetCapacitiesAndCellCountBounds)
{
    struct Row {
        int frames, cells, pictures, effects, expFrames, expCells, expPictures, expEffects;
    };
    const Row rows[] = {
        {-1, -1, -1, -1, 2024, 16, 255, 1023},
        {10, 3, 10, 10, 2024, 3, 255, 1023},
        {99999, 999, 5000, 5000, 2024, 255, 2024, 2024},
        {0, 0, 300, 1500, 2024, 16, 300, 1500},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(p.Reset(r.frames, r.cells, r.pictures, r.effects));
        EXPECT_EQ(p.FrameCapacity(), r.expFrames);
        EXPECT_EQ(p.CellCount(), r.expCells);
        EXPECT_EQ(p.PictureCapacity(), r.expPictures);
        EXPECT_EQ(p.EffectCapacity(), r.expEffects);
        EXPECT_EQ(p.GetValue(AI_FRAMES), 0);
        EXPECT_EQ(int(p.FixPictures().size()), r.expCells);
    }
    strProjectDefaults defaults;
    defaults.cellCount = 5000; // a config value out of range still gives a usable count
    p.SetDefaults(defaults);
    p.Reset(-1, -1, -1, -1);
    EXPECT_EQ(p.CellCount(), 255);
}

TEST_F(AnimeDataTest, ItemsAndTexts)
{
    EXPECT_TRUE(p.SetValue(AI_FIX_PICTURE_PER_CELL, 7));
    EXPECT_EQ(p.GetValue(AI_FIX_PICTURE_PER_CELL), 1);
    EXPECT_TRUE(p.SetValue(AI_TOTAL_INTERVAL, 12345)); // stored without clamping
    EXPECT_EQ(p.GetValue(AI_TOTAL_INTERVAL), 12345);
    EXPECT_FALSE(p.SetValue(AI_FRAMES, 3));
    EXPECT_FALSE(p.SetValue(42, 3));
    EXPECT_EQ(p.GetValue(42), 0);
    EXPECT_EQ(p.GetLimit(AI_TOTAL_INTERVAL), 2024 * 255);
    EXPECT_EQ(p.GetLimit(AI_SAVE_FORMAT), 2);
    std::string s;
    EXPECT_FALSE(p.GetText(AT_NAME, s));
    EXPECT_TRUE(p.SetText(AT_NAME, "fire"));
    EXPECT_TRUE(p.GetText(AT_NAME, s));
    EXPECT_EQ(s, "fire");
    EXPECT_FALSE(p.SetText(20, "x"));
}

TEST_F(AnimeDataTest, CellValidationClampsEveryField)
{
    p.SetValue(AI_EDIT_FORMAT, 0);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
    struct Row {
        int index, stored, read;
    };
    const Row rows[] = {
        {CP_PATTERN, 0, 1},       {CP_BLEND, 9, 4},           {CP_X, 5000, 1024},       {CP_Y, -5000, -1024},
        {CP_SCALE_X, 2000, 1000}, {CP_SCALE_Y, -2000, -1000}, {CP_ANGLE, -4000, -3600}, {CP_ANGLE, 4000, 3600},
        {CP_RED, 250, 200},       {CP_GREEN, 201, 200},       {CP_BLUE, 255, 200},      {CP_SATURATION, 220, 200},
        {CP_OPACITY, 255, 255},   {CP_PICTURE, 255, 255},
    };
    for (const Row& r : rows) {
        strCell c = cellWith(r.index, r.stored);
        ASSERT_TRUE(p.SetCell(0, 1, &c)) << r.index;
        EXPECT_EQ(p.GetCell(0, 1)->Get(r.index), r.read) << "parameter " << r.index;
    }
}

TEST_F(AnimeDataTest, EditFormats)
{
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
    struct Row {
        int format, sx, sy, angle, expSx, expSy, expAngle;
    };
    const Row rows[] = {
        {0, -50, 80, 300, -50, 80, 300}, {1, -50, 80, 300, 100, 100, 0},   {2, -50, 80, 300, -80, 80, 300},
        {2, 50, -80, 300, 80, -80, 300}, {3, -50, 80, 300, -50, -50, 300}, {4, -50, 80, 300, -50, 80, 0},
    };
    for (const Row& r : rows) {
        p.SetValue(AI_EDIT_FORMAT, r.format);
        strCell c = strCell::New();
        c.scaleX = int16_t(r.sx);
        c.scaleY = int16_t(r.sy);
        c.angle = int16_t(r.angle);
        p.SetCell(0, 2, &c);
        const strCell* s = p.GetCell(0, 2);
        EXPECT_EQ(s->scaleX, r.expSx) << "format " << r.format;
        EXPECT_EQ(s->scaleY, r.expSy) << "format " << r.format;
        EXPECT_EQ(s->angle, r.expAngle) << "format " << r.format;
    }
}

TEST_F(AnimeDataTest, FixedPicturePerCell)
{
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    strCell c = cellWith(CP_PICTURE, 7);
    p.SetCell(0, 4, &c);
    ASSERT_TRUE(p.SetFixPicture(3, 2));
    p.SetCell(0, 3, &c);
    EXPECT_EQ(p.GetCell(0, 3)->picture, 2);
    EXPECT_EQ(p.GetCell(0, 4)->picture, 0);
    // Changing the table rewrites that cell number in every frame, past empty slots.
    p.InsertFrames(1, 2);
    p.SetCell(2, 3, &c);
    p.ClearFrames(1, 1);
    ASSERT_TRUE(p.SetFixPicture(3, 5));
    EXPECT_EQ(p.GetCell(0, 3)->picture, 5);
    EXPECT_EQ(p.GetCell(2, 3)->picture, 5);
    EXPECT_FALSE(p.SetFixPicture(3, 5));  // unchanged
    EXPECT_FALSE(p.SetFixPicture(16, 1)); // out of range
    EXPECT_EQ(p.GetFixPicture(99), 0);
}

TEST_F(AnimeDataTest, EffectValidation)
{
    strEffect e;
    e.frame = 5000;
    e.flashBlend = 9;
    e.flashScope = 9;
    e.flashRed = 1;
    e.seVolume = 0;
    e.note = std::string(300, 'n');
    p.ValidateEffect(e);
    EXPECT_EQ(e.flags, EF_NOTE);
    EXPECT_EQ(e.frame, 2023);
    EXPECT_EQ(e.note.size(), 254u);
    EXPECT_EQ(e.flashRed, 128); // no flash: defaults
    EXPECT_EQ(e.flashBlend, 0);
    EXPECT_EQ(e.seVolume, 100);

    strEffect f;
    f.flashDuration = 300;
    f.flashBlend = 9;
    f.flashScope = 7;
    f.seName = "a.wav";
    f.seVolume = 0;
    f.sePitch = 500;
    f.seBalance = 300;
    p.ValidateEffect(f);
    EXPECT_EQ(f.flags, EF_FLASH | EF_SOUND);
    EXPECT_EQ(f.flashDuration, 255);
    EXPECT_EQ(f.flashBlend, 4);
    EXPECT_EQ(f.flashScope, 2);
    EXPECT_EQ(f.seVolume, 1);
    EXPECT_EQ(f.sePitch, 200);
    EXPECT_EQ(f.seBalance, 200);

    strEffect empty;
    empty.flags = 7;
    p.ValidateEffect(empty);
    EXPECT_EQ(empty.flags, 0);
}

TEST_F(AnimeDataTest, EffectsStaySortedAndDense)
{
    auto effectAt = [](int frame, const char* note) {
        strEffect e;
        e.frame = uint16_t(frame);
        e.note = note;
        return e;
    };
    int at = -1;
    p.InsertEffect(effectAt(2, "a"), &at);
    p.InsertEffect(effectAt(9, "c"), &at);
    p.InsertEffect(effectAt(5, "b"), &at);
    EXPECT_EQ(at, 1);
    p.InsertEffect(effectAt(5, "new"), &at);
    EXPECT_EQ(at, 2); // after the existing frame-5 effect
    const char* order[] = {"a", "b", "new", "c"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.GetEffect(i)->note, order[i]);
    EXPECT_FALSE(p.DeleteEffect(1, false)); // deleted, not compacted
    EXPECT_EQ(p.GetEffect(1), nullptr);
    EXPECT_TRUE(p.DeleteEffect(0, true));
    EXPECT_EQ(p.GetEffect(0)->note, "new");
    EXPECT_EQ(p.GetEffect(1)->note, "c");
    EXPECT_EQ(p.GetValue(AI_EFFECTS), 2);
}

TEST_F(AnimeDataTest, FullEffectArrayLosesItsLast)
{
    for (int i = 0; i < p.EffectCapacity(); ++i) {
        strEffect e;
        e.frame = uint16_t(10 + i);
        p.SetEffect(e, i);
    }
    strEffect first;
    first.frame = 0;
    int at = -1;
    p.InsertEffect(first, &at);
    EXPECT_EQ(at, 0);
    EXPECT_EQ(p.GetValue(AI_EFFECTS), p.EffectCapacity());
    EXPECT_EQ(p.GetEffect(p.EffectCapacity() - 1)->frame, 10 + p.EffectCapacity() - 2);
}

TEST_F(AnimeDataTest, InsertFramesMovesPointersAndDropsPastTheEnd)
{
    ASSERT_TRUE(p.InsertFrames(1, 2022));
    ASSERT_EQ(p.GetValue(AI_FRAMES), 2023);
    p.SetInterval(2022, 7);
    const strFrame* first = p.GetFrame(0);
    ASSERT_TRUE(p.InsertFrames(0, 1));
    EXPECT_EQ(p.GetValue(AI_FRAMES), 2024);
    EXPECT_EQ(p.GetFrame(1), first); // moved, not copied
    EXPECT_EQ(p.GetFrame(2023)->interval, 7);
    ASSERT_TRUE(p.InsertFrames(0, 1)); // full: the last frame is lost
    EXPECT_EQ(p.GetValue(AI_FRAMES), 2024);
    EXPECT_EQ(p.GetFrame(2023)->interval, 0);
    EXPECT_FALSE(p.InsertFrames(0, 0));
    EXPECT_FALSE(p.InsertFrames(2024, 1));
}

TEST_F(AnimeDataTest, DeleteFramesSlidesAndNeverTouchesMissingFrames)
{
    p.InsertFrames(1, 4);
    for (int i = 0; i < 5; ++i)
        p.SetInterval(i, i + 1);
    ASSERT_TRUE(p.DeleteFrames(1, 2, true));
    ASSERT_EQ(p.GetValue(AI_FRAMES), 3);
    EXPECT_EQ(p.GetFrame(0)->interval, 1);
    EXPECT_EQ(p.GetFrame(1)->interval, 4);
    EXPECT_EQ(p.GetFrame(2)->interval, 5);
    EXPECT_FALSE(p.DeleteFrames(10, 5, true)); // nothing there
    ASSERT_TRUE(p.DeleteFrames(0, 1, false));  // leaves a hole
    EXPECT_EQ(p.GetFrame(0), nullptr);
    EXPECT_EQ(p.LastUsedIndex(AI_FRAMES), 2);
    EXPECT_TRUE(p.CompactFrames());
    EXPECT_EQ(p.GetFrame(0)->interval, 4);
    EXPECT_EQ(p.GetFrame(1)->interval, 5);
}

TEST_F(AnimeDataTest, SlideFramesBlockRules)
{
    p.InsertFrames(1, 5);
    for (int i = 0; i < 6; ++i)
        p.SetInterval(i, i + 1);
    // A negative count takes the block that ends before `from`.
    ASSERT_TRUE(p.SlideFrames(3, -2, 10));
    EXPECT_EQ(p.GetFrame(1), nullptr);
    EXPECT_EQ(p.GetFrame(2), nullptr);
    EXPECT_EQ(p.GetFrame(10)->interval, 2);
    EXPECT_EQ(p.GetFrame(11)->interval, 3);
    EXPECT_FALSE(p.SlideFrames(4, 0, 5));
    EXPECT_FALSE(p.SlideFrames(4, 3, 4));
    EXPECT_FALSE(p.SlideFrames(-1, 3, 4));
    // Moving onto a frame outside the block replaces it.
    ASSERT_TRUE(p.SlideFrames(10, 1, 0));
    EXPECT_EQ(p.GetFrame(0)->interval, 2);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 5);
    // A block limited by the end of the array.
    ASSERT_TRUE(p.SlideFrames(3, 100, 2020));
    EXPECT_EQ(p.GetFrame(2020)->interval, 4);
    EXPECT_EQ(p.GetFrame(2023), nullptr);
}

TEST_F(AnimeDataTest, SwapAndCopyGuards)
{
    p.InsertFrames(1, 1);
    strCell c = strCell::New();
    p.SetCell(0, 0, &c);
    EXPECT_FALSE(p.SwapCells(0, 0, 0, 0));
    EXPECT_FALSE(p.SwapCells(0, 1, 1, 1));  // both empty
    EXPECT_FALSE(p.SwapCells(0, 0, 5, 0));  // missing frame
    EXPECT_FALSE(p.SwapCells(0, 0, 0, 16)); // cell number out of range
    EXPECT_TRUE(p.SwapCells(0, 0, 1, 3));
    EXPECT_EQ(p.GetCell(0, 0), nullptr);
    EXPECT_NE(p.GetCell(1, 3), nullptr);
    EXPECT_FALSE(p.SwapFrames(0, 0));
    EXPECT_FALSE(p.SwapFrames(5, 6)); // both empty
    EXPECT_FALSE(p.CopyFrame(1, 1));
    EXPECT_TRUE(p.CopyFrame(0, 1));
    EXPECT_NE(p.GetCell(0, 3), p.GetCell(1, 3)); // a deep copy
    EXPECT_EQ(*p.GetCell(0, 3), *p.GetCell(1, 3));
}

TEST_F(AnimeDataTest, CellCountChangeResizesAndClearsHistory)
{
    strCell c = strCell::New();
    p.BeginRecord();
    p.SetCell(0, 15, &c);
    p.EndRecord(true);
    ASSERT_FALSE(sink.groups.empty());
    EXPECT_FALSE(p.SetCellCount(16)); // unchanged: history kept
    EXPECT_FALSE(sink.groups.empty());
    p.SetFixPicture(2, 9);
    ASSERT_TRUE(p.SetCellCount(300));
    EXPECT_EQ(p.CellCount(), 255);
    EXPECT_TRUE(sink.groups.empty());
    EXPECT_EQ(p.GetCell(0, 15)->opacity, 255);
    ASSERT_TRUE(p.SetCellCount(4));
    EXPECT_EQ(p.GetFrame(0)->cells.Size(), 4);
    EXPECT_EQ(p.EmptyFrame().cells.Size(), 4);
    EXPECT_EQ(p.GetFixPicture(2), 9);
    EXPECT_EQ(p.LastUsedIndex(AI_CELLS), -1);
    EXPECT_FALSE(p.SetCellCount(0));
}

TEST_F(AnimeDataTest, IntervalsAndLastUsed)
{
    p.InsertFrames(1, 2);
    p.SetValue(AI_BASE_INTERVAL, 4);
    p.SetInterval(1, 3);
    EXPECT_EQ(p.EffectiveInterval(0, true), 4);
    EXPECT_EQ(p.EffectiveInterval(0, false), 0);
    EXPECT_EQ(p.EffectiveInterval(1, true), 3);
    EXPECT_EQ(p.EffectiveInterval(9, true), 0);
    EXPECT_EQ(p.SumIntervals(), 4 + 3 + 4);
    p.SetValue(AI_BASE_INTERVAL, INT32_MAX); // files may hold any base interval
    EXPECT_EQ(p.SumIntervals(), INT32_MAX);
    p.SetValue(AI_BASE_INTERVAL, INT32_MIN);
    EXPECT_EQ(p.SumIntervals(), INT32_MIN);
    p.SetValue(AI_BASE_INTERVAL, 4);
    strCell c = strCell::New();
    p.SetCell(2, 9, &c);
    EXPECT_EQ(p.LastUsedIndex(AI_CELLS), 9);
    EXPECT_EQ(p.LastUsedIndex(AI_PICTURES), -1);
    strPicture pic;
    p.SetPicture(pic, 7);
    EXPECT_EQ(p.LastUsedIndex(AI_PICTURES), 7);
    EXPECT_EQ(p.LastUsedIndex(99), -1);
}

TEST(PictureValidation, ClampsToRangesAndImage)
{
    strPicture pic;
    pic.divX = 0;
    pic.divY = 5000;
    pic.hue = 400;
    cAnimeData::ValidatePicture(pic);
    EXPECT_EQ(pic.divX, 1);
    EXPECT_EQ(pic.divY, 1024);
    EXPECT_EQ(pic.hue, 360);
    cAnimeData::ValidatePicture(pic, 640, 480);
    EXPECT_EQ(pic.divY, 480);
}

TEST(PtrArray, CountsAndCompaction)
{
    cPtrArray<int> a;
    EXPECT_EQ(a.LastIndex(), 0); // no slots
    a.Alloc(5);
    EXPECT_EQ(a.LastIndex(), -1);
    *a.Create(1) = 10;
    *a.Create(3) = 30;
    a.Create(3); // already there: no new record
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(a.LastIndex(), 3);
    cPtrArray<int> copy = a;
    EXPECT_NE(copy.Get(1), a.Get(1));
    EXPECT_EQ(*copy.Get(3), 30);
    a.Compact();
    EXPECT_EQ(*a.Get(0), 10);
    EXPECT_EQ(*a.Get(1), 30);
    EXPECT_EQ(a.Get(3), nullptr);
    a.Resize(1);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Get(-1), nullptr);
    EXPECT_EQ(a.Get(7), nullptr);
    EXPECT_FALSE(a.Alloc(0));
}

} // namespace
