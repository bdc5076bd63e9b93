#include "edit/ListClip.h"

#include "edit/EditClip.h"
#include "edit/EditStrings.h"
#include "edit/FrameOps.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"

namespace {
bool report(iStatusSink& status, int text, bool ok, int row)
{
    ReportResult(status, text, 0, ok, row);
    return ok;
}

bool putEffect(const cAnimeData& project, int row)
{
    const strEffect* effect = project.GetEffect(row);
    strEffect copy = effect ? *effect : strEffect();
    cClip_Effect clip(effect ? &copy : nullptr);
    return Put(clip);
}

bool putPicture(const cAnimeData& project, int row)
{
    const strPicture* picture = project.GetPicture(row);
    strPicture copy = picture ? *picture : strPicture();
    cClip_Picture clip(picture ? &copy : nullptr);
    return Put(clip);
}

// Each list edit is one undo step.
template <class Edit> auto recorded(cAnimeData& project, Edit edit)
{
    cTransaction transaction(project);
    const auto result = edit();
    transaction.Commit();
    return result;
}
} // namespace

bool EffectCopy(const cAnimeData& project, int row, iStatusSink& status)
{
    return report(status, ST_COPY, putEffect(project, row), row);
}

bool EffectCut(cAnimeData& project, int row, iStatusSink& status)
{
    const bool ok = recorded(project, [&] { return putEffect(project, row) && project.DeleteEffect(row, true); });
    return report(status, ST_CUT, ok, row);
}

bool EffectDelete(cAnimeData& project, int row, iStatusSink& status)
{
    return report(status, ST_DELETE, recorded(project, [&] { return project.DeleteEffect(row, true); }), row);
}

int EffectPaste(cAnimeData& project, int row, iStatusSink& status)
{
    strEffect effect;
    cClip_Effect clip(&effect);
    int index = -1;
    bool ok = Get(clip);
    if (ok) {
        // Data from outside: the same rules as any effect built in the editor.
        project.ValidateEffect(effect);
        ok = recorded(project, [&] { return project.InsertEffect(effect, &index); });
    }
    report(status, ST_PASTE, ok, row);
    return ok ? index : -1;
}

bool PictureCopy(const cAnimeData& project, int row, iStatusSink& status)
{
    return report(status, ST_COPY, putPicture(project, row), row);
}

bool PictureCut(cAnimeData& project, int row, iStatusSink& status)
{
    const bool ok = recorded(project, [&] { return putPicture(project, row) && project.DeletePicture(row); });
    return report(status, ST_CUT, ok, row);
}

bool PictureDelete(cAnimeData& project, int row, iStatusSink& status)
{
    return report(status, ST_DELETE, recorded(project, [&] { return project.DeletePicture(row); }), row);
}

bool PicturePaste(cAnimeData& project, int row, iStatusSink& status)
{
    strPicture picture;
    cClip_Picture clip(&picture);
    bool ok = Get(clip);
    if (ok) {
        cAnimeData::ValidatePicture(picture);
        ok = recorded(project, [&] { return project.SetPicture(picture, row); });
    }
    return report(status, ST_PASTE, ok, row);
}
