#include "ui/MainEditWnd.h"

#include "model/AnimeData.h"
#include "playback/SoundTable.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QColor colorOf(uint32_t argb, bool withAlpha)
{
    return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, withAlpha ? (argb >> 24) & 0xFF : 255);
}

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
    player_.setProject(project);
    if (player_.isPlaying())
        player_.stop(true);
    player_.goToFrame(-1);
    currentFrame_ = 0;
    cellsHidden_ = false;
    selection_.assign(project ? size_t(project->CellCount()) : 0, 0);
    MarkChanged();
    RequestRedraw();
}

void cMainEditWnd::ResetCellCount()
{
    selection_.assign(project_ ? size_t(project_->CellCount()) : 0, 0);
    RequestRedraw();
}

void cMainEditWnd::SetCurrentFrame(int frame)
{
    // Cells hidden at the end of playback come back when the user picks a frame.
    cellsHidden_ = false;
    currentFrame_ = frame;
    if (player_.isPlaying()) {
        player_.goToFrame(frame);
        player_.resetFlashes();
    }
    RequestRedraw();
}

bool cMainEditWnd::AnySelected() const
{
    return std::any_of(selection_.begin(), selection_.end(), [](uint8_t b) { return b & 1; });
}

bool cMainEditWnd::PlayCommand(int startFrame, int rangeStart, int rangeEnd)
{
    if (!project_)
        return false;
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

bool cMainEditWnd::Draw(QPainter& painter)
{
    QElapsedTimer timer;
    timer.start();
    const QSize c = ClientSize();
    if (target_.empty() || target_.width() != c.width() || target_.height() != c.height())
        OnResize();
    if (target_.empty())
        return true;
    cSpriteDrawer& drawer = SpriteDrawer();
    const float zoom = float(View().Factor());
    if (drawer.beginCanvas(target_, float(-View().X() * zoom), float(-View().Y() * zoom), zoom)) {
        if (project_ && !cellsHidden_)
            drawer.drawFrame(*project_, currentFrame_);
        if (player_.isPlaying() && (player_.flags() & PF_FLASH))
            drawer.drawScreenFlash(player_.screenFlash());
        drawer.present();
    }
    const QImage image(target_.pixels(), target_.width(), target_.height(), target_.stride(), QImage::Format_RGB32);
    painter.drawImage(0, 0, image);
    drawOverlays(painter);
    lastDrawMs_ = timer.nsecsElapsed() / 1e6;
    if (onDrawn)
        onDrawn(lastDrawMs_);
    return true;
}

void cMainEditWnd::drawOverlays(QPainter& painter)
{
    const cSettings& s = Settings();
    const cZoomScroll& v = View();
    const QSize c = ClientSize();
    painter.setClipRect(QRect(QPoint(0, 0), c));
    if (s.VLineFlag && s.VGridFlag && s.GridSize > 0) {
        painter.setPen(colorOf(s.CGrid, false));
        const double step = s.GridSize;
        const double x0 = std::floor(v.ToSurfaceX(0) / step) * step, y0 = std::floor(v.ToSurfaceY(0) / step) * step;
        for (double x = x0; v.ToClientX(x) < c.width(); x += step)
            painter.drawLine(QPointF(v.ToClientX(x), 0), QPointF(v.ToClientX(x), c.height()));
        for (double y = y0; v.ToClientY(y) < c.height(); y += step)
            painter.drawLine(QPointF(0, v.ToClientY(y)), QPointF(c.width(), v.ToClientY(y)));
    }
    if (s.VCenterFlag) {
        painter.setPen(colorOf(s.CCenterLine, true));
        painter.drawLine(QPointF(v.ToClientX(-s.CenterW), v.ToClientY(0)), QPointF(v.ToClientX(s.CenterW), v.ToClientY(0)));
        painter.drawLine(QPointF(v.ToClientX(0), v.ToClientY(-s.CenterH)), QPointF(v.ToClientX(0), v.ToClientY(s.CenterH)));
    }
}

void cMainEditWnd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && player_.isPlaying()) {
        player_.stop(false);
        event->accept();
        return;
    }
    cDrawBoxWnd::keyPressEvent(event);
}
