#include "interchange/JsonAnimation.h"

#include "interchange/InterchangeText.h"
#include "model/AnimeData.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using nlohmann::json;

namespace {

constexpr int kMaxFrames = 9999;
constexpr int kMaxCells = 16;
constexpr int kMaxTimings = 999;

json cellJson(const strCell& c)
{
    const int pattern = std::clamp(int(c.pattern) - 1, 0, 99) + (c.picture != 0 ? 100 : 0);
    const int ax = std::abs(int(c.scaleX)), ay = std::abs(int(c.scaleY));
    static const int blends[5] = {0, 1, 0, 2, 3}; // subtract has no counterpart
    return json::array({pattern, c.x, c.y, ax >= ay ? ax : ay, c.angle / 10, c.scaleX < 1 ? 1 : 0, c.opacity,
                        c.blend <= 4 ? blends[c.blend] : 0});
}

json frameJson(const strFrame* frame)
{
    json cells = json::array();
    if (!frame)
        return cells;
    const int k = std::min(frame->cells.LastIndex() + 1, kMaxCells);
    for (int i = 0; i < k; ++i) {
        const strCell* c = frame->cells.Get(i);
        cells.push_back(c ? cellJson(*c) : json::array());
    }
    return cells;
}

json timingJson(const strEffect& e, const strFolderNames& folders)
{
    const bool flash = e.flags & EF_FLASH;
    json t = json::object();
    t["flashColor"] =
        flash ? json::array({e.flashRed, e.flashGreen, e.flashBlue, e.flashStrength}) : json::array({255, 0, 0, 0});
    t["flashDuration"] = flash ? int(e.flashDuration) : 0;
    t["flashScope"] = flash ? (e.flashScope == 0 ? 2 : e.flashScope == 1 ? 1 : 3) : 0;
    t["frame"] = e.frame;
    if (e.flags & EF_SOUND)
        t["se"] = {{"name", interchange::SoundName(e.seName, folders)},
                   {"pan", int(e.seBalance) - 100},
                   {"pitch", e.sePitch},
                   {"volume", e.seVolume}};
    else
        t["se"] = nullptr;
    return t;
}

// A JSON number as a 32-bit integer, truncated toward zero (saturated).
int32_t toInt(const json& v)
{
    if (v.is_number_unsigned())
        return int32_t(std::min<uint64_t>(v.get<uint64_t>(), INT32_MAX));
    if (v.is_number_integer())
        return int32_t(std::clamp<int64_t>(v.get<int64_t>(), INT32_MIN, INT32_MAX));
    const double d = v.get<double>();
    if (std::isnan(d))
        return 0;
    return int32_t(std::clamp(std::trunc(d), double(INT32_MIN), double(INT32_MAX)));
}

// Applies member key when it is a number.
template <class F> void ifNumber(const json& object, const char* key, F apply)
{
    auto it = object.find(key);
    if (it != object.end() && it->is_number())
        apply(toInt(*it));
}

// One cell element; false when it is not an array.
bool readCell(cAnimeData& project, int frame, int slot, const json& element)
{
    if (!element.is_array())
        return false;
    if (element.size() < 8)
        return true;
    strCell cell = strCell::New();
    bool skip = false;
    for (int pos : {0, 1, 2, 3, 5, 4, 6, 7}) {
        const json& v = element[size_t(pos)];
        if (!v.is_number())
            continue;
        const int32_t n = toInt(v);
        switch (pos) {
        case 0:
            if (n < 0)
                skip = true;
            else if (n >= 100) {
                cell.picture = 1;
                cell.pattern = uint16_t(n - 99);
            } else {
                cell.picture = 0;
                cell.pattern = uint16_t(n + 1);
            }
            break;
        case 1: cell.x = int16_t(n); break;
        case 2: cell.y = int16_t(n); break;
        case 3: cell.scaleX = cell.scaleY = int16_t(n); break;
        case 4: cell.angle = int16_t(int64_t(n) * 10); break;
        case 5:
            if (n != 0)
                cell.scaleX = int16_t(-cell.scaleX);
            break;
        case 6: cell.opacity = uint8_t(n); break;
        case 7: {
            static const uint8_t blends[4] = {0, 1, 3, 4};
            cell.blend = n >= 0 && n <= 3 ? blends[n] : 0;
            break;
        }
        }
    }
    if (!skip)
        project.SetCell(frame, slot, &cell);
    return true;
}

// One timing element; false when it is not an object.
bool readTiming(cAnimeData& project, const json& t)
{
    if (!t.is_object())
        return false;
    strEffect e;
    bool flash = false;
    ifNumber(t, "flashScope", [&](int32_t v) {
        if (v == 0)
            return;
        flash = true;
        e.flashBlend = 0;
        e.flashScope = v == 1 ? 1 : v == 3 ? 2 : 0;
    });
    if (flash) {
        auto color = t.find("flashColor");
        if (color != t.end() && color->is_array() && color->size() == 4) {
            uint8_t* fields[4] = {&e.flashRed, &e.flashGreen, &e.flashBlue, &e.flashStrength};
            for (size_t i = 0; i < 4; ++i)
                if ((*color)[i].is_number())
                    *fields[i] = uint8_t(toInt((*color)[i]));
        }
        ifNumber(t, "flashDuration", [&](int32_t v) { e.flashDuration = uint16_t(v); });
    }
    ifNumber(t, "frame", [&](int32_t v) { e.frame = uint16_t(v); });
    auto se = t.find("se");
    if (se != t.end() && se->is_object()) {
        auto name = se->find("name");
        if (name != se->end() && name->is_string()) {
            e.seName = interchange::ImportedText(name->get<std::string>());
            ifNumber(*se, "volume", [&](int32_t v) { e.seVolume = uint16_t(v); });
            ifNumber(*se, "pitch", [&](int32_t v) { e.sePitch = uint16_t(v); });
            ifNumber(*se, "pan", [&](int32_t v) { e.seBalance = uint16_t(int64_t(v) + 100); });
        }
    }
    project.ValidateEffect(e);
    project.InsertEffect(e, nullptr);
    return true;
}

void readPicture(const json& a, const char* nameKey, const char* hueKey, strPicture& p)
{
    auto name = a.find(nameKey);
    if (name != a.end() && name->is_string())
        p.path = interchange::ImportedText(name->get<std::string>());
    ifNumber(a, hueKey, [&](int32_t v) { p.hue = uint16_t(v); });
}

} // namespace

const char* JsonFormatName(int version)
{
    switch (version) {
    case JSON_MV: return "application/rpgmv-animations";
    case JSON_MZ: return "application/rpgmz-animations";
    default: return nullptr;
    }
}

std::string WriteJsonAnimation(const cAnimeData& project, const strFolderNames& folders)
{
    json a = json::object();
    for (int i = 0; i < 2; ++i) {
        const strPicture* p = project.GetPicture(i);
        const std::string index = std::to_string(i + 1);
        a["animation" + index + "Hue"] = p ? int(p->hue) : 0;
        a["animation" + index + "Name"] = p ? interchange::PictureName(p->path, folders) : std::string();
    }
    json frames = json::array();
    const int f = std::min(project.LastUsedIndex(AI_FRAMES) + 1, kMaxFrames);
    for (int i = 0; i < f; ++i)
        frames.push_back(frameJson(project.GetFrame(i)));
    a["frames"] = std::move(frames);
    a["id"] = 1;
    a["name"] = project.Text(AT_NAME);
    a["position"] = interchange::ToRpgPosition(project.GetValue(AI_CENTER_POSITION));
    json timings = json::array();
    const int t = std::min(project.LastUsedIndex(AI_EFFECTS) + 1, kMaxTimings);
    for (int i = 0; i < t; ++i)
        if (const strEffect* e = project.GetEffect(i))
            timings.push_back(timingJson(*e, folders));
    a["timings"] = std::move(timings);
    return json::array({std::move(a)}).dump(-1, ' ', false, json::error_handler_t::replace);
}

int ReadJsonAnimation(cAnimeData& project, const Cclip_stream& in)
{
    // A clipboard block can be padded with zeros after the text.
    size_t size = in.Size();
    while (size > 0 && in.Data()[size - 1] == 0)
        --size;
    const char* text = reinterpret_cast<const char*>(in.Data());
    const json root = json::parse(text, text + size, nullptr, false);
    if (root.is_discarded() || !root.is_array() || root.empty())
        return -1;
    const json& a = root[0];
    if (!a.is_object() || !interchange::ResetForImport(project, 16))
        return -1;
    project.SetValue(AI_FIX_PICTURE_PER_CELL, 0);

    auto name = a.find("name");
    if (name == a.end() || !name->is_string())
        return -1;
    project.SetText(AT_NAME, interchange::ImportedText(name->get<std::string>()));
    auto position = a.find("position");
    if (position == a.end() || !position->is_number())
        return -1;
    project.SetValue(AI_CENTER_POSITION, interchange::FromRpgPosition(toInt(*position)));

    strPicture pictures[2];
    readPicture(a, "animation1Name", "animation1Hue", pictures[0]);
    readPicture(a, "animation2Name", "animation2Hue", pictures[1]);
    for (int i = 0; i < 2; ++i) {
        pictures[i].divX = pictures[i].divY = 192;
        if (!pictures[i].path.empty()) {
            cAnimeData::ValidatePicture(pictures[i]);
            project.SetPicture(pictures[i], i);
        }
    }

    auto frames = a.find("frames");
    if (frames == a.end() || !frames->is_array() || frames->empty())
        return -1;
    const int n = int(std::min<size_t>(frames->size(), INT32_MAX));
    project.InsertFrames(0, n - project.GetValue(AI_FRAMES));
    for (int j = 0; j < n; ++j) {
        const json& frame = (*frames)[size_t(j)];
        if (!frame.is_array())
            return -1;
        for (size_t i = 0; i < frame.size(); ++i)
            if (!readCell(project, j, int(std::min<size_t>(i, INT32_MAX)), frame[i]))
                return -1;
    }

    auto timings = a.find("timings");
    if (timings == a.end() || !timings->is_array())
        return -1;
    for (const json& t : *timings)
        if (!readTiming(project, t))
            return -1;
    return 1;
}
