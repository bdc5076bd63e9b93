#include "app/DlgHost.h"

#include "app/MainWnd.h"
#include "model/AnimeData.h"
#include "platform/CommandIds.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgCell.h"
#include "ui/DlgEffect.h"
#include "ui/DlgFixCell.h"
#include "ui/DlgFrameComp.h"
#include "ui/DlgInterval.h"
#include "ui/DlgOutput.h"
#include "ui/DlgPalette.h"
#include "ui/DlgPicture.h"
#include "ui/DlgSourceList.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"
#include "view/CanvasEdit.h"
#include "view/PaletteView.h"

#include <cmath>

cDlgHost::cDlgHost(cMainWnd* main, iMessageSink& messages, iFileChooser& chooser)
    : QObject(main), main_(main), messages_(messages)
{
    auto project = [main]() -> cAnimeData& { return main->Project(); };
    iStatusSink& status = *main;
    cell_ = new cDlg_Cell(main, project);
    effect_ = new cDlg_SetEffect(main, project, chooser);
    picture_ = new cDlg_SetPicture(main, project, chooser);
    interval_ = new cDlg_SetInterval(main, project, status);
    frameComp_ = new cDlg_FrameComp(main, project, status);
    atOnce_ = new cDlg_AtOnce(main, project, status);
    fixCell_ = new cDlg_FixCell(main, project);
    fixCellS_ = new cDlg_FixCell_S(main, project);
    list_ = new cDlg_SourceList(main, project, status, *picture_, *effect_);
    palette_ = new cDlg_Palette(main, project);
    png_ = new cDlg_Output_Graph(main, project, chooser, status);
    gif_ = new cDlg_Output_Gif(main, project, chooser, status);

    cDialogSet& set = main->Dialogs();
    set.Add(WK_INTERVAL, interval_);
    set.Add(WK_FRAME_COMP, frameComp_);
    set.Add(WK_AT_ONCE, atOnce_);
    set.Add(WK_LIST, list_);
    set.Add(WK_PALETTE, palette_);
    set.Add(WK_OUTPUT_PNG, png_);
    set.Add(WK_OUTPUT_GIF, gif_);
    set.Add(WK_CELL, cell_);
    set.Add(WK_FIX_CELL, fixCell_);
    set.Add(WK_FIX_CELL_S, fixCellS_);

    const cSettings& s = Settings();
    cell_->rememberedX = s.CellWinPostX;
    cell_->rememberedY = s.CellWinPostY;
    PlaceWindow(list_, {s.ListWinPostX, s.ListWinPostY, s.ListWinSizeX, s.ListWinSizeY});
    PlaceWindow(palette_, {s.PalWinPostX, s.PalWinPostY, s.PalWinSizeX, s.PalWinSizeY});

    main->Canvas()->Edit().SetPreview(
        [this](int frame, int cellNo, strCell& out) { return CellPreview(frame, cellNo, out); });
    cell_->onPreview = [main] { main->Canvas()->RequestRedraw(); };
    cell_->onStored = [main] { main->Refresh(); };
    list_->onPictureChanged = [this](int slot) { PictureChanged(slot); };
    list_->onPictureFocus = [this](int slot) { palette_->ShowPicture(slot); };
    palette_->surface->onDrag = [this](int phase, QPoint global) { PaletteDrag(phase, global); };
    main->Canvas()->dropPattern = [this](int& picture, int& pattern) {
        picture = palette_->Picture();
        pattern = palette_->Pattern();
    };

    // The side windows open once the main window is up, and leave it the active one.
    QMetaObject::invokeMethod(
        this,
        [this] {
            started_ = true;
            const cSettings& settings = Settings();
            if (settings.VListFlag)
                main_->Dialogs().OpenWindow(WK_LIST, main_);
            if (settings.VPalFlag)
                main_->Dialogs().OpenWindow(WK_PALETTE, main_);
            if (main_->isVisible())
                main_->activateWindow();
        },
        Qt::QueuedConnection);
}

cDlgHost::~cDlgHost() = default;

cAnimeData& cDlgHost::Project() const { return main_->Project(); }

int cDlgHost::FocusCell() const { return main_->Canvas()->Edit().Focus(); }

bool cDlgHost::OnCommand(int id)
{
    cDialogSet& set = main_->Dialogs();
    switch (id) {
    case IDM_CUT:
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_DELETE:
    case IDM_NEW_CELL: return list_->OnTableCommand(id);
    case IDM_CELL_DIALOG:
        if (list_->OnTableCommand(id))
            return true;
        [[fallthrough]];
    case IDM_CELL_WINDOW: {
        const int k = FocusCell();
        if (k >= 0)
            OpenCellDialog(main_->Canvas()->CurrentFrame(), k);
        return true;
    }
    case IDM_VIEW_LIST: ToggleWindow(WK_LIST, Settings().VListFlag); return true;
    case IDM_VIEW_PALETTE: ToggleWindow(WK_PALETTE, Settings().VPalFlag); return true;
    case IDM_VERTICAL: {
        bool& flag = Settings().VerticalFlag;
        flag = !flag;
        main_->EditTool()->SetChecked(IDM_VERTICAL, flag);
        palette_->Relayout();
        return true;
    }
    case IDM_SET_INTERVAL:
        set.OpenWindow(WK_INTERVAL, main_);
        main_->Refresh();
        return true;
    case IDM_FRAME_COMP:
        set.OpenWindow(WK_FRAME_COMP, main_);
        main_->Refresh();
        return true;
    case IDM_AT_ONCE:
        set.OpenWindow(WK_AT_ONCE, main_);
        main_->Refresh();
        return true;
    case IDM_FIX_CELL:
        if (Project().GetValue(AI_FIX_PICTURE_PER_CELL))
            set.OpenWindow(WK_FIX_CELL, main_);
        main_->Refresh();
        return true;
    case IDM_FIX_CELL_S: OpenFixCellS(fixCellS_->cellNo); return true;
    case IDM_EXPORT_PNG: set.OpenWindow(WK_OUTPUT_PNG, main_); return true;
    case IDM_EXPORT_GIF: set.OpenWindow(WK_OUTPUT_GIF, main_); return true;
    default: return false;
    }
}

void cDlgHost::ToggleWindow(unsigned key, bool& flag)
{
    cBaseDlg* dlg = main_->Dialogs().Get(key);
    if (dlg->isVisible()) {
        dlg->hide();
        flag = false;
    } else {
        if (dlg->IsOpen())
            dlg->show();
        else
            main_->Dialogs().OpenWindow(key, main_);
        flag = true;
    }
    main_->OnSize();
}

void cDlgHost::OpenCellDialog(int frame, int cellNo)
{
    if (cellNo < 0 || cellNo >= Project().CellCount() || !Project().GetFrame(frame))
        return;
    cell_->Open(frame, cellNo);
}

bool cDlgHost::CellPreview(int frame, int cellNo, strCell& out) const { return cell_->WorkingCell(frame, cellNo, out); }

void cDlgHost::OpenFixCellS(int cellNo)
{
    if (!Project().GetValue(AI_FIX_PICTURE_PER_CELL) || cellNo < 0 || cellNo >= Project().CellCount())
        return;
    fixCellS_->cellNo = cellNo;
    main_->Dialogs().OpenWindow(WK_FIX_CELL_S, main_);
    main_->Refresh();
}

void cDlgHost::PictureChanged(int slot)
{
    palette_->Rebuild();
    if (Project().GetPicture(slot))
        palette_->ShowPicture(slot);
    main_->Refresh();
}

void cDlgHost::ProjectReplaced()
{
    if (cell_->IsOpen())
        cell_->Close(DLG_CANCEL);
    list_->RefreshTables();
    palette_->Rebuild();
}

void cDlgHost::PaletteDrag(int phase, QPoint global)
{
    cMainEditWnd* canvas = main_->Canvas();
    const QPoint point = canvas->mapFromGlobal(global);
    const bool over = canvas->isVisible() && canvas->rect().contains(point);
    canvas->OnDragNotify(kPaletteDragMessage, phase, point);
    if (phase == PD_CANCEL || (phase == PD_DROP && !over))
        canvas->RequestRedraw();
    if (phase != PD_DROP || !over)
        return;
    cCanvasEdit& edit = canvas->Edit();
    const strCanvasPoint window{float(point.x()), float(point.y())};
    const strCanvasPoint at = edit.View().ToAnimation(window.x, window.y);
    cAnimeData& p = Project();
    int frame = canvas->CurrentFrame();
    const int before = frame;
    const int hit = edit.HitTest(window);
    PaletteDrop(p, frame, messages_, palette_->Picture(), palette_->Pattern(), int(std::trunc(at.x)),
                int(std::trunc(at.y)), hit);
    if (frame != before)
        canvas->SetCurrentFrame(frame);
    main_->Refresh();
    canvas->setFocus();
}

void cDlgHost::StorePlacements()
{
    cSettings& s = Settings();
    const strPlacement l = PlacementOf(list_), p = PlacementOf(palette_);
    s.ListWinPostX = l.x;
    s.ListWinPostY = l.y;
    s.ListWinSizeX = l.width;
    s.ListWinSizeY = l.height;
    s.PalWinPostX = p.x;
    s.PalWinPostY = p.y;
    s.PalWinSizeX = p.width;
    s.PalWinSizeY = p.height;
    const strPlacement open = PlacementOf(cell_);
    const QPoint c = cell_->IsOpen() ? QPoint(open.x, open.y) : QPoint(cell_->rememberedX, cell_->rememberedY);
    s.CellWinPostX = c.x();
    s.CellWinPostY = c.y();
    if (started_) {
        s.VListFlag = list_->isVisible();
        s.VPalFlag = palette_->isVisible();
    }
}

bool cDlgHost::ListVisible() const { return list_->isVisible(); }
bool cDlgHost::PaletteVisible() const { return palette_->isVisible(); }
