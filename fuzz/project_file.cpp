// Project files: binary, text and legacy text through the loader.
#include "Invariants.h"
#include "model/AnimeData.h"

#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ANIME::cAnimeFile_Device device;
    cAnimeData project;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (device.LoadBytes(bytes, project) == ANIME::FR_OK) {
        CheckProjectInvariants(project);
        // What was read can be written again.
        std::string out;
        device.SaveBytes(project, 0, out);
        device.SaveBytes(project, 1, out);
    }
    return 0;
}
