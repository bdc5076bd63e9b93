// Internal clipboard payloads; the first byte picks the kind.
#include "edit/EditClip.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint32_t kinds[] = {CLIP_PICTURE, CLIP_EFFECT, CLIP_CELLS, CLIP_FRAMES, CLIP_ROWS};
    const uint32_t kind = kinds[data[0] % 5];
    strPicture picture;
    strEffect effect;
    std::unique_ptr<cEditClip> clip;
    if (kind == CLIP_PICTURE)
        clip = std::make_unique<cClip_Picture>(&picture);
    else if (kind == CLIP_EFFECT)
        clip = std::make_unique<cClip_Effect>(&effect);
    else
        clip = std::make_unique<cClip_Mass>(kind);
    clip->stream.Assign(data + 1, size - 1);
    if (clip->Deserialize()) {
        // A payload that was read can be written again.
        clip->stream.Clear();
        clip->Serialize();
    }
    return 0;
}
