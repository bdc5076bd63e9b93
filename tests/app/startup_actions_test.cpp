// The editor's batch options: open, import, export and save in order, stopping at the
// first failure with nothing saved.

#include "support/GuiFixture.h"

#include "app/StartupActions.h"
#include "interchange/ClipboardTransfer.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace fs = std::filesystem;

namespace {

const char* const kMvFormat = "application/rpgmv-animations";

std::string dumpOf(const fs::path& file)
{
    cAnimeData p;
    ANIME::cAnimeFile_Device device;
    if (device.Load(file, p) != ANIME::FR_OK)
        return "unreadable " + file.string();
    return ANIME::DumpProjectText(p);
}

QString q(const fs::path& path) { return QString::fromStdString(path.string()); }

} // namespace

TEST_F(GuiTest, StartupActionsExportImportAndSaveLikeTheMenu)
{
    cMainWnd& w = Start();
    int importCommand = 0, exportCommand = 0;
    ASSERT_TRUE(ClipboardCommandsOf("mv", importCommand, exportCommand));
    EXPECT_FALSE(ClipboardCommandsOf("2003", importCommand, exportCommand));

    strStartupActions exporting;
    exporting.open = q(Sample());
    exporting.exportCommand = exportCommand;
    exporting.saveAs = q(dir / "exported.dat");
    ASSERT_EQ(RunStartupActions(w, exporting), 0);
    EXPECT_EQ(dumpOf(dir / "exported.dat"), dumpOf(Sample()));
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(dir / "exported.dat"));

    // What the export placed is the payload the command line writes for the same project.
    const QByteArray placed = QGuiApplication::clipboard()->mimeData()->data(kMvFormat);
    platform::MemoryClipboard memory;
    ASSERT_EQ(ExportToClipboard(memory, w.Project(), RPG_MV, Settings().FolderNames()), 1);
    std::vector<uint8_t> expected;
    memory.Open();
    memory.GetData(kMvFormat, expected);
    memory.Close();
    EXPECT_EQ(std::vector<uint8_t>(placed.begin(), placed.end()), expected);

    strStartupActions importing;
    importing.importCommand = importCommand;
    importing.saveAs = q(dir / "imported.dat");
    ASSERT_EQ(RunStartupActions(w, importing), 0);
    // The oracle: the same import saved without the window.
    cAnimeData imported;
    ASSERT_EQ(ImportFromClipboard(platform::SystemClipboard(), imported, RPG_MV, Settings().FolderNames()), 1);
    ANIME::cAnimeFile_Device device;
    ASSERT_EQ(device.Save(dir / "expected.dat", imported), ANIME::FR_OK);
    EXPECT_EQ(dumpOf(dir / "imported.dat"), dumpOf(dir / "expected.dat"));

    // Without a file to save the editor keeps running.
    importing.saveAs.clear();
    EXPECT_EQ(RunStartupActions(w, importing), -1);
}

TEST_F(GuiTest, StartupActionsStopAtAFailedStepAndSaveNothing)
{
    cMainWnd& w = Start();
    QGuiApplication::clipboard()->clear();
    strStartupActions importing;
    importing.importCommand = IDM_IMPORT_2000;
    importing.saveAs = q(dir / "none.dat");
    EXPECT_EQ(RunStartupActions(w, importing), 1);

    strStartupActions opening;
    opening.open = q(dir / "missing.dat");
    opening.exportCommand = IDM_EXPORT_XP;
    opening.saveAs = q(dir / "none.dat");
    EXPECT_EQ(RunStartupActions(w, opening), 1);
    EXPECT_FALSE(clipboard.IsAvailable("RPGXP ANIMATION")) << "nothing exported";

    strStartupActions saving;
    saving.saveAs = q(dir / "no-such-folder" / "none.dat");
    EXPECT_EQ(RunStartupActions(w, saving), 1);
    EXPECT_FALSE(fs::exists(dir / "none.dat"));
}
