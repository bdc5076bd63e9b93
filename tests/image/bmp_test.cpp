// BMP decoding: files built byte by byte for every depth, compression and header
// kind, plus files written by Pillow checked against Pillow's own decoding.

#include <gtest/gtest.h>

#include "image/ImageFile.h"
#include "support/TestFiles.h"

using namespace testfiles;

namespace {

struct BmpSpec {
    int headerSize = 40;
    int width = 0, height = 0; // negative height: top-down
    int bpp = 8;
    uint32_t compression = 0;
    std::vector<uint32_t> table; // 0xAARRGGBB
    std::vector<uint32_t> masks; // R, G, B[, A]
    std::vector<uint8_t> data;   // pixel bytes in file order
};

std::vector<uint8_t> buildBmp(const BmpSpec& s)
{
    std::vector<uint8_t> f = {'B', 'M'};
    bool core = s.headerSize == 12;
    size_t tableBytes = s.table.size() * (core ? 3 : 4);
    size_t maskBytes = s.headerSize == 40 ? s.masks.size() * 4 : 0;
    uint32_t off = static_cast<uint32_t>(14 + s.headerSize + maskBytes + tableBytes);
    Put32(f, static_cast<uint32_t>(off + s.data.size()));
    Put32(f, 0);
    Put32(f, off);
    Put32(f, static_cast<uint32_t>(s.headerSize));
    if (core) {
        Put16(f, static_cast<uint32_t>(s.width));
        Put16(f, static_cast<uint32_t>(s.height));
        Put16(f, 1);
        Put16(f, static_cast<uint32_t>(s.bpp));
    } else {
        Put32(f, static_cast<uint32_t>(s.width));
        Put32(f, static_cast<uint32_t>(s.height));
        Put16(f, 1);
        Put16(f, static_cast<uint32_t>(s.bpp));
        Put32(f, s.compression);
        Put32(f, static_cast<uint32_t>(s.data.size()));
        Put32(f, 2835);
        Put32(f, 2835);
        Put32(f, static_cast<uint32_t>(s.table.size()));
        Put32(f, 0);
        if (s.headerSize > 40) {
            for (int i = 0; i < 4; ++i)
                Put32(f, i < static_cast<int>(s.masks.size()) ? s.masks[i] : 0);
            while (f.size() < 14 + static_cast<size_t>(s.headerSize))
                f.push_back(0);
        }
    }
    if (s.headerSize == 40)
        for (uint32_t m : s.masks)
            Put32(f, m);
    for (uint32_t c : s.table) {
        f.push_back(static_cast<uint8_t>(c));
        f.push_back(static_cast<uint8_t>(c >> 8));
        f.push_back(static_cast<uint8_t>(c >> 16));
        if (!core)
            f.push_back(static_cast<uint8_t>(c >> 24));
    }
    f.insert(f.end(), s.data.begin(), s.data.end());
    return f;
}

// Packs rows (given top first) into file order with 4-byte padding.
std::vector<uint8_t> packRows(int bpp, int width, const std::vector<std::vector<uint32_t>>& rows, bool topDown)
{
    std::vector<uint8_t> out;
    int stride = cBMP::StrideFor(bpp, width);
    for (size_t k = 0; k < rows.size(); ++k) {
        const auto& row = rows[topDown ? k : rows.size() - 1 - k];
        std::vector<uint8_t> r(static_cast<size_t>(stride), 0);
        for (int x = 0; x < width; ++x) {
            uint32_t v = row[static_cast<size_t>(x)];
            switch (bpp) {
            case 1: r[x / 8] |= static_cast<uint8_t>(v << (7 - x % 8)); break;
            case 4: r[x / 2] |= static_cast<uint8_t>(v << (x % 2 ? 0 : 4)); break;
            case 8: r[x] = static_cast<uint8_t>(v); break;
            case 16: r[2 * x] = static_cast<uint8_t>(v), r[2 * x + 1] = static_cast<uint8_t>(v >> 8); break;
            case 24:
                for (int i = 0; i < 3; ++i)
                    r[3 * x + i] = static_cast<uint8_t>(v >> (8 * i));
                break;
            default:
                for (int i = 0; i < 4; ++i)
                    r[4 * x + i] = static_cast<uint8_t>(v >> (8 * i));
            }
        }
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

bool decode(const std::vector<uint8_t>& bytes, cBMP& image) { return LoadImageData(bytes.data(), bytes.size(), image); }

struct IndexedCase {
    int bpp;
    bool topDown;
};

class BmpIndexed : public ::testing::TestWithParam<IndexedCase> {};

TEST_P(BmpIndexed, LoadsAsEightBitWithTheFileColours)
{
    const IndexedCase c = GetParam();
    const int w = 11, h = 3, colours = 1 << c.bpp;
    BmpSpec s;
    s.width = w;
    s.height = c.topDown ? -h : h;
    s.bpp = c.bpp;
    for (int i = 0; i < colours; ++i)
        s.table.push_back(static_cast<uint32_t>(0x10203 * (i + 1)) & 0xFFFFFF);
    std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = static_cast<uint32_t>(x * 3 + y) % colours;
    s.data = packRows(c.bpp, w, rows, c.topDown);

    cBMP image;
    ASSERT_TRUE(decode(buildBmp(s), image));
    EXPECT_EQ(image.BitsPerPixel(), 8);
    EXPECT_EQ(image.Palette().Count(), c.bpp < 8 ? 256 : colours);
    for (int i = 0; i < colours; ++i)
        EXPECT_EQ(image.Palette().Entries()[i], s.table[i] | 0xFF000000u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(image.Row(y)[x], rows[y][x]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpIndexed,
                         ::testing::Values(IndexedCase{1, false}, IndexedCase{1, true}, IndexedCase{4, false},
                                           IndexedCase{4, true}, IndexedCase{8, false}, IndexedCase{8, true}));

// Direct-colour files: raw pixel value of (x, y) and the colour expected from it.
struct DirectCase {
    const char* name;
    int headerSize, bpp;
    uint32_t compression;
    std::vector<uint32_t> masks;
    bool topDown;
    uint32_t (*raw)(int x, int y);
    uint32_t (*expected)(uint32_t raw);
};

uint32_t raw16(int x, int y) { return static_cast<uint32_t>((x * 2049 + y * 97) & 0xFFFF); }
uint32_t raw24(int x, int y) { return static_cast<uint32_t>(x * 0x130507 + y * 0x0B0D11) & 0xFFFFFF; }
uint32_t raw32(int x, int y) { return static_cast<uint32_t>(x * 0x01130507 + y * 0x070B0D11) & 0x00FFFFFF; }
uint32_t raw32a(int x, int y) { return raw32(x, y) | static_cast<uint32_t>((x * 40 + y) & 255) << 24; }

uint32_t scale5(uint32_t v) { return (v * 255 + 15) / 31; }
uint32_t scale6(uint32_t v) { return (v * 255 + 31) / 63; }
uint32_t exp555(uint32_t p)
{
    return 0xFF000000 | scale5((p >> 10) & 31) << 16 | scale5((p >> 5) & 31) << 8 | scale5(p & 31);
}
uint32_t exp565(uint32_t p)
{
    return 0xFF000000 | scale5((p >> 11) & 31) << 16 | scale6((p >> 5) & 63) << 8 | scale5(p & 31);
}
uint32_t expOpaque(uint32_t p) { return 0xFF000000 | p; }
uint32_t expSame(uint32_t p) { return p; }
// Masks R 0xFF, G 0xFF00, B 0xFF0000, A 0xFF000000: red and blue bytes swapped.
uint32_t expSwapped(uint32_t p) { return (p & 0xFF00FF00) | (p & 0xFF) << 16 | (p >> 16 & 0xFF); }

class BmpDirect : public ::testing::TestWithParam<DirectCase> {};

TEST_P(BmpDirect, LoadsAsThirtyTwoBit)
{
    const DirectCase& c = GetParam();
    const int w = 7, h = 4;
    BmpSpec s;
    s.headerSize = c.headerSize;
    s.width = w;
    s.height = c.topDown ? -h : h;
    s.bpp = c.bpp;
    s.compression = c.compression;
    s.masks = c.masks;
    std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = c.raw(x, y);
    s.data = packRows(c.bpp, w, rows, c.topDown);
    cBMP image;
    ASSERT_TRUE(decode(buildBmp(s), image)) << c.name;
    EXPECT_EQ(image.BitsPerPixel(), 32);
    EXPECT_EQ(image.Palette().Count(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(ColorAt(image, x, y), c.expected(rows[y][x])) << c.name << " at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BmpDirect,
    ::testing::Values(DirectCase{"16 bit 5-5-5", 40, 16, 0, {}, false, raw16, exp555},
                      DirectCase{"16 bit 5-6-5 fields", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, false, raw16, exp565},
                      DirectCase{"16 bit fields in V4", 108, 16, 3, {0xF800, 0x07E0, 0x001F}, true, raw16, exp565},
                      DirectCase{"24 bit", 40, 24, 0, {}, false, raw24, expOpaque},
                      DirectCase{"24 bit top-down", 40, 24, 0, {}, true, raw24, expOpaque},
                      DirectCase{"24 bit core header", 12, 24, 0, {}, false, raw24, expOpaque},
                      DirectCase{"32 bit, no alpha", 40, 32, 0, {}, false, raw32, expOpaque},
                      DirectCase{"32 bit with alpha bytes", 40, 32, 0, {}, false, raw32a, expSame},
                      DirectCase{"32 bit swapped fields with alpha (V5)",
                                 124,
                                 32,
                                 3,
                                 {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
                                 true,
                                 raw32a,
                                 expSwapped}));

TEST(BmpTable, AlphaComesFromTheFourthByteOnlyWhenSomeEntryHasOne)
{
    for (bool withAlpha : {false, true}) {
        BmpSpec s;
        s.width = 4;
        s.height = 1;
        s.table = {0x00112233, withAlpha ? 0x80445566u : 0x00445566u, 0x00778899};
        s.data = packRows(8, 4, {{0, 1, 2, 1}}, false);
        cBMP image;
        ASSERT_TRUE(decode(buildBmp(s), image));
        ASSERT_EQ(image.Palette().Count(), 3);
        EXPECT_EQ(image.Palette().Entries()[0], withAlpha ? 0x00112233u : 0xFF112233u);
        EXPECT_EQ(image.Palette().Entries()[1], withAlpha ? 0x80445566u : 0xFF445566u);
    }
}

TEST(BmpTable, CoreHeaderHasThreeByteEntries)
{
    BmpSpec s;
    s.headerSize = 12;
    s.width = 3;
    s.height = 2;
    s.table = {0x0000FF, 0x00FF00, 0xFF0000};
    s.data = packRows(8, 3, {{0, 1, 2}, {2, 1, 0}}, false);
    cBMP image;
    ASSERT_TRUE(decode(buildBmp(s), image));
    EXPECT_EQ(ColorAt(image, 2, 0), 0xFFFF0000u);
    EXPECT_EQ(ColorAt(image, 0, 1), 0xFFFF0000u);
}

// RLE streams with runs, absolute runs (with padding), end of line, delta and end.
TEST(BmpRle, Rle8)
{
    BmpSpec s;
    s.width = 6;
    s.height = 3;
    s.compression = 1;
    for (int i = 0; i < 8; ++i)
        s.table.push_back(static_cast<uint32_t>(i * 0x202020));
    // File rows are bottom-up: the first decoded line is the bottom row.
    s.data = {3, 5, 0, 3, 1, 2, 3, 0, // bottom: 5 5 5 1 2 3
              0, 0,                   // end of line
              2, 7, 0, 2, 2, 1,       // middle: 7 7, then delta (+2, +1) to the top row at x 4
              2, 4,                   // top: x 4, 5 = 4
              0, 1};
    cBMP image;
    ASSERT_TRUE(decode(buildBmp(s), image));
    const uint8_t expected[3][6] = {{0, 0, 0, 0, 4, 4}, {7, 7, 0, 0, 0, 0}, {5, 5, 5, 1, 2, 3}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(image.Row(y)[x], expected[y][x]) << x << "," << y;
}

TEST(BmpRle, Rle4)
{
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bpp = 4;
    s.compression = 2;
    for (int i = 0; i < 16; ++i)
        s.table.push_back(static_cast<uint32_t>(i * 0x111111));
    s.data = {5, 0x12,             // bottom: 1 2 1 2 1
              0, 0,                //
              0, 3,    0x9A, 0xB0, // top: 9 A B (absolute, 2 bytes, already even)
              2, 0xCD,             // C D
              0, 1};
    cBMP image;
    ASSERT_TRUE(decode(buildBmp(s), image));
    EXPECT_EQ(image.Palette().Count(), 256);
    const uint8_t expected[2][5] = {{9, 10, 11, 12, 13}, {1, 2, 1, 2, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(image.Row(y)[x], expected[y][x]) << x << "," << y;
}

TEST(BmpBad, MalformedFilesFailAndLeaveTheImageEmpty)
{
    BmpSpec good;
    good.width = 4;
    good.height = 4;
    good.bpp = 24;
    good.data = packRows(24, 4, std::vector<std::vector<uint32_t>>(4, std::vector<uint32_t>(4, 0x123456)), false);
    std::vector<BmpSpec> bad;
    bad.push_back(good);
    bad.back().data.resize(20); // fewer rows than the header says
    bad.push_back(good);
    bad.back().width = 20000;
    bad.push_back(good);
    bad.back().bpp = 7;
    bad.push_back(good);
    bad.back().compression = 4; // JPEG inside BMP
    bad.push_back(good);
    bad.back().headerSize = 77;
    bad.push_back(good);
    bad.back().width = 0;
    bad.push_back(good);
    bad.back().compression = 1; // RLE8 with 24 bits
    for (size_t i = 0; i < bad.size(); ++i) {
        cBMP image;
        image.Create(2, 2, 32);
        EXPECT_FALSE(decode(buildBmp(bad[i]), image)) << i;
        EXPECT_TRUE(image.Empty());
        EXPECT_EQ(image.Pixels(), nullptr);
    }
    // Pixel offset beyond the file.
    std::vector<uint8_t> bytes = buildBmp(good);
    bytes[10] = 0xFF;
    bytes[11] = 0xFF;
    cBMP image;
    EXPECT_FALSE(decode(bytes, image));
}

TEST(BmpPillow, MatchesPillowsOwnDecoding)
{
    TempDir dir;
    ASSERT_TRUE(RunPython(dir, R"(
from PIL import Image
import random
random.seed(7)
w, h = 37, 23
base = Image.new('RGBA', (w, h))
base.putdata([(random.randrange(256), random.randrange(256), random.randrange(256), random.randrange(1, 256)) for _ in range(w*h)])
images = {
  'one': base.convert('1'),
  'grey': base.convert('L'),
  'pal': base.convert('RGB').convert('P', palette=Image.ADAPTIVE, colors=200),
  'rgb': base.convert('RGB'),
  'rgba': base,
}
for name, im in images.items():
  im.save(name + '.bmp')
  # Pillow reads 32-bit files as colour only; the alpha expected is the original's.
  back = base if name == 'rgba' else Image.open(name + '.bmp').convert('RGBA')
  open(name + '.rgba', 'wb').write(back.tobytes())
)"));
    for (const char* name : {"one", "grey", "pal", "rgb", "rgba"}) {
        cBMP image;
        ASSERT_TRUE(LoadImage(dir / (std::string(name) + ".bmp"), image)) << name;
        std::vector<uint8_t> rgba = ReadBytes(dir / (std::string(name) + ".rgba"));
        ASSERT_EQ(rgba.size(), 37u * 23u * 4u);
        // Pillow writes palette entries with a nonzero fourth byte, which then counts
        // as alpha: only colours are compared for the indexed files.
        bool indexed = image.BitsPerPixel() == 8;
        bool keepsAlpha = std::string(name) == "rgba";
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) {
                const uint8_t* e = &rgba[(static_cast<size_t>(y) * 37 + x) * 4];
                uint32_t want =
                    (keepsAlpha ? static_cast<uint32_t>(e[3]) << 24 : 0xFF000000u) | e[0] << 16 | e[1] << 8 | e[2];
                uint32_t mask = indexed ? 0xFFFFFFu : 0xFFFFFFFFu;
                ASSERT_EQ(ColorAt(image, x, y) & mask, want & mask) << name << " at " << x << "," << y;
            }
    }
}

} // namespace
