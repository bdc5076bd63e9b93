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

bool autoCropRect(const cAnimeData& project, const cSpriteDrawer& drawer, strCaptureRect& out)
{
    double lo[2] = {0, 0}, hi[2] = {0, 0};
    for (int f = 0; f < project.FrameCapacity(); ++f) {
        if (!project.GetFrame(f)) continue;
        for (int slot = 0; slot < project.CellCount(); ++slot) {
            const strCell* cell = project.GetCell(f, slot);
            if (!cell) continue;
            strSpriteParam p = drawer.cellParam(*cell, false);
            if (!p.sheet) continue;
            int w = 0, h = 0;
            p.sheet->patternSize(w, h);
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
    if (lo[0] == 0 && lo[1] == 0 && hi[0] == 0 && hi[1] == 0) return false;
    auto toInt = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
    out = {toInt(lo[0]), toInt(lo[1]), toInt(hi[0]), toInt(hi[1])};
    return true;
}

std::filesystem::path numberedPath(const std::filesystem::path& path, int i)
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

bool cCaptureImage::fail(eCaptureError e)
{
    long long w = m_refusedW, h = m_refusedH;
    clear();
    m_error = e;
    m_refusedW = w;
    m_refusedH = h;
    return false;
}

int cCaptureImage::frameInterval(int frame) const
{
    return std::max(1, m_project->EffectiveInterval(frame, true));
}

void cCaptureImage::resetStepping()
{
    m_frame = 0;
    m_ticks = 0;
    m_interval = frameInterval(0);
    m_nextEffect = 0;
    m_elapsed = 0;
    m_delayed = 0;
    m_screenFlash.clear();
    m_targetFlash.clear();
}

void cCaptureImage::fireFlashes(int leftFrame)
{
    for (; m_nextEffect < m_project->EffectCapacity(); ++m_nextEffect) {
        const strEffect* e = m_project->GetEffect(m_nextEffect);
        if (!e || e->frame > leftFrame) break;
        StartEffectFlash(*e, m_screenFlash, m_targetFlash);
    }
}

void cCaptureImage::advance()
{
    bool flashes = m_flags & kCaptureFlash;
    for (int spent = 1;; ++spent) {
        ++m_ticks;
        m_elapsed += m_tickDelay;
        bool end = false;
        if (flashes) {
            bool screen = m_screenFlash.step();
            bool target = m_targetFlash.step();
            end = screen || target;
        }
        if (m_ticks >= m_interval) {
            int left = m_frame++;
            m_ticks = 0;
            m_interval = frameInterval(m_frame);
            if (flashes) fireFlashes(left);
            end = true;
        }
        if ((m_flags & kCaptureInterval) && spent >= m_ticksPerImage) end = true;
        if (end) return;
    }
}

bool cCaptureImage::init(const std::filesystem::path& path, const cAnimeData* project, const strCaptureRect* rect,
                         int count, uint32_t background, int flags, int fps, double scale)
{
    clear();
    m_refusedW = m_refusedH = 0;
    bool png = flags & kCapturePng, gif = flags & kCaptureGif;
    if (path.empty() || !project || !rect || png == gif) return fail(CE_NO_INPUT);
    if (gif) flags &= ~kCaptureCombine;  // an animation is never one sheet
    if (!(flags & kCaptureCombine)) flags &= ~(kCaptureFixRows | kCaptureOrderN);

    strCaptureRect r = *rect;
    if (r.right < r.left) {
        std::swap(r.left, r.right);
        flags |= kCaptureMirrorH;
    }
    if (r.bottom < r.top) {
        std::swap(r.top, r.bottom);
        flags |= kCaptureFlipV;
    }
    m_project = project;
    m_path = path;
    m_flags = flags;
    m_left = r.left;
    m_top = r.top;
    long long w = static_cast<long long>(r.right) - r.left, h = static_cast<long long>(r.bottom) - r.top;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide || !(scale > 0)) return fail(CE_NOTHING);
    m_width = static_cast<int>(w);
    m_height = static_cast<int>(h);
    m_frameW = static_cast<int>(std::min(1e6, std::floor(m_width * scale)));
    m_frameH = static_cast<int>(std::min(1e6, std::floor(m_height * scale)));
    m_background = background & 0xFFFFFF;

    if (m_shared) {
        m_drawer = m_shared;
    } else {
        m_own = std::make_unique<cSpriteDrawer>();
        m_own->setOptions(m_options);
        m_own->loadPictures(*project);
        if (flags & kCaptureTarget) m_own->loadSingleSheet(m_options.targetPath, kTargetSheet);
        m_drawer = m_own.get();
    }

    int tw = 0, th = 0;
    if (const cPatternSheet* target = m_drawer->sheet(kTargetSheet); target && target->isReady())
        target->patternSize(tw, th);
    const strCanvasPoint targetAt = TargetPosition(project, m_options, tw, th);
    m_targetX = targetAt.x;
    m_targetY = targetAt.y;

    m_frameCount = project->GetValue(AI_FRAMES);
    int smallest = 0;
    for (int f = 0; f < m_frameCount; ++f) {
        int i = frameInterval(f);
        smallest = smallest ? std::min(smallest, i) : i;
    }
    smallest = std::max(1, smallest);
    m_ticksPerImage = (flags & kCaptureFlash) ? 1 : smallest;

    m_tickDelay = 0;  // no delay while counting
    resetStepping();
    int images = 0;
    while (m_frame < m_frameCount && images <= kMaxImages) {
        ++images;
        advance();
    }
    if (images > kMaxImages) return fail(CE_TOO_MANY);
    m_imageCount = images;
    resetStepping();

    fps = std::clamp(fps, 1, 1000);
    double k = 1;
    if (flags & kCaptureSixHundredths) {
        double l = smallest * 100.0 / fps;
        if (l > 0 && l < 6) k = 6 / l;
    }
    m_tickDelay = (100.0 / fps) * (k + 0.00001);

    m_columns = m_rows = 1;
    if (flags & kCaptureCombine) {
        if (count <= 0) return fail(CE_LAYOUT);
        int other = std::max(1, (m_imageCount - 1) / count + 1);
        m_columns = (flags & kCaptureFixRows) ? other : count;
        m_rows = (flags & kCaptureFixRows) ? count : other;
    }
    if (m_imageCount <= 0 || m_frameW <= 0 || m_frameH <= 0) return fail(CE_NOTHING);
    long long sheetW = static_cast<long long>(m_columns) * m_frameW, sheetH = static_cast<long long>(m_rows) * m_frameH;
    m_refusedW = sheetW;
    m_refusedH = sheetH;
    if (gif && (sheetW > kMaxGifSide || sheetH > kMaxGifSide)) return fail(CE_GIF_TOO_LARGE);
    if (sheetW > kMaxSheetSide || sheetH > kMaxSheetSide) return fail(CE_SHEET_TOO_LARGE);

    if (!m_surface.create(m_width, m_height, 32) ||
        !m_output.create(static_cast<int>(sheetW), static_cast<int>(sheetH), 32, 0, 0xFF000000 | m_background))
        return fail(CE_MEMORY);
    // Tiles no image reaches show the background.
    for (int y = 0; y < m_output.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(m_output.row(y));
        std::fill(row, row + m_output.width(), m_background);
    }
    m_targetOpacity = std::clamp(m_options.targetOpacity, 0, 255);
    if (gif) m_encoder.reset(m_quality);
    m_phase = CP_CAPTURE;
    m_error = CE_NONE;
    m_writeReason.clear();
    return true;
}

void cCaptureImage::render(int frame)
{
    m_drawer->beginSurface(m_surface, m_background);  // alpha 0: nothing drawn yet
    float dx = -(m_left + m_width / 2.0f), dy = -(m_top + m_height / 2.0f);
    if (m_flags & kCaptureTarget) {
        if (cPatternSheet* target = m_drawer->sheet(kTargetSheet); target && target->isReady()) {
            strSpriteParam p;
            p.sheet = target;
            p.x = m_targetX + dx;
            p.y = m_targetY + dy;
            p.opacity = m_targetOpacity;
            if (m_flags & kCaptureFlash) cSpriteDrawer::applyTargetFlash(p, m_targetFlash);
            m_drawer->drawCell(p);
        }
    }
    m_drawer->drawFrame(*m_project, frame, dx, dy, false);
    if (m_flags & kCaptureFlash) m_drawer->drawScreenFlash(m_screenFlash);
    m_drawer->present();
}

void cCaptureImage::copyToTile(int left, int top)
{
    // Nearest neighbour: rows and columns are dropped or repeated.
    std::vector<int> sx(static_cast<size_t>(m_frameW));
    for (int x = 0; x < m_frameW; ++x) {
        int s = static_cast<int>(static_cast<long long>(x) * m_width / m_frameW);
        sx[static_cast<size_t>(x)] = (m_flags & kCaptureMirrorH) ? m_width - 1 - s : s;
    }
    for (int y = 0; y < m_frameH; ++y) {
        int sy = static_cast<int>(static_cast<long long>(y) * m_height / m_frameH);
        if (m_flags & kCaptureFlipV) sy = m_height - 1 - sy;
        const auto* src = reinterpret_cast<const uint32_t*>(m_surface.row(sy));
        auto* dst = reinterpret_cast<uint32_t*>(m_output.row(top + y)) + left;
        for (int x = 0; x < m_frameW; ++x) dst[x] = src[sx[static_cast<size_t>(x)]];
    }
}

const CGIFLocal& cCaptureImage::gifFrame()
{
    m_frameOut.image = m_output;
    if (!(m_flags & kCaptureAlpha)) {
        for (int y = 0; y < m_frameOut.image.height(); ++y) {
            uint8_t* row = m_frameOut.image.row(y);
            for (int x = 0; x < m_frameOut.image.width(); ++x) row[4 * x + 3] = 255;
        }
    }
    m_frameOut.disposal = 2;
    return m_frameOut;
}

bool cCaptureImage::emitImage()
{
    if (m_flags & kCapturePng)
        return writePngRGBA(numberedPath(m_path, m_made), m_output, m_flags & kCaptureAlpha, &m_writeReason);
    // The delay ends where the image's time ends, rounded, so the rounding of one
    // image is made up by the next and the delays add up to the animation's length.
    long long due = std::llround(std::min(m_elapsed, 1e15)) - m_delayed;
    m_delayed += due;
    const CGIFLocal& frame = gifFrame();
    m_frameOut.delay = static_cast<int>(std::clamp(due, 0LL, 0xFFFFLL));
    return m_encoder.analyse(frame);
}

bool cCaptureImage::beginEncoding()
{
    m_phase = CP_ENCODE;
    resetStepping();
    m_file = std::make_unique<platform::cAtomicFile>();
    m_fileBuffer.clear();
    if (!m_file->Open(m_path, &m_writeReason)) return false;
    auto sink = [this](const uint8_t* data, size_t size) {
        m_fileBuffer.insert(m_fileBuffer.end(), data, data + size);
        if (m_fileBuffer.size() < (1u << 16)) return true;
        bool ok = m_file->Write(m_fileBuffer.data(), m_fileBuffer.size(), &m_writeReason);
        m_fileBuffer.clear();
        return ok;
    };
    uint32_t background = (m_flags & kCaptureAlpha) ? m_background : CGIFFile::kNoBackground;
    return m_encoder.begin(sink, background);
}

bool cCaptureImage::encodeNext()
{
    if (m_encoded >= m_encoder.frameCount()) return false;
    const CGIFLocal* frame = nullptr;
    if (m_encoder.needsImage(m_encoded)) {
        render(m_frame);
        copyToTile(0, 0);
        frame = &gifFrame();
    }
    advance();
    if (!m_encoder.write(m_encoded, frame)) return false;
    ++m_encoded;
    return true;
}

bool cCaptureImage::step()
{
    if (!m_project || m_writeFailed) return false;
    if (m_phase == CP_CAPTURE && m_frame >= m_frameCount) {
        if (!(m_flags & kCaptureGif)) return false;
        if (!beginEncoding()) {
            m_writeFailed = true;
            m_error = CE_WRITE;
            return false;
        }
    }
    if (m_phase == CP_ENCODE) {
        if (m_encoded >= m_imageCount) return false;
        if (!encodeNext()) {
            m_writeFailed = true;
            m_error = CE_WRITE;
            return false;
        }
        return true;
    }
    render(m_frame);
    advance();
    if (m_flags & kCaptureCombine) {
        copyToTile(m_column * m_frameW, m_row * m_frameH);
        if (m_flags & kCaptureOrderN) {
            if (++m_row >= m_rows) m_row = 0, ++m_column;
        } else {
            if (++m_column >= m_columns) m_column = 0, ++m_row;
        }
        // Past the last tile (only if the count were off) nothing more fits.
        if (m_column >= m_columns || m_row >= m_rows) m_frame = m_frameCount;
    } else {
        copyToTile(0, 0);
        if (!emitImage()) {
            m_writeFailed = true;
            m_error = CE_WRITE;
            return false;
        }
    }
    ++m_made;
    return true;
}

bool cCaptureImage::finish()
{
    if (!m_project || m_writeFailed) return false;
    bool ok = true;
    if (m_flags & kCaptureGif)
        ok = m_file && m_encoded == m_imageCount && m_encoder.end() &&
             m_file->Write(m_fileBuffer.data(), m_fileBuffer.size(), &m_writeReason) && m_file->Commit(&m_writeReason);
    else if (m_flags & kCaptureCombine)
        ok = writePngRGBA(m_path, m_output, m_flags & kCaptureAlpha, &m_writeReason);
    if (!ok) m_error = CE_WRITE;
    m_phase = CP_DONE;
    m_file.reset();
    m_fileBuffer = {};
    return ok;
}

void cCaptureImage::clear()
{
    m_project = nullptr;
    m_drawer = nullptr;
    m_own.reset();
    m_path.clear();
    m_surface.clear();
    m_output.clear();
    m_encoder.reset();
    m_frameOut = CGIFLocal();
    m_file.reset();  // an unfinished GIF leaves no file
    m_fileBuffer = {};
    m_phase = CP_DONE;
    m_flags = 0;
    m_left = m_top = m_width = m_height = m_frameW = m_frameH = 0;
    m_columns = m_rows = m_column = m_row = 0;
    m_frameCount = m_frame = m_ticks = m_nextEffect = 0;
    m_interval = m_ticksPerImage = 1;
    m_tickDelay = m_elapsed = 0;
    m_delayed = 0;
    m_screenFlash.clear();
    m_targetFlash.clear();
    m_imageCount = m_made = m_encoded = 0;
    m_writeFailed = false;
    m_error = CE_NONE;
    m_writeReason.clear();
}
