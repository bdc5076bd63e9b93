#include "ui/CanvasDialogs.h"

#include "model/AnimeData.h"
#include "platform/Strings.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/TextLimit.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A path field with 参照 and 消去 beside it.
QLineEdit* pathRow(QWidget* dialog, QVBoxLayout* layout, const QString& caption,
                   const std::function<bool(std::string&)>* browse)
{
    layout->addWidget(new QLabel(caption, dialog));
    auto* row = new QHBoxLayout;
    auto* edit = new QLineEdit(dialog);
    auto* pick = new QPushButton(QCoreApplication::translate("cBaseDlg", "参照"), dialog);
    auto* erase = new QPushButton(QCoreApplication::translate("cBaseDlg", "消去"), dialog);
    row->addWidget(edit, 1);
    row->addWidget(pick);
    row->addWidget(erase);
    layout->addLayout(row);
    QObject::connect(pick, &QPushButton::clicked, dialog, [edit, browse] {
        std::string path;
        if (*browse && (*browse)(path))
            edit->setText(FromModelPath(path));
    });
    QObject::connect(erase, &QPushButton::clicked, edit, &QLineEdit::clear);
    return edit;
}

QSpinBox* spin(QWidget* parent, int lo, int hi)
{
    auto* s = new QSpinBox(parent);
    s->setRange(lo, hi);
    return s;
}

void okCancel(cBaseDlg* dialog, QVBoxLayout* layout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog] {
        dialog->Apply();
        dialog->Close(DLG_OK);
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, [dialog] { dialog->Close(DLG_CANCEL); });
}

} // namespace

cDlg_Spline::cDlg_Spline(QWidget* parent) : cBaseDlg(DLG_MODELESS, parent)
{
    setWindowFlags(Qt::Tool);
    auto* layout = new QHBoxLayout(this);
    countEdit = spin(this, 0, 0);
    gridCheck = new QCheckBox(tr("グリッド"), this);
    auto* run = new QPushButton(tr("実行"), this);
    layout->addWidget(countEdit);
    layout->addWidget(gridCheck);
    layout->addWidget(run);
    connect(countEdit, &QSpinBox::valueChanged, this, [this] {
        if (onPreviewChanged)
            onPreviewChanged();
    });
    connect(gridCheck, &QCheckBox::toggled, this, [this] {
        if (onPreviewChanged)
            onPreviewChanged();
    });
    connect(run, &QPushButton::clicked, this, [this] { Execute(); });
}

void cDlg_Spline::Setup(cAnimeData* project, iStatusSink* status, int f0, int s, strCanvasPoint p0, strCanvasPoint p1,
                        strCanvasPoint p2)
{
    project_ = project;
    status_ = status;
    f0_ = f0;
    s_ = s;
    p_[0] = {p0.x, p0.y};
    p_[1] = {p1.x, p1.y};
    p_[2] = {p2.x, p2.y};
}

void cDlg_Spline::OnCreate()
{
    setWindowTitle(tr("セル_%1").arg(s_));
    if (project_)
        state_.Open(*project_, f0_, Settings().GridBit);
    const QSignalBlocker blockCount(countEdit), blockGrid(gridCheck);
    countEdit->setRange(0, project_ ? std::max(0, project_->GetValue(AI_FRAMES) - f0_ - 1) : 0);
    countEdit->setValue(state_.count);
    gridCheck->setChecked(state_.grid);
    adjustSize();
    move(QCursor::pos() - QPoint(8, 16));
}

void cDlg_Spline::OnDestroy()
{
    state_.count = countEdit->value();
    if (onPreviewChanged)
        onPreviewChanged();
}

int cDlg_Spline::GridStep() const { return gridCheck->isChecked() ? Settings().PostGrid : 0; }

std::vector<strPointI> cDlg_Spline::Preview() const
{
    if (!IsOpen())
        return {};
    return SplinePreview(p_[0], p_[1], p_[2], countEdit->value(), GridStep());
}

void cDlg_Spline::Execute()
{
    if (!IsOpen() || !project_ || !status_)
        return;
    ApplySpline(*project_, f0_, s_, countEdit->value(), p_[0], p_[1], p_[2], GridStep(), *status_);
    Close(DLG_OK);
    if (onApplied)
        onApplied();
}

void cDlg_Spline::changeEvent(QEvent* event)
{
    cBaseDlg::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && IsOpen() && isVisible() && !isActiveWindow())
        Close(DLG_CANCEL);
}

cDlg_ContexCell::cDlg_ContexCell(QWidget* parent) : cBaseDlg(DLG_MODELESS, parent)
{
    setWindowFlags(Qt::Tool);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list = new QListWidget(this);
    list->setUniformItemSizes(true);
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    layout->addWidget(list);
}

void cDlg_ContexCell::Setup(const cAnimeData& project, int f, int action)
{
    action_ = action;
    const std::vector<std::string> titles = platform::StringItems(40012);
    setWindowTitle(size_t(action) < titles.size() ? QString::fromStdString(titles[size_t(action)]) : QString());
    list->clear();
    for (int k = 0; k < project.CellCount(); ++k) {
        auto* item = new QListWidgetItem(QString::asprintf(project.GetCell(f, k) ? "*%d" : " %d", k), list);
        item->setSizeHint(QSize(48, 14));
    }
    if (list->count() > 0)
        list->setCurrentRow(0);
    const int rows = std::clamp(list->count(), 8, 16);
    setFixedSize(64, rows * 14 + 2 * list->frameWidth());
}

void cDlg_ContexCell::ShowAt(QPoint global)
{
    if (const QScreen* screen = QGuiApplication::screenAt(global)) {
        const QRect area = screen->availableGeometry();
        global.setX(std::clamp(global.x(), area.left(), std::max(area.left(), area.right() - width())));
        global.setY(std::clamp(global.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(global);
    Create(parentWidget());
}

void cDlg_ContexCell::Choose(int row, bool byMouse)
{
    if (row < 0 || row >= list->count())
        return;
    Close(DLG_OK);
    if (onChosen)
        onChosen(action_, row, byMouse);
}

bool cDlg_ContexCell::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == list->viewport()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (QListWidgetItem* item = list->itemAt(mouse->position().toPoint()))
                Choose(list->row(item), true);
            return true;
        }
    } else if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) && watched == list) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            // The main window's Enter and Space shortcuts must not take the choice.
            event->accept();
            if (event->type() == QEvent::KeyPress)
                Choose(list->currentRow(), false);
            return true;
        }
    }
    return cBaseDlg::eventFilter(watched, event);
}

void cDlg_ContexCell::changeEvent(QEvent* event)
{
    cBaseDlg::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && IsOpen() && isVisible() && !isActiveWindow())
        Close(DLG_CANCEL);
}

cDlg_SetTarget::cDlg_SetTarget(QWidget* parent) : cBaseDlg(0, parent)
{
    setWindowTitle(tr("ターゲット"));
    auto* layout = new QVBoxLayout(this);
    pathEdit = pathRow(this, layout, tr("効果の対象となる画像"), &browse);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("補正座標"), this), 0, 0);
    xEdit = spin(this, -1024, 1024);
    yEdit = spin(this, -1024, 1024);
    grid->addWidget(xEdit, 0, 1);
    grid->addWidget(yEdit, 0, 2);
    grid->addWidget(new QLabel(tr("不透明度"), this), 1, 0);
    opacityEdit = spin(this, 0, 255);
    grid->addWidget(opacityEdit, 1, 1);
    layout->addLayout(grid);
    okCancel(this, layout);
}

void cDlg_SetTarget::OnCreate() { Load(); }

void cDlg_SetTarget::Load()
{
    const cSettings& s = Settings();
    pathEdit->setText(FromModelPath(s.TargetPath));
    xEdit->setValue(s.TargetPostX);
    yEdit->setValue(s.TargetPostY);
    opacityEdit->setValue(std::clamp(s.TargetOpacity, 0, 255));
}

void cDlg_SetTarget::Apply()
{
    cSettings& s = Settings();
    s.TargetPath = ToModelPath(pathEdit->text());
    s.TargetPostX = xEdit->value();
    s.TargetPostY = yEdit->value();
    s.TargetOpacity = opacityEdit->value();
    SpriteDrawer().SetOptions(RenderOptionsOf(s));
}

cDlg_SetGif::cDlg_SetGif(QWidget* parent) : cBaseDlg(0, parent)
{
    setWindowTitle("GIF");
    auto* layout = new QVBoxLayout(this);
    pathEdit = pathRow(this, layout, tr("下書き用のGIFアニメーション"), &browse);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("コマ送り速度(100%)"), this));
    speedEdit = spin(this, 1, 1000);
    row->addWidget(speedEdit);
    layout->addLayout(row);
    okCancel(this, layout);
}

void cDlg_SetGif::OnCreate() { Load(); }

void cDlg_SetGif::Load()
{
    pathEdit->setText(FromModelPath(Settings().GIFPath));
    speedEdit->setValue(std::clamp(Settings().GIFSpeed, 1, 1000));
}

void cDlg_SetGif::Apply()
{
    Settings().GIFPath = ToModelPath(pathEdit->text());
    Settings().GIFSpeed = speedEdit->value();
}
