// The File menu's game data commands: open an entry through the list dialog,
// write it back (asking when the names differ), write into another ID.

#include "support/GameDataFixtures.h"
#include "support/GuiFixture.h"

#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "ui/DlgGameDataList.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Answers the next list dialog: records its rows, then picks the row of this ID
// (0: cancels).
struct ListAnswer {
    int id = 0;
    QStringList rows;
    std::vector<bool> enabled;
    void Arm()
    {
        QTimer::singleShot(0, [this] {
            auto* d = qobject_cast<cDlg_GameDataList*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            for (int i = 0; i < d->list->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = d->list->topLevelItem(i);
                rows << item->text(0) + " " + item->text(1) + " " + item->text(2);
                enabled.push_back(item->flags() & Qt::ItemIsEnabled);
                if (item->text(0).toInt() == id)
                    d->list->setCurrentItem(item);
            }
            if (id)
                d->accept();
            else
                d->reject();
        });
    }
};

} // namespace

TEST_F(GuiTest, OpenAnEntryEditItAndWriteItBack)
{
    const fs::path file = MakeMvGame(dir / "game");
    const std::string original = slurp(file);
    cMainWnd& w = Start();
    ASSERT_EQ(w.MenuActions(IDM_OPEN_GAME_DATA).size(), 1);
    QAction* writeBack = w.MenuActions(IDM_WRITE_BACK).value(0);
    ASSERT_NE(writeBack, nullptr);
    w.UpdateMenuState(0);
    EXPECT_FALSE(writeBack->isEnabled());

    chooser.answer = paths::FromDiskPath(file);
    ListAnswer pick;
    pick.id = 2;
    pick.Arm();
    w.OnCommand(IDM_OPEN_GAME_DATA);
    EXPECT_EQ(pick.rows, QStringList({"1 Hit 2", "2 Fire 1"}));
    EXPECT_EQ(w.Project().Text(AT_NAME), "Fire");
    EXPECT_EQ(w.Document().dataId, 2);
    EXPECT_TRUE(w.windowTitle().contains("Animations.json : ID 2")) << w.windowTitle().toStdString();
    w.UpdateMenuState(0);
    EXPECT_TRUE(writeBack->isEnabled());
    // The picture the game lacks: the status names where it was looked for.
    QCoreApplication::processEvents();
    const QString status = w.StatusPart(0)->text();
    EXPECT_TRUE(status.contains(QString::fromStdString((dir / "game" / "img" / "animations" / "Fire2").string())))
        << status.toStdString();

    // A changed name is asked about; No leaves the file alone.
    w.Project().SetText(AT_NAME, "Blaze");
    messages.answers = {ANSWER_NO};
    w.OnCommand(IDM_WRITE_BACK);
    EXPECT_EQ(messages.asked.back(), "ID 2 のアニメーション「Fire」を「Blaze」で上書きしますか?");
    EXPECT_EQ(slurp(file), original);
    messages.answers = {ANSWER_YES};
    w.OnCommand(IDM_WRITE_BACK);
    EXPECT_TRUE(w.StatusPart(0)->text().startsWith("ゲームのデータへ書き込みました > "))
        << w.StatusPart(0)->text().toStdString();
    EXPECT_NE(slurp(file).find("\"name\":\"Blaze\""), std::string::npos);
    EXPECT_EQ(slurp(file.string() + ".bak"), original);
    EXPECT_FALSE(w.Project().modified);

    // Written into a further ID: the list offers the next free one.
    ListAnswer next;
    next.id = 3;
    next.Arm();
    w.OnCommand(IDM_EXPORT_GAME_DATA);
    ASSERT_EQ(next.rows.size(), 3);
    EXPECT_EQ(next.rows.back(), "3 (新しいアニメーション) ");
    EXPECT_EQ(w.Document().dataId, 3);
    EXPECT_NE(slurp(file).find("{\"id\":3"), std::string::npos);
}
