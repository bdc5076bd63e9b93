// Drawing with cSpriteDrawer: begin/present, cells, flashes and the view transform.

#include "render/SpriteDrawer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/AnimeData.h"
#include "render/Compositor.h"
#include "render/RenderThreads.h"

namespace {

strSurface surfaceOf(cBMP& target)
{
    return strSurface{target.Pixels(), target.Width(), target.Height(), target.Stride()};
}

// The first row is filled texel by texel, the others copied from it (a block copy
// is many times faster than the fill loop).
void clearTo(cBMP& target, uint32_t colour)
{
    if (target.Height() < 1)
        return;
    uint32_t* first = reinterpret_cast<uint32_t*>(target.Row(0));
    std::fill(first, first + target.Width(), colour);
    for (int y = 1; y < target.Height(); ++y)
        std::memcpy(target.Row(y), first, static_cast<size_t>(target.Width()) * 4);
}

// Sine and cosine of a clockwise angle in degrees; quarter turns are exact so that a
// 90° turn maps pixels onto pixels.
void rotation(float degrees, double& c, double& s)
{
    const float radians = 3.1415927f * degrees / 180.0f;
    if (std::fabs(radians) <= 0.000001f) {
        c = 1;
        s = 0;
        return;
    }
    float q = degrees / 90.0f;
    if (q == std::floor(q) && std::fabs(q) < 1e7f) {
        static const double cs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        int k = ((static_cast<int>(q) % 4) + 4) % 4;
        c = cs[k][0];
        s = cs[k][1];
        return;
    }
    c = std::cos(radians);
    s = std::sin(radians);
}

uint32_t clampByte(int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); }

} // namespace

bool cSpriteDrawer::BeginCanvas(cBMP& target, float originX, float originY, float zoom)
{
    inScene_ = false;
    if (target.Empty() || target.BitsPerPixel() != 32 || !(zoom > 0))
        return false;
    target_ = &target;
    originX_ = originX;
    originY_ = originY;
    zoom_ = zoom;
    clearTo(target, 0xFF000000u | (options_.ground & 0xFFFFFF));
    passes_.BeginScene();
    inScene_ = true;
    return true;
}

bool cSpriteDrawer::BeginSurface(cBMP& surface, uint32_t clearColour)
{
    inScene_ = false;
    if (surface.Empty() || surface.BitsPerPixel() != 32)
        return false;
    target_ = &surface;
    originX_ = originY_ = 0;
    zoom_ = 1;
    clearTo(surface, clearColour);
    passes_.BeginScene();
    inScene_ = true;
    return true;
}

bool cSpriteDrawer::Present()
{
    bool ok = inScene_;
    inScene_ = false;
    return ok;
}

void cSpriteDrawer::ToView(float x, float y, float& vx, float& vy) const
{
    vx = x * zoom_ + originX_;
    vy = y * zoom_ + originY_;
}

void cSpriteDrawer::ToAnimation(float vx, float vy, float& x, float& y) const
{
    x = (vx - originX_) / zoom_;
    y = (vy - originY_) / zoom_;
}

strTexels cSpriteDrawer::PassTexels(cPatternSheet& sheet, int index, const strSpriteParam& p,
                                    std::vector<strPendingPass>* pending)
{
    const cPatternSheet::Rect r = sheet.PatternRect(index);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const strTexels src{sheet.Texture().data() + static_cast<size_t>(r.top) * sheet.Width() + r.left, sheet.Width(), w,
                        h};
    const int mode = p.mode & (kSpriteSilhouette | kSpriteFlashTint | kSpriteSignedFlash);
    if (mode == 0 && strTone{p.red, p.green, p.blue, p.saturation}.Neutral())
        return src;

    // Only a draw without blending shows the colour of transparent texels.
    const strPassKey key{&sheet,       cPassCache::Stamp(sheet),  index, mode, p.red, p.green, p.blue,
                         p.saturation, p.blend < 0 || p.blend > 4};
    if (const uint32_t* done = passes_.Find(key))
        return strTexels{done, w, w, h};
    const strPendingPass pass{src, key, passes_.Add(key, static_cast<size_t>(w) * h)};
    if (pending)
        pending->push_back(pass);
    else
        RunPass(pass);
    return strTexels{pass.out, w, w, h};
}

void cSpriteDrawer::RunPass(const strPendingPass& pass)
{
    const strPassKey& k = pass.key;
    const uint32_t rgb = (clampByte(k.red) << 16) | (clampByte(k.green) << 8) | clampByte(k.blue);
    if (k.mode & kSpriteSilhouette)
        SilhouetteTexels(pass.src, rgb, pass.out);
    else if (k.mode & kSpriteFlashTint)
        FlashTintTexels(pass.src, rgb, k.saturation, pass.out);
    else if (k.mode & kSpriteSignedFlash)
        SignedFlashTexels(pass.src, rgb, pass.out);
    else
        ToneTexels(pass.src, strTone{k.red, k.green, k.blue, k.saturation}, pass.out, nullptr, k.keepTransparent);
}

bool cSpriteDrawer::QuadOf(const strSpriteParam& param, strQuadDraw& quad, std::vector<strPendingPass>* pending)
{
    if (!inScene_ || !target_ || !param.sheet || !param.sheet->IsReady())
        return false;
    strSpriteParam p = param;
    if (!p.sheet->IsValidPattern(p.pattern - 1)) {
        cPatternSheet* error = Sheet(kErrorCellSheet);
        if (!error || !error->IsReady() || error == p.sheet)
            return false;
        p = strSpriteParam{};
        p.sheet = error;
        p.x = param.x;
        p.y = param.y;
        p.screenSpace = param.screenSpace;
    }
    cPatternSheet& sh = *p.sheet;
    int w, h;
    sh.PatternSize(w, h);

    float x = p.x, y = p.y, sx = p.scaleX, sy = p.scaleY;
    if (!p.screenSpace) {
        ToView(p.x, p.y, x, y);
        sx *= zoom_;
        sy *= zoom_;
    }
    double c, s;
    rotation(p.angle, c, s);
    const double cx = x - 0.5 + target_->Width() / 2.0, cy = y - 0.5 + target_->Height() / 2.0;
    strQuadMap& map = quad.map;
    map.axisSX = sx * c;
    map.axisSY = sx * s;
    map.axisTX = -sy * s;
    map.axisTY = sy * c;
    map.originX = cx - w / 2.0 * map.axisSX - h / 2.0 * map.axisTX;
    map.originY = cy - w / 2.0 * map.axisSY - h / 2.0 * map.axisTY;

    quad.src = PassTexels(sh, p.pattern - 1, p, pending);
    quad.opacity = p.opacity;
    quad.blend = p.blend;
    return true;
}

void cSpriteDrawer::DrawCell(const strSpriteParam& param)
{
    strQuadDraw quad;
    if (QuadOf(param, quad, nullptr))
        CompositeQuad(surfaceOf(*target_), quad.src, quad.map, quad.opacity, quad.blend);
}

void cSpriteDrawer::DrawCells(const strSpriteParam* params, size_t count)
{
    std::vector<strQuadDraw> quads;
    std::vector<strPendingPass> pending;
    quads.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        strQuadDraw quad;
        if (QuadOf(params[i], quad, &pending))
            quads.push_back(quad);
    }
    RunOnRenderThreads(static_cast<int>(pending.size()), [&](int i) { RunPass(pending[static_cast<size_t>(i)]); });
    if (!quads.empty())
        CompositeQuads(surfaceOf(*target_), quads.data(), quads.size());
}

void cSpriteDrawer::DrawFlashRect(const strSpriteParam& p)
{
    if (!inScene_ || !target_)
        return;
    const uint32_t rgb = (clampByte(p.red) << 16) | (clampByte(p.green) << 8) | clampByte(p.blue);
    const strSurface target = surfaceOf(*target_);
    if (p.mode & kSpriteFillView) {
        CompositeFill(target, rgb, p.opacity, p.blend);
        return;
    }
    float x = p.x, y = p.y, sx = p.scaleX, sy = p.scaleY;
    if (!p.screenSpace) {
        ToView(p.x, p.y, x, y);
        sx *= zoom_;
        sy *= zoom_;
    }
    double c, s;
    rotation(p.angle, c, s);
    strQuadMap map;
    map.axisSX = sx * c;
    map.axisSY = sx * s;
    map.axisTX = -sy * s;
    map.axisTY = sy * c;
    map.originX = x - 0.5 + target_->Width() / 2.0 - (map.axisSX + map.axisTX) / 2;
    map.originY = y - 0.5 + target_->Height() / 2.0 - (map.axisSY + map.axisTY) / 2;
    const uint32_t texel = 0xFF000000u | rgb;
    CompositeQuad(target, strTexels{&texel, 1, 1, 1}, map, p.opacity, p.blend);
}

strSpriteParam cSpriteDrawer::CellParam(const strCell& cell, bool errorCell) const
{
    strSpriteParam p;
    p.x = cell.x;
    p.y = cell.y;
    cPatternSheet* sh = Sheet(cell.picture);
    if (!sh || !sh->IsValidPattern(cell.pattern - 1)) {
        p.sheet = errorCell ? Sheet(kErrorCellSheet) : nullptr;
        return p;
    }
    p.sheet = sh;
    p.pattern = cell.pattern;
    p.blend = cell.blend;
    p.scaleX = cell.scaleX / 100.0f;
    p.scaleY = cell.scaleY / 100.0f;
    p.angle = static_cast<float>(((cell.angle + 14400) % 3600 + 3600) % 3600) / 10.0f;
    p.opacity = cell.opacity;
    p.red = cell.red;
    p.green = cell.green;
    p.blue = cell.blue;
    p.saturation = cell.saturation;
    return p;
}

void cSpriteDrawer::DrawFrame(const cAnimeData& project, int frame, float dx, float dy, bool errorCells)
{
    std::vector<strSpriteParam> params;
    for (int slot = 0; slot < project.CellCount(); ++slot) {
        const strCell* cell = project.GetCell(frame, slot);
        if (!cell)
            continue;
        strSpriteParam p = CellParam(*cell, errorCells);
        if (!p.sheet)
            continue;
        p.x += dx;
        p.y += dy;
        params.push_back(p);
    }
    DrawCells(params.data(), params.size());
}

void cSpriteDrawer::DrawScreenFlash(const strFlashState& flash)
{
    if (!flash.IsActive())
        return;
    strSpriteParam p;
    p.red = flash.red;
    p.green = flash.green;
    p.blue = flash.blue;
    p.opacity = flash.FadedStrength();
    p.blend = flash.blend;
    p.mode = kSpriteFillView;
    DrawFlashRect(p);
}

void cSpriteDrawer::ApplyTargetFlash(strSpriteParam& p, const strFlashState& flash)
{
    if (!flash.IsActive())
        return;
    if (flash.scope == 2) {
        p.opacity = 0;
    } else if (flash.scope == 1) {
        if (flash.blend == 1) {
            p.mode |= kSpriteSignedFlash;
            p.red = flash.SignedByte(flash.red);
            p.green = flash.SignedByte(flash.green);
            p.blue = flash.SignedByte(flash.blue);
            p.saturation = 100;
        } else {
            p.mode |= kSpriteFlashTint;
            p.red = flash.red;
            p.green = flash.green;
            p.blue = flash.blue;
            p.saturation = flash.FadedStrength();
        }
    }
}
