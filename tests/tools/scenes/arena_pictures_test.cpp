// The pictures of the players' tunnel as the camera sees them: the turf of the stadium seen through
// the mouth fills the frame as the camera stops there, so it must hold the detail of grass at the
// size it is drawn, stay the one green of its mowing stripe from afar, and have its stripes run
// along the pitch lines as they do on the stadium's own pitch the show cuts to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "picture_metrics.h"
#include "tunnel_pictures.h"

using namespace zelFramework;
using content::Image;

namespace {

std::vector<uint8_t> rgbaBytes(const Image& img) {
    std::vector<uint8_t> bytes;
    bytes.reserve(img.pixels.size() * 4);
    auto byte = [](float v) { return uint8_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    for (const content::Rgba& p : img.pixels) {
        bytes.push_back(byte(p.r));
        bytes.push_back(byte(p.g));
        bytes.push_back(byte(p.b));
        bytes.push_back(255);
    }
    return bytes;
}

float luma(const content::Rgba& p) { return 0.299f * p.r + 0.587f * p.g + 0.114f * p.b; }

// Mean luma of [x0, x1) x [y0, y1).
float meanLuma(const Image& img, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += luma(img.at(x, y));
    return float(sum / double((x1 - x0) * (y1 - y0)));
}

// A patch of grass with no paint on it, between the second and third pitch lines and nearer the
// viewer than the hash marks, in texels of the full picture; the mowing stripes meet at x = 510.
constexpr int kGrassX0 = 400, kGrassX1 = 620, kGrassY0 = 870, kGrassY1 = 1010, kStripeEdge = 510;

double grassSharpnessAt(const Image& view, int shrink) {
    const Image seen = content::resized(view, view.width / shrink, view.height / shrink);
    return content::meanAbsoluteLaplacian(rgbaBytes(seen), seen.width, kGrassX0 / shrink, kGrassY0 / shrink,
                                          kGrassX1 / shrink, kGrassY1 / shrink);
}

}  // namespace

TEST(ArenaPictures, TheViewsTurfHasDetailAtTheSizesTheCameraSeesIt) {
    const Image view = scenegen::paintArenaView();
    ASSERT_EQ(view.width, 2048);
    ASSERT_EQ(view.height, 1024);
    // In the mouth (40-41 s) about two texels fall on a pixel of a 640-wide frame, at 38.5 s about
    // four: there the grass must still show its tufts and clumps. Flat paint shows only its stripe
    // edges, about a hundredth at most.
    EXPECT_GT(grassSharpnessAt(view, 2), 0.025);
    EXPECT_GT(grassSharpnessAt(view, 4), 0.025);
}

TEST(ArenaPictures, TheViewsMowingStripesRunAlongTheLinesAndKeepTheirGreenFromAfar) {
    const Image view = scenegen::paintArenaView();
    const int x0 = kGrassX0, x1 = kStripeEdge - 8;  // the darker stripe of the patch
    const float darker = meanLuma(view, x0, kGrassY0, x1, kGrassY1);
    const float lighter = meanLuma(view, kStripeEdge + 8, kGrassY0, kGrassX1, kGrassY1);
    EXPECT_GT(lighter - darker, 0.05f);
    // Along the stripe (towards the viewer) it is one green: bands of 16 rows differ by less than
    // the stripes do by far. Stripes painted across the lines fail this.
    float lowest = 1, highest = 0;
    for (int y = kGrassY0; y + 16 <= kGrassY1; y += 16) {
        const float band = meanLuma(view, x0, y, x1, y + 16);
        lowest = std::min(lowest, band);
        highest = std::max(highest, band);
    }
    EXPECT_LT(highest - lowest, 0.02f);
    // Averaged over 32 x 32 texels, a little over a yard square, the shading is gone: the turf is
    // evenly kept, with no blotches darker or paler than its stripe's green by more than a few
    // hundredths.
    const Image far = content::resized(view, view.width / 32, view.height / 32);
    for (int y = kGrassY0 / 32; y < kGrassY1 / 32; ++y)
        for (int x = x0 / 32 + 1; x < x1 / 32; ++x)
            EXPECT_NEAR(luma(far.at(x, y)), darker, 0.03f) << x << ", " << y;
}
