// The compositor against a plain double-precision implementation of the per-pixel
// model, one pixel at a time: every blend mode × tone class × opacity over mirrored,
// rotated and scaled quads, within 1/255 per channel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "render/SpriteDrawer.h"

namespace {

constexpr int W = 64, H = 48;   // target
constexpr int PW = 20, PH = 14; // pattern

struct RefPixel {
    double c[4]; // R, G, B, A in 0..1
};

double byteAt(uint32_t v, int shift) { return ((v >> shift) & 255) / 255.0; }

// The per-pixel model of one texel: source colour S (R, G, B) and alpha A.
void sourceOf(uint32_t texel, const strSpriteParam& p, double S[3], double& A)
{
    const double c[3] = {byteAt(texel, 16), byteAt(texel, 8), byteAt(texel, 0)};
    const double a = byteAt(texel, 24);
    const double O = std::clamp(p.opacity, 0, 255) / 255.0;
    A = a * O;
    const int v[3] = {p.red, p.green, p.blue};
    if (p.mode & kSpriteSilhouette) {
        for (int i = 0; i < 3; ++i)
            S[i] = std::clamp(v[i], 0, 255) / 255.0;
        return;
    }
    if (p.mode & kSpriteFlashTint) {
        const double Fa = p.saturation / 255.0;
        for (int i = 0; i < 3; ++i)
            S[i] = v[i] / 255.0 * (a * Fa) + c[i] * (1 - a * Fa);
        return;
    }
    if (p.mode & kSpriteSignedFlash) {
        for (int i = 0; i < 3; ++i) {
            double up = std::clamp((v[i] - 128) * 255 / 127, 0, 255) / 255.0;
            double down = std::clamp((128 - v[i]) * 255 / 128, 0, 255) / 255.0;
            double c1 = std::min(1.0, c[i] + c[i] * up * a);
            S[i] = std::max(0.0, c1 - c[i] * down * a);
        }
        return;
    }
    const int s = p.saturation;
    if (v[0] == 100 && v[1] == 100 && v[2] == 100 && s == 100) {
        for (int i = 0; i < 3; ++i)
            S[i] = c[i];
        return;
    }
    const double k[3] = {80 / 255.0, 107 / 255.0, 74 / 255.0};
    double sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += (k[i] - 0.5) * (0.50196 * (1 - c[i]) - 0.5);
    const double Y = std::clamp(4 * sum, 0.0, 1.0);
    double c1[3];
    for (int i = 0; i < 3; ++i) {
        if (s == 100) {
            c1[i] = c[i];
        } else if (s < 100) {
            double f = (s * 255 / 100) / 255.0;
            c1[i] = c[i] * f + Y * (1 - f);
        } else {
            double e = std::min((s - 100) * 255 / 100, 255) / 255.0;
            double d = std::max(0.0, c[i] - Y);
            double b = std::min(1.0, c[i] * a + std::min(1.0, d + std::min(1.0, d + std::min(1.0, d))));
            double kk = a * (1 - e);
            c1[i] = c[i] * kk + b * (1 - kk);
        }
    }
    for (int i = 0; i < 3; ++i) {
        double up = v[i] > 100 ? std::min((v[i] - 100) * 255 / 100, 255) / 255.0 : 0;
        double m = std::min(v[i] * 255 / 100, 255) / 255.0;
        double a2 = s < 100 ? 1 : a;
        S[i] = std::min(1.0, c1[i] + up * a2) * m;
    }
}

void blendRef(RefPixel& d, const double S[3], double A, int blend)
{
    double* D = d.c;
    switch (blend) {
    case 0:
        for (int i = 0; i < 3; ++i)
            D[i] = S[i] * A + D[i] * (1 - A);
        D[3] = A * A + D[3] * (1 - A);
        break;
    case 1:
        for (int i = 0; i < 3; ++i)
            D[i] = std::min(1.0, D[i] + S[i] * A);
        D[3] = std::min(1.0, D[3] + A * A);
        break;
    case 2:
        for (int i = 0; i < 3; ++i)
            D[i] = std::max(0.0, D[i] - S[i] * A);
        D[3] = std::max(0.0, D[3] - A * A);
        break;
    case 3:
        for (int i = 0; i < 3; ++i)
            D[i] = D[i] * (S[i] * A + (1 - A));
        D[3] = D[3] * A;
        break;
    case 4:
        for (int i = 0; i < 3; ++i)
            D[i] = S[i] * A * (1 - D[i]) + D[i];
        D[3] = A * (1 - D[3]) + D[3];
        break;
    default:
        for (int i = 0; i < 3; ++i)
            D[i] = S[i];
        D[3] = A;
    }
}

// Reference drawing of a screen-space request. Pixels whose sample lies within a
// hair of the quad's edge or of a texel boundary are ambiguous and marked.
void drawRef(std::vector<RefPixel>& img, std::vector<bool>& ambiguous, const cPatternSheet& sheet,
             const strSpriteParam& p)
{
    double c = 1, s = 0;
    double q = p.angle / 90.0;
    if (q == std::floor(q)) {
        int k = ((static_cast<int>(q) % 4) + 4) % 4;
        c = k == 0 ? 1 : k == 2 ? -1 : 0;
        s = k == 1 ? 1 : k == 3 ? -1 : 0;
    } else {
        double r = static_cast<double>(3.1415927f * p.angle / 180.0f);
        c = std::cos(r);
        s = std::sin(r);
    }
    const double cx = p.x - 0.5 + W / 2.0, cy = p.y - 0.5 + H / 2.0;
    const double eps = 1e-6;
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) {
            double qx = i - cx, qy = j - cy;
            double px = qx * c + qy * s, py = -qx * s + qy * c;
            double u = px / p.scaleX + PW / 2.0, v = py / p.scaleY + PH / 2.0;
            auto nearInt = [&](double t) { return std::fabs(t - std::round(t)) < eps * 100; };
            if (u < -eps || v < -eps || u > PW + eps || v > PH + eps)
                continue;
            if (nearInt(u) || nearInt(v)) {
                ambiguous[static_cast<size_t>(j) * W + i] = true;
                continue;
            }
            int col = std::clamp(static_cast<int>(std::floor(u)), 0, PW - 1);
            int row = std::clamp(static_cast<int>(std::floor(v)), 0, PH - 1);
            uint32_t texel = sheet.Texture()[static_cast<size_t>(row) * sheet.Width() + col];
            double S[3], A;
            sourceOf(texel, p, S, A);
            blendRef(img[static_cast<size_t>(j) * W + i], S, A, p.blend);
        }
}

struct Geometry {
    const char* name;
    float x, y, sx, sy, angle;
};

struct ToneCase {
    const char* name;
    int red, green, blue, saturation, mode;
};

const Geometry kGeometries[] = {
    {"identity", 0, 0, 1, 1, 0},
    {"mirrored x", 3, -2, -1, 1, 0},
    {"mirrored both, scaled", -5, 4, -1.5f, -0.75f, 0},
    {"rotated 30", 2, 1, 1, 1, 30},
    {"quarter turn, scaled", 1, -3, 1.5f, 0.75f, 90},
    {"odd scale and angle", -2.3f, 1.7f, 2.3f, -0.6f, 200},
};

const ToneCase kTones[] = {
    {"plain", 100, 100, 100, 100, 0},
    {"red 200", 200, 100, 100, 100, 0},
    {"mixed channels", 0, 150, 50, 100, 0},
    {"saturation 0", 100, 100, 100, 0, 0},
    {"saturation 50 + blue 130", 100, 100, 130, 50, 0},
    {"saturation 150", 100, 100, 100, 150, 0},
    {"saturation 200 + red 120", 120, 80, 100, 200, 0},
    {"silhouette", 40, 200, 90, 100, kSpriteSilhouette},
    {"flash tint", 250, 20, 60, 170, kSpriteFlashTint},
    {"signed flash", 230, 128, 20, 100, kSpriteSignedFlash},
};

struct Case {
    int blend, tone, opacity, geometry;
};

class CompositorModel : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite()
    {
        std::mt19937 rng(99);
        auto sheet = std::make_unique<cPatternSheet>();
        sheet->Create(PW, PH, 32);
        sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
        for (int y = 0; y < PH; ++y)
            for (int x = 0; x < PW; ++x) {
                uint8_t* px = sheet->Row(y) + 4 * x;
                for (int c = 0; c < 3; ++c)
                    px[c] = static_cast<uint8_t>(rng());
                int kind = static_cast<int>(rng() % 4);
                px[3] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(rng());
            }
        ASSERT_TRUE(sheet->Build(1, 1, 0));
        drawer = new cSpriteDrawer;
        drawer->PutSheet(std::move(sheet), 0);
        background.resize(static_cast<size_t>(W) * H);
        for (auto& b : background)
            b = static_cast<uint32_t>(rng());
    }
    static void TearDownTestSuite() { delete drawer; }

    static cSpriteDrawer* drawer;
    static std::vector<uint32_t> background;
};
cSpriteDrawer* CompositorModel::drawer = nullptr;
std::vector<uint32_t> CompositorModel::background;

TEST_P(CompositorModel, MatchesTheReference)
{
    const Case k = GetParam();
    const Geometry& g = kGeometries[k.geometry];
    const ToneCase& t = kTones[k.tone];
    strSpriteParam p;
    p.sheet = drawer->Sheet(0);
    p.blend = k.blend;
    p.x = g.x;
    p.y = g.y;
    p.scaleX = g.sx;
    p.scaleY = g.sy;
    p.angle = g.angle;
    p.opacity = k.opacity;
    p.red = t.red;
    p.green = t.green;
    p.blue = t.blue;
    p.saturation = t.saturation;
    p.mode = t.mode;
    p.screenSpace = true;

    cBMP target;
    ASSERT_TRUE(target.Create(W, H, 32));
    ASSERT_TRUE(drawer->BeginSurface(target, 0));
    std::vector<RefPixel> ref(static_cast<size_t>(W) * H);
    for (int i = 0; i < W * H; ++i) {
        std::memcpy(target.Pixels() + 4 * i, &background[static_cast<size_t>(i)], 4);
        for (int c = 0; c < 4; ++c)
            ref[static_cast<size_t>(i)].c[c] = byteAt(background[static_cast<size_t>(i)], c == 3 ? 24 : 16 - 8 * c);
    }
    drawer->DrawCell(p);
    drawer->Present();
    std::vector<bool> ambiguous(static_cast<size_t>(W) * H, false);
    drawRef(ref, ambiguous, *p.sheet, p);

    int compared = 0;
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) {
            size_t n = static_cast<size_t>(j) * W + i;
            if (ambiguous[n])
                continue;
            ++compared;
            const uint8_t* got = target.Pixels() + 4 * n;
            const int order[4] = {2, 1, 0, 3}; // R, G, B, A as bytes
            for (int c = 0; c < 4; ++c)
                ASSERT_LE(std::fabs(got[order[c]] - ref[n].c[c] * 255), 1.0 + 1e-6)
                    << g.name << " / " << t.name << " / blend " << k.blend << " / opacity " << k.opacity << " at " << i
                    << "," << j << " channel " << c;
        }
    EXPECT_GT(compared, W * H / 2);
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (int blend : {0, 1, 2, 3, 4, 7})
        for (int tone = 0; tone < static_cast<int>(std::size(kTones)); ++tone)
            for (int opacity : {0, 128, 255})
                for (int geo = 0; geo < static_cast<int>(std::size(kGeometries)); ++geo)
                    cases.push_back({blend, tone, opacity, geo});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllModes, CompositorModel, ::testing::ValuesIn(allCases()));

} // namespace
