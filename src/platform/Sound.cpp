#include "platform/Sound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/SoundDecoder.h"

namespace {

constexpr float kHalfPi = 1.5707963f;
constexpr float kStereoSpread = 0.5235988f; // 30 degrees, the default stereo angles

} // namespace

cSound::cSound(cSoundDevice* device, unsigned buffer, unsigned source, int channels)
    : device_(device), buffer_(buffer), source_(source), channels_(channels)
{
    device_->instances_.insert(this);
}

cSound::~cSound()
{
    ReleaseHandles();
    if (device_)
        device_->instances_.erase(this);
}

void cSound::ReleaseHandles()
{
    if (source_) {
        alSourceStop(source_);
        alDeleteSources(1, &source_);
    }
    if (buffer_)
        alDeleteBuffers(1, &buffer_);
    source_ = buffer_ = 0;
}

bool cSound::IsPlaying() const
{
    if (!source_)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void cSound::Play()
{
    // Playing a source that plays restarts it from the start.
    if (source_)
        alSourcePlay(source_);
}

void cSound::Stop()
{
    // Rewinding puts the source back to the start, in the initial state.
    if (source_)
        alSourceRewind(source_);
}

void cSound::SetVolume(float volume)
{
    if (source_)
        alSourcef(source_, AL_GAIN, std::clamp(volume, 0.0f, 100.0f) / 100.0f);
}

void cSound::SetPan(float pan)
{
    if (!source_)
        return;
    float t = std::clamp(pan, -100.0f, 100.0f) / 100.0f;
    if (channels_ == 1) {
        // A mono source is placed on a unit circle around the listener, from
        // straight left through ahead to straight right.
        float a = t * kHalfPi;
        alSource3f(source_, AL_POSITION, std::sin(a), 0.0f, -std::cos(a));
    } else {
        // A stereo source keeps its two channels but turns them towards one side;
        // angles count counter-clockwise, so left is positive.
        float left = kStereoSpread, right = -kStereoSpread;
        if (t < 0) {
            left += (kHalfPi - kStereoSpread) * -t;
            right += (kHalfPi + kStereoSpread) * -t;
        } else {
            left -= (kHalfPi + kStereoSpread) * t;
            right -= (kHalfPi - kStereoSpread) * t;
        }
        ALfloat angles[2] = {left, right};
        alSourcefv(source_, AL_STEREO_ANGLES, angles);
    }
}

void cSound::SetSpeed(float speed)
{
    if (source_)
        alSourcef(source_, AL_PITCH, std::max(speed, 0.01f));
}

cSoundDevice::~cSoundDevice()
{
    Shutdown();
    for (cSound* sound : instances_)
        sound->device_ = nullptr;
}

bool cSoundDevice::Initialize()
{
    if (ready_)
        return true;
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return false;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    device_ = device;
    context_ = context;
    const ALchar* version = alGetString(AL_VERSION);
    const ALchar* renderer = alGetString(AL_RENDERER);
    version_ = std::string(version ? version : "") + " " + (renderer ? renderer : "");
    ready_ = true;
    return true;
}

void cSoundDevice::Shutdown()
{
    if (!ready_)
        return;
    for (cSound* sound : instances_)
        sound->ReleaseHandles();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(static_cast<ALCdevice*>(device_));
    context_ = device_ = nullptr;
    ready_ = false;
}

std::unique_ptr<cSound> cSoundDevice::CreateInstance(const std::filesystem::path& file)
{
    if (!ready_)
        return nullptr;
    platform::DecodedSound pcm;
    if (!platform::DecodeSoundFile(file, pcm))
        return nullptr;
    if (pcm.samples.size() > size_t(INT32_MAX) / sizeof(int16_t))
        return nullptr;

    alGetError();
    ALuint buffer = 0, source = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return nullptr;
    alBufferData(buffer, pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm.samples.data(),
                 ALsizei(pcm.samples.size() * sizeof(int16_t)), pcm.sampleRate);
    if (alGetError() == AL_NO_ERROR)
        alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        if (source)
            alDeleteSources(1, &source);
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    alSourcei(source, AL_BUFFER, ALint(buffer));
    // Positions are relative to the listener and carry no distance attenuation:
    // they only express the pan.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    std::unique_ptr<cSound> sound(new cSound(this, buffer, source, pcm.channels));
    sound->SetPan(0);
    return sound;
}
