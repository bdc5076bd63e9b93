// The main window as a new user meets it: where keys go, file dialog filters,
// window places from any config.ini, the modified mark, missing pictures and the
// small dialog details.

#include "support/GuiFixture.h"

#include "app/DlgHost.h"
#include "app/KeyRouter.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgCell.h"
#include "ui/DlgInterval.h"
#include "ui/DlgPalette.h"
#include "ui/DlgSourceList.h"
#include "ui/MainEditWnd.h"
#include "ui/PropConf.h"
#include "ui/QtFeedback.h"
#include "ui/Tools.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <fstream>

namespace fs = std::filesystem;

namespace {

void writeConfig(const fs::path& file, const std::string& lines)
{
    std::ofstream(file, std::ios::binary) << "[CONFIG]\r\n" << lines;
}

QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

} // namespace

TEST(KeyRouting, TextFieldsKeepOnlyTheKeysOfTyping)
{
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        bool field;
    } cases[] = {
        {Qt::Key_7, none, "7", true},        {Qt::Key_A, shift, "A", true},      {Qt::Key_Space, none, " ", true},
        {Qt::Key_Backspace, none, "", true}, {Qt::Key_Delete, none, "", true},   {Qt::Key_Left, none, "", true},
        {Qt::Key_Up, none, "", true},        {Qt::Key_Return, none, "\r", true}, {Qt::Key_Escape, none, "", true},
        {Qt::Key_Z, ctrl, "", true},         {Qt::Key_A, ctrl, "", true},        {Qt::Key_V, ctrl, "", true},
        {Qt::Key_Y, ctrl, "", false},        {Qt::Key_S, ctrl, "", false},       {Qt::Key_Left, ctrl, "", false},
        {Qt::Key_Right, ctrl, "", false},    {Qt::Key_Period, ctrl, "", false},  {Qt::Key_Z, ctrl | shift, "", false},
        {Qt::Key_Forward, none, "", false},  {Qt::Key_F5, none, "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cKeyRouter::FieldKeepsKey(c.key, c.mods, QString::fromUtf8(c.text)), c.field)
            << std::hex << c.key << " mods " << int(c.mods);
}

TEST_F(GuiTest, CanvasHoldsTheFocusAndShortcutsWinOverToolBarFields)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QApplication::setActiveWindow(&w);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w.Canvas()) << "the canvas has the focus at start-up";

    QSpinBox* interval = w.FrameTool()->intervalEdit;
    const int frames = w.Project().GetValue(AI_FRAMES);
    interval->setFocus();
    QTest::keyClick(interval, Qt::Key_Delete);
    QTest::keyClick(interval, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Project().GetValue(AI_FRAMES), frames) << "Delete and Ctrl+Z stay with the field";
    EXPECT_FALSE(w.Project().modified);

    // Ctrl+Right runs "next frame" though the field has the focus.
    QTest::keyClick(interval, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(w.Canvas()->CurrentFrame(), 1);

    // Enter commits the typed value and hands the focus back, without opening the cell window.
    interval->setFocus();
    interval->selectAll();
    QTest::keyClicks(interval, "9");
    QTest::keyClick(interval, Qt::Key_Return);
    EXPECT_EQ(w.Project().GetFrame(1)->interval, 9);
    EXPECT_EQ(QApplication::focusWidget(), w.Canvas());
    EXPECT_FALSE(w.SideWindows()->CellDialog()->IsOpen());

    // Escape drops the typed text.
    interval->setFocus();
    interval->selectAll();
    QTest::keyClicks(interval, "42");
    QTest::keyClick(interval, Qt::Key_Escape);
    EXPECT_EQ(interval->text(), "9");
    EXPECT_EQ(w.Project().GetFrame(1)->interval, 9);
    EXPECT_EQ(QApplication::focusWidget(), w.Canvas());

    // Selectors never take the focus.
    EXPECT_EQ(w.ViewTool()->zoomCombo->focusPolicy(), Qt::NoFocus);
}

TEST(FileDialogs, FiltersListWhatEachDialogOpens)
{
    const struct {
        const char* description;
        std::vector<const char*> has;
    } cases[] = {
        {"画像(*.bmp,gif,png,xyz)", {"*.bmp", "*.gif", "*.png", "*.xyz", "*.PNG"}},
        {"効果音(*.wmv,wav,ogg,mp3)", {"*.wav", "*.ogg", "*.mp3", "*.flac", "*.mid", "*.WAV"}},
        {"アニメーション(*.txt,dat)", {"*.txt", "*.dat", "*.DAT"}},
        {"PNG形式(*.png)", {"*.png"}},
        {"GIF形式(*.gif)", {"*.gif"}},
    };
    for (const auto& c : cases) {
        const QStringList patterns = FilterPatterns(c.description);
        for (const char* p : c.has)
            EXPECT_TRUE(patterns.contains(p)) << c.description << " " << p;
        EXPECT_FALSE(patterns.contains("*.txt") && std::string(c.description).find("txt") == std::string::npos);
        EXPECT_TRUE(DialogFilters(c.description).endsWith(";;すべてのファイル (*)")) << c.description;
    }
    EXPECT_EQ(DialogFilters("GIF"), "すべてのファイル (*)");
}

TEST_F(GuiTest, WindowPlacesFromAnyConfigLandOnTheScreen)
{
    writeConfig(dir / "config.ini",
                "MainWinSizeX=abc\r\nMainWinSizeY=-5000\r\nMainWinPostX=-100000\r\n"
                "PalWinSizeX=2147483647\r\nPalWinSizeY=2147483647\r\n"
                "ListWinPostX=99999\r\nListWinPostY=99999\r\nListWinSizeX=-1\r\nListWinSizeY=0\r\n");
    cMainWnd& w = Start();
    const QRect screen = screenArea();
    EXPECT_GE(w.width(), cMainWnd::kMinWidth);
    EXPECT_GE(w.height(), cMainWnd::kMinHeight);
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.x() << "," << w.y();
    for (QWidget* side : {static_cast<QWidget*>(w.SideWindows()->PaletteWindow()),
                          static_cast<QWidget*>(w.SideWindows()->ListWindow())})
        EXPECT_TRUE(screen.contains(side->frameGeometry())) << side->objectName().toStdString();

    // Too small a window keeps its minimum.
    w.resize(300, 200);
    EXPECT_GE(w.width(), cMainWnd::kMinWidth);
    EXPECT_GE(w.height(), cMainWnd::kMinHeight);
}

TEST_F(GuiTest, PlacesAndTheMaximisedStateComeBackUnchanged)
{
    {
        cMainWnd& w = Start();
        w.move(40, 50);
        w.resize(600, 450);
        w.SideWindows()->ListWindow()->move(100, 110);
        w.showMaximized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(w.isMaximized());
        EXPECT_TRUE(w.close());
        window.reset();
    }
    EXPECT_TRUE(Settings().MainWinMaxFlag);
    EXPECT_EQ(Settings().MainWinSizeX, 600) << "the normal size is kept, not the maximised one";
    Settings().SetDefaults();
    window = std::make_unique<cMainWnd>(dir / "config.ini", &messages, &chooser);
    QString error;
    ASSERT_TRUE(window->Initialize({}, error));
    window->ShowPlaced();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->SideWindows()->ListWindow()->pos(), QPoint(100, 110));
    EXPECT_TRUE(window->close());
    window.reset();
    const cSettings& s = Settings();
    EXPECT_EQ((strPlacement{s.MainWinPostX, s.MainWinPostY, s.MainWinSizeX, s.MainWinSizeY}),
              (strPlacement{40, 50, 600, 450}))
        << "no creep across starts";
}

TEST_F(GuiTest, TitleMarksUnsavedChangesAndSaveAsAfterNewOffersTheNewName)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.windowTitle().endsWith("[*]"));
    EXPECT_FALSE(w.isWindowModified());
    w.OnCommand(IDM_INSERT_FRAME);
    EXPECT_TRUE(w.isWindowModified());

    messages.answers = {ANSWER_NO};
    w.OnCommand(IDM_NEW);
    EXPECT_FALSE(w.isWindowModified());
    w.OnCommand(IDM_SAVE_AS);
    ASSERT_EQ(chooser.fileNames.size(), 1u);
    const std::string work = w.Project().Text(AT_WORK_FOLDER);
    EXPECT_EQ(chooser.fileNames[0], work + "\\newfile.txt") << "not the sample's name";
    EXPECT_EQ(chooser.filters[0], "アニメーション(*.txt,dat)");
}

TEST_F(GuiTest, PicturesOutsideTheWorkingFolderAreFoundBesideTheProjectOrNamed)
{
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directories(elsewhere);
    fs::copy_file(Sample(), elsewhere / "sample.dat");
    cMainWnd& w = Start();

    // Not below a "Data" folder and no pictures beside it: the status names the first place searched.
    w.OpenDroppedFiles({QUrl::fromLocalFile(QString::fromStdString((elsewhere / "sample.dat").string()))});
    QCoreApplication::processEvents();
    const QString status = w.StatusPart(0)->text();
    EXPECT_TRUE(status.startsWith("< ! > 画像が見つかりません > ")) << status.toStdString();
    EXPECT_TRUE(status.contains("BattleEffect")) << status.toStdString();
    EXPECT_TRUE(status.contains(QString("BattleEffect") + QDir::separator()))
        << "native separators: " << status.toStdString();
    const QModelIndex first = w.SideWindows()->ListWindow()->pictureTable->model()->index(0, 1);
    EXPECT_EQ(first.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_TRUE(first.data(Qt::ToolTipRole).toString().contains("BattleEffect"));

    // With the pictures beside the project file they are shown.
    fs::copy(Sample().parent_path() / "BattleEffect", elsewhere / "BattleEffect");
    w.OpenDroppedFiles({QUrl::fromLocalFile(QString::fromStdString((elsewhere / "sample.dat").string()))});
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.StatusPart(0)->text().startsWith("読み込みました")) << w.StatusPart(0)->text().toStdString();
    EXPECT_NE(SpriteDrawer().Sheet(0), nullptr);
    EXPECT_FALSE(first.data(Qt::ForegroundRole).isValid());
}

TEST_F(GuiTest, SmallDialogDetails)
{
    cMainWnd& w = Start();
    QComboBox* zoom = w.ViewTool()->zoomCombo;
    EXPECT_GE(zoom->width(), zoom->sizeHint().width()) << "\"100%\" shows whole";

    cDlg_SetInterval* interval = w.SideWindows()->IntervalDialog();
    for (QLabel* label : interval->findChildren<QLabel*>())
        if (label->text().contains('&')) {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString() << " would show a literal &";
        }
    interval->show();
    EXPECT_GE(interval->width(), interval->fontMetrics().horizontalAdvance(interval->windowTitle()) + 100);
    interval->hide();

    QTableView* effects = w.SideWindows()->ListWindow()->effectTable;
    const QString flash = "[対象消去,スクリーン](255,255,255,255)@255";
    EXPECT_GE(effects->columnWidth(3), effects->fontMetrics().horizontalAdvance(flash));

    // The settings dialog: 適用 applies while it stays open, Escape closes it.
    bool appliedWhileOpen = false;
    QTimer::singleShot(0, [&] {
        auto* conf = qobject_cast<cProp_Conf*>(QApplication::activeModalWidget());
        ASSERT_NE(conf, nullptr);
        auto* page = conf->findChild<cConfPage_View*>();
        page->ground->setText("0x123456");
        for (QPushButton* b : conf->findChildren<QPushButton*>())
            if (b->text() == "適用")
                b->click();
        appliedWhileOpen = Settings().CGround == 0x123456u && conf->isVisible();
        // Escape typed in a page's field reaches the sheet.
        QTest::keyClick(page->ground, Qt::Key_Escape);
    });
    w.OnCommand(IDM_SETTINGS);
    EXPECT_TRUE(appliedWhileOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Escape closed the dialog";
}
