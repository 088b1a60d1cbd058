// The colour-grading tables: their layout (which the grade shader reads) and the character of each look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "grading.h"
#include "image_io.h"

using namespace zelFramework::content;

namespace {

const Look kLooks[] = {Look::CoolIntro, Look::Bridge, Look::WarmStadium, Look::TunnelFinale};

float luma(Rgb3 c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

}  // namespace

TEST(GradingTable, NeutralTableMapsEveryLatticeColourToItself)
{
    Image lut = lookupTable(Look::Neutral);
    ASSERT_EQ(lut.width, 1024);
    ASSERT_EQ(lut.height, 32);
    for (int b = 0; b < 32; b += 3)
        for (int g = 0; g < 32; g += 5)
            for (int r = 0; r < 32; r += 7) {
                const Rgba& p = lut.at(lutColumn(r, b), lutRow(g));
                // Compared after 8-bit quantisation, as the file stores it.
                EXPECT_EQ(toByte(p.r), toByte(r / 31.0f));
                EXPECT_EQ(toByte(p.g), toByte(g / 31.0f));
                EXPECT_EQ(toByte(p.b), toByte(b / 31.0f));
            }
    // The corners of the strip: black at the top left, white at the bottom right.
    EXPECT_EQ(toByte(lut.at(0, 0).r), 0);
    EXPECT_EQ(toByte(lut.at(1023, 31).b), 255);
}

TEST(GradingTable, LooksAreDistinctValidAndKeepTheGreyScaleInOrder)
{
    for (Look look : kLooks) {
        Image lut = lookupTable(look);
        float previous = -1;
        for (int i = 0; i < 32; ++i) {
            Rgb3 out = applyLook(look, {i / 31.0f, i / 31.0f, i / 31.0f});
            for (float v : {out.r, out.g, out.b}) {
                EXPECT_GE(v, 0.0f);
                EXPECT_LE(v, 1.0f);
            }
            // No look may turn a brighter grey into a darker one.
            EXPECT_GE(luma(out), previous - 1e-4f) << static_cast<int>(look) << " at " << i;
            previous = luma(out);
        }
        // Each look changes mid grey visibly.
        Rgb3 mid = applyLook(look, {0.5f, 0.5f, 0.5f});
        EXPECT_GT(std::fabs(mid.r - 0.5f) + std::fabs(mid.g - 0.5f) + std::fabs(mid.b - 0.5f), 0.02f);
    }
    for (size_t a = 0; a < 4; ++a)
        for (size_t b = a + 1; b < 4; ++b) {
            Rgb3 x = applyLook(kLooks[a], {0.3f, 0.5f, 0.6f}), y = applyLook(kLooks[b], {0.3f, 0.5f, 0.6f});
            EXPECT_GT(std::fabs(x.r - y.r) + std::fabs(x.g - y.g) + std::fabs(x.b - y.b), 0.02f);
        }
}

TEST(GradingTable, CoolAndWarmLooksLeanTheRightWay)
{
    Rgb3 cool = applyLook(Look::CoolIntro, {0.3f, 0.3f, 0.3f});
    EXPECT_GT(cool.b, cool.r);
    Rgb3 warm = applyLook(Look::WarmStadium, {0.6f, 0.6f, 0.6f});
    EXPECT_GT(warm.r, warm.b);
    // The finale is the hardest look: darks darker and lights lighter than the bridge's.
    EXPECT_LT(luma(applyLook(Look::TunnelFinale, {0.2f, 0.2f, 0.2f})), luma(applyLook(Look::Bridge, {0.2f, 0.2f, 0.2f})));
    EXPECT_GT(luma(applyLook(Look::TunnelFinale, {0.8f, 0.8f, 0.8f})), luma(applyLook(Look::CoolIntro, {0.8f, 0.8f, 0.8f})));
}

namespace {

// Reads a table the way the grade shader does: bilinear inside a blue tile (texel centres half a texel in
// from the tile's edges), linear between the two nearest tiles, on the 8-bit values the file holds.
Rgb3 sampleLikeTheShader(const Image& lut, Rgb3 c)
{
    auto texel = [&](int x, int y) {
        const Rgba& p = lut.at(x, y);
        return Rgb3{toByte(p.r) / 255.0f, toByte(p.g) / 255.0f, toByte(p.b) / 255.0f};
    };
    auto lerp = [](Rgb3 a, Rgb3 b, float t) {
        return Rgb3{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
    };
    auto inTile = [&](int tile) {
        float fr = c.r * 31, fg = c.g * 31;
        int r0 = static_cast<int>(fr), g0 = static_cast<int>(fg);
        int r1 = std::min(r0 + 1, 31), g1 = std::min(g0 + 1, 31);
        Rgb3 top = lerp(texel(lutColumn(r0, tile), lutRow(g0)), texel(lutColumn(r1, tile), lutRow(g0)), fr - r0);
        Rgb3 bottom = lerp(texel(lutColumn(r0, tile), lutRow(g1)), texel(lutColumn(r1, tile), lutRow(g1)), fr - r0);
        return lerp(top, bottom, fg - g0);
    };
    float fb = c.b * 31;
    int b0 = static_cast<int>(fb), b1 = std::min(b0 + 1, 31);
    return lerp(inTile(b0), inTile(b1), fb - b0);
}

}  // namespace

TEST(GradingTable, TheShadersReadingOfTheStripReproducesEachLook)
{
    // Off-lattice colours, spread over the cube by a fixed stride.
    for (Look look : {Look::Neutral, Look::CoolIntro, Look::Bridge, Look::WarmStadium, Look::TunnelFinale}) {
        Image lut = lookupTable(look);
        float worst = 0;
        for (int i = 0; i < 500; ++i) {
            Rgb3 in{std::fmod(i * 0.6180339f, 1.0f), std::fmod(i * 0.4142135f, 1.0f), std::fmod(i * 0.7320508f, 1.0f)};
            Rgb3 want = applyLook(look, in), got = sampleLikeTheShader(lut, in);
            worst = std::max({worst, std::fabs(want.r - got.r), std::fabs(want.g - got.g), std::fabs(want.b - got.b)});
        }
        EXPECT_LT(worst, 0.03f) << "look " << static_cast<int>(look);
    }
}
