#pragma once
// Decoding of sound files into 16-bit PCM through libsndfile (WAV, Ogg Vorbis/Opus,
// FLAC, MP3 and the other formats it reads).

#include <cstdint>
#include <filesystem>
#include <vector>

namespace platform {

struct DecodedSound {
    int channels = 0; // 1 or 2; files with more channels are mixed down to mono
    int sampleRate = 0;
    std::vector<int16_t> samples; // interleaved
};

/** Decodes a whole file, read through ReadFile (regular files within the sound cap
 *  only); false when it cannot be read, is not a sound file the library knows, holds
 *  no samples, or is longer than about 12 minutes of stereo. Never throws. */
bool DecodeSoundFile(const std::filesystem::path& file, DecodedSound& out);

} // namespace platform
