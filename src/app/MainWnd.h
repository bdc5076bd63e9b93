#pragma once
// cMainWnd: the editor's top-level window. Owns the document (the current
// project and its file state), the canvas, the four tool bars, the status bar
// and the dialogs; builds its menus and accelerators from the command table and
// runs every command through OnCommand and the table's entry for it.

#include "edit/Document.h"
#include "interchange/ClipboardTransfer.h"
#include "platform/Feedback.h"
#include "project/RecentFiles.h"
#include "ui/BaseWnd.h"
#include "view/CommandTable.h"

#include <QStringList>

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

class QLabel;
class QTimer;
class cAutoSave;
class QUrl;
class QMenu;
class QMenuBar;
class QSplitter;
class cKeyframeWnd;
class cDlgHost;
class cMainEditWnd;
class cTool_Edit;
class cTool_Frame;
class cTool_Play;
class cTool_View;
struct strGridBlock;

class cMainWnd : public cBaseWnd, public iStatusSink, private iCommandRunner {
    Q_OBJECT
public:
    /** messages and chooser default to message boxes and the system's file dialogs;
     *  tests pass their own. configPath is where config.ini is read and written. */
    cMainWnd(std::filesystem::path configPath, iMessageSink* messages = nullptr, iFileChooser* chooser = nullptr);
    ~cMainWnd() override;

    /** The initialisation steps after the window exists; false with the failure text. */
    bool Initialize(const QStringList& arguments, QString& error);

    void OnCommand(int id, int code = 0, QObject* control = nullptr) override;
    /** Runs id when it is a clipboard export or import of the File menu; false for other
     *  commands. done tells whether the export or import worked. */
    bool ClipboardCommand(int id, bool* done = nullptr);
    /** Brings the menu items of top-level popup `position` up to date. */
    void UpdateMenuState(int position);
    /** The title: "MevkoEditor0.72 - path", or without a path "MevkoEditor0.72". */
    void UpdateTitle(const std::string& path);

    // iStatusSink: the first part of the status bar.
    void ShowStatus(const std::string& text) override;

    cDocument& Document() { return *document_; }
    cAnimeData& Project() { return document_->Project(); }
    cMainEditWnd* Canvas() const { return canvas_; }
    cKeyframeWnd* Timeline() const { return timeline_; }
    cTool_Frame* FrameTool() const { return toolFrame_; }
    cTool_View* ViewTool() const { return toolView_; }
    cTool_Edit* EditTool() const { return toolEdit_; }
    cTool_Play* PlayTool() const { return toolPlay_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    /** The File menu's list of recent projects (filled when it opens). */
    QMenu* RecentMenu() const { return recentMenu_; }
    /** The menu actions of a command id (a command may appear more than once). */
    QList<QAction*> MenuActions(int id) const;
    QLabel* StatusPart(int i) const { return statusParts_[i]; }
    QWidget* StatusBar() const { return statusBar_; }
    QWidget* Rebar() const { return rebar_; }
    cDialogSet& Dialogs() { return dialogs_; }
    /** The side windows and record dialogs. */
    cDlgHost* SideWindows() const { return dlgHost_; }
    const std::string& PendingOpenPath() const { return pendingOpenPath_; }
    /** Recovery copies of unsaved work. */
    cAutoSave& AutoSave() const { return *autoSave_; }
    /** The folder of the recovery copies that belongs to a config.ini. */
    static std::filesystem::path RecoveryFolder(const std::filesystem::path& configPath);
    /** Shows the window as it was left: maximised or at its placement. */
    void ShowPlaced();

    /** Smallest size of the main window that keeps the canvas and timeline usable. */
    static constexpr int kMinWidth = 560, kMinHeight = 420;

    /** Drag-and-drop: opens the first of the dropped files (after AskSaveChanges). */
    void OpenDroppedFiles(const QList<QUrl>& urls);

    void OnSize() override;
    /** Redraws the canvas and brings the frame tool bar's interval field in step. */
    void Refresh();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildAccelerators();
    bool BuildBars();
    std::array<class cBaseTool*, 4> Bands() const;
    /** Places the tool bar bands in rows across the width; returns the rebar height. */
    int LayoutBands(int width);
    void InstallProject(cAnimeData& project);
    void OpenPending();
    void ShutDown();
    void SetCurrentFrame(int frame);
    void CreateTimeline();
    void OpenTimelineDialog(int key, const strGridBlock& block);
    // iCommandRunner: the handlers the command table names.
    void RunFile(int id, int code) override;
    void RunRecent(int id, int code) override;
    void RunClipboardTransfer(int id, int code) override;
    void RunSideWindow(int id, int code) override;
    void RunClose(int id, int code) override;
    void RunUndo(int id, int code) override;
    void RunRedo(int id, int code) override;
    void RunCut(int id, int code) override;
    void RunCopy(int id, int code) override;
    void RunPaste(int id, int code) override;
    void RunDelete(int id, int code) override;
    void RunSelectAll(int id, int code) override;
    void RunArrange(int id, int code) override;
    void RunNewCell(int id, int code) override;
    void RunInterpolateSelected(int id, int code) override;
    void RunProjectDialog(int id, int code) override;
    void RunNextFrame(int id, int code) override;
    void RunPreviousFrame(int id, int code) override;
    void RunFirstFrame(int id, int code) override;
    void RunLastFrame(int id, int code) override;
    void RunInsertFrame(int id, int code) override;
    void RunDeleteFrame(int id, int code) override;
    void RunClearFrame(int id, int code) override;
    void RunFromPrevious(int id, int code) override;
    void RunFromNext(int id, int code) override;
    void RunInterpolate(int id, int code) override;
    void RunToggleFlag(int id, int code) override;
    void RunSetTarget(int id, int code) override;
    void RunSetGif(int id, int code) override;
    void RunPlay(int id, int code) override;
    void RunPlayOption(int id, int code) override;
    void RunTool(int id, int code) override;
    void RunOpenFolder(int id, int code) override;
    void RunSettingsDialog(int id, int code) override;
    void RunVersion(int id, int code) override;
    /** Offers a command to the side windows first; true when one of them ran it. */
    bool SideWindowTakes(int id);
    /** Brings the picture sheets, side windows and current frame in step after undo or redo. */
    void AfterHistoryStep(int frame);
    void SyncToolChecks();
    void ShowVersion();
    void SyncModifiedMark();
    void OpenCurrentFolder();
    void RememberRecent(const std::string& path);
    void FillRecentMenu();
    strMenuContext MenuContext() const;
    std::string AppFolder() const;

    std::filesystem::path configPath_;
    std::unique_ptr<iMessageSink> ownMessages_;
    std::unique_ptr<iFileChooser> ownChooser_;
    iMessageSink* messages_;
    iFileChooser* chooser_;
    std::unique_ptr<cDocument> document_;

    cMainEditWnd* canvas_ = nullptr;
    cKeyframeWnd* timeline_ = nullptr;
    QSplitter* splitter_ = nullptr; // the canvas above the timeline
    bool splitterPlaced_ = false;   // the remembered timeline height was applied
    QMenuBar* menuBar_ = nullptr;
    std::vector<QMenu*> topMenus_;
    std::multimap<int, QAction*> menuActions_;
    QMenu* recentMenu_ = nullptr;
    cRecentFiles recent_;
    QWidget* rebar_ = nullptr;
    cTool_Frame* toolFrame_ = nullptr;
    cTool_View* toolView_ = nullptr;
    cTool_Edit* toolEdit_ = nullptr;
    cTool_Play* toolPlay_ = nullptr;
    QWidget* statusBar_ = nullptr;
    QLabel* statusParts_[3] = {};
    cDialogSet dialogs_;
    cDlgHost* dlgHost_ = nullptr;
    std::string pendingOpenPath_;
    cAutoSave* autoSave_ = nullptr;
    // The placement of the normal state, taken while the window is in it: window
    // managers draw a maximised window with other frame margins.
    strPlacement normalPlace_;
    QTimer* modifiedTimer_ = nullptr;
};
