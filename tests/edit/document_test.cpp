// The file commands: state transitions, working folders, dialogs, status texts.
#include "support/ProjectFixtures.h"

#include "edit/Document.h"
#include "edit/RestoreHistory.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Settings.h"

#include <deque>

namespace {

namespace fs = std::filesystem;
using platform::FormatString;
using platform::LoadString;

struct FakeChooser : iFileChooser {
    std::deque<std::string> answers; // chosen paths; none left = cancel
    int calls = 0;
    eDialogKind kind = DIALOG_OPEN;
    std::string folder, name, filter;
    bool Choose(eDialogKind k, const std::string& f, const std::string& initial, const std::string& file,
                std::string& chosen) override
    {
        ++calls;
        kind = k;
        filter = f;
        folder = initial;
        name = file;
        if (answers.empty())
            return false;
        chosen = answers.front();
        answers.pop_front();
        return true;
    }
};

struct FakeMessages : iMessageSink {
    std::deque<eAskAnswer> answers; // none left = No
    std::vector<std::string> asked;
    eAskAnswer Ask(const std::string& text, const std::string&, eAskButtons, eAskIcon) override
    {
        asked.push_back(text);
        if (answers.empty())
            return ANSWER_NO;
        const eAskAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = TestFolder("document");
        app = paths::FromDiskPath(root / "app");
        fs::create_directories(root / "app");
        fs::create_directories(root / "work" / "Data" / "anim");
        fs::create_directories(root / "elsewhere");
        doc.onInstall = [this](cAnimeData&) { ++installs; };
        doc.onTitle = [this](const std::string& path) { title = path; };
    }
    void TearDown() override { fs::remove_all(root); }
    std::string Stored(const fs::path& p) { return paths::FromDiskPath(p); }
    std::string Sample() { return ReadBytes(ExampleData() / "sample.dat"); }

    fs::path root;
    std::string app;
    cStatusRecorder status;
    FakeMessages messages;
    FakeChooser chooser;
    cSettings settings;
    cDocument doc{status, messages, chooser, settings};
    int installs = 0;
    std::string title = "unset";
};

TEST_F(DocumentTest, StartUpCreatesTheWorkingFolderAndSavesWithoutDialog)
{
    messages.answers = {ANSWER_YES};
    doc.StartUp(app);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0], FormatString(40020, "Data"));
    EXPECT_TRUE(fs::is_directory(root / "app" / "Data"));
    EXPECT_EQ(doc.defaultWorkFolder, app + "\\Data");
    EXPECT_EQ(doc.initialFolder, app + "\\Data\\");
    EXPECT_EQ(doc.currentPath, doc.initialFolder);
    EXPECT_EQ(doc.dialog.DefaultFolder(), app + "\\Data");
    EXPECT_EQ(doc.Project().Text(AT_WORK_FOLDER), app + "\\Data");
    EXPECT_TRUE(doc.Project().untitled);

    ASSERT_TRUE(doc.FileCommand(IDM_SAVE));
    EXPECT_EQ(chooser.calls, 0);
    const std::string target = app + "\\Data\\newfile.txt";
    EXPECT_EQ(status.last, FormatString(40065, paths::ForDisplay(target).c_str()));
    EXPECT_EQ(ReadBytes(root / "app" / "Data" / "newfile.txt").substr(0, 8), "MEVK_TEX");
    EXPECT_FALSE(doc.Project().untitled);
}

TEST_F(DocumentTest, StartUpWithoutWorkingFolder)
{
    messages.answers = {ANSWER_NO};
    doc.StartUp(app);
    EXPECT_FALSE(fs::exists(root / "app" / "Data"));
    EXPECT_EQ(doc.defaultWorkFolder, app);
    EXPECT_EQ(doc.initialFolder, app + "\\");

    settings.LastLoadPath = Stored(root / "elsewhere");
    doc.StartUp(app);
    EXPECT_EQ(doc.initialFolder, Stored(root / "elsewhere") + "\\");
    EXPECT_EQ(doc.dialog.DefaultFolder(), doc.initialFolder);
}

TEST_F(DocumentTest, OpenSetsWorkingFolderPathAndStatus)
{
    doc.StartUp(app);
    const fs::path file = root / "work" / "Data" / "anim" / "boom.dat";
    WriteBytes(file, Sample());
    doc.History().SetCapacity(8);
    doc.Project().MarkModified();
    messages.answers = {ANSWER_NO};

    const std::string path = Stored(file);
    ASSERT_TRUE(doc.FileCommand(IDM_OPEN_PATH, path));
    EXPECT_EQ(messages.asked.size(), 2u); // start-up folder question, then save changes
    EXPECT_EQ(messages.asked[1], LoadString(40021));
    EXPECT_EQ(doc.Project().Text(AT_WORK_FOLDER), Stored(root / "work" / "Data"));
    EXPECT_EQ(doc.Project().Text(AT_FILE_NAME), "boom.dat");
    EXPECT_EQ(doc.currentPath, path);
    EXPECT_EQ(doc.dialog.LastPath(), path);
    EXPECT_EQ(doc.dialog.DefaultFolder(), Stored(root / "work" / "Data"));
    EXPECT_FALSE(doc.Project().untitled);
    EXPECT_FALSE(doc.Project().modified);
    EXPECT_EQ(status.last, FormatString(40063, paths::ForDisplay(path).c_str()));
    EXPECT_EQ(title, path);
    EXPECT_EQ(doc.History().Capacity(), 8);
    EXPECT_EQ(doc.History().UndoCount(), 0);

    const fs::path outside = root / "elsewhere" / "o.dat";
    WriteBytes(outside, Sample());
    ASSERT_TRUE(doc.OpenPath(Stored(outside)));
    EXPECT_EQ(doc.Project().Text(AT_WORK_FOLDER), app);
    EXPECT_EQ(doc.dialog.DefaultFolder(), doc.initialFolder);
}

TEST_F(DocumentTest, FailedOpenLeavesTheProjectUntouched)
{
    doc.StartUp(app);
    const cAnimeData* before = &doc.Project();
    const int installsBefore = installs;
    const std::string pathBefore = doc.currentPath;
    const std::string good = Sample();
    for (const std::string& bytes : {good.substr(0, good.size() - 1), std::string("MEVK_BI"), std::string(40, 'z')}) {
        const fs::path file = root / "elsewhere" / "bad.dat";
        WriteBytes(file, bytes);
        EXPECT_FALSE(doc.OpenPath(Stored(file)));
        EXPECT_EQ(&doc.Project(), before);
        EXPECT_EQ(doc.currentPath, pathBefore);
        EXPECT_EQ(status.last, FormatString(40064, paths::ForDisplay(Stored(file)).c_str()));
    }
    EXPECT_FALSE(doc.OpenPath(Stored(root / "missing.dat")));
    EXPECT_EQ(installs, installsBefore);
}

TEST_F(DocumentTest, SaveWritesTheStoredFileNameBesideTheCurrentPath)
{
    doc.StartUp(app);
    const fs::path file = root / "work" / "Data" / "anim" / "boom.dat";
    WriteBytes(file, Sample());
    ASSERT_TRUE(doc.OpenPath(Stored(file)));
    doc.Project().SetText(AT_FILE_NAME, "renamed.txt");
    doc.Project().SetValue(AI_SAVE_FORMAT, 1);
    doc.Project().MarkModified();
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(ReadBytes(root / "work" / "Data" / "anim" / "renamed.txt"), ReadBytes(ExampleData() / "sample.txt"));
    EXPECT_EQ(ReadBytes(file), Sample());
    EXPECT_EQ(doc.currentPath, Stored(file));
    EXPECT_FALSE(doc.Project().modified);
}

TEST_F(DocumentTest, SaveAsAddsDatAndRemembersThePath)
{
    doc.StartUp(app);
    doc.Project().SetValue(AI_SAVE_FORMAT, 1);
    const std::string chosen = Stored(root / "work" / "Data" / "anim" / "new");
    chooser.answers = {chosen};
    ASSERT_TRUE(doc.FileCommand(IDM_SAVE_AS));
    EXPECT_EQ(chooser.kind, DIALOG_SAVE);
    EXPECT_EQ(chooser.filter, LoadString(40008));
    const fs::path written = root / "work" / "Data" / "anim" / "new.dat";
    EXPECT_EQ(ReadBytes(written).substr(0, 8), "MEVK_TEX"); // ".dat" even for a text project
    EXPECT_EQ(doc.currentPath, chosen + ".dat");
    EXPECT_EQ(doc.Project().Text(AT_FILE_NAME), "new.dat");
    EXPECT_EQ(doc.dialog.DefaultFolder(), Stored(root / "work" / "Data"));
    EXPECT_EQ(status.last, FormatString(40065, paths::ForDisplay((chosen + ".dat")).c_str()));

    // Cancelling the dialog is silent.
    status.last.clear();
    EXPECT_FALSE(doc.SaveAs());
    EXPECT_EQ(status.last, "");
}

TEST_F(DocumentTest, FailedSaveKeepsOldFileAndModifiedFlag)
{
    doc.StartUp(app);
    const fs::path target = root / "elsewhere" / "keep.dat";
    WriteBytes(target, "old contents");
    doc.Project().SetValue(AI_SAVE_FORMAT, 0);
    doc.Project().SetText(AT_NAME, std::string(300, 'n')); // too long for the binary format
    doc.Project().MarkModified();
    chooser.answers = {Stored(target), Stored(root / "no" / "such" / "folder" / "x.dat")};
    EXPECT_FALSE(doc.SaveAs());
    EXPECT_EQ(ReadBytes(target), "old contents");
    EXPECT_EQ(status.last,
              FormatString(40066, paths::ForDisplay(Stored(target)).c_str()) + " : 名前 : 300 バイト (最大 255)");
    EXPECT_TRUE(doc.Project().modified);
    doc.Project().SetText(AT_NAME, "ok");
    EXPECT_FALSE(doc.SaveAs());
    EXPECT_TRUE(doc.Project().modified);
    for (const auto& entry : fs::directory_iterator(root / "elsewhere"))
        EXPECT_EQ(entry.path().filename(), "keep.dat"); // no temporary files left behind
}

TEST_F(DocumentTest, ImportedProjectIsSavedThroughSaveAs)
{
    doc.StartUp(app);
    const std::string label = LoadString(40091);
    doc.importer = [](int kind, cAnimeData& p) {
        if (kind != 3)
            return false;
        p.NewProject("ignored");
        p.SetText(AT_NAME, "imported");
        return true;
    };
    ASSERT_TRUE(doc.FileCommand(IDM_IMPORT_RUBY));
    EXPECT_EQ(status.last, FormatString(40034, label.c_str()));
    EXPECT_EQ(doc.Project().Text(AT_WORK_FOLDER), doc.defaultWorkFolder);
    EXPECT_EQ(doc.currentPath, "");
    EXPECT_EQ(title, "");

    doc.Project().SetText(AT_FILE_NAME, ""); // importers leave no file name
    chooser.answers = {Stored(root / "elsewhere" / "imp.dat")};
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_TRUE(fs::exists(root / "elsewhere" / "imp.dat"));

    const cAnimeData* before = &doc.Project();
    EXPECT_FALSE(doc.FileCommand(IDM_IMPORT_MV));
    EXPECT_EQ(status.last, FormatString(40035, LoadString(40094).c_str()));
    EXPECT_EQ(&doc.Project(), before);
}

TEST_F(DocumentTest, ClipboardExportReportsTheFormatName)
{
    doc.StartUp(app);
    std::vector<int> kinds;
    doc.exporter = [&](int kind, const cAnimeData&) {
        kinds.push_back(kind);
        return kind != 6;
    };
    EXPECT_TRUE(doc.ClipboardExport(4));
    EXPECT_EQ(status.last, FormatString(40036, LoadString(40090).c_str()));
    EXPECT_FALSE(doc.ClipboardExport(6));
    EXPECT_EQ(status.last, FormatString(40037, LoadString(40093).c_str()));
    EXPECT_FALSE(doc.ClipboardExport(1)); // 2003 has no export
    EXPECT_EQ(kinds, (std::vector<int>{4, 6}));
    EXPECT_FALSE(doc.Project().modified);
}

TEST_F(DocumentTest, AskSaveChangesGuardsNew)
{
    doc.StartUp(app);
    doc.Project().MarkModified();
    const cAnimeData* before = &doc.Project();
    messages.answers = {ANSWER_CANCEL};
    EXPECT_FALSE(doc.New());
    EXPECT_EQ(&doc.Project(), before);

    // Yes saves first (the start-up project needs no dialog), then continues.
    messages.answers = {ANSWER_YES};
    doc.Project().SetText(AT_WORK_FOLDER, "keep\\me");
    ASSERT_TRUE(doc.New());
    EXPECT_TRUE(fs::exists(root / "app" / "newfile.txt"));
    EXPECT_EQ(status.last, LoadString(40067));
    EXPECT_EQ(doc.Project().Text(AT_WORK_FOLDER), "keep\\me");
    EXPECT_TRUE(doc.Project().untitled);
    EXPECT_EQ(doc.currentPath, "");

    // A new project without a path goes to Save as; cancelling it cancels the question.
    doc.Project().MarkModified();
    messages.answers = {ANSWER_YES};
    EXPECT_FALSE(doc.New());
    EXPECT_EQ(chooser.calls, 1);
}

TEST_F(DocumentTest, BackupCopiesTheOpenedFile)
{
    doc.StartUp(app);
    settings.BackUpFlag = true;
    const fs::path file = root / "elsewhere" / "b.txt";
    WriteBytes(file, ReadBytes(ExampleData() / "sample.txt"));
    ASSERT_TRUE(doc.OpenPath(Stored(file)));
    EXPECT_EQ(ReadBytes(root / "app" / kBackupFileName), ReadBytes(file));
}

TEST_F(DocumentTest, OpenDialogStartsFromTheCurrentPath)
{
    doc.StartUp(app);
    const fs::path file = root / "work" / "Data" / "anim" / "boom.dat";
    WriteBytes(file, Sample());
    chooser.answers = {Stored(file)};
    ASSERT_TRUE(doc.FileCommand(IDM_OPEN));
    EXPECT_EQ(chooser.kind, DIALOG_OPEN);
    EXPECT_EQ(doc.currentPath, Stored(file));
    chooser.answers.clear();
    EXPECT_FALSE(doc.OpenWithDialog());
    EXPECT_EQ(chooser.name, Stored(file)); // the current file is preselected
}

struct PrepareCase {
    const char* last; // relative to the test folder; "" for none
    const char* expectFolder;
    const char* expectName;
};

TEST_F(DocumentTest, DialogPreparation)
{
    WriteBytes(root / "elsewhere" / "f.dat", "x");
    const std::string base = Stored(root);
    const PrepareCase cases[] = {
        {"", "DEFAULT", ""},
        {"\\elsewhere", "\\elsewhere", ""},
        {"\\elsewhere\\\\", "\\elsewhere", ""},
        {"/elsewhere/f.dat", "DEFAULT", "\\elsewhere\\f.dat"},
        {"\\elsewhere\\new.dat", "DEFAULT", "\\elsewhere\\new.dat"},
        {"\\nowhere\\new.dat", "APP", ""},
        {"\\nowhere\\", "APP", ""},
    };
    for (const PrepareCase& c : cases) {
        cFileDialog d;
        d.SetDefaultFolder(base + "\\work");
        d.SetLastPath(*c.last ? paths::ToBackslashes(base) + c.last : "");
        std::string folder, name;
        d.Prepare(app, folder, name);
        const std::string expectFolder = std::string(c.expectFolder) == "DEFAULT" ? base + "\\work"
                                         : std::string(c.expectFolder) == "APP"   ? app
                                                                                  : base + c.expectFolder;
        EXPECT_EQ(folder, expectFolder) << c.last;
        EXPECT_EQ(name, *c.expectName ? base + c.expectName : "") << c.last;
    }
}

} // namespace
