#pragma once
// The image export dialogs: cDlg_Output_Base (crop rectangle, 自動, background
// colour) with cDlg_Output_Graph ("PNG出力") and cDlg_Output_Gif ("GIFアニメーション
// 出力"), and cDlg_Progress, which runs the export worker with one bar over its
// phases (images made, then GIF frames encoded) and can cancel it.

#include "export/GifQuantize.h"
#include "ui/BaseWnd.h"
#include "view/DialogExport.h"

#include <QTimer>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class cAnimeData;
class cThread_SaveGraph;
class iFileChooser;
class iStatusSink;

class cDlg_Progress : public cBaseDlg {
    Q_OBJECT
public:
    explicit cDlg_Progress(QWidget* owner);
    /** Starts the worker (suspended, then resumed) and shows the progress until it
     *  finishes (result kMsgExportFinished) or is cancelled (DLG_CANCEL). */
    int Run(cThread_SaveGraph& thread);
    /** "中止": stops the timer and discards the job. */
    void Cancel();
    /** The phase and count the dialog shows, e.g. "画像作成 3/40". */
    QString Text() const;

    QProgressBar* bar;
    QLabel* label;
    QPushButton* stopButton;

protected:
    void reject() override;

private:
    void Update();
    void Finished();
    cThread_SaveGraph* thread_ = nullptr;
    QTimer timer_;
};

class cDlg_Output_Base : public cBaseDlg {
    Q_OBJECT
public:
    cDlg_Output_Base(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser, iStatusSink& status);
    ~cDlg_Output_Base() override;

    void OnCreate() override;
    /** Reads the controls into the form. */
    virtual void ReadForm();
    /** "自動": the crop rectangle around every cell of every frame. */
    void AutoRect();
    /** "出力": asks for the file and runs the job. True when it finished and wrote
     *  everything (the dialog then closes). */
    bool Export();

    strExportForm form;
    QSpinBox* leftSpin;
    QSpinBox* topSpin;
    QSpinBox* widthSpin;
    QSpinBox* heightSpin;
    QPushButton* autoButton;
    QPushButton* colourButton;
    cDlg_Progress* progress;

protected:
    /** The job's flags, the save dialog's filter and extension. */
    virtual int Flags() const = 0;
    virtual eGifQuality Quality() const { return eGifQuality::Standard; }
    virtual std::string Filter() const = 0;
    virtual const char* Extension() const = 0;
    void ShowColour();
    QVBoxLayout* body;

    std::function<cAnimeData&()> project_;
    iFileChooser& chooser_;
    iStatusSink& status_;
};

class cDlg_Output_Graph : public cDlg_Output_Base {
    Q_OBJECT
public:
    cDlg_Output_Graph(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser, iStatusSink& status);
    void OnCreate() override;
    void ReadForm() override;

    QCheckBox* intervalCheck;
    QCheckBox* alphaCheck;
    QCheckBox* combineCheck;
    QComboBox* fixCombo;   // 横 固定, 縦 固定
    QComboBox* orderCombo; // Ｚ, И
    QSpinBox* countSpin;

protected:
    int Flags() const override { return form.PngFlags(); }
    std::string Filter() const override;
    const char* Extension() const override { return ".png"; }
};

class cDlg_Output_Gif : public cDlg_Output_Base {
    Q_OBJECT
public:
    cDlg_Output_Gif(QWidget* owner, std::function<cAnimeData&()> project, iFileChooser& chooser, iStatusSink& status);
    void OnCreate() override;
    void ReadForm() override;

    QSpinBox* fpsSpin;
    QCheckBox* sixCheck;
    QCheckBox* transparentCheck;
    QSpinBox* scaleSpin;
    QCheckBox* flashCheck;
    QCheckBox* targetCheck;
    QComboBox* qualityCombo; // 標準, 高画質

protected:
    int Flags() const override { return form.GifFlags(); }
    eGifQuality Quality() const override { return form.highQuality ? eGifQuality::High : eGifQuality::Standard; }
    std::string Filter() const override;
    const char* Extension() const override { return ".gif"; }
};
