// Set-up arithmetic of the renderer: sizes, prefix, cube-mode conflicts and the history length.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "renderengine/features.h"
#include "renderengine/render_sizes.h"

using namespace RenderEngine;

namespace {

void expectSize(RenderSize size, int width, int height) {
    EXPECT_EQ(size.width, width);
    EXPECT_EQ(size.height, height);
}

}  // namespace

TEST(RenderSizes, TargetSizesTruncateAndCubeModeForces512) {
    const RenderSize render = renderSizeFor(1280, 561, 1.0f, 0x61);
    expectSize(render, 1280, 561);
    expectSize(motionBlurTargetSize(render, 0), 1280, 2244);
    expectSize(motionBlurTargetSize(render, 9), 673, 224);
    expectSize(occlusionTargetSize(render, 1.0f), 1280, 561);
    expectSize(renderSizeFor(1279, 561, 0.5f, 0), 639, 280);
    expectSize(renderSizeFor(1920, 842, 0.5f, RE_CUBEMAP), 512, 512);
    // A nonsensical scale must not produce undefined conversions.
    EXPECT_GT(renderSizeFor(1280, 561, 1.0e30f, 0).width, 0);
    EXPECT_GT(occlusionTargetSize({640, 280}, 0.0f).width, 0);
}

TEST(RenderSizes, PrefixCarriesReflectionThenTheLightModel) {
    EXPECT_EQ(shaderPrefixFor(0x61), "#define REAL_LIGHT_MODEL\n");
    EXPECT_EQ(shaderPrefixFor(0x1C1), "#define REFLECTION\n#define REAL_LIGHT_MODEL\n");
    EXPECT_EQ(shaderPrefixFor(0x01), "#define SPHERICAL_HARMONICS_LIGHTING\n");
    EXPECT_EQ(shaderPrefixFor(0x100), "#define REFLECTION\n#define SPHERICAL_HARMONICS_LIGHTING\n");
}

TEST(RenderSizes, CubeModeDropsTheFeaturesItCannotRunWith) {
    uint32_t dropped = 0;
    EXPECT_EQ(consistentFeatures(RE_CUBEMAP | RE_DOF | RE_GLOW | RE_DOF_LAYERS | RE_SSAO, &dropped),
              uint32_t(RE_CUBEMAP | RE_SSAO));
    EXPECT_EQ(dropped, uint32_t(RE_DOF | RE_GLOW | RE_DOF_LAYERS));
    // Without cube mode the same features are all fine.
    EXPECT_EQ(consistentFeatures(0xE1 | RE_DOF_LAYERS, &dropped), uint32_t(0xE1 | RE_DOF_LAYERS));
    EXPECT_EQ(dropped, 0u);
}

TEST(RenderSizes, MotionBlurHistoryLengthIsTruncatedAndClamped) {
    const std::pair<float, int> cases[] = {{0.55f, 5}, {0.19f, 1}, {0.0f, 1}, {-1.0f, 1}, {1.0f, 10}, {2.0f, 10}};
    for (const auto& [amount, length] : cases)
        EXPECT_EQ(motionBlurHistoryLength(amount), length) << amount;
}

// The depth of field's tile bound is spread over enough tiles for the farthest tap and the texel its
// filter mixes in, at every radius and render size, and no further than the spreading pass reads.
TEST(RenderSizes, DofReachCoversTheLargestTapAndItsFilterAtEverySize) {
    for (int height : {100, 280, 561, 842, 2160}) {
        for (float radius : {0.0f, 0.375f, 1.6f, 2.5f, 3.5f, 10.0f}) {
            const float reachPixels = radius * 0.006f * float(height) + 1.0f;
            const int tiles = dofReachTiles(radius, height);
            if (reachPixels > float(DOF_MOST_REACH_TILES * DOF_TILE_PIXELS)) {
                EXPECT_EQ(tiles, -1) << radius << " at " << height;
                continue;
            }
            EXPECT_GE(float(tiles * DOF_TILE_PIXELS), reachPixels) << radius << " at " << height;
            EXPECT_LT(float((tiles - 1) * DOF_TILE_PIXELS), reachPixels) << radius << " at " << height;
        }
    }
    EXPECT_EQ(dofReachTiles(-3.0f, 280), 1);
    EXPECT_EQ(dofReachTiles(std::nanf(""), 280), -1);
    EXPECT_EQ(dofReachTiles(1.0e30f, 280), -1);
    expectSize(dofTileCount({640, 280}), 80, 35);
    expectSize(dofTileCount({1280, 561}), 160, 71);
}

TEST(RenderSizes, OnlyWholeFalloffsFromOneToFourGetAMultipliedProgram) {
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(dofFalloffPower(float(n)), n);
    for (float falloff : {0.0f, 0.01f, 2.5f, 4.0001f, 5.0f, -2.0f, std::nanf(""), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(dofFalloffPower(falloff), 0) << falloff;
}
