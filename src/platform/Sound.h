#pragma once
// Sound effects through OpenAL Soft. cSoundDevice opens the default audio device;
// cSound is one instance of one decoded file that can be played once from the
// start, stopped, asked whether it plays, and given a volume, pan and speed.
// Everything runs on the user-interface thread.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

class cSoundDevice;

class cSound {
public:
    ~cSound();
    cSound(const cSound&) = delete;
    cSound& operator=(const cSound&) = delete;

    bool IsPlaying() const;
    /** Plays once from the start. */
    void Play();
    void Stop();
    /** Volume in percent (the effect's 1-100). */
    void SetVolume(float volume);
    /** Balance from -100 (left) through 0 (centre) to 100 (right). */
    void SetPan(float pan);
    /** Playback speed; 1 is normal, 0.5 half speed and an octave lower. */
    void SetSpeed(float speed);

    /** Mark used by the sound table while it reloads. */
    bool stale = false;

private:
    friend class cSoundDevice;
    cSound(cSoundDevice* device, unsigned buffer, unsigned source, int channels);
    void ReleaseHandles();

    cSoundDevice* device_;
    unsigned buffer_ = 0;
    unsigned source_ = 0;
    int channels_ = 1;
};

class cSoundDevice {
public:
    /** The failure text of initialize. */
    static constexpr const char* kInitFailure = "Ayameの初期化に失敗";

    cSoundDevice() = default;
    ~cSoundDevice();
    cSoundDevice(const cSoundDevice&) = delete;
    cSoundDevice& operator=(const cSoundDevice&) = delete;

    /** Opens the default audio device and makes its context current. False leaves
     *  the device not ready (no audio device); sounds are then skipped. */
    bool Initialize();
    /** Releases every instance and closes the device when ready. */
    void Shutdown();
    bool IsReady() const { return ready_; }
    /** The library's version text, kept after initialisation. */
    const std::string& Version() const { return version_; }

    /** Decodes a file into a new instance; null when not ready or the file can't be
     *  read or decoded. The instance must not outlive the device's shut-down in use:
     *  shut-down leaves it silent. */
    std::unique_ptr<cSound> CreateInstance(const std::filesystem::path& file);

private:
    friend class cSound;
    bool ready_ = false;
    std::string version_;
    void* device_ = nullptr;  // ALCdevice
    void* context_ = nullptr; // ALCcontext
    std::set<cSound*> instances_;
};
