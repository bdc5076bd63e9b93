#include "export/GifPalette.h"

#include <algorithm>
#include <cstring>

#include "export/GifFile.h"
#include "export/GifQuantize.h"

namespace gifpal {

void cColorIndex::Clear()
{
    std::fill(std::begin(keys_), std::end(keys_), kEmpty);
    size_ = 0;
}

int cColorIndex::Find(uint32_t value) const
{
    for (int s = SlotOf(value);; s = (s + 1) & (kSlots - 1)) {
        if (keys_[s] == value)
            return values_[s];
        if (keys_[s] == kEmpty)
            return -1;
    }
}

int cColorIndex::Insert(uint32_t value, int position)
{
    int s = SlotOf(value);
    for (; keys_[s] != kEmpty; s = (s + 1) & (kSlots - 1))
        if (keys_[s] == value)
            return values_[s];
    keys_[s] = value;
    values_[s] = static_cast<int16_t>(position);
    ++size_;
    return position;
}

namespace {

bool alphaIsMeaningful(const CGIFLocal& f)
{
    const cBMP& img = f.image;
    if (img.BitsPerPixel() != 32)
        return false;
    if (f.mask.Empty())
        return true;
    for (int y = 0; y < img.Height(); ++y) {
        const uint8_t* row = img.Row(y);
        for (int x = 0; x < img.Width(); ++x)
            if (row[4 * x + 3])
                return true;
    }
    return false;
}

bool maskedAt(const cBMP& mask, int x, int y)
{
    if (mask.Empty() || x >= mask.Width() || y >= mask.Height())
        return false;
    if (mask.BitsPerPixel() == 1)
        return mask.Row(y)[x >> 3] >> (7 - (x & 7)) & 1;
    return (PixelColor(mask, x, y) & 0xFFFFFF) == 0xFFFFFF;
}

uint32_t rgbAt(const cBMP& img, const uint8_t* row, int x)
{
    int bpp = img.BitsPerPixel();
    if (bpp == 32 || bpp == 24) {
        const uint8_t* p = row + x * (bpp / 8);
        return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
    return 0;
}

} // namespace

void MarkUp(const CGIFLocal& f, std::vector<uint32_t>& work)
{
    const cBMP& img = f.image;
    int w = img.Width(), h = img.Height();
    work.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    bool byAlpha = alphaIsMeaningful(f);
    bool direct = img.BitsPerPixel() == 32 || img.BitsPerPixel() == 24;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = img.Row(y);
        uint32_t* out = work.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x) {
            uint32_t c = direct ? rgbAt(img, row, x) : PixelColor(img, x, y) & 0xFFFFFF;
            bool clear = byAlpha ? row[4 * x + 3] < 128 : maskedAt(f.mask, x, y);
            out[x] = clear ? kTransparent : c;
        }
    }
}

bool CollectColors(const std::vector<uint32_t>& work, std::vector<uint32_t>& list)
{
    list.clear();
    cColorIndex seen;
    uint32_t last = 0xFFFFFFFF; // runs of one colour are common: skip the lookup
    for (uint32_t v : work) {
        if (v == last)
            continue;
        last = v;
        if (seen.Find(v) >= 0)
            continue;
        if (list.size() == 256)
            return false;
        seen.Insert(v, static_cast<int>(list.size()));
        list.push_back(v);
    }
    return true;
}

bool ReduceColors(const CGIFLocal& f, std::vector<uint32_t>& work, eGifQuality quality)
{
    const cBMP& img = f.image;
    int w = img.Width(), h = img.Height();
    size_t count = work.size();
    std::vector<uint32_t> rgb(count);
    std::vector<uint8_t> clear(count);
    bool flatten = alphaIsMeaningful(f);
    bool anyClear = false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = img.Row(y);
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (flatten) {
                const uint8_t* p = row + 4 * x;
                unsigned a = p[3];
                if (a < 65) {
                    rgb[i] = 0xFFFFFF;
                    clear[i] = 1;
                } else {
                    auto mix = [a](unsigned c) { return (c * a + 255 * (255 - a)) / 255; };
                    rgb[i] = mix(p[2]) << 16 | mix(p[1]) << 8 | mix(p[0]);
                }
            } else {
                rgb[i] = img.BitsPerPixel() >= 24 ? rgbAt(img, row, x) : PixelColor(img, x, y) & 0xFFFFFF;
                clear[i] = work[i] == kTransparent;
            }
            anyClear = anyClear || clear[i];
        }
    }
    strQuantized q;
    bool high = quality == eGifQuality::High;
    if (!(high ? QuantizeHigh(rgb.data(), w, h, anyClear ? 255 : 256, q)
               : QuantizePixels(rgb.data(), w, h, anyClear ? 254 : 256, q)))
        return false;
    for (size_t i = 0; i < count; ++i)
        work[i] = clear[i] ? kTransparent : q.colors[q.index[i]];
    return true;
}

int FinishTable(const std::vector<uint32_t>& list, std::vector<uint32_t>& table, cColorIndex& positions)
{
    positions.Clear();
    bool hasMarker = std::find(list.begin(), list.end(), kTransparent) != list.end();
    uint32_t stand = 0; // the marker's stand-in: the smallest colour the list lacks
    if (hasMarker)
        while (std::find(list.begin(), list.end(), stand) != list.end())
            ++stand;

    struct Entry {
        uint32_t color, value;
        int luma;
    };
    std::vector<Entry> entries;
    entries.reserve(list.size());
    for (uint32_t v : list) {
        uint32_t c = v == kTransparent ? stand : v;
        int luma = static_cast<int>((299 * (c >> 16 & 0xFF) + 587 * (c >> 8 & 0xFF) + 114 * (c & 0xFF)) / 1000);
        entries.push_back({c, v, luma});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.luma < b.luma; });

    table.clear();
    int transparent = -1;
    for (const Entry& e : entries) {
        if (table.empty() || table.back() != e.color)
            table.push_back(e.color);
        int pos = static_cast<int>(table.size()) - 1;
        positions.Insert(e.value, pos);
        if (e.value == kTransparent)
            transparent = pos;
    }
    if (table.size() % 2)
        table.push_back(0);
    return transparent;
}

} // namespace gifpal
