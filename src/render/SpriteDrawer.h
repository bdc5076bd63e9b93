#pragma once
// cSpriteDrawer: the cell renderer. It keeps the picture sheets by picture number,
// draws cells and flashes into a 32-bit target through the software compositor,
// and maps animation coordinates to the view.

#include <map>
#include <memory>
#include <string>

#include <vector>

#include "image/PatternSheet.h"
#include "model/Records.h"
#include "render/Compositor.h"
#include "render/FlashState.h"
#include "render/PassCache.h"
#include "render/RenderOptions.h"

class cAnimeData;

/** Mode flags of a draw request. */
enum : int {
    kSpriteSilhouette = 0x01,
    kSpriteFillView = 0x02,
    kSpriteFlashTint = 0x04,
    kSpriteSignedFlash = 0x08,
};

/** One draw request. With kSpriteSilhouette, red/green/blue are the flat colour;
 *  with kSpriteFlashTint, red/green/blue are the flash colour and saturation its
 *  faded strength; with kSpriteSignedFlash, red/green/blue are the signed flash
 *  bytes. For DrawFlashRect, red/green/blue are the colour, opacity the strength,
 *  scaleX/scaleY the rectangle's size in pixels. */
struct strSpriteParam {
    cPatternSheet* sheet = nullptr;
    int pattern = 1; // 1-based
    int blend = 0;
    float x = 0, y = 0;
    float scaleX = 1, scaleY = 1;
    float angle = 0; // degrees, clockwise on screen
    int opacity = 255;
    int red = 100, green = 100, blue = 100, saturation = 100;
    int depth = 1;
    bool screenSpace = false;
    int mode = 0;
};

/** Picture numbers of the built-in sheets. */
constexpr int kErrorCellSheet = -10;
constexpr int kTargetSheet = -11;

class cSpriteDrawer {
public:
    cSpriteDrawer();
    ~cSpriteDrawer();

    // --- sheet cache ---
    /** The sheet of a number; a picture given by LoadPictures is decoded here, the
     *  first time it is asked for. */
    cPatternSheet* Sheet(int pictureNo) const;
    /** True while picture n waits to be decoded (Sheet(n) would decode it now). */
    bool IsUndecoded(int pictureNo) const;
    void RemoveSheet(int pictureNo);
    /** Stores the sheet under the number, destroying the one stored there. */
    void PutSheet(std::unique_ptr<cPatternSheet> sheet, int pictureNo);
    void ReleaseAllTextures();
    void RebuildAll();
    /** Brings the sheet of picture n in line with its record (null = deleted); relative
     *  paths resolve against the project's working folder. A divX, divY of 0, 0 become
     *  1, 1 in the record. False when decoding or building fails. */
    bool UpdatePicture(const cAnimeData& project, int pictureNo, const strPicture* record, bool force);
    /** The project's own file (model path; empty for none): pictures the working
     *  folder does not hold are also looked for beside it. */
    void SetProjectFile(const std::string& path) { projectFile_ = path; }
    /** The transparency method, background and target options; sheets built later use them. */
    void SetOptions(const strRenderOptions& options) { options_ = options; }
    const strRenderOptions& Options() const { return options_; }
    const std::string& ProjectFile() const { return projectFile_; }
    /** Drops every picture sheet and takes the project's pictures; each is decoded when
     *  first drawn or asked for. The sheets of all pictures together hold at most
     *  kMaxProjectPixels pixels: a picture that would pass that fails to load. */
    void LoadPictures(const cAnimeData& project);
    /** Loads the built-in error-cell sheet (number −10). */
    bool LoadErrorCell();
    /** Builds a one-pattern sheet from a file (the target picture), stored under the
     *  number; the settings' transparency method applies. */
    bool LoadSingleSheet(const std::string& path, int pictureNo);

    // --- drawing ---
    /** Makes the target the drawing area: clear to the background colour (CGround,
     *  opaque), animation origin at origin (view pixels from the view centre), zoom.
     *  False for an empty or non-32-bit target. */
    bool BeginCanvas(cBMP& target, float originX, float originY, float zoom);
    /** The same for an off-screen surface, clear colour 0xAARRGGBB, zoom 1, origin 0. */
    bool BeginSurface(cBMP& surface, uint32_t clearColour);
    /** Ends the scene. */
    bool Present();

    void DrawCell(const strSpriteParam& param);
    /** Draws the requests in order, as DrawCell one after another would; a large batch
     *  is spread over the render threads. */
    void DrawCells(const strSpriteParam* params, size_t count);
    void DrawFlashRect(const strSpriteParam& param);

    /** The request for a stored cell; an invalid picture or pattern gives the error
     *  cell when `errorCell`, else a request without a sheet (draws nothing). */
    strSpriteParam CellParam(const strCell& cell, bool errorCell = true) const;
    /** Every cell of a frame in slot order, moved by (dx, dy). */
    void DrawFrame(const cAnimeData& project, int frame, float dx = 0, float dy = 0, bool errorCells = true);
    /** A screen flash over the whole view. */
    void DrawScreenFlash(const strFlashState& flash);
    /** Applies a target flash to a target-picture request (tint, signed tint or hide). */
    static void ApplyTargetFlash(strSpriteParam& param, const strFlashState& flash);

    // --- view ---
    float Zoom() const { return zoom_; }
    float LineWidth() const { return zoom_ > 1 ? zoom_ : 1; }
    /** Animation point to view point (relative to the view centre) and back. */
    void ToView(float x, float y, float& vx, float& vy) const;
    void ToAnimation(float vx, float vy, float& x, float& y) const;

private:
    struct Entry {
        std::unique_ptr<cPatternSheet> sheet;
        strPicture record;
        bool hasRecord = false;
        std::string pendingPath; // not decoded yet: the file on disk and build flags
        int pendingFlags = -1;
    };
    /** A work pass still to run: source texels, what it makes, where it goes. */
    struct strPendingPass {
        strTexels src;
        strPassKey key;
        uint32_t* out;
    };
    bool BuildPicture(const cAnimeData& project, int pictureNo, const strPicture& record,
                      std::unique_ptr<cPatternSheet>& out) const;
    bool DecodePicture(const std::string& path, int pictureNo, cPatternSheet& sheet) const;
    void PutPending(const cAnimeData& project, int pictureNo, const strPicture& record);
    void BuildPending(int pictureNo, Entry& e) const;
    /** The quad of a request (the error cell for an invalid pattern); false when it
     *  draws nothing. A work pass it needs runs now, or joins `pending` when given. */
    bool QuadOf(const strSpriteParam& param, strQuadDraw& quad, std::vector<strPendingPass>* pending);
    /** The texels a request samples: the sheet's pattern, or the result of its pass. */
    strTexels PassTexels(cPatternSheet& sheet, int index, const strSpriteParam& p,
                         std::vector<strPendingPass>* pending);
    static void RunPass(const strPendingPass& pass);

    mutable std::map<int, Entry> sheets_; // pending entries are decoded by const Sheet()
    cPassCache passes_;
    std::string projectFile_;
    strRenderOptions options_;
    cBMP* target_ = nullptr;
    float originX_ = 0, originY_ = 0, zoom_ = 1;
    bool inScene_ = false;
};

/** The program-wide sprite drawer. */
cSpriteDrawer& SpriteDrawer();
