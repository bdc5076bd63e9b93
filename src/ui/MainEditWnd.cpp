#include "ui/MainEditWnd.h"

#include "edit/CanvasClip.h"
#include "edit/EditClip.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "playback/SoundTable.h"
#include "project/Settings.h"
#include "render/Overlay.h"
#include "render/SpriteDrawer.h"
#include "ui/CanvasDialogs.h"
#include "ui/KeyState.h"
#include "ui/Language.h"
#include "view/CommandTable.h"

#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Keeps the last status text for a canvas without a status bar.
cStatusRecorder g_noStatus;

} // namespace

cMainEditWnd::cMainEditWnd(QWidget* parent) : cDrawBoxWnd(parent), player_(FrameTimer(), &SoundTable())
{
    setObjectName("cDrawBoxWnd");
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setSingleShot(true);
    connect(&clock_, &QTimer::timeout, this, [this] {
        // The frame timer decides whether a frame is due; the next wake-up is its
        // time to the following frame, so no time slice is spent polling.
        FrameTimer().Tick();
        ScheduleTick();
    });
    const cSettings& s = Settings();
    SetContent(-s.CenterW, -s.CenterH, s.CenterW, s.CenterH);
    edit_.SetOptions([] { return EditOptionsOf(Settings()); });
    edit_.SetPatternSize([](int picture, int& w, int& h) { return SheetPatternSize(SpriteDrawer(), picture, w, h); });
    edit_.SetTransparentPixel([](int picture, int pattern, int px, int py) {
        return SheetPixelTransparent(SpriteDrawer(), picture, pattern, px, py);
    });
    cKeyState::Instance();
    spline_ = new cDlg_Spline(this);
    spline_->onPreviewChanged = [this] { RequestRedraw(); };
    spline_->onApplied = [this] { Edited(); };
    chooser_ = new cDlg_ContexCell(this);
    chooser_->onChosen = [this](int action, int cellNo, bool byMouse) { ActOnCell(action, cellNo, byMouse); };
    ReloadDraftGif();
}

cMainEditWnd::~cMainEditWnd()
{
    if (player_.IsPlaying())
        player_.Stop(true);
}

void cMainEditWnd::SetProject(cAnimeData* project)
{
    // The old project may be gone already: point everything at the new one before
    // stopping, since stopping reports back through PlayStopped.
    project_ = project;
    edit_.SetProject(project);
    player_.SetProject(project);
    if (player_.IsPlaying())
        player_.Stop(true);
    player_.GoToFrame(-1);
    currentFrame_ = 0;
    cellsHidden_ = false;
    if (spline_->IsOpen())
        spline_->Close(DLG_CANCEL);
    MarkChanged();
    RequestRedraw();
}

void cMainEditWnd::ResetCellCount()
{
    edit_.ResetSelection();
    RequestRedraw();
}

void cMainEditWnd::SetCurrentFrame(int frame)
{
    // Cells hidden at the end of playback come back when the user picks a frame.
    cellsHidden_ = false;
    if (frame != currentFrame_ && edit_.Mode() != CM_IDLE && edit_.Mode() != CM_GIF)
        edit_.Cancel();
    currentFrame_ = frame;
    edit_.SetCurrent(frame);
    if (player_.IsPlaying()) {
        player_.GoToFrame(frame);
        player_.ResetFlashes();
    }
    RequestRedraw();
}

void cMainEditWnd::SetTool(int tool)
{
    edit_.SetTool(tool);
    RequestRedraw();
}

void cMainEditWnd::SetDragRange(const strCanvasRange& range) { edit_.SetDragRange(range); }

void cMainEditWnd::SetTimelineSelection(const strCanvasRange& selection)
{
    timelineSelection_ = selection;
    RequestRedraw();
}

void cMainEditWnd::ReloadDraftGif()
{
    draft_.Load(Settings().GIFPath);
    edit_.SetDraftShown(!draft_.Empty());
    RequestRedraw();
}

iStatusSink& cMainEditWnd::Status() { return status_ ? *status_ : g_noStatus; }

void cMainEditWnd::Edited()
{
    RequestRedraw();
    if (onEdited)
        onEdited();
}

bool cMainEditWnd::PlayCommand(int startFrame, int rangeStart, int rangeEnd)
{
    if (!project_)
        return false;
    edit_.Cancel();
    const cSettings& s = Settings();
    const bool started = RunPlayCommand(player_, startFrame, rangeStart, rangeEnd, this, s.PlayBit, s.PlayRate);
    if (started) {
        cellsHidden_ = false;
        currentFrame_ = std::max(0, player_.CurrentFrame());
        ScheduleTick();
    }
    RequestRedraw();
    return started;
}

void cMainEditWnd::StopPlayback()
{
    if (player_.IsPlaying())
        player_.Stop(false);
}

void cMainEditWnd::ScheduleTick()
{
    if (!FrameTimer().IsRunning()) {
        clock_.stop();
        return;
    }
    clock_.start(int(FrameTimer().UntilNext()));
}

void cMainEditWnd::PlayTick()
{
    ++ticks_;
    const bool changed = player_.Advance();
    if (player_.CurrentFrame() >= 0)
        currentFrame_ = player_.CurrentFrame();
    // Flashes fade on every tick, so the canvas is redrawn even without a new frame.
    RequestRedraw();
    if (changed && onFrameChanged)
        onFrameChanged();
}

void cMainEditWnd::PlayStopped()
{
    clock_.stop();
    if (player_.CurrentFrame() >= 0 && project_ && player_.CurrentFrame() < project_->GetValue(AI_FRAMES))
        currentFrame_ = player_.CurrentFrame();
    cellsHidden_ = player_.CellsCleared();
    RequestRedraw();
    if (onPlayStopped)
        onPlayStopped();
}

bool cMainEditWnd::FetchCell(int frame, int cellNo, strCell& out) const
{
    const strCell* cell = project_ ? project_->GetCell(frame, cellNo) : nullptr;
    if (!cell)
        return false;
    out = *cell;
    return true;
}

void cMainEditWnd::OnResize()
{
    const QSize c = ClientSize();
    if (c.width() > 0 && c.height() > 0)
        target_.Create(c.width(), c.height(), 32);
    else
        target_.Clear();
}

void cMainEditWnd::SyncView()
{
    const cZoomScroll& v = View();
    const QSize c = ClientSize();
    const float zoom = float(v.Factor());
    edit_.SetView({zoom, float(c.width() / 2.0 - v.X() * zoom), float(c.height() / 2.0 - v.Y() * zoom)});
    edit_.SetCurrent(currentFrame_);
}

bool cMainEditWnd::Draw(QPainter& painter)
{
    QElapsedTimer timer;
    timer.start();
    const QSize c = ClientSize();
    if (target_.Empty() || target_.Width() != c.width() || target_.Height() != c.height())
        OnResize();
    if (target_.Empty())
        return true;
    SyncView();
    cSpriteDrawer& drawer = SpriteDrawer();
    drawer.SetOptions(RenderOptionsOf(Settings()));
    const float zoom = float(View().Factor());
    if (drawer.BeginCanvas(target_, float(-View().X() * zoom), float(-View().Y() * zoom), zoom)) {
        const bool playing = player_.IsPlaying();
        const bool flashes = playing && (player_.Flags() & PF_FLASH);
        strCanvasScene scene;
        scene.project = project_;
        scene.frame = currentFrame_;
        scene.playing = playing;
        scene.hideCells = cellsHidden_;
        scene.screenFlash = flashes ? &player_.ScreenFlash() : nullptr;
        scene.targetFlash = flashes ? &player_.TargetFlash() : nullptr;
        scene.draft = &draft_;
        scene.placement = edit_.DisplayedDraft();
        scene.displayedCell = [this](int k, strCell& out) { return edit_.DisplayedCell(k, out); };
        scene.settings = &Settings();
        DrawCanvasScene(drawer, target_, scene);
        if (!playing)
            DrawDropPreview(drawer);
        drawer.Present();
    }
    const QImage image(target_.Pixels(), target_.Width(), target_.Height(), target_.Stride(), QImage::Format_RGB32);
    painter.drawImage(0, 0, image);
    painter.setClipRect(QRect(QPoint(0, 0), c));
    PaintEditLayers(painter);
    lastDrawMs_ = double(timer.nsecsElapsed()) / 1e6;
    if (onDrawn)
        onDrawn(lastDrawMs_);
    return true;
}

bool cMainEditWnd::Held(int virtualKey) const { return cKeyState::Instance().Held(virtualKey); }

strCanvasKeys cMainEditWnd::KeysOf(Qt::KeyboardModifiers modifiers) const
{
    const cSettings& s = Settings();
    strCanvasKeys keys;
    keys.snapSuppress = (modifiers & Qt::ShiftModifier) || Held(0x10);
    keys.multiSelect = (modifiers & Qt::ControlModifier) || Held(0x11);
    keys.rotate = Held(s.DragAKey);
    keys.scale = Held(s.DragSKey);
    keys.gif = Held(s.GIFKey) && s.VGifFlag;
    return keys;
}

void cMainEditWnd::OnMouse(QMouseEvent* event)
{
    if (!project_ || player_.IsPlaying())
        return;
    SyncView();
    const strCanvasPoint p{float(event->position().x()), float(event->position().y())};
    const strCanvasKeys keys = KeysOf(event->modifiers());
    unsigned result = CR_NONE;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton)
            result = edit_.LeftDown(p, keys);
        else if (event->button() == Qt::RightButton)
            result = edit_.RightDown(p, keys);
        lastMouse_ = p;
        break;
    case QEvent::MouseButtonDblClick:
        if (event->button() == Qt::LeftButton)
            result = edit_.DoubleClick(p, keys);
        break;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::LeftButton) {
            result = edit_.LeftUp(p, keys);
        } else if (event->button() == Qt::RightButton) {
            Handle(CR_REDRAW);
            ShowContextMenu(event->globalPosition().toPoint());
            return;
        }
        break;
    case QEvent::MouseMove:
        result = edit_.MouseMove(p, keys);
        lastMouse_ = p;
        break;
    default: break;
    }
    Handle(result);
}

void cMainEditWnd::Handle(unsigned result)
{
    if (result & CR_STORED)
        Edited();
    if (result & CR_REDRAW)
        RequestRedraw();
    if ((result & CR_STATUS) && onPosition)
        onPosition(QString::fromStdString(edit_.SwingText()));
    if ((result & CR_CELL_DIALOG) && onCellDialog)
        onCellDialog();
    if (result & CR_SPLINE_DIALOG)
        OpenSplineDialog();
}

void cMainEditWnd::OpenSplineDialog()
{
    const strCanvasPoint* p = edit_.SplinePoints();
    spline_->Setup(project_, &Status(), currentFrame_, edit_.Focus(), p[0], p[1], p[2]);
    spline_->Create(this);
    RequestRedraw();
}

void cMainEditWnd::ShowContextMenu(QPoint global)
{
    QMenu menu(this);
    const bool selected = edit_.AnySelected();
    for (const strMenuEntry& e : PopupMenu("MENU_EDIT1")) {
        if (e.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(MenuLabel(e.text));
        action->setData(e.id);
        bool enabled = true;
        switch (e.id) {
        case IDM_CELL_DIALOG:
        case IDM_BRING_FORWARD:
        case IDM_SEND_BACKWARD:
        case IDM_INTERPOLATE_SELECTED:
        case IDM_CUT:
        case IDM_COPY:
        case IDM_DELETE: enabled = selected; break;
        case IDM_PASTE: enabled = Has(CLIP_CELLS); break;
        default: break;
        }
        // The bring-forward number is also the help item, which stays disabled in the menu bar.
        action->setEnabled(enabled && (e.id == IDM_BRING_FORWARD || !AlwaysDisabled(e.id)));
    }
    const QAction* chosen = menu.exec(global);
    if (chosen && onCommand)
        onCommand(chosen->data().toInt());
}

bool cMainEditWnd::event(QEvent* event)
{
    // While a gesture runs, Escape belongs to the canvas rather than the window's shortcut.
    if (event->type() == QEvent::ShortcutOverride && edit_.Mode() != CM_IDLE &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return cDrawBoxWnd::event(event);
}

void cMainEditWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && player_.IsPlaying()) {
        player_.Stop(false);
        event->accept();
        return;
    }
    // Escape drops a running gesture: the cells return and nothing is stored.
    if (event->key() == Qt::Key_Escape && edit_.CancelDrag()) {
        RequestRedraw();
        event->accept();
        return;
    }
    // With the GIF key held, the arrow keys step the draft's frame offset.
    if (Held(Settings().GIFKey) && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        edit_.Draft().frameOffset += event->key() == Qt::Key_Right ? 1 : -1;
        RequestRedraw();
        event->accept();
        return;
    }
    cDrawBoxWnd::keyPressEvent(event);
}

void cMainEditWnd::wheelEvent(QWheelEvent* event)
{
    // The animation point under the cursor stays under it.
    const int step = cZoomScroll::WheelStep(event->angleDelta().y());
    event->accept();
    if (step == 0)
        return;
    const double cx = event->position().x(), cy = event->position().y();
    const double sx = View().ToSurfaceX(cx), sy = View().ToSurfaceY(cy);
    SetZoom(Zoom() + step, true, false);
    double x = 0, y = 0;
    View().PositionKeeping(sx, sy, cx, cy, x, y);
    SetScroll(x, y);
    RequestRedraw();
}

void cMainEditWnd::ChooseCellNumber(int action, bool byKeyboard)
{
    if (!project_ || !project_->GetFrame(currentFrame_))
        return;
    chooser_->Setup(*project_, currentFrame_, action);
    chooser_->ShowAt(byKeyboard ? mapToGlobal(QPoint(0, 0)) : QCursor::pos() + QPoint(8, -21));
}

void cMainEditWnd::ActOnCell(int action, int cellNo, bool atMouse)
{
    if (!project_ || cellNo < 0)
        return;
    SyncView();
    const strCanvasPoint at = atMouse ? edit_.View().ToAnimation(lastMouse_.x, lastMouse_.y)
                                      : strCanvasPoint{float(View().X()), float(View().Y())};
    const strPointI point{int(at.x), int(at.y)};
    if (action == 0) {
        if (edit_.NewCell(cellNo, point.x, point.y))
            Edited();
    } else if (CanvasPaste(*project_, currentFrame_, cellNo, edit_.Selection(), atMouse ? &point : nullptr, Status()) >=
               0) {
        Edited();
    }
}
