#include "support/EditFixture.h"

#include "edit/CanvasClip.h"
#include "edit/EditClip.h"
#include "edit/ListClip.h"
#include "edit/Spline.h"
#include "edit/TimelineClip.h"

#include <cstring>

namespace {

// An independent little-endian reader over the raw clipboard block.
struct Bytes {
    std::vector<uint8_t> b;
    size_t at = 0;
    unsigned U8() { return b.at(at++); }
    unsigned U16()
    {
        const unsigned v = b.at(at) | b.at(at + 1) << 8;
        at += 2;
        return v;
    }
    int S16() { return int16_t(U16()); }
    uint32_t U32()
    {
        const uint32_t lo = U16();
        return lo | uint32_t(U16()) << 16;
    }
    std::string Text()
    {
        const size_t n = U8();
        std::string s(b.begin() + ptrdiff_t(at), b.begin() + ptrdiff_t(at + n));
        at += n;
        return s;
    }
    strCell Cell()
    {
        strCell c;
        c.picture = uint8_t(U8());
        EXPECT_EQ(U8(), 0u);
        c.pattern = uint16_t(U16());
        c.blend = uint8_t(U8());
        EXPECT_EQ(U8(), 0u);
        c.x = int16_t(S16());
        c.y = int16_t(S16());
        c.scaleX = int16_t(S16());
        c.scaleY = int16_t(S16());
        c.angle = int16_t(S16());
        c.opacity = uint8_t(U8());
        c.red = uint8_t(U8());
        c.green = uint8_t(U8());
        c.blue = uint8_t(U8());
        c.saturation = uint8_t(U8());
        EXPECT_EQ(U8(), 0u);
        return c;
    }
};

class EditClipTest : public EditTest {
protected:
    Bytes Block()
    {
        Bytes r;
        clipboard.Open();
        clipboard.GetData(kEditClipFormat, r.b);
        clipboard.Close();
        return r;
    }
    void SetBlock(const std::vector<uint8_t>& bytes)
    {
        clipboard.Open();
        clipboard.Empty();
        clipboard.SetData(kEditClipFormat, bytes);
        clipboard.Close();
    }
    static std::vector<uint8_t> Head(uint32_t kind, uint32_t length)
    {
        return {uint8_t(kind),   uint8_t(kind >> 8),   uint8_t(kind >> 16),   uint8_t(kind >> 24),
                uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    }
    static std::vector<uint8_t> Selection(int cells, std::initializer_list<int> selected)
    {
        std::vector<uint8_t> sel(size_t(cells), 0);
        for (int s : selected)
            sel[size_t(s)] = kCellSelected;
        return sel;
    }
};

TEST_F(EditClipTest, PictureLayout)
{
    strPicture pic{3, 1024, 360, "Graphics\\Animations\\炎.png"};
    cClip_Picture clip(&pic);
    ASSERT_TRUE(Put(clip));
    Bytes r = Block();
    EXPECT_EQ(r.U32(), 0x40001111u);
    EXPECT_EQ(r.U32(), r.b.size() - 8);
    EXPECT_EQ(r.U16(), 3u);
    EXPECT_EQ(r.U16(), 1024u);
    EXPECT_EQ(r.U16(), 360u);
    EXPECT_EQ(r.U16(), 0u);
    EXPECT_EQ(r.Text(), pic.path);
    EXPECT_EQ(r.at, r.b.size());

    strPicture back;
    cClip_Picture in(&back);
    ASSERT_TRUE(Get(in));
    EXPECT_EQ(back, pic);
    cClip_Picture none(nullptr);
    EXPECT_FALSE(Put(none));
}

TEST_F(EditClipTest, EffectLayout)
{
    strEffect e;
    e.frame = 513;
    e.flags = 7;
    e.flashDuration = 255;
    e.flashBlend = 3;
    e.flashScope = 2;
    e.flashRed = 1;
    e.flashGreen = 2;
    e.flashBlue = 3;
    e.flashStrength = 4;
    e.seVolume = 90;
    e.sePitch = 150;
    e.seBalance = 200;
    e.seName = "Audio/SE/Fire1";
    e.note = "";
    cClip_Effect clip(&e);
    ASSERT_TRUE(Put(clip));
    Bytes r = Block();
    EXPECT_EQ(r.U32(), 0x40002222u);
    EXPECT_EQ(r.U32(), r.b.size() - 8);
    const unsigned expected[] = {513, 7, 0, 255, 3, 2, 1, 2, 3, 4, 90, 150, 200, 0};
    const int widths[] = {2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(widths[i] == 2 ? r.U16() : r.U8(), expected[i]) << i;
    EXPECT_EQ(r.Text(), e.seName);
    EXPECT_EQ(r.Text(), "");
    EXPECT_EQ(r.at, r.b.size());

    strEffect back;
    back.note = "old";
    cClip_Effect in(&back);
    ASSERT_TRUE(Get(in));
    EXPECT_EQ(back, e);
}

TEST_F(EditClipTest, MassLayout)
{
    cClip_Mass clip(CLIP_ROWS);
    strCell c = CellXY(-2, 1024);
    c.picture = 200;
    c.pattern = 40000;
    c.blend = 4;
    c.scaleX = -1000;
    c.angle = -3600;
    c.saturation = 77;
    clip.cells = {{1, 2, c}, {300, 254, CellXY(5)}};
    clip.empties = {{7, 8}};
    clip.frames = {{0, 255}};
    clip.fixPictures = {{3, 9}, {4, 0}};
    ASSERT_TRUE(Put(clip));
    Bytes r = Block();
    EXPECT_EQ(r.U32(), 0x40005555u);
    EXPECT_EQ(r.U32(), 12 + 2 * 26 + 4 + 4 + 2 * 4u);
    EXPECT_EQ(r.U32(), 0u);
    EXPECT_EQ(r.U16(), 2u);
    EXPECT_EQ(r.U16(), 1u);
    EXPECT_EQ(r.U16(), 1u);
    EXPECT_EQ(r.U16(), 2u);
    EXPECT_EQ(r.U16(), 1u);
    EXPECT_EQ(r.U16(), 2u);
    EXPECT_EQ(r.Cell(), c);
    EXPECT_EQ(r.U16(), 300u);
    EXPECT_EQ(r.U16(), 254u);
    EXPECT_EQ(r.Cell(), CellXY(5));
    for (unsigned v : {7u, 8u, 0u, 255u, 3u, 9u, 4u, 0u})
        EXPECT_EQ(r.U16(), v);
    EXPECT_EQ(r.at, r.b.size());

    cClip_Mass back(CLIP_ROWS);
    ASSERT_TRUE(Get(back));
    ASSERT_EQ(back.cells.size(), 2u);
    EXPECT_EQ(back.cells[0].cell, c);
    EXPECT_EQ(back.cells[1].frame, 300);
    EXPECT_EQ(back.empties.size(), 1u);
    EXPECT_EQ(back.frames[0].interval, 255);
    EXPECT_EQ(back.fixPictures[1].row, 4);

    cClip_Mass empty(CLIP_CELLS);
    EXPECT_FALSE(Put(empty));
    EXPECT_TRUE(Has(CLIP_ROWS)); // the earlier block stays
}

TEST_F(EditClipTest, KindsAreTold)
{
    EXPECT_FALSE(Has(CLIP_CELLS));
    SetBlock({0x33, 0x33, 0x00, 0x40}); // 4 bytes: too short
    EXPECT_FALSE(Has(CLIP_CELLS));
    SetBlock({0x33, 0x33, 0x00, 0x40, 0});
    EXPECT_TRUE(Has(CLIP_CELLS));
    EXPECT_FALSE(Has(CLIP_FRAMES));
    cClip_Mass mass(CLIP_CELLS);
    EXPECT_FALSE(Get(mass)); // right kind, but the mass header is incomplete
    clipboard.SetLockedByOther(true);
    EXPECT_FALSE(Get(mass));
}

TEST_F(EditClipTest, TruncatedAndOverlongPayloads)
{
    // Cells: count 3 announced, one and a half entries present.
    cClip_Mass full(CLIP_CELLS);
    full.cells = {{0, 0, CellXY(1)}, {0, 1, CellXY(2)}, {0, 2, CellXY(3)}};
    full.empties = {{1, 1}};
    ASSERT_TRUE(Put(full));
    const std::vector<uint8_t> whole = Block().b;
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + ptrdiff_t(cut));
        SetBlock(part);
        cClip_Mass m(CLIP_CELLS);
        const bool ok = Get(m);
        EXPECT_EQ(ok, cut >= 20) << cut;
        const size_t entries = cut < 20 ? 0 : std::min<size_t>(3, (cut - 20) / 26);
        EXPECT_EQ(m.cells.size(), entries) << cut;
        EXPECT_EQ(m.empties.size(), cut == whole.size() ? 1u : 0u) << cut;
    }
    // A length field shorter than the data bounds the payload.
    std::vector<uint8_t> shortLength = whole;
    shortLength[4] = 12 + 26;
    SetBlock(shortLength);
    cClip_Mass m(CLIP_CELLS);
    ASSERT_TRUE(Get(m));
    EXPECT_EQ(m.cells.size(), 1u);
    EXPECT_TRUE(m.empties.empty());
    // Counts of 65535 with no entries.
    std::vector<uint8_t> huge = Head(CLIP_CELLS, 12);
    huge.insert(huge.end(), {0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255});
    SetBlock(huge);
    ASSERT_TRUE(Get(m));
    EXPECT_TRUE(m.Empty());

    // Picture and effect: heads must be complete, texts are read as far as they go.
    std::vector<uint8_t> pic = Head(CLIP_PICTURE, 12);
    pic.insert(pic.end(), {2, 0, 3, 0, 4, 0, 0, 0, 200, 'a', 'b', 'c'});
    SetBlock(pic);
    strPicture picture;
    cClip_Picture pc(&picture);
    ASSERT_TRUE(Get(pc));
    EXPECT_EQ(picture.path, "abc");
    pic.resize(8 + 7);
    SetBlock(pic);
    EXPECT_FALSE(Get(pc));
    std::vector<uint8_t> eff = Head(CLIP_EFFECT, 21);
    eff.resize(8 + 19);
    SetBlock(eff);
    strEffect effect;
    cClip_Effect ec(&effect);
    EXPECT_FALSE(Get(ec));
    eff.insert(eff.end(), {0, 50}); // seName announced 50 bytes, none present
    SetBlock(eff);
    ASSERT_TRUE(Get(ec));
    EXPECT_EQ(effect.seName, "");
}

TEST_F(EditClipTest, RandomBlocksArePastedSafely)
{
    std::mt19937 rng(7);
    Frames(6, 8);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    std::vector<uint8_t> sel(8, 0);
    for (int round = 0; round < 2000; ++round) {
        const uint32_t kinds[] = {CLIP_PICTURE, CLIP_EFFECT, CLIP_CELLS, CLIP_FRAMES, CLIP_ROWS};
        const uint32_t kind = kinds[rng() % 5];
        std::vector<uint8_t> block = Head(kind, uint32_t(rng() % 200));
        block.resize(8 + rng() % 120);
        for (size_t i = 8; i < block.size(); ++i)
            block[i] = uint8_t(rng() % 4 == 0 ? 0xFF : rng() % 8); // small counts and offsets
        SetBlock(block);
        TimelinePaste(p, TA_CELLS, int(rng() % 6), int(rng() % 8), nullptr);
        TimelinePaste(p, TA_ROWS, 0, int(rng() % 8), nullptr);
        TimelinePaste(p, TA_FRAMES, int(rng() % 6), 0, nullptr);
        CanvasPaste(p, int(rng() % 6), int(rng() % 8), sel, nullptr, status);
        EffectPaste(p, 0, status);
        PicturePaste(p, int(rng() % 4), status);
    }
    // Every stored cell still passes validation.
    for (int f = 0; f < p.FrameCapacity(); ++f)
        for (int k = 0; k < p.CellCount(); ++k)
            if (const strCell* c = p.GetCell(f, k)) {
                strCell v = *c;
                p.ValidateCell(v, k);
                ASSERT_EQ(v, *c);
            }
}

TEST_F(EditClipTest, CanvasCopyAndPasteAtAnotherCellNumber)
{
    Frames(2, 16);
    Store(0, 3, CellXY(30, 3));
    Store(0, 5, CellXY(50, 5));
    EXPECT_EQ(CanvasCopy(p, 0, Selection(16, {3, 4, 5}), status), 2);
    EXPECT_EQ(status.last, "[2] : コピー");
    Bytes r = Block();
    r.at = 12;
    EXPECT_EQ(r.U16(), 2u);
    std::vector<uint8_t> sel = Selection(16, {0, 1});
    EXPECT_EQ(CanvasPaste(p, 1, 10, sel, nullptr, status), 2);
    EXPECT_EQ(status.last, "[2] : 貼り付け");
    EXPECT_EQ(X(1, 10), 30);
    EXPECT_EQ(X(1, 12), 50);
    EXPECT_FALSE(p.GetCell(1, 11));
    EXPECT_EQ(sel, Selection(16, {10, 12}));
    EXPECT_EQ(history.UndoCount(), 1);

    status.last.clear();
    EXPECT_EQ(CanvasCopy(p, 0, Selection(16, {0, 1}), status), 0);
    EXPECT_EQ(status.last, "");
}

TEST_F(EditClipTest, CanvasSingleCellPastePosition)
{
    Frames(1, 8);
    strCell c = CellXY(5, 6);
    c.opacity = 33;
    Store(0, 1, c);
    Store(0, 4, CellXY(-40, -41));
    ASSERT_EQ(CanvasCopy(p, 0, Selection(8, {1}), status), 1);
    std::vector<uint8_t> sel(8, 0);
    ASSERT_EQ(CanvasPaste(p, 0, 4, sel, nullptr, status), 1);
    EXPECT_EQ(p.GetCell(0, 4)->x, -40); // keeps the existing position
    EXPECT_EQ(p.GetCell(0, 4)->y, -41);
    EXPECT_EQ(p.GetCell(0, 4)->opacity, 33);
    const strPointI mouse{100, -200};
    ASSERT_EQ(CanvasPaste(p, 0, 6, sel, &mouse, status), 1);
    EXPECT_EQ(p.GetCell(0, 6)->x, 100);
    EXPECT_EQ(p.GetCell(0, 6)->y, -200);
    ASSERT_EQ(CanvasPaste(p, 0, 7, sel, nullptr, status), 1);
    EXPECT_EQ(p.GetCell(0, 7)->x, 5); // empty target: the copied position
}

TEST_F(EditClipTest, CanvasCutAndPasteTargets)
{
    Frames(1, 6);
    Store(0, 0, CellXY(1));
    Store(0, 2, CellXY(2));
    Store(0, 3, CellXY(3));
    const std::string before = ModelText(p);
    EXPECT_EQ(CanvasPasteTarget(p, 0, Selection(6, {1, 3})), 3);
    EXPECT_EQ(CanvasPasteTarget(p, 0, Selection(6, {1})), 1);
    EXPECT_EQ(CanvasCut(p, 0, Selection(6, {2, 3}), status), 2);
    EXPECT_EQ(status.last, "[2] : 切り取り");
    EXPECT_FALSE(p.GetCell(0, 2));
    EXPECT_FALSE(p.GetCell(0, 3));
    std::vector<uint8_t> sel(6, 0);
    ASSERT_EQ(CanvasPaste(p, 0, 2, sel, nullptr, status), 2);
    EXPECT_EQ(ModelText(p), before);

    clipboard.SetLockedByOther(true);
    EXPECT_EQ(CanvasCut(p, 0, Selection(6, {0}), status), 0); // nothing copied: nothing deleted
    EXPECT_TRUE(p.GetCell(0, 0));
    EXPECT_EQ(CanvasPaste(p, 0, 2, sel, nullptr, status), -1);
}

TEST_F(EditClipTest, CanvasPasteIgnoresOtherKinds)
{
    Frames(1, 4);
    strPicture pic;
    cClip_Picture clip(&pic);
    ASSERT_TRUE(Put(clip));
    std::vector<uint8_t> sel = Selection(4, {1});
    status.last.clear();
    EXPECT_EQ(CanvasPaste(p, 0, 0, sel, nullptr, status), -1);
    EXPECT_EQ(sel, Selection(4, {1}));
    EXPECT_EQ(status.last, "");
}

TEST_F(EditClipTest, TimelineCellBlockReproducesEmptyPositions)
{
    Frames(14, 4);
    for (int f = 4; f <= 6; ++f)
        for (int k = 0; k <= 2; ++k)
            if (!(f == 5 && k == 1))
                Store(f, k, CellXY(f * 10 + k));
    for (int f = 10; f <= 12; ++f)
        for (int k = 0; k <= 3; ++k)
            Store(f, k, CellXY(-1));
    ASSERT_TRUE(TimelineCopy(p, TA_CELLS, {4, 0, 6, 2}));
    EXPECT_TRUE(TimelineCanPaste(TA_CELLS));
    EXPECT_FALSE(TimelineCanPaste(TA_FRAMES));
    EXPECT_FALSE(TimelinePaste(p, TA_ROWS, 0, 0, nullptr)); // wrong kind: nothing
    EXPECT_EQ(history.UndoCount(), 0);
    strGridBlock pasted;
    ASSERT_TRUE(TimelinePaste(p, TA_CELLS, 10, 0, &pasted));
    EXPECT_EQ(pasted, (strGridBlock{10, 0, 12, 2}));
    EXPECT_FALSE(p.GetCell(11, 1));
    EXPECT_EQ(X(11, 2), 52);
    EXPECT_EQ(X(12, 0), 60);
    EXPECT_EQ(X(11, 3), -1); // outside the block
    EXPECT_EQ(history.UndoCount(), 1);
}

TEST_F(EditClipTest, TimelineFramePasteInserts)
{
    Frames(6, 3);
    for (int f = 0; f < 6; ++f) {
        Store(f, f % 3, CellXY(f));
        p.SetInterval(f, f + 1);
    }
    ASSERT_TRUE(TimelineCopy(p, TA_FRAMES, {1, -1, 2, -1}));
    Bytes r = Block();
    EXPECT_EQ(r.U32(), 0x40004444u);
    r.at = 12;
    EXPECT_EQ(r.U16(), 2u); // cells
    EXPECT_EQ(r.U16(), 4u); // empty positions
    EXPECT_EQ(r.U16(), 2u); // frames
    EXPECT_EQ(r.U16(), 0u);
    EXPECT_EQ(r.U16(), 0u); // frame offset 0 ...
    EXPECT_EQ(r.U16(), 1u); // ... cell number 1 (the highest is 2, empty)
    strGridBlock pasted;
    ASSERT_TRUE(TimelinePaste(p, TA_FRAMES, 4, 2, &pasted));
    EXPECT_EQ(pasted.f0, 4);
    EXPECT_EQ(pasted.f1, 5);
    EXPECT_EQ(pasted.k0, 0);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 8);
    const int xs[8] = {0, 1, 2, 3, 1, 2, 4, 5};
    const int intervals[8] = {1, 2, 3, 4, 2, 3, 5, 6};
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(X(f, xs[f] % 3), xs[f]) << f;
        EXPECT_EQ(p.GetFrame(f)->interval, intervals[f]) << f;
    }
}

TEST_F(EditClipTest, TimelineRowsCarryFixedPictures)
{
    Frames(4, 5);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p.SetFixPicture(2, 7);
    Store(0, 2, CellXY(1));
    Store(3, 2, CellXY(2));
    Store(1, 3, CellXY(3));
    const std::string before = ModelText(p);
    ASSERT_TRUE(TimelineCut(p, TA_ROWS, {2, 2, 0, 3}));
    EXPECT_EQ(p.GetFixPicture(2), 0);
    EXPECT_FALSE(p.GetCell(0, 2));
    EXPECT_FALSE(p.GetCell(1, 3));
    EXPECT_EQ(history.UndoCount(), 1);
    strGridBlock pasted;
    ASSERT_TRUE(TimelinePaste(p, TA_ROWS, 3, 2, &pasted));
    EXPECT_EQ(pasted, (strGridBlock{0, 2, 3, 3}));
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(EditClipTest, TimelineDeleteOfAllFramesLeavesOne)
{
    Frames(3, 2);
    Store(1, 1, CellXY(1));
    EXPECT_TRUE(TimelineDelete(p, TA_FRAMES, {0, 0, 2, 0}));
    EXPECT_EQ(p.GetValue(AI_FRAMES), 1);
    EXPECT_FALSE(p.GetCell(0, 1));
    EXPECT_FALSE(Has(CLIP_FRAMES));
    EXPECT_FALSE(TimelineDelete(p, TA_CELLS, {0, 0, 0, 1})); // nothing there: no step
    EXPECT_EQ(history.UndoCount(), 1);
}

TEST_F(EditClipTest, CutOnALockedClipboardKeepsTheBlock)
{
    Frames(3, 2);
    Store(1, 1, CellXY(1));
    clipboard.SetLockedByOther(true);
    EXPECT_FALSE(TimelineCut(p, TA_CELLS, {0, 0, 2, 1}));
    EXPECT_TRUE(p.GetCell(1, 1));
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(EditClipTest, ListEffects)
{
    strEffect a, b, c;
    a.frame = 2;
    b.frame = 5;
    b.note = "x";
    c.frame = 9;
    for (const strEffect& e : {a, b, c})
        p.InsertEffect(e, nullptr);
    p.ValidateEffect(b);
    ASSERT_TRUE(EffectCut(p, 1, status));
    EXPECT_EQ(status.last, "[1] : 切り取り");
    EXPECT_EQ(p.GetValue(AI_EFFECTS), 2);
    EXPECT_EQ(p.GetEffect(1)->frame, 9);
    EXPECT_EQ(EffectPaste(p, 0, status), 1);
    EXPECT_EQ(status.last, "[0] : 貼り付け");
    EXPECT_EQ(*p.GetEffect(1), b);
    ASSERT_TRUE(EffectCopy(p, 0, status));
    EXPECT_EQ(status.last, "[0] : コピー");
    EXPECT_EQ(EffectPaste(p, 2, status), 1); // frame 2 goes after the existing frame-2 effect
    EXPECT_EQ(p.GetEffect(1)->frame, 2);
    ASSERT_TRUE(EffectDelete(p, 3, status));
    EXPECT_EQ(status.last, "[3] : 削除");
    EXPECT_FALSE(EffectDelete(p, 3, status));
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_FALSE(EffectCopy(p, 50, status));
    EXPECT_TRUE(IsTimeFailure(status.last));
}

TEST_F(EditClipTest, PastedEffectsAndPicturesAreValidated)
{
    std::vector<uint8_t> eff = Head(CLIP_EFFECT, 23);
    // frame 60000, flags 0 with a flash of 999, volume 0, then a note.
    eff.insert(eff.end(), {0x60, 0xEA, 0, 0, 0xE7, 0x03, 9, 9, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'n'});
    SetBlock(eff);
    ASSERT_EQ(EffectPaste(p, 0, status), 0);
    const strEffect& e = *p.GetEffect(0);
    EXPECT_EQ(e.frame, p.FrameCapacity() - 1);
    EXPECT_EQ(e.flags, EF_FLASH | EF_NOTE);
    EXPECT_EQ(e.flashDuration, 255);
    EXPECT_EQ(e.flashBlend, 4);
    EXPECT_EQ(e.note, "n");

    std::vector<uint8_t> pic = Head(CLIP_PICTURE, 9);
    pic.insert(pic.end(), {0, 0, 0xFF, 0xFF, 0x00, 0x10, 0, 0, 0});
    SetBlock(pic);
    ASSERT_TRUE(PicturePaste(p, 4, status));
    EXPECT_EQ(*p.GetPicture(4), (strPicture{1, 1024, 360, ""}));
}

TEST_F(EditClipTest, ListPictures)
{
    p.SetPicture({2, 3, 4, "a.png"}, 1);
    const std::string start = ModelText(p);
    ASSERT_TRUE(PictureCopy(p, 1, status));
    ASSERT_TRUE(PicturePaste(p, 5, status));
    EXPECT_EQ(status.last, "[5] : 貼り付け");
    EXPECT_EQ(*p.GetPicture(5), *p.GetPicture(1));
    ASSERT_TRUE(PictureCut(p, 1, status));
    EXPECT_FALSE(p.GetPicture(1));
    EXPECT_FALSE(PictureCut(p, 1, status));
    EXPECT_TRUE(IsTimeFailure(status.last));
    ASSERT_TRUE(PictureDelete(p, 5, status));
    EXPECT_EQ(status.last, "[5] : 削除");
    ASSERT_TRUE(PicturePaste(p, 0, status));
    EXPECT_EQ(p.GetPicture(0)->path, "a.png");
    EXPECT_FALSE(PicturePaste(p, p.PictureCapacity(), status));
    EXPECT_EQ(history.UndoCount(), 4) << "each list edit that changed something is one step";
    while (history.Restore(p, RESTORE_UNDO)) {
    }
    EXPECT_EQ(ModelText(p), start);
}

} // namespace
