#include "ui/DlgPicture.h"

#include "edit/Document.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "ui/DlgControls.h"
#include "ui/TextLimit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

cDlg_SetPicture::cDlg_SetPicture(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser)
    : cBaseDlg(0, owner), project_(std::move(project)), chooser_(chooser)
{
    setObjectName("cDlg_SetPicture");
    setAcceptDrops(true);
    pathEdit = new QLineEdit(this);
    LimitStoredBytes(pathEdit, 255);
    browseButton = new QPushButton(tr("参照"), this);
    divisionCombo = StringCombo(this, 40071);
    divisionCombo->setEnabled(false);
    divXSpin = new QSpinBox(this);
    divYSpin = new QSpinBox(this);
    hueSpin = new QSpinBox(this);
    divXSpin->setRange(1, 1024);
    divYSpin->setRange(1, 1024);
    hueSpin->setRange(0, 360);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathEdit, 1);
    pathRow->addWidget(browseButton);
    auto* divRow = new QHBoxLayout;
    divRow->addWidget(divXSpin);
    divRow->addWidget(divYSpin);
    auto* form = new QFormLayout;
    form->addRow(pathRow);
    form->addRow(tr("分割方法"), divisionCombo);
    form->addRow(tr("分割数(横,縦)"), divRow);
    form->addRow(tr("色相(度)"), hueSpin);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(tr("適用"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(browseButton, &QPushButton::clicked, this, [this] {
        std::string chosen;
        if (chooser_.Choose(DIALOG_OPEN, platform::LoadString(40006), project_().Text(AT_WORK_FOLDER), std::string(),
                            chosen))
            pathEdit->setText(FromModelPath(chosen));
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        Apply();
        Close(DLG_OK);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

int cDlg_SetPicture::Edit(strPicture* picture, int index)
{
    record_ = picture;
    index_ = index;
    return Create(parentWidget());
}

void cDlg_SetPicture::Attach(strPicture* picture, int index)
{
    record_ = picture;
    index_ = index;
    OnCreate();
}

void cDlg_SetPicture::OnCreate() { Load(); }

void cDlg_SetPicture::OnDestroy() { record_ = nullptr; }

void cDlg_SetPicture::Load()
{
    if (!record_)
        return;
    const strPictureForm f = strPictureForm::From(*record_, project_());
    divisionCombo->setCurrentIndex(f.divisionFormat);
    divXSpin->setValue(f.divX);
    divYSpin->setValue(f.divY);
    hueSpin->setValue(f.hue);
    pathEdit->setText(FromModelPath(f.path));
    setWindowTitle(tr("画像 : %1").arg(index_));
}

void cDlg_SetPicture::Apply()
{
    if (!record_)
        return;
    strPictureForm f;
    f.path = ToModelPath(pathEdit->text());
    f.divX = divXSpin->value();
    f.divY = divYSpin->value();
    f.hue = hueSpin->value();
    f.ApplyTo(*record_);
}

void cDlg_SetPicture::DropFile(const std::string& modelPath)
{
    pathEdit->setText(FromModelPath(DroppedFilePath(project_(), modelPath)));
}

void cDlg_SetPicture::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void cDlg_SetPicture::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    DropFile(paths::FromDiskPath(std::filesystem::path(urls.first().toLocalFile().toStdString())));
}
