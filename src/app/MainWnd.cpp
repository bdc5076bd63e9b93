#include "app/MainWnd.h"

#include "app/AutoSave.h"
#include "app/DlgHost.h"
#include "app/DlgProject.h"
#include "app/KeyRouter.h"
#include "edit/FrameOps.h"
#include "edit/RestoreHistory.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "platform/Strings.h"
#include "playback/SoundTable.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/CanvasDialogs.h"
#include "ui/DlgCell.h"
#include "ui/DlgFrameComp.h"
#include "ui/DlgGameDataList.h"
#include "ui/DlgInterval.h"
#include "ui/KeyframeWnd.h"
#include "ui/Language.h"
#include "ui/MainEditWnd.h"
#include "ui/MissingPictures.h"
#include "ui/PropConf.h"
#include "ui/QtFeedback.h"
#include "ui/Tools.h"

#include <QCheckBox>
#include <QSpinBox>

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Height of the timeline below the canvas: its header and six rows with a scroll bar.

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

int qtKeyOf(int key)
{
    if (key >= 'A' && key <= 'Z')
        return Qt::Key_A + (key - 'A');
    switch (key) {
    case ACC_LEFT: return Qt::Key_Left;
    case ACC_RIGHT: return Qt::Key_Right;
    case ACC_DELETE: return Qt::Key_Delete;
    case ACC_SPACE: return Qt::Key_Space;
    case ACC_RETURN: return Qt::Key_Return;
    case ACC_COMMA: return Qt::Key_Comma;
    case ACC_PERIOD: return Qt::Key_Period;
    case ACC_BROWSER_BACK: return Qt::Key_Back;
    case ACC_BROWSER_FORWARD: return Qt::Key_Forward;
    default: return 0;
    }
}

// The canvas applies drags over the timeline's drag range and draws the locus of
// the timeline's selection.
void syncCanvasRanges(cKeyframeWnd& timeline, cMainEditWnd& canvas)
{
    strGridBlock b;
    strCanvasRange drag, selection;
    if (timeline.isVisible() && timeline.DragRange(b))
        drag = {true, b.f0, b.f1, b.k0, b.k1};
    if (timeline.Timeline().HasSelection()) {
        b = timeline.Timeline().SelectionBlock();
        selection = {true, b.f0, b.f1, b.k0, b.k1};
    }
    canvas.SetDragRange(drag);
    canvas.SetTimelineSelection(selection);
}

} // namespace

cMainWnd::cMainWnd(std::filesystem::path configPath, iMessageSink* messages, iFileChooser* chooser)
    : configPath_(std::move(configPath))
{
    setObjectName("cMainWnd");
    if (!messages) {
        ownMessages_ = std::make_unique<cQtMessageSink>(this);
        messages = ownMessages_.get();
    }
    if (!chooser) {
        ownChooser_ = std::make_unique<cQtFileChooser>(this);
        chooser = ownChooser_.get();
    }
    messages_ = messages;
    chooser_ = chooser;
    document_ = std::make_unique<cDocument>(static_cast<iStatusSink&>(*this), *messages_, *chooser_, Settings());
    document_->importer = [](int kind, cAnimeData& project) {
        return ImportFromClipboard(platform::SystemClipboard(), project, kind, Settings().FolderNames()) == 1;
    };
    document_->chooseEntry = [this](const std::vector<strDataEntry>& entries, int nextFreeId, int& id) {
        cDlg_GameDataList list(this, entries, nextFreeId, document_->dataId);
        if (list.exec() != QDialog::Accepted)
            return false;
        id = list.ChosenId();
        return id > 0;
    };
    document_->onInstall = [this](cAnimeData& project) { InstallProject(project); };
    document_->onTitle = [this](const std::string& path) {
        UpdateTitle(path);
        RememberRecent(path);
    };
    autoSave_ = new cAutoSave(*document_, RecoveryFolder(configPath_), this);
    setMinimumSize(kMinWidth, kMinHeight);
}

std::filesystem::path cMainWnd::RecoveryFolder(const std::filesystem::path& configPath)
{
    // A config.ini named on the command line is a setup of its own: its copies stay with it.
    if (configPath == DefaultConfigPath())
        return ApplicationDataFolder() / "recovery";
    return configPath.parent_path() / "recovery";
}

void cMainWnd::ShowPlaced()
{
    if (Settings().MainWinMaxFlag)
        showMaximized();
    else
        show();
}

cMainWnd::~cMainWnd()
{
    if (canvas_)
        canvas_->StopPlayback();
    dialogs_.CloseAll();
}

std::string cMainWnd::AppFolder() const { return paths::FromDiskPath(ApplicationDataFolder()); }

bool cMainWnd::Initialize(const QStringList& arguments, QString& error)
{
    UpdateTitle(std::string());
    setAcceptDrops(true);
    Settings().ReadSettings(configPath_);
    const cSettings& s = Settings();
    PlaceWindow(this, {s.MainWinPostX, s.MainWinPostY, s.MainWinSizeX, s.MainWinSizeY});
    normalPlace_ = PlacementOf(this);

    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::white);
    SoundDevice().Initialize();
    SoundTable().ReleaseAll();
    BuildMenus();
    recent_.Load(configPath_);
    recentMenu_->menuAction()->setEnabled(!recent_.Paths().empty());
    statusBar_ = new QWidget(this);
    statusBar_->setObjectName("30000");
    for (int i = 0; i < 3; ++i) {
        statusParts_[i] = new QLabel(statusBar_);
        statusParts_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    statusParts_[0]->setText("Ready");
    statusBar_->setFixedHeight(statusParts_[0]->sizeHint().height() + 4);
    if (!BuildBars()) {
        error = tr("ツールバーの生成に失敗 \n");
        return false;
    }
    if (!document_->History().SetCapacity(Settings().Undo)) {
        error = tr("履歴インスタンスの初期化に失敗 \n");
        return false;
    }
    SpriteDrawer().SetOptions(RenderOptionsOf(Settings()));
    if (!SpriteDrawer().LoadErrorCell()) {
        error = tr("描画インスタンスの初期化に失敗 \n");
        return false;
    }
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);
    canvas_ = new cMainEditWnd(splitter_);
    canvas_->resize(320, 240);
    canvas_->onZoomChanged = [this](int index) { toolView_->SetZoomSelector(index); };
    canvas_->onPosition = [this](const QString& text) { statusParts_[1]->setText(text); };
    canvas_->onFrameChanged = [this] { Refresh(); };
    canvas_->onPlayStopped = [this] {
        toolPlay_->SetChecked(IDM_PLAY, false);
        Refresh();
    };
    canvas_->SetStatusSink(this);
    canvas_->onEdited = [this] { Refresh(); };
    canvas_->onCommand = [this](int id) { OnCommand(id); };
    canvas_->onCellDialog = [this] { OnCommand(IDM_CELL_WINDOW); };
    canvas_->Create();
    CreateTimeline();
    splitter_->addWidget(canvas_);
    splitter_->addWidget(timeline_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    BuildAccelerators();

    dialogs_.Add(WK_PROJECT, new cDlg_Project(this, *messages_));
    auto* conf = new cProp_Conf(this);
    conf->onApplied = [this] { Refresh(); };
    dialogs_.Add(WK_CONF, conf);
    auto* target = new cDlg_SetTarget(this);
    target->browse = [this](std::string& path) {
        return chooser_->Choose(DIALOG_OPEN, platform::LoadString(40006), "", "", path);
    };
    dialogs_.Add(WK_TARGET, target);
    auto* gif = new cDlg_SetGif(this);
    gif->browse = [this](std::string& path) { return chooser_->Choose(DIALOG_OPEN, "GIF(*.gif)", "", "", path); };
    dialogs_.Add(WK_GIF, gif);
    dlgHost_ = new cDlgHost(this, *messages_, *chooser_);

    // Working folder, initial folder and a first project; the document asks
    // through the message sink whether to create the working folder.
    document_->StartUp(AppFolder());
    // Work left by a crashed session is offered once the window shows, before a file
    // named on the command line opens.
    QMetaObject::invokeMethod(
        this, [this] { autoSave_->OfferRecovery(*messages_); }, Qt::QueuedConnection);
    autoSave_->SetInterval(s.AutoSaveInterval);

    if (!arguments.isEmpty() && !arguments.first().isEmpty()) {
        pendingOpenPath_ = paths::FromDiskPath(std::filesystem::path(arguments.first().toStdString()));
        QMetaObject::invokeMethod(
            this, [this] { OpenPending(); }, Qt::QueuedConnection);
    }
    if (!s.TargetPath.empty())
        SpriteDrawer().LoadSingleSheet(s.TargetPath, kTargetSheet);
    statusBar_->setVisible(s.VStatusFlag);
    rebar_->setVisible(s.VBarFlag);
    SyncToolChecks();
    OnSize();
    // Keys reach the shortcut table first; the canvas holds the focus between edits.
    new cKeyRouter(this, canvas_);
    canvas_->setFocus(Qt::OtherFocusReason);
    modifiedTimer_ = new QTimer(this);
    connect(modifiedTimer_, &QTimer::timeout, this, &cMainWnd::SyncModifiedMark);
    modifiedTimer_->start(300);
    return true;
}

void cMainWnd::BuildMenus()
{
    menuBar_ = new QMenuBar(this);
    std::function<void(QMenu*, const std::vector<strMenuEntry>&)> fill = [&](QMenu* menu,
                                                                             const std::vector<strMenuEntry>& items) {
        for (const strMenuEntry& e : items) {
            if (!e.children.empty()) {
                fill(menu->addMenu(MenuLabel(e.text)), e.children);
            } else if (e.id == IDM_RECENT) {
                recentMenu_ = menu->addMenu(MenuLabel(e.text));
                connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
            } else if (e.id == 0) {
                menu->addSeparator();
            } else {
                QString text = MenuLabel(e.text);
                const std::string keys = AcceleratorText(e.id);
                if (!keys.empty())
                    text += "\t" + fromUtf8(keys);
                QAction* action = menu->addAction(text);
                action->setData(e.id);
                action->setEnabled(!e.disabled);
                const int id = e.id;
                connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
                menuActions_.emplace(id, action);
            }
        }
    };
    const std::vector<strMenuEntry>& menu = MainMenu();
    for (size_t i = 0; i < menu.size(); ++i) {
        QMenu* top = menuBar_->addMenu(MenuLabel(menu[i].text));
        fill(top, menu[i].children);
        const int position = int(i);
        connect(top, &QMenu::aboutToShow, this, [this, position] { UpdateMenuState(position); });
        topMenus_.push_back(top);
    }
}

void cMainWnd::BuildAccelerators()
{
    for (const strAccelerator& a : MainAccelerators()) {
        // A key of a command that cannot run yet is left to the focused control
        // (Enter and Space in the tool bars' fields).
        if (AlwaysDisabled(a.command))
            continue;
        QKeySequence keys(a.ctrl ? (Qt::CTRL | Qt::Key(qtKeyOf(a.key))) : QKeyCombination(Qt::Key(qtKeyOf(a.key))));
        auto* shortcut = new QShortcut(keys, this);
        const int id = a.command;
        connect(shortcut, &QShortcut::activated, this, [this, id] { OnCommand(id, 1); });
        if (a.key == ACC_RETURN) {
            auto* enter = new QShortcut(QKeySequence(Qt::Key_Enter), this);
            connect(enter, &QShortcut::activated, this, [this, id] { OnCommand(id, 1); });
        }
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { canvas_->StopPlayback(); });
}

bool cMainWnd::BuildBars()
{
    rebar_ = new QWidget(this);
    rebar_->setObjectName("30010");
    toolFrame_ = new cTool_Frame;
    toolView_ = new cTool_View;
    toolEdit_ = new cTool_Edit;
    toolPlay_ = new cTool_Play;
    auto send = [this](int id) { OnCommand(id); };
    for (cBaseTool* bar : Bands())
        if (!bar->CreateTool(rebar_, send))
            return false;
    toolFrame_->onInterval = [this](int interval) {
        cAnimeData& p = Project();
        const int f = canvas_->CurrentFrame();
        if (!p.GetFrame(f))
            return;
        cTransaction transaction(p);
        const bool done = p.SetInterval(f, interval);
        transaction.Finish(done);
    };
    toolView_->onZoom = [this](int index) { canvas_->SetZoom(index, false, true); };
    toolPlay_->onRate = [this](int index) {
        if (canvas_->IsPlaying())
            FrameTimer().SetRate(PlayRateFromSetting(index));
    };
    toolPlay_->rangeCheck->setChecked(!(Settings().PlayBit & PF_WHOLE));
    connect(toolPlay_->rangeCheck, &QAbstractButton::toggled, this, [](bool on) {
        Settings().PlayBit = on ? Settings().PlayBit & ~unsigned(PF_WHOLE) : Settings().PlayBit | PF_WHOLE;
    });
    return true;
}

void cMainWnd::OnSize()
{
    if (!menuBar_ || !canvas_)
        return;
    const int w = width(), h = height();
    int top = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, w, top);
    if (!rebar_->isHidden()) {
        const int rh = LayoutBands(w);
        rebar_->setGeometry(0, top, w, rh);
        top += rh;
    }
    int bottom = h;
    if (!statusBar_->isHidden()) {
        const int sh = statusBar_->height();
        bottom -= sh;
        statusBar_->setGeometry(0, bottom, w, sh);
        // Right edges of the three parts: W - 200, W - 120 and W - 16, W at least 320.
        const int cw = std::max(w, 320);
        const int edges[3] = {std::max(0, cw - 200), std::max(0, cw - 120), std::max(0, cw - 16)};
        int left = 0;
        for (int i = 0; i < 3; ++i) {
            statusParts_[i]->setGeometry(left, 0, std::max(0, edges[i] - left), sh);
            left = edges[i];
        }
    }
    // The canvas above the timeline; the splitter keeps the height the user gave the
    // timeline (remembered in the settings) while the window resizes.
    const int height = std::max(0, bottom - top);
    splitter_->setGeometry(0, top, w, height);
    if (!splitterPlaced_ && height > 0) {
        const int th = std::clamp(Settings().TimelineHeight, 40, std::max(40, height - 60));
        splitter_->setSizes({std::max(0, height - th), th});
        splitterPlaced_ = true;
    }
}

std::array<cBaseTool*, 4> cMainWnd::Bands() const { return {toolFrame_, toolView_, toolEdit_, toolPlay_}; }

int cMainWnd::LayoutBands(int width)
{
    // Bands in order, left to right, starting a new row when one does not fit.
    int x = 0, y = 0, rowHeight = 0;
    for (cBaseTool* bar : Bands()) {
        const QSize size = bar->sizeHint();
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        bar->setGeometry(x, y, size.width(), size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    return y + rowHeight;
}

void cMainWnd::UpdateTitle(const std::string& path)
{
    QString title = fromUtf8(platform::LoadString(40000));
    // A project that has no file of its own but came from a game's data file shows that file and ID.
    const bool fromGameData = path.empty() && document_ && !document_->dataFile.empty();
    const std::string shown = fromGameData ? document_->dataFile : path;
    if (shown.empty()) {
        title += QString::asprintf("%1.2f", double(cSettings::kVersion));
    } else {
        const QFontMetrics metrics(font());
        const std::string shortened =
            paths::ShortenForTitle(shown, [&](const std::string& s) { return metrics.horizontalAdvance(fromUtf8(s)); });
        title += QString::asprintf("%1.2f - ", double(cSettings::kVersion)) + fromUtf8(paths::ForDisplay(shortened));
        if (fromGameData)
            title += QString(" : ID %1").arg(document_->dataId);
    }
    setWindowTitle(title + "[*]"); // Qt shows the mark while the window is modified
    SyncModifiedMark();
}

void cMainWnd::SyncModifiedMark()
{
    if (!document_)
        return;
    setWindowModified(document_->Project().modified);
    if (autoSave_)
        autoSave_->Settle();
}

void cMainWnd::ShowStatus(const std::string& text)
{
    if (statusParts_[0])
        statusParts_[0]->setText(fromUtf8(text));
}

QList<QAction*> cMainWnd::MenuActions(int id) const
{
    QList<QAction*> list;
    auto [first, last] = menuActions_.equal_range(id);
    for (auto it = first; it != last; ++it)
        list.push_back(it->second);
    return list;
}

void cMainWnd::InstallProject(cAnimeData& project)
{
    if (!canvas_)
        return;
    canvas_->SetProject(&project);
    timeline_->SetProject(&project);
    SoundTable().ReleaseAll();
    SpriteDrawer().SetProjectFile(document_->currentPath);
    SpriteDrawer().LoadPictures(project);
    if (dlgHost_)
        dlgHost_->ProjectReplaced();
    Refresh();
    // After the command's own status text: say which picture is missing and where it was looked for.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const std::string missing = MissingPicturesStatus(Project());
            if (!missing.empty())
                ShowStatus(missing);
        },
        Qt::QueuedConnection);
}

void cMainWnd::Refresh()
{
    if (!canvas_)
        return;
    cAnimeData& p = Project();
    const int f = canvas_->CurrentFrame();
    const strFrame* frame = p.GetFrame(f);
    const cSettings& s = Settings();
    canvas_->SetContent(-s.CenterW, -s.CenterH, s.CenterW, s.CenterH);
    toolFrame_->SetInterval(frame ? frame->interval : 0, frame != nullptr);
    timeline_->Sync(f);
    timeline_->SetPlayRange(toolPlay_->rangeCheck->isChecked(), toolPlay_->rangeStart->value(),
                            toolPlay_->rangeEnd->value());
    syncCanvasRanges(*timeline_, *canvas_);
    if (dlgHost_)
        dlgHost_->CellDialog()->FollowProject();
    canvas_->RequestRedraw();
    SyncModifiedMark();
}

void cMainWnd::OpenPending()
{
    if (pendingOpenPath_.empty())
        return;
    const std::string path = pendingOpenPath_;
    pendingOpenPath_.clear();
    canvas_->StopPlayback();
    document_->FileCommand(IDM_OPEN_PATH, path);
}

void cMainWnd::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void cMainWnd::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    OpenDroppedFiles(event->mimeData()->urls());
}

void cMainWnd::OpenDroppedFiles(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    canvas_->StopPlayback();
    document_->FileCommand(IDM_OPEN_PATH,
                           paths::FromDiskPath(std::filesystem::path(urls.first().toLocalFile().toStdString())));
}

void cMainWnd::moveEvent(QMoveEvent* event)
{
    cBaseWnd::moveEvent(event);
    if (isVisible() && !isMaximized() && !isMinimized() && !isFullScreen())
        normalPlace_ = PlacementOf(this);
}

void cMainWnd::resizeEvent(QResizeEvent* event)
{
    cBaseWnd::resizeEvent(event);
    if (isVisible() && !isMaximized() && !isMinimized() && !isFullScreen())
        normalPlace_ = PlacementOf(this);
}

void cMainWnd::closeEvent(QCloseEvent* event)
{
    if (canvas_)
        canvas_->StopPlayback();
    if (!document_->AskSaveChanges()) {
        event->ignore();
        return;
    }
    ShutDown();
    event->accept();
}

void cMainWnd::ShutDown()
{
    cSettings& s = Settings();
    s.LastLoadPath = document_->LastDialogPath();
    if (!isMaximized() && !isMinimized() && !isFullScreen())
        normalPlace_ = PlacementOf(this);
    const strPlacement& g = normalPlace_;
    s.MainWinPostX = g.x;
    s.MainWinPostY = g.y;
    s.MainWinSizeX = g.width;
    s.MainWinSizeY = g.height;
    s.MainWinMaxFlag = isMaximized();
    autoSave_->Finish();
    if (splitterPlaced_)
        s.TimelineHeight = timeline_->height();
    if (dlgHost_)
        dlgHost_->StorePlacements();
    s.WriteSettings(configPath_);
    dialogs_.CloseAll();
}

void cMainWnd::CreateTimeline()
{
    timeline_ = new cKeyframeWnd(splitter_);
    timeline_->status = this;
    timeline_->messages = messages_;
    timeline_->onFrameChosen = [this](int frame) { SetCurrentFrame(frame); };
    timeline_->canvasSelection = [this] { return &canvas_->Selection(); };
    timeline_->onCanvasSelection = [this] { canvas_->RequestRedraw(); };
    timeline_->onCanvasFocus = [this](int cellNo) {
        canvas_->Edit().SetFocus(cellNo);
        canvas_->RequestRedraw();
    };
    timeline_->onStopPlayback = [this] { canvas_->StopPlayback(); };
    timeline_->onChanged = [this] { SetCurrentFrame(ClampCurrentFrame(Project(), canvas_->CurrentFrame())); };
    timeline_->onSelection = [this] { syncCanvasRanges(*timeline_, *canvas_); };
    timeline_->onOpenDialog = [this](int key, const strGridBlock& block) { OpenTimelineDialog(key, block); };
    timeline_->onPlayRange = [this](bool on, int first, int last) {
        if (on) {
            toolPlay_->rangeStart->setValue(first);
            toolPlay_->rangeEnd->setValue(last);
        }
        toolPlay_->rangeCheck->setChecked(on);
    };
    timeline_->Create();
}

void cMainWnd::OpenTimelineDialog(int key, const strGridBlock& b)
{
    if (!dlgHost_)
        return;
    cAnimeData& p = Project();
    switch (key) {
    case WK_CELL: dlgHost_->OpenCellDialog(b.f0, b.k0); return;
    case WK_FIX_CELL_S: dlgHost_->OpenFixCellS(b.k0); return;
    case WK_INTERVAL: dlgHost_->IntervalDialog()->state.PresetFromSelection(p, b.f0, b.f1); break;
    case WK_FRAME_COMP: dlgHost_->FrameCompDialog()->state.PresetFromSelection(p, b.f0, b.f1, b.k0, b.k1); break;
    case WK_AT_ONCE: dlgHost_->AtOnceDialog()->state.PresetFromSelection(p, b.f0, b.f1, b.k0, b.k1); break;
    default: return;
    }
    dialogs_.OpenWindow(unsigned(key), this);
    SetCurrentFrame(ClampCurrentFrame(p, canvas_->CurrentFrame()));
}
