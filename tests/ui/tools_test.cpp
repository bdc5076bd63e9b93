// The tool bars: their embedded controls write the settings, and every button has
// its own drawn icon, rendered at full resolution on a high-density screen.

#include "support/GuiFixture.h"

#include "ui/Tools.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QSpinBox>

namespace {

/** True when the image has at least one pixel that is not fully transparent. */
bool drawn(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace

TEST_F(GuiTest, EveryToolButtonHasItsOwnIconSharpAtTwiceTheDensity)
{
    cMainWnd& w = Start();
    const cBaseTool* bars[] = {w.FrameTool(), w.ViewTool(), w.EditTool(), w.PlayTool()};
    std::vector<QImage> seen;
    for (const cBaseTool* bar : bars) {
        for (QAction* action : bar->actions()) {
            if (!action->data().isValid())
                continue; // separators and gaps
            const int command = action->data().toInt();
            const QIcon icon = action->icon();
            ASSERT_FALSE(icon.isNull()) << "command " << command;
            const QPixmap one = icon.pixmap(QSize(16, 15), 1.0);
            const QPixmap two = icon.pixmap(QSize(16, 15), 2.0);
            EXPECT_EQ(one.size(), QSize(16, 15)) << "command " << command;
            EXPECT_EQ(two.size(), QSize(32, 30)) << "command " << command << ": drawn for the density, not scaled";
            EXPECT_TRUE(drawn(one.toImage())) << "command " << command;
            const QImage image = two.toImage();
            for (const QImage& other : seen)
                EXPECT_NE(image, other) << "command " << command << " shares its icon";
            seen.push_back(image);
        }
    }
    EXPECT_EQ(seen.size(), 27u);
}

TEST_F(GuiTest, ApplicationIconIsDrawnAtDesktopSizes)
{
    const QIcon icon(":/icons/mevko-editor.svg");
    for (int size : {16, 48, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.size(), QSize(size, size));
        EXPECT_TRUE(drawn(pixmap.toImage())) << size;
    }
}

TEST_F(GuiTest, ToolBarControlsWriteTheirSettings)
{
    cMainWnd& w = Start();
    w.PlayTool()->rateCombo->setCurrentIndex(3); // "30 fps"
    EXPECT_EQ(Settings().PlayRate, 3);
    cTool_Edit* edit = w.EditTool();
    edit->snapCheck[0]->setChecked(false);
    EXPECT_FALSE(edit->snapEdit[0]->isEnabled());
    EXPECT_EQ(Settings().GridBit & 1u, 0u);
    edit->snapEdit[2]->setValue(45);
    EXPECT_EQ(Settings().AngleGrid, 45);
    // Tips follow the buttons in order, separators skipped.
    EXPECT_EQ(w.FrameTool()->ActionOf(IDM_NEW_FRAME_FLAG)->toolTip(), "フレームを自動で追加する");
    EXPECT_EQ(w.FrameTool()->ActionOf(IDM_INTERPOLATE)->toolTip(), "前後フレームで補完");
    EXPECT_EQ(w.ViewTool()->ActionOf(IDM_VIEW_LINE)->toolTip(), "線を表示");
    EXPECT_EQ(w.PlayTool()->ActionOf(IDM_OPT_FLASH)->toolTip(), "画面効果");
    w.PlayTool()->rangeCheck->setChecked(true);
    EXPECT_TRUE(w.PlayTool()->rangeStart->isEnabled());
}
