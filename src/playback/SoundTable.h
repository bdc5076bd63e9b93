#pragma once
// The sound effects of playback: the sound table maps each sound file name used
// by the effects, exactly as stored, to its loaded instance. Without a ready
// device no instance is made and every effect stays silent.

#include <map>
#include <memory>
#include <string>

#include "platform/Sound.h"

class cAnimeData;
struct strEffect;

/** What the player asks of the sound part. */
class cSoundPart {
public:
    virtual ~cSoundPart() = default;
    /** (Re)builds the loaded sounds for a play of the project. */
    virtual void LoadSounds(const cAnimeData& project) = 0;
    /** Plays the effect's sound from the start with its volume, pitch and balance. */
    virtual void PlayEffect(const strEffect& effect) = 0;
    /** Stops every sound. */
    virtual void StopAll() = 0;
    /** Stops and forgets every sound, so the next load reads the files again. */
    virtual void ReleaseAll() = 0;
    virtual bool AnyPlaying() const = 0;
};

class cSoundTable : public cSoundPart {
public:
    explicit cSoundTable(cSoundDevice& device) : device_(device) {}

    /** Keeps the entries still named by a sound effect of the project, loads the
     *  new names (relative ones against the project's work folder) and drops the
     *  rest. A file that can't be read is left out silently. */
    void LoadSounds(const cAnimeData& project) override;
    void PlayEffect(const strEffect& effect) override;
    /** Stops every instance and resets its volume to 100 and its speed to normal. */
    void StopAll() override;
    void ReleaseAll() override;
    bool AnyPlaying() const override;

    /** The entry of a name as stored, or null. */
    cSound* Find(const std::string& name) const;
    size_t Size() const { return table_.size(); }

private:
    cSoundDevice& device_;
    std::map<std::string, std::unique_ptr<cSound>> table_;
};

/** The program's sound device and its table. */
cSoundDevice& SoundDevice();
cSoundTable& SoundTable();
