// MV / MZ clipboard JSON.
#include "Invariants.h"
#include "model/AnimeData.h"

#include "interchange/JsonAnimation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Cclip_stream in;
    in.Assign(data, size);
    cAnimeData project;
    if (ReadJsonAnimation(project, in) == 1)
        CheckProjectInvariants(project);
    return 0;
}
