#pragma once
// Small helpers the editor's dialogs share: a number field (edit box with spin)
// coupled with a track bar, combo boxes filled from string-table items, and the
// conversions between the model's ANSI texts and Qt strings.

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QListWidget;
class QSlider;
class QSpinBox;

/** An edit box with spin buttons and, optionally, a track bar that follows it. */
class cNumberPair : public QWidget {
    Q_OBJECT
public:
    /** tick, page and line are the track bar's steps; tick 0 makes no track bar. */
    cNumberPair(QWidget* parent, int lo, int hi, int tick = 0, int page = 0, int line = 0);
    /** Sets the range of every control. */
    void SetRange(int lo, int hi);
    void SetValue(int v);
    int Value() const;

    QSpinBox* spin;
    QSlider* track = nullptr;

signals:
    void Changed(int value);
};

/** A list of check rows; ticks are read and written as a vector. */
QListWidget* CheckList(QWidget* parent);
void FillCheckList(QListWidget* list, const std::vector<QString>& labels, const std::vector<bool>& ticks);
std::vector<bool> ReadCheckList(const QListWidget* list);
/** The thirteen parameter names of string 40028. */
std::vector<QString> ParameterNames();

QComboBox* StringCombo(QWidget* parent, int stringId);
QString FromUtf8(const std::string& s);
