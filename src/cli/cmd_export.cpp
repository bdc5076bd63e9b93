// mevko export-png / export-gif: the image export jobs of the editor's PNG and GIF
// dialogs, run on the export worker with a progress bar on a terminal.

#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "cli/Cli.h"
#include "cli/Options.h"
#include "export/ThreadSaveGraph.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

namespace {

struct Options {
    std::string in, out, config, targetPath;
    bool haveCrop = false;
    strCaptureRect crop;
    int scale = 100, fps = 60, sheet = -1;
    bool haveBackground = false;
    uint32_t background = 0;
    int flags = 0;
    eGifQuality quality = eGifQuality::Standard;
};

// A choice of two names ("first|second"), one of which (on) sets a flag bit.
void addBitChoice(CLI::App& cmd, Options& o, const std::string& name, const std::string& choices, const std::string& on,
                  int bit, const std::string& help)
{
    const size_t bar = choices.find('|');
    const std::string first = choices.substr(0, bar), second = choices.substr(bar + 1);
    cli::AddValue(cmd, name, choices, help, [&o, name, first, second, on, bit](const std::string& v) {
        if (v != first && v != second)
            throw cli::ArgError(name + " takes " + first + " or " + second);
        o.flags = (o.flags & ~bit) | (v == on ? bit : 0);
    });
}

void addOptions(CLI::App& cmd, Options& o, bool gif)
{
    cmd.add_option("IN", o.in, "the project file")->required();
    cmd.add_option("-o", o.out, gif ? "the GIF file to write" : "the PNG file (or the first of the numbered files)")
        ->type_name(gif ? "OUT.gif" : "OUT.png")
        ->required();
    cli::AddValue(cmd, "--crop", "L,T,R,B",
                  "crop rectangle in animation coordinates;\nR < L mirrors and B < T flips the images",
                  [&o](const std::string& text) {
                      int v[4];
                      if (!cli::ParseCrop(text, v))
                          throw cli::ArgError("--crop needs L,T,R,B");
                      o.crop = {v[0], v[1], v[2], v[3]};
                      o.haveCrop = true;
                  });
    cli::AddFlag(cmd, "--auto-crop", "the box around every cell of every frame\n(the default)",
                 [&o] { o.haveCrop = false; });
    cli::AddInt(cmd, "--scale", "PERCENT", "image size, 1-200 (default 100)", o.scale, 1, 200,
                "--scale needs a percentage 1-200");
    if (gif) {
        cli::AddInt(cmd, "--fps", "N", "ticks per second, 1-1000 (default 60)", o.fps, 1, 1000,
                    "--fps needs a number 1-1000");
        cli::AddFlag(cmd, "--six-hundredths", "stretch the delays so the shortest frame\nlasts 6/100 s",
                     [&o] { o.flags |= kCaptureSixHundredths; });
    }
    cli::AddValue(cmd, "--background", "RRGGBB", "background colour (default: the CGround setting)",
                  [&o](const std::string& text) {
                      if (!cli::ParseColour(text, o.background))
                          throw cli::ArgError("--background needs RRGGBB");
                      o.haveBackground = true;
                  });
    if (gif) {
        cli::AddFlag(cmd, "--transparent", "the background becomes transparent", [&o] { o.flags |= kCaptureAlpha; });
        cli::AddValue(cmd, "--quality", "standard|high",
                      "how frames of more than 256 colours are reduced:\nstandard (the default) or high (a palette "
                      "fitted\nto each frame, slower)",
                      [&o](const std::string& v) {
                          if (v != "standard" && v != "high")
                              throw cli::ArgError("--quality takes standard or high");
                          o.quality = v == "high" ? eGifQuality::High : eGifQuality::Standard;
                      });
    } else {
        cli::AddFlag(cmd, "--alpha", "keep the alpha channel (else every pixel is opaque)",
                     [&o] { o.flags |= kCaptureAlpha; });
    }
    cli::AddFlag(cmd, "--interval", "at least one image per smallest frame interval",
                 [&o] { o.flags |= kCaptureInterval; });
    cli::AddFlag(cmd, "--flash", "draw flashes, one image per tick while one is active",
                 [&o] { o.flags |= kCaptureFlash; });
    cli::AddFlag(cmd, "--target", "draw the target picture (TargetPath setting, or\n--target-path)",
                 [&o] { o.flags |= kCaptureTarget; });
    cli::AddValue(cmd, "--target-path", "PATH", "the target picture (implies --target)", [&o](const std::string& path) {
        o.targetPath = path;
        o.flags |= kCaptureTarget;
    });
    if (!gif) {
        cli::AddInt(cmd, "--sheet", "COUNT", "combine all images into one sheet, COUNT per row (or\ncolumn)", o.sheet,
                    1, INT_MAX, "--sheet needs a count of at least 1");
        addBitChoice(cmd, o, "--fix", "rows|columns", "rows", kCaptureFixRows, "what COUNT fixes (default columns)");
        addBitChoice(cmd, o, "--order", "z|n", "n", kCaptureOrderN,
                     "z: rows left to right (default); n: columns top to\nbottom");
    }
    cmd.add_option("--config", o.config, "read settings from this config.ini")->type_name("PATH");
}

volatile std::sig_atomic_t g_interrupted = 0;
void onInterrupt(int) { g_interrupted = 1; }

// One bar over the whole job; the text names the phase and its own count.
void drawProgress(const cThread_SaveGraph& worker)
{
    const int width = 30;
    int done = worker.WorkDone(), total = worker.WorkTotal();
    int filled = total > 0 ? static_cast<int>(static_cast<long long>(done) * width / total) : 0;
    bool encoding = worker.Phase() != CP_CAPTURE;
    std::fprintf(stderr, "\r%s %d/%d [%.*s%*s]", encoding ? "encoding" : "images  ",
                 encoding ? worker.FramesEncoded() : worker.Count(), worker.Total(), filled,
                 "##############################", width - filled, "");
    std::fflush(stderr);
}

std::string refusal(const cCaptureImage& job)
{
    long long w = 0, h = 0;
    job.RefusedSize(w, h);
    std::string size = std::to_string(w) + " x " + std::to_string(h) + " pixels";
    switch (job.LastError()) {
    case CE_NOTHING: return "nothing to export (no frames, or an empty crop or image size)";
    case CE_LAYOUT: return "--sheet needs a count of at least 1";
    case CE_SHEET_TOO_LARGE: return "sheet too large: " + size + " (at most 3840 x 3840)";
    case CE_GIF_TOO_LARGE: return "GIF too large: " + size + " (at most 1024 x 1024)";
    case CE_MEMORY: return "cannot create the images";
    case CE_TOO_MANY:
        return "too many images: more than " + std::to_string(kMaxImages) +
               " (--interval and --flash make an image per tick or interval)";
    default: return "cannot prepare the export";
    }
}

int runExport(bool gif, Options o)
{
    const char* cmd = gif ? "export-gif" : "export-png";
    if (!gif && o.sheet < 0 && (o.flags & (kCaptureFixRows | kCaptureOrderN)))
        return cli::Fail(cmd, std::string("--fix and --order need --sheet (see mevko ") + cmd + " --help)");
    if (!o.config.empty() && !Settings().ReadSettings(o.config))
        return cli::Fail(o.config, "cannot read settings");
    if (!o.targetPath.empty())
        Settings().TargetPath = paths::FromDiskPath(o.targetPath);

    std::unique_ptr<cAnimeData> loaded = cli::LoadProject(o.in.c_str());
    if (!loaded)
        return 1;
    cAnimeData& project = *loaded;
    cli::SetWorkFolderFromPath(project, o.in.c_str());

    const strRenderOptions options = RenderOptionsOf(Settings());
    cSpriteDrawer drawer;
    drawer.SetOptions(options);
    drawer.LoadPictures(project);
    if ((o.flags & kCaptureTarget) && !drawer.LoadSingleSheet(Settings().TargetPath, kTargetSheet))
        return cli::Fail(Settings().TargetPath.empty() ? "--target" : paths::ForDisplay(Settings().TargetPath),
                         "cannot load the target picture");
    if (!o.haveCrop && !AutoCropRect(project, drawer, o.crop))
        return cli::Fail(o.in, "nothing to export (no cell shows a picture)");

    int flags = o.flags | (gif ? kCaptureGif : kCapturePng) | (o.sheet > 0 ? kCaptureCombine : 0);
    uint32_t background = o.haveBackground ? o.background : Settings().CGround & 0xFFFFFF;
    cThread_SaveGraph worker;
    cCaptureImage& job = worker.Job();
    job.UseDrawer(&drawer);
    job.SetGifQuality(o.quality);
    job.SetRenderOptions(options);
    if (!job.Init(o.out, &project, &o.crop, o.sheet, background, flags, o.fps, o.scale / 100.0))
        return cli::Fail(o.in, refusal(job));
    int total = job.ImageCount(), columns = job.Columns(), rows = job.Rows();
    int frameW = job.FrameWidth(), frameH = job.FrameHeight();

    bool terminal = ::isatty(STDERR_FILENO);
    g_interrupted = 0;
    struct sigaction action {
    }, previous{};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);

    if (!worker.Create(nullptr)) {
        sigaction(SIGINT, &previous, nullptr);
        return cli::Fail(o.out, "cannot start the export");
    }
    worker.Suspend(false);
    while (worker.IsActive()) {
        if (g_interrupted)
            worker.Cancel();
        if (terminal)
            drawProgress(worker);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    worker.Destroy();
    sigaction(SIGINT, &previous, nullptr);
    if (terminal) {
        drawProgress(worker);
        std::fputc('\n', stderr);
    }
    if (worker.Cancelled()) {
        std::string made = std::to_string(worker.Count()) + " of " + std::to_string(total) + " images";
        if (!gif && o.sheet < 0)
            return cli::Fail(o.out, "interrupted after " + made + " (those files are written)");
        return cli::Fail(o.out, "interrupted after " + made + "; nothing written");
    }
    if (!worker.Succeeded()) {
        std::string which = !gif && o.sheet < 0 ? NumberedPath(o.out, worker.Count()).string() : o.out;
        const std::string& reason = job.WriteReason();
        return cli::Fail(which, "cannot write the file" + (reason.empty() ? std::string() : ": " + reason));
    }

    if (gif)
        std::printf("%s: GIF of %d frames, %d x %d\n", o.out.c_str(), total, frameW, frameH);
    else if (o.sheet > 0)
        std::printf("%s: sheet of %d images, %d x %d of %d x %d\n", o.out.c_str(), total, columns, rows, frameW,
                    frameH);
    else
        std::printf("%s ... %s: %d images of %d x %d\n", NumberedPath(o.out, 0).string().c_str(),
                    NumberedPath(o.out, total - 1).string().c_str(), total, frameW, frameH);
    return 0;
}

} // namespace

cli::Command cli::AddExportPng(CLI::App& mevko)
{
    auto o = std::make_shared<Options>();
    CLI::App* cmd =
        mevko.add_subcommand("export-png", "Numbered PNG files, or one sheet with --sheet.\n\n"
                                           "Renders every image of the animation IN and writes numbered PNG files\n"
                                           "(OUT00000.png, OUT00001.png, ...) or, with --sheet, one sheet OUT.png.");
    addOptions(*cmd, *o, false);
    cmd->footer("Sheets are at most 3840 x 3840 pixels; an export makes at most 100000 images.\n\n" +
                cmd->get_footer());
    return {cmd, "needs IN and -o OUT", [o] { return runExport(false, *o); }};
}

cli::Command cli::AddExportGif(CLI::App& mevko)
{
    auto o = std::make_shared<Options>();
    CLI::App* cmd = mevko.add_subcommand(
        "export-gif", "Animated GIF.\n\nRenders the animation IN as an animated GIF that loops forever.");
    addOptions(*cmd, *o, true);
    cmd->footer("A GIF is at most 1024 x 1024 pixels and 100000 images.\n\n" + cmd->get_footer());
    return {cmd, "needs IN and -o OUT", [o] { return runExport(true, *o); }};
}
