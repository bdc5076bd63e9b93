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
        FrameTimer().tick();
        scheduleTick();
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
    spline_->onApplied = [this] { edited(); };
    chooser_ = new cDlg_ContexCell(this);
    chooser_->onChosen = [this](int action, int cellNo, bool byMouse) { ActOnCell(action, cellNo, byMouse); };
    ReloadDraftGif();
}

cMainEditWnd::~cMainEditWnd()
{
    if (player_.isPlaying())
        player_.stop(true);
}

void cMainEditWnd::SetProject(cAnimeData* project)
{
    // The old project may be gone already: point everything at the new one before
    // stopping, since stopping reports back through playStopped.
    project_ = project;
    edit_.SetProject(project);
    player_.setProject(project);
    if (player_.isPlaying())
        player_.stop(true);
    player_.goToFrame(-1);
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
    if (player_.isPlaying()) {
        player_.goToFrame(frame);
        player_.resetFlashes();
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

iStatusSink& cMainEditWnd::status() { return status_ ? *status_ : g_noStatus; }

void cMainEditWnd::edited()
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
        currentFrame_ = std::max(0, player_.currentFrame());
        scheduleTick();
    }
    RequestRedraw();
    return started;
}

void cMainEditWnd::StopPlayback()
{
    if (player_.isPlaying())
        player_.stop(false);
}

void cMainEditWnd::scheduleTick()
{
    if (!FrameTimer().isRunning()) {
        clock_.stop();
        return;
    }
    clock_.start(int(FrameTimer().untilNext()));
}

void cMainEditWnd::playTick()
{
    ++ticks_;
    const bool changed = player_.advance();
    if (player_.currentFrame() >= 0)
        currentFrame_ = player_.currentFrame();
    // Flashes fade on every tick, so the canvas is redrawn even without a new frame.
    RequestRedraw();
    if (changed && onFrameChanged)
        onFrameChanged();
}

void cMainEditWnd::playStopped()
{
    clock_.stop();
    if (player_.currentFrame() >= 0 && project_ && player_.currentFrame() < project_->GetValue(AI_FRAMES))
        currentFrame_ = player_.currentFrame();
    cellsHidden_ = player_.cellsCleared();
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
        target_.create(c.width(), c.height(), 32);
    else
        target_.clear();
}

void cMainEditWnd::syncView()
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
    if (target_.empty() || target_.width() != c.width() || target_.height() != c.height())
        OnResize();
    if (target_.empty())
        return true;
    syncView();
    cSpriteDrawer& drawer = SpriteDrawer();
    drawer.setOptions(RenderOptionsOf(Settings()));
    const float zoom = float(View().Factor());
    if (drawer.beginCanvas(target_, float(-View().X() * zoom), float(-View().Y() * zoom), zoom)) {
        const bool playing = player_.isPlaying();
        const bool flashes = playing && (player_.flags() & PF_FLASH);
        strCanvasScene scene;
        scene.project = project_;
        scene.frame = currentFrame_;
        scene.playing = playing;
        scene.hideCells = cellsHidden_;
        scene.screenFlash = flashes ? &player_.screenFlash() : nullptr;
        scene.targetFlash = flashes ? &player_.targetFlash() : nullptr;
        scene.draft = &draft_;
        scene.placement = edit_.DisplayedDraft();
        scene.displayedCell = [this](int k, strCell& out) { return edit_.DisplayedCell(k, out); };
        scene.settings = &Settings();
        DrawCanvasScene(drawer, target_, scene);
        if (!playing)
            drawDropPreview(drawer);
        drawer.present();
    }
    const QImage image(target_.pixels(), target_.width(), target_.height(), target_.stride(), QImage::Format_RGB32);
    painter.drawImage(0, 0, image);
    painter.setClipRect(QRect(QPoint(0, 0), c));
    paintEditLayers(painter);
    lastDrawMs_ = double(timer.nsecsElapsed()) / 1e6;
    if (onDrawn)
        onDrawn(lastDrawMs_);
    return true;
}

bool cMainEditWnd::held(int virtualKey) const { return cKeyState::Instance().Held(virtualKey); }

strCanvasKeys cMainEditWnd::keysOf(Qt::KeyboardModifiers modifiers) const
{
    const cSettings& s = Settings();
    strCanvasKeys keys;
    keys.snapSuppress = (modifiers & Qt::ShiftModifier) || held(0x10);
    keys.multiSelect = (modifiers & Qt::ControlModifier) || held(0x11);
    keys.rotate = held(s.DragAKey);
    keys.scale = held(s.DragSKey);
    keys.gif = held(s.GIFKey) && s.VGifFlag;
    return keys;
}

void cMainEditWnd::OnMouse(QMouseEvent* event)
{
    if (!project_ || player_.isPlaying())
        return;
    syncView();
    const strCanvasPoint p{float(event->position().x()), float(event->position().y())};
    const strCanvasKeys keys = keysOf(event->modifiers());
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
            handle(CR_REDRAW);
            showContextMenu(event->globalPosition().toPoint());
            return;
        }
        break;
    case QEvent::MouseMove:
        result = edit_.MouseMove(p, keys);
        lastMouse_ = p;
        break;
    default: break;
    }
    handle(result);
}

void cMainEditWnd::handle(unsigned result)
{
    if (result & CR_STORED)
        edited();
    if (result & CR_REDRAW)
        RequestRedraw();
    if ((result & CR_STATUS) && onPosition)
        onPosition(QString::fromStdString(edit_.SwingText()));
    if ((result & CR_CELL_DIALOG) && onCellDialog)
        onCellDialog();
    if (result & CR_SPLINE_DIALOG)
        openSplineDialog();
}

void cMainEditWnd::openSplineDialog()
{
    const strCanvasPoint* p = edit_.SplinePoints();
    spline_->Setup(project_, &status(), currentFrame_, edit_.Focus(), p[0], p[1], p[2]);
    spline_->Create(this);
    RequestRedraw();
}

void cMainEditWnd::showContextMenu(QPoint global)
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
    if (event->key() == Qt::Key_Escape && player_.isPlaying()) {
        player_.stop(false);
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
    if (held(Settings().GIFKey) && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
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
    syncView();
    const strCanvasPoint at = atMouse ? edit_.View().ToAnimation(lastMouse_.x, lastMouse_.y)
                                      : strCanvasPoint{float(View().X()), float(View().Y())};
    const strPointI point{int(at.x), int(at.y)};
    if (action == 0) {
        if (edit_.NewCell(cellNo, point.x, point.y))
            edited();
    } else if (CanvasPaste(*project_, currentFrame_, cellNo, edit_.Selection(), atMouse ? &point : nullptr, status()) >=
               0) {
        edited();
    }
}
