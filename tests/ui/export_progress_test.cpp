// The GIF export dialog's quality choice and the progress dialog: a bar with its range
// from the start, a readable title, and 中止 that leaves no file and says so.

#include "app/DlgHost.h"
#include "model/AnimeData.h"
#include "support/GuiFixture.h"
#include "ui/DlgOutput.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>

namespace {

class ExportProgressGuiTest : public GuiTest {
protected:
    cDlg_Output_Gif& StartGif()
    {
        Start({QString::fromStdString(Sample().string())});
        QCoreApplication::processEvents();
        cDlg_Output_Gif& dlg = *window->SideWindows()->GifDialog();
        dlg.OnCreate();
        dlg.AutoRect();
        return dlg;
    }
};

TEST_F(ExportProgressGuiTest, HighQualityChoiceIsKeptAndExports)
{
    cDlg_Output_Gif& dlg = StartGif();
    dlg.qualityCombo->setCurrentIndex(1);
    chooser.answer = (dir / "high.gif").string();
    ASSERT_TRUE(dlg.Export());
    EXPECT_TRUE(dlg.form.highQuality);
    EXPECT_GT(std::filesystem::file_size(dir / "high.gif"), 100u);
    dlg.OnCreate();
    EXPECT_EQ(dlg.qualityCombo->currentIndex(), 1) << "the dialog remembers the choice";
}

TEST_F(ExportProgressGuiTest, CancelLeavesNoFileAndSaysSo)
{
    cDlg_Output_Gif& dlg = StartGif();
    // A thousand 1024 x 1024 images: seconds of work, so the worker is still busy when
    // the dialog's event loop first runs, however fast the machine.
    window->Project().InsertFrames(window->Project().Frames().Count(), 1000);
    dlg.widthSpin->setValue(512);
    dlg.heightSpin->setValue(512);
    dlg.scaleSpin->setValue(200);
    QString title, label;
    int maximum = -1;
    cDlg_Progress* progress = dlg.progress;
    QTimer::singleShot(0, progress, [&] {
        title = progress->windowTitle();
        label = progress->label->text();
        maximum = progress->bar->maximum();
        progress->Cancel();
    });
    chooser.answer = (dir / "cancelled.gif").string();
    EXPECT_FALSE(dlg.Export());
    EXPECT_TRUE(title.startsWith("処理中 画像作成 ")) << title.toStdString();
    EXPECT_FALSE(title.contains("0/0")) << title.toStdString();
    EXPECT_EQ(label, title.mid(4));
    EXPECT_GT(maximum, 0) << "a range, not a busy indicator";
    EXPECT_GE(progress->minimumWidth(), 300);
    EXPECT_FALSE(std::filesystem::exists(dir / "cancelled.gif")) << title.toStdString();
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find("cancelled"), std::string::npos) << entry.path();
    EXPECT_NE(window->StatusPart(0)->text().toStdString().find("中止"), std::string::npos);
}

TEST_F(ExportProgressGuiTest, ARefusedExportSaysWhy)
{
    cDlg_Output_Gif& dlg = StartGif();
    dlg.widthSpin->setValue(1280);
    dlg.scaleSpin->setValue(200);
    chooser.answer = (dir / "large.gif").string();
    EXPECT_FALSE(dlg.Export());
    const QString status = window->StatusPart(0)->text();
    EXPECT_TRUE(status.startsWith("< ! > ")) << status.toStdString();
    EXPECT_TRUE(status.contains("2560") && status.contains("1024")) << status.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir / "large.gif"));
}

} // namespace
