#include "edit/Document.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <system_error>

namespace {

constexpr size_t kDialogBuffer = 255;
constexpr int kFilterProject = 40008;

// Import kinds and the format names their status texts show.
int importLabel(int kind)
{
    switch (kind) {
    case 0: return 40011;
    case 3: return 40091;
    case 5: return 40094;
    default: return 0;
    }
}

// Export kinds and their format names.
int exportLabel(int kind)
{
    switch (kind) {
    case 0: return 40011;
    case 2: return 40088;
    case 3: return 40089;
    case 4: return 40090;
    case 5: return 40092;
    case 6: return 40093;
    default: return 0;
    }
}

std::string cutBytes(const std::string& s, size_t n) { return s.size() > n ? s.substr(0, n) : s; }

std::string withoutTrailingSeparators(std::string s)
{
    while (s.size() > 1 && s.back() == '\\')
        s.pop_back();
    return s;
}

// A failure text with the system's reason after it, when there is one.
std::string withReason(const std::string& text, const std::string& reason)
{
    return reason.empty() ? text : text + " : " + reason;
}

bool hasExtension(const std::string& path)
{
    const std::string name = paths::FileNameOf(path);
    return name.find('.') != std::string::npos;
}

} // namespace

void cFileDialog::Prepare(const std::string& appFolder, std::string& initialFolder, std::string& fileName) const
{
    initialFolder = defaultFolder_;
    fileName.clear();
    if (!lastPath_.empty()) {
        if (paths::IsFolder(lastPath_))
            initialFolder = lastPath_;
        else if (paths::Exists(lastPath_) || paths::IsFolder(paths::FolderOf(lastPath_)))
            fileName = lastPath_;
        else
            initialFolder = appFolder;
    }
    initialFolder = cutBytes(withoutTrailingSeparators(paths::ToBackslashes(initialFolder)), kDialogBuffer);
    fileName = cutBytes(withoutTrailingSeparators(paths::ToBackslashes(fileName)), kDialogBuffer);
}

bool cFileDialog::RunDialog(eDialogKind kind, iFileChooser& chooser, int filterId, const std::string& appFolder,
                            std::string& path)
{
    std::string folder, name;
    Prepare(appFolder, folder, name);
    std::string chosen;
    if (!chooser.Choose(kind, platform::LoadString(filterId), folder, name, chosen) || chosen.empty())
        return false;
    path = chosen;
    lastPath_ = chosen;
    return true;
}

cDocument::cDocument(iStatusSink& status, iMessageSink& messages, iFileChooser& chooser, const cSettings& settings)
    : status_(status), messages_(messages), chooser_(chooser), settings_(settings), project_(NewProject())
{
    project_->SetChangeSink(&history_);
    project_->NewProject(std::string());
}

std::unique_ptr<cAnimeData> cDocument::NewProject() const
{
    auto project = std::make_unique<cAnimeData>();
    project->SetDefaults(settings_.ProjectDefaults());
    return project;
}

cDocument::~cDocument() = default;

void cDocument::StartUp(const std::string& folder)
{
    appFolder = folder;
    const std::string& dataName = settings_.FolderName_C;
    const std::string candidate = dataName.empty() ? appFolder : appFolder + "\\" + dataName;
    bool usable = paths::IsFolder(candidate);
    if (!usable && messages_.Ask(platform::FormatString(40020, paths::ForDisplay(dataName).c_str()),
                                 platform::LoadString(40004), ASK_YES_NO, ICON_QUESTION) == ANSWER_YES) {
        std::error_code ec;
        std::filesystem::create_directories(paths::ToDiskPath(candidate), ec);
        usable = paths::IsFolder(candidate);
        if (!usable)
            messages_.Ask(platform::FormatString(40015, paths::ForDisplay(candidate).c_str()),
                          platform::LoadString(40005), ASK_OK, ICON_ERROR);
    }
    defaultWorkFolder = usable ? candidate : appFolder;

    const std::string last = paths::ToBackslashes(settings_.LastLoadPath);
    initialFolder = !last.empty() && paths::Exists(last) ? last : usable ? candidate + "\\" : appFolder;
    // A folder ends with a separator so that Save of the start-up project writes into it
    // (SiblingPath takes the folder part of the current path).
    if (paths::IsFolder(initialFolder) && initialFolder.back() != '\\' && initialFolder.back() != '/')
        initialFolder += '\\';
    currentPath = initialFolder;
    dialog.SetLastPath(initialFolder);
    const std::string work = paths::WorkFolderOf(initialFolder, settings_.FolderName_C);
    dialog.SetDefaultFolder(work.empty() ? initialFolder : work);

    auto project = NewProject();
    project->NewProject(defaultWorkFolder);
    Install(std::move(project));
    Title(std::string());
}

bool cDocument::FileCommand(int command, const std::string& path)
{
    switch (command) {
    case IDM_NEW: return New();
    case IDM_OPEN: return OpenWithDialog();
    case IDM_OPEN_PATH: return OpenPath(path);
    case IDM_SAVE: return Save();
    case IDM_SAVE_AS: return SaveAs();
    case IDM_IMPORT_2000: return Import(0);
    case IDM_IMPORT_RUBY: return Import(3);
    case IDM_IMPORT_MV: return Import(5);
    case IDM_OPEN_GAME_DATA: return OpenGameDataWithDialog();
    case IDM_WRITE_BACK: return WriteBackGameData();
    case IDM_EXPORT_GAME_DATA: return ExportGameDataWithDialog();
    default: return false;
    }
}

bool cDocument::AskSaveChanges()
{
    if (!project_->modified)
        return true;
    switch (messages_.Ask(platform::LoadString(40021), platform::LoadString(40004), ASK_YES_NO_CANCEL, ICON_WARNING)) {
    case ANSWER_YES: return Save();
    case ANSWER_NO: return true;
    default: return false;
    }
}

bool cDocument::New()
{
    if (!AskSaveChanges())
        return false;
    const std::string& work = project_->Text(AT_WORK_FOLDER);
    auto project = NewProject();
    project->NewProject(work.empty() ? defaultWorkFolder : work);
    currentPath.clear();
    Install(std::move(project));
    project_->untitled = true;
    project_->modified = false;
    Title(std::string());
    Status(platform::LoadString(40067));
    return true;
}

bool cDocument::OpenWithDialog()
{
    if (!currentPath.empty())
        dialog.SetLastPath(currentPath);
    std::string path;
    if (!dialog.RunDialog(DIALOG_OPEN, chooser_, kFilterProject, appFolder, path))
        return false;
    if (!AskSaveChanges())
        return false;
    return OpenFile(path);
}

bool cDocument::OpenPath(const std::string& path)
{
    if (!AskSaveChanges())
        return false;
    return OpenFile(path);
}

bool cDocument::OpenFile(const std::string& path)
{
    platform::TakeTextProblems();
    auto project = NewProject();
    ANIME::cAnimeFile_Device device;
    if (device.Load(paths::ToDiskPath(path), *project) != ANIME::FR_OK) {
        Status(withReason(platform::FormatString(40064, paths::ForDisplay(path).c_str()), device.LastError()));
        return false;
    }
    const std::string work = paths::WorkFolderOf(path, settings_.FolderName_C);
    project->SetText(AT_WORK_FOLDER, work.empty() ? appFolder : work);
    RememberPath(path); // before installing: the views look for pictures beside the file
    Install(std::move(project));
    project_->untitled = false;
    project_->modified = false;
    if (settings_.BackUpFlag)
        MakeBackup(path);
    Title(path);
    Status(platform::FormatString(40063, paths::ForDisplay(path).c_str()));
    return true;
}

bool cDocument::Save()
{
    // A new or imported project has no current path (and an import no file name):
    // there is nowhere to save it yet, so ask for a name.
    const std::string& fileName = project_->Text(AT_FILE_NAME);
    if (currentPath.empty() || fileName.empty())
        return SaveAs();
    const std::string target = paths::SiblingPath(currentPath, fileName);
    if (!SaveTo(target))
        return false;
    Title(target);
    return true;
}

bool cDocument::SaveAs()
{
    if (!currentPath.empty()) {
        dialog.SetLastPath(currentPath);
    } else {
        // A new or imported project offers its own file name in its working folder,
        // not the name of the file saved before it.
        const std::string& work = project_->Text(AT_WORK_FOLDER);
        const std::string& name = project_->Text(AT_FILE_NAME);
        dialog.SetLastPath(paths::SiblingPath((work.empty() ? defaultWorkFolder : work) + "\\",
                                              name.empty() ? settings_.Init_FileName : name));
    }
    std::string path;
    if (!dialog.RunDialog(DIALOG_SAVE, chooser_, kFilterProject, appFolder, path))
        return false;
    if (!hasExtension(path))
        path += ".dat";
    return SaveAsPath(path);
}

bool cDocument::SaveAsPath(const std::string& path)
{
    if (!SaveTo(path))
        return false;
    RememberPath(path);
    Title(path);
    return true;
}

void cDocument::InstallImported(std::unique_ptr<cAnimeData> project)
{
    project->SetText(AT_WORK_FOLDER, defaultWorkFolder);
    currentPath.clear();
    Install(std::move(project));
    project_->untitled = false;
    project_->modified = false;
}

bool cDocument::Import(int kind)
{
    const int label = importLabel(kind);
    if (!label || !AskSaveChanges())
        return false;
    auto project = NewProject();
    platform::TakeTextProblems();
    if (!importer || !importer(kind, *project)) {
        Status(platform::FormatString(40035, platform::LoadString(label).c_str()));
        return false;
    }
    InstallImported(std::move(project));
    Title(std::string());
    Status(platform::FormatString(40034, platform::LoadString(label).c_str()));
    return true;
}

void cDocument::InstallRecovered(std::unique_ptr<cAnimeData> project, const std::string& path)
{
    currentPath.clear();
    if (!path.empty())
        RememberPath(path);
    Install(std::move(project));
    project_->untitled = path.empty();
    project_->modified = true;
    Title(path);
    Status(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "復元しました > %s"), paths::ForDisplay(path).c_str()));
}

bool cDocument::ClipboardExport(int kind)
{
    const int label = exportLabel(kind);
    if (!label)
        return false;
    platform::TakeTextProblems();
    const bool ok = exporter && exporter(kind, *project_);
    Status(platform::FormatString(ok ? 40036 : 40037, platform::LoadString(label).c_str()));
    return ok;
}

bool cDocument::SaveTo(const std::string& path)
{
    platform::TakeTextProblems();
    ANIME::cAnimeFile_Device device;
    if (device.Save(paths::ToDiskPath(path), *project_) != ANIME::FR_OK) {
        Status(withReason(platform::FormatString(40066, paths::ForDisplay(path).c_str()), device.LastError()));
        return false;
    }
    project_->untitled = false;
    project_->modified = false;
    Status(platform::FormatString(40065, paths::ForDisplay(path).c_str()));
    return true;
}

std::string cDocument::LastDialogPath() const { return paths::ForDisplay(dialog.LastPath()); }

void cDocument::Install(std::unique_ptr<cAnimeData> project)
{
    project_ = std::move(project);
    // Only a project opened from a game's data file keeps a link to it (set after this).
    dataFile.clear();
    dataId = 0;
    project_->SetChangeSink(&history_);
    history_.SetCapacity(-1);
    if (onInstall)
        onInstall(*project_);
}

void cDocument::RememberPath(const std::string& path)
{
    currentPath = path;
    dialog.SetLastPath(path);
    const std::string work = paths::WorkFolderOf(path, settings_.FolderName_C);
    dialog.SetDefaultFolder(work.empty() ? initialFolder : work);
}

// The backup is a byte copy of the file just opened, in the application folder,
// so a project damaged by later saves can be recovered in its original form.
void cDocument::MakeBackup(const std::string& path)
{
    std::string bytes;
    if (appFolder.empty() || !platform::ReadFile(paths::ToDiskPath(path), bytes, platform::FileKind::Project))
        return;
    platform::WriteFileAtomic(paths::ToDiskPath(appFolder + "\\" + kBackupFileName), bytes);
}

// Status texts carry what the command had to say about texts (cut, or not storable).
void cDocument::Status(const std::string& text)
{
    const std::string problems = platform::TakeTextProblems();
    status_.ShowStatus(problems.empty() ? text : text + " : " + problems);
}

void cDocument::Title(const std::string& path)
{
    if (onTitle)
        onTitle(path);
}
