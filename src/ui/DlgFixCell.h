#pragma once
// cDlg_FixCell ("セルと画像を関連付ける"): the fixed picture of every cell number in
// one table; cDlg_FixCell_S ("[%d] セルと画像を固定"): the fixed picture of one.

#include "edit/FixPicture.h"
#include "ui/BaseWnd.h"

#include <functional>

class QSpinBox;
class QTableWidget;
class cAnimeData;

class cDlg_FixCell : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_FixCell(QWidget* owner, std::function<cAnimeData&()> project);
    void OnCreate() override;
    /** Writes the value into every selected row. */
    void SetSelectedRows(int value);
    /** "更新": stores every row (one step) and closes. True when anything changed. */
    bool Update();

    strFixPictureTable table;
    QTableWidget* list;
    QSpinBox* valueSpin;

private:
    void ShowRows();
    std::function<cAnimeData&()> project_;
};

class cDlg_FixCell_S : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_FixCell_S(QWidget* owner, std::function<cAnimeData&()> project);
    void OnCreate() override;
    /** "OK": stores the value (one step) and closes. True when it changed. */
    bool Store();

    int cellNo = 0;
    QSpinBox* valueSpin;

private:
    std::function<cAnimeData&()> project_;
};
