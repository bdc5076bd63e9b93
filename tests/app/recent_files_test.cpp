// The File menu's recent projects, and what "open the current folder" says when
// nothing can open it.

#include "support/GuiFixture.h"

#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/RecentFiles.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

TEST_F(GuiTest, RecentProjectsAreListedGreyedWhenGoneAndReopenAfterTheQuestion)
{
    cRecentFiles before;
    before.Add((dir / "gone.dat").string());
    ASSERT_TRUE(before.Save(dir / "config.ini"));
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents(); // opens the file named on the command line
    ASSERT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample()));

    QMenu* menu = w.RecentMenu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->text().startsWith("&1 ")) << items[0]->text().toStdString();
    EXPECT_TRUE(items[0]->text().endsWith("sample.dat"));
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_TRUE(items[1]->text().endsWith("gone.dat"));
    EXPECT_FALSE(items[1]->isEnabled()) << "a project that is gone is greyed";

    // Choosing an entry asks about unsaved changes first, then opens it.
    w.OnCommand(IDM_NEW);
    w.OnCommand(IDM_INSERT_FRAME);
    messages.answers = {ANSWER_NO};
    items[0]->trigger();
    EXPECT_EQ(messages.asked.back(), "内容が変更されています。\n保存しますか？");
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample()));
    EXPECT_FALSE(w.Project().modified);

    // The list is kept in config.ini for the next start.
    cRecentFiles after;
    ASSERT_TRUE(after.Load(dir / "config.ini"));
    ASSERT_EQ(after.Paths().size(), 2u);
    EXPECT_EQ(after.Paths()[1], (dir / "gone.dat").string());
}

TEST_F(GuiTest, OpenFolderSaysSoWhenNoProgramCanOpenIt)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    w.OnCommand(IDM_OPEN_FOLDER);
    qputenv("PATH", path);
    EXPECT_TRUE(w.StatusPart(0)->text().startsWith("< ! > フォルダを開けるプログラムがありません > "))
        << w.StatusPart(0)->text().toStdString();
}
