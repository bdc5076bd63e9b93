// The tool-bar and application icons: every button has its own drawn icon, rendered
// at full resolution on a high-density screen.

#include "support/GuiFixture.h"

#include "ui/Tools.h"

#include <QAction>
#include <QIcon>
#include <QImage>

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
                continue;  // separators and gaps
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
