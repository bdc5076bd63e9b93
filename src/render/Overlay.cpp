#include "render/Overlay.h"

#include "model/AnimeData.h"
#include "project/Settings.h"
#include "render/Compositor.h"
#include "render/OverlayLines.h"
#include "render/SpriteDrawer.h"

#include <algorithm>
#include <cmath>
#include <vector>

strCanvasView CanvasViewOf(const cSpriteDrawer& drawer, const cBMP& target)
{
    float ox = 0, oy = 0;
    drawer.ToView(0, 0, ox, oy);
    return {drawer.Zoom(), ox + target.Width() / 2.0f, oy + target.Height() / 2.0f};
}

bool SheetPatternSize(const cSpriteDrawer& drawer, int picture, int& w, int& h)
{
    const cPatternSheet* sheet = drawer.Sheet(picture);
    if (!sheet || !sheet->IsReady())
        return false;
    sheet->PatternSize(w, h);
    return true;
}

bool SheetPixelTransparent(const cSpriteDrawer& drawer, int picture, int pattern, int px, int py)
{
    const cPatternSheet* sheet = drawer.Sheet(picture);
    if (!sheet || !sheet->IsValidPattern(pattern - 1))
        return false;
    const cPatternSheet::Rect r = sheet->PatternRect(pattern - 1);
    const int x = r.left + px, y = r.top + py;
    const std::vector<uint32_t>& texels = sheet->Texture();
    if (px < 0 || py < 0 || x >= r.right || y >= r.bottom || x >= sheet->Width())
        return false;
    const size_t at = size_t(y) * size_t(sheet->Width()) + size_t(x);
    return at < texels.size() && (texels[at] >> 24) == 0;
}

strCanvasPoint TargetPosition(const cAnimeData* project, const strRenderOptions& options, int targetW, int targetH)
{
    strCanvasPoint p{float(options.targetX), float(options.targetY)};
    switch (project ? project->GetValue(AI_CENTER_POSITION) : 0) {
    case 2: p.y -= float(targetH / 2); break;
    case 3: p.y += float(targetH / 2); break;
    case 4: p.x -= float(targetW / 2); break;
    case 5: p.x += float(targetW / 2); break;
    default: break;
    }
    return p;
}

void DrawGrid(cBMP& target, const strCanvasView& view, int step, uint32_t rgb, int width)
{
    if (step <= 0 || target.Empty())
        return;
    const strPen pen{rgb, false, width};
    const int half = (width - 1) / 2;
    const strCanvasPoint lo = view.ToAnimation(0, 0);
    const strCanvasPoint hi = view.ToAnimation(float(target.Width()), float(target.Height()));
    for (long long k = (long long)std::floor(lo.x / step); k * step <= hi.x; ++k) {
        const int x = int(std::lround(view.ToWindow(float(k * step), 0).x)) - half;
        FillRect(target, x, 0, x + width, target.Height(), pen);
    }
    for (long long k = (long long)std::floor(lo.y / step); k * step <= hi.y; ++k) {
        const int y = int(std::lround(view.ToWindow(0, float(k * step)).y)) - half;
        FillRect(target, 0, y, target.Width(), y + width, pen);
    }
}

void DrawCenterLines(cBMP& target, const strCanvasView& view, int w, int h, uint32_t argb, int width)
{
    const strPen pen{argb, true, width};
    const int half = (width - 1) / 2;
    const strCanvasPoint a = view.ToWindow(-w / 2.0f, -h / 2.0f), b = view.ToWindow(w / 2.0f, h / 2.0f);
    const strCanvasPoint o = view.ToWindow(0, 0);
    const int l = int(std::lround(a.x)), t = int(std::lround(a.y)), r = int(std::lround(b.x)),
              bt = int(std::lround(b.y));
    const int ox = int(std::lround(o.x)) - half, oy = int(std::lround(o.y)) - half;
    // Each pixel is covered once, so the colour's alpha blends evenly.
    FillRect(target, l - half, t - half, r - half + width, t - half + width, pen);   // top
    FillRect(target, l - half, bt - half, r - half + width, bt - half + width, pen); // bottom
    FillRect(target, l - half, t - half + width, l - half + width, bt - half, pen);  // left
    FillRect(target, r - half, t - half + width, r - half + width, bt - half, pen);  // right
    FillRect(target, l - half + width, oy, ox, oy + width, pen);                     // x axis, left part
    FillRect(target, ox + width, oy, r - half, oy + width, pen);                     // x axis, right part
    FillRect(target, ox, t - half + width, ox + width, bt - half, pen);              // y axis
}

void DrawTargetPicture(cSpriteDrawer& drawer, const cAnimeData* project, const strFlashState* flash)
{
    cPatternSheet* sheet = drawer.Sheet(kTargetSheet);
    if (!sheet || !sheet->IsReady())
        return;
    int w = 0, h = 0;
    sheet->PatternSize(w, h);
    const strCanvasPoint at = TargetPosition(project, drawer.Options(), w, h);
    strSpriteParam p;
    p.sheet = sheet;
    p.x = at.x;
    p.y = at.y;
    p.opacity = std::clamp(drawer.Options().targetOpacity, 0, 255);
    if (flash)
        cSpriteDrawer::ApplyTargetFlash(p, *flash);
    drawer.DrawCell(p);
}

void DrawDraftGif(cBMP& target, const strCanvasView& view, const cBMP& image, const strDraftPlacement& placement)
{
    if (target.Empty() || image.Empty() || image.BitsPerPixel() != 32)
        return;
    const bool unset = placement.scaleX == 0 && placement.scaleY == 0;
    const double sx = (unset ? 1.0 : placement.scaleX) * view.zoom, sy = (unset ? 1.0 : placement.scaleY) * view.zoom;
    const double radians = 3.14159265358979 * placement.angle / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const strCanvasPoint centre = view.ToWindow(placement.x, placement.y);
    strQuadMap map;
    map.axisSX = sx * c;
    map.axisSY = sx * s;
    map.axisTX = -sy * s;
    map.axisTY = sy * c;
    map.originX = centre.x - 0.5 - image.Width() / 2.0 * map.axisSX - image.Height() / 2.0 * map.axisTX;
    map.originY = centre.y - 0.5 - image.Width() / 2.0 * map.axisSY - image.Height() / 2.0 * map.axisTY;
    const strSurface surface{target.Pixels(), target.Width(), target.Height(), target.Stride()};
    const strTexels texels{reinterpret_cast<const uint32_t*>(image.Pixels()), image.Stride() / 4, image.Width(),
                           image.Height()};
    CompositeQuad(surface, texels, map, 255, -1);
}

uint32_t OnionColour(uint32_t argb, int distance, int reach)
{
    if (reach <= 1 || distance <= 1)
        return argb;
    const uint32_t alpha = (argb >> 24) * uint32_t(reach - distance + 1) / uint32_t(reach);
    return (alpha << 24) | (argb & 0xFFFFFF);
}

void DrawNeighbourFrame(cSpriteDrawer& drawer, cBMP& target, const cAnimeData& project, int f, uint32_t argb,
                        bool silhouette, bool blendOutline)
{
    if (!project.GetFrame(f))
        return;
    if (silhouette) {
        std::vector<strSpriteParam> cells;
        for (int k = 0; k < project.CellCount(); ++k) {
            const strCell* cell = project.GetCell(f, k);
            if (!cell)
                continue;
            strSpriteParam p = drawer.CellParam(*cell, false);
            if (!p.sheet)
                continue;
            p.mode |= kSpriteSilhouette;
            p.red = int((argb >> 16) & 255);
            p.green = int((argb >> 8) & 255);
            p.blue = int(argb & 255);
            p.saturation = 100;
            p.opacity = int(argb >> 24);
            p.blend = 0;
            cells.push_back(p);
        }
        drawer.DrawCells(cells.data(), cells.size());
        return;
    }
    const strCanvasView view = CanvasViewOf(drawer, target);
    const strPen pen{argb, blendOutline, int(drawer.LineWidth())};
    for (int k = project.CellCount() - 1; k >= 0; --k) {
        const strCell* cell = project.GetCell(f, k);
        int w = 0, h = 0;
        if (!cell || !SheetPatternSize(drawer, cell->picture, w, h))
            continue;
        const strQuad q = ToWindow(CellQuad(*cell, w, h), view);
        for (int i = 0; i < 4; ++i)
            DrawLine(target, q.v[i].x, q.v[i].y, q.v[(i + 1) % 4].x, q.v[(i + 1) % 4].y, pen);
    }
}

void DrawCanvasScene(cSpriteDrawer& drawer, cBMP& target, const strCanvasScene& scene)
{
    static const cSettings kDefaults;
    const cSettings& s = scene.settings ? *scene.settings : kDefaults;
    const strCanvasView view = CanvasViewOf(drawer, target);
    const int lineWidth = int(drawer.LineWidth());
    if (s.VLineFlag && s.VGridFlag)
        DrawGrid(target, view, s.GridSize, s.CGrid, lineWidth);
    if (s.VTargetFlag)
        DrawTargetPicture(drawer, scene.project, scene.playing ? scene.targetFlash : nullptr);
    if (s.VLineFlag && s.VCenterFlag)
        DrawCenterLines(target, view, s.CenterW, s.CenterH, s.CCenterLine, lineWidth);
    if (s.VGifFlag && scene.draft && !scene.draft->Empty()) {
        const int i = scene.draft->FrameFor(scene.frame, s.GIFSpeed, scene.placement.frameOffset);
        if (const cBMP* image = scene.draft->Image(i))
            DrawDraftGif(target, view, *image, scene.placement);
    }
    if (!scene.project)
        return;
    const cAnimeData& project = *scene.project;
    if (scene.playing) {
        if (!scene.hideCells)
            drawer.DrawFrame(project, scene.frame);
        if (scene.screenFlash)
            drawer.DrawScreenFlash(*scene.screenFlash);
        return;
    }
    // Onion skin: the farthest neighbours first, so nearer (stronger) ones lie on top.
    const int reach = std::clamp(s.OnionFrames, 1, kMaxOnionFrames);
    for (int d = reach; s.VBackFlag && d >= 1; --d)
        DrawNeighbourFrame(drawer, target, project, scene.frame - d, OnionColour(s.CBackShadow, d, reach),
                           s.VShadowFlag, d > 1);
    for (int d = reach; s.VNextFlag && d >= 1; --d)
        DrawNeighbourFrame(drawer, target, project, scene.frame + d, OnionColour(s.CNextShadow, d, reach),
                           s.VShadowFlag, d > 1);
    if (scene.hideCells)
        return;
    std::vector<strSpriteParam> cells;
    for (int k = 0; k < project.CellCount(); ++k) {
        strCell cell;
        if (scene.displayedCell) {
            if (!scene.displayedCell(k, cell))
                continue;
        } else if (const strCell* stored = project.GetCell(scene.frame, k)) {
            cell = *stored;
        } else {
            continue;
        }
        cells.push_back(drawer.CellParam(cell, true));
    }
    drawer.DrawCells(cells.data(), cells.size());
}
