// The document's commands on a game's animation database: open an entry as a
// project, write the project back to it, or write it into another file or ID.
#include "edit/Document.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/GameData.h"
#include "project/Settings.h"

namespace {

const char* const kFilter = QT_TRANSLATE_NOOP("Strings", "ゲームのデータ(*.json,rxdata,rvdata,rvdata2,ldb)");

std::string withReason(const std::string& text, const std::string& reason)
{
    return reason.empty() ? text : text + " : " + reason;
}

std::string display(const std::string& path) { return paths::ForDisplay(path); }

} // namespace

bool cDocument::ChooseGameData(cGameData& data, bool forWriting, int& id)
{
    std::string path;
    if (!dataFile.empty())
        dataDialog.SetLastPath(dataFile);
    std::string folder, name;
    dataDialog.Prepare(appFolder, folder, name);
    if (!chooser_.Choose(DIALOG_OPEN, platform::Text(kFilter), folder, name, path) || path.empty())
        return false;
    dataDialog.SetLastPath(path);
    std::string reason;
    if (!data.Read(path, reason)) {
        Status(withReason(platform::FormatString(40064, display(path).c_str()), reason));
        return false;
    }
    id = 0;
    return chooseEntry && chooseEntry(data.List(), forWriting ? data.NextFreeId() : 0, id) && id > 0;
}

bool cDocument::OpenGameDataWithDialog()
{
    cGameData data;
    int id = 0;
    if (!ChooseGameData(data, false, id) || !AskSaveChanges())
        return false;
    return InstallEntry(data, id);
}

bool cDocument::InstallEntry(const cGameData& data, int id)
{
    platform::TakeTextProblems();
    auto project = NewProject();
    std::string reason;
    if (!data.Import(id, *project, reason)) {
        Status(withReason(platform::FormatString(40064, display(data.Path()).c_str()), reason));
        return false;
    }
    InstallImported(std::move(project));
    dataFile = data.Path();
    dataId = id;
    Title(std::string());
    Status(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "ゲームのデータから読み込みました > %s : ID %d"),
                                display(dataFile).c_str(), id));
    return true;
}

bool cDocument::WriteBackGameData()
{
    if (dataFile.empty() || dataId < 1)
        return false;
    return WriteGameData(dataFile, dataId);
}

bool cDocument::ExportGameDataWithDialog()
{
    cGameData data;
    int id = 0;
    if (!ChooseGameData(data, true, id))
        return false;
    return WriteGameData(data.Path(), id);
}

bool cDocument::WriteGameData(const std::string& path, int id)
{
    platform::TakeTextProblems();
    const auto failed = [&](const std::string& reason) {
        Status(withReason(
            platform::FormatText(QT_TRANSLATE_NOOP("Strings", "< ! > ゲームのデータへの書き込みに失敗 > %s : ID %d"),
                                 display(path).c_str(), id),
            reason));
        return false;
    };
    // The file is read again now: it may have changed since the project was opened.
    cGameData data;
    std::string reason;
    if (!data.Read(path, reason))
        return failed(reason);
    strDataEntry entry;
    const std::string& name = project_->Text(AT_NAME);
    if (data.FindEntry(id, entry) && entry.name != name &&
        messages_.Ask(
            platform::FormatText(QT_TRANSLATE_NOOP("Strings", "ID %d のアニメーション「%s」を「%s」で上書きしますか?"),
                                 id, entry.name.c_str(), name.c_str()),
            platform::LoadString(40004), ASK_YES_NO, ICON_WARNING) != ANSWER_YES)
        return false;
    if (!data.Export(*project_, id, settings_.FolderNames(), reason))
        return failed(reason);
    if (!data.Write(settings_.GameDataBackUpFlag, reason))
        return failed(reason);
    dataFile = data.Path();
    dataId = id;
    // A project without a file of its own is saved once the game holds it.
    if (currentPath.empty()) {
        project_->modified = false;
        Title(std::string());
    }
    Status(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "ゲームのデータへ書き込みました > %s : ID %d"),
                                display(dataFile).c_str(), id));
    return true;
}
