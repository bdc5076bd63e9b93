#pragma once
// cDlg_SourceList: the list window "リスト". Tabs for the picture table and the
// effect table (the timeline sits below the canvas); pictures and effects are
// edited, cut, copied, pasted and deleted here through the picture and effect dialogs.

#include "ui/BaseWnd.h"

#include <functional>
#include <string>

class QTabWidget;
class QTableView;
class cAnimeData;
class cDlg_SetEffect;
class cDlg_SetPicture;
class cListTableModel;
class iStatusSink;

class cDlg_SourceList : public cBaseDlg {
    Q_OBJECT
public:
    enum { kPicturePage = 0, kEffectPage = 1 };

    cDlg_SourceList(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status,
                    cDlg_SetPicture& pictureDlg, cDlg_SetEffect& effectDlg);

    /** Re-reads both tables (row counts and texts). */
    void RefreshTables();
    /** The focused table's page (picture or effect), -1 when neither has the focus. */
    int FocusedTable() const;
    /** A table command on the focused row of a table page; true when it was handled
     *  (even if it failed). */
    bool TableCommand(int page, int id);
    /** The keyboard route: a command runs on the table that has the focus. */
    bool OnTableCommand(int id);
    /** Editing: the picture slot / effect row through its dialog (a dropped file path
     *  preset when given). Return whether the dialog applied. */
    bool EditPicture(int slot, const std::string& droppedPath = std::string());
    bool EditEffect(int row, const std::string& droppedPath = std::string());
    /** A file dropped on a table: the first empty picture slot, or a new effect. */
    bool DropOnTable(int page, const std::string& modelPath);

    int CurrentRow(int page) const;
    void SelectRow(int page, int row);

    QTabWidget* tabs;         // 1003
    QTableView* pictureTable; // 1001
    QTableView* effectTable;  // 1004

    /** A picture slot changed (stored, pasted, cut, deleted, reloaded). */
    std::function<void(int slot)> onPictureChanged;
    /** The focus moved to a row of the picture table. */
    std::function<void(int slot)> onPictureFocus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* Table(int page) const;
    void ShowMenu(int page, const QPoint& global);
    void PictureChanged(int slot);

    std::function<cAnimeData&()> project_;
    iStatusSink& status_;
    cDlg_SetPicture& pictureDlg_;
    cDlg_SetEffect& effectDlg_;
    cListTableModel* pictureModel_;
    cListTableModel* effectModel_;
};
