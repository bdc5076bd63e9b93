#include "ui/DlgControls.h"

#include "platform/Strings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

cNumberPair::cNumberPair(QWidget* parent, int lo, int hi, int tick, int page, int line) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (tick > 0) {
        track = new QSlider(Qt::Horizontal, this);
        track->setTickInterval(tick);
        track->setTickPosition(QSlider::TicksBelow);
        track->setPageStep(page);
        track->setSingleStep(line);
        layout->addWidget(track, 1);
        connect(track, &QSlider::valueChanged, this, [this](int v) { spin->setValue(v); });
    }
    spin = new QSpinBox(this);
    layout->addWidget(spin);
    SetRange(lo, hi);
    connect(spin, &QSpinBox::valueChanged, this, [this](int v) {
        if (track) {
            const QSignalBlocker block(track);
            track->setValue(v);
        }
        emit Changed(v);
    });
}

void cNumberPair::SetRange(int lo, int hi)
{
    spin->setRange(lo, hi);
    if (track)
        track->setRange(lo, hi);
}

void cNumberPair::SetValue(int v) { spin->setValue(v); }

int cNumberPair::Value() const { return spin->value(); }

QComboBox* StringCombo(QWidget* parent, int stringId)
{
    auto* c = new QComboBox(parent);
    for (const std::string& s : platform::StringItems(stringId))
        c->addItem(FromUtf8(s));
    return c;
}

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QListWidget* CheckList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    return list;
}

void FillCheckList(QListWidget* list, const std::vector<QString>& labels, const std::vector<bool>& ticks)
{
    list->clear();
    for (size_t i = 0; i < labels.size(); ++i) {
        auto* item = new QListWidgetItem(labels[i], list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(i < ticks.size() && ticks[i] ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<bool> ReadCheckList(const QListWidget* list)
{
    std::vector<bool> ticks(size_t(list->count()));
    for (int i = 0; i < list->count(); ++i)
        ticks[size_t(i)] = list->item(i)->checkState() == Qt::Checked;
    return ticks;
}

std::vector<QString> ParameterNames()
{
    std::vector<QString> names;
    for (const std::string& s : platform::StringItems(40028))
        names.push_back(FromUtf8(s));
    return names;
}
