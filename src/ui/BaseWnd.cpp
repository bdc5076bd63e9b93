#include "ui/BaseWnd.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtDebug>

#include <algorithm>

namespace {
cBaseDlg* g_activeDialog = nullptr;
}

// ---------------------------------------------------------------- cBaseWnd

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

void cBaseWnd::SetTrackLimits(const strTrackLimits& l)
{
    setMinimumSize(l.minWidth, l.minHeight);
    setMaximumSize(l.maxWidth > 0 ? l.maxWidth : QWIDGETSIZE_MAX, l.maxHeight > 0 ? l.maxHeight : QWIDGETSIZE_MAX);
}

void cBaseWnd::RequestRedraw(bool sendNow)
{
    redrawRequested_ = true;
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
    redrawRequested_ = false;
}

void cBaseWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnSize();
}

// ---------------------------------------------------------------- cBaseDlg

cBaseDlg::cBaseDlg(unsigned flags, QWidget* parent) : QDialog(parent), flags_(flags) {}

cBaseDlg::~cBaseDlg()
{
    if (g_activeDialog == this)
        g_activeDialog = nullptr;
}

cBaseDlg* cBaseDlg::Active() { return g_activeDialog; }

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
    if ((flags_ & DLG_REMEMBER_POS) && parent)
        move(std::max(0, rememberedX), std::max(0, rememberedY));
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
        rememberedX = pos().x();
        rememberedY = pos().y();
    }
    open_ = false;
    if (flags_ & DLG_DETACH_ON_CLOSE)
        return 1;
    if (flags_ & DLG_NO_CREATE)
        return -1;
    if (g_activeDialog == this)
        g_activeDialog = nullptr;
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
    QDialog::showEvent(event);
    OnShow();
}

void cBaseDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow() && (flags_ & DLG_MODELESS))
            g_activeDialog = this;
        else if (g_activeDialog == this)
            g_activeDialog = nullptr;
    }
    QDialog::changeEvent(event);
}

// ---------------------------------------------------------------- cPropertyWnd

int cPropertyWnd::Create(QWidget* parent)
{
    if (!tabs_) {
        auto* layout = new QVBoxLayout(this);
        tabs_ = new QTabWidget(this);
        layout->addWidget(tabs_);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
        QPushButton* cancel = buttons->addButton("キャンセル", QDialogButtonBox::RejectRole);
        QPushButton* apply = buttons->addButton("適用", QDialogButtonBox::ApplyRole);
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
}

// ---------------------------------------------------------------- cDialogSet

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
