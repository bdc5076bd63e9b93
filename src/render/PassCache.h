#pragma once
// Patterns recoloured by a work pass (tone, silhouette, flash tint), kept by what
// made them, so a pass runs once per sheet, pattern and setting instead of once per
// draw. A rebuilt sheet gets a new stamp, so its old results are never reused.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class cPatternSheet;

/** What a pass is made from: the sheet (and its stamp), the pattern, the pass (the
 *  mode flags, 0 for a tone), its four values and whether transparent texels keep
 *  their colour. */
struct strPassKey {
    const cPatternSheet* sheet = nullptr;
    uint64_t stamp = 0;
    int index = 0, mode = 0;
    int red = 0, green = 0, blue = 0, saturation = 0;
    bool keepTransparent = false;
    bool operator==(const strPassKey&) const = default;
};

class cPassCache {
public:
    /** The sheet's stamp; a sheet whose textures were (re)built gets a fresh one. */
    static uint64_t Stamp(cPatternSheet& sheet);

    /** Results used from now on stay at least until the next scene. */
    void BeginScene() { ++scene_; }
    /** The stored result, or null. */
    uint32_t* Find(const strPassKey& key);
    /** Room for a new result of `texels` texels, to be filled before use. */
    uint32_t* Add(const strPassKey& key, size_t texels);

private:
    struct Hash {
        size_t operator()(const strPassKey& k) const;
    };
    struct Entry {
        std::vector<uint32_t> texels;
        uint64_t scene = 0;
    };
    void Evict();

    std::unordered_map<strPassKey, Entry, Hash> entries_;
    std::vector<std::vector<uint32_t>> spare_; // storage of evicted results, for reuse
    size_t bytes_ = 0, spareBytes_ = 0;
    uint64_t scene_ = 1;
};
