#pragma once
// cProp_Conf: the editor settings dialog, a property sheet of three pages
// (読込, 初期設定, 表示; the last one also holds the interface language). Each page loads its controls from the
// settings when the sheet opens and stores them on apply.

#include "ui/BaseWnd.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class cConfPage_Load : public cBasePropSheet {
    Q_OBJECT
public:
    cConfPage_Load();
    void Load() override;
    void Apply() override;
    QLineEdit *folderC, *folderG, *folderS;
    QComboBox *transType, *compType;
    QCheckBox *backUp, *gameDataBackUp;
};

class cConfPage_Init : public cBasePropSheet {
    Q_OBJECT
public:
    cConfPage_Init();
    void Load() override;
    void Apply() override;
    QSpinBox *interval, *cells, *cutX, *cutY;
    QComboBox *center, *division, *edit, *save;
    QCheckBox* fix;
};

class cConfPage_View : public cBasePropSheet {
    Q_OBJECT
public:
    cConfPage_View();
    void Load() override;
    void Apply() override;
    QLineEdit *ground, *grid, *centerLine, *backShadow, *nextShadow;
    QCheckBox *gridFlag, *centerFlag;
    QSpinBox *gridSize, *centerW, *centerH;
    QComboBox* language;
};

class cProp_Conf : public cPropertyWnd {
    Q_OBJECT
public:
    explicit cProp_Conf(QWidget* parent = nullptr) : cPropertyWnd(0, parent) { setWindowTitle(tr("エディタ設定")); }
    int GetPages(std::vector<cBasePropSheet*>& pages) override;
};
