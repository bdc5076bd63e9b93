// MV / MZ Animations.json files: a file that parses gives back its bytes, and an
// import written back to its own ID is stable.
#include "model/AnimeData.h"

#include "interchange/DataFile.h"

#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto file = ParseJsonDataFile(DATA_MV, bytes, error);
    if (!file)
        return 0;
    if (file->Bytes() != bytes) {
        std::fprintf(stderr, "bytes changed without an export\n");
        __builtin_trap();
    }
    // An import written back to its own ID changes nothing but a stray "id" member,
    // and doing it again changes nothing at all.
    const std::vector<strDataEntry> list = file->List();
    for (const strDataEntry& entry : list) {
        cAnimeData project;
        if (!entry.editable || !file->Import(entry.id, project, error))
            continue;
        if (!file->Export(project, entry.id, strFolderNames{}, error)) {
            std::fprintf(stderr, "unchanged export of ID %d refused: %s\n", entry.id, error.c_str());
            __builtin_trap();
        }
        const std::string once = file->Bytes();
        if (!file->Export(project, entry.id, strFolderNames{}, error) || file->Bytes() != once ||
            file->List().size() != list.size()) {
            std::fprintf(stderr, "unchanged export of ID %d is not stable\n", entry.id);
            __builtin_trap();
        }
        // An append reads back with one entry more.
        if (file->Export(project, list.back().id + 2, strFolderNames{}, error)) {
            auto again = ParseJsonDataFile(DATA_MV, file->Bytes(), error);
            if (!again || again->List().size() != list.size() + 1) {
                std::fprintf(stderr, "appended file does not read back\n");
                __builtin_trap();
            }
        }
        break;
    }
    return 0;
}
