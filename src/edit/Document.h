#pragma once
// The editor's file commands: new, open, save, save as and clipboard import
// as whole-project operations, with the current path, the remembered dialog
// folders and the working folder rules.
// Windows are reached only through small interfaces: a file chooser for the
// open/save dialogs, a message sink for questions and a status sink.
//
// Paths here are model paths: byte strings in the ANSI code page with '\'
// separators (paths::FromDiskPath turns a disk path into one).

#include "edit/RestoreHistory.h"
#include "interchange/DataFile.h"
#include "platform/CommandIds.h"
#include "platform/Feedback.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class cAnimeData;
class cGameData;
struct cSettings;

enum eDialogKind { DIALOG_OPEN, DIALOG_SAVE };

/** Shows the system's open or save dialog. */
class iFileChooser {
public:
    virtual ~iFileChooser() = default;
    /** filter is the description text (UTF-8); initialFolder and fileName are the prepared
     *  model paths. True and the chosen model path on OK, false when cancelled. An open
     *  dialog accepts existing files only, a save dialog asks before overwriting. */
    virtual bool Choose(eDialogKind kind, const std::string& filter, const std::string& initialFolder,
                        const std::string& fileName, std::string& chosen) = 0;
};

/** The open/save dialog wrapper: a default folder and the last path. */
class cFileDialog {
public:
    void SetDefaultFolder(const std::string& folder) { defaultFolder_ = folder; }
    void SetLastPath(const std::string& path) { lastPath_ = path; }
    const std::string& DefaultFolder() const { return defaultFolder_; }
    const std::string& LastPath() const { return lastPath_; }

    /** The initial folder and preselected file name offered from the last path and
     *  the default folder; appFolder replaces folders that do not exist. */
    void Prepare(const std::string& appFolder, std::string& initialFolder, std::string& fileName) const;
    /** Runs the dialog with the description of string filterId; the chosen path
     *  becomes the last path. False when cancelled. */
    bool RunDialog(eDialogKind kind, iFileChooser& chooser, int filterId, const std::string& appFolder,
                   std::string& path);

private:
    std::string defaultFolder_, lastPath_;
};

/** The current project, its undo history and its file state. The settings give the
 *  folder names, the backup flags and the defaults of new projects. */
class cDocument {
public:
    cDocument(iStatusSink& status, iMessageSink& messages, iFileChooser& chooser, const cSettings& settings);
    ~cDocument();

    cAnimeData& Project() { return *project_; }
    cRestoreHistory& History() { return history_; }

    /** Start-up: settles the working folder (asking to create appFolder\FolderName_C),
     *  the initial folder (LastLoadPath when it exists), the current path and the dialog
     *  folders, and installs a new project. */
    void StartUp(const std::string& appFolder);

    /** Runs a file command by id; path is used by IDM_OPEN_PATH. */
    bool FileCommand(int command, const std::string& path = std::string());
    bool New();
    bool OpenWithDialog();
    bool OpenPath(const std::string& path);
    /** Saves to the project's file name in the folder of the current path; a project
     *  without a current path or file name (new or imported) goes through SaveAs. */
    bool Save();
    bool SaveAs();
    /** Save As to a path chosen beforehand (no dialog, no overwrite question); the
     *  path becomes the current path. */
    bool SaveAsPath(const std::string& path);
    /** Clipboard import of kind 0 (2000), 3 (XP / VX / VX Ace) or 5 (MV / MZ) through
     *  the importer, into a fresh project. */
    bool Import(int kind);

    /** Clipboard export of kind 0 (2000), 2 (XP), 3 (VX), 4 (VX Ace), 5 (MV) or 6 (MZ)
     *  through the exporter; the project is not changed. */
    bool ClipboardExport(int kind);

    /** Picks a game data file and one of its animations, asks to save changes and opens
     *  the animation as a new project that remembers the file and ID. */
    bool OpenGameDataWithDialog();
    /** Writes the project back to the data file and ID it came from, asking first when
     *  that entry's name differs from the project's. */
    bool WriteBackGameData();
    /** Picks a game data file and an ID (an entry or the next free one) and writes the
     *  project there; the document then remembers that file and ID. */
    bool ExportGameDataWithDialog();
    /** Writes the project into entry id of a data file, asking before it replaces an
     *  entry of another name. */
    bool WriteGameData(const std::string& path, int id);

    /** Installs a project restored from a recovery copy: it keeps its original path
     *  (empty: new or imported) and stays modified until saved. */
    void InstallRecovered(std::unique_ptr<cAnimeData> project, const std::string& path);

    /** Asks to save a modified project: false when the user cancels or the save fails. */
    bool AskSaveChanges();
    /** The last path for LastLoadPath at shut-down, with native separators. */
    std::string LastDialogPath() const;

    std::string currentPath;       // the project's file; empty for a new or imported project
    std::string initialFolder;     // first folder offered by the dialogs
    std::string defaultWorkFolder; // working folder of new and imported projects
    std::string appFolder;         // the application folder (working folder fallback, backup.dat)
    cFileDialog dialog;
    cFileDialog dataDialog; // the game data dialogs keep their own last file
    std::string dataFile;   // the game data file the project came from or went to; empty: none
    int dataId = 0;         // the entry's ID in dataFile

    /** Fills a fresh project from the clipboard (kind as for Import); true on success. */
    std::function<bool(int kind, cAnimeData& project)> importer;
    /** Places the project on the clipboard in the kind's format; true on success. */
    std::function<bool(int kind, const cAnimeData& project)> exporter;
    /** Lets the user choose an entry: the entries of a data file and, when writing, the
     *  next free ID as a further choice (0 when opening). True with the ID chosen. */
    std::function<bool(const std::vector<strDataEntry>& entries, int nextFreeId, int& id)> chooseEntry;
    /** Called after a project was installed (views, sounds and sheets reset). */
    std::function<void(cAnimeData& project)> onInstall;
    /** Called when the title changes: the path, or empty for none. */
    std::function<void(const std::string& path)> onTitle;

private:
    bool OpenFile(const std::string& path);
    bool ChooseGameData(cGameData& data, bool forWriting, int& id);
    bool InstallEntry(const cGameData& data, int id);
    bool SaveTo(const std::string& path);
    /** A fresh project with the settings' defaults. */
    std::unique_ptr<cAnimeData> NewProject() const;
    void Install(std::unique_ptr<cAnimeData> project);
    /** Installs an imported project: no project file yet, so Save asks for one. */
    void InstallImported(std::unique_ptr<cAnimeData> project);
    void RememberPath(const std::string& path);
    void MakeBackup(const std::string& path);
    void Status(const std::string& text);
    void Title(const std::string& path);

    iStatusSink& status_;
    iMessageSink& messages_;
    iFileChooser& chooser_;
    const cSettings& settings_;
    cRestoreHistory history_;
    std::unique_ptr<cAnimeData> project_;
};

/** The name of the backup copy written after every open when BackUpFlag is set. */
constexpr const char* kBackupFileName = "backup.dat";
