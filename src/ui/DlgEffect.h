#pragma once
// cDlg_SetEffect: the effect dialog "エフェクト". Edits the copy of one effect that
// its caller hands in; "適用" writes the controls back and closes with 1.

#include "ui/BaseWnd.h"
#include "view/DialogEffect.h"

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class cAnimeData;
class cNumberPair;
class cSound;
class iFileChooser;

class cDlg_SetEffect : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_SetEffect(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser);
    ~cDlg_SetEffect() override;

    /** Runs the dialog on the caller's copy; the result is 1 when it was applied. */
    int Edit(strEffect* effect, int index);
    /** Prepares the controls for a record without running the dialog (tests). */
    void Attach(strEffect* effect, int index);

    void OnCreate() override;
    void OnDestroy() override;
    void Load() override;
    void Apply() override;
    /** The controls as a form. */
    strEffectForm Form() const;
    /** The enabling rule of the three check boxes. */
    void UpdateEnabling();
    /** A dropped file: into the name box while the sound box is ticked. */
    void DropFile(const std::string& modelPath);
    /** "再生". */
    void PlayPreview();

    cNumberPair* frameEdit;    // 1016 / 1017
    QCheckBox* soundCheck;     // 1018
    QLineEdit* nameEdit;       // 1006
    QPushButton* browseButton; // 1007
    cNumberPair* volume;       // 1001 / 1000 / 1002
    cNumberPair* pitch;        // 1003 / 1004 / 1009
    cNumberPair* balance;      // 1013 / 1021 / 1022
    QPushButton* playButton;   // 1011
    QCheckBox* flashCheck;     // 1019
    cNumberPair* duration;     // 1014 / 1015
    QComboBox* scopeCombo;     // 1005
    QComboBox* blendCombo;     // 40108
    cNumberPair* colour[4];    // red, green, blue, strength
    QWidget* preview;          // 1010
    QPushButton* resetButton;  // 1029
    QCheckBox* noteCheck;      // 1020
    QLineEdit* noteEdit;       // 1008

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<cAnimeData&()> project_;
    iFileChooser& chooser_;
    strEffect* record_ = nullptr;
    int index_ = 0;
    std::unique_ptr<cSound> sound_;
    std::string soundName_;
    QWidget* soundGroup_;
    QWidget* flashGroup_;
    QWidget* flashColourGroup_;
};
