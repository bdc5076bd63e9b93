#include "ui/PropConf.h"

#include "platform/Strings.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/TextLimit.h"
#include "view/SettingsForm.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

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

QLineEdit* edit(QWidget* parent, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setMaxLength(maxLength);
    return e;
}

void setColourText(QLineEdit* e, uint32_t colour, bool alpha)
{
    e->setText(QString::fromStdString(ColourText(colour, alpha)));
}
uint32_t colourOf(const QLineEdit* e) { return ParseColour(e->text().toStdString()); }

// A colour chooser button beside an edit: picks an RGB colour and writes it back.
QWidget* withChooser(QWidget* parent, QLineEdit* e)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* button = new QPushButton("...", box);
    button->setFixedWidth(28);
    row->addWidget(e);
    row->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, box, [e, box] {
        const uint32_t c = colourOf(e);
        const QColor chosen = QColorDialog::getColor(QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF), box);
        if (chosen.isValid())
            setColourText(e, chosen.rgb() & 0xFFFFFF, false);
    });
    return box;
}

} // namespace

cConfPage_Load::cConfPage_Load() : cBasePropSheet(tr("読込"))
{
    setObjectName("350");
    auto* form = new QFormLayout(this);
    folderC = edit(this, 64);
    folderG = edit(this, 255);
    folderS = edit(this, 255);
    LimitStoredBytes(folderC, 64);
    LimitStoredBytes(folderG, 255);
    LimitStoredBytes(folderS, 255);
    transType = combo(this, 40085);
    compType = combo(this, 40086);
    backUp = new QCheckBox(tr(" 読み込む際にバックアップファイルを生成する"), this);
    gameDataBackUp = new QCheckBox(tr(" ゲームのデータへ書き込む前に元のファイルを .bak に残す"), this);
    form->addRow(tr("基底フォルダ名"), folderC);
    form->addRow(tr("画像フォルダパス"), folderG);
    form->addRow(tr("音声フォルダパス"), folderS);
    form->addRow(new QLabel(tr("※ 再読込が必要"), this));
    form->addRow(tr("透過色の判別方法"), transType);
    form->addRow(tr("簡易セル補完"), compType);
    form->addRow(backUp);
    form->addRow(gameDataBackUp);
}

void cConfPage_Load::Load()
{
    const cSettings& s = Settings();
    folderC->setText(FromModelPath(s.FolderName_C));
    folderG->setText(FromModelPath(s.FolderName_G));
    folderS->setText(FromModelPath(s.FolderName_S));
    transType->setCurrentIndex(s.TransType);
    compType->setCurrentIndex(s.CompType);
    backUp->setChecked(s.BackUpFlag);
    gameDataBackUp->setChecked(s.GameDataBackUpFlag);
}

void cConfPage_Load::Apply()
{
    cSettings& s = Settings();
    s.FolderName_C = FolderNameOrDefault(ToModelPath(folderC->text()), "Data");
    s.FolderName_G = FolderNameOrDefault(ToModelPath(folderG->text()), "BattleEffect");
    s.FolderName_S = FolderNameOrDefault(ToModelPath(folderS->text()), "Sound");
    s.TransType = transType->currentIndex();
    SpriteDrawer().SetOptions(RenderOptionsOf(s));
    s.CompType = compType->currentIndex();
    s.BackUpFlag = backUp->isChecked();
    s.GameDataBackUpFlag = gameDataBackUp->isChecked();
}

cConfPage_Init::cConfPage_Init() : cBasePropSheet(tr("初期設定"))
{
    setObjectName("351");
    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(tr("プロジェクトの初期状態"), this);
    outer->addWidget(group);
    auto* form = new QFormLayout(group);
    interval = spin(group, 1, 255);
    cells = spin(group, 1, 255);
    cutX = spin(group, 1, 1024);
    cutY = spin(group, 1, 1024);
    auto* cut = new QWidget(group);
    auto* cutRow = new QHBoxLayout(cut);
    cutRow->setContentsMargins(0, 0, 0, 0);
    cutRow->addWidget(cutX);
    cutRow->addWidget(cutY);
    center = combo(group, 40073);
    division = combo(group, 40071);
    edit = combo(group, 40078);
    save = combo(group, 40077);
    fix = new QCheckBox(tr(" 使う画像をセル番号ごとに固定する"), group);
    form->addRow(tr("基本インターバル"), interval);
    form->addRow(tr("セル枚数"), cells);
    form->addRow(tr("画像分割数(横,縦)"), cut);
    form->addRow(tr("中心位置"), center);
    form->addRow(tr("分割形式"), division);
    form->addRow(tr("編集形式"), edit);
    form->addRow(tr("保存形式"), save);
    form->addRow(fix);
}

void cConfPage_Init::Load()
{
    const cSettings& s = Settings();
    interval->setValue(s.Init_Int);
    cells->setValue(s.Init_Cell);
    cutX->setValue(s.Init_CutX);
    cutY->setValue(s.Init_CutY);
    center->setCurrentIndex(s.Init_Center);
    division->setCurrentIndex(s.Init_Div);
    edit->setCurrentIndex(s.Init_Edit);
    save->setCurrentIndex(s.Init_Format);
    fix->setChecked(s.Init_FixFlag);
}

void cConfPage_Init::Apply()
{
    cSettings& s = Settings();
    s.Init_Int = interval->value();
    s.Init_Cell = cells->value();
    s.Init_CutX = cutX->value();
    s.Init_CutY = cutY->value();
    s.Init_Center = uint8_t(std::max(0, center->currentIndex()));
    s.Init_Div = uint8_t(std::max(0, division->currentIndex()));
    s.Init_Edit = uint8_t(std::max(0, edit->currentIndex()));
    s.Init_Format = std::max(0, save->currentIndex());
    s.Init_FixFlag = fix->isChecked();
}

cConfPage_View::cConfPage_View() : cBasePropSheet(tr("表示"))
{
    setObjectName("353");
    auto* form = new QFormLayout(this);
    ground = edit(this, 16);
    grid = edit(this, 16);
    centerLine = edit(this, 16);
    backShadow = edit(this, 16);
    nextShadow = edit(this, 16);
    gridFlag = new QCheckBox(tr("グリッド"), this);
    centerFlag = new QCheckBox(tr("中心線"), this);
    gridSize = spin(this, 0, 255);
    centerW = spin(this, 0, 1024);
    centerH = spin(this, 0, 1024);
    form->addRow(tr("背景色"), withChooser(this, ground));
    form->addRow(gridFlag, withChooser(this, grid));
    form->addRow(tr("間隔"), gridSize);
    form->addRow(centerFlag);
    form->addRow(tr("色 (0xaarrggbb)"), centerLine);
    auto* range = new QWidget(this);
    auto* rangeRow = new QHBoxLayout(range);
    rangeRow->setContentsMargins(0, 0, 0, 0);
    rangeRow->addWidget(centerW);
    rangeRow->addWidget(centerH);
    form->addRow(tr("範囲[x,y]"), range);
    auto* shadows = new QGroupBox(tr("前後セル"), this);
    auto* shadowForm = new QFormLayout(shadows);
    shadowForm->addRow(tr("前F (0xaarrggbb)"), backShadow);
    shadowForm->addRow(tr("先F (0xaarrggbb)"), nextShadow);
    form->addRow(shadows);
    language = new QComboBox(this);
    language->addItems({tr("自動"), tr("日本語"), tr("English")});
    form->addRow(tr("言語"), language);
    form->addRow(new QLabel(tr("※ 次回の起動から有効"), this));
}

void cConfPage_View::Load()
{
    const cSettings& s = Settings();
    setColourText(ground, s.CGround, false);
    setColourText(grid, s.CGrid, false);
    setColourText(centerLine, s.CCenterLine, true);
    setColourText(backShadow, s.CBackShadow, true);
    setColourText(nextShadow, s.CNextShadow, true);
    gridFlag->setChecked(s.VGridFlag);
    centerFlag->setChecked(s.VCenterFlag);
    gridSize->setValue(s.GridSize);
    centerW->setValue(s.CenterW);
    centerH->setValue(s.CenterH);
    language->setCurrentIndex(LanguageChoice(s.Language));
}

void cConfPage_View::Apply()
{
    cSettings& s = Settings();
    s.CGround = colourOf(ground);
    SpriteDrawer().SetOptions(RenderOptionsOf(s));
    s.CGrid = colourOf(grid);
    s.CCenterLine = colourOf(centerLine);
    s.CBackShadow = colourOf(backShadow);
    s.CNextShadow = colourOf(nextShadow);
    s.VGridFlag = gridFlag->isChecked();
    s.VCenterFlag = centerFlag->isChecked();
    s.GridSize = gridSize->value();
    s.CenterW = centerW->value();
    s.CenterH = centerH->value();
    s.Language = LanguageSetting(language->currentIndex());
}

int cProp_Conf::GetPages(std::vector<cBasePropSheet*>& pages)
{
    pages.push_back(new cConfPage_Load);
    pages.push_back(new cConfPage_Init);
    pages.push_back(new cConfPage_View);
    return int(pages.size());
}
