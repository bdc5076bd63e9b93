// mevko render: composite one frame of a project into an RGBA PNG, as the canvas
// shows it (background colour, error cells for invalid pictures or patterns).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/Cli.h"
#include "image/PngWrite.h"
#include "model/AnimeData.h"
#include "project/AnimeFile.h"
#include "project/Paths.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

namespace {

const char kUsage[] =
    "usage: mevko render IN --frame N -o OUT.png [--width W --height H] [--config PATH]\n"
    "Composites frame N (counted from 0) of the project IN into an RGBA PNG of W x H\n"
    "pixels (default 640 x 480) with the animation origin at the image centre, on the\n"
    "background colour setting. Cells whose picture or pattern is invalid show the\n"
    "error cell. Relative picture paths resolve against the project's working folder\n"
    "(the part of its path up to the picture folder name), else its own folder.\n";

bool parseInt(const char* text, int& out)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!text[0] || *end || v < -2147483647L || v > 2147483647L) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int cmdRender(int argc, char** argv)
{
    const char* in = nullptr;
    const char* out = nullptr;
    const char* config = nullptr;
    int frame = -1, width = 640, height = 480;
    bool haveFrame = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--frame" && hasValue) {
            if (!parseInt(argv[++i], frame)) return cli::Fail("render", "--frame needs a number");
            haveFrame = true;
        } else if (a == "-o" && hasValue) {
            out = argv[++i];
        } else if (a == "--width" && hasValue) {
            if (!parseInt(argv[++i], width)) return cli::Fail("render", "--width needs a number");
        } else if (a == "--height" && hasValue) {
            if (!parseInt(argv[++i], height)) return cli::Fail("render", "--height needs a number");
        } else if (a == "--config" && hasValue) {
            config = argv[++i];
        } else if (!in && a[0] != '-') {
            in = argv[i];
        } else {
            return cli::Fail("render", "unexpected argument '" + a + "' (see mevko render --help)");
        }
    }
    if (!in || !out || !haveFrame) return cli::Fail("render", "needs IN, --frame N and -o OUT.png");
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
        return cli::Fail("render", "width and height must be 1.." + std::to_string(kMaxImageSide));
    if (config && !Settings().ReadSettings(config)) return cli::Fail(config, "cannot read settings");

    const std::unique_ptr<cAnimeData> loaded = cli::LoadProject(in);
    if (!loaded)
        return 1;
    cAnimeData& project = *loaded;
    if (frame < 0 || !project.GetFrame(frame))
        return cli::Fail(in, "no frame " + std::to_string(frame));
    cli::SetWorkFolderFromPath(project, in);

    cSpriteDrawer drawer;
    drawer.loadPictures(project);
    cBMP image;
    if (!image.create(width, height, 32) || !drawer.beginCanvas(image, 0, 0, 1))
        return cli::Fail(out, "cannot create the image");
    drawer.drawFrame(project, frame);
    drawer.present();
    // The canvas has no alpha of its own: the image is written opaque.
    std::string reason;
    if (!writePngRGBA(out, image, false, &reason)) return cli::Fail(out, "cannot write the PNG file: " + reason);
    return 0;
}
