#pragma once
// cDlg_Cell: the cell window "セル [%d,%d]". Edits a working copy of one cell of
// one frame; every change is normalised as the project would store it and, on a
// short timer, shown on the canvas. "適用" stores it as one undo step.

#include "model/Records.h"
#include "ui/BaseWnd.h"
#include "view/DialogCell.h"

#include <QTimer>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class cAnimeData;
class cNumberPair;

class cDlg_Cell : public cBaseDlg {
    Q_OBJECT
public:
    /** project returns the current project (it is replaced as a whole). */
    cDlg_Cell(QWidget* owner, std::function<cAnimeData&()> project);

    /** Opens (or re-targets) the window on a cell of a frame. */
    void Open(int frame, int cellNo);
    int Frame() const { return frame_; }
    int CellNo() const { return cellNo_; }
    /** The working copy shown for (frame, cellNo) while the window edits that cell. */
    bool WorkingCell(int frame, int cellNo, strCell& out) const;
    const strCell& Working() const { return working_; }

    void OnCreate() override;
    void OnDestroy() override;
    void Load() override;
    /** "適用": stores the working copy and closes. True when it stored a change. */
    bool ApplyAndClose();
    /** Loads the same cell number of the previous (-1) or next (+1) frame. */
    void LoadNeighbour(int step);
    /** After any change of the project: a slot that now holds another cell is loaded
     *  afresh, a slot that is gone closes the window. */
    void FollowProject();

    /** Called after a stored change, and on the preview timer after edits. */
    std::function<void()> onStored;
    std::function<void()> onPreview;

    QSpinBox* pictureSpin;
    QSpinBox* patternSpin;
    QSpinBox* xSpin;
    QSpinBox* ySpin;
    QSpinBox* scaleXSpin;
    QComboBox* flipCombo;
    QSpinBox* scaleYSpin;
    QSpinBox* angleSpin;
    QSpinBox* opacitySpin;
    QComboBox* blendCombo;
    QGroupBox* colourGroup;
    cNumberPair* colour[4]; // 赤, 緑, 青, 彩
    QLineEdit* colourEdit;
    QPushButton* clearButton;
    QPushButton* toggleButton;
    QPushButton* prevButton;
    QPushButton* nextButton;
    QPushButton* applyButton;
    QPushButton* closeButton;

private:
    void ShowCell(const strCell& cell);
    void ReadFields();
    void UpdateStates();
    void UpdatePatternRange();

    std::function<cAnimeData&()> project_;
    int frame_ = 0, cellNo_ = 0;
    strCellTarget target_;
    strCell working_;
    bool loading_ = false;
    QTimer preview_;
};
