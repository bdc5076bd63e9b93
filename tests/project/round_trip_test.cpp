// Round trips between the two formats, on the shipped example (written by an
// independent script) and on random projects, compared as whole dumps.
#include "support/ProjectFixtures.h"

#include "platform/Paths.h"

namespace {

using namespace ANIME;

TEST(RoundTrip, ExampleFormatsHoldTheSameProject)
{
    const std::string bin = ReadBytes(ExampleData() / "sample.dat");
    const std::string text = ReadBytes(ExampleData() / "sample.txt");
    const auto fromBin = LoadFrom(bin);
    const auto fromText = LoadFrom(text);
    ASSERT_TRUE(fromBin && fromText);
    EXPECT_EQ(ContentDump(*fromBin), ContentDump(*fromText));
    EXPECT_EQ(fromBin->GetValue(AI_SAVE_FORMAT), 0);
    EXPECT_EQ(fromText->GetValue(AI_SAVE_FORMAT), 1);
    // Our writers reproduce the script's files byte for byte.
    EXPECT_EQ(SaveAs(*fromBin, 0), bin);
    EXPECT_EQ(SaveAs(*fromText, 1), text);
    EXPECT_EQ(SaveAs(*fromBin, 1), text);
    EXPECT_EQ(SaveAs(*fromText, 0), bin);
}

TEST(RoundTrip, ExampleContent)
{
    const auto p = LoadFrom(ReadBytes(ExampleData() / "sample.dat"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Text(AT_NAME), "サンプル爆発");
    EXPECT_EQ(p->LastUsedIndex(AI_FRAMES), 11);
    EXPECT_EQ(p->Effects().Count(), 4);
    int withFlash = 0, withSound = 0, withNote = 0;
    for (int i = 0; i < 4; ++i) {
        withFlash += (p->GetEffect(i)->flags & EF_FLASH) != 0;
        withSound += (p->GetEffect(i)->flags & EF_SOUND) != 0;
        withNote += (p->GetEffect(i)->flags & EF_NOTE) != 0;
    }
    EXPECT_EQ(withFlash, 2);
    EXPECT_EQ(withSound, 2);
    EXPECT_EQ(withNote, 3);
    // The files it names exist relative to its working folder (the "Data" folder).
    const std::string work = paths::FromDiskPath(ExampleData());
    EXPECT_EQ(paths::WorkFolderOf(work + "\\sample.dat", "Data"), work);
    for (int i = 0; i < p->Pictures().Size(); ++i) {
        if (const strPicture* pic = p->GetPicture(i)) {
            EXPECT_TRUE(paths::Exists(paths::MakeAbsolute(pic->path, work))) << pic->path;
        }
    }
    EXPECT_TRUE(paths::Exists(paths::MakeAbsolute(p->GetEffect(0)->seName, work)));
}

class RandomRoundTrip : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomRoundTrip, BothFormatsKeepEverything)
{
    const auto original = RandomProject(GetParam());
    const std::string bin = SaveAs(*original, 0);
    const std::string text = SaveAs(*original, 1);
    const auto fromBin = LoadFrom(bin);
    const auto fromText = LoadFrom(text);
    ASSERT_TRUE(fromBin && fromText);
    const std::string expect = ContentDump(*original);
    EXPECT_EQ(ContentDump(*fromBin), expect);
    EXPECT_EQ(ContentDump(*fromText), expect);
    // binary -> text -> binary and text -> binary -> text
    EXPECT_EQ(SaveAs(*LoadFrom(SaveAs(*fromBin, 1)), 0), bin);
    EXPECT_EQ(SaveAs(*LoadFrom(SaveAs(*fromText, 0)), 1), text);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomRoundTrip, ::testing::Range(1u, 61u));

TEST(RoundTrip, HolesBecomeEmptyFramesInBothFormats)
{
    auto p = RandomProject(99);
    p->InsertFrames(0, 3);
    p->DeleteFrames(1, 1, false); // frame 1 missing
    const auto fromBin = LoadFrom(SaveAs(*p, 0));
    const auto fromText = LoadFrom(SaveAs(*p, 1));
    ASSERT_TRUE(fromBin && fromText);
    EXPECT_TRUE(fromBin->GetFrame(1));
    EXPECT_EQ(fromBin->GetCells(1)->Count(), 0);
    EXPECT_EQ(ContentDump(*fromBin), ContentDump(*fromText));
}

} // namespace
