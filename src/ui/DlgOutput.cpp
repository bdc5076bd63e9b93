#include "ui/DlgOutput.h"

#include "edit/Document.h"
#include "export/ThreadSaveGraph.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Paths.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kProgressInterval = 200; // ms
constexpr int kProgressWidth = 360;    // wide enough for the title
constexpr int kCropLimit = 8192;

// Why a job could not start, for the status bar.
std::string RefusalText(const cCaptureImage& job)
{
    long long w = 0, h = 0;
    job.RefusedSize(w, h);
    const auto text = [](const char* source) { return QCoreApplication::translate("ExportDlg", source); };
    switch (job.LastError()) {
    case CE_NOTHING: return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > 出力する画像がありません")).toStdString();
    case CE_LAYOUT: return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > 結合する枚数を指定してください")).toStdString();
    case CE_SHEET_TOO_LARGE:
        return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > 画像が大きすぎます(%1 x %2 / 最大 %3 x %4)"))
            .arg(w)
            .arg(h)
            .arg(kMaxSheetSide)
            .arg(kMaxSheetSide)
            .toStdString();
    case CE_GIF_TOO_LARGE:
        return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > GIFが大きすぎます(%1 x %2 / 最大 %3 x %4)"))
            .arg(w)
            .arg(h)
            .arg(kMaxGifSide)
            .arg(kMaxGifSide)
            .toStdString();
    case CE_TOO_MANY:
        return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > 画像が多すぎます(最大 %1 枚)")).arg(kMaxImages).toStdString();
    default: return text(QT_TRANSLATE_NOOP("ExportDlg", "< ! > 画像出力に失敗しました")).toStdString();
    }
}

QSpinBox* spin(QWidget* parent, int lo, int hi)
{
    auto* s = new QSpinBox(parent);
    s->setRange(lo, hi);
    return s;
}

} // namespace

cDlg_Progress::cDlg_Progress(QWidget* owner) : cBaseDlg(0, owner)
{
    setObjectName("cDlg_Progress");
    setWindowTitle(tr("処理中"));
    setMinimumWidth(kProgressWidth);
    label = new QLabel(this);
    bar = new QProgressBar(this);
    stopButton = new QPushButton(tr("中止"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addWidget(stopButton);
    timer_.setInterval(kProgressInterval);
    connect(&timer_, &QTimer::timeout, this, [this] { Update(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { Cancel(); });
}

int cDlg_Progress::Run(cThread_SaveGraph& thread)
{
    // The worker reports from its own thread; the dialog closes on the UI thread.
    const bool created = thread.Create([this](int code) {
        if (code == kMsgExportFinished)
            QMetaObject::invokeMethod(
                this, [this] { Finished(); }, Qt::QueuedConnection);
    });
    if (!created)
        return DLG_CANCEL;
    // The totals are known once the worker is created: the bar has its range from the start.
    thread_ = &thread;
    bar->setRange(0, thread.WorkTotal());
    Update();
    timer_.start();
    thread.Suspend(false);
    const int result = Create(parentWidget());
    timer_.stop();
    thread_ = nullptr;
    return result;
}

QString cDlg_Progress::Text() const
{
    if (!thread_)
        return QString();
    if (thread_->Phase() == CP_CAPTURE)
        return tr("画像作成 %1/%2").arg(thread_->Count()).arg(thread_->Total());
    return tr("GIF書き出し %1/%2").arg(thread_->FramesEncoded()).arg(thread_->Total());
}

void cDlg_Progress::Update()
{
    if (!thread_)
        return;
    const QString text = Text();
    setWindowTitle(tr("処理中 %1").arg(text));
    label->setText(text);
    bar->setValue(thread_->WorkDone());
}

void cDlg_Progress::Finished()
{
    if (!thread_ || !IsOpen())
        return;
    timer_.stop();
    Update();
    Close(kMsgExportFinished);
}

void cDlg_Progress::Cancel()
{
    timer_.stop();
    if (thread_ && thread_->IsActive())
        thread_->Cancel();
    if (IsOpen())
        Close(DLG_CANCEL);
}

void cDlg_Progress::reject() { Cancel(); }

cDlg_Output_Base::cDlg_Output_Base(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser,
                                   iStatusSink& status)
    : cBaseDlg(0, owner), project_(std::move(project)), chooser_(chooser), status_(status)
{
    leftSpin = spin(this, -kCropLimit, kCropLimit);
    topSpin = spin(this, -kCropLimit, kCropLimit);
    widthSpin = spin(this, -kCropLimit, kCropLimit);
    heightSpin = spin(this, -kCropLimit, kCropLimit);
    autoButton = new QPushButton(tr("自動"), this);
    colourButton = new QPushButton(tr("背景色"), this);
    progress = new cDlg_Progress(this);
    auto* corner = new QHBoxLayout;
    corner->addWidget(leftSpin);
    corner->addWidget(topSpin);
    auto* size = new QHBoxLayout;
    size->addWidget(widthSpin);
    size->addWidget(heightSpin);
    size->addWidget(autoButton);
    auto* form = new QFormLayout;
    form->addRow(tr("左上"), corner);
    form->addRow(tr("幅"), size);
    form->addRow(colourButton);
    body = new QVBoxLayout;
    auto* run = new QPushButton(tr("出力"), this);
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(run);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(body);
    layout->addLayout(buttons);
    connect(autoButton, &QPushButton::clicked, this, [this] { AutoRect(); });
    connect(colourButton, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(QColor::fromRgb(this->form.background), this);
        if (c.isValid()) {
            this->form.background = c.rgb() & 0xFFFFFF;
            ShowColour();
        }
    });
    connect(run, &QPushButton::clicked, this, [this] { Export(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

cDlg_Output_Base::~cDlg_Output_Base() = default;

void cDlg_Output_Base::OnCreate()
{
    leftSpin->setValue(form.left);
    topSpin->setValue(form.top);
    widthSpin->setValue(form.width);
    heightSpin->setValue(form.height);
    ShowColour();
}

void cDlg_Output_Base::ShowColour()
{
    colourButton->setStyleSheet(QString::asprintf("background-color: #%06x", unsigned(form.background)));
}

void cDlg_Output_Base::ReadForm()
{
    form.left = leftSpin->value();
    form.top = topSpin->value();
    form.width = widthSpin->value();
    form.height = heightSpin->value();
}

void cDlg_Output_Base::AutoRect()
{
    strCaptureRect r;
    if (!AutoCropRect(project_(), SpriteDrawer(), r))
        return;
    form.SetRect(r);
    leftSpin->setValue(form.left);
    topSpin->setValue(form.top);
    widthSpin->setValue(form.width);
    heightSpin->setValue(form.height);
}

bool cDlg_Output_Base::Export()
{
    ReadForm();
    cAnimeData& project = project_();
    std::string chosen;
    const std::string& file = project.Text(AT_FILE_NAME);
    if (!chooser_.Choose(DIALOG_SAVE, Filter(), paths::FolderOf(file), ProposedExportName(project, Extension()),
                         chosen))
        return false;
    auto thread = std::make_unique<cThread_SaveGraph>();
    thread->Job().SetGifQuality(Quality());
    thread->Job().SetRenderOptions(RenderOptionsOf(Settings()));
    const strCaptureRect rect = form.Rect();
    if (!thread->Job().Init(paths::ToDiskPath(chosen), &project, &rect, form.count, form.background, Flags(), form.fps,
                            form.scalePercent / 100.0)) {
        QApplication::beep();
        status_.ShowStatus(RefusalText(thread->Job()));
        return false;
    }
    const int result = progress->Run(*thread);
    thread->Destroy();
    if (thread->Cancelled()) {
        const bool numbered = (Flags() & kCapturePng) && !(Flags() & kCaptureCombine);
        status_.ShowStatus((numbered ? tr("< ! > 画像出力を中止しました(%1 枚出力済み)").arg(thread->Count())
                                     : tr("< ! > 画像出力を中止しました(ファイルは作成されていません)"))
                               .toStdString());
        return false;
    }
    if (result != kMsgExportFinished || !thread->Succeeded()) {
        if (result == kMsgExportFinished) {
            const std::string& reason = thread->Job().WriteReason();
            status_.ShowStatus(tr("< ! > 画像出力に失敗しました").toStdString() +
                               (reason.empty() ? std::string() : " : " + reason));
        }
        return false;
    }
    QApplication::beep();
    status_.ShowStatus(tr("画像出力完了").toStdString());
    Close(DLG_OK);
    return true;
}

std::string cDlg_Output_Graph::Filter() const { return tr("PNG形式(*.png)").toStdString(); }

cDlg_Output_Graph::cDlg_Output_Graph(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser,
                                     iStatusSink& status)
    : cDlg_Output_Base(owner, std::move(project), chooser, status)
{
    setObjectName("cDlg_Output_Graph");
    setWindowTitle(tr("PNG出力"));
    intervalCheck = new QCheckBox(tr("インターバル有効"), this);
    alphaCheck = new QCheckBox(tr("アルファ値を有効"), this);
    combineCheck = new QCheckBox(tr("１枚に結合"), this);
    fixCombo = new QComboBox(this);
    fixCombo->addItems({tr("横 固定"), tr("縦 固定")});
    orderCombo = new QComboBox(this);
    orderCombo->addItems({tr("Ｚ"), "И"});
    countSpin = spin(this, 0, 999);
    auto* sheet = new QHBoxLayout;
    sheet->addWidget(fixCombo);
    sheet->addWidget(countSpin);
    sheet->addWidget(orderCombo);
    body->addWidget(intervalCheck);
    body->addWidget(alphaCheck);
    body->addWidget(combineCheck);
    body->addLayout(sheet);
    connect(combineCheck, &QCheckBox::toggled, this, [this](bool on) {
        fixCombo->setEnabled(on);
        orderCombo->setEnabled(on);
        countSpin->setEnabled(on);
    });
}

void cDlg_Output_Graph::OnCreate()
{
    cDlg_Output_Base::OnCreate();
    intervalCheck->setChecked(form.interval);
    alphaCheck->setChecked(form.alpha);
    combineCheck->setChecked(form.combine);
    fixCombo->setCurrentIndex(form.fixRows ? 1 : 0);
    orderCombo->setCurrentIndex(form.orderN ? 1 : 0);
    countSpin->setValue(form.count);
    fixCombo->setEnabled(form.combine);
    orderCombo->setEnabled(form.combine);
    countSpin->setEnabled(form.combine);
}

void cDlg_Output_Graph::ReadForm()
{
    cDlg_Output_Base::ReadForm();
    form.interval = intervalCheck->isChecked();
    form.alpha = alphaCheck->isChecked();
    form.combine = combineCheck->isChecked();
    form.fixRows = fixCombo->currentIndex() == 1;
    form.orderN = orderCombo->currentIndex() == 1;
    form.count = countSpin->value();
    form.scalePercent = 100;
}

std::string cDlg_Output_Gif::Filter() const { return tr("GIF形式(*.gif)").toStdString(); }

cDlg_Output_Gif::cDlg_Output_Gif(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser,
                                 iStatusSink& status)
    : cDlg_Output_Base(owner, std::move(project), chooser, status)
{
    setObjectName("cDlg_Output_Gif");
    setWindowTitle(tr("GIFアニメーション出力"));
    fpsSpin = spin(this, 1, 1000);
    sixCheck = new QCheckBox(tr("6/100s制限"), this);
    transparentCheck = new QCheckBox(tr("透過色にする"), this);
    scaleSpin = spin(this, 1, 200);
    flashCheck = new QCheckBox(tr("フラッシュ"), this);
    targetCheck = new QCheckBox(tr("対象画像"), this);
    qualityCombo = new QComboBox(this);
    qualityCombo->addItems({tr("標準"), tr("高画質")});
    auto* form = new QFormLayout;
    form->addRow(tr("1秒"), fpsSpin);
    form->addRow(sixCheck);
    form->addRow(transparentCheck);
    form->addRow(tr("画像倍率 %"), scaleSpin);
    form->addRow(flashCheck);
    form->addRow(targetCheck);
    form->addRow(tr("画質"), qualityCombo);
    body->addLayout(form);
}

void cDlg_Output_Gif::OnCreate()
{
    cDlg_Output_Base::OnCreate();
    fpsSpin->setValue(form.fps);
    sixCheck->setChecked(form.sixHundredths);
    transparentCheck->setChecked(form.alpha);
    scaleSpin->setValue(form.scalePercent);
    flashCheck->setChecked(form.flash);
    targetCheck->setChecked(form.target);
    qualityCombo->setCurrentIndex(form.highQuality ? 1 : 0);
}

void cDlg_Output_Gif::ReadForm()
{
    cDlg_Output_Base::ReadForm();
    form.fps = fpsSpin->value();
    form.sixHundredths = sixCheck->isChecked();
    form.alpha = transparentCheck->isChecked();
    form.scalePercent = scaleSpin->value();
    form.flash = flashCheck->isChecked();
    form.target = targetCheck->isChecked();
    form.highQuality = qualityCombo->currentIndex() == 1;
}
