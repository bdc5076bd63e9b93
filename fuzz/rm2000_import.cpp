// RPG Maker 2000 clipboard chunks.
#include "Invariants.h"
#include "model/AnimeData.h"

#include "interchange/Rm2000Animation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Cclip_stream in;
    in.Assign(data, size);
    cAnimeData project;
    if (ReadRm2000Animation(project, in) == 1)
        CheckProjectInvariants(project);
    return 0;
}
