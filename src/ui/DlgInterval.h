#pragma once
// cDlg_SetInterval: the interval dialog "インターバル". Sets the interval of a range
// of frames directly in the project (no undo step); its three values are
// remembered between openings.

#include "edit/FrameOps.h"
#include "ui/BaseWnd.h"

#include <functional>

class QSpinBox;
class cAnimeData;
class iStatusSink;

class cDlg_SetInterval : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_SetInterval(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status);

    void OnCreate() override;
    void OnDestroy() override;
    /** "実行": sets the intervals, reports and closes. */
    void Run();

    strIntervalDialogState state;
    QSpinBox* firstSpin;    // 1000 / 1001
    QSpinBox* lastSpin;     // 1002 / 1003
    QSpinBox* intervalSpin; // 40205 / 40206

private:
    std::function<cAnimeData&()> project_;
    iStatusSink& status_;
};
