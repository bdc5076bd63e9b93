// Opening a project decodes only the pictures it shows; the others wait until drawn.

#include "support/GuiFixture.h"

#include "render/SpriteDrawer.h"
#include "ui/MissingPictures.h"

#include <QLabel>

namespace fs = std::filesystem;

TEST_F(GuiTest, PicturesNotShownStayUndecodedAtOpen)
{
    fs::create_directories(dir / "Data");
    fs::copy(Sample().parent_path() / "BattleEffect", dir / "Data" / "BattleEffect", fs::copy_options::recursive);
    fs::copy_file(Sample(), dir / "Data" / "sample.dat");
    cMainWnd& w = Start({QString::fromStdString((dir / "Data" / "sample.dat").string())});
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.StatusPart(0)->text().startsWith("読み込みました")) << w.StatusPart(0)->text().toStdString();
    // Frame 0 shows picture 0 only; picture 1 first appears in frame 2.
    EXPECT_FALSE(SpriteDrawer().IsUndecoded(0));
    EXPECT_TRUE(SpriteDrawer().IsUndecoded(1));
    EXPECT_EQ(MissingPictureText(w.Project(), 1), "");
    ASSERT_NE(SpriteDrawer().Sheet(1), nullptr);
    EXPECT_FALSE(SpriteDrawer().IsUndecoded(1));
}
