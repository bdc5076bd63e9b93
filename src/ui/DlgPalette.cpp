#include "ui/DlgPalette.h"

#include "image/PatternSheet.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgControls.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <cmath>

cPicPaletteWnd::cPicPaletteWnd(QWidget* parent) : cDrawBoxWnd(parent)
{
    setObjectName("cPicPaletteWnd");
    SetContent(0, 0, geometry_.Width(), geometry_.Height());
}

void cPicPaletteWnd::SetPicture(const cPatternSheet* sheet, bool vertical)
{
    geometry_ = strPaletteGeometry();
    geometry_.vertical = vertical;
    image_ = QImage();
    if (sheet && sheet->IsReady()) {
        int rows = 0;
        sheet->PatternSize(geometry_.patternW, geometry_.patternH);
        sheet->GridSize(geometry_.columns, rows);
        geometry_.count = sheet->PatternCount();
        const std::vector<uint32_t>& texels = sheet->Texture();
        if (!texels.empty())
            image_ = QImage(reinterpret_cast<const uchar*>(texels.data()), sheet->Width(), sheet->Height(),
                            sheet->Width() * 4, QImage::Format_ARGB32)
                         .copy();
    }
    selected_ = ClampPalettePattern(selected_, geometry_.count);
    FitContent();
    // A new picture is shown from its top-left corner.
    SetScroll(-1e9, -1e9);
    MarkChanged();
    RequestRedraw();
}

void cPicPaletteWnd::FitContent()
{
    const QSize c = ClientSize();
    double w = 0, h = 0;
    geometry_.ContentSize(c.width(), c.height(), View().Factor(), w, h);
    SetContent(0, 0, w, h);
}

void cPicPaletteWnd::SetZoom(int index, bool notify, bool redraw)
{
    const QSize c = ClientSize();
    const double left = View().ToSurfaceX(0), top = View().ToSurfaceY(0);
    cDrawBoxWnd::SetZoom(index, notify, false);
    FitContent();
    SetScroll(left + c.width() / 2.0 / View().Factor(), top + c.height() / 2.0 / View().Factor());
    if (redraw)
        RequestRedraw();
}

void cPicPaletteWnd::OnResize() { FitContent(); }

void cPicPaletteWnd::SetSelected(int pattern)
{
    selected_ = ClampPalettePattern(pattern, geometry_.count);
    RequestRedraw();
}

bool cPicPaletteWnd::Draw(QPainter& painter)
{
    const QSize client = ClientSize();
    painter.fillRect(0, 0, client.width(), client.height(), palette().window());
    const cZoomScroll& v = View();
    const double f = v.Factor();
    const int pw = geometry_.patternW, ph = geometry_.patternH;
    const int cols = std::max(1, geometry_.columns);
    for (int k = 0; k < geometry_.count && !image_.isNull(); ++k) {
        int x, y;
        geometry_.PatternPos(k, x, y);
        const QRectF target(v.ToClientX(x), v.ToClientY(y), pw * f, ph * f);
        if (!target.intersects(QRectF(0, 0, client.width(), client.height())))
            continue;
        const QRect source((k % cols) * pw, (k / cols) * ph, pw, ph);
        painter.drawImage(target, image_, source);
    }
    int x, y;
    geometry_.PatternPos(selected_ - 1, x, y);
    const QRectF outline(v.ToClientX(x), v.ToClientY(y), pw * f - 1, ph * f - 1);
    painter.setPen(QPen(palette().highlight().color(), 1));
    painter.drawRect(outline);
    painter.setPen(palette().highlight().color());
    painter.drawText(outline.topLeft() + QPointF(3, 13), QString::number(selected_));
    return true;
}

void cPicPaletteWnd::OnMouse(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton) {
            const int k = geometry_.PatternAt(int(std::floor(View().ToSurfaceX(p.x()))),
                                              int(std::floor(View().ToSurfaceY(p.y()))));
            if (k < 0)
                return;
            SetSelected(k + 1);
            dragging_ = true;
            if (onDrag)
                onDrag(PD_BEGIN, global);
        } else if (event->button() == Qt::RightButton && dragging_) {
            dragging_ = false;
            if (onDrag)
                onDrag(PD_CANCEL, global);
        }
        break;
    case QEvent::MouseMove:
        if (dragging_ && onDrag)
            onDrag(PD_MOVE, global);
        break;
    case QEvent::MouseButtonRelease:
        if (event->button() == Qt::LeftButton && dragging_) {
            dragging_ = false;
            if (onDrag)
                onDrag(PD_DROP, global);
        }
        break;
    default: break;
    }
}

cDlg_Palette::cDlg_Palette(QWidget* owner, std::function<cAnimeData&()> project)
    : cBaseDlg(DLG_MODELESS | DLG_HIDE_ON_CLOSE, owner), project_(std::move(project))
{
    setObjectName("cDlg_Palette");
    setWindowFlag(Qt::Tool);
    tabs = new QTabBar(this);
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(true);
    tabs->setStyleSheet("QTabBar::tab { min-width: 32px; }");
    zoomCombo = StringCombo(this, 40083);
    zoomCombo->setCurrentIndex(cZoomScroll::kDefaultZoom);
    surface = new cPicPaletteWnd(this);
    auto* top = new QHBoxLayout;
    top->addWidget(tabs, 1);
    top->addWidget(zoomCombo);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(surface, 1);
    connect(tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            ShowPicture(index);
    });
    connect(zoomCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            surface->SetZoom(index, false, true);
    });
    surface->onZoomChanged = [this](int index) {
        const QSignalBlocker block(zoomCombo);
        zoomCombo->setCurrentIndex(index);
    };
    Rebuild();
}

void cDlg_Palette::Rebuild()
{
    const int count = PaletteTabCount(project_());
    {
        const QSignalBlocker block(tabs);
        while (tabs->count() > count)
            tabs->removeTab(tabs->count() - 1);
        while (tabs->count() < count)
            tabs->addTab(QString::asprintf("%02d", tabs->count()));
    }
    ShowPicture(std::min(picture_, count - 1));
}

void cDlg_Palette::ShowPicture(int slot)
{
    if (slot < 0)
        return;
    if (slot >= tabs->count()) {
        const QSignalBlocker block(tabs);
        while (tabs->count() <= slot && tabs->count() < project_().PictureCapacity())
            tabs->addTab(QString::asprintf("%02d", tabs->count()));
        if (slot >= tabs->count())
            return;
    }
    picture_ = slot;
    {
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(slot);
    }
    setWindowTitle(tr("パレット [%1]").arg(slot, 2, 10, QChar('0')));
    Relayout();
}

void cDlg_Palette::Relayout()
{
    const cPatternSheet* sheet = project_().GetPicture(picture_) ? SpriteDrawer().Sheet(picture_) : nullptr;
    surface->SetPicture(sheet, Settings().VerticalFlag);
}
