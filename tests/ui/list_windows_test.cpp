// The list and palette windows: visibility commands and settings, table commands
// through the internal clipboard, the palette's tabs and a pattern dropped on the
// canvas, and the PNG export with its progress dialog.

#include "support/GuiFixture.h"

#include "app/DlgHost.h"
#include "model/AnimeData.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgOutput.h"
#include "ui/DlgPalette.h"
#include "ui/DlgSourceList.h"
#include "ui/MainEditWnd.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <algorithm>

namespace {

class ListWindowGuiTest : public GuiTest {
protected:
    cMainWnd& StartSample()
    {
        cMainWnd& w = Start({QString::fromStdString(Sample().string())});
        QCoreApplication::processEvents();
        return w;
    }
    cDlgHost& Host() { return *window->SideWindows(); }
};

TEST_F(ListWindowGuiTest, WindowCommandsShowHideAndRememberPlacement)
{
    cMainWnd& w = StartSample();
    EXPECT_TRUE(Host().ListVisible()) << "VListFlag defaults to shown";
    EXPECT_TRUE(Host().PaletteVisible());
    w.OnCommand(IDM_VIEW_LIST);
    EXPECT_FALSE(Host().ListVisible());
    EXPECT_FALSE(Settings().VListFlag);
    w.UpdateMenuState(3);
    EXPECT_FALSE(w.MenuActions(IDM_VIEW_LIST).first()->isChecked());
    w.OnCommand(IDM_VIEW_LIST);
    EXPECT_TRUE(Host().ListVisible());
    Host().ListWindow()->setGeometry(100, 110, 260, 310);
    w.OnCommand(IDM_VIEW_PALETTE);
    Host().StorePlacements();
    EXPECT_EQ(Settings().ListWinSizeX, 260);
    EXPECT_TRUE(Settings().VListFlag);
    EXPECT_FALSE(Settings().VPalFlag);
}

TEST_F(ListWindowGuiTest, TablesShowTheProjectWithoutABlankKeyframePage)
{
    StartSample();
    cDlg_SourceList& list = *Host().ListWindow();
    EXPECT_EQ(list.tabs->count(), 2) << "the timeline sits below the canvas, not on a tab";
    QAbstractItemModel* pictures = list.pictureTable->model();
    EXPECT_EQ(pictures->rowCount(), window->Project().PictureCapacity());
    EXPECT_EQ(pictures->data(pictures->index(0, 1)).toString(), "sample_burst.png");
    EXPECT_EQ(pictures->headerData(2, Qt::Horizontal).toString(), "XY");
    QAbstractItemModel* effects = list.effectTable->model();
    EXPECT_EQ(effects->rowCount(), window->Project().Effects().Count() + 1);
}

TEST_F(ListWindowGuiTest, EffectCutAndPasteGoThroughTheInternalClipboard)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    cDlg_SourceList& list = *Host().ListWindow();
    const int count = p.Effects().Count();
    const strEffect second = *p.GetEffect(1);
    list.SelectRow(cDlg_SourceList::kEffectPage, 1);
    ASSERT_TRUE(list.TableCommand(cDlg_SourceList::kEffectPage, IDM_CUT));
    EXPECT_EQ(p.Effects().Count(), count - 1);
    EXPECT_EQ(w.StatusPart(0)->text(), "[1] : 切り取り");
    list.SelectRow(cDlg_SourceList::kEffectPage, 0);
    ASSERT_TRUE(list.TableCommand(cDlg_SourceList::kEffectPage, IDM_PASTE));
    EXPECT_EQ(p.Effects().Count(), count);
    EXPECT_EQ(*p.GetEffect(1), second) << "pasted back in frame order";
    EXPECT_EQ(list.CurrentRow(cDlg_SourceList::kEffectPage), 1);
}

TEST_F(ListWindowGuiTest, PictureDeleteDropsTheSheetAndPasteBringsItBack)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    cDlg_SourceList& list = *Host().ListWindow();
    ASSERT_NE(SpriteDrawer().Sheet(1), nullptr);
    list.SelectRow(cDlg_SourceList::kPicturePage, 1);
    ASSERT_TRUE(list.TableCommand(cDlg_SourceList::kPicturePage, IDM_COPY));
    ASSERT_TRUE(list.TableCommand(cDlg_SourceList::kPicturePage, IDM_DELETE));
    EXPECT_EQ(p.GetPicture(1), nullptr);
    EXPECT_EQ(SpriteDrawer().Sheet(1), nullptr);
    EXPECT_EQ(Host().PaletteWindow()->tabs->count(), 1) << "the tabs end at the last picture";
    list.SelectRow(cDlg_SourceList::kPicturePage, 3);
    ASSERT_TRUE(list.TableCommand(cDlg_SourceList::kPicturePage, IDM_PASTE));
    ASSERT_NE(p.GetPicture(3), nullptr);
    ASSERT_NE(SpriteDrawer().Sheet(3), nullptr);
    EXPECT_TRUE(SpriteDrawer().Sheet(3)->IsReady());
    EXPECT_EQ(Host().PaletteWindow()->Picture(), 3) << "the palette shows the changed slot";
    EXPECT_EQ(Host().PaletteWindow()->tabs->count(), 4);
}

TEST_F(ListWindowGuiTest, PaletteShowsPicturesAndDropsPatternsOnTheCanvas)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    cDlg_Palette& palette = *Host().PaletteWindow();
    EXPECT_EQ(palette.tabs->count(), 2);
    palette.tabs->setCurrentIndex(1);
    EXPECT_EQ(palette.windowTitle(), "パレット [01]");
    EXPECT_EQ(palette.surface->Geometry().count, 4);
    palette.surface->SetSelected(3);
    palette.zoomCombo->setCurrentIndex(3);
    EXPECT_EQ(palette.surface->Zoom(), 3);

    w.Canvas()->SetCurrentFrame(0);
    const int used = p.GetCell(0, 0) ? 1 : 0;
    const QPoint corner = w.Canvas()->mapToGlobal(QPoint(2, 2));
    const int steps = History().UndoCount();
    Host().PaletteDrag(PD_BEGIN, corner);
    Host().PaletteDrag(PD_DROP, corner);
    const strCell* placed = p.GetCell(0, used);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->picture, 1);
    EXPECT_EQ(placed->pattern, 3);
    EXPECT_EQ(History().UndoCount(), steps + 1);
    Host().PaletteDrag(PD_DROP, w.Canvas()->mapToGlobal(QPoint(-50, -50)));
    EXPECT_EQ(History().UndoCount(), steps + 1) << "a drop outside the canvas does nothing";
}

TEST_F(ListWindowGuiTest, PaletteZoomKeepsTheSheetInView)
{
    StartSample();
    cDlg_Palette& palette = *Host().PaletteWindow();
    palette.tabs->setCurrentIndex(1);
    cPicPaletteWnd& surface = *palette.surface;
    const strPaletteGeometry& g = surface.Geometry();
    for (int zoom : {3, 4, 0, 3, 2}) {
        SCOPED_TRACE(zoom);
        palette.zoomCombo->setCurrentIndex(zoom);
        ASSERT_EQ(surface.Zoom(), zoom);
        // The view's top-left corner shows the sheet, and the scroll range ends with it.
        const double left = surface.View().ToSurfaceX(0), top = surface.View().ToSurfaceY(0);
        EXPECT_GE(left, -0.5);
        EXPECT_LT(left, g.Width());
        EXPECT_GE(top, -0.5);
        EXPECT_LT(top, g.Height());
        double l, t, r, b;
        surface.View().Range(l, t, r, b);
        const QSize c = surface.ClientSize();
        EXPECT_LE(r + c.width() / 2.0 / surface.View().Factor(),
                  std::max<double>(g.Width(), c.width() / surface.View().Factor()) + 0.5);
    }
}

TEST_F(ListWindowGuiTest, PngExportRunsTheWorkerWithProgress)
{
    cMainWnd& w = StartSample();
    cDlg_Output_Graph& dlg = *Host().PngDialog();
    dlg.OnCreate();
    dlg.AutoRect();
    EXPECT_NE(dlg.widthSpin->value(), 320) << "自動 found the cells";
    dlg.combineCheck->setChecked(true);
    dlg.countSpin->setValue(4);
    chooser.answer = (dir / "sheet.png").string();
    EXPECT_TRUE(dlg.Export());
    EXPECT_TRUE(std::filesystem::exists(dir / "sheet.png"));
    EXPECT_EQ(w.StatusPart(0)->text(), "画像出力完了");
    chooser.answer.clear();
    EXPECT_FALSE(dlg.Export()) << "the file dialog was cancelled";
    dlg.widthSpin->setValue(0);
    chooser.answer = (dir / "none.png").string();
    EXPECT_FALSE(dlg.Export()) << "an empty crop is refused";
    EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
}

TEST_F(ListWindowGuiTest, GifExportWritesTheAnimation)
{
    StartSample();
    cDlg_Output_Gif& dlg = *Host().GifDialog();
    dlg.OnCreate();
    dlg.AutoRect();
    dlg.fpsSpin->setValue(30);
    dlg.transparentCheck->setChecked(true);
    chooser.answer = (dir / "anim.gif").string();
    EXPECT_TRUE(dlg.Export());
    EXPECT_GT(std::filesystem::file_size(dir / "anim.gif"), 100u);
}

} // namespace
