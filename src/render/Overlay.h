#pragma once
// The layers of one canvas picture below the line and text layers of the window:
// grid, target picture, centre lines, draft GIF, the neighbouring frames as
// silhouettes or outlines, and the current frame's cells (as shown during a drag);
// while playing, the frame's cells and the screen flash instead of the editing
// aids. Everything goes into the sprite drawer's canvas buffer, begun by the caller.

#include "render/CanvasGeometry.h"
#include "render/DraftGif.h"
#include "render/RenderOptions.h"

#include <cstdint>
#include <functional>

class cAnimeData;
class cBMP;
class cSpriteDrawer;
struct strCell;
struct strFlashState;

/** What one canvas picture shows. */
struct strCanvasScene {
    const cAnimeData* project = nullptr;
    int frame = -1;
    bool playing = false;
    bool hideCells = false;                     // playback ended with its cells cleared
    const strFlashState* screenFlash = nullptr; // while playing with flashes on
    const strFlashState* targetFlash = nullptr;
    const cDraftGif* draft = nullptr;
    strDraftPlacement placement;
    /** A cell of the current frame as shown (a running drag); null: the stored cells. */
    std::function<bool(int cellNo, strCell& out)> displayedCell;
    /** What is shown (the V*Flag keys, grid, centre lines, onion skin, draft speed);
     *  null: the default settings. */
    const cSettings* settings = nullptr;
};

/** Window pixels of the drawer's canvas: animation × zoom + origin + half the target. */
strCanvasView CanvasViewOf(const cSpriteDrawer& drawer, const cBMP& target);
/** Pattern size of a picture's ready sheet; false when the picture is not loaded. */
bool SheetPatternSize(const cSpriteDrawer& drawer, int picture, int& w, int& h);
/** Whether pixel (px, py) of a pattern (1-based) of a picture's sheet is fully
 *  transparent; false when the sheet, pattern or pixel does not exist. */
bool SheetPixelTransparent(const cSpriteDrawer& drawer, int picture, int pattern, int px, int py);
/** The target picture's position: the offset settings moved by half its size toward
 *  the project's reference point (centre positions 2 下, 3 上, 4 右, 5 左). */
strCanvasPoint TargetPosition(const cAnimeData* project, const strRenderOptions& options, int targetW, int targetH);

/** Grid lines every `step` animation units over the whole target. */
void DrawGrid(cBMP& target, const strCanvasView& view, int step, uint32_t rgb, int width);
/** The w × h rectangle around the origin and the two axes spanning it. */
void DrawCenterLines(cBMP& target, const strCanvasView& view, int w, int h, uint32_t argb, int width);
/** The target picture (sheet −11) with its opacity; a flash tints or hides it. */
void DrawTargetPicture(cSpriteDrawer& drawer, const cAnimeData* project, const strFlashState* flash);
/** One frame of the draft GIF as a parallelogram, replacing what lies under it. */
void DrawDraftGif(cBMP& target, const strCanvasView& view, const cBMP& image, const strDraftPlacement& placement);
/** The most neighbouring frames shown on each side of the current one. */
inline constexpr int kMaxOnionFrames = 16;
/** A neighbour colour faded with the distance (1 … reach) from the current frame:
 *  the alpha byte scaled by (reach − distance + 1) / reach. */
uint32_t OnionColour(uint32_t argb, int distance, int reach);
/** Frame f's cells as silhouettes in colour argb (alpha = opacity) or, without
 *  `silhouette`, as outlines in its colour from the last slot to the first (blended
 *  by its alpha with blendOutline, for faded far neighbours). */
void DrawNeighbourFrame(cSpriteDrawer& drawer, cBMP& target, const cAnimeData& project, int f, uint32_t argb,
                        bool silhouette, bool blendOutline = false);

/** Every layer up to the current frame's cells (editing) or up to the screen flash
 *  (playing), with the view options of the settings. */
void DrawCanvasScene(cSpriteDrawer& drawer, cBMP& target, const strCanvasScene& scene);
