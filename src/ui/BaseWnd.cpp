#include "ui/BaseWnd.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtDebug>

#include <algorithm>
#include <cstdint>

cBaseWnd::cBaseWnd(QWidget* parent) : QWidget(parent) {}

cBaseWnd::~cBaseWnd()
{
    // OnDestroy is not called here: a derived part is gone by now. Owners call
    // OnDestroy themselves before they delete a window that needs it.
}

void cBaseWnd::Create()
{
    if (created_)
        return;
    created_ = true;
    OnCreate();
}

void cBaseWnd::RequestRedraw(bool sendNow)
{
    if (sendNow)
        repaint();
    else
        update();
}

void cBaseWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!OnPaint(painter))
        QWidget::paintEvent(event);
}

void cBaseWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnSize();
}

std::vector<strPlacement> ScreenAreas()
{
    std::vector<strPlacement> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    for (const QScreen* screen : screens) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return areas;
}

void PlaceWindow(QWidget* window, strPlacement p)
{
    // The frame is known only once the window is shown; until then allow for a
    // usual one (borders and a title bar), so the whole frame lands on the screen.
    const QRect frame = window->frameGeometry(), inside = window->geometry();
    const bool known = frame != inside;
    const int extraW = known ? frame.width() - inside.width() : 8;
    const int extraH = known ? frame.height() - inside.height() : 32;
    const QSize minimum = window->minimumSize();
    strPlacement outer{p.x, p.y, p.width > INT32_MAX - extraW ? p.width : p.width + extraW,
                       p.height > INT32_MAX - extraH ? p.height : p.height + extraH};
    outer = ClampPlacement(outer, std::max(minimum.width(), 1) + extraW, std::max(minimum.height(), 1) + extraH,
                           ScreenAreas());
    window->resize(outer.width - extraW, outer.height - extraH);
    window->move(outer.x, outer.y);
}

strPlacement PlacementOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry(), inside = window->geometry();
    const QRect normal = window->isMaximized() || window->isFullScreen() ? window->normalGeometry() : inside;
    const QPoint margin = inside.topLeft() - frame.topLeft();
    return {normal.x() - margin.x(), normal.y() - margin.y(), normal.width(), normal.height()};
}

cBaseDlg::cBaseDlg(unsigned flags, QWidget* parent) : QDialog(parent), flags_(flags) {}

cBaseDlg::~cBaseDlg() = default;

int cBaseDlg::Create(QWidget* parent)
{
    if (open_) {
        qDebug("Error : createDialog \n");
        Close(DLG_CANCEL);
    }
    if (flags_ & DLG_NO_CREATE)
        return 0;
    if (parent && parentWidget() != parent)
        setParent(parent, windowFlags() | Qt::Dialog);
    if ((flags_ & DLG_REMEMBER_POS) && parent) {
        // A dialog never sized yet gets its natural size; the position is clamped onto a screen.
        const QSize size = testAttribute(Qt::WA_Resized) ? this->size() : sizeHint();
        PlaceWindow(this, {std::max(0, rememberedX), std::max(0, rememberedY), size.width(), size.height()});
    }
    open_ = true;
    OnCreate();
    if (flags_ & DLG_MODELESS) {
        setModal(false);
        show();
        raise();
        activateWindow();
        return 1;
    }
    setModal(true);
    return exec();
}

int cBaseDlg::Close(int result)
{
    if (!open_)
        return -1;
    OnDestroy();
    if (flags_ & DLG_REMEMBER_POS) {
        const strPlacement p = PlacementOf(this);
        rememberedX = p.x;
        rememberedY = p.y;
    }
    open_ = false;
    if (flags_ & DLG_DETACH_ON_CLOSE)
        return 1;
    if (flags_ & DLG_NO_CREATE)
        return -1;
    if (flags_ & DLG_MODELESS)
        hide();
    else
        done(result);
    return 1;
}

void cBaseDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (flags_ & DLG_HIDE_ON_CLOSE)
        hide();
    else
        Close(DLG_CANCEL);
}

void cBaseDlg::reject()
{
    if (flags_ & DLG_HIDE_ON_CLOSE)
        hide();
    else
        Close(DLG_CANCEL);
}

void cBaseDlg::accept() { Close(DLG_OK); }

void cBaseDlg::showEvent(QShowEvent* event)
{
    // A window narrower than its title would show it cut: widen it to fit, with room
    // for the title bar's buttons, and keep the wider window on the screen.
    if (isWindow() && !windowTitle().isEmpty()) {
        const int need = fontMetrics().horizontalAdvance(windowTitle()) * 5 / 4 + 120;
        if (width() < need && maximumWidth() >= need) {
            resize(need, height());
            PlaceWindow(this, PlacementOf(this));
        }
    }
    QDialog::showEvent(event);
    OnShow();
}

int cPropertyWnd::Create(QWidget* parent)
{
    if (!tabs_) {
        auto* layout = new QVBoxLayout(this);
        tabs_ = new QTabWidget(this);
        layout->addWidget(tabs_);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
        QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
        QPushButton* apply = buttons->addButton(tr("適用"), QDialogButtonBox::ApplyRole);
        layout->addWidget(buttons);
        connect(ok, &QPushButton::clicked, this, [this] {
            ApplyPages();
            OnResult(DLG_OK);
            Close(DLG_OK);
        });
        connect(cancel, &QPushButton::clicked, this, [this] {
            OnResult(DLG_CANCEL);
            Close(DLG_CANCEL);
        });
        connect(apply, &QPushButton::clicked, this, [this] { ApplyPages(); });
    }
    tabs_->clear();
    for (cBasePropSheet* page : pages_)
        delete page;
    pages_.clear();
    GetPages(pages_);
    for (cBasePropSheet* page : pages_) {
        page->setWindowFlags(Qt::Widget);
        tabs_->addTab(page, page->title);
        page->OnCreate();
        page->Load();
    }
    return cBaseDlg::Create(parent);
}

void cPropertyWnd::ApplyPages()
{
    for (cBasePropSheet* page : pages_)
        page->Apply();
    if (onApplied)
        onApplied();
}

cBaseDlg* cDialogSet::Get(unsigned key) const
{
    auto it = dialogs_.find(key);
    return it == dialogs_.end() ? nullptr : it->second;
}

int cDialogSet::OpenWindow(unsigned key, QWidget* owner)
{
    cBaseDlg* dialog = Get(key);
    if (!dialog)
        return 0;
    if (dialog->IsOpen() && dialog->isVisible()) {
        dialog->raise();
        dialog->activateWindow();
        return 1;
    }
    return dialog->Create(owner);
}

void cDialogSet::CloseAll()
{
    for (auto& [key, dialog] : dialogs_)
        if (dialog->IsOpen())
            dialog->Close(DLG_CANCEL);
}
