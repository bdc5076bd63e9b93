#include "view/ListWindow.h"

#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "render/SpriteDrawer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTextLoadFailed = 40033; // "ファイルを開けませんでした。: %s"
constexpr int kTextReloaded = 40042;   // "再読込が完了 : %d"

std::string itemName(int stringId, int index)
{
    const std::vector<std::string> items = platform::StringItems(stringId);
    return index >= 0 && size_t(index) < items.size() ? items[size_t(index)] : std::string();
}

std::string format(const char* fmt, int a, int b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, fmt, a, b);
    return text;
}

} // namespace

int PictureRowCount(const cAnimeData& project) { return project.PictureCapacity(); }

std::string PictureCellText(const cAnimeData& project, int row, int column)
{
    const strPicture* p = project.GetPicture(row);
    if (!p)
        return std::string();
    switch (column) {
    case PC_NO: return format("%02d", row);
    case PC_PATH: return paths::FileNameOf(p->path);
    case PC_XY: return format("%d,%d", p->divX, p->divY);
    case PC_HUE: return format("%d", p->hue);
    case PC_CUT: return itemName(40071, project.GetValue(AI_DIVISION_FORMAT));
    default: return std::string();
    }
}

int EffectRowCount(const cAnimeData& project)
{
    return std::min(project.Effects().Count() + 1, project.EffectCapacity());
}

std::string EffectCellText(const cAnimeData& project, int row, int column)
{
    const strEffect* e = project.GetEffect(row);
    if (!e)
        return std::string();
    const bool sound = e->flags & EF_SOUND, flash = e->flags & EF_FLASH, note = e->flags & EF_NOTE;
    switch (column) {
    case EC_FRAME: return format("%d", e->frame);
    case EC_SE: return sound ? paths::FileNameOf(e->seName) : std::string();
    case EC_SE_VALUES: {
        if (!sound)
            return std::string();
        char text[64];
        std::snprintf(text, sizeof text, "%d,%d,%d", e->seVolume, e->sePitch, e->seBalance);
        return text;
    }
    case EC_FLASH: {
        if (!flash)
            return std::string();
        char text[160];
        std::snprintf(text, sizeof text, "[%s,%s](%d,%d,%d,%d)@%d", itemName(40075, e->flashScope).c_str(),
                      itemName(40069, e->flashBlend).c_str(), e->flashRed, e->flashGreen, e->flashBlue,
                      e->flashStrength, e->flashDuration);
        return text;
    }
    case EC_OTHER: return note ? "\"" + e->note + "\"" : std::string();
    default: return std::string();
    }
}

strPicture PictureForSlot(const cAnimeData& project, int slot, const strEditOptions& options)
{
    if (const strPicture* p = project.GetPicture(slot))
        return *p;
    strPicture p;
    p.divX = uint16_t(std::clamp<int>(options.newPictureDivX, 1, 1024));
    p.divY = uint16_t(std::clamp<int>(options.newPictureDivY, 1, 1024));
    return p;
}

strEffect EffectForSlot(const cAnimeData& project, int slot)
{
    const strEffect* e = project.GetEffect(slot);
    return e ? *e : strEffect();
}

int FirstEmptyPictureSlot(const cAnimeData& project)
{
    for (int i = 0; i < project.PictureCapacity(); ++i)
        if (!project.GetPicture(i))
            return i;
    return -1;
}

int FirstEmptyEffectSlot(const cAnimeData& project)
{
    for (int i = 0; i < project.EffectCapacity(); ++i)
        if (!project.GetEffect(i))
            return i;
    return -1;
}

bool StorePicture(cAnimeData& project, int slot, const strPicture& picture, cSpriteDrawer& drawer, iStatusSink& status)
{
    strPicture copy = picture;
    cAnimeData::ValidatePicture(copy);
    cTransaction transaction(project);
    const bool stored = project.SetPicture(copy, slot);
    transaction.Finish(stored);
    if (!stored)
        return false;
    const bool loaded = drawer.UpdatePicture(project, slot, project.GetPicture(slot), true);
    if (!loaded)
        status.ShowStatus(platform::FormatString(kTextLoadFailed, paths::ForDisplay(copy.path).c_str()));
    return loaded;
}

void SyncPictureSheet(cAnimeData& project, int slot, cSpriteDrawer& drawer)
{
    drawer.UpdatePicture(project, slot, project.GetPicture(slot), true);
}

void SyncPictureSheets(cAnimeData& project, cSpriteDrawer& drawer)
{
    for (int i = 0; i < project.PictureCapacity(); ++i)
        if (drawer.Sheet(i) || project.GetPicture(i))
            drawer.UpdatePicture(project, i, project.GetPicture(i), false);
}

bool ReloadPicture(cAnimeData& project, int slot, cSpriteDrawer& drawer, iStatusSink& status)
{
    const strPicture* p = project.GetPicture(slot);
    const bool loaded = p && drawer.UpdatePicture(project, slot, p, true);
    ReportResult(status, kTextReloaded, 0, loaded, slot);
    return loaded;
}

int StoreEffect(cAnimeData& project, int slot, strEffect effect)
{
    project.ValidateEffect(effect);
    // Replacing is one undo step: the old slot closes, the copy goes in frame order.
    cTransaction transaction(project);
    if (project.GetEffect(slot))
        project.DeleteEffect(slot, true);
    int at = -1;
    const bool stored = project.InsertEffect(effect, &at);
    transaction.Commit();
    return stored ? at : -1;
}
