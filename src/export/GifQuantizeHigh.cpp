// The high-quality quantiser: variance-driven splits of the distinct colours, k-means
// refinement, nearest-colour mapping. All in RGB, since the error it minimises is the
// squared RGB difference.

#include "export/GifQuantize.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kRefinePasses = 6;

struct Colour {
    float c[3];   // R, G, B
    float weight; // pixels of this colour
};

// The distinct colours of the pixels, and which of them each pixel has.
struct Histogram {
    std::vector<Colour> colours;
    std::vector<uint32_t> rgb;       // 0x00RRGGBB of each distinct colour
    std::vector<uint32_t> pixelColour;

    void build(const uint32_t* pixels, size_t count)
    {
        size_t slots = 1024;
        while (slots < 2 * count) slots *= 2;
        std::vector<uint32_t> keys(slots, 0xFFFFFFFF), values(slots);
        pixelColour.resize(count);
        uint32_t last = 0xFFFFFFFF, lastId = 0;
        for (size_t i = 0; i < count; ++i) {
            uint32_t v = pixels[i] & 0xFFFFFF;
            if (v != last) {
                size_t s = (v * 2654435761u) & (slots - 1);
                while (keys[s] != v && keys[s] != 0xFFFFFFFF) s = (s + 1) & (slots - 1);
                if (keys[s] != v) {
                    keys[s] = v;
                    values[s] = static_cast<uint32_t>(rgb.size());
                    rgb.push_back(v);
                    colours.push_back({{static_cast<float>(v >> 16), static_cast<float>(v >> 8 & 0xFF),
                                        static_cast<float>(v & 0xFF)},
                                       0});
                }
                last = v;
                lastId = values[s];
            }
            colours[lastId].weight += 1;
            pixelColour[i] = lastId;
        }
    }
};

struct Stats {
    double w = 0, sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
    void add(const Colour& k)
    {
        w += k.weight;
        for (int a = 0; a < 3; ++a) {
            sum[a] += k.weight * k.c[a];
            sq[a] += k.weight * k.c[a] * k.c[a];
        }
    }
    double error(int a) const { return w > 0 ? sq[a] - sum[a] * sum[a] / w : 0; }
    double error() const { return error(0) + error(1) + error(2); }
};

struct Group {
    size_t begin, end;
    Stats stats;
};

// Splits the group of largest error until there are n groups: along its channel of
// largest variance, at the value that leaves the least error on both sides.
std::vector<Group> splitGroups(std::vector<Colour>& colours, int n)
{
    std::vector<Group> groups(1);
    groups[0].begin = 0;
    groups[0].end = colours.size();
    for (const Colour& k : colours) groups[0].stats.add(k);
    Stats buckets[256];
    while (static_cast<int>(groups.size()) < n) {
        size_t pick = 0;
        for (size_t g = 1; g < groups.size(); ++g)
            if (groups[g].stats.error() > groups[pick].stats.error()) pick = g;
        Group& g = groups[pick];
        if (g.end - g.begin < 2 || g.stats.error() <= 0) break;
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (g.stats.error(a) > g.stats.error(axis)) axis = a;
        for (Stats& b : buckets) b = Stats();
        for (size_t i = g.begin; i < g.end; ++i) buckets[static_cast<int>(colours[i].c[axis])].add(colours[i]);
        Stats left;
        double best = -1;
        int cut = -1;
        for (int v = 0; v < 255; ++v) {
            left.w += buckets[v].w;
            for (int a = 0; a < 3; ++a) left.sum[a] += buckets[v].sum[a], left.sq[a] += buckets[v].sq[a];
            if (left.w <= 0 || left.w >= g.stats.w) continue;
            Stats right;
            right.w = g.stats.w - left.w;
            for (int a = 0; a < 3; ++a) right.sum[a] = g.stats.sum[a] - left.sum[a], right.sq[a] = g.stats.sq[a] - left.sq[a];
            double e = left.error() + right.error();
            if (cut < 0 || e < best) best = e, cut = v;
        }
        if (cut < 0) break;
        auto mid = std::partition(colours.begin() + static_cast<ptrdiff_t>(g.begin),
                                  colours.begin() + static_cast<ptrdiff_t>(g.end),
                                  [&](const Colour& k) { return static_cast<int>(k.c[axis]) <= cut; });
        Group upper{static_cast<size_t>(mid - colours.begin()), g.end, Stats()};
        g.end = upper.begin;
        g.stats = Stats();
        for (size_t i = g.begin; i < g.end; ++i) g.stats.add(colours[i]);
        for (size_t i = upper.begin; i < upper.end; ++i) upper.stats.add(colours[i]);
        groups.push_back(upper);
    }
    return groups;
}

// Exact nearest-centre search: the centres sorted by their projection on one axis;
// a centre whose projection is farther than the best distance so far cannot win.
class Nearest {
public:
    explicit Nearest(const std::vector<std::array<float, 3>>& centres) : m_centres(centres)
    {
        m_order.resize(centres.size());
        for (size_t i = 0; i < centres.size(); ++i) m_order[i] = static_cast<int>(i);
        std::sort(m_order.begin(), m_order.end(), [&](int a, int b) { return project(centres[a]) < project(centres[b]); });
        m_keys.resize(centres.size());
        for (size_t i = 0; i < centres.size(); ++i) m_keys[i] = project(centres[static_cast<size_t>(m_order[i])]);
    }

    int find(const float* c) const
    {
        float p = project3(c);
        int n = static_cast<int>(m_keys.size());
        int hi = static_cast<int>(std::lower_bound(m_keys.begin(), m_keys.end(), p) - m_keys.begin());
        int lo = hi - 1;
        float best = 1e30f;
        int bestIndex = 0;
        while (lo >= 0 || hi < n) {
            bool goHi = hi < n && (lo < 0 || m_keys[hi] - p < p - m_keys[lo]);
            int at = goHi ? hi++ : lo--;
            float gap = m_keys[at] - p;
            if (gap * gap >= best) {
                if (goHi) hi = n;
                else lo = -1;
                continue;
            }
            const auto& k = m_centres[static_cast<size_t>(m_order[at])];
            float d0 = k[0] - c[0], d1 = k[1] - c[1], d2 = k[2] - c[2];
            float d = d0 * d0 + d1 * d1 + d2 * d2;
            if (d < best) best = d, bestIndex = m_order[at];
        }
        return bestIndex;
    }

private:
    // A unit vector near the grey axis, where colours spread most.
    static float project3(const float* c) { return 0.5f * c[0] + 0.7f * c[1] + 0.5099f * c[2]; }
    static float project(const std::array<float, 3>& c) { return project3(c.data()); }

    const std::vector<std::array<float, 3>>& m_centres;
    std::vector<int> m_order;
    std::vector<float> m_keys;
};

}  // namespace

bool quantizeHigh(const uint32_t* rgb, int width, int height, int n, strQuantized& out)
{
    if (n < 2 || n > 256 || width <= 0 || height <= 0 || !rgb) return false;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    Histogram hist;
    hist.build(rgb, count);

    // Splitting reorders the colours; keep their ids for the pixels.
    std::vector<Colour> colours = hist.colours;
    std::vector<Group> groups = splitGroups(colours, n);
    std::vector<std::array<float, 3>> centres;
    for (const Group& g : groups)
        centres.push_back({static_cast<float>(g.stats.sum[0] / g.stats.w), static_cast<float>(g.stats.sum[1] / g.stats.w),
                           static_cast<float>(g.stats.sum[2] / g.stats.w)});

    const std::vector<Colour>& all = hist.colours;
    std::vector<int> assigned(all.size());
    for (int pass = 0; pass < kRefinePasses; ++pass) {
        Nearest nearest(centres);
        std::vector<Stats> sums(centres.size());
        for (size_t i = 0; i < all.size(); ++i) {
            assigned[i] = nearest.find(all[i].c);
            sums[static_cast<size_t>(assigned[i])].add(all[i]);
        }
        for (size_t g = 0; g < centres.size(); ++g)
            if (sums[g].w > 0)
                for (int a = 0; a < 3; ++a) centres[g][static_cast<size_t>(a)] = static_cast<float>(sums[g].sum[a] / sums[g].w);
    }

    // The palette as whole numbers, then each colour's nearest entry.
    out.width = width;
    out.height = height;
    out.colors.clear();
    for (auto& c : centres) {
        uint32_t v = 0;
        for (int a = 0; a < 3; ++a) {
            c[static_cast<size_t>(a)] = std::round(std::clamp(c[static_cast<size_t>(a)], 0.0f, 255.0f));
            v = v << 8 | static_cast<uint32_t>(c[static_cast<size_t>(a)]);
        }
        out.colors.push_back(v);
    }
    Nearest nearest(centres);
    for (size_t i = 0; i < all.size(); ++i) assigned[i] = nearest.find(all[i].c);
    out.index.resize(count);
    for (size_t i = 0; i < count; ++i) out.index[i] = static_cast<uint16_t>(assigned[hist.pixelColour[i]]);
    return true;
}
