// The high-quality quantiser: variance-driven splits of the distinct colours, then a
// k-means step. All in RGB, since the error it minimises is the squared RGB difference.

#include "export/GifQuantize.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// One k-means step (assign to the nearest centre, move each centre to the mean of
// its colours) gains most of what more steps give; each further step costs as much.
constexpr int kRefinePasses = 1;

struct Colour {
    float c[3];   // R, G, B
    float weight; // pixels of this colour
    uint32_t id;  // position in the histogram
};

// The distinct colours of the pixels, and which of them each pixel has.
struct Histogram {
    std::vector<Colour> colours;
    std::vector<uint32_t> rgb; // 0x00RRGGBB of each distinct colour
    std::vector<uint32_t> pixelColour;

    void Build(const uint32_t* pixels, size_t count)
    {
        colours.clear();
        rgb.clear();
        // The table is kept from frame to frame: fresh large blocks cost page faults.
        thread_local std::vector<uint32_t> keys, values;
        size_t slots = 1024;
        while (slots < 2 * count)
            slots *= 2;
        if (keys.size() != slots) {
            keys.assign(slots, 0xFFFFFFFF);
            values.resize(slots);
        }
        pixelColour.resize(count);
        uint32_t last = 0xFFFFFFFF, lastId = 0;
        for (size_t i = 0; i < count; ++i) {
            uint32_t v = pixels[i] & 0xFFFFFF;
            if (v != last) {
                size_t s = (v * 2654435761u) & (slots - 1);
                while (keys[s] != v && keys[s] != 0xFFFFFFFF)
                    s = (s + 1) & (slots - 1);
                if (keys[s] != v) {
                    keys[s] = v;
                    values[s] = static_cast<uint32_t>(rgb.size());
                    rgb.push_back(v);
                    colours.push_back(
                        {{static_cast<float>(v >> 16), static_cast<float>(v >> 8 & 0xFF), static_cast<float>(v & 0xFF)},
                         0,
                         values[s]});
                }
                last = v;
                lastId = values[s];
            }
            colours[lastId].weight += 1;
            pixelColour[i] = lastId;
        }
        for (uint32_t v : rgb) {
            size_t s = (v * 2654435761u) & (slots - 1);
            while (keys[s] != v)
                s = (s + 1) & (slots - 1);
            keys[s] = 0xFFFFFFFF;
        }
    }
};

struct Stats {
    double w = 0, sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
    void Add(const Colour& k)
    {
        w += k.weight;
        for (int a = 0; a < 3; ++a) {
            sum[a] += k.weight * k.c[a];
            sq[a] += k.weight * k.c[a] * k.c[a];
        }
    }
    double Error(int a) const { return w > 0 ? sq[a] - sum[a] * sum[a] / w : 0; }
    double Error() const { return Error(0) + Error(1) + Error(2); }
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
    for (const Colour& k : colours)
        groups[0].stats.Add(k);
    Stats buckets[256];
    while (static_cast<int>(groups.size()) < n) {
        size_t pick = 0;
        for (size_t g = 1; g < groups.size(); ++g)
            if (groups[g].stats.Error() > groups[pick].stats.Error())
                pick = g;
        Group& g = groups[pick];
        if (g.end - g.begin < 2 || g.stats.Error() <= 0)
            break;
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (g.stats.Error(a) > g.stats.Error(axis))
                axis = a;
        int lowest = 255, highest = 0;
        for (size_t i = g.begin; i < g.end; ++i) {
            int v = static_cast<int>(colours[i].c[axis]);
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
        for (int v = lowest; v <= highest; ++v)
            buckets[v] = Stats();
        for (size_t i = g.begin; i < g.end; ++i)
            buckets[static_cast<int>(colours[i].c[axis])].Add(colours[i]);
        Stats left, bestLeft;
        double best = -1;
        int cut = -1;
        for (int v = lowest; v < highest; ++v) {
            left.w += buckets[v].w;
            for (int a = 0; a < 3; ++a)
                left.sum[a] += buckets[v].sum[a], left.sq[a] += buckets[v].sq[a];
            if (left.w <= 0 || left.w >= g.stats.w)
                continue;
            Stats right;
            right.w = g.stats.w - left.w;
            for (int a = 0; a < 3; ++a)
                right.sum[a] = g.stats.sum[a] - left.sum[a], right.sq[a] = g.stats.sq[a] - left.sq[a];
            double e = left.Error() + right.Error();
            if (cut < 0 || e < best)
                best = e, cut = v, bestLeft = left;
        }
        if (cut < 0)
            break;
        auto mid = std::partition(colours.begin() + static_cast<ptrdiff_t>(g.begin),
                                  colours.begin() + static_cast<ptrdiff_t>(g.end),
                                  [&](const Colour& k) { return static_cast<int>(k.c[axis]) <= cut; });
        Group upper{static_cast<size_t>(mid - colours.begin()), g.end, Stats()};
        upper.stats.w = g.stats.w - bestLeft.w;
        for (int a = 0; a < 3; ++a)
            upper.stats.sum[a] = g.stats.sum[a] - bestLeft.sum[a], upper.stats.sq[a] = g.stats.sq[a] - bestLeft.sq[a];
        g.end = upper.begin;
        g.stats = bestLeft;
        groups.push_back(upper);
    }
    return groups;
}

// Exact nearest-centre search. The colour cube is cut into cells of 16 x 16 x 16;
// a cell's candidates are the centres that can be nearest to some colour in it (the
// nearest possible distance to the cell within the smallest farthest distance of any
// centre). The candidates of a cell are found when a colour first falls in it.
class Nearest {
public:
    explicit Nearest(const std::vector<std::array<float, 3>>& centres) : centres_(centres), first_(kCells, -1) {}

    int Find(const float* c)
    {
        int cell = (static_cast<int>(c[0]) >> kShift) << (2 * kBits) | (static_cast<int>(c[1]) >> kShift) << kBits |
                   static_cast<int>(c[2]) >> kShift;
        if (first_[static_cast<size_t>(cell)] < 0)
            Build(cell);
        int first = first_[static_cast<size_t>(cell)], count = count_[static_cast<size_t>(cell)];
        float best = 1e30f;
        int bestIndex = 0;
        for (int i = first; i < first + count; ++i) {
            int k = candidates_[static_cast<size_t>(i)];
            const auto& e = centres_[static_cast<size_t>(k)];
            float d0 = e[0] - c[0], d1 = e[1] - c[1], d2 = e[2] - c[2];
            float d = d0 * d0 + d1 * d1 + d2 * d2;
            if (d < best)
                best = d, bestIndex = k;
        }
        return bestIndex;
    }

private:
    static constexpr int kShift = 5, kBits = 8 - kShift, kCells = 1 << (3 * kBits), kSide = 1 << kShift;

    void Build(int cell)
    {
        const int mask = (1 << kBits) - 1;
        float lo[3] = {static_cast<float>((cell >> (2 * kBits)) << kShift),
                       static_cast<float>((cell >> kBits & mask) << kShift),
                       static_cast<float>((cell & mask) << kShift)};
        near_.resize(centres_.size());
        float bound = 1e30f;
        for (size_t k = 0; k < centres_.size(); ++k) {
            float nearD = 0, farD = 0;
            for (int a = 0; a < 3; ++a) {
                float v = centres_[k][static_cast<size_t>(a)], l = lo[a], h = lo[a] + kSide - 1;
                float gap = v < l ? l - v : v > h ? v - h : 0;
                float reach = std::max(std::abs(v - l), std::abs(v - h));
                nearD += gap * gap;
                farD += reach * reach;
            }
            near_[k] = nearD;
            bound = std::min(bound, farD);
        }
        if (count_.empty())
            count_.assign(kCells, 0);
        first_[static_cast<size_t>(cell)] = static_cast<int>(candidates_.size());
        for (size_t k = 0; k < centres_.size(); ++k)
            if (near_[k] <= bound)
                candidates_.push_back(static_cast<uint16_t>(k));
        count_[static_cast<size_t>(cell)] = static_cast<int>(candidates_.size()) - first_[static_cast<size_t>(cell)];
    }

    const std::vector<std::array<float, 3>>& centres_;
    std::vector<int> first_, count_;
    std::vector<uint16_t> candidates_;
    std::vector<float> near_;
};

} // namespace

bool QuantizeHigh(const uint32_t* rgb, int width, int height, int n, strQuantized& out)
{
    if (n < 2 || n > 256 || width <= 0 || height <= 0 || !rgb)
        return false;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    // Kept from frame to frame: fresh large blocks cost page faults.
    thread_local Histogram hist;
    thread_local std::vector<Colour> colours;
    thread_local std::vector<int> assigned;
    hist.Build(rgb, count);

    // Splitting reorders the colours; keep their ids for the pixels.
    colours = hist.colours;
    std::vector<Group> groups = splitGroups(colours, n);
    std::vector<std::array<float, 3>> centres;
    for (const Group& g : groups)
        centres.push_back({static_cast<float>(g.stats.sum[0] / g.stats.w),
                           static_cast<float>(g.stats.sum[1] / g.stats.w),
                           static_cast<float>(g.stats.sum[2] / g.stats.w)});

    const std::vector<Colour>& all = hist.colours;
    assigned.resize(all.size());
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t i = groups[g].begin; i < groups[g].end; ++i)
            assigned[colours[i].id] = static_cast<int>(g);
    for (int pass = 0; pass < kRefinePasses; ++pass) {
        Nearest nearest(centres);
        std::vector<Stats> sums(centres.size());
        for (size_t i = 0; i < all.size(); ++i) {
            assigned[i] = nearest.Find(all[i].c);
            sums[static_cast<size_t>(assigned[i])].Add(all[i]);
        }
        for (size_t g = 0; g < centres.size(); ++g)
            if (sums[g].w > 0)
                for (int a = 0; a < 3; ++a)
                    centres[g][static_cast<size_t>(a)] = static_cast<float>(sums[g].sum[a] / sums[g].w);
    }

    // The palette as whole numbers; each colour keeps the group of the last step.
    out.width = width;
    out.height = height;
    out.colors.clear();
    for (const auto& c : centres) {
        uint32_t v = 0;
        for (float channel : c)
            v = v << 8 | static_cast<uint32_t>(std::round(std::clamp(channel, 0.0f, 255.0f)));
        out.colors.push_back(v);
    }
    out.index.resize(count);
    for (size_t i = 0; i < count; ++i)
        out.index[i] = static_cast<uint16_t>(assigned[hist.pixelColour[i]]);
    return true;
}
