// Small files that claim huge pictures are refused before their pixels are allocated;
// the pixel budget is exact; a GIF is decoded only up to its first image; a project's
// pictures are decoded when first used, not when it is opened.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "image/ImageFile.h"
#include "model/AnimeData.h"
#include "render/SpriteDrawer.h"
#include "support/TestFiles.h"

using namespace testfiles;

namespace {

long peakKiB()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class Bombs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        ok = RunPython(*dir, R"(
import struct, zlib
from PIL import Image
side = 16384

# RLE8 BMP: headers, a 256-entry table and an end-of-bitmap code (1,080 bytes).
info = struct.pack('<IiiHHIIiiII', 40, side, side, 1, 8, 1, 2, 2835, 2835, 256, 0)
table = bytes(1024)
off = 14 + len(info) + len(table)
pixels = b'\x00\x01'
open('rle8.bmp', 'wb').write(b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off) + info + table + pixels)

# 1-bit grey PNG of zero rows (about 32 KB).
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
z = zlib.compressobj(9)
row = bytes(1 + side // 8)
idat = b''.join(z.compress(row) for _ in range(side)) + z.flush()
open('onebit.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 1, 0, 0, 0, 0))
                               + chunk(b'IDAT', idat) + chunk(b'IEND', b''))

# XYZ whose stream really inflates to 768 + side * side bytes (about 261 KB).
z = zlib.compressobj(9)
mib = bytes(1 << 20)
body = z.compress(bytes(768)) + b''.join(z.compress(mib) for _ in range(side * side >> 20)) + z.flush()
open('big.xyz', 'wb').write(b'XYZ1' + struct.pack('<HH', side, side) + body)

# GIF: a 1 x 1 image on a screen claiming side x side, padded with a comment so the
# file is big enough (201 KB) to look plausible for that screen.
Image.new('P', (1, 1)).save('one.gif')
g = bytearray(open('one.gif', 'rb').read())
g[6:10] = struct.pack('<HH', side, side)
comment = b'\x21\xfe' + (b'\xff' + bytes(255)) * 790 + b'\x00'
open('screen.gif', 'wb').write(bytes(g[:-1]) + comment + b';')

# The same 40 x 25 drawing in every format, for the budget's edge.
im = Image.new('RGB', (40, 25), (10, 20, 30))
im.putpixel((3, 4), (255, 0, 0))
im.save('edge.bmp'); im.save('edge.png'); im.save('edge.gif')
p = im.convert('P')
pal = bytes(p.getpalette()[:768]).ljust(768, b'\0')
open('edge.xyz', 'wb').write(b'XYZ1' + struct.pack('<HH', 40, 25) + zlib.compress(pal + p.tobytes()))

# A GIF whose first image is whole and whose second is cut off.
open('cut.gif', 'wb').write(bytes(open('edge.gif', 'rb').read()[:-1]) + b'\x2c\x00\x00')
)");
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static TempDir* dir;
    static bool ok;
};

TempDir* Bombs::dir = nullptr;
bool Bombs::ok = false;

TEST_F(Bombs, HugeClaimsAreRefusedBeforeAllocating)
{
    ASSERT_TRUE(ok);
    const long before = peakKiB();
    for (const char* name : {"rle8.bmp", "onebit.png", "big.xyz", "screen.gif"}) {
        EXPECT_LT(std::filesystem::file_size(*dir / name), 300u * 1024) << name;
        cBMP image;
        EXPECT_FALSE(LoadImage(*dir / name, image)) << name;
        EXPECT_TRUE(image.Empty()) << name;
    }
    // Each would take hundreds of megabytes (a 16384 x 16384 buffer is 256 MiB at 8 bits).
    EXPECT_LT(peakKiB() - before, 64 * 1024);
}

TEST_F(Bombs, BudgetIsExactInEveryFormat)
{
    ASSERT_TRUE(ok);
    for (const char* name : {"edge.bmp", "edge.png", "edge.gif", "edge.xyz"}) {
        cBMP image;
        EXPECT_FALSE(LoadImage(*dir / name, image, 999)) << name;
        ASSERT_TRUE(LoadImage(*dir / name, image, 1000)) << name;
        EXPECT_EQ(image.Width() * image.Height(), 1000) << name;
        EXPECT_EQ(ColorAt(image, 3, 4) & 0xFFFFFF, 0xFF0000u) << name;
    }
}

TEST_F(Bombs, GifIsReadOnlyUpToItsFirstImage)
{
    ASSERT_TRUE(ok);
    cBMP image;
    ASSERT_TRUE(LoadImage(*dir / "cut.gif", image));
    EXPECT_EQ(image.Width(), 40);
    EXPECT_EQ(ColorAt(image, 3, 4) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(Bombs, PicturesAreDecodedWhenFirstUsed)
{
    ASSERT_TRUE(ok);
    cAnimeData project;
    ASSERT_TRUE(project.NewProject(dir->path.string()));
    strPicture later, bomb;
    later.path = "later.png"; // written only after the project is open
    later.divX = later.divY = 0;
    bomb.path = "rle8.bmp";
    ASSERT_TRUE(project.SetPicture(later, 0));
    ASSERT_TRUE(project.SetPicture(bomb, 1));
    cSpriteDrawer drawer;
    drawer.LoadPictures(project);
    EXPECT_EQ(project.GetPicture(0)->divX, 0); // drawing leaves the project alone

    std::filesystem::copy_file(*dir / "edge.png", *dir / "later.png");
    const cPatternSheet* sheet = drawer.Sheet(0);
    ASSERT_TRUE(sheet && sheet->IsReady());
    EXPECT_EQ(sheet->Width(), 40);
    EXPECT_EQ(drawer.Sheet(1), nullptr); // the bomb fails when it is asked for
    std::filesystem::remove(*dir / "later.png");
}

} // namespace
