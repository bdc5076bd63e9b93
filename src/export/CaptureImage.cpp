// cCaptureImage: job set-up, frame stepping with flashes, rendering and output.

#include "export/CaptureImage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image/PngWrite.h"
#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "render/Overlay.h"
#include "render/SpriteDrawer.h"

bool AutoCropRect(const cAnimeData& project, const cSpriteDrawer& drawer, strCaptureRect& out)
{
    double lo[2] = {0, 0}, hi[2] = {0, 0};
    for (int f = 0; f < project.FrameCapacity(); ++f) {
        if (!project.GetFrame(f))
            continue;
        for (int slot = 0; slot < project.CellCount(); ++slot) {
            const strCell* cell = project.GetCell(f, slot);
            if (!cell)
                continue;
            strSpriteParam p = drawer.CellParam(*cell, false);
            if (!p.sheet)
                continue;
            int w = 0, h = 0;
            p.sheet->PatternSize(w, h);
            double radians = 3.1415927 * p.angle / 180.0;
            double c = std::cos(radians), s = std::sin(radians);
            for (int corner = 0; corner < 4; ++corner) {
                double u = (corner & 1 ? 0.5 : -0.5) * w * p.scaleX;
                double v = (corner & 2 ? 0.5 : -0.5) * h * p.scaleY;
                double pt[2] = {p.x + u * c - v * s, p.y + u * s + v * c};
                for (int k = 0; k < 2; ++k) {
                    lo[k] = std::min(lo[k], std::floor(pt[k]) - 1);
                    hi[k] = std::max(hi[k], std::ceil(pt[k]) + 1);
                }
            }
        }
    }
    if (lo[0] == 0 && lo[1] == 0 && hi[0] == 0 && hi[1] == 0)
        return false;
    auto toInt = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
    out = {toInt(lo[0]), toInt(lo[1]), toInt(hi[0]), toInt(hi[1])};
    return true;
}

std::filesystem::path NumberedPath(const std::filesystem::path& path, int i)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05d", i);
    std::filesystem::path name = path.stem();
    name += digits;
    name += path.extension();
    return path.parent_path() / name;
}

cCaptureImage::cCaptureImage() = default;
cCaptureImage::~cCaptureImage() = default;

bool cCaptureImage::Fail(eCaptureError e)
{
    long long w = refusedW_, h = refusedH_;
    Clear();
    error_ = e;
    refusedW_ = w;
    refusedH_ = h;
    return false;
}

int cCaptureImage::FrameInterval(int frame) const { return std::max(1, project_->EffectiveInterval(frame, true)); }

void cCaptureImage::ResetStepping()
{
    frame_ = 0;
    ticks_ = 0;
    interval_ = FrameInterval(0);
    nextEffect_ = 0;
    elapsed_ = 0;
    delayed_ = 0;
    screenFlash_.Clear();
    targetFlash_.Clear();
}

void cCaptureImage::FireFlashes(int leftFrame)
{
    for (; nextEffect_ < project_->EffectCapacity(); ++nextEffect_) {
        const strEffect* e = project_->GetEffect(nextEffect_);
        if (!e || e->frame > leftFrame)
            break;
        StartEffectFlash(*e, screenFlash_, targetFlash_);
    }
}

void cCaptureImage::Advance()
{
    bool flashes = flags_ & kCaptureFlash;
    for (int spent = 1;; ++spent) {
        ++ticks_;
        elapsed_ += tickDelay_;
        bool end = false;
        if (flashes) {
            bool screen = screenFlash_.Step();
            bool target = targetFlash_.Step();
            end = screen || target;
        }
        if (ticks_ >= interval_) {
            int left = frame_++;
            ticks_ = 0;
            interval_ = FrameInterval(frame_);
            if (flashes)
                FireFlashes(left);
            end = true;
        }
        if ((flags_ & kCaptureInterval) && spent >= ticksPerImage_)
            end = true;
        if (end)
            return;
    }
}

bool cCaptureImage::Init(const std::filesystem::path& path, const cAnimeData* project, const strCaptureRect* rect,
                         int count, uint32_t background, int flags, int fps, double scale)
{
    Clear();
    refusedW_ = refusedH_ = 0;
    bool png = flags & kCapturePng, gif = flags & kCaptureGif;
    if (path.empty() || !project || !rect || png == gif)
        return Fail(CE_NO_INPUT);
    if (gif)
        flags &= ~kCaptureCombine; // an animation is never one sheet
    if (!(flags & kCaptureCombine))
        flags &= ~(kCaptureFixRows | kCaptureOrderN);

    strCaptureRect r = *rect;
    if (r.right < r.left) {
        std::swap(r.left, r.right);
        flags |= kCaptureMirrorH;
    }
    if (r.bottom < r.top) {
        std::swap(r.top, r.bottom);
        flags |= kCaptureFlipV;
    }
    project_ = project;
    path_ = path;
    flags_ = flags;
    left_ = r.left;
    top_ = r.top;
    long long w = static_cast<long long>(r.right) - r.left, h = static_cast<long long>(r.bottom) - r.top;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide || !(scale > 0))
        return Fail(CE_NOTHING);
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    frameW_ = static_cast<int>(std::min(1e6, std::floor(width_ * scale)));
    frameH_ = static_cast<int>(std::min(1e6, std::floor(height_ * scale)));
    background_ = background & 0xFFFFFF;

    if (shared_) {
        drawer_ = shared_;
    } else {
        own_ = std::make_unique<cSpriteDrawer>();
        own_->SetOptions(options_);
        own_->LoadPictures(*project);
        if (flags & kCaptureTarget)
            own_->LoadSingleSheet(options_.targetPath, kTargetSheet);
        drawer_ = own_.get();
    }

    int tw = 0, th = 0;
    if (const cPatternSheet* target = drawer_->Sheet(kTargetSheet); target && target->IsReady())
        target->PatternSize(tw, th);
    const strCanvasPoint targetAt = TargetPosition(project, options_, tw, th);
    targetX_ = targetAt.x;
    targetY_ = targetAt.y;

    frameCount_ = project->GetValue(AI_FRAMES);
    int smallest = 0;
    for (int f = 0; f < frameCount_; ++f) {
        int i = FrameInterval(f);
        smallest = smallest ? std::min(smallest, i) : i;
    }
    smallest = std::max(1, smallest);
    ticksPerImage_ = (flags & kCaptureFlash) ? 1 : smallest;

    tickDelay_ = 0; // no delay while counting
    ResetStepping();
    int images = 0;
    while (frame_ < frameCount_ && images <= kMaxImages) {
        ++images;
        Advance();
    }
    if (images > kMaxImages)
        return Fail(CE_TOO_MANY);
    imageCount_ = images;
    ResetStepping();

    fps = std::clamp(fps, 1, 1000);
    double k = 1;
    if (flags & kCaptureSixHundredths) {
        double l = smallest * 100.0 / fps;
        if (l > 0 && l < 6)
            k = 6 / l;
    }
    tickDelay_ = (100.0 / fps) * (k + 0.00001);

    columns_ = rows_ = 1;
    if (flags & kCaptureCombine) {
        if (count <= 0)
            return Fail(CE_LAYOUT);
        int other = std::max(1, (imageCount_ - 1) / count + 1);
        columns_ = (flags & kCaptureFixRows) ? other : count;
        rows_ = (flags & kCaptureFixRows) ? count : other;
    }
    if (imageCount_ <= 0 || frameW_ <= 0 || frameH_ <= 0)
        return Fail(CE_NOTHING);
    long long sheetW = static_cast<long long>(columns_) * frameW_, sheetH = static_cast<long long>(rows_) * frameH_;
    refusedW_ = sheetW;
    refusedH_ = sheetH;
    if (gif && (sheetW > kMaxGifSide || sheetH > kMaxGifSide))
        return Fail(CE_GIF_TOO_LARGE);
    if (sheetW > kMaxSheetSide || sheetH > kMaxSheetSide)
        return Fail(CE_SHEET_TOO_LARGE);

    if (!surface_.Create(width_, height_, 32) ||
        !output_.Create(static_cast<int>(sheetW), static_cast<int>(sheetH), 32, 0, 0xFF000000 | background_))
        return Fail(CE_MEMORY);
    // Tiles no image reaches show the background.
    for (int y = 0; y < output_.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(output_.Row(y));
        std::fill(row, row + output_.Width(), background_);
    }
    targetOpacity_ = std::clamp(options_.targetOpacity, 0, 255);
    if (gif)
        encoder_.Reset(quality_);
    phase_ = CP_CAPTURE;
    error_ = CE_NONE;
    writeReason_.clear();
    return true;
}

void cCaptureImage::Render(int frame)
{
    drawer_->BeginSurface(surface_, background_); // alpha 0: nothing drawn yet
    float dx = -(left_ + width_ / 2.0f), dy = -(top_ + height_ / 2.0f);
    if (flags_ & kCaptureTarget) {
        if (cPatternSheet* target = drawer_->Sheet(kTargetSheet); target && target->IsReady()) {
            strSpriteParam p;
            p.sheet = target;
            p.x = targetX_ + dx;
            p.y = targetY_ + dy;
            p.opacity = targetOpacity_;
            if (flags_ & kCaptureFlash)
                cSpriteDrawer::ApplyTargetFlash(p, targetFlash_);
            drawer_->DrawCell(p);
        }
    }
    drawer_->DrawFrame(*project_, frame, dx, dy, false);
    if (flags_ & kCaptureFlash)
        drawer_->DrawScreenFlash(screenFlash_);
    drawer_->Present();
}

void cCaptureImage::CopyToTile(int left, int top)
{
    // Nearest neighbour: rows and columns are dropped or repeated.
    std::vector<int> sx(static_cast<size_t>(frameW_));
    for (int x = 0; x < frameW_; ++x) {
        int s = static_cast<int>(static_cast<long long>(x) * width_ / frameW_);
        sx[static_cast<size_t>(x)] = (flags_ & kCaptureMirrorH) ? width_ - 1 - s : s;
    }
    for (int y = 0; y < frameH_; ++y) {
        int sy = static_cast<int>(static_cast<long long>(y) * height_ / frameH_);
        if (flags_ & kCaptureFlipV)
            sy = height_ - 1 - sy;
        const auto* src = reinterpret_cast<const uint32_t*>(surface_.Row(sy));
        auto* dst = reinterpret_cast<uint32_t*>(output_.Row(top + y)) + left;
        for (int x = 0; x < frameW_; ++x)
            dst[x] = src[sx[static_cast<size_t>(x)]];
    }
}

const CGIFLocal& cCaptureImage::GifFrame()
{
    frameOut_.image = output_;
    if (!(flags_ & kCaptureAlpha)) {
        for (int y = 0; y < frameOut_.image.Height(); ++y) {
            uint8_t* row = frameOut_.image.Row(y);
            for (int x = 0; x < frameOut_.image.Width(); ++x)
                row[4 * x + 3] = 255;
        }
    }
    frameOut_.disposal = 2;
    return frameOut_;
}

bool cCaptureImage::EmitImage()
{
    if (flags_ & kCapturePng)
        return WritePngRGBA(NumberedPath(path_, made_), output_, flags_ & kCaptureAlpha, &writeReason_);
    // The delay ends where the image's time ends, rounded, so the rounding of one
    // image is made up by the next and the delays add up to the animation's length.
    long long due = std::llround(std::min(elapsed_, 1e15)) - delayed_;
    delayed_ += due;
    const CGIFLocal& frame = GifFrame();
    frameOut_.delay = static_cast<int>(std::clamp(due, 0LL, 0xFFFFLL));
    return encoder_.Analyse(frame);
}

bool cCaptureImage::BeginEncoding()
{
    phase_ = CP_ENCODE;
    ResetStepping();
    file_ = std::make_unique<platform::cAtomicFile>();
    fileBuffer_.clear();
    if (!file_->Open(path_, &writeReason_))
        return false;
    auto sink = [this](const uint8_t* data, size_t size) {
        fileBuffer_.insert(fileBuffer_.end(), data, data + size);
        if (fileBuffer_.size() < (1u << 16))
            return true;
        bool ok = file_->Write(fileBuffer_.data(), fileBuffer_.size(), &writeReason_);
        fileBuffer_.clear();
        return ok;
    };
    uint32_t background = (flags_ & kCaptureAlpha) ? background_ : CGIFFile::kNoBackground;
    return encoder_.Begin(sink, background);
}

bool cCaptureImage::EncodeNext()
{
    if (encoded_ >= encoder_.FrameCount())
        return false;
    const CGIFLocal* frame = nullptr;
    if (encoder_.NeedsImage(encoded_)) {
        Render(frame_);
        CopyToTile(0, 0);
        frame = &GifFrame();
    }
    Advance();
    if (!encoder_.Write(encoded_, frame))
        return false;
    ++encoded_;
    return true;
}

bool cCaptureImage::Step()
{
    if (!project_ || writeFailed_)
        return false;
    if (phase_ == CP_CAPTURE && frame_ >= frameCount_) {
        if (!(flags_ & kCaptureGif))
            return false;
        if (!BeginEncoding()) {
            writeFailed_ = true;
            error_ = CE_WRITE;
            return false;
        }
    }
    if (phase_ == CP_ENCODE) {
        if (encoded_ >= imageCount_)
            return false;
        if (!EncodeNext()) {
            writeFailed_ = true;
            error_ = CE_WRITE;
            return false;
        }
        return true;
    }
    Render(frame_);
    Advance();
    if (flags_ & kCaptureCombine) {
        CopyToTile(column_ * frameW_, row_ * frameH_);
        if (flags_ & kCaptureOrderN) {
            if (++row_ >= rows_)
                row_ = 0, ++column_;
        } else {
            if (++column_ >= columns_)
                column_ = 0, ++row_;
        }
        // Past the last tile (only if the count were off) nothing more fits.
        if (column_ >= columns_ || row_ >= rows_)
            frame_ = frameCount_;
    } else {
        CopyToTile(0, 0);
        if (!EmitImage()) {
            writeFailed_ = true;
            error_ = CE_WRITE;
            return false;
        }
    }
    ++made_;
    return true;
}

bool cCaptureImage::Finish()
{
    if (!project_ || writeFailed_)
        return false;
    bool ok = true;
    if (flags_ & kCaptureGif)
        ok = file_ && encoded_ == imageCount_ && encoder_.End() &&
             file_->Write(fileBuffer_.data(), fileBuffer_.size(), &writeReason_) && file_->Commit(&writeReason_);
    else if (flags_ & kCaptureCombine)
        ok = WritePngRGBA(path_, output_, flags_ & kCaptureAlpha, &writeReason_);
    if (!ok)
        error_ = CE_WRITE;
    phase_ = CP_DONE;
    file_.reset();
    fileBuffer_ = {};
    return ok;
}

void cCaptureImage::Clear()
{
    project_ = nullptr;
    drawer_ = nullptr;
    own_.reset();
    path_.clear();
    surface_.Clear();
    output_.Clear();
    encoder_.Reset();
    frameOut_ = CGIFLocal();
    file_.reset(); // an unfinished GIF leaves no file
    fileBuffer_ = {};
    phase_ = CP_DONE;
    flags_ = 0;
    left_ = top_ = width_ = height_ = frameW_ = frameH_ = 0;
    columns_ = rows_ = column_ = row_ = 0;
    frameCount_ = frame_ = ticks_ = nextEffect_ = 0;
    interval_ = ticksPerImage_ = 1;
    tickDelay_ = elapsed_ = 0;
    delayed_ = 0;
    screenFlash_.Clear();
    targetFlash_.Clear();
    imageCount_ = made_ = encoded_ = 0;
    writeFailed_ = false;
    error_ = CE_NONE;
    writeReason_.clear();
}
