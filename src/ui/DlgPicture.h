#pragma once
// cDlg_SetPicture: the picture dialog "画像設定". Edits the copy of one picture
// entry that its caller hands in; "適用" writes it back and closes with 1.

#include "ui/BaseWnd.h"
#include "view/DialogEffect.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class cAnimeData;
class iFileChooser;

class cDlg_SetPicture : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_SetPicture(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser);

    /** Runs the dialog on the caller's copy; the result is 1 when it was applied. */
    int Edit(strPicture* picture, int index);
    /** Prepares the controls for a record without running the dialog (tests). */
    void Attach(strPicture* picture, int index);
    void OnCreate() override;
    void OnDestroy() override;
    void Load() override;
    void Apply() override;
    void DropFile(const std::string& modelPath);

    QLineEdit* pathEdit;       // 40188
    QPushButton* browseButton; // 40190
    QComboBox* divisionCombo;  // 40181
    QSpinBox* divXSpin;        // 40182 / 40183
    QSpinBox* divYSpin;        // 40184 / 40185
    QSpinBox* hueSpin;         // 40186 / 40187

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<cAnimeData&()> project_;
    iFileChooser& chooser_;
    strPicture* record_ = nullptr;
    int index_ = 0;
};
