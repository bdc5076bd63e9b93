#include "render/PassCache.h"

#include <algorithm>
#include <atomic>

#include "image/PatternSheet.h"

namespace {

// Results beyond this many bytes are dropped, least recently used first, as long as
// the current scene does not use them.
constexpr size_t kBudget = size_t{32} << 20;

}  // namespace

uint64_t cPassCache::stamp(cPatternSheet& sheet)
{
    // The sheet zeroes its work tag on every build; a non-zero tag is our stamp.
    static std::atomic<uint64_t> next{1};
    if (sheet.workTag() == 0) sheet.workTag() = next.fetch_add(1);
    return sheet.workTag();
}

size_t cPassCache::Hash::operator()(const strPassKey& k) const
{
    uint64_t h = reinterpret_cast<uintptr_t>(k.sheet) ^ (k.stamp << 20);
    for (int v : {k.index, k.mode, k.red, k.green, k.blue, k.saturation, int{k.keepTransparent}})
        h = (h ^ static_cast<uint32_t>(v)) * 0x100000001B3ull;
    return static_cast<size_t>(h ^ (h >> 29));
}

uint32_t* cPassCache::find(const strPassKey& key)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end()) return nullptr;
    it->second.scene = m_scene;
    return it->second.texels.data();
}

uint32_t* cPassCache::add(const strPassKey& key, size_t texels)
{
    if (m_bytes + texels * 4 > kBudget) evict();
    Entry& e = m_entries[key];
    m_bytes -= e.texels.size() * 4;
    // Reused storage is already in memory; fresh storage would fault in page by page.
    auto spare = std::find_if(m_spare.begin(), m_spare.end(), [&](const auto& v) { return v.capacity() >= texels; });
    if (e.texels.capacity() < texels && spare != m_spare.end()) {
        m_spareBytes -= spare->capacity() * 4;
        e.texels.swap(*spare);
        m_spare.erase(spare);
    }
    e.texels.resize(texels);
    e.scene = m_scene;
    m_bytes += texels * 4;
    return e.texels.data();
}

void cPassCache::evict()
{
    // Down to three quarters of the budget, so that eviction runs now and then only.
    std::vector<std::pair<uint64_t, strPassKey>> old;
    for (const auto& [key, e] : m_entries)
        if (e.scene < m_scene) old.emplace_back(e.scene, key);
    std::sort(old.begin(), old.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [scene, key] : old) {
        if (m_bytes <= kBudget / 4 * 3) break;
        auto it = m_entries.find(key);
        std::vector<uint32_t>& texels = it->second.texels;
        m_bytes -= texels.size() * 4;
        if (m_spareBytes + texels.capacity() * 4 <= kBudget) {
            m_spareBytes += texels.capacity() * 4;
            m_spare.push_back(std::move(texels));
        }
        m_entries.erase(it);
    }
}
