#include "project/ProjectDump.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"

namespace ANIME {

std::string DumpText(const std::string& text) { return platform::DecodeText(text, "UTF-8"); }

nlohmann::json DumpProject(const cAnimeData& p)
{
    using nlohmann::json;
    json out = {
        {"name", DumpText(p.Text(AT_NAME))},
        {"userData", DumpText(p.Text(AT_USER_DATA))},
        {"editFormat", p.GetValue(AI_EDIT_FORMAT)},
        {"divisionFormat", p.GetValue(AI_DIVISION_FORMAT)},
        {"saveFormat", p.GetValue(AI_SAVE_FORMAT)},
        {"centerPosition", p.GetValue(AI_CENTER_POSITION)},
        {"baseInterval", p.GetValue(AI_BASE_INTERVAL)},
        {"totalInterval", p.GetValue(AI_TOTAL_INTERVAL)},
        {"cellCount", p.CellCount()},
        {"fixPicturePerCell", p.GetValue(AI_FIX_PICTURE_PER_CELL)},
    };
    json fixed = json::array();
    for (int n = 0; n < p.CellCount(); ++n)
        fixed.push_back(p.GetFixPicture(n));
    out["fixPictures"] = std::move(fixed);

    json pictures = json::array();
    for (int i = 0; i < p.Pictures().Size(); ++i)
        if (const strPicture* pic = p.GetPicture(i))
            pictures.push_back({{"index", i},
                                {"divX", pic->divX},
                                {"divY", pic->divY},
                                {"hue", pic->hue},
                                {"path", DumpText(pic->path)}});
    out["pictures"] = std::move(pictures);

    json effects = json::array();
    for (int i = 0; i < p.Effects().Size(); ++i)
        if (const strEffect* e = p.GetEffect(i))
            effects.push_back({{"frame", e->frame},
                               {"flags", e->flags},
                               {"flashDuration", e->flashDuration},
                               {"flashBlend", e->flashBlend},
                               {"flashScope", e->flashScope},
                               {"flashRed", e->flashRed},
                               {"flashGreen", e->flashGreen},
                               {"flashBlue", e->flashBlue},
                               {"flashStrength", e->flashStrength},
                               {"seVolume", e->seVolume},
                               {"sePitch", e->sePitch},
                               {"seBalance", e->seBalance},
                               {"seName", DumpText(e->seName)},
                               {"note", DumpText(e->note)}});
    out["effects"] = std::move(effects);

    json frames = json::array();
    for (int f = 0; f < p.Frames().Size(); ++f) {
        const strFrame* frame = p.GetFrame(f);
        if (!frame)
            continue;
        json cells = json::array();
        for (int n = 0; n < frame->cells.Size(); ++n)
            if (const strCell* c = frame->cells.Get(n))
                cells.push_back({{"slot", n},
                                 {"picture", c->picture},
                                 {"pattern", c->pattern},
                                 {"blend", c->blend},
                                 {"x", c->x},
                                 {"y", c->y},
                                 {"scaleX", c->scaleX},
                                 {"scaleY", c->scaleY},
                                 {"angle", c->angle},
                                 {"opacity", c->opacity},
                                 {"red", c->red},
                                 {"green", c->green},
                                 {"blue", c->blue},
                                 {"saturation", c->saturation}});
        frames.push_back({{"index", f}, {"interval", frame->interval}, {"cells", std::move(cells)}});
    }
    out["frames"] = std::move(frames);
    return out;
}

std::string DumpProjectText(const cAnimeData& project) { return DumpProject(project).dump(); }

} // namespace ANIME
