#pragma once
// cCaptureImage: one image export job. It steps through the animation tick by
// tick, renders each output image off-screen through the sprite drawer, and writes
// numbered PNG files, one combined PNG sheet or an animated GIF. A GIF is encoded as
// its images are captured (cGifEncoder), so no more than a few images are held.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "export/GifEncoder.h"
#include "export/GifFile.h"
#include "image/Bmp.h"
#include "render/FlashState.h"
#include "render/RenderOptions.h"

class cAnimeData;
class cSpriteDrawer;
namespace platform {
class cAtomicFile;
}

/** Job flags. */
enum : int {
    kCaptureInterval = 0x0001, // インターバル有効: at least one image per smallest frame interval
    kCaptureAlpha = 0x0004,    // PNG: keep alpha; GIF: background transparent
    kCaptureFixRows = 0x0010,  // 縦 固定: the count fixes the rows (else the columns)
    kCaptureOrderN = 0x0020,   // И order: columns top to bottom (else Ｚ: rows left to right)
    kCaptureCombine = 0x0040,  // １枚に結合: one sheet
    kCapturePng = 0x0080,
    kCaptureGif = 0x0100,
    kCaptureSixHundredths = 0x0200, // 6/100s制限
    kCaptureFlipV = 0x1000,         // crop given bottom-up
    kCaptureMirrorH = 0x2000,       // crop given right to left
    kCaptureTarget = 0x4000,        // 対象画像
    kCaptureFlash = 0x8000,         // フラッシュ
};

/** Largest sheet side, and largest GIF side. */
constexpr int kMaxSheetSide = 3840;
constexpr int kMaxGifSide = 1024;
/** Most images one export makes: what five-digit file numbers can name. */
constexpr int kMaxImages = 100000;

/** Why init, step or finish failed. */
enum eCaptureError {
    CE_NONE = 0,
    CE_NO_INPUT,        // no path, project or rectangle, or bad flags
    CE_NOTHING,         // no image to export, or an empty crop or frame size
    CE_LAYOUT,          // combining with a count of 0
    CE_SHEET_TOO_LARGE, // wider or taller than kMaxSheetSide
    CE_GIF_TOO_LARGE,   // a GIF wider or taller than kMaxGifSide
    CE_MEMORY,          // the render target or output image could not be made
    CE_WRITE,           // a file could not be written
    CE_TOO_MANY,        // more than kMaxImages images
};

/** What a job is doing: capturing images, then (GIF) encoding them into the file. */
enum eCapturePhase { CP_CAPTURE, CP_ENCODE, CP_DONE };

/** Crop rectangle in animation coordinates (right/left or bottom/top may be swapped). */
struct strCaptureRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

/** The box around every valid cell of every frame (each corner after scale and
 *  rotation, widened by one pixel), grown from (0, 0, 0, 0). False when it stays
 *  (0, 0, 0, 0). */
bool AutoCropRect(const cAnimeData& project, const cSpriteDrawer& drawer, strCaptureRect& out);

/** Image i of a numbered sequence: "%05d" inserted before the extension. */
std::filesystem::path NumberedPath(const std::filesystem::path& path, int i);

class cCaptureImage {
public:
    cCaptureImage();
    ~cCaptureImage();
    cCaptureImage(const cCaptureImage&) = delete;
    cCaptureImage& operator=(const cCaptureImage&) = delete;

    /** Renders with `drawer` (whose sheets must hold the project's pictures and, for
     *  the target picture, the sheet −11) instead of a drawer of the job's own that
     *  init loads from the project. Call before init. */
    void UseDrawer(cSpriteDrawer* drawer) { shared_ = drawer; }
    /** How a GIF's rich frames are reduced; call before init. */
    void SetGifQuality(eGifQuality quality) { quality_ = quality; }
    /** The drawing options (target picture, transparency) the job keeps; call before init. */
    void SetRenderOptions(const strRenderOptions& options) { options_ = options; }

    /** Prepares a job; false on any failure (see LastError). `count` is the number of
     *  columns (rows with kCaptureFixRows) when combining; `background` is 0xRRGGBB;
     *  `scale` multiplies the crop size. */
    bool Init(const std::filesystem::path& path, const cAnimeData* project, const strCaptureRect* rect, int count,
              uint32_t background, int flags, int fps, double scale);
    /** One unit of work: makes the next output image or, for a GIF once every image
     *  is made, encodes the next frame into the file. False when there is nothing
     *  left (or a write failed). */
    bool Step();
    /** Writes the combined sheet or completes the GIF. False when that, or an
     *  earlier write, failed. */
    bool Finish();
    /** Discards the job and its images; nothing more is written, and a GIF being
     *  written leaves no file. */
    void Clear();

    int ImageCount() const { return imageCount_; }
    int ImagesMade() const { return made_; }
    int FramesEncoded() const { return encoded_; }
    eCapturePhase Phase() const { return phase_; }
    /** One measure of the whole job: images made plus, for a GIF, frames encoded. */
    int WorkDone() const { return made_ + encoded_; }
    int WorkTotal() const { return (flags_ & kCaptureGif) ? 2 * imageCount_ : imageCount_; }
    int Flags() const { return flags_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int FrameWidth() const { return frameW_; }
    int FrameHeight() const { return frameH_; }
    eCaptureError LastError() const { return error_; }
    /** The system's reason when a file could not be written (empty if not known). */
    const std::string& WriteReason() const { return writeReason_; }
    /** The sheet size init refused with CE_SHEET_TOO_LARGE or CE_GIF_TOO_LARGE. */
    void RefusedSize(long long& w, long long& h) const { w = refusedW_, h = refusedH_; }
    /** The output image (the sheet, or the last image when not combining). */
    const cBMP& Output() const { return output_; }

private:
    bool Fail(eCaptureError e);
    void ResetStepping();
    int FrameInterval(int frame) const;
    /** Runs the ticks of one output image. */
    void Advance();
    void FireFlashes(int leftFrame);
    void Render(int frame);
    void CopyToTile(int left, int top);
    bool EmitImage();
    /** The current image as a GIF frame (delay set by the caller). */
    const CGIFLocal& GifFrame();
    bool BeginEncoding();
    bool EncodeNext();

    cSpriteDrawer* shared_ = nullptr;
    std::unique_ptr<cSpriteDrawer> own_;
    cSpriteDrawer* drawer_ = nullptr;

    const cAnimeData* project_ = nullptr;
    std::filesystem::path path_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int frameW_ = 0, frameH_ = 0;
    int columns_ = 0, rows_ = 0;
    int column_ = 0, row_ = 0;
    uint32_t background_ = 0;
    int flags_ = 0;
    eCaptureError error_ = CE_NONE;
    long long refusedW_ = 0, refusedH_ = 0;

    // Frame stepping.
    int frameCount_ = 0;
    int frame_ = 0, ticks_ = 0, interval_ = 1, ticksPerImage_ = 1, nextEffect_ = 0;
    double tickDelay_ = 0;
    double elapsed_ = 0;    // hundredths of a second since the start
    long long delayed_ = 0; // sum of the delays given so far
    strFlashState screenFlash_, targetFlash_;
    float targetX_ = 0, targetY_ = 0;
    int targetOpacity_ = 255;

    cBMP surface_; // render target of the crop size
    cBMP output_;  // sheet size, key colour = background
    eGifQuality quality_ = eGifQuality::Standard;
    strRenderOptions options_;
    cGifEncoder encoder_;
    CGIFLocal frameOut_;
    std::unique_ptr<platform::cAtomicFile> file_;
    std::vector<uint8_t> fileBuffer_;
    eCapturePhase phase_ = CP_DONE;
    int imageCount_ = 0, made_ = 0, encoded_ = 0;
    bool writeFailed_ = false;
    std::string writeReason_;
};
