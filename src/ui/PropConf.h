#pragma once
// cProp_Conf: the editor settings dialog, a property sheet of three pages
// (読込, 初期設定, 表示; the last one also holds the interface language). Each page loads its controls from the settings when the
// sheet opens and stores them on apply.

#include "ui/BaseWnd.h"

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

/** A folder name as stored from its edit: empty or blank text gives the default. */
std::string FolderNameOrDefault(const std::string& text, const char* defaultName);
/** A colour edit ("0xaarrggbb", hexadecimal with or without 0x); text that does not
 *  parse gives 0x80808080. */
uint32_t ParseColour(const std::string& text);
/** The text shown for a colour: "0x" and eight (withAlpha) or six hexadecimal digits. */
std::string ColourText(uint32_t colour, bool withAlpha);

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
