// mevko export-png / export-gif end to end on the shipped example, read back by Pillow.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "support/ExportTestUtil.h"

using namespace exporttest;

namespace {

const std::string kSample = std::string(MEVKO_SOURCE_DIR) + "/examples/Data/sample.dat";

struct CliRun {
    int code = -1;
    std::string out, err;
};

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CliRun mevko(const TempDir& dir, const std::vector<std::string>& args)
{
    const char* bin = std::getenv("MEVKO_CLI"); // lets a test run pick another build
    std::string cmd = quote(bin ? bin : std::string(MEVKO_BIN_DIR) + "/mevko");
    for (const std::string& a : args)
        cmd += " " + quote(a);
    cmd += " >" + quote((dir / "stdout").string()) + " 2>" + quote((dir / "stderr").string()) + " </dev/null";
    int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir / "stdout"), ReadText(dir / "stderr")};
}

class ExportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (mevko(dir, {"export-png", "--help"}).code != 0)
            GTEST_SKIP() << "mevko does not dispatch export-png";
    }
    TempDir dir;
};

} // namespace

TEST_F(ExportCli, NumberedPngsAndSheets)
{
    CliRun r = mevko(dir, {"export-png", kSample, "-o", (dir / "anim.png").string(), "--crop", "-40,-30,40,30"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "anim00000.png"));
    EXPECT_FALSE(fs::exists(dir / "anim.png"));

    r = mevko(dir, {"export-png", kSample, "-o", (dir / "sheet.png").string(), "--crop", "-40,-30,40,30", "--scale",
                    "50", "--sheet", "5", "--fix", "rows", "--order", "n", "--alpha"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string out = RunPython(dir, "import glob\nfrom PIL import Image\n"
                                     "n = len(glob.glob('" +
                                         dir.path.string() +
                                         "/anim0*.png'))\n"
                                         "im = Image.open('" +
                                         (dir / "sheet.png").string() +
                                         "')\n"
                                         "cols = (n - 1) // 5 + 1\n"
                                         "print(im.mode, im.size == (40 * cols, 30 * 5), n > 1)\n"
                                         "print(min(a for *_, a in im.getdata()))\n");
    EXPECT_EQ(out, "RGBA True True\n0\n"); // alpha kept: uncovered pixels are clear
}

TEST_F(ExportCli, AnimatedGif)
{
    CliRun r = mevko(dir, {"export-gif", kSample, "-o", (dir / "a.gif").string(), "--fps", "10", "--transparent",
                           "--background", "00ff00", "--scale", "50"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::string out = RunPython(dir, "from PIL import Image\n"
                                     "im = Image.open('" +
                                         (dir / "a.gif").string() +
                                         "')\n"
                                         "print(im.n_frames > 1, im.info.get('loop'), 'transparency' in im.info)\n"
                                         "d = set()\n"
                                         "for i in range(im.n_frames):\n"
                                         "    im.seek(i); d.add(im.info['duration'] % 100)\n"
                                         "print(sorted(d))\n");
    EXPECT_EQ(out, "True 0 True\n[0]\n"); // every delay a whole number of 1/10 s ticks
}

TEST_F(ExportCli, RefusalsWriteNothing)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"export-gif", kSample, "--crop", "0,0,1100,10"}, "GIF too large: 1100 x 10 pixels"},
        {{"export-png", kSample, "--crop", "0,0,1000,10", "--sheet", "4"}, "sheet too large"},
        {{"export-png", kSample, "--crop", "0,0,0,10"}, "nothing to export"},
        {{"export-png", kSample, "--scale", "300"}, "--scale"},
        {{"export-gif", kSample, "--sheet", "3"}, "unexpected argument '--sheet'"},
        {{"export-png", kSample, "--fix", "rows"}, "need --sheet"},
        {{"export-png", (dir / "missing.dat").string()}, "no such file"},
    };
    for (Case& c : cases) {
        c.args.push_back("-o");
        c.args.push_back((dir / "out.x").string());
        CliRun r = mevko(dir, c.args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.x"));
        EXPECT_FALSE(fs::exists(dir / "out00000.x"));
    }
}
