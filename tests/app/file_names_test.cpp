// Files with any name: opened from the command line, saved under a new name and
// dropped on the window, with the path shown as the system writes it.

#include "support/GuiFixture.h"

#include "model/AnimeData.h"
#include "platform/Paths.h"

#include <QLabel>
#include <QUrl>

namespace {

namespace fs = std::filesystem;

QString native(const fs::path& p) { return QString::fromStdString(p.string()); }

} // namespace

TEST_F(GuiTest, AnyFileNameOpensSavesAndDrops)
{
    const std::string longName = std::string(246, 'n') + ".dat"; // 250 bytes
    const fs::path cases[] = {"café.dat", fs::path("日本語フォルダ") / "アニメ.dat", fs::path("with space") / "a b.dat",
                              fs::path(longName)};
    fs::create_directories(dir / "Data");
    fs::copy(Sample().parent_path() / "BattleEffect", dir / "Data" / "BattleEffect", fs::copy_options::recursive);
    for (const fs::path& name : cases) {
        SCOPED_TRACE(name.string());
        const fs::path file = dir / "Data" / name;
        fs::create_directories(file.parent_path());
        fs::copy_file(Sample(), file, fs::copy_options::overwrite_existing);
        const int frames = [&] {
            cMainWnd& w = Start({native(file)});
            QCoreApplication::processEvents();
            EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(file));
            const QString status = w.StatusPart(0)->text();
            EXPECT_EQ(status, "読み込みました > " + native(file)) << status.toStdString();
            EXPECT_FALSE(w.windowTitle().contains('\\')) << w.windowTitle().toStdString();
            EXPECT_GT(w.Project().GetValue(AI_FRAMES), 1);
            return w.Project().GetValue(AI_FRAMES);
        }();

        // Save As into a folder with such a name too, then drop the saved file.
        const fs::path saved = dir / "Data" / "José é" / name.filename();
        fs::create_directories(saved.parent_path());
        chooser.answer = paths::FromDiskPath(saved);
        window->OnCommand(IDM_SAVE_AS);
        ASSERT_TRUE(fs::exists(saved));
        EXPECT_FALSE(window->Project().modified);
        window->OnCommand(IDM_NEW);
        window->OpenDroppedFiles({QUrl::fromLocalFile(native(saved))});
        QCoreApplication::processEvents();
        EXPECT_EQ(window->Document().currentPath, paths::FromDiskPath(saved));
        EXPECT_EQ(window->Project().GetValue(AI_FRAMES), frames);
        EXPECT_TRUE(window->StatusPart(0)->text().startsWith("読み込みました > " + native(saved)))
            << window->StatusPart(0)->text().toStdString();
        window->close();
        window.reset();
    }
}

TEST_F(GuiTest, DroppingFilesOpensTheFirst)
{
    cMainWnd& w = Start();
    w.OpenDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(Sample().string())),
                        QUrl::fromLocalFile(QString::fromStdString((dir / "other.dat").string()))});
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample()));
    EXPECT_GT(w.Project().GetValue(AI_FRAMES), 1);
}
