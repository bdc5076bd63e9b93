// The Qt clipboard and the clipboard commands of the File menu.

#include "support/GuiFixture.h"

#include "interchange/ClipboardTransfer.h"
#include "model/AnimeData.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>

namespace {

std::vector<uint8_t> bytesOf(const std::string& format)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromStdString(format)))
        return {};
    const QByteArray b = data->data(QString::fromStdString(format));
    return std::vector<uint8_t>(b.begin(), b.end());
}

bool importEnabled(cMainWnd& w, int id)
{
    w.UpdateMenuState(0);
    return w.MenuActions(id).first()->isEnabled();
}

} // namespace

TEST_F(GuiTest, QtClipboardMovesBytesUnderFormatNames)
{
    platform::QtClipboard& c = clipboard;
    const std::vector<uint8_t> a = {0, 1, 2, 0xFF, 0}, b = {'x'};
    ASSERT_TRUE(c.Open());
    EXPECT_FALSE(c.Open()) << "already open";
    c.Empty();
    c.SetData("VX Ace ANIMATION", a);
    c.SetData("MEVKO_EDIT", b);
    c.Close();
    EXPECT_TRUE(c.IsAvailable("VX Ace ANIMATION"));
    EXPECT_TRUE(c.IsAvailable("MEVKO_EDIT"));
    EXPECT_FALSE(c.IsAvailable("RPGXP ANIMATION"));
    EXPECT_EQ(bytesOf("VX Ace ANIMATION"), a);

    std::vector<uint8_t> out;
    EXPECT_FALSE(c.GetData("VX Ace ANIMATION", out)) << "reading needs the clipboard open";
    ASSERT_TRUE(c.Open());
    EXPECT_TRUE(c.GetData("VX Ace ANIMATION", out));
    EXPECT_EQ(out, a);
    EXPECT_FALSE(c.GetData("application/rpgmv-animations", out));
    // Adding without emptying keeps what is there.
    c.SetData("application/rpgmv-animations", b);
    c.Close();
    EXPECT_TRUE(c.IsAvailable("VX Ace ANIMATION"));
    EXPECT_TRUE(c.IsAvailable("application/rpgmv-animations"));
}

TEST_F(GuiTest, QtClipboardOffers2000DataAsWineTarget582)
{
    platform::QtClipboard& c = clipboard;
    const std::vector<uint8_t> a = {8, 0, 0, 0, 1, 0, 0, 0, 0xFF}, b = {1, 2};
    ASSERT_TRUE(c.Open());
    c.Empty();
    c.SetData(platform::kFormat2000, a);
    c.Close();
    EXPECT_EQ(bytesOf(platform::kFormat2000), a);
    EXPECT_EQ(bytesOf("#582"), a);

    // Data that Wine put there only under "#582" is found; our own target comes first.
    for (const bool both : {false, true}) {
        auto* data = new QMimeData;
        data->setData("#582", QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())));
        if (both)
            data->setData(platform::kFormat2000, QByteArray(reinterpret_cast<const char*>(a.data()), 9));
        QGuiApplication::clipboard()->setMimeData(data);
        EXPECT_TRUE(c.IsAvailable(platform::kFormat2000));
        std::vector<uint8_t> out;
        ASSERT_TRUE(c.Open());
        EXPECT_TRUE(c.GetData(platform::kFormat2000, out));
        c.Close();
        EXPECT_EQ(out, both ? a : b);
    }
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(c.IsAvailable(platform::kFormat2000));
}

struct ExportCase {
    int command;
    int version;
    const char* format;
};

class ClipboardExportTest : public GuiTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(ClipboardExportTest, PutsTheExactPayloadUnderItsFormat)
{
    const ExportCase& c = GetParam();
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();

    // The oracle: the same export through the in-memory clipboard.
    platform::MemoryClipboard memory;
    ASSERT_EQ(ExportToClipboard(memory, w.Project(), c.version, Settings().FolderNames()), 1);
    std::vector<uint8_t> expected;
    ASSERT_TRUE(memory.Open());
    ASSERT_TRUE(memory.GetData(c.format, expected));
    memory.Close();
    ASSERT_FALSE(expected.empty());

    QGuiApplication::clipboard()->clear();
    w.OnCommand(c.command);
    EXPECT_EQ(bytesOf(c.format), expected);
    EXPECT_TRUE(w.StatusPart(0)->text().endsWith(" : エクスポートに成功しました"))
        << w.StatusPart(0)->text().toStdString();
    EXPECT_FALSE(w.Project().modified);
}

INSTANTIATE_TEST_SUITE_P(Versions, ClipboardExportTest,
                         ::testing::Values(ExportCase{IDM_EXPORT_2000, 0, platform::kFormat2000},
                                           ExportCase{IDM_EXPORT_XP, 2, "RPGXP ANIMATION"},
                                           ExportCase{IDM_EXPORT_VX, 3, "RPGVX ANIMATION"},
                                           ExportCase{IDM_EXPORT_VXACE, 4, "VX Ace ANIMATION"},
                                           ExportCase{IDM_EXPORT_MV, 5, "application/rpgmv-animations"},
                                           ExportCase{IDM_EXPORT_MZ, 6, "application/rpgmz-animations"}));

TEST_F(GuiTest, ImportItemsEnableByWhatTheClipboardHolds)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(importEnabled(w, IDM_IMPORT_2000));
    EXPECT_FALSE(importEnabled(w, IDM_IMPORT_RUBY));
    EXPECT_FALSE(importEnabled(w, IDM_IMPORT_MV));

    const struct {
        int exportCommand;
        bool e2000, ruby, json;
    } rows[] = {
        {IDM_EXPORT_2000, true, false, false}, {IDM_EXPORT_XP, false, true, false},
        {IDM_EXPORT_VX, false, true, false},   {IDM_EXPORT_VXACE, false, true, false},
        {IDM_EXPORT_MV, false, false, true},   {IDM_EXPORT_MZ, false, false, true},
    };
    for (const auto& row : rows) {
        w.OnCommand(row.exportCommand);
        EXPECT_EQ(importEnabled(w, IDM_IMPORT_2000), row.e2000) << row.exportCommand;
        EXPECT_EQ(importEnabled(w, IDM_IMPORT_RUBY), row.ruby) << row.exportCommand;
        EXPECT_EQ(importEnabled(w, IDM_IMPORT_MV), row.json) << row.exportCommand;
    }
}

TEST_F(GuiTest, ImportInstallsAFreshUntitledProjectAndFailureKeepsTheCurrentOne)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    const int frames = w.Project().GetValue(AI_FRAMES);
    w.OnCommand(IDM_EXPORT_VXACE);
    w.OnCommand(IDM_IMPORT_RUBY);
    EXPECT_EQ(w.StatusPart(0)->text(), "RPGツクールXP / VX / VXAce [戦闘アニメ] : インポートに成功しました");
    EXPECT_EQ(w.Project().GetValue(AI_FRAMES), frames);
    EXPECT_TRUE(w.Document().currentPath.empty());
    EXPECT_EQ(w.windowTitle(), "MevkoEditor0.72[*]");
    EXPECT_FALSE(w.Project().modified);

    // Invoked through its shortcut path with nothing suitable: failure, project kept.
    cAnimeData* before = &w.Project();
    QGuiApplication::clipboard()->clear();
    w.OnCommand(IDM_IMPORT_MV);
    EXPECT_EQ(w.StatusPart(0)->text(), "< ! > RPGツクールMV / MZ [戦闘アニメ] : インポートに失敗");
    EXPECT_EQ(&w.Project(), before);
}
