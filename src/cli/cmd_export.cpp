// mevko export-png / export-gif: the image export jobs of the editor's PNG and GIF
// dialogs, run on the export worker with a progress bar on a terminal.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "cli/Cli.h"
#include "export/SaveThread.h"
#include "model/AnimeData.h"
#include "project/Paths.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"

namespace {

const char kPngUsage[] =
    "usage: mevko export-png IN -o OUT.png [options]\n"
    "Renders every image of the animation IN and writes numbered PNG files\n"
    "(OUT00000.png, OUT00001.png, ...) or, with --sheet, one sheet OUT.png.\n"
    "\n"
    "  --crop L,T,R,B      crop rectangle in animation coordinates; R < L mirrors and\n"
    "                      B < T flips the images\n"
    "  --auto-crop         the box around every cell of every frame (the default)\n"
    "  --scale PERCENT     image size, 1-200 (default 100)\n"
    "  --background RRGGBB background colour (default: the CGround setting)\n"
    "  --alpha             keep the alpha channel (else every pixel is opaque)\n"
    "  --interval          at least one image per smallest frame interval\n"
    "  --flash             draw flashes, one image per tick while one is active\n"
    "  --target            draw the target picture (TargetPath setting, or --target-path)\n"
    "  --target-path PATH  the target picture\n"
    "  --sheet COUNT       combine all images into one sheet, COUNT per row (or column)\n"
    "  --fix rows|columns  what COUNT fixes (default columns)\n"
    "  --order z|n         z: rows left to right (default); n: columns top to bottom\n"
    "  --config PATH       read settings from this config.ini\n"
    "Sheets are at most 3840 x 3840 pixels; an export makes at most 100000 images.\n";

const char kGifUsage[] =
    "usage: mevko export-gif IN -o OUT.gif [options]\n"
    "Renders the animation IN as an animated GIF that loops forever.\n"
    "\n"
    "  --crop L,T,R,B      crop rectangle in animation coordinates; R < L mirrors and\n"
    "                      B < T flips the images\n"
    "  --auto-crop         the box around every cell of every frame (the default)\n"
    "  --scale PERCENT     image size, 1-200 (default 100)\n"
    "  --fps N             ticks per second, 1-1000 (default 60)\n"
    "  --six-hundredths    stretch the delays so the shortest frame lasts 6/100 s\n"
    "  --background RRGGBB background colour (default: the CGround setting)\n"
    "  --transparent       the background becomes transparent\n"
    "  --quality standard|high\n"
    "                      how frames of more than 256 colours are reduced: standard\n"
    "                      (the default) or high (a palette fitted to each frame, slower)\n"
    "  --interval          at least one image per smallest frame interval\n"
    "  --flash             draw flashes, one image per tick while one is active\n"
    "  --target            draw the target picture (TargetPath setting, or --target-path)\n"
    "  --target-path PATH  the target picture\n"
    "  --config PATH       read settings from this config.ini\n"
    "A GIF is at most 1024 x 1024 pixels and 100000 images.\n";

struct Options {
    const char* in = nullptr;
    const char* out = nullptr;
    const char* config = nullptr;
    const char* targetPath = nullptr;
    bool haveCrop = false;
    strCaptureRect crop;
    int scale = 100, fps = 60, sheet = -1;
    bool haveBackground = false;
    uint32_t background = 0;
    int flags = 0;
    eGifQuality quality = eGifQuality::Standard;
};

bool parseInt(const char* text, int& out)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!text[0] || *end || v < -2147483647L || v > 2147483647L) return false;
    out = static_cast<int>(v);
    return true;
}

bool parseCrop(const char* text, strCaptureRect& r)
{
    int v[4];
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        long n = std::strtol(p, &end, 10);
        if (end == p || n < -1000000 || n > 1000000 || *end != (i < 3 ? ',' : '\0')) return false;
        v[i] = static_cast<int>(n);
        p = end + 1;
    }
    r = {v[0], v[1], v[2], v[3]};
    return true;
}

bool parseColour(const char* text, uint32_t& out)
{
    if (*text == '#') ++text;
    if (std::strlen(text) != 6 || std::strspn(text, "0123456789abcdefABCDEF") != 6) return false;
    out = static_cast<uint32_t>(std::strtoul(text, nullptr, 16));
    return true;
}

// Parses the options; returns -1 to go on, else the exit code.
int parse(bool gif, int argc, char** argv, Options& o)
{
    const char* cmd = gif ? "export-gif" : "export-png";
    auto bad = [&](const std::string& why) { return cli::Fail(cmd, why + " (see mevko " + cmd + " --help)"); };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        const char* value = hasValue ? argv[i + 1] : nullptr;
        if (a == "--help" || a == "-h") {
            std::fputs(gif ? kGifUsage : kPngUsage, stdout);
            return 0;
        } else if (a == "-o" && hasValue) {
            o.out = argv[++i];
        } else if (a == "--config" && hasValue) {
            o.config = argv[++i];
        } else if (a == "--crop" && hasValue) {
            if (!parseCrop(value, o.crop)) return bad("--crop needs L,T,R,B");
            o.haveCrop = true;
            ++i;
        } else if (a == "--auto-crop") {
            o.haveCrop = false;
        } else if (a == "--scale" && hasValue) {
            if (!parseInt(value, o.scale) || o.scale < 1 || o.scale > 200) return bad("--scale needs a percentage 1-200");
            ++i;
        } else if (a == "--background" && hasValue) {
            if (!parseColour(value, o.background)) return bad("--background needs RRGGBB");
            o.haveBackground = true;
            ++i;
        } else if (a == "--interval") {
            o.flags |= kCaptureInterval;
        } else if (a == "--flash") {
            o.flags |= kCaptureFlash;
        } else if (a == "--target") {
            o.flags |= kCaptureTarget;
        } else if (a == "--target-path" && hasValue) {
            o.targetPath = argv[++i];
            o.flags |= kCaptureTarget;
        } else if (gif && a == "--fps" && hasValue) {
            if (!parseInt(value, o.fps) || o.fps < 1 || o.fps > 1000) return bad("--fps needs a number 1-1000");
            ++i;
        } else if (gif && a == "--six-hundredths") {
            o.flags |= kCaptureSixHundredths;
        } else if (gif && a == "--quality" && hasValue) {
            std::string v = argv[++i];
            if (v != "standard" && v != "high") return bad("--quality takes standard or high");
            o.quality = v == "high" ? eGifQuality::High : eGifQuality::Standard;
        } else if (gif && a == "--transparent") {
            o.flags |= kCaptureAlpha;
        } else if (!gif && a == "--alpha") {
            o.flags |= kCaptureAlpha;
        } else if (!gif && a == "--sheet" && hasValue) {
            if (!parseInt(value, o.sheet) || o.sheet < 1) return bad("--sheet needs a count of at least 1");
            ++i;
        } else if (!gif && a == "--fix" && hasValue) {
            std::string v = argv[++i];
            if (v != "rows" && v != "columns") return bad("--fix takes rows or columns");
            o.flags = (o.flags & ~kCaptureFixRows) | (v == "rows" ? kCaptureFixRows : 0);
        } else if (!gif && a == "--order" && hasValue) {
            std::string v = argv[++i];
            if (v != "z" && v != "n") return bad("--order takes z or n");
            o.flags = (o.flags & ~kCaptureOrderN) | (v == "n" ? kCaptureOrderN : 0);
        } else if (!o.in && a[0] != '-') {
            o.in = argv[i];
        } else {
            return bad("unexpected argument '" + a + "'");
        }
    }
    if (!o.in || !o.out) return bad("needs IN and -o OUT");
    if (!gif && o.sheet < 0 && (o.flags & (kCaptureFixRows | kCaptureOrderN)))
        return bad("--fix and --order need --sheet");
    return -1;
}

volatile std::sig_atomic_t g_interrupted = 0;
void onInterrupt(int) { g_interrupted = 1; }

// One bar over the whole job; the text names the phase and its own count.
void drawProgress(const cThread_SaveGraph& worker)
{
    const int width = 30;
    int done = worker.workDone(), total = worker.workTotal();
    int filled = total > 0 ? static_cast<int>(static_cast<long long>(done) * width / total) : 0;
    bool encoding = worker.phase() != CP_CAPTURE;
    std::fprintf(stderr, "\r%s %d/%d [%.*s%*s]", encoding ? "encoding" : "images  ",
                 encoding ? worker.framesEncoded() : worker.count(), worker.total(), filled,
                 "##############################", width - filled, "");
    std::fflush(stderr);
}

std::string refusal(const cCaptureImage& job)
{
    long long w = 0, h = 0;
    job.refusedSize(w, h);
    std::string size = std::to_string(w) + " x " + std::to_string(h) + " pixels";
    switch (job.lastError()) {
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

int runExport(bool gif, int argc, char** argv)
{
    Options o;
    if (int rc = parse(gif, argc, argv, o); rc >= 0) return rc;
    if (o.config && !Settings().ReadSettings(o.config)) return cli::Fail(o.config, "cannot read settings");
    if (o.targetPath) Settings().TargetPath = paths::FromDiskPath(o.targetPath);

    std::unique_ptr<cAnimeData> loaded = cli::LoadProject(o.in);
    if (!loaded) return 1;
    cAnimeData& project = *loaded;
    cli::SetWorkFolderFromPath(project, o.in);

    cSpriteDrawer drawer;
    drawer.loadPictures(project);
    if ((o.flags & kCaptureTarget) && !drawer.loadSingleSheet(Settings().TargetPath, kTargetSheet))
        return cli::Fail(Settings().TargetPath.empty() ? "--target" : paths::ForDisplay(Settings().TargetPath),
                         "cannot load the target picture");
    if (!o.haveCrop && !autoCropRect(project, drawer, o.crop))
        return cli::Fail(o.in, "nothing to export (no cell shows a picture)");

    int flags = o.flags | (gif ? kCaptureGif : kCapturePng) | (o.sheet > 0 ? kCaptureCombine : 0);
    uint32_t background = o.haveBackground ? o.background : Settings().CGround & 0xFFFFFF;
    cThread_SaveGraph worker;
    cCaptureImage& job = worker.job();
    job.useDrawer(&drawer);
    job.setGifQuality(o.quality);
    if (!job.init(o.out, &project, &o.crop, o.sheet, background, flags, o.fps, o.scale / 100.0))
        return cli::Fail(o.in, refusal(job));
    int total = job.imageCount(), columns = job.columns(), rows = job.rows();
    int frameW = job.frameWidth(), frameH = job.frameHeight();

    bool terminal = ::isatty(STDERR_FILENO);
    g_interrupted = 0;
    struct sigaction action {}, previous {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);

    if (!worker.create(nullptr)) {
        sigaction(SIGINT, &previous, nullptr);
        return cli::Fail(o.out, "cannot start the export");
    }
    worker.suspend(false);
    while (worker.isActive()) {
        if (g_interrupted) worker.cancel();
        if (terminal) drawProgress(worker);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    worker.destroy();
    sigaction(SIGINT, &previous, nullptr);
    if (terminal) {
        drawProgress(worker);
        std::fputc('\n', stderr);
    }
    if (worker.cancelled()) {
        std::string made = std::to_string(worker.count()) + " of " + std::to_string(total) + " images";
        if (!gif && o.sheet < 0) return cli::Fail(o.out, "interrupted after " + made + " (those files are written)");
        return cli::Fail(o.out, "interrupted after " + made + "; nothing written");
    }
    if (!worker.succeeded()) {
        std::string which = !gif && o.sheet < 0 ? numberedPath(o.out, worker.count()).string() : o.out;
        const std::string& reason = job.writeReason();
        return cli::Fail(which, "cannot write the file" + (reason.empty() ? std::string() : ": " + reason));
    }

    if (gif)
        std::printf("%s: GIF of %d frames, %d x %d\n", o.out, total, frameW, frameH);
    else if (o.sheet > 0)
        std::printf("%s: sheet of %d images, %d x %d of %d x %d\n", o.out, total, columns, rows, frameW, frameH);
    else
        std::printf("%s ... %s: %d images of %d x %d\n", numberedPath(o.out, 0).string().c_str(),
                    numberedPath(o.out, total - 1).string().c_str(), total, frameW, frameH);
    return 0;
}

}  // namespace

int cmdExportPng(int argc, char** argv)
{
    return runExport(false, argc, argv);
}

int cmdExportGif(int argc, char** argv)
{
    return runExport(true, argc, argv);
}
