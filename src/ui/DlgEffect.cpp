#include "ui/DlgEffect.h"

#include "edit/Document.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "platform/Strings.h"
#include "playback/SoundTable.h"
#include "project/Settings.h"
#include "ui/DlgControls.h"
#include "ui/TextLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kMaxText = 255;
constexpr int kChecker = 16;

QColor rgbColour(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
} // namespace

cDlg_SetEffect::cDlg_SetEffect(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser)
    : cBaseDlg(0, owner), project_(std::move(project)), chooser_(chooser)
{
    setObjectName("cDlg_SetEffect");
    setAcceptDrops(true);
    frameEdit = new cNumberPair(this, 0, 0);
    auto* frameRow = new QFormLayout;
    frameRow->addRow(tr("起動フレーム(&F)"), frameEdit);

    soundCheck = new QCheckBox(tr("効果音(&S)"), this);
    soundGroup_ = new QWidget(this);
    auto* sound = new QGridLayout(soundGroup_);
    nameEdit = new QLineEdit(soundGroup_);
    LimitStoredBytes(nameEdit, kMaxText);
    browseButton = new QPushButton(tr("参照"), soundGroup_);
    volume = new cNumberPair(soundGroup_, 1, 100, 20, 50, 10);
    pitch = new cNumberPair(soundGroup_, 1, 200, 20, 50, 10);
    balance = new cNumberPair(soundGroup_, 0, 200, 20, 50, 10);
    playButton = new QPushButton(tr("再生"), soundGroup_);
    sound->addWidget(nameEdit, 0, 0, 1, 2);
    sound->addWidget(browseButton, 0, 2);
    sound->addWidget(new QLabel(tr("音量"), soundGroup_), 1, 0);
    sound->addWidget(volume, 1, 1, 1, 2);
    sound->addWidget(new QLabel(tr("周波数"), soundGroup_), 2, 0);
    sound->addWidget(pitch, 2, 1, 1, 2);
    sound->addWidget(new QLabel(tr("バランス"), soundGroup_), 3, 0);
    sound->addWidget(balance, 3, 1, 1, 2);
    sound->addWidget(playButton, 4, 2);

    flashCheck = new QCheckBox(tr("フラッシュ(&E)"), this);
    flashGroup_ = new QWidget(this);
    auto* flash = new QGridLayout(flashGroup_);
    duration = new cNumberPair(flashGroup_, 0, 255);
    scopeCombo = StringCombo(flashGroup_, 40075);
    flashColourGroup_ = new QWidget(flashGroup_);
    auto* colours = new QGridLayout(flashColourGroup_);
    colours->setContentsMargins(0, 0, 0, 0);
    blendCombo = StringCombo(flashColourGroup_, 40069);
    colours->addWidget(new QLabel(tr("描画"), flashColourGroup_), 0, 0);
    colours->addWidget(blendCombo, 0, 1);
    static const char* const names[4] = {QT_TR_NOOP("赤(R)"), QT_TR_NOOP("緑(G)"), QT_TR_NOOP("青(B)"),
                                         QT_TR_NOOP("強さ(V)")};
    for (int i = 0; i < 4; ++i) {
        colour[i] = new cNumberPair(flashColourGroup_, 0, 255, 32, 64, 16);
        colours->addWidget(new QLabel(tr(names[i]), flashColourGroup_), i + 1, 0);
        colours->addWidget(colour[i], i + 1, 1);
    }
    preview = new QWidget(flashGroup_);
    preview->setMinimumSize(64, 64);
    preview->installEventFilter(this);
    resetButton = new QPushButton(tr("初期化"), flashGroup_);
    flash->addWidget(new QLabel(tr("フレーム"), flashGroup_), 0, 0);
    flash->addWidget(duration, 0, 1);
    flash->addWidget(new QLabel(tr("対象"), flashGroup_), 1, 0);
    flash->addWidget(scopeCombo, 1, 1);
    flash->addWidget(flashColourGroup_, 2, 0, 1, 2);
    flash->addWidget(preview, 3, 0);
    flash->addWidget(resetButton, 3, 1);

    noteCheck = new QCheckBox(tr("ユーザーデータ(&U)(255byte)"), this);
    noteEdit = new QLineEdit(this);
    LimitStoredBytes(noteEdit, kMaxText);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(tr("適用"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frameRow);
    layout->addWidget(soundCheck);
    layout->addWidget(soundGroup_);
    layout->addWidget(flashCheck);
    layout->addWidget(flashGroup_);
    layout->addWidget(noteCheck);
    layout->addWidget(noteEdit);
    layout->addWidget(buttons);

    for (QCheckBox* c : {soundCheck, flashCheck, noteCheck})
        connect(c, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    connect(scopeCombo, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabling(); });
    connect(blendCombo, &QComboBox::currentIndexChanged, preview, qOverload<>(&QWidget::update));
    for (cNumberPair* p : colour)
        connect(p, &cNumberPair::Changed, preview, qOverload<>(&QWidget::update));
    connect(resetButton, &QPushButton::clicked, this, [this] {
        strEffectForm f;
        f.ResetColour();
        colour[0]->SetValue(f.red);
        colour[1]->SetValue(f.green);
        colour[2]->SetValue(f.blue);
        colour[3]->SetValue(f.strength);
        preview->update();
    });
    connect(browseButton, &QPushButton::clicked, this, [this] {
        std::string chosen;
        if (chooser_.Choose(DIALOG_OPEN, platform::LoadString(40007), project_().Text(AT_WORK_FOLDER), std::string(),
                            chosen))
            nameEdit->setText(FromModelPath(chosen));
    });
    connect(playButton, &QPushButton::clicked, this, [this] { PlayPreview(); });
    connect(apply, &QPushButton::clicked, this, [this] {
        Apply();
        Close(DLG_OK);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

cDlg_SetEffect::~cDlg_SetEffect() = default;

int cDlg_SetEffect::Edit(strEffect* effect, int index)
{
    record_ = effect;
    index_ = index;
    return Create(parentWidget());
}

void cDlg_SetEffect::Attach(strEffect* effect, int index)
{
    record_ = effect;
    index_ = index;
    OnCreate();
}

void cDlg_SetEffect::OnCreate()
{
    frameEdit->SetRange(0, project_().FrameCapacity());
    Load();
}

void cDlg_SetEffect::Load()
{
    if (!record_)
        return;
    const strEffectForm f = strEffectForm::From(*record_);
    frameEdit->SetValue(f.frame);
    nameEdit->setText(FromModelPath(f.seName));
    volume->SetValue(f.volume);
    pitch->SetValue(f.pitch);
    balance->SetValue(f.balance);
    duration->SetValue(f.duration);
    scopeCombo->setCurrentIndex(f.scope);
    blendCombo->setCurrentIndex(f.blend);
    colour[0]->SetValue(f.red);
    colour[1]->SetValue(f.green);
    colour[2]->SetValue(f.blue);
    colour[3]->SetValue(f.strength);
    noteEdit->setText(FromModel(f.noteText));
    setWindowTitle(tr("効果 : %1").arg(index_));
    soundCheck->setChecked(f.sound);
    flashCheck->setChecked(f.flash);
    noteCheck->setChecked(f.note);
    UpdateEnabling();
}

strEffectForm cDlg_SetEffect::Form() const
{
    strEffectForm f;
    f.frame = frameEdit->Value();
    f.sound = soundCheck->isChecked();
    f.seName = ToModelPath(nameEdit->text());
    f.volume = volume->Value();
    f.pitch = pitch->Value();
    f.balance = balance->Value();
    f.flash = flashCheck->isChecked();
    f.duration = duration->Value();
    f.scope = std::max(0, scopeCombo->currentIndex());
    f.blend = std::max(0, blendCombo->currentIndex());
    f.red = colour[0]->Value();
    f.green = colour[1]->Value();
    f.blue = colour[2]->Value();
    f.strength = colour[3]->Value();
    f.note = noteCheck->isChecked();
    f.noteText = ToModel(noteEdit->text());
    return f;
}

void cDlg_SetEffect::UpdateEnabling()
{
    const strEffectEnabling e = EffectEnabling(Form());
    soundGroup_->setEnabled(e.sound);
    flashGroup_->setEnabled(e.flash);
    flashColourGroup_->setEnabled(e.flashColour);
    noteEdit->setEnabled(e.note);
    preview->update();
}

void cDlg_SetEffect::Apply()
{
    if (record_)
        Form().ApplyTo(*record_);
}

void cDlg_SetEffect::OnDestroy()
{
    record_ = nullptr;
    index_ = 0;
    soundName_.clear();
    sound_.reset();
}

void cDlg_SetEffect::DropFile(const std::string& modelPath)
{
    if (soundCheck->isChecked())
        nameEdit->setText(FromModelPath(DroppedFilePath(project_(), modelPath)));
}

void cDlg_SetEffect::PlayPreview()
{
    const std::string name = paths::MakeAbsolute(ToModelPath(nameEdit->text()), project_().Text(AT_WORK_FOLDER));
    if (sound_)
        sound_->Stop();
    if (name != soundName_) {
        sound_.reset();
        soundName_.clear();
        sound_ = SoundDevice().CreateInstance(paths::ToDiskPath(name));
        if (sound_)
            soundName_ = name;
    }
    if (!sound_)
        return;
    sound_->SetVolume(float(volume->Value()));
    sound_->SetSpeed(float(std::max(pitch->Value(), 1)) / 100.0f);
    sound_->SetPan(float(balance->Value()) - 100.0f);
    sound_->Play();
}

void cDlg_SetEffect::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void cDlg_SetEffect::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    DropFile(paths::FromDiskPath(std::filesystem::path(urls.first().toLocalFile().toStdString())));
}

bool cDlg_SetEffect::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != preview || event->type() != QEvent::Paint)
        return cBaseDlg::eventFilter(watched, event);
    QPainter painter(preview);
    const strEffectForm f = Form();
    const cSettings& s = Settings();
    const QColor a = rgbColour(FlashPreviewColour(f, s.CGround & 0xFFFFFF));
    const QColor b = rgbColour(FlashPreviewColour(f, s.CGrid & 0xFFFFFF));
    for (int y = 0; y < preview->height(); y += kChecker)
        for (int x = 0; x < preview->width(); x += kChecker)
            painter.fillRect(x, y, kChecker, kChecker, ((x / kChecker + y / kChecker) & 1) ? b : a);
    return true;
}
