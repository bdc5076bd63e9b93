// The main window as a user drives it: start-up with a file, the file commands
// and their questions, the history's menu state, playback options and the zoom.

#include "support/GuiFixture.h"

#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "playback/AnimePlayer.h"
#include "ui/KeyframeWnd.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include <fstream>

namespace {

bool menuEnabled(cMainWnd& w, int position, int id)
{
    w.UpdateMenuState(position);
    const QList<QAction*> actions = w.MenuActions(id);
    return !actions.isEmpty() && actions.first()->isEnabled();
}

void wheel(QWidget* target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(GuiTest, StartsWithStatusReadyAndTitleWithoutPath)
{
    cMainWnd& w = Start();
    EXPECT_EQ(w.StatusPart(0)->text(), "Ready");
    EXPECT_EQ(w.windowTitle(), "MevkoEditor0.72[*]");
    EXPECT_EQ(w.Project().GetValue(AI_FRAMES), 1);
}

TEST_F(GuiTest, FileArgumentIsOpenedAfterStartUp)
{
    window = std::make_unique<cMainWnd>(dir / "config.ini", &messages, &chooser);
    cMainWnd& w = *window;
    QString error;
    ASSERT_TRUE(w.Initialize({QString::fromStdString(Sample().string())}, error));
    EXPECT_FALSE(w.PendingOpenPath().empty()) << "opened only once the main loop runs";
    EXPECT_EQ(w.StatusPart(0)->text(), "Ready");
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.PendingOpenPath().empty());
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample()));
    EXPECT_TRUE(w.StatusPart(0)->text().startsWith("読み込みました > "));
    EXPECT_TRUE(w.windowTitle().startsWith("MevkoEditor0.72 - ")) << w.windowTitle().toStdString();
    EXPECT_GT(w.Project().GetValue(AI_FRAMES), 1);
    EXPECT_FALSE(w.Project().modified);
}

TEST_F(GuiTest, EmptyFileArgumentIsIgnored)
{
    cMainWnd& w = Start({QString()});
    QCoreApplication::processEvents();
    EXPECT_EQ(w.StatusPart(0)->text(), "Ready");
}

TEST_F(GuiTest, CtrlSOnUntitledProjectAsksForAName)
{
    cMainWnd& w = Start();
    w.OnCommand(IDM_NEW);
    ASSERT_TRUE(w.Project().untitled);
    chooser.answer = paths::FromDiskPath(dir / "saved");
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(chooser.kinds.size(), 1u);
    EXPECT_EQ(chooser.kinds[0], DIALOG_SAVE);
    EXPECT_TRUE(std::filesystem::exists(dir / "saved.dat")) << "a name without extension gets .dat";
    EXPECT_FALSE(w.Project().untitled);
}

TEST_F(GuiTest, CloseWithUnsavedChangesAsksAndCancelKeepsRunning)
{
    cMainWnd& w = Start();
    w.OnCommand(IDM_INSERT_FRAME);
    ASSERT_TRUE(w.Project().modified);
    messages.answers = {ANSWER_CANCEL};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(messages.asked.back(), "内容が変更されています。\n保存しますか？");

    // Yes on an untitled project shows the save dialog; cancelling it keeps the window.
    w.OnCommand(IDM_NEW); // No: discard, new untitled project
    w.OnCommand(IDM_INSERT_FRAME);
    messages.answers = {ANSWER_YES};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(chooser.kinds.back(), DIALOG_SAVE);

    messages.answers = {ANSWER_NO};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(std::filesystem::exists(dir / "config.ini")) << "settings are written back on close";
    window.reset();
}

TEST_F(GuiTest, UndoAndRedoEnablingFollowsTheHistory)
{
    cMainWnd& w = Start();
    EXPECT_FALSE(menuEnabled(w, 1, IDM_UNDO));
    EXPECT_FALSE(menuEnabled(w, 1, IDM_REDO));
    w.OnCommand(IDM_INSERT_FRAME);
    EXPECT_TRUE(menuEnabled(w, 1, IDM_UNDO));
    EXPECT_FALSE(menuEnabled(w, 1, IDM_REDO));
    w.OnCommand(IDM_UNDO);
    EXPECT_EQ(w.StatusPart(0)->text(), "一つ戻りました");
    EXPECT_FALSE(menuEnabled(w, 1, IDM_UNDO));
    EXPECT_TRUE(menuEnabled(w, 1, IDM_REDO));
    w.OnCommand(IDM_REDO);
    EXPECT_TRUE(menuEnabled(w, 1, IDM_UNDO));
    EXPECT_FALSE(menuEnabled(w, 1, IDM_REDO));
    // A new project clears the history.
    w.OnCommand(IDM_NEW);
    EXPECT_FALSE(menuEnabled(w, 1, IDM_UNDO));
}

TEST_F(GuiTest, SaveIsDisabledForUntitledAnd2003AndHelpStayDisabled)
{
    cMainWnd& w = Start();
    w.OnCommand(IDM_NEW);
    EXPECT_FALSE(menuEnabled(w, 0, IDM_SAVE));
    EXPECT_FALSE(menuEnabled(w, 0, IDM_EXPORT_2003));
    EXPECT_FALSE(menuEnabled(w, 0, IDM_IMPORT_2003));
    EXPECT_TRUE(menuEnabled(w, 0, IDM_EXPORT_VXACE));
    EXPECT_FALSE(menuEnabled(w, 5, IDM_HELP));
    EXPECT_TRUE(menuEnabled(w, 5, IDM_VERSION));
}

TEST_F(GuiTest, TogglingRepeatDuringPlaybackChangesTheRunningPlayback)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    cAnimePlayer& player = w.Canvas()->Player();
    const bool loopBefore = (Settings().PlayBit & PF_LOOP) != 0;
    w.OnCommand(IDM_PLAY);
    ASSERT_TRUE(player.IsPlaying());
    EXPECT_TRUE(w.PlayTool()->IsChecked(IDM_PLAY));
    w.OnCommand(IDM_OPT_LOOP);
    EXPECT_TRUE(player.IsPlaying()) << "the option is handled without stopping";
    EXPECT_EQ((player.Flags() & PF_LOOP) != 0, !loopBefore);
    EXPECT_EQ(w.PlayTool()->IsChecked(IDM_OPT_LOOP), !loopBefore);
    w.UpdateMenuState(4);
    EXPECT_EQ(w.MenuActions(IDM_OPT_LOOP).first()->isChecked(), !loopBefore);

    // Any other command stops playback first.
    w.OnCommand(IDM_FIRST_FRAME);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(w.PlayTool()->IsChecked(IDM_PLAY));
}

TEST_F(GuiTest, PlaybackAdvancesFramesOnTheTimer)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    Settings().PlayBit |= PF_LOOP;
    w.OnCommand(IDM_PLAY_FIRST);
    ASSERT_TRUE(w.Canvas()->IsPlaying());
    QTest::qWait(300);
    EXPECT_GT(w.Canvas()->CurrentFrame(), 0);
    QTest::keyClick(w.Canvas(), Qt::Key_Escape);
    EXPECT_FALSE(w.Canvas()->IsPlaying());
}

TEST_F(GuiTest, WheelOverCanvasStepsZoomAndTheSelectorFollows)
{
    cMainWnd& w = Start();
    cMainEditWnd* canvas = w.Canvas();
    ASSERT_EQ(canvas->Zoom(), 2);
    const int expected[] = {3, 4, 4, 4};
    for (int z : expected) {
        wheel(canvas, 120);
        EXPECT_EQ(canvas->Zoom(), z);
        EXPECT_EQ(w.ViewTool()->zoomCombo->currentIndex(), z);
    }
    wheel(canvas, 60); // less than one notch
    EXPECT_EQ(canvas->Zoom(), 4);
    wheel(canvas, -240); // one step per message at most
    EXPECT_EQ(canvas->Zoom(), 3);
    w.ViewTool()->zoomCombo->setCurrentIndex(0);
    EXPECT_EQ(canvas->Zoom(), 0);
}

TEST_F(GuiTest, FrameCommandsMoveTheCurrentFrameAndIntervalField)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    w.OnCommand(IDM_LAST_FRAME);
    const int last = w.Project().GetValue(AI_FRAMES) - 1;
    EXPECT_EQ(w.Canvas()->CurrentFrame(), last);
    w.OnCommand(IDM_PREV_FRAME);
    EXPECT_EQ(w.Canvas()->CurrentFrame(), last - 1);
    w.FrameTool()->intervalEdit->setValue(7);
    EXPECT_EQ(w.Project().GetFrame(last - 1)->interval, 7);
    w.OnCommand(IDM_FIRST_FRAME);
    EXPECT_EQ(w.Canvas()->CurrentFrame(), 0);
}

TEST_F(GuiTest, ViewAndWindowTogglesFollowMenuAndToolBar)
{
    cMainWnd& w = Start();
    const bool before = Settings().VLineFlag;
    w.OnCommand(IDM_VIEW_LINE);
    EXPECT_EQ(Settings().VLineFlag, !before);
    EXPECT_EQ(w.ViewTool()->IsChecked(IDM_VIEW_LINE), !before);
    w.OnCommand(IDM_VIEW_STATUS);
    EXPECT_FALSE(Settings().VStatusFlag);
    EXPECT_TRUE(w.StatusBar()->isHidden());
    w.UpdateMenuState(3);
    EXPECT_FALSE(w.MenuActions(IDM_VIEW_STATUS).first()->isChecked());
    const int top = w.Canvas()->mapTo(&w, QPoint(0, 0)).y();
    w.OnCommand(IDM_VIEW_BAR);
    EXPECT_TRUE(w.Rebar()->isHidden());
    EXPECT_LT(w.Canvas()->mapTo(&w, QPoint(0, 0)).y(), top) << "the canvas moves up when the rebar is hidden";
}

TEST_F(GuiTest, HiddenBarsFromConfigLeaveTheCanvasAtTheTop)
{
    {
        std::ofstream ini(dir / "config.ini");
        ini << "[CONFIG]\nVBarFlag=0\nVStatusFlag=0\nPlayRate=3\n";
    }
    cMainWnd& w = Start();
    EXPECT_TRUE(w.Rebar()->isHidden());
    EXPECT_TRUE(w.StatusBar()->isHidden());
    EXPECT_EQ(w.Canvas()->mapTo(&w, QPoint(0, 0)).y(), w.MenuBar()->height());
    EXPECT_GE(w.Timeline()->mapTo(&w, QPoint(0, 0)).y(), w.Canvas()->mapTo(&w, QPoint(0, w.Canvas()->height())).y())
        << "the timeline sits below the canvas";
    EXPECT_EQ(w.Timeline()->mapTo(&w, QPoint(0, w.Timeline()->height())).y(), w.height());
    EXPECT_EQ(w.PlayTool()->rateCombo->currentIndex(), 3);
}

TEST_F(GuiTest, StatusBarPartsFollowTheWindowWidth)
{
    cMainWnd& w = Start();
    w.resize(800, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.StatusPart(0)->geometry().right() + 1, 600);
    EXPECT_EQ(w.StatusPart(1)->geometry().right() + 1, 680);
    EXPECT_EQ(w.StatusPart(2)->geometry().right() + 1, 784);
}

TEST_F(GuiTest, PlaybackEndsOnTheLastFrameAndMayHideTheCellsUntilAFrameIsChosen)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    Settings().PlayBit = PF_WHOLE | PF_CLEAR_CELLS;
    Settings().PlayRate = 0;
    w.OnCommand(IDM_PLAY_FIRST);
    ASSERT_TRUE(w.Canvas()->IsPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Canvas()->IsPlaying(); }, 5000));
    EXPECT_EQ(w.Canvas()->CurrentFrame(), w.Project().GetValue(AI_FRAMES) - 1);
    EXPECT_TRUE(w.Canvas()->CellsHidden());
    EXPECT_FALSE(w.PlayTool()->IsChecked(IDM_PLAY));
    w.OnCommand(IDM_PREV_FRAME);
    EXPECT_FALSE(w.Canvas()->CellsHidden());
}
