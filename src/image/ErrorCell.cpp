// The built-in error-cell picture, drawn here as an 8-bit BMP: a red frame with a
// red cross on a background of palette index 0 (keyed transparent when built).

#include "image/ImageDecoders.h"

namespace {

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

void put16(std::vector<uint8_t>& v, uint16_t x)
{
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

std::vector<uint8_t> makeErrorCell()
{
    const int n = 32;
    const uint32_t table[4] = {0x00FF00FF, 0x00E01010, 0x00FFFFFF, 0x00000000};
    std::vector<uint8_t> f;
    const uint32_t headers = 14 + 40 + 4 * 4;
    f.push_back('B');
    f.push_back('M');
    put32(f, headers + n * n);
    put32(f, 0);
    put32(f, headers);
    put32(f, 40);
    put32(f, n);
    put32(f, n); // bottom-up
    put16(f, 1);
    put16(f, 8);
    put32(f, 0);
    put32(f, n * n);
    put32(f, 2835);
    put32(f, 2835);
    put32(f, 4);
    put32(f, 0);
    for (uint32_t c : table)
        put32(f, c);
    for (int row = n - 1; row >= 0; --row)
        for (int x = 0; x < n; ++x) {
            bool frame = x < 2 || x >= n - 2 || row < 2 || row >= n - 2;
            bool cross = (x - row >= -1 && x - row <= 1) || (x + row >= n - 2 && x + row <= n);
            bool inner = x > 2 && x < n - 3 && row > 2 && row < n - 3;
            f.push_back(frame || (cross && inner) ? 1 : (cross ? 2 : 0));
        }
    return f;
}

} // namespace

const std::vector<uint8_t>& ErrorCellBitmap()
{
    static const std::vector<uint8_t> bytes = makeErrorCell();
    return bytes;
}
