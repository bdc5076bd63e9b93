// Imported picture and sound names placed in their folders.
#include "interchange/ImportedNames.h"

#include "InterchangeFixtures.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using interchange::ResolveImportedNames;

TEST(ImportedNames, BareNamesBecomePathsInTheirFolders)
{
    const fs::path dir = TestFolder("resolve");
    fs::create_directories(dir / "Audio" / "hit.d");
    WriteBytes(dir / "Audio" / "Hit.wav", "w", 1);
    WriteBytes(dir / "Audio" / "Hit.ogg", "o", 1);
    WriteBytes(dir / "Audio" / "Hitter.wav", "x", 1);
    WriteBytes(dir / "Audio" / "plain", "p", 1);
    const std::string audio = paths::FromDiskPath(dir / "Audio");

    cAnimeData p;
    p.Reset(1, 1, 3, 4);
    strPicture pic;
    pic.path = "Fire1";
    p.SetPicture(pic, 0);
    pic.path = "";
    p.SetPicture(pic, 2);
    strEffect e;
    e.flags = EF_SOUND;
    for (const char* name : {"hit", "plain", "none"}) {
        e.seName = name;
        p.InsertEffect(e, nullptr);
    }
    e = strEffect();
    e.flags = EF_FLASH;
    e.seName = "unused";
    p.InsertEffect(e, nullptr);

    ResolveImportedNames(p, "Graphics", audio);
    EXPECT_EQ(p.GetPicture(0)->path, "Graphics\\Fire1"); // relative folder: no search
    EXPECT_EQ(p.GetPicture(2)->path, "");
    EXPECT_EQ(p.GetEffect(0)->seName, audio + "\\Hit.ogg"); // first match by name; folders skipped
    EXPECT_EQ(p.GetEffect(1)->seName, audio + "\\plain");
    EXPECT_EQ(p.GetEffect(2)->seName, audio + "\\none");
    EXPECT_EQ(p.GetEffect(3)->seName, "unused");
    fs::remove_all(dir);
}

TEST(ImportedNames, NamesTooLongWithTheirFolderAreCutAndReported)
{
    // A name that fits alone but not below its folder: the stored path is cut at a
    // character boundary, so the project can still be saved.
    cAnimeData p;
    p.Reset(1, 1, 2, 1);
    strPicture pic;
    pic.path = std::string(250, 'a');
    p.SetPicture(pic, 0);
    pic.path = "short";
    p.SetPicture(pic, 1);
    strEffect e;
    e.flags = EF_SOUND;
    std::string name;
    for (int i = 0; i < 130; ++i)
        name += "é";
    e.seName = name;
    p.InsertEffect(e, nullptr);
    platform::TakeTextProblems();
    ResolveImportedNames(p, "Graphics\\Animations", "Audio\\SE");
    EXPECT_EQ(p.GetPicture(0)->path, "Graphics\\Animations\\" + std::string(235, 'a'));
    EXPECT_EQ(p.GetPicture(1)->path, "Graphics\\Animations\\short");
    const std::string& se = p.GetEffect(0)->seName;
    EXPECT_LE(platform::StoredSize(se), 254u); // what an effect holds
    EXPECT_TRUE(platform::IsUtf8(se));
    EXPECT_EQ(se.rfind("Audio\\SE\\éé", 0), 0u);
    EXPECT_FALSE(platform::TakeTextProblems().empty());
}

} // namespace
