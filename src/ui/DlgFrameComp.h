#pragma once
// cDlg_FrameComp ("フレーム補完") and cDlg_AtOnce ("セルを一括編集"): the frame
// interpolation and batch edit dialogs. Their states are remembered between uses
// and can be preset from a timeline selection before the dialog opens.

#include "edit/BatchEdit.h"
#include "edit/Interpolate.h"
#include "ui/BaseWnd.h"

#include <functional>

class QComboBox;
class QListWidget;
class QSpinBox;
class cAnimeData;
class iStatusSink;

class cDlg_FrameComp : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_FrameComp(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status);
    void OnCreate() override;
    void OnDestroy() override;
    /** "実行": interpolates, reports and closes. Returns the number of cells stored. */
    int Run();

    strFrameInterpolationState state;
    QListWidget* cellList;
    QListWidget* paramList;
    QSpinBox* firstSpin;
    QSpinBox* lastSpin;
    QComboBox* methodCombo;

private:
    void ReadState();
    std::function<cAnimeData&()> project_;
    iStatusSink& status_;
};

class cDlg_AtOnce : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_AtOnce(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status);
    void OnCreate() override;
    void OnDestroy() override;
    /** "実行": applies the formula, reports and closes. Returns the number of cells stored. */
    int Run();

    strBatchEditState state;
    QListWidget* frameList;
    QListWidget* cellList;
    QListWidget* paramList;
    QComboBox* formulaCombo;
    QSpinBox* valueSpin;

private:
    void ReadState();
    std::function<cAnimeData&()> project_;
    iStatusSink& status_;
};
