// The project dialog's form: which changes are light and which rewrite the project.

#include "model/AnimeData.h"
#include "view/ProjectForm.h"

#include <gtest/gtest.h>

class ProjectFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        project.NewProject("");
        strCell cell;
        cell.scaleX = 50;
        cell.scaleY = 150;
        cell.angle = 90;
        for (int f = 0; f < 3; ++f) {
            if (f > 0)
                project.InsertFrames(f, 1);
            project.SetCell(f, 0, &cell);
            project.SetInterval(f, f == 1 ? 5 : 0);
        }
    }
    cAnimeData project;
};

TEST_F(ProjectFormTest, NameOnlyIsALightChange)
{
    strProjectForm f = strProjectForm::From(project);
    f.name = "fire";
    f.baseInterval = 3;
    EXPECT_EQ(ProjectChangeBits(f, project), 0);
    ApplyLightItems(f, project);
    EXPECT_EQ(project.Text(AT_NAME), "fire");
    EXPECT_EQ(project.GetValue(AI_BASE_INTERVAL), 3);
}

TEST_F(ProjectFormTest, FixedEditFormatRewritesEveryCell)
{
    strProjectForm f = strProjectForm::From(project);
    f.editFormat = 1; // 固定
    f.cellCount = 8;
    EXPECT_EQ(ProjectChangeBits(f, project), PC_EDIT_FORMAT | PC_CELL_COUNT);
    EXPECT_TRUE(ApplyRewrite(f, ProjectChangeBits(f, project), project));
    EXPECT_EQ(project.GetLimit(AI_CELLS), 8);
    for (int fr = 0; fr < 3; ++fr) {
        const strCell* c = project.GetCell(fr, 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->scaleX, 100);
        EXPECT_EQ(c->scaleY, 100);
        EXPECT_EQ(c->angle, 0);
    }
}

TEST_F(ProjectFormTest, AutoTotalSumsEffectiveIntervalsUpToTheCurrentFrame)
{
    project.SetValue(AI_BASE_INTERVAL, 2);
    EXPECT_EQ(AutoTotalInterval(project, 2), project.EffectiveInterval(0, true) + project.EffectiveInterval(1, true) +
                                                 project.EffectiveInterval(2, true));
    EXPECT_EQ(AutoTotalInterval(project, 0), project.EffectiveInterval(0, true));
}
