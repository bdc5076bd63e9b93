// Every reader that takes a path, on arbitrary file contents: the checked reader
// returns exactly the bytes on disk, the head read their prefix, and the project,
// config, picture, draft GIF and sound readers take the file without crashing. The
// atomic writer puts the same bytes back.
#include "Invariants.h"

#include "export/GifFile.h"
#include "image/ImageFile.h"
#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "platform/SoundDecoder.h"
#include "project/AnimeFile.h"
#include "project/IniFile.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path& folder()
{
    static const std::filesystem::path dir = [] {
        std::filesystem::path d =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        d /= "mevko_fuzz_" + std::to_string(::getpid());
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::filesystem::path file = folder() / "input";
    require(platform::WriteFileAtomic(file, data, size));

    std::string bytes, head;
    require(platform::ReadFile(file, bytes, platform::FileKind::Config));
    require(bytes.size() == size && (size == 0 || std::memcmp(bytes.data(), data, size) == 0));
    require(platform::ReadFileHead(file, 16, head));
    require(head == bytes.substr(0, 16));

    ANIME::cAnimeFile_Device device;
    cAnimeData project;
    device.ProbeFile(file);
    if (device.Load(file, project) == ANIME::FR_OK)
        CheckProjectInvariants(project);
    project::cIniFile ini;
    require(ini.Load(file));
    cBMP image;
    LoadImage(file, image);
    CGIFFile().Load(file);
    platform::DecodedSound sound;
    platform::DecodeSoundFile(file, sound);
    return 0;
}
