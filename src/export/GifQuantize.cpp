#include "export/GifQuantize.h"

#include <algorithm>

namespace {

struct Sample {
    float v[3]; // Y, Cb, Cr
    uint32_t pos;
};

class Splitter {
public:
    Splitter(std::vector<Sample>& samples, strQuantized& out) : samples_(samples), out_(out) {}

    // Splits cluster a (the samples in [begin, end)) b more times; leaves take their
    // cluster number and mean colour.
    void Split(int a, int b, size_t begin, size_t end)
    {
        if (begin == end)
            return;
        if (b <= 0) {
            Leaf(a, begin, end);
            return;
        }
        float lo[3], hi[3];
        double sum[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k)
            lo[k] = hi[k] = samples_[begin].v[k];
        for (size_t i = begin; i < end; ++i) {
            const float* v = samples_[i].v;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], v[k]);
                hi[k] = std::max(hi[k], v[k]);
                sum[k] += v[k];
            }
        }
        float range[3] = {hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]};
        int axis = 2;
        if (range[0] > range[1] && range[0] > range[2])
            axis = 0;
        else if (range[1] > range[2])
            axis = 1;
        double mean = sum[axis] / static_cast<double>(end - begin);
        auto mid = std::partition(samples_.begin() + static_cast<ptrdiff_t>(begin),
                                  samples_.begin() + static_cast<ptrdiff_t>(end),
                                  [&](const Sample& s) { return static_cast<double>(s.v[axis]) < mean; });
        size_t split = static_cast<size_t>(mid - samples_.begin());
        int upper = a + (1 << (b - 1));
        this->Split(a, b - 1, begin, split);
        this->Split(upper, b - 1, split, end);
    }

private:
    void Leaf(int a, size_t begin, size_t end)
    {
        double sum[3] = {0, 0, 0};
        for (size_t i = begin; i < end; ++i) {
            for (int k = 0; k < 3; ++k)
                sum[k] += samples_[i].v[k];
            out_.index[samples_[i].pos] = static_cast<uint16_t>(a);
        }
        double n = static_cast<double>(end - begin);
        double y = sum[0] / n, cb = sum[1] / n, cr = sum[2] / n;
        auto channel = [](double c) {
            c += 0.49;
            return static_cast<uint32_t>(std::clamp(c, 0.0, 255.0));
        };
        uint32_t r = channel(y + 1.402 * cr);
        uint32_t g = channel(y - 0.34414 * cb - 0.71414 * cr);
        uint32_t bl = channel(y + 1.772 * cb);
        out_.colors[static_cast<size_t>(a)] = r << 16 | g << 8 | bl;
    }

    std::vector<Sample>& samples_;
    strQuantized& out_;
};

// floor(log2 n): how often n / 2 can be halved before reaching 0.
int splitDepth(int n)
{
    int d = 0;
    for (int h = n / 2; h > 0; h /= 2)
        ++d;
    return d;
}

} // namespace

bool QuantizePixels(const uint32_t* rgb, int width, int height, int n, strQuantized& out)
{
    if (n < 2 || n > 512 || width <= 0 || height <= 0 || !rgb)
        return false;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    int depth = splitDepth(n);
    out.width = width;
    out.height = height;
    out.index.assign(count, 0);
    out.colors.assign(static_cast<size_t>(1) << depth, 0);

    std::vector<Sample> samples(count);
    for (size_t i = 0; i < count; ++i) {
        float r = static_cast<float>(rgb[i] >> 16 & 0xFF);
        float g = static_cast<float>(rgb[i] >> 8 & 0xFF);
        float b = static_cast<float>(rgb[i] & 0xFF);
        Sample& s = samples[i];
        s.v[0] = 0.29891f * r + 0.58661f * g + 0.11448f * b;
        s.v[1] = -0.16874f * r - 0.33126f * g + 0.5f * b;
        s.v[2] = 0.5f * r - 0.41869f * g - 0.08131f * b;
        s.pos = static_cast<uint32_t>(i);
    }
    Splitter(samples, out).Split(0, depth, 0, count);
    return true;
}

bool QuantizeImage(const cBMP& source, int n, cBMP& out)
{
    int bpp = source.BitsPerPixel();
    if (source.Empty() || (bpp != 24 && bpp != 32) || n < 2 || n > 512)
        return false;
    int w = source.Width(), h = source.Height();
    std::vector<uint32_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h));
    int step = bpp / 8;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = source.Row(y);
        uint32_t* dst = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = row + x * step;
            dst[x] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
        }
    }
    strQuantized q;
    if (!QuantizePixels(rgb.data(), w, h, n, q))
        return false;

    int bits = n <= 2 ? 1 : n <= 16 ? 4 : n <= 256 ? 8 : 24;
    cBMP result;
    if (bits == 24) {
        if (!result.Create(w, h, 24))
            return false;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = result.Row(y);
            for (int x = 0; x < w; ++x) {
                uint32_t c =
                    q.colors[q.index[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]];
                row[3 * x] = static_cast<uint8_t>(c);
                row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
            }
        }
    } else {
        int entries = (n + 1) & ~1;
        if (!result.Create(w, h, bits, entries))
            return false;
        std::vector<uint32_t>& table = result.ColorTable();
        table.assign(static_cast<size_t>(entries), 0);
        std::copy(q.colors.begin(), q.colors.end(), table.begin());
        int perByte = 8 / bits;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = result.Row(y);
            const uint16_t* idx = q.index.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
            for (int x = 0; x < w; ++x) {
                if (bits == 8) {
                    row[x] = static_cast<uint8_t>(idx[x]);
                } else {
                    int shift = 8 - bits * (x % perByte + 1); // first pixel in the high bits
                    row[x / perByte] |= static_cast<uint8_t>(idx[x] << shift);
                }
            }
        }
    }
    out.Swap(result);
    return true;
}
