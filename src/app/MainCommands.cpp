// The main window's command dispatch, the handlers the command table names, and the
// context of the menu state rules.

#include "app/MainWnd.h"

#include "app/DlgHost.h"
#include "edit/CanvasClip.h"
#include "edit/EditClip.h"
#include "edit/FrameOps.h"
#include "edit/HistoryCommands.h"
#include "edit/Interpolate.h"
#include "edit/RestoreHistory.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "playback/SoundTable.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgPalette.h"
#include "ui/DlgSourceList.h"
#include "ui/KeyframeWnd.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"
#include "view/ListWindow.h"

#include <QCheckBox>
#include <QSpinBox>

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>

bool cMainWnd::ClipboardCommand(int id, bool* done)
{
    int version = 0;
    bool isExport = false;
    if (!ClipboardCommandVersion(id, version, isExport))
        return false;
    const bool worked = isExport
                            ? ClipboardExportCommand(platform::SystemClipboard(), Project(), version,
                                                     Settings().FolderNames(), static_cast<iStatusSink&>(*this)) == 1
                            : document_->FileCommand(id);
    if (done)
        *done = worked;
    Refresh();
    return true;
}

void cMainWnd::OnCommand(int id, int code, QObject* control)
{
    if (!canvas_ || AlwaysDisabled(id))
        return;
    // Keys of commands the timeline has reach it while it has the focus.
    if (code == 1 && timeline_ && timeline_->WantsKeyCommand(id)) {
        timeline_->OnCommand(id, code, control);
        return;
    }
    if (canvas_->IsPlaying() && !HandledDuringPlayback(id))
        canvas_->StopPlayback();
    RunCommand(*this, id, code);
}

// The handlers of the command table's entries.

bool cMainWnd::SideWindowTakes(int id) { return dlgHost_ && dlgHost_->OnCommand(id); }

void cMainWnd::RunFile(int id, int)
{
    document_->FileCommand(id);
    Refresh();
}

void cMainWnd::RunRecent(int id, int)
{
    const std::vector<std::string>& recent = recent_.Paths();
    if (size_t(id - IDM_RECENT_FIRST) < recent.size())
        document_->FileCommand(IDM_OPEN_PATH, paths::FromDiskPath(recent[size_t(id - IDM_RECENT_FIRST)]));
    Refresh();
}

void cMainWnd::RunClipboardTransfer(int id, int) { ClipboardCommand(id); }

void cMainWnd::RunSideWindow(int id, int) { SideWindowTakes(id); }

void cMainWnd::RunClose(int, int) { close(); }

void cMainWnd::RunUndo(int, int)
{
    const int f = canvas_->CurrentFrame();
    UndoCommand(Project(), document_->History(), *this);
    AfterHistoryStep(f);
}

void cMainWnd::RunRedo(int, int)
{
    const int f = canvas_->CurrentFrame();
    RedoCommand(Project(), document_->History(), *this);
    AfterHistoryStep(f);
}

void cMainWnd::AfterHistoryStep(int frame)
{
    cAnimeData& p = Project();
    // Picture and effect edits are undone too: sheets and tables follow.
    SyncPictureSheets(p, SpriteDrawer());
    if (dlgHost_) {
        dlgHost_->ListWindow()->RefreshTables();
        dlgHost_->PaletteWindow()->Rebuild();
    }
    SetCurrentFrame(ClampCurrentFrame(p, frame));
}

// Cut, copy, paste, delete and new cell go to the list window when it takes them.
void cMainWnd::RunCut(int id, int)
{
    if (SideWindowTakes(id))
        return;
    CanvasCut(Project(), canvas_->CurrentFrame(), canvas_->Selection(), *this);
    Refresh();
}

void cMainWnd::RunCopy(int id, int)
{
    if (SideWindowTakes(id))
        return;
    CanvasCopy(Project(), canvas_->CurrentFrame(), canvas_->Selection(), *this);
}

void cMainWnd::RunPaste(int id, int)
{
    if (SideWindowTakes(id))
        return;
    cAnimeData& p = Project();
    const int f = canvas_->CurrentFrame();
    const int target = CanvasPasteTarget(p, f, canvas_->Selection());
    if (target >= 0)
        CanvasPaste(p, f, target, canvas_->Selection(), nullptr, *this);
    Refresh();
}

void cMainWnd::RunDelete(int id, int)
{
    if (SideWindowTakes(id))
        return;
    canvas_->Edit().DeleteSelected(*this);
    Refresh();
}

void cMainWnd::RunSelectAll(int, int)
{
    canvas_->Edit().SelectAll();
    Refresh();
}

void cMainWnd::RunArrange(int id, int)
{
    if (id == IDM_BRING_FORWARD)
        canvas_->Edit().BringForward(*this);
    else
        canvas_->Edit().SendBackward(*this);
    Refresh();
}

void cMainWnd::RunNewCell(int id, int code)
{
    if (!SideWindowTakes(id))
        canvas_->ChooseCellNumber(0, code == 1);
}

void cMainWnd::RunInterpolateSelected(int, int)
{
    std::vector<int> cells;
    const std::vector<uint8_t>& sel = canvas_->Selection();
    for (size_t k = 0; k < sel.size(); ++k)
        if (sel[k] & kCellSelected)
            cells.push_back(int(k));
    if (!cells.empty())
        InterpolateSelected(Project(), canvas_->CurrentFrame(), cells, Settings().CompType, *this);
    Refresh();
}

void cMainWnd::RunProjectDialog(int, int)
{
    dialogs_.OpenWindow(WK_PROJECT, this);
    SetCurrentFrame(ClampCurrentFrame(Project(), canvas_->CurrentFrame()));
}

void cMainWnd::RunNextFrame(int, int)
{
    SetCurrentFrame(NextFrame(Project(), canvas_->CurrentFrame(), Settings().NewFrameFlag, *this, *messages_));
}
void cMainWnd::RunPreviousFrame(int, int)
{
    SetCurrentFrame(PreviousFrame(Project(), canvas_->CurrentFrame(), *messages_));
}
void cMainWnd::RunFirstFrame(int, int) { SetCurrentFrame(FirstFrame(Project(), canvas_->CurrentFrame(), *messages_)); }
void cMainWnd::RunLastFrame(int, int) { SetCurrentFrame(LastFrame(Project(), canvas_->CurrentFrame(), *messages_)); }

// The frame edits move the current frame where they leave it.
void cMainWnd::RunInsertFrame(int, int)
{
    int f = canvas_->CurrentFrame();
    InsertFrame(Project(), f, *this);
    SetCurrentFrame(f);
}

void cMainWnd::RunDeleteFrame(int, int)
{
    int f = canvas_->CurrentFrame();
    DeleteFrame(Project(), f, *this);
    SetCurrentFrame(f);
}

void cMainWnd::RunClearFrame(int, int)
{
    int f = canvas_->CurrentFrame();
    ClearFrame(Project(), f, *this);
    SetCurrentFrame(f);
}

void cMainWnd::RunFromPrevious(int, int)
{
    int f = canvas_->CurrentFrame();
    CopyFromPrevious(Project(), f, *this, *messages_);
    SetCurrentFrame(f);
}

void cMainWnd::RunFromNext(int, int)
{
    int f = canvas_->CurrentFrame();
    CopyFromNext(Project(), f, *this, *messages_);
    SetCurrentFrame(f);
}

void cMainWnd::RunInterpolate(int, int)
{
    int f = canvas_->CurrentFrame();
    InterpolateFromNeighbours(Project(), f, Settings().CompType, *this, *messages_);
    SetCurrentFrame(f);
}

void cMainWnd::RunSetTarget(int, int)
{
    if (dialogs_.OpenWindow(WK_TARGET, this) == DLG_OK) {
        SpriteDrawer().RemoveSheet(kTargetSheet);
        SpriteDrawer().LoadSingleSheet(Settings().TargetPath, kTargetSheet);
    }
    Refresh();
}

void cMainWnd::RunSetGif(int, int)
{
    if (dialogs_.OpenWindow(WK_GIF, this) == DLG_OK)
        canvas_->ReloadDraftGif();
    Refresh();
}

void cMainWnd::RunPlay(int id, int)
{
    if (id == IDM_PLAY_FIRST)
        canvas_->StopPlayback();
    // The range applies unless PlayBit says to play the whole animation (its box unticked).
    const bool playing = canvas_->PlayCommand(id == IDM_PLAY_FIRST ? 0 : canvas_->CurrentFrame(),
                                              toolPlay_->rangeStart->value(), toolPlay_->rangeEnd->value());
    toolPlay_->SetChecked(IDM_PLAY, playing);
    Refresh();
}

void cMainWnd::RunTool(int id, int)
{
    canvas_->SetTool(id == IDM_TOOL_MOVE ? TOOL_MOVE : id == IDM_TOOL_SWING ? TOOL_SWING : TOOL_SPLINE);
    for (int tool : {IDM_TOOL_MOVE, IDM_TOOL_SWING, IDM_TOOL_SPLINE})
        toolEdit_->SetChecked(tool, tool == id);
}

void cMainWnd::RunSettingsDialog(int, int)
{
    dialogs_.OpenWindow(WK_CONF, this);
    Refresh();
}

void cMainWnd::RunOpenFolder(int, int) { OpenCurrentFolder(); }

void cMainWnd::RunVersion(int, int) { ShowVersion(); }

void cMainWnd::SetCurrentFrame(int frame)
{
    canvas_->SetCurrentFrame(frame);
    Refresh();
}

void cMainWnd::RunPlayOption(int id, int)
{
    const unsigned bit = PlayOptionBit(id);
    cSettings& s = Settings();
    s.PlayBit ^= bit;
    const bool on = (s.PlayBit & bit) != 0;
    // A running playback takes the new options at once.
    canvas_->Player().SetOptions(s.PlayBit);
    if (bit == PF_RELOAD_SOUNDS && on)
        SoundTable().ReleaseAll();
    toolPlay_->SetChecked(id, on);
    canvas_->RequestRedraw();
}

void cMainWnd::RunToggleFlag(int id, int)
{
    bool* flag = ToggleFlagOf(Settings(), id);
    *flag = !*flag;
    if (id == IDM_VIEW_STATUS) {
        statusBar_->setVisible(*flag);
        OnSize();
    } else if (id == IDM_VIEW_BAR) {
        rebar_->setVisible(*flag);
        OnSize();
    }
    SyncToolChecks();
    canvas_->RequestRedraw();
}

void cMainWnd::SyncToolChecks()
{
    const cSettings& s = Settings();
    toolFrame_->SetChecked(IDM_NEW_FRAME_FLAG, s.NewFrameFlag);
    const std::pair<int, bool> view[] = {
        {IDM_VIEW_BACK, s.VBackFlag},   {IDM_VIEW_NOW, s.VNowFlag},       {IDM_VIEW_NEXT, s.VNextFlag},
        {IDM_VIEW_LOCUS, s.VLocusFlag}, {IDM_VIEW_TARGET, s.VTargetFlag}, {IDM_VIEW_GIF, s.VGifFlag},
        {IDM_VIEW_LINE, s.VLineFlag},
    };
    for (const auto& [id, on] : view)
        toolView_->SetChecked(id, on);
    for (int id : {IDM_OPT_BOUNCE, IDM_OPT_LOOP, IDM_OPT_SOUND, IDM_OPT_FLASH})
        toolPlay_->SetChecked(id, (s.PlayBit & PlayOptionBit(id)) != 0);
    toolPlay_->SetChecked(IDM_PLAY, canvas_ && canvas_->IsPlaying());
}

strMenuContext cMainWnd::MenuContext() const
{
    strMenuContext c;
    const cAnimeData& p = document_->Project();
    c.hasProject = true;
    c.untitled = p.untitled;
    c.fromGameData = !document_->dataFile.empty();
    c.clip2000 = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_2000);
    c.clipRuby = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_RUBY);
    c.clipJson = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_MV);
    c.canUndo = document_->History().CanRestore(RESTORE_UNDO);
    c.canRedo = document_->History().CanRestore(RESTORE_REDO);
    c.fixPicturePerCell = p.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    c.cellSelected = canvas_->AnySelected();
    c.clipCells = Has(CLIP_CELLS);
    c.playBit = Settings().PlayBit;
    c.settings = &Settings();
    c.listVisible = dlgHost_ && dlgHost_->ListVisible();
    c.paletteVisible = dlgHost_ && dlgHost_->PaletteVisible();
    c.statusVisible = !statusBar_->isHidden();
    c.barVisible = !rebar_->isHidden();
    return c;
}

void cMainWnd::UpdateMenuState(int position)
{
    if (position < 0 || size_t(position) >= topMenus_.size())
        return;
    const strMenuContext context = MenuContext();
    std::function<void(QMenu*)> update = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                update(action->menu());
                continue;
            }
            if (action->isSeparator())
                continue;
            const strItemState state = MenuStateOf(action->data().toInt(), context);
            action->setEnabled(state.enabled);
            action->setCheckable(state.checkable);
            if (state.checkable)
                action->setChecked(state.checked);
        }
    };
    update(topMenus_[size_t(position)]);
}

void cMainWnd::OpenCurrentFolder()
{
    const std::string& folder = Project().Text(AT_WORK_FOLDER);
    if (folder.empty() || !paths::IsFolder(folder))
        return;
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(paths::ToDiskPath(folder).string()));
    // Without a file manager (or any program for folders) nothing opens: say so.
    if (!QDesktopServices::openUrl(url))
        ShowStatus(platform::FormatString(45009, paths::ForDisplay(folder).c_str()));
}

void cMainWnd::RememberRecent(const std::string& path)
{
    if (path.empty())
        return;
    // Re-read first: another editor may have added projects of its own.
    recent_.Load(configPath_);
    recent_.Add(paths::ForDisplay(path));
    recent_.Save(configPath_);
    if (recentMenu_)
        recentMenu_->menuAction()->setEnabled(true);
}

void cMainWnd::FillRecentMenu()
{
    recentMenu_->clear();
    recent_.Load(configPath_);
    const std::vector<std::string>& recent = recent_.Paths();
    for (size_t i = 0; i < recent.size(); ++i) {
        QString text = QString::fromUtf8(recent[i].data(), qsizetype(recent[i].size()));
        QAction* action = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(text.replace("&", "&&")));
        const int id = IDM_RECENT_FIRST + int(i);
        action->setData(id);
        // A project that is gone stays listed, greyed.
        action->setEnabled(paths::Exists(paths::FromDiskPath(recent[i])));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
}

void cMainWnd::ShowVersion()
{
    QMessageBox::about(this, tr("バージョン情報"),
                       QString::asprintf("MevkoEditor\nVersion %1.2f", double(cSettings::kVersion)));
}
