// The command handler of the main window and the menu state rules it applies.

#include "app/MainWnd.h"

#include "app/DlgHost.h"
#include "edit/CanvasClip.h"
#include "edit/EditClip.h"
#include "edit/FrameOps.h"
#include "edit/HistoryCommands.h"
#include "edit/Interpolate.h"
#include "edit/ListWindow.h"
#include "edit/Restore.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/Strings.h"
#include "playback/SoundTable.h"
#include "project/Paths.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgPalette.h"
#include "ui/DlgSourceList.h"
#include "ui/KeyframeWnd.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"

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
    const bool worked = isExport ? ClipboardExportCommand(platform::SystemClipboard(), Project(), version,
                                                          static_cast<iStatusSink&>(*this)) == 1
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
    if (ClipboardCommand(id))
        return;
    cAnimeData& p = Project();
    int f = canvas_->CurrentFrame();
    if (dlgHost_ && dlgHost_->OnCommand(id))
        return;
    if (PlayOptionBit(id)) {
        togglePlayOption(id);
        return;
    }
    if (ToggleFlagOf(id)) {
        toggleFlag(id);
        return;
    }
    if (id >= IDM_RECENT_FIRST && id < IDM_RECENT_FIRST + int(cRecentFiles::kMax)) {
        const std::vector<std::string>& recent = recent_.Paths();
        if (size_t(id - IDM_RECENT_FIRST) < recent.size())
            document_->FileCommand(IDM_OPEN_PATH, paths::FromDiskPath(recent[size_t(id - IDM_RECENT_FIRST)]));
        Refresh();
        return;
    }
    switch (id) {
    case IDM_NEW: case IDM_OPEN: case IDM_SAVE: case IDM_SAVE_AS:
    case IDM_OPEN_GAME_DATA: case IDM_WRITE_BACK: case IDM_EXPORT_GAME_DATA:
        document_->FileCommand(id);
        Refresh();
        break;
    case IDM_CLOSE:
        close();
        break;
    case IDM_UNDO: case IDM_REDO:
        if (id == IDM_UNDO)
            UndoCommand(p, *this);
        else
            RedoCommand(p, *this);
        // Picture and effect edits are undone too: sheets and tables follow.
        SyncPictureSheets(p, SpriteDrawer());
        if (dlgHost_) {
            dlgHost_->ListWindow()->RefreshTables();
            dlgHost_->PaletteWindow()->Rebuild();
        }
        setCurrentFrame(ClampCurrentFrame(p, f));
        break;
    case IDM_CUT:
        CanvasCut(p, f, canvas_->Selection(), *this);
        Refresh();
        break;
    case IDM_COPY:
        CanvasCopy(p, f, canvas_->Selection(), *this);
        break;
    case IDM_PASTE: {
        const int target = CanvasPasteTarget(p, f, canvas_->Selection());
        if (target >= 0)
            CanvasPaste(p, f, target, canvas_->Selection(), nullptr, *this);
        Refresh();
        break;
    }
    case IDM_DELETE:
        canvas_->Edit().DeleteSelected(*this);
        Refresh();
        break;
    case IDM_SELECT_ALL:
        canvas_->Edit().SelectAll();
        Refresh();
        break;
    case IDM_BRING_FORWARD: case IDM_SEND_BACKWARD:
        if (id == IDM_BRING_FORWARD)
            canvas_->Edit().BringForward(*this);
        else
            canvas_->Edit().SendBackward(*this);
        Refresh();
        break;
    case IDM_TOOL_MOVE: case IDM_TOOL_SWING: case IDM_TOOL_SPLINE:
        canvas_->SetTool(id == IDM_TOOL_MOVE ? TOOL_MOVE : id == IDM_TOOL_SWING ? TOOL_SWING : TOOL_SPLINE);
        for (int tool : {IDM_TOOL_MOVE, IDM_TOOL_SWING, IDM_TOOL_SPLINE})
            toolEdit_->SetChecked(tool, tool == id);
        break;
    case IDM_NEW_CELL:
        canvas_->ChooseCellNumber(0, code == 1);
        break;
    case IDM_SET_TARGET:
        if (dialogs_.OpenWindow(WK_TARGET, this) == DLG_OK) {
            SpriteDrawer().removeSheet(kTargetSheet);
            SpriteDrawer().loadSingleSheet(Settings().TargetPath, kTargetSheet);
        }
        Refresh();
        break;
    case IDM_SET_GIF:
        if (dialogs_.OpenWindow(WK_GIF, this) == DLG_OK)
            canvas_->ReloadDraftGif();
        Refresh();
        break;
    case IDM_INTERPOLATE_SELECTED: {
        std::vector<int> cells;
        const std::vector<uint8_t>& sel = canvas_->Selection();
        for (size_t k = 0; k < sel.size(); ++k)
            if (sel[k] & kCellSelected)
                cells.push_back(int(k));
        if (!cells.empty())
            InterpolateSelected(p, f, cells, *this);
        Refresh();
        break;
    }
    case IDM_PROJECT:
        dialogs_.OpenWindow(WK_PROJECT, this);
        setCurrentFrame(ClampCurrentFrame(p, f));
        break;
    case IDM_SETTINGS:
        dialogs_.OpenWindow(WK_CONF, this);
        Refresh();
        break;
    case IDM_NEXT_FRAME: setCurrentFrame(NextFrame(p, f, *this, *messages_)); break;
    case IDM_PREV_FRAME: setCurrentFrame(PreviousFrame(p, f, *messages_)); break;
    case IDM_FIRST_FRAME: setCurrentFrame(FirstFrame(p, f, *messages_)); break;
    case IDM_LAST_FRAME: setCurrentFrame(LastFrame(p, f, *messages_)); break;
    case IDM_INSERT_FRAME: InsertFrame(p, f, *this); setCurrentFrame(f); break;
    case IDM_DELETE_FRAME: DeleteFrame(p, f, *this); setCurrentFrame(f); break;
    case IDM_CLEAR_FRAME: ClearFrame(p, f, *this); setCurrentFrame(f); break;
    case IDM_FROM_PREVIOUS: CopyFromPrevious(p, f, *this, *messages_); setCurrentFrame(f); break;
    case IDM_FROM_NEXT: CopyFromNext(p, f, *this, *messages_); setCurrentFrame(f); break;
    case IDM_INTERPOLATE: InterpolateFromNeighbours(p, f, *this, *messages_); setCurrentFrame(f); break;
    case IDM_PLAY: case IDM_PLAY_FIRST: {
        if (id == IDM_PLAY_FIRST)
            canvas_->StopPlayback();
        // The range applies unless PlayBit says to play the whole animation (its box unticked).
        const bool playing = canvas_->PlayCommand(id == IDM_PLAY_FIRST ? 0 : f, toolPlay_->rangeStart->value(),
                                                  toolPlay_->rangeEnd->value());
        toolPlay_->SetChecked(IDM_PLAY, playing);
        Refresh();
        break;
    }
    case IDM_OPEN_FOLDER: openCurrentFolder(); break;
    case IDM_VERSION: showVersion(); break;
    default: break;
    }
}

void cMainWnd::setCurrentFrame(int frame)
{
    canvas_->SetCurrentFrame(frame);
    Refresh();
}

void cMainWnd::togglePlayOption(int id)
{
    const unsigned bit = PlayOptionBit(id);
    cSettings& s = Settings();
    s.PlayBit ^= bit;
    const bool on = (s.PlayBit & bit) != 0;
    // A running playback takes the new options at once.
    canvas_->Player().setOptions(s.PlayBit);
    if (bit == PF_RELOAD_SOUNDS && on)
        SoundTable().releaseAll();
    toolPlay_->SetChecked(id, on);
    canvas_->RequestRedraw();
}

void cMainWnd::toggleFlag(int id)
{
    bool* flag = ToggleFlagOf(id);
    *flag = !*flag;
    if (id == IDM_VIEW_STATUS) {
        statusBar_->setVisible(*flag);
        OnSize();
    } else if (id == IDM_VIEW_BAR) {
        rebar_->setVisible(*flag);
        OnSize();
    }
    syncToolChecks();
    canvas_->RequestRedraw();
}

void cMainWnd::syncToolChecks()
{
    const cSettings& s = Settings();
    toolFrame_->SetChecked(IDM_NEW_FRAME_FLAG, s.NewFrameFlag);
    const std::pair<int, bool> view[] = {
        {IDM_VIEW_BACK, s.VBackFlag}, {IDM_VIEW_NOW, s.VNowFlag}, {IDM_VIEW_NEXT, s.VNextFlag},
        {IDM_VIEW_LOCUS, s.VLocusFlag}, {IDM_VIEW_TARGET, s.VTargetFlag}, {IDM_VIEW_GIF, s.VGifFlag},
        {IDM_VIEW_LINE, s.VLineFlag},
    };
    for (const auto& [id, on] : view)
        toolView_->SetChecked(id, on);
    for (int id : {IDM_OPT_BOUNCE, IDM_OPT_LOOP, IDM_OPT_SOUND, IDM_OPT_FLASH})
        toolPlay_->SetChecked(id, (s.PlayBit & PlayOptionBit(id)) != 0);
    toolPlay_->SetChecked(IDM_PLAY, canvas_ && canvas_->IsPlaying());
}

strMenuContext cMainWnd::menuContext() const
{
    strMenuContext c;
    const cAnimeData& p = document_->Project();
    c.hasProject = true;
    c.untitled = p.untitled;
    c.fromGameData = !document_->dataFile.empty();
    c.clip2000 = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_2000);
    c.clipRuby = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_RUBY);
    c.clipJson = IsClipboardCommandEnabled(platform::SystemClipboard(), IDM_IMPORT_MV);
    c.canUndo = History().CanRestore(RESTORE_UNDO);
    c.canRedo = History().CanRestore(RESTORE_REDO);
    c.fixPicturePerCell = p.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    c.cellSelected = canvas_->AnySelected();
    c.clipCells = Has(CLIP_CELLS);
    c.playBit = Settings().PlayBit;
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
    const strMenuContext context = menuContext();
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

void cMainWnd::openCurrentFolder()
{
    const std::string& folder = Project().Text(AT_WORK_FOLDER);
    if (folder.empty() || !paths::IsFolder(folder))
        return;
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(paths::ToDiskPath(folder).string()));
    // Without a file manager (or any program for folders) nothing opens: say so.
    if (!QDesktopServices::openUrl(url))
        ShowStatus(platform::FormatString(45009, paths::ForDisplay(folder).c_str()));
}

void cMainWnd::rememberRecent(const std::string& path)
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

void cMainWnd::fillRecentMenu()
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

void cMainWnd::showVersion()
{
    QMessageBox::about(this, tr("バージョン情報"),
                       QString::asprintf("MevkoEditor\nVersion %1.2f", double(cSettings::kVersion)));
}
