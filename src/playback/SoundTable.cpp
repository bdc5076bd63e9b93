#include "playback/SoundTable.h"

#include <algorithm>
#include <set>

#include "model/AnimeData.h"
#include "platform/Paths.h"

void cSoundTable::LoadSounds(const cAnimeData& project)
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
            device_.CreateInstance(paths::ToDiskPath(paths::MakeAbsolute(effect->seName, workFolder)));
        if (sound)
            table_.emplace(effect->seName, std::move(sound));
        else
            failed.insert(effect->seName);
    }

    std::erase_if(table_, [](const auto& entry) { return entry.second->stale; });
}

void cSoundTable::PlayEffect(const strEffect& effect)
{
    cSound* sound = Find(effect.seName);
    if (!sound)
        return;
    sound->SetVolume(float(effect.seVolume));
    sound->SetSpeed(float(std::max<int>(effect.sePitch, 1)) / 100.0f);
    sound->SetPan(float(effect.seBalance) - 100.0f);
    if (sound->IsPlaying())
        sound->Stop();
    sound->Play();
}

void cSoundTable::StopAll()
{
    for (auto& [name, sound] : table_) {
        sound->Stop();
        sound->SetVolume(100);
        sound->SetSpeed(1.0f);
    }
}

void cSoundTable::ReleaseAll()
{
    // Destroying an instance stops and releases it.
    table_.clear();
}

bool cSoundTable::AnyPlaying() const
{
    return std::any_of(table_.begin(), table_.end(), [](const auto& entry) { return entry.second->IsPlaying(); });
}

cSound* cSoundTable::Find(const std::string& name) const
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
