// The animation's position (and the 2000 scope) taken from a payload survives
// both project formats: the payload made from the loaded project is the same.
#include "InterchangeFixtures.h"

#include "interchange/ClipboardTransfer.h"
#include "interchange/JsonAnimation.h"
#include "interchange/Rm2000Animation.h"
#include "interchange/RubyAnimation.h"
#include "project/AnimeFile.h"

#include <gtest/gtest.h>

namespace {

std::string payload(const cAnimeData& p, int version)
{
    if (version == RPG_MV)
        return WriteJsonAnimation(p, strFolderNames{});
    Cclip_stream s;
    EXPECT_TRUE(version == RPG_2000 ? WriteRm2000Animation(p, strFolderNames{}, s)
                                    : WriteRubyAnimation(p, version, strFolderNames{}, s));
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

int read(cAnimeData& p, int version, const std::string& bytes)
{
    Cclip_stream s;
    s.Assign(bytes);
    switch (version) {
    case RPG_2000: return ReadRm2000Animation(p, s);
    case RPG_MV: return ReadJsonAnimation(p, s);
    default: return ReadRubyAnimation(p, s);
    }
}

TEST(PositionRoundTrip, PayloadThroughEitherProjectFormatIsUnchanged)
{
    // centerPosition 0 centre, 1 screen (the 2000 scope "screen"), 2 feet, 3 head.
    for (int version : {RPG_2000, RPG_XP, RPG_VX, RPG_VXACE, RPG_MV})
        for (int position = 0; position <= 3; ++position)
            for (int format : {0, 1}) {
                SCOPED_TRACE(testing::Message()
                             << "version " << version << " position " << position << " format " << format);
                cAnimeData p;
                MakeProject(p, 2, "A");
                PutPicture(p, 0, "Fire");
                p.SetValue(AI_CENTER_POSITION, position);
                const std::string sent = payload(p, version);
                cAnimeData imported;
                ASSERT_EQ(read(imported, version, sent), 1);
                ASSERT_EQ(imported.GetValue(AI_CENTER_POSITION), position);
                ANIME::cAnimeFile_Device device;
                std::string file;
                ASSERT_EQ(device.SaveBytes(imported, format, file), ANIME::FR_OK);
                cAnimeData loaded;
                ASSERT_EQ(device.LoadBytes(file, loaded), ANIME::FR_OK);
                EXPECT_EQ(payload(loaded, version), sent);
            }
}

} // namespace
