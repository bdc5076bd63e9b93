#include "playback/SoundTable.h"

#include <algorithm>
#include <set>

#include "model/AnimeData.h"
#include "platform/Paths.h"

void cSoundTable::loadSounds(const cAnimeData& project)
{
    for (auto& [name, sound] : table_)
        sound->stale = true;

    std::set<std::string> failed; // try each unreadable file once per load
    const std::string& workFolder = project.Text(AT_WORK_FOLDER);
    const int count = project.GetValue(AI_EFFECTS);
    for (int i = 0; i < count; ++i) {
        const strEffect* effect = project.GetEffect(i);
        if (!effect || !(effect->flags & EF_SOUND) || effect->seName.empty())
            continue;
        auto found = table_.find(effect->seName);
        if (found != table_.end()) {
            found->second->stale = false;
            continue;
        }
        if (failed.count(effect->seName))
            continue;
        std::unique_ptr<cSound> sound =
            device_.createInstance(paths::ToDiskPath(paths::MakeAbsolute(effect->seName, workFolder)));
        if (sound)
            table_.emplace(effect->seName, std::move(sound));
        else
            failed.insert(effect->seName);
    }

    std::erase_if(table_, [](const auto& entry) { return entry.second->stale; });
}

void cSoundTable::playEffect(const strEffect& effect)
{
    cSound* sound = find(effect.seName);
    if (!sound)
        return;
    sound->setVolume(float(effect.seVolume));
    sound->setSpeed(float(std::max<int>(effect.sePitch, 1)) / 100.0f);
    sound->setPan(float(effect.seBalance) - 100.0f);
    if (sound->isPlaying())
        sound->stop();
    sound->play();
}

void cSoundTable::stopAll()
{
    for (auto& [name, sound] : table_) {
        sound->stop();
        sound->setVolume(100);
        sound->setSpeed(1.0f);
    }
}

void cSoundTable::releaseAll()
{
    // Destroying an instance stops and releases it.
    table_.clear();
}

bool cSoundTable::anyPlaying() const
{
    return std::any_of(table_.begin(), table_.end(), [](const auto& entry) { return entry.second->isPlaying(); });
}

cSound* cSoundTable::find(const std::string& name) const
{
    auto found = table_.find(name);
    return found == table_.end() ? nullptr : found->second.get();
}

cSoundDevice& SoundDevice()
{
    static cSoundDevice device;
    return device;
}

cSoundTable& SoundTable()
{
    static cSoundTable table(SoundDevice());
    return table;
}
