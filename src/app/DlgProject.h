#pragma once
// cDlg_Project: the project dialog (name, user data, intervals, cell count, the
// fixed-picture option and the four formats). Changes that rewrite the frames ask
// first, cannot be undone and clear the undo history.

#include "ui/BaseWnd.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class cMainWnd;
class iMessageSink;

class cDlg_Project : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_Project(cMainWnd* main, iMessageSink& messages);

    void OnCreate() override;
    void Load() override;
    /** "適用": stores the items, asking first when frames must be rewritten. Returns
     *  whether it stored them (the dialog then closes). */
    bool ApplyAndClose();

    QLineEdit* nameEdit;      // 1019
    QSpinBox* baseEdit;       // 1024
    QSpinBox* totalEdit;      // 1001
    QSpinBox* cellEdit;       // 1008
    QCheckBox* fixCheck;      // 1004
    QComboBox* centerCombo;   // 1007
    QComboBox* divisionCombo; // 40181
    QComboBox* editCombo;     // 1000
    QComboBox* saveCombo;     // 1002
    QLineEdit* userEdit;      // 1003

private:
    cMainWnd* main_;
    iMessageSink& messages_;
};
