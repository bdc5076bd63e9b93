#include "platform/SoundDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "platform/FileIO.h"

namespace platform {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

int16_t toPcm16(float v) { return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); }

// libsndfile reads the file's bytes from memory through these callbacks.
struct strMemoryFile {
    const std::vector<uint8_t>& bytes;
    sf_count_t pos = 0;
};

sf_count_t memLength(void* user) { return sf_count_t(static_cast<strMemoryFile*>(user)->bytes.size()); }

sf_count_t memSeek(sf_count_t offset, int whence, void* user)
{
    auto* f = static_cast<strMemoryFile*>(user);
    const sf_count_t size = sf_count_t(f->bytes.size());
    sf_count_t to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? f->pos + offset : size + offset;
    f->pos = std::clamp<sf_count_t>(to, 0, size);
    return f->pos;
}

sf_count_t memRead(void* out, sf_count_t count, void* user)
{
    auto* f = static_cast<strMemoryFile*>(user);
    const sf_count_t n =
        std::clamp<sf_count_t>(sf_count_t(f->bytes.size()) - f->pos, 0, std::max<sf_count_t>(count, 0));
    std::memcpy(out, f->bytes.data() + f->pos, size_t(n));
    f->pos += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memTell(void* user) { return static_cast<strMemoryFile*>(user)->pos; }

bool decodeSound(const std::filesystem::path& file, DecodedSound& out)
{
    std::vector<uint8_t> bytes;
    if (!ReadFile(file, bytes, FileKind::Sound))
        return false;
    strMemoryFile source{bytes};
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> sf(sf_open_virtual(&io, SFM_READ, &info, &source));
    if (!sf || info.channels < 1 || info.samplerate < 1)
        return false;

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
        if (got <= 0)
            break;
        if (out.samples.size() + size_t(got) * size_t(out.channels) > kMaxSamples) {
            out = DecodedSound();
            return false;
        }
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = block.data() + size_t(f) * size_t(inChannels);
            if (inChannels <= 2) {
                for (int c = 0; c < inChannels; ++c)
                    out.samples.push_back(toPcm16(frame[c]));
            } else {
                float sum = 0;
                for (int c = 0; c < inChannels; ++c)
                    sum += frame[c];
                out.samples.push_back(toPcm16(sum / float(inChannels)));
            }
        }
    }
    return !out.samples.empty();
}

} // namespace

bool DecodeSoundFile(const std::filesystem::path& file, DecodedSound& out)
{
    out = DecodedSound();
    try {
        if (decodeSound(file, out))
            return true;
    } catch (const std::bad_alloc&) {
    }
    out = DecodedSound();
    return false;
}

} // namespace platform
