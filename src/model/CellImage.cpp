#include "model/CellImage.h"

namespace {
void put16(uint8_t* p, int v)
{
    p[0] = uint8_t(v & 0xFF);
    p[1] = uint8_t((v >> 8) & 0xFF);
}
uint16_t get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
} // namespace

void PackCellImage(const strCell& c, uint8_t out[kCellImageSize])
{
    out[0] = c.picture;
    out[1] = 0;
    put16(out + 2, c.pattern);
    out[4] = c.blend;
    out[5] = 0;
    put16(out + 6, c.x);
    put16(out + 8, c.y);
    put16(out + 10, c.scaleX);
    put16(out + 12, c.scaleY);
    put16(out + 14, c.angle);
    out[16] = c.opacity;
    out[17] = c.red;
    out[18] = c.green;
    out[19] = c.blue;
    out[20] = c.saturation;
    out[21] = 0;
}

strCell UnpackCellImage(const uint8_t in[kCellImageSize])
{
    strCell c;
    c.picture = in[0];
    c.pattern = get16(in + 2);
    c.blend = in[4];
    c.x = int16_t(get16(in + 6));
    c.y = int16_t(get16(in + 8));
    c.scaleX = int16_t(get16(in + 10));
    c.scaleY = int16_t(get16(in + 12));
    c.angle = int16_t(get16(in + 14));
    c.opacity = in[16];
    c.red = in[17];
    c.green = in[18];
    c.blue = in[19];
    c.saturation = in[20];
    return c;
}
