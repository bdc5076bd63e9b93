#include "ui/DlgInterval.h"

#include "model/AnimeData.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

cDlg_SetInterval::cDlg_SetInterval(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status)
    : cBaseDlg(0, owner), project_(std::move(project)), status_(status)
{
    setObjectName("cDlg_SetInterval");
    setWindowTitle(tr("インターバル"));
    firstSpin = new QSpinBox(this);
    lastSpin = new QSpinBox(this);
    intervalSpin = new QSpinBox(this);
    intervalSpin->setRange(0, 255);
    auto* frames = new QHBoxLayout;
    frames->addWidget(firstSpin);
    frames->addWidget(lastSpin);
    auto* form = new QFormLayout;
    // Labels with a buddy show their mnemonic instead of a literal "&".
    auto* framesLabel = new QLabel(tr("フレーム(&F)"), this);
    framesLabel->setBuddy(firstSpin);
    auto* intervalLabel = new QLabel(tr("インターバル(&I)"), this);
    intervalLabel->setBuddy(intervalSpin);
    form->addRow(framesLabel, frames);
    form->addRow(intervalLabel, intervalSpin);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* run = buttons->addButton(tr("実行"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(run, &QPushButton::clicked, this, [this] { Run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

void cDlg_SetInterval::OnCreate()
{
    const int n = project_().Frames().Count();
    firstSpin->setRange(0, std::max(0, n - 1));
    lastSpin->setRange(0, std::max(0, n - 1));
    firstSpin->setValue(state.first);
    lastSpin->setValue(state.last);
    intervalSpin->setValue(state.interval);
}

void cDlg_SetInterval::OnDestroy()
{
    state.first = firstSpin->value();
    state.last = lastSpin->value();
    state.interval = intervalSpin->value();
}

void cDlg_SetInterval::Run()
{
    int first = firstSpin->value(), last = lastSpin->value();
    if (last < first)
        std::swap(first, last);
    firstSpin->setValue(first);
    lastSpin->setValue(last);
    SetIntervals(project_(), first, last, intervalSpin->value(), status_);
    Close(DLG_OK);
}
