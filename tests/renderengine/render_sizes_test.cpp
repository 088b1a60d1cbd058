// Set-up arithmetic of the renderer: sizes, prefix, cube-mode conflicts and the history length.
#include <gtest/gtest.h>

#include "renderengine/features.h"
#include "renderengine/render_sizes.h"

using namespace RenderEngine;

TEST(RenderSizes, ScreenOf1280GivesTheShowsTargetSizes) {
    RenderSize render = renderSizeFor(1280, 561, 1.0f, 0x61);
    EXPECT_EQ(render.width, 1280);
    EXPECT_EQ(render.height, 561);
    // Half-size occlusion blur targets use integer division.
    EXPECT_EQ(render.width / 2, 640);
    EXPECT_EQ(render.height / 2, 280);
    RenderSize first = motionBlurTargetSize(render, 0);
    EXPECT_EQ(first.width, 1280);
    EXPECT_EQ(first.height, 2244);
    RenderSize tenth = motionBlurTargetSize(render, 9);
    EXPECT_EQ(tenth.width, 673);
    EXPECT_EQ(tenth.height, 224);
    RenderSize ao = occlusionTargetSize(render, 1.0f);
    EXPECT_EQ(ao.width, 1280);
    EXPECT_EQ(ao.height, 561);
}

TEST(RenderSizes, ScaleTruncatesAndCubeModeForces512) {
    RenderSize half = renderSizeFor(1279, 561, 0.5f, 0);
    EXPECT_EQ(half.width, 639);
    EXPECT_EQ(half.height, 280);
    RenderSize cube = renderSizeFor(1920, 842, 0.5f, RE_CUBEMAP);
    EXPECT_EQ(cube.width, 512);
    EXPECT_EQ(cube.height, 512);
    // A nonsensical scale must not produce undefined conversions.
    RenderSize huge = renderSizeFor(1280, 561, 1.0e30f, 0);
    EXPECT_GT(huge.width, 0);
    RenderSize ao = occlusionTargetSize({640, 280}, 0.0f);
    EXPECT_GT(ao.width, 0);
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
    EXPECT_EQ(motionBlurHistoryLength(0.55f), 5);
    EXPECT_EQ(motionBlurHistoryLength(0.0f), 1);
    EXPECT_EQ(motionBlurHistoryLength(-1.0f), 1);
    EXPECT_EQ(motionBlurHistoryLength(2.0f), 10);
    EXPECT_EQ(motionBlurHistoryLength(1.0f), 10);
    EXPECT_EQ(motionBlurHistoryLength(0.19f), 1);
}
