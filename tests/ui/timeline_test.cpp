// The timeline below the canvas as a user drives it: clicks choose the frame and
// the canvas cells, context menus cut and paste blocks, keys reach its commands.

#include "support/GuiFixture.h"

#include "view/CommandTable.h"

#include "edit/CanvasClip.h"
#include "model/AnimeData.h"
#include "ui/DlgFrameComp.h"
#include "ui/DlgInterval.h"
#include "ui/KeyframeWnd.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

// Chooses the item `id` of the next context menu once it is open.
void chooseInNextMenu(int id, QString* seen = nullptr)
{
    QTimer::singleShot(0, [id, seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no context menu opened";
        for (QAction* a : menu->actions()) {
            if (seen && !a->isSeparator())
                *seen += a->text() + (a->isEnabled() ? "|" : "(off)|");
            if (a->data().toInt() == id && a->isEnabled())
                menu->setActiveAction(a);
        }
        if (menu->activeAction())
            QTest::keyClick(menu, Qt::Key_Return);
        else
            menu->close();
    });
}

// Runs `act` on the next modal dialog of type T once it is open, then cancels it.
template <class T> void whenModal(std::function<void(T&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    int tries = 0;
    QObject::connect(poll, &QTimer::timeout, [poll, act, tries]() mutable {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(*d);
            d->Close(DLG_CANCEL);
        } else if (++tries < 400) {
            return;
        }
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
}

class TimelineGuiTest : public GuiTest {
protected:
    // A project of 10 frames with cells in frames 2 and 3, shown in a started window.
    cMainWnd& StartWithCells()
    {
        cMainWnd& w = Start();
        // The system clipboard outlives a test: start without a block on it.
        platform::Clipboard& clip = platform::SystemClipboard();
        if (clip.Open()) {
            clip.Empty();
            clip.Close();
        }
        cAnimeData& p = w.Project();
        p.InsertFrames(1, 9);
        for (int f : {2, 3})
            for (int k : {1, 2}) {
                strCell c = strCell::New();
                c.x = int16_t(f * 10 + k);
                p.SetCell(f, k, &c);
            }
        History().SetCapacity(-1);
        w.Refresh();
        return w;
    }
    cKeyframeWnd& Grid() { return *window->Timeline(); }
    void Click(strGridPos at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&Grid(), button, Qt::NoModifier, Grid().PointOf(at));
    }
    void Drag(strGridPos from, strGridPos to)
    {
        QTest::mousePress(&Grid(), Qt::LeftButton, Qt::NoModifier, Grid().PointOf(from));
        const QPointF at = Grid().PointOf(to);
        QMouseEvent move(QEvent::MouseMove, at, Grid().mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&Grid(), &move);
        QTest::mouseRelease(&Grid(), Qt::LeftButton, Qt::NoModifier, Grid().PointOf(to));
    }
    int X(int f, int k) { return window->Project().GetCell(f, k) ? window->Project().GetCell(f, k)->x : -1; }
};

} // namespace

TEST_F(TimelineGuiTest, SitsInASplitterBelowTheCanvasAndRemembersItsHeight)
{
    Settings().TimelineHeight = 260;
    cMainWnd& w = Start();
    w.resize(800, 900);
    QApplication::processEvents();
    ASSERT_NE(w.Timeline(), nullptr);
    auto* splitter = qobject_cast<QSplitter*>(w.Timeline()->parentWidget());
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->orientation(), Qt::Vertical);
    EXPECT_EQ(splitter->indexOf(w.Canvas()), 0);
    EXPECT_EQ(splitter->indexOf(w.Timeline()), 1);
    EXPECT_TRUE(w.Timeline()->isVisible());
    EXPECT_EQ(w.Timeline()->width(), w.Canvas()->width());
    EXPECT_EQ(w.Timeline()->height(), 260) << "the remembered height";
    // The user drags the handle; the new height is written back on closing.
    splitter->setSizes({300, 400});
    const int chosen = w.Timeline()->height();
    EXPECT_NE(chosen, 260);
    w.close();
    EXPECT_EQ(Settings().TimelineHeight, chosen);
}

TEST_F(TimelineGuiTest, ContextMenusNameTheParametersAndSelectAll)
{
    for (const char* menu : {"MENU_FRAME", "MENU_CELL", "MENU_LINE"}) {
        std::vector<std::string> texts;
        for (const strMenuEntry& e : PopupMenu(menu))
            texts.push_back(e.text);
        EXPECT_NE(std::find(texts.begin(), texts.end(), "全て選択(&A)"), texts.end()) << menu;
        EXPECT_EQ(std::find(texts.begin(), texts.end(), "設定(&S)"), texts.end()) << menu;
    }
    EXPECT_EQ(PopupMenu("MENU_CELL").front().text, "パラメータ(&S)");
}

TEST_F(TimelineGuiTest, ClickingACellMovesTheCanvasFocusAndInfoText)
{
    cMainWnd& w = StartWithCells();
    Click({3, 1});
    EXPECT_EQ(w.Canvas()->Edit().Focus(), 1);
    EXPECT_EQ(w.Canvas()->Edit().InfoText().rfind("c:1 ", 0), 0u) << w.Canvas()->Edit().InfoText();
    Click({2, 2});
    EXPECT_EQ(w.Canvas()->Edit().Focus(), 2);
    EXPECT_NE(w.Canvas()->Edit().InfoText().find("[22 , 0]"), std::string::npos) << "the cell of frame 2";
}

TEST_F(TimelineGuiTest, ClickingACellChoosesTheFrameAndSelection)
{
    cMainWnd& w = StartWithCells();
    Click({3, 2});
    EXPECT_EQ(w.Canvas()->CurrentFrame(), 3);
    EXPECT_EQ(Grid().Timeline().Marker(), 3);
    EXPECT_EQ(Grid().Timeline().Selection(), (strGridRect{3, 2, 3, 2}));
    const std::vector<uint8_t>& sel = w.Canvas()->Selection();
    ASSERT_GT(sel.size(), 2u);
    EXPECT_FALSE(sel[1] & kCellSelected);
    EXPECT_TRUE(sel[2] & kCellSelected);

    // The frame tool bar follows, and frame commands move the marker.
    w.OnCommand(IDM_NEXT_FRAME);
    EXPECT_EQ(Grid().Timeline().Marker(), 4);
    EXPECT_EQ(Grid().Timeline().Focus(), (strGridPos{4, 2}));
}

TEST_F(TimelineGuiTest, ContextCutAndPasteRoundTrip)
{
    cMainWnd& w = StartWithCells();
    Drag({2, 1}, {3, 2});
    EXPECT_EQ(Grid().Timeline().Selection(), (strGridRect{2, 1, 3, 2}));

    QString items;
    chooseInNextMenu(IDM_CUT, &items);
    Click({3, 1}, Qt::RightButton);
    EXPECT_TRUE(items.contains("切り取り(&T)|")) << items.toStdString();
    EXPECT_TRUE(items.contains("貼り付け(&P)(off)|")) << "nothing to paste yet: " << items.toStdString();
    EXPECT_EQ(X(2, 1), -1);
    EXPECT_EQ(X(3, 2), -1);

    chooseInNextMenu(IDM_PASTE);
    Click({6, 0}, Qt::RightButton);
    EXPECT_EQ(X(6, 0), 21);
    EXPECT_EQ(X(7, 1), 32);
    EXPECT_EQ(Grid().Timeline().Selection(), (strGridRect{6, 0, 7, 1}));

    w.OnCommand(IDM_UNDO);
    w.OnCommand(IDM_UNDO);
    EXPECT_EQ(X(2, 1), 21);
    EXPECT_EQ(X(3, 2), 32);
    EXPECT_EQ(X(6, 0), -1);
}

TEST_F(TimelineGuiTest, PlayRangeFromTheFrameMenuSetsThePlayBar)
{
    cMainWnd& w = StartWithCells();
    Drag({2, -1}, {6, -1});
    chooseInNextMenu(40004); // 再生範囲に設定
    Click({4, -1}, Qt::RightButton);
    EXPECT_TRUE(w.PlayTool()->rangeCheck->isChecked());
    EXPECT_EQ(w.PlayTool()->rangeStart->value(), 2);
    EXPECT_EQ(w.PlayTool()->rangeEnd->value(), 6);
}

TEST_F(TimelineGuiTest, KeysActOnTheTimelineWhileItHasTheFocus)
{
    cMainWnd& w = StartWithCells();
    QApplication::setActiveWindow(&w);
    Click({2, -1});
    ASSERT_TRUE(Grid().hasFocus());
    QTest::keyClick(&Grid(), Qt::Key_Right);
    EXPECT_EQ(w.Canvas()->CurrentFrame(), 3);
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    EXPECT_EQ(X(3, 1), -1) << "Del deleted the selected frame";
    EXPECT_EQ(w.Project().GetValue(AI_FRAMES), 9);
}

TEST_F(TimelineGuiTest, DialogsOpenPresetWithTheSelection)
{
    cMainWnd& w = StartWithCells();
    Drag({2, -1}, {5, -1});
    int first = -1, last = -1;
    whenModal<cDlg_SetInterval>([&](cDlg_SetInterval& d) {
        first = d.firstSpin->value();
        last = d.lastSpin->value();
    });
    QTest::mouseDClick(&Grid(), Qt::LeftButton, Qt::ShiftModifier, Grid().PointOf({5, -1}));
    EXPECT_EQ(first, 2) << "a double click on a column header asks for the selected frames' interval";
    EXPECT_EQ(last, 5);

    Drag({1, 1}, {4, 2});
    std::vector<bool> ticks;
    whenModal<cDlg_FrameComp>([&](cDlg_FrameComp& d) {
        first = d.firstSpin->value();
        last = d.lastSpin->value();
        ticks = d.state.cellTicks;
    });
    chooseInNextMenu(40001); // フレーム補完
    Click({2, 2}, Qt::RightButton);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 4);
    ASSERT_GE(ticks.size(), 4u);
    EXPECT_FALSE(ticks[0]);
    EXPECT_TRUE(ticks[1] && ticks[2]);
    EXPECT_FALSE(ticks[3]);
    EXPECT_EQ(w.Project().GetValue(AI_FRAMES), 10) << "cancelled: nothing changed";
}
