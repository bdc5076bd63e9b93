#include "platform/SoundDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

int16_t toPcm16(float v)
{
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

} // namespace

bool DecodeSoundFile(const std::filesystem::path& file, DecodedSound& out)
{
    out = DecodedSound();
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> sf(sf_open(file.c_str(), SFM_READ, &info));
    if (!sf || info.channels < 1 || info.samplerate < 1) return false;

    const int inChannels = info.channels;
    out.channels = inChannels <= 2 ? inChannels : 1;
    out.sampleRate = info.samplerate;
    // The frame count in the header is only an estimate for some formats (MP3), so
    // read in blocks until the decoder reports the end.
    // Sound effects are short; a file beyond this many samples is refused rather
    // than decoded into an unbounded amount of memory.
    constexpr size_t kMaxSamples = size_t(1) << 26;
    constexpr sf_count_t kBlock = 4096;
    std::vector<float> block(size_t(kBlock) * size_t(inChannels));
    for (;;) {
        sf_count_t got = sf_readf_float(sf.get(), block.data(), kBlock);
        if (got <= 0) break;
        if (out.samples.size() + size_t(got) * size_t(out.channels) > kMaxSamples) {
            out = DecodedSound();
            return false;
        }
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = block.data() + size_t(f) * size_t(inChannels);
            if (inChannels <= 2) {
                for (int c = 0; c < inChannels; ++c) out.samples.push_back(toPcm16(frame[c]));
            } else {
                float sum = 0;
                for (int c = 0; c < inChannels; ++c) sum += frame[c];
                out.samples.push_back(toPcm16(sum / float(inChannels)));
            }
        }
    }
    return !out.samples.empty();
}

} // namespace platform
