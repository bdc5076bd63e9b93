#pragma once
// A small project for capture tests: one picture of two 8 x 8 patterns (1 red,
// 2 blue) and frames holding one cell each.

#include <memory>

#include "export/CaptureImage.h"
#include "image/PngWrite.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#include "support/ExportTestUtil.h"

namespace exporttest {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

struct CaptureProject {
    TempDir dir;
    cAnimeData project;
    strRenderOptions options = RenderOptionsOf(cSettings());

    /** `frames` frames of the given interval, each with a cell of pattern 1 (even
     *  frames) or 2 (odd) at (x, y). */
    explicit CaptureProject(int frames, int interval = 1, int x = 0, int y = 0)
    {
        options.transType = 0; // pictures drawn as they are
        cBMP sheet = MakeImage(16, 8, [](int px, int) { return px < 8 ? kRed : kBlue; });
        WritePngRGBA(dir / "pic.png", sheet, true);
        project.NewProject(dir.path.string());
        project.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
        project.SetValue(AI_EDIT_FORMAT, 0);
        project.SetValue(AI_BASE_INTERVAL, 1);
        strPicture pic;
        pic.divX = 2;
        pic.divY = 1;
        pic.path = (dir / "pic.png").string();
        project.SetPicture(pic, 0);
        if (frames > 1)
            project.InsertFrames(0, frames - 1);
        if (frames == 0)
            project.DeleteFrames(0, 1, true);
        for (int f = 0; f < frames; ++f) {
            project.SetInterval(f, interval);
            strCell cell;
            cell.picture = 0;
            cell.pattern = static_cast<uint16_t>(f % 2 + 1);
            cell.x = static_cast<int16_t>(x);
            cell.y = static_cast<int16_t>(y);
            cell.opacity = 255;
            project.SetCell(f, 0, &cell);
        }
    }

    fs::path Path(const std::string& name) const { return dir / name; }
};

/** Runs a job to the end; returns how many images it made. */
inline int RunJob(cCaptureImage& job)
{
    while (job.Step()) {
    }
    EXPECT_TRUE(job.Finish());
    return job.ImagesMade();
}

} // namespace exporttest
