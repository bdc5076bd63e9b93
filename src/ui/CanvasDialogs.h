#pragma once
// The small windows the canvas opens: the spline dialog that finishes the spline
// gesture, the cell-number chooser of 新規 and ペースト, and the dialogs that
// choose the target picture and the draft GIF.

#include "edit/Spline.h"
#include "render/CanvasGeometry.h"
#include "ui/BaseWnd.h"

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class cAnimeData;
class iStatusSink;

/** 'セル_%d': lays cell number s along the curve over the next frames. Modeless; closes
 *  itself when it loses activation; remembers the frame count between uses. */
class cDlg_Spline : public cBaseDlg {
    Q_OBJECT
public:
    explicit cDlg_Spline(QWidget* parent = nullptr);
    /** Prepares a run for cell number s of frame f0 with the curve's three points. */
    void Setup(cAnimeData* project, iStatusSink* status, int f0, int s, strCanvasPoint p0, strCanvasPoint p1,
               strCanvasPoint p2);
    /** The preview points (animation coordinates) of frames f0 + 1 … f0 + count, after P0. */
    std::vector<strPointI> Preview() const;
    strPointF P0() const { return p_[0]; }
    /** Runs the spline (実行) and closes. */
    void Execute();

    void OnCreate() override;
    void OnDestroy() override;

    std::function<void()> onPreviewChanged; // the canvas redraws the preview
    std::function<void()> onApplied;        // cells were stored

    QSpinBox* countEdit = nullptr;
    QCheckBox* gridCheck = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    /** The position grid when the grid box is ticked, else 0. */
    int GridStep() const;

    cAnimeData* project_ = nullptr;
    iStatusSink* status_ = nullptr;
    int f0_ = 0, s_ = 0;
    strPointF p_[3];
    strSplineDialogState state_;
};

/** The cell-number chooser: one row per cell number, "*%d" for a used slot and " %d"
 *  for a free one, titled with the action. A click or Enter/Space chooses. */
class cDlg_ContexCell : public cBaseDlg {
    Q_OBJECT
public:
    explicit cDlg_ContexCell(QWidget* parent = nullptr);
    /** Fills the rows for frame f; action 0 新規, 1 ペースト. */
    void Setup(const cAnimeData& project, int f, int action);
    /** Shows it at a screen point, kept on the screen. */
    void ShowAt(QPoint global);
    /** Chooses a row (as a click or a key would) and closes. */
    void Choose(int row, bool byMouse);

    /** Told the action, the cell number and whether the mouse chose it. */
    std::function<void(int action, int cellNo, bool byMouse)> onChosen;
    QListWidget* list = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int action_ = 0;
};

/** Dialog 354 "ターゲット": the target picture's path, offset and opacity. */
class cDlg_SetTarget : public cBaseDlg {
    Q_OBJECT
public:
    explicit cDlg_SetTarget(QWidget* parent = nullptr);
    void OnCreate() override;
    void Load() override;
    void Apply() override;
    /** Asks for a file for 参照; false when cancelled. */
    std::function<bool(std::string& path)> browse;
    QLineEdit* pathEdit = nullptr;
    QSpinBox* xEdit = nullptr;
    QSpinBox* yEdit = nullptr;
    QSpinBox* opacityEdit = nullptr;
};

/** Dialog 356 "GIF": the draft GIF's path and speed. */
class cDlg_SetGif : public cBaseDlg {
    Q_OBJECT
public:
    explicit cDlg_SetGif(QWidget* parent = nullptr);
    void OnCreate() override;
    void Load() override;
    void Apply() override;
    std::function<bool(std::string& path)> browse;
    QLineEdit* pathEdit = nullptr;
    QSpinBox* speedEdit = nullptr;
};
