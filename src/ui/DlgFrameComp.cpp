#include "ui/DlgFrameComp.h"

#include "model/AnimeData.h"
#include "ui/DlgControls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

std::vector<QString> numberedLabels(int n, const char* format)
{
    std::vector<QString> labels;
    for (int i = 0; i < n; ++i)
        labels.push_back(QString::asprintf(format, i));
    return labels;
}

QDialogButtonBox* runButtons(cBaseDlg* dlg, const std::function<void()>& run)
{
    auto* buttons = new QDialogButtonBox(dlg);
    QPushButton* ok = buttons->addButton(QCoreApplication::translate("cBaseDlg", "実行"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QCoreApplication::translate("cBaseDlg", "キャンセル"), QDialogButtonBox::RejectRole);
    QObject::connect(ok, &QPushButton::clicked, dlg, run);
    QObject::connect(cancel, &QPushButton::clicked, dlg, [dlg] { dlg->Close(DLG_CANCEL); });
    return buttons;
}

} // namespace

cDlg_FrameComp::cDlg_FrameComp(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status)
    : cBaseDlg(0, owner), project_(std::move(project)), status_(status)
{
    setObjectName("cDlg_FrameComp");
    setWindowTitle(tr("フレーム補完"));
    cellList = CheckList(this);
    paramList = CheckList(this);
    firstSpin = new QSpinBox(this);
    lastSpin = new QSpinBox(this);
    methodCombo = new QComboBox(this);
    methodCombo->addItems({tr("通常"), tr("中割り"), tr("使用セルのみ")});
    auto* lists = new QHBoxLayout;
    lists->addWidget(cellList);
    lists->addWidget(paramList);
    auto* frames = new QHBoxLayout;
    frames->addWidget(firstSpin);
    frames->addWidget(lastSpin);
    auto* form = new QFormLayout;
    form->addRow(tr("フレーム"), frames);
    form->addRow(tr("方法"), methodCombo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(form);
    layout->addWidget(runButtons(this, [this] { Run(); }));
}

void cDlg_FrameComp::OnCreate()
{
    const cAnimeData& p = project_();
    state.Prepare(p);
    const int n = p.Frames().Count();
    firstSpin->setRange(0, std::max(0, n - 1));
    lastSpin->setRange(0, std::max(0, n - 1));
    firstSpin->setValue(state.first);
    lastSpin->setValue(state.last);
    methodCombo->setCurrentIndex(std::clamp(state.method, 0, 2));
    FillCheckList(cellList, numberedLabels(p.CellCount(), "<%02d>"), state.cellTicks);
    FillCheckList(paramList, ParameterNames(), state.paramTicks);
}

void cDlg_FrameComp::ReadState()
{
    state.first = firstSpin->value();
    state.last = lastSpin->value();
    state.method = methodCombo->currentIndex();
    state.cellTicks = ReadCheckList(cellList);
    state.paramTicks = ReadCheckList(paramList);
}

void cDlg_FrameComp::OnDestroy() { ReadState(); }

int cDlg_FrameComp::Run()
{
    ReadState();
    const int stored = RunFrameInterpolation(project_(), state, status_);
    Close(DLG_OK);
    return stored;
}

cDlg_AtOnce::cDlg_AtOnce(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status)
    : cBaseDlg(0, owner), project_(std::move(project)), status_(status)
{
    setObjectName("cDlg_AtOnce");
    setWindowTitle(tr("セルを一括編集"));
    frameList = CheckList(this);
    cellList = CheckList(this);
    paramList = CheckList(this);
    formulaCombo = new QComboBox(this);
    formulaCombo->addItems({tr("代入(=)"), tr("加算(+=)"), tr("割合(*= v/100)")});
    valueSpin = new QSpinBox(this);
    valueSpin->setRange(-9999, 9999);
    auto* lists = new QHBoxLayout;
    lists->addWidget(frameList);
    lists->addWidget(cellList);
    lists->addWidget(paramList);
    auto* form = new QFormLayout;
    form->addRow(tr("計算式"), formulaCombo);
    form->addRow(tr("値"), valueSpin);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(form);
    layout->addWidget(runButtons(this, [this] { Run(); }));
}

void cDlg_AtOnce::OnCreate()
{
    const cAnimeData& p = project_();
    state.Prepare(p);
    FillCheckList(frameList, numberedLabels(int(state.frameTicks.size()), "<%03d>"), state.frameTicks);
    FillCheckList(cellList, numberedLabels(p.CellCount(), "<%02d>"), state.cellTicks);
    FillCheckList(paramList, ParameterNames(), state.paramTicks);
    formulaCombo->setCurrentIndex(std::clamp(state.formula, 0, 2));
    valueSpin->setValue(state.value);
}

void cDlg_AtOnce::ReadState()
{
    state.frameTicks = ReadCheckList(frameList);
    state.cellTicks = ReadCheckList(cellList);
    state.paramTicks = ReadCheckList(paramList);
    state.formula = formulaCombo->currentIndex();
    state.value = valueSpin->value();
}

void cDlg_AtOnce::OnDestroy() { ReadState(); }

int cDlg_AtOnce::Run()
{
    ReadState();
    const int stored = RunBatchEdit(project_(), state, status_);
    Close(DLG_OK);
    return stored;
}
