// mevko render: composite one frame of a project into an RGBA PNG, as the canvas
// shows it (background colour, error cells for invalid pictures or patterns).

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "image/PngWrite.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

namespace {

struct Args {
    std::string in, out, config;
    int frame = -1, width = 640, height = 480;
};

int run(const Args& a)
{
    const char* in = a.in.c_str();
    const char* out = a.out.c_str();
    const int frame = a.frame, width = a.width, height = a.height;
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide)
        return cli::Fail("render", "width and height must be 1.." + std::to_string(kMaxImageSide));
    if (!a.config.empty() && !Settings().ReadSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");

    const std::unique_ptr<cAnimeData> loaded = cli::LoadProject(in);
    if (!loaded)
        return 1;
    cAnimeData& project = *loaded;
    if (frame < 0 || !project.GetFrame(frame))
        return cli::Fail(in, "no frame " + std::to_string(frame));
    cli::SetWorkFolderFromPath(project, in);

    cSpriteDrawer drawer;
    drawer.SetOptions(RenderOptionsOf(Settings()));
    drawer.LoadPictures(project);
    cBMP image;
    if (!image.Create(width, height, 32) || !drawer.BeginCanvas(image, 0, 0, 1))
        return cli::Fail(out, "cannot create the image");
    drawer.DrawFrame(project, frame);
    drawer.Present();
    // The canvas has no alpha of its own: the image is written opaque.
    std::string reason;
    if (!WritePngRGBA(out, image, false, &reason))
        return cli::Fail(out, "cannot write the PNG file: " + reason);
    return 0;
}

} // namespace

cli::Command cli::AddRender(CLI::App& mevko)
{
    auto a = std::make_shared<Args>();
    CLI::App* cmd = mevko.add_subcommand(
        "render", "Composites one frame into a PNG.\n\n"
                  "Composites frame N (counted from 0) of the project IN into an RGBA PNG of W x H\n"
                  "pixels with the animation origin at the image centre, on the background colour\n"
                  "setting. Cells whose picture or pattern is invalid show the error cell. Relative\n"
                  "picture paths resolve against the project's working folder (the part of its path\n"
                  "up to the picture folder name), else its own folder.");
    cmd->add_option("IN", a->in, "the project file")->required();
    AddInt(*cmd, "--frame", "N", "the frame to draw", a->frame, INT_MIN, INT_MAX, "--frame needs a number")->required();
    cmd->add_option("-o", a->out, "the PNG file to write")->type_name("OUT.png")->required();
    AddInt(*cmd, "--width", "W", "image width (default 640)", a->width, INT_MIN, INT_MAX, "--width needs a number");
    AddInt(*cmd, "--height", "H", "image height (default 480)", a->height, INT_MIN, INT_MAX, "--height needs a number");
    cmd->add_option("--config", a->config, "read settings from this config.ini")->type_name("PATH");
    return {cmd, "needs IN, --frame N and -o OUT.png", [a] { return run(*a); }};
}
