#include "ui/Tools.h"

#include "platform/CommandIds.h"
#include "platform/Strings.h"
#include "project/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {

QHBoxLayout* gapLayout(QWidget* gap)
{
    auto* layout = new QHBoxLayout(gap);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    return layout;
}

QSpinBox* spin(QWidget* parent, int lo, int hi, int value)
{
    auto* s = new QSpinBox(parent);
    s->setRange(lo, hi);
    s->setValue(value);
    return s;
}

// A selector that shows its longest item whole and leaves the keyboard focus
// where it was (the canvas), so picking an item never captures the shortcuts.
QComboBox* selector(QWidget* gap, const char* id, int stringId, int minWidth)
{
    auto* combo = new QComboBox(gap);
    combo->setObjectName(id);
    for (const std::string& s : platform::StringItems(stringId))
        combo->addItem(QString::fromStdString(s));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setFocusPolicy(Qt::NoFocus);
    const int width = std::max(minWidth, combo->sizeHint().width());
    combo->setFixedWidth(width);
    gap->setFixedWidth(width + 8);
    return combo;
}

} // namespace

cTool_Frame::cTool_Frame()
    : cBaseTool(30001, 40029,
                {{0, IDM_FIRST_FRAME, TB_PUSH},
                 {1, IDM_PREV_FRAME, TB_PUSH},
                 {2, IDM_NEXT_FRAME, TB_PUSH},
                 {3, IDM_LAST_FRAME, TB_PUSH},
                 {0, 0, TB_SEP},
                 {5, IDM_NEW_FRAME_FLAG, TB_CHECK},
                 {6, IDM_INSERT_FRAME, TB_PUSH},
                 {7, IDM_DELETE_FRAME, TB_PUSH},
                 {8, IDM_CLEAR_FRAME, TB_PUSH},
                 {0, 0, TB_SEP},
                 {9, IDM_FROM_PREVIOUS, TB_PUSH},
                 {10, IDM_FROM_NEXT, TB_PUSH},
                 {11, IDM_INTERPOLATE, TB_PUSH},
                 {0, 0, TB_SEP},
                 {106, 0, TB_SEP}},
                {"first-frame", "previous-frame", "next-frame", "last-frame", "", "auto-add-frames", "insert-frame",
                 "delete-frame", "clear-frame", "copy-from-previous", "copy-from-next", "interpolate"})
{
}

void cTool_Frame::OnCreate()
{
    SetChecked(IDM_NEW_FRAME_FLAG, Settings().NewFrameFlag);
    QWidget* gap = Gap(14);
    QHBoxLayout* layout = gapLayout(gap);
    auto* label = new QLabel(QString::fromStdString(platform::LoadString(40080)), gap);
    label->setMinimumWidth(54);
    gap->setFixedWidth(std::max(106, label->sizeHint().width() + 64));
    layout->addWidget(label);
    intervalEdit = spin(gap, 0, 255, 0);
    intervalEdit->setObjectName("30065");
    intervalEdit->setKeyboardTracking(false); // one change per entry, not per keystroke
    layout->addWidget(intervalEdit);
    connect(intervalEdit, &QSpinBox::valueChanged, this, [this](int v) {
        if (onInterval)
            onInterval(v);
    });
}

void cTool_Frame::SetInterval(int interval, bool enabled)
{
    if (!intervalEdit)
        return;
    const bool blocked = intervalEdit->blockSignals(true);
    intervalEdit->setValue(interval);
    intervalEdit->setEnabled(enabled);
    intervalEdit->blockSignals(blocked);
}

cTool_View::cTool_View()
    : cBaseTool(
          30002, 40030,
          {{0, IDM_VIEW_BACK, TB_CHECK},
           {1, IDM_VIEW_NOW, TB_CHECK},
           {2, IDM_VIEW_NEXT, TB_CHECK},
           {0, 0, TB_SEP},
           {5, IDM_VIEW_LOCUS, TB_CHECK},
           {6, IDM_VIEW_TARGET, TB_CHECK},
           {7, IDM_VIEW_GIF, TB_CHECK},
           {8, IDM_VIEW_LINE, TB_CHECK},
           {0, 0, TB_SEP},
           {60, 0, TB_SEP}},
          {"show-previous", "show-current", "show-next", "", "", "show-locus", "show-target", "show-gif", "show-grid"})
{
}

void cTool_View::OnCreate()
{
    const cSettings& s = Settings();
    SetChecked(IDM_VIEW_BACK, s.VBackFlag);
    SetChecked(IDM_VIEW_NOW, s.VNowFlag);
    SetChecked(IDM_VIEW_NEXT, s.VNextFlag);
    SetChecked(IDM_VIEW_LOCUS, s.VLocusFlag);
    SetChecked(IDM_VIEW_TARGET, s.VTargetFlag);
    SetChecked(IDM_VIEW_GIF, s.VGifFlag);
    SetChecked(IDM_VIEW_LINE, s.VLineFlag);
    QWidget* gap = Gap(9);
    zoomCombo = selector(gap, "30074", 40083, 56);
    zoomCombo->setCurrentIndex(2);
    gapLayout(gap)->addWidget(zoomCombo);
    connect(zoomCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (onZoom && i >= 0)
            onZoom(i);
    });
}

void cTool_View::SetZoomSelector(int index)
{
    if (!zoomCombo)
        return;
    const bool blocked = zoomCombo->blockSignals(true);
    zoomCombo->setCurrentIndex(index);
    zoomCombo->blockSignals(blocked);
}

cTool_Edit::cTool_Edit()
    : cBaseTool(30003, 40031,
                {{1, IDM_TOOL_MOVE, TB_CHECKGROUP},
                 {2, IDM_TOOL_SWING, TB_CHECKGROUP},
                 {3, IDM_TOOL_SPLINE, TB_CHECKGROUP},
                 {0, 0, TB_SEP},
                 {92, 0, TB_SEP},
                 {92, 0, TB_SEP},
                 {92, 0, TB_SEP}},
                {"", "tool-move", "tool-swing", "tool-spline"})
{
}

void cTool_Edit::OnCreate()
{
    SetChecked(IDM_TOOL_MOVE, true);
    cSettings& s = Settings();
    int32_t* steps[3] = {&s.PostGrid, &s.ScaleGrid, &s.AngleGrid};
    const char* checkIds[3] = {"30052", "30056", "30059"};
    const char* editIds[3] = {"30050", "30054", "30057"};
    const std::vector<std::string> labels = platform::StringItems(40079);
    for (int k = 0; k < 3; ++k) {
        QWidget* gap = Gap(4 + k);
        QHBoxLayout* layout = gapLayout(gap);
        snapCheck[k] = new QCheckBox(k < int(labels.size()) ? QString::fromStdString(labels[k]) : QString(), gap);
        snapCheck[k]->setObjectName(checkIds[k]);
        // A label longer than the classic width (English) widens its gap instead of being cut.
        const int extra = std::max(0, snapCheck[k]->sizeHint().width() - 48);
        snapCheck[k]->setFixedWidth(48 + extra);
        gap->setFixedWidth(gap->minimumWidth() + extra);
        snapCheck[k]->setFocusPolicy(Qt::NoFocus);
        snapCheck[k]->setChecked((s.GridBit >> k) & 1);
        snapEdit[k] = spin(gap, 0, 1000, *steps[k]);
        snapEdit[k]->setObjectName(editIds[k]);
        snapEdit[k]->setEnabled(snapCheck[k]->isChecked());
        layout->addWidget(snapCheck[k]);
        layout->addWidget(snapEdit[k]);
        connect(snapCheck[k], &QCheckBox::toggled, this, [this, k](bool on) {
            Settings().GridBit = on ? (Settings().GridBit | (1u << k)) : (Settings().GridBit & ~(1u << k));
            snapEdit[k]->setEnabled(on);
        });
        int32_t* step = steps[k];
        connect(snapEdit[k], &QSpinBox::valueChanged, this, [step](int v) { *step = v; });
    }
}

cTool_Play::cTool_Play()
    : cBaseTool(30008, 40032,
                {{1, IDM_PLAY_FIRST, TB_PUSH},
                 {2, IDM_PLAY, TB_CHECK},
                 {4, IDM_OPT_BOUNCE, TB_CHECK},
                 {5, IDM_OPT_LOOP, TB_CHECK},
                 {7, IDM_OPT_SOUND, TB_CHECK},
                 {8, IDM_OPT_FLASH, TB_CHECK},
                 {0, 0, TB_SEP},
                 {68, 0, TB_SEP},
                 {0, 0, TB_SEP},
                 {68, 0, TB_SEP},
                 {64, 0, TB_SEP}},
                {"", "play-from-start", "play", "", "bounce", "loop", "", "sound", "flash"})
{
}

void cTool_Play::OnCreate()
{
    const cSettings& s = Settings();
    SetChecked(IDM_OPT_BOUNCE, s.PlayBit & 0x8);
    SetChecked(IDM_OPT_LOOP, s.PlayBit & 0x4);
    SetChecked(IDM_OPT_SOUND, s.PlayBit & 0x80);
    SetChecked(IDM_OPT_FLASH, s.PlayBit & 0x20);

    QWidget* rateGap = Gap(7);
    rateCombo = selector(rateGap, "30025", 40074, 64);
    rateCombo->setCurrentIndex(std::clamp(s.PlayRate, 0, rateCombo->count() - 1));
    gapLayout(rateGap)->addWidget(rateCombo);
    connect(rateCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i < 0)
            return;
        Settings().PlayRate = i;
        if (onRate)
            onRate(i);
    });

    QWidget* startGap = Gap(9);
    startGap->setFixedWidth(90);
    QHBoxLayout* startLayout = gapLayout(startGap);
    rangeCheck = new QCheckBox(startGap);
    rangeCheck->setObjectName("30064");
    rangeCheck->setFocusPolicy(Qt::NoFocus);
    rangeStart = spin(startGap, 0, 65535, 0);
    rangeStart->setObjectName("30060");
    startLayout->addWidget(rangeCheck);
    startLayout->addWidget(rangeStart);
    QWidget* endGap = Gap(10);
    endGap->setFixedWidth(84);
    QHBoxLayout* endLayout = gapLayout(endGap);
    endLayout->addWidget(new QLabel(tr("～"), endGap));
    rangeEnd = spin(endGap, 0, 65535, 0);
    rangeEnd->setObjectName("30062");
    endLayout->addWidget(rangeEnd);
    auto enable = [this](bool on) {
        rangeStart->setEnabled(on);
        rangeEnd->setEnabled(on);
    };
    enable(false);
    connect(rangeCheck, &QCheckBox::toggled, this, enable);
}
