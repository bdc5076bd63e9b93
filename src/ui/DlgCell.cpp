#include "ui/DlgCell.h"

#include "edit/FixPicture.h"
#include "model/AnimeData.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgControls.h"
#include "view/DialogCell.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* numberField(QWidget* parent, int lo, int hi)
{
    auto* s = new QSpinBox(parent);
    s->setRange(lo, hi);
    return s;
}

} // namespace

cDlg_Cell::cDlg_Cell(QWidget* owner, std::function<cAnimeData&()> project)
    : cBaseDlg(DLG_MODELESS | DLG_REMEMBER_POS, owner), project_(std::move(project))
{
    setObjectName("cDlg_Cell");
    pictureSpin = numberField(this, 0, 0);
    patternSpin = numberField(this, 1, 1);
    xSpin = numberField(this, -1024, 1024);
    ySpin = numberField(this, -1024, 1024);
    scaleXSpin = numberField(this, -1000, 1000);
    flipCombo = new QComboBox(this);
    flipCombo->addItems({tr("通常"), tr("反転")});
    scaleYSpin = numberField(this, -1000, 1000);
    angleSpin = numberField(this, -3600, 3600);
    opacitySpin = numberField(this, 0, 255);
    blendCombo = StringCombo(this, 40069);

    auto* form = new QFormLayout;
    form->addRow(tr("画像"), pictureSpin);
    form->addRow(tr("パターン"), patternSpin);
    form->addRow("X", xSpin);
    form->addRow("Y", ySpin);
    auto* scaleXRow = new QHBoxLayout;
    scaleXRow->addWidget(scaleXSpin);
    scaleXRow->addWidget(flipCombo);
    form->addRow(tr("拡大X"), scaleXRow);
    form->addRow(tr("拡大Y"), scaleYSpin);
    form->addRow(tr("回転"), angleSpin);
    form->addRow(tr("透明"), opacitySpin);
    form->addRow(tr("合成"), blendCombo);

    colourGroup = new QGroupBox(tr("色 [0-100-200%] [00-64-C8]"), this);
    auto* grid = new QGridLayout(colourGroup);
    static const char* const names[4] = {QT_TR_NOOP("赤"), QT_TR_NOOP("緑"), QT_TR_NOOP("青"), QT_TR_NOOP("彩")};
    for (int i = 0; i < 4; ++i) {
        colour[i] = new cNumberPair(colourGroup, 0, 200, 50, 25, 5);
        grid->addWidget(new QLabel(tr(names[i]), colourGroup), i, 0);
        grid->addWidget(colour[i], i, 1);
    }
    colourEdit = new QLineEdit(colourGroup);
    colourEdit->setMaxLength(8);
    clearButton = new QPushButton("Cl&ear", colourGroup);
    grid->addWidget(new QLabel(tr("色ssrrggbb"), colourGroup), 4, 0);
    grid->addWidget(colourEdit, 4, 1);
    grid->addWidget(clearButton, 5, 1);

    toggleButton = new QPushButton("&D", this);
    prevButton = new QPushButton(tr("前Fから転送"), this);
    nextButton = new QPushButton(tr("次Fから転送"), this);
    applyButton = new QPushButton(tr("適用"), this);
    closeButton = new QPushButton(tr("閉じる"), this);
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(prevButton);
    transfer->addWidget(nextButton);
    transfer->addWidget(toggleButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(applyButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(transfer);
    layout->addWidget(colourGroup);
    layout->addLayout(buttons);

    preview_.setSingleShot(true);
    preview_.setInterval(30);
    connect(&preview_, &QTimer::timeout, this, [this] {
        if (onPreview)
            onPreview();
    });
    for (QSpinBox* s : {pictureSpin, patternSpin, xSpin, ySpin, scaleXSpin, scaleYSpin, angleSpin, opacitySpin})
        connect(s, &QSpinBox::valueChanged, this, [this] { ReadFields(); });
    for (QComboBox* c : {flipCombo, blendCombo})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { ReadFields(); });
    for (cNumberPair* p : colour)
        connect(p, &cNumberPair::Changed, this, [this] { ReadFields(); });
    connect(colourEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        strCell cell = working_;
        if (!ParseCellColourText(text.toStdString(), cell))
            return;
        const QSignalBlocker block(colourEdit);
        loading_ = true;
        colour[0]->SetValue(cell.red);
        colour[1]->SetValue(cell.green);
        colour[2]->SetValue(cell.blue);
        colour[3]->SetValue(cell.saturation);
        loading_ = false;
        ReadFields();
    });
    connect(clearButton, &QPushButton::clicked, this, [this] {
        strCell cell = working_;
        ClearCellColours(cell);
        ShowCell(cell);
        ReadFields();
    });
    connect(toggleButton, &QPushButton::clicked, this, [this] {
        colourGroup->setVisible(colourGroup->isHidden());
        adjustSize();
    });
    connect(prevButton, &QPushButton::clicked, this, [this] { LoadNeighbour(-1); });
    connect(nextButton, &QPushButton::clicked, this, [this] { LoadNeighbour(1); });
    connect(applyButton, &QPushButton::clicked, this, [this] { ApplyAndClose(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

void cDlg_Cell::Open(int frame, int cellNo)
{
    frame_ = frame;
    cellNo_ = cellNo;
    if (IsOpen()) {
        OnCreate();
        raise();
        return;
    }
    Create(parentWidget());
}

bool cDlg_Cell::WorkingCell(int frame, int cellNo, strCell& out) const
{
    if (!IsOpen() || frame != frame_ || cellNo != cellNo_ || !project_().GetCell(frame, cellNo))
        return false;
    out = working_;
    return true;
}

void cDlg_Cell::OnCreate()
{
    setWindowTitle(tr("セル [%1,%2]").arg(frame_).arg(cellNo_));
    Load();
}

void cDlg_Cell::OnDestroy()
{
    preview_.stop();
    // The canvas shows the stored cell again.
    if (onPreview)
        onPreview();
}

void cDlg_Cell::Load()
{
    const cAnimeData& p = project_();
    const strCell* cell = p.GetCell(frame_, cellNo_);
    target_.Take(p, frame_, cellNo_);
    working_ = cell ? *cell : strCell::New();
    loading_ = true; // a value clamped by the new range must not be read back
    pictureSpin->setRange(0, HighestPictureNumber(p));
    loading_ = false;
    ShowCell(working_);
    UpdateStates();
}

void cDlg_Cell::ShowCell(const strCell& c)
{
    loading_ = true;
    pictureSpin->setValue(c.picture);
    UpdatePatternRange();
    patternSpin->setValue(c.pattern);
    xSpin->setValue(c.x);
    ySpin->setValue(c.y);
    scaleXSpin->setValue(c.scaleX);
    scaleYSpin->setValue(c.scaleY);
    flipCombo->setCurrentIndex(CellFlipChoice(c));
    angleSpin->setValue(c.angle);
    opacitySpin->setValue(c.opacity);
    blendCombo->setCurrentIndex(c.blend);
    colour[0]->SetValue(c.red);
    colour[1]->SetValue(c.green);
    colour[2]->SetValue(c.blue);
    colour[3]->SetValue(c.saturation);
    colourEdit->setText(QString::fromStdString(CellColourText(c)));
    loading_ = false;
}

void cDlg_Cell::UpdatePatternRange()
{
    const cPatternSheet* sheet = SpriteDrawer().Sheet(pictureSpin->value());
    patternSpin->setRange(1, std::max(1, sheet ? sheet->PatternCount() : 1));
}

void cDlg_Cell::ReadFields()
{
    if (loading_)
        return;
    const cAnimeData& p = project_();
    strCell c = working_;
    c.picture = uint8_t(pictureSpin->value());
    {
        const QSignalBlocker block(patternSpin);
        UpdatePatternRange();
    }
    c.pattern = uint16_t(patternSpin->value());
    c.x = int16_t(xSpin->value());
    c.y = int16_t(ySpin->value());
    c.scaleX = int16_t(scaleXSpin->value());
    c.scaleY = int16_t(scaleYSpin->value());
    if (CellFields(p).flipShown)
        ApplyFlipChoice(c, flipCombo->currentIndex());
    c.angle = int16_t(angleSpin->value());
    c.opacity = uint8_t(opacitySpin->value());
    c.blend = uint8_t(std::max(0, blendCombo->currentIndex()));
    c.red = uint8_t(colour[0]->Value());
    c.green = uint8_t(colour[1]->Value());
    c.blue = uint8_t(colour[2]->Value());
    c.saturation = uint8_t(colour[3]->Value());
    working_ = NormaliseWorkingCell(p, cellNo_, c);
    if (!colourEdit->hasFocus()) {
        const QSignalBlocker block(colourEdit);
        colourEdit->setText(QString::fromStdString(CellColourText(working_)));
    }
    preview_.start();
}

void cDlg_Cell::UpdateStates()
{
    const cAnimeData& p = project_();
    const strCellFields f = CellFields(p);
    const bool exists = p.GetCell(frame_, cellNo_) != nullptr;
    pictureSpin->setEnabled(exists && f.picture);
    angleSpin->setEnabled(exists && f.angle);
    scaleXSpin->setEnabled(exists && f.scaleX);
    scaleXSpin->setVisible(!f.scaleXHidden);
    flipCombo->setVisible(f.flipShown);
    flipCombo->setEnabled(exists);
    scaleYSpin->setEnabled(exists && f.scaleY);
    for (QWidget* w : std::initializer_list<QWidget*>{patternSpin, xSpin, ySpin, opacitySpin, blendCombo, colourGroup})
        w->setEnabled(exists);
    prevButton->setEnabled(p.GetCell(frame_ - 1, cellNo_) != nullptr);
    nextButton->setEnabled(p.GetCell(frame_ + 1, cellNo_) != nullptr);
}

void cDlg_Cell::LoadNeighbour(int step)
{
    const strCell* cell = project_().GetCell(frame_ + step, cellNo_);
    if (!cell)
        return;
    ShowCell(*cell);
    working_ = NormaliseWorkingCell(project_(), cellNo_, *cell);
    preview_.start();
}

void cDlg_Cell::FollowProject()
{
    if (!IsOpen())
        return;
    switch (target_.Check(project_())) {
    case CTS_GONE: Close(DLG_CANCEL); break;
    case CTS_CHANGED:
        Load();
        if (onPreview)
            onPreview();
        break;
    case CTS_SAME: UpdateStates(); break;
    }
}

bool cDlg_Cell::ApplyAndClose()
{
    if (target_.Check(project_()) != CTS_SAME) {
        FollowProject();
        return false;
    }
    const bool stored = ApplyCellDialog(project_(), target_, working_);
    Close(DLG_OK);
    if (stored && onStored)
        onStored();
    return stored;
}
