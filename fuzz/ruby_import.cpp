// XP / VX / VX Ace clipboard blocks (Ruby Marshal).
#include "Invariants.h"
#include "model/AnimeData.h"

#include "interchange/RubyAnimation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Cclip_stream in;
    in.Assign(data, size);
    cAnimeData project;
    if (ReadRubyAnimation(project, in) == 1)
        CheckProjectInvariants(project);
    return 0;
}
