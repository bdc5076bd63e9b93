#pragma once
// cDlg_GameDataList: the animations of a game's data file, to pick one by ID.
// Entries the editor cannot hold are shown greyed and cannot be chosen. When
// writing, a further row offers the next free ID.

#include "interchange/DataFile.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

class cDlg_GameDataList : public QDialog {
    Q_OBJECT
public:
    /** nextFreeId > 0 adds the row "new entry" with that ID; selected is preselected
     *  when it is listed (else the first choosable row). */
    cDlg_GameDataList(QWidget* parent, const std::vector<strDataEntry>& entries, int nextFreeId, int selected);

    /** The ID of the chosen row; 0 when none. */
    int ChosenId() const;

    QTreeWidget* list;
};
