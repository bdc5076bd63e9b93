// The window-free parts of the shell: zoom and scroll arithmetic, the command
// table and its menu rules, the project dialog's apply rules and the settings
// dialog's text conversions.

#include "app/CommandTable.h"
#include "app/ProjectForm.h"
#include "playback/AnimePlayer.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#include "ui/PropConf.h"
#include "ui/ZoomScroll.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

TEST(ZoomScroll, WheelStepsAreOneNotchAtMostAndClampAtTheEnds)
{
    const struct {
        int delta, step;
    } steps[] = {{120, 1}, {-120, -1}, {119, 0}, {-119, 0}, {240, 1}, {-600, -1}, {0, 0}};
    for (const auto& s : steps)
        EXPECT_EQ(cZoomScroll::WheelStep(s.delta), s.step) << s.delta;

    cZoomScroll v;
    EXPECT_EQ(v.Factor(), 1.0);
    EXPECT_TRUE(v.Wheel(120));
    EXPECT_TRUE(v.Wheel(120));
    EXPECT_FALSE(v.Wheel(120));
    EXPECT_EQ(v.Factor(), 4.0);
    EXPECT_TRUE(v.SetZoom(-5));
    EXPECT_EQ(v.Zoom(), 0);
    EXPECT_EQ(v.Factor(), 0.25);
}

TEST(ZoomScroll, ScrollStaysInsideTheContentAndMapsBothWays)
{
    cZoomScroll v;
    v.SetContent(-320, -240, 320, 240);
    v.SetClient(320, 240);  // at 100 % half the content is visible
    double l, t, r, b;
    v.Range(l, t, r, b);
    EXPECT_EQ(l, -160);
    EXPECT_EQ(r, 160);
    EXPECT_EQ(t, -120);
    EXPECT_EQ(b, 120);
    v.SetPosition(1000, -1000);
    EXPECT_EQ(v.X(), 160);
    EXPECT_EQ(v.Y(), -120);
    EXPECT_DOUBLE_EQ(v.ToSurfaceX(v.ToClientX(37.5)), 37.5);
    EXPECT_DOUBLE_EQ(v.ToClientX(160), 160) << "the position shows at the client's centre";

    v.SetPosition(0, 0);
    v.SetZoom(3);  // 200 %: a drag of 10 pixels moves 5 units
    v.DragBy(10, -10);
    EXPECT_EQ(v.X(), -5);
    EXPECT_EQ(v.Y(), 5);

    v.SetZoom(0);  // 25 %: the view is larger than the content
    v.Range(l, t, r, b);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(v.X(), 0);
}

TEST(CommandTable, MenuIdsAreUniqueExceptSharedNumbersAndEveryAcceleratorHasAnItemOrIsKnown)
{
    std::multiset<int> ids;
    std::function<void(const std::vector<strMenuEntry>&)> walk = [&](const std::vector<strMenuEntry>& entries) {
        for (const strMenuEntry& e : entries) {
            if (e.id)
                ids.insert(e.id);
            walk(e.children);
        }
    };
    walk(MainMenu());
    EXPECT_EQ(MainMenu().size(), 6u);
    for (int id : ids)
        EXPECT_EQ(ids.count(id), 1u) << id;
    const std::set<int> withoutItem = {IDM_CELL_DIALOG, IDM_SEND_BACKWARD, IDM_BRING_FORWARD};
    for (const strAccelerator& a : MainAccelerators())
        EXPECT_TRUE(ids.count(a.command) || withoutItem.count(a.command)) << a.command;
    EXPECT_EQ(MenuText(IDM_OPT_LOOP), "繰り返し(&L)");
    EXPECT_EQ(MenuText(IDM_IMPORT_RUBY), "RPGツクールXP / VX / VX Ace(&X)");
    EXPECT_EQ(AcceleratorText(IDM_SAVE), "Ctrl+S");
    EXPECT_EQ(AcceleratorText(IDM_FROM_NEXT), "Ctrl+.");
}

TEST(CommandTable, MenuStateRules)
{
    strMenuContext c;
    c.untitled = false;
    c.playBit = PF_LOOP | PF_FLASH;
    c.clipRuby = true;
    c.fixPicturePerCell = true;
    const struct {
        int id;
        bool enabled, checked;
    } rows[] = {
        {IDM_SAVE, true, false},          {IDM_IMPORT_2000, false, false}, {IDM_IMPORT_RUBY, true, false},
        {IDM_IMPORT_MV, false, false},    {IDM_UNDO, false, false},        {IDM_CUT, false, false},
        {IDM_PASTE, false, false},        {IDM_OPT_LOOP, true, true},      {IDM_OPT_BOUNCE, true, false},
        {IDM_OPT_FLASH, true, true},      {IDM_EXPORT_2003, false, false}, {IDM_HELP, false, false},
        {IDM_VIEW_STATUS, true, true},    {IDM_NEW, true, false},
    };
    for (const auto& r : rows) {
        const strItemState s = MenuStateOf(r.id, c);
        EXPECT_EQ(s.enabled, r.enabled) << r.id;
        EXPECT_EQ(s.checked, r.checked) << r.id;
    }
    c.untitled = true;
    c.canRedo = c.cellSelected = c.clipCells = true;
    EXPECT_FALSE(MenuStateOf(IDM_SAVE, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_REDO, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_COPY, c).enabled);
    EXPECT_TRUE(MenuStateOf(IDM_PASTE, c).enabled);
    EXPECT_TRUE(HandledDuringPlayback(IDM_OPT_LOOP));
    EXPECT_FALSE(HandledDuringPlayback(IDM_NEXT_FRAME));
}

class ProjectFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();
        project.NewProject("");
        strCell cell;
        cell.scaleX = 50;
        cell.scaleY = 150;
        cell.angle = 90;
        for (int f = 0; f < 3; ++f) {
            if (f > 0)
                project.InsertFrames(f, 1);
            project.SetCell(f, 0, &cell);
            project.SetInterval(f, f == 1 ? 5 : 0);
        }
    }
    cAnimeData project;
};

TEST_F(ProjectFormTest, NameOnlyIsALightChange)
{
    strProjectForm f = strProjectForm::From(project);
    f.name = "fire";
    f.baseInterval = 3;
    EXPECT_EQ(ProjectChangeBits(f, project), 0);
    ApplyLightItems(f, project);
    EXPECT_EQ(project.Text(AT_NAME), "fire");
    EXPECT_EQ(project.GetValue(AI_BASE_INTERVAL), 3);
}

TEST_F(ProjectFormTest, FixedEditFormatRewritesEveryCell)
{
    strProjectForm f = strProjectForm::From(project);
    f.editFormat = 1;  // 固定
    f.cellCount = 8;
    EXPECT_EQ(ProjectChangeBits(f, project), PC_EDIT_FORMAT | PC_CELL_COUNT);
    EXPECT_TRUE(ApplyRewrite(f, ProjectChangeBits(f, project), project));
    EXPECT_EQ(project.GetLimit(AI_CELLS), 8);
    for (int fr = 0; fr < 3; ++fr) {
        const strCell* c = project.GetCell(fr, 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->scaleX, 100);
        EXPECT_EQ(c->scaleY, 100);
        EXPECT_EQ(c->angle, 0);
    }
}

TEST_F(ProjectFormTest, AutoTotalSumsEffectiveIntervalsUpToTheCurrentFrame)
{
    project.SetValue(AI_BASE_INTERVAL, 2);
    EXPECT_EQ(AutoTotalInterval(project, 2),
              project.EffectiveInterval(0, true) + project.EffectiveInterval(1, true) +
                  project.EffectiveInterval(2, true));
    EXPECT_EQ(AutoTotalInterval(project, 0), project.EffectiveInterval(0, true));
}

TEST(PropConf, FolderNamesAndColours)
{
    EXPECT_EQ(FolderNameOrDefault("", "Data"), "Data");
    EXPECT_EQ(FolderNameOrDefault("  \t", "Sound"), "Sound");
    EXPECT_EQ(FolderNameOrDefault("Work", "Data"), "Work");
    const struct {
        const char* text;
        uint32_t colour;
    } colours[] = {
        {"0x880000ff", 0x880000FFu}, {"0X00101010", 0x00101010u}, {"ffffff", 0xFFFFFFu},
        {" 0x12 ", 0x12u},           {"", 0x80808080u},           {"0x", 0x80808080u},
        {"zz", 0x80808080u},         {"0x123456789", 0x80808080u},
    };
    for (const auto& c : colours)
        EXPECT_EQ(ParseColour(c.text), c.colour) << c.text;
    EXPECT_EQ(ColourText(0x00101010u, false), "0x101010");
    EXPECT_EQ(ColourText(0x880000FFu, true), "0x880000ff");
}
