#pragma once
// The four tool bars of the main window and their embedded controls.

#include "ui/BaseTool.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QSpinBox;

/** Frame stepping and frame editing, with the current frame's interval field. */
class cTool_Frame : public cBaseTool {
    Q_OBJECT
public:
    cTool_Frame();
    void OnCreate() override;
    /** Shows an interval without reporting it back. */
    void SetInterval(int interval, bool enabled);
    /** Called when the user changes the interval field. */
    std::function<void(int)> onInterval;
    QSpinBox* intervalEdit = nullptr; // 30065 with its spin 30066
};

/** Drawing options and the zoom selector. */
class cTool_View : public cBaseTool {
    Q_OBJECT
public:
    cTool_View();
    void OnCreate() override;
    /** Sets the zoom selector without calling onZoom. */
    void SetZoomSelector(int index);
    std::function<void(int)> onZoom;
    QComboBox* zoomCombo = nullptr; // 30074
};

/** Canvas tools and the three snap fields. */
class cTool_Edit : public cBaseTool {
    Q_OBJECT
public:
    cTool_Edit();
    void OnCreate() override;
    QCheckBox* snapCheck[3] = {}; // 30052, 30056, 30059
    QSpinBox* snapEdit[3] = {};   // 30050, 30054, 30057 with spins 30051, 30055, 30058
};

/** Playback buttons, the play-rate selector and the play range. */
class cTool_Play : public cBaseTool {
    Q_OBJECT
public:
    cTool_Play();
    void OnCreate() override;
    std::function<void(int)> onRate;
    QComboBox* rateCombo = nullptr;  // 30025
    QCheckBox* rangeCheck = nullptr; // 30064: ticked = play range on (PlayBit without 0x100)
    QSpinBox* rangeStart = nullptr;  // 30060 with spin 30061
    QSpinBox* rangeEnd = nullptr;    // 30062 with spin 30063
};
