// The sheet cache of cSpriteDrawer: one pattern sheet per picture number, built from
// the picture records and rebuilt when they change. The pictures of a project are
// decoded when first used, so files no cell shows cost nothing, and the sheets share
// one pixel budget.

#include <algorithm>

#include "image/ImageFile.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/PictureSearch.h"
#include "render/SpriteDrawer.h"

cSpriteDrawer::cSpriteDrawer() { LoadErrorCell(); }

cSpriteDrawer::~cSpriteDrawer() = default;

cPatternSheet* cSpriteDrawer::Sheet(int pictureNo) const
{
    auto it = sheets_.find(pictureNo);
    if (it == sheets_.end())
        return nullptr;
    if (it->second.pendingFlags >= 0)
        BuildPending(pictureNo, it->second);
    return it->second.sheet.get();
}

bool cSpriteDrawer::IsUndecoded(int pictureNo) const
{
    auto it = sheets_.find(pictureNo);
    return it != sheets_.end() && it->second.pendingFlags >= 0;
}

void cSpriteDrawer::RemoveSheet(int pictureNo) { sheets_.erase(pictureNo); }

void cSpriteDrawer::PutSheet(std::unique_ptr<cPatternSheet> sheet, int pictureNo)
{
    sheets_.erase(pictureNo);
    Entry& e = sheets_[pictureNo];
    e.sheet = std::move(sheet);
}

void cSpriteDrawer::ReleaseAllTextures()
{
    for (auto& [n, e] : sheets_)
        if (e.sheet)
            e.sheet->ReleaseTextures();
}

void cSpriteDrawer::RebuildAll()
{
    for (auto& [n, e] : sheets_)
        if (e.sheet)
            e.sheet->Rebuild();
}

// Build flags of a picture: the transparency method, plus division by size unless
// the divisions are 0 and 0 (drawn as 1 by 1).
static int pictureFlags(const cAnimeData& project, const strPicture& record, int transType)
{
    int flags = TransparencyFlags(transType);
    if (!(record.divX == 0 && record.divY == 0) && project.GetValue(AI_DIVISION_FORMAT) == 1)
        flags |= kSheetDivideBySize;
    return flags;
}

// The record as the sheet is built from it: divisions 0 and 0 become 1 and 1.
static strPicture asDrawn(const strPicture& record)
{
    strPicture drawn = record;
    if (drawn.divX == 0 && drawn.divY == 0)
        drawn.divX = drawn.divY = 1;
    return drawn;
}

// Decodes a picture within what the project's budget leaves beside the other
// pictures (the sheet it replaces doesn't count).
bool cSpriteDrawer::DecodePicture(const std::string& path, int pictureNo, cPatternSheet& sheet) const
{
    uint64_t used = 0;
    for (const auto& [n, e] : sheets_)
        if (n >= 0 && n != pictureNo && e.sheet)
            used += uint64_t(e.sheet->Width()) * uint64_t(e.sheet->Height());
    const uint64_t left = used < kMaxProjectPixels ? kMaxProjectPixels - used : 0;
    return !path.empty() && LoadImage(paths::ToDiskPath(path), sheet, std::min(kMaxPicturePixels, left));
}

bool cSpriteDrawer::BuildPicture(const cAnimeData& project, int pictureNo, const strPicture& picture,
                                 std::unique_ptr<cPatternSheet>& out) const
{
    const strPicture record = asDrawn(picture);
    auto sheet = std::make_unique<cPatternSheet>();
    std::string path = FindPicture(record.path, project.Text(AT_WORK_FOLDER), projectFile_);
    if (record.path.empty() || !DecodePicture(path, pictureNo, *sheet))
        return false;
    const int adjust[4] = {record.hue, 0, 0, 0};
    sheet->SetColorAdjust(adjust);
    const int flags = pictureFlags(project, picture, options_.transType);
    if (!sheet->Build(record.divX, record.divY, flags))
        return false;
    out = std::move(sheet);
    return true;
}

// Remembers a picture to decode when it is first asked for, with its record as drawn.
void cSpriteDrawer::PutPending(const cAnimeData& project, int pictureNo, const strPicture& record)
{
    sheets_.erase(pictureNo);
    if (record.path.empty())
        return;
    Entry& e = sheets_[pictureNo];
    e.pendingFlags = pictureFlags(project, record, options_.transType);
    e.pendingPath = FindPicture(record.path, project.Text(AT_WORK_FOLDER), projectFile_);
    e.record = asDrawn(record);
    e.hasRecord = true;
}

// A picture that fails to decode or build stays without a sheet (drawn as the error
// cell) and isn't tried again until its record changes or it is reloaded.
void cSpriteDrawer::BuildPending(int pictureNo, Entry& e) const
{
    const int flags = e.pendingFlags;
    e.pendingFlags = -1;
    auto sheet = std::make_unique<cPatternSheet>();
    if (!DecodePicture(e.pendingPath, pictureNo, *sheet))
        return;
    const int adjust[4] = {e.record.hue, 0, 0, 0};
    sheet->SetColorAdjust(adjust);
    if (sheet->Build(e.record.divX, e.record.divY, flags))
        e.sheet = std::move(sheet);
}

bool cSpriteDrawer::UpdatePicture(const cAnimeData& project, int pictureNo, const strPicture* picture, bool force)
{
    if (!picture) {
        RemoveSheet(pictureNo);
        return true;
    }
    const strPicture drawn = asDrawn(*picture);
    const strPicture* record = &drawn;
    auto it = sheets_.find(pictureNo);
    if (it != sheets_.end() && it->second.pendingFlags >= 0 && !force) {
        PutPending(project, pictureNo, *picture); // still not needed: stays undecoded
        return true;
    }
    bool fresh = it == sheets_.end() || !it->second.sheet || !it->second.hasRecord || force ||
                 it->second.record.path != record->path;
    if (fresh) {
        std::unique_ptr<cPatternSheet> sheet;
        if (!BuildPicture(project, pictureNo, *picture, sheet))
            return false; // the old sheet stays
        sheets_.erase(pictureNo);
        Entry& e = sheets_[pictureNo];
        e.sheet = std::move(sheet);
        e.record = *record;
        e.hasRecord = true;
        return true;
    }
    // Same file: bring hue and division up to date.
    Entry& e = it->second;
    bool hueChanged = e.record.hue != record->hue;
    bool divChanged = e.record.divX != record->divX || e.record.divY != record->divY;
    if (hueChanged) {
        const int adjust[4] = {record->hue, 0, 0, 0};
        e.sheet->SetColorAdjust(adjust);
    }
    bool ok = true;
    if (hueChanged || divChanged) {
        const int flags = pictureFlags(project, *picture, options_.transType);
        ok = e.sheet->Build(record->divX, record->divY, flags);
    }
    e.record = *record;
    return ok;
}

void cSpriteDrawer::LoadPictures(const cAnimeData& project)
{
    for (auto it = sheets_.begin(); it != sheets_.end();)
        it = it->first >= 0 ? sheets_.erase(it) : std::next(it);
    for (int i = 0; i < project.PictureCapacity(); ++i)
        if (const strPicture* p = project.GetPicture(i))
            PutPending(project, i, *p);
}

bool cSpriteDrawer::LoadErrorCell()
{
    auto sheet = std::make_unique<cPatternSheet>();
    if (!LoadImageResource("BITMAP_ERCELL", *sheet) || !sheet->Build(1, 1, kSheetKeyIndex0))
        return false;
    PutSheet(std::move(sheet), kErrorCellSheet);
    return true;
}

bool cSpriteDrawer::LoadSingleSheet(const std::string& path, int pictureNo)
{
    auto sheet = std::make_unique<cPatternSheet>();
    if (path.empty() || !LoadImage(paths::ToDiskPath(path), *sheet) ||
        !sheet->Build(1, 1, TransparencyFlags(options_.transType)))
        return false;
    PutSheet(std::move(sheet), pictureNo);
    return true;
}

cSpriteDrawer& SpriteDrawer()
{
    static cSpriteDrawer drawer;
    return drawer;
}
