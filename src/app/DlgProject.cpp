#include "app/DlgProject.h"

#include "app/MainWnd.h"
#include "model/AnimeData.h"
#include "platform/Strings.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/MainEditWnd.h"
#include "ui/TextLimit.h"
#include "view/ProjectForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QComboBox* combo(QWidget* parent, int stringId)
{
    auto* c = new QComboBox(parent);
    for (const std::string& s : platform::StringItems(stringId))
        c->addItem(QString::fromStdString(s));
    return c;
}

QSpinBox* spin(QWidget* parent, int lo, int hi)
{
    auto* s = new QSpinBox(parent);
    s->setRange(lo, hi);
    return s;
}

} // namespace

cDlg_Project::cDlg_Project(cMainWnd* main, iMessageSink& messages) : cBaseDlg(0, main), main_(main), messages_(messages)
{
    setObjectName("332");
    setWindowTitle(tr("プロジェクト"));
    auto* form = new QFormLayout;
    nameEdit = new QLineEdit(this);
    LimitStoredBytes(nameEdit, kProjectNameBytes);
    baseEdit = spin(this, 1, 255);
    totalEdit = spin(this, 0, 9999);
    auto* autoButton = new QPushButton(tr("自動設定"), this);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(totalEdit);
    totalRow->addWidget(autoButton);
    cellEdit = spin(this, 1, cAnimeData::kMaxCellCount);
    fixCheck = new QCheckBox(tr(" 使う画像をセルごとに固定する(&F)"), this);
    centerCombo = combo(this, 40073);
    divisionCombo = combo(this, 40071);
    editCombo = combo(this, 40078);
    saveCombo = combo(this, 40077);
    userEdit = new QLineEdit(this);
    LimitStoredBytes(userEdit, kUserDataBytes);
    form->addRow(tr("アニメーションの名前(&N)(64byte)"), nameEdit);
    form->addRow(tr("基本インターバル"), baseEdit);
    form->addRow(tr("総インターバル"), totalRow);
    form->addRow(tr("セル枚数"), cellEdit);
    form->addRow(fixCheck);
    form->addRow(tr("中心位置"), centerCombo);
    form->addRow(tr("分割形式"), divisionCombo);
    form->addRow(tr("編集形式"), editCombo);
    form->addRow(tr("保存形式"), saveCombo);
    form->addRow(tr("ユーザーデータ(&U)(255byte)"), userEdit);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(tr("適用"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(autoButton, &QPushButton::clicked, this,
            [this] { totalEdit->setValue(AutoTotalInterval(main_->Project(), main_->Canvas()->CurrentFrame())); });
    connect(apply, &QPushButton::clicked, this, [this] { ApplyAndClose(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

void cDlg_Project::OnCreate() { Load(); }

void cDlg_Project::Load()
{
    const strProjectForm f = strProjectForm::From(main_->Project());
    nameEdit->setText(FromModel(f.name));
    userEdit->setText(FromModel(f.userData));
    baseEdit->setValue(f.baseInterval);
    totalEdit->setValue(f.totalInterval);
    cellEdit->setValue(f.cellCount);
    fixCheck->setChecked(f.fixPicturePerCell);
    centerCombo->setCurrentIndex(f.centerPosition);
    divisionCombo->setCurrentIndex(f.divisionFormat);
    editCombo->setCurrentIndex(f.editFormat);
    saveCombo->setCurrentIndex(f.saveFormat);
}

bool cDlg_Project::ApplyAndClose()
{
    cAnimeData& project = main_->Project();
    strProjectForm f;
    f.name = ToModel(nameEdit->text());
    f.userData = ToModel(userEdit->text());
    f.baseInterval = baseEdit->value();
    f.totalInterval = totalEdit->value();
    f.cellCount = cellEdit->value();
    f.fixPicturePerCell = fixCheck->isChecked();
    f.centerPosition = centerCombo->currentIndex();
    f.divisionFormat = divisionCombo->currentIndex();
    f.editFormat = editCombo->currentIndex();
    f.saveFormat = saveCombo->currentIndex();

    const int bits = ProjectChangeBits(f, project);
    if (bits == 0) {
        ApplyLightItems(f, project);
        Close(DLG_OK);
        return true;
    }
    if (messages_.Ask(platform::LoadString(40022), platform::LoadString(40004), ASK_YES_NO, ICON_WARNING) != ANSWER_YES)
        return false;
    ApplyLightItems(f, project);
    const bool countChanged = ApplyRewrite(f, bits, project);
    if (countChanged)
        main_->Canvas()->ResetCellCount();
    if (bits & PC_DIVISION)
        SpriteDrawer().LoadPictures(project);
    project.ForgetRecords();
    main_->Refresh();
    Close(DLG_OK);
    return true;
}
