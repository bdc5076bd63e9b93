#include "render/PassCache.h"

#include <algorithm>
#include <atomic>

#include "image/PatternSheet.h"

namespace {

// Results beyond this many bytes are dropped, least recently used first, as long as
// the current scene does not use them.
constexpr size_t kBudget = size_t{32} << 20;

} // namespace

uint64_t cPassCache::Stamp(cPatternSheet& sheet)
{
    // The sheet zeroes its work tag on every build; a non-zero tag is our stamp.
    static std::atomic<uint64_t> next{1};
    if (sheet.WorkTag() == 0)
        sheet.WorkTag() = next.fetch_add(1);
    return sheet.WorkTag();
}

size_t cPassCache::Hash::operator()(const strPassKey& k) const
{
    uint64_t h = reinterpret_cast<uintptr_t>(k.sheet) ^ (k.stamp << 20);
    for (int v : {k.index, k.mode, k.red, k.green, k.blue, k.saturation, int{k.keepTransparent}})
        h = (h ^ static_cast<uint32_t>(v)) * 0x100000001B3ull;
    return static_cast<size_t>(h ^ (h >> 29));
}

uint32_t* cPassCache::Find(const strPassKey& key)
{
    auto it = entries_.find(key);
    if (it == entries_.end())
        return nullptr;
    it->second.scene = scene_;
    return it->second.texels.data();
}

uint32_t* cPassCache::Add(const strPassKey& key, size_t texels)
{
    if (bytes_ + texels * 4 > kBudget)
        Evict();
    Entry& e = entries_[key];
    bytes_ -= e.texels.size() * 4;
    // Reused storage is already in memory; fresh storage would fault in page by page.
    auto spare = std::find_if(spare_.begin(), spare_.end(), [&](const auto& v) { return v.capacity() >= texels; });
    if (e.texels.capacity() < texels && spare != spare_.end()) {
        spareBytes_ -= spare->capacity() * 4;
        e.texels.swap(*spare);
        spare_.erase(spare);
    }
    e.texels.resize(texels);
    e.scene = scene_;
    bytes_ += texels * 4;
    return e.texels.data();
}

void cPassCache::Evict()
{
    // Down to three quarters of the budget, so that eviction runs now and then only.
    std::vector<std::pair<uint64_t, strPassKey>> old;
    for (const auto& [key, e] : entries_)
        if (e.scene < scene_)
            old.emplace_back(e.scene, key);
    std::sort(old.begin(), old.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [scene, key] : old) {
        if (bytes_ <= kBudget / 4 * 3)
            break;
        auto it = entries_.find(key);
        std::vector<uint32_t>& texels = it->second.texels;
        bytes_ -= texels.size() * 4;
        if (spareBytes_ + texels.capacity() * 4 <= kBudget) {
            spareBytes_ += texels.capacity() * 4;
            spare_.push_back(std::move(texels));
        }
        entries_.erase(it);
    }
}
