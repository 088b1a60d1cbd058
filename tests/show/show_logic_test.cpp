// The layers' rules that depend only on numbers: grading choice, glitch uniforms, stadium lights and
// video, tunnel cuts and flicker, the overlay's wipe, the slides and the dropout pattern.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <set>

#include <unistd.h>

#include "gl/texture.h"
#include "platform/platform.h"
#include "show/flash_table.h"
#include "show/glitch_settings.h"
#include "show/grading_entry.h"
#include "show/layer_buildup.h"
#include "show/layer_dvglitch.h"
#include "show/layer_endscreen.h"
#include "show/layer_overlay.h"
#include "show/scene_layers.h"
#include "show/slide_drawing.h"
#include "show/superbowl_logic.h"
#include "show/tunnel_logic.h"
#include "support/trace_capture.h"

namespace zelFramework {
namespace {

// Stands in for a loaded picture; only its address matters here.
struct DummyTexture : GL_Texture {
    void bind(GLenum) override {}
    void unbind() override {}
    void release() override {}
};

TEST(Grading, LaterEntryWinsAtSharedEndsAndGapsAreUngraded) {
    DummyTexture intro, bridge, stadium, finale;
    const std::vector<GradingEntry> g = {{"a", &intro, 0.0f, 35.833f},
                                         {"b", &bridge, 35.833f, 41.291f},
                                         {"c", &stadium, 41.291f, 113.148f},
                                         {"d", &finale, 124.176f, 173.852f}};
    EXPECT_EQ(gradingAt(g, 0.0f), &intro);
    EXPECT_EQ(gradingAt(g, 35.833f), &bridge);
    EXPECT_EQ(gradingAt(g, 41.291f), &stadium);
    EXPECT_EQ(gradingAt(g, 113.148f), &stadium);
    EXPECT_EQ(gradingAt(g, 113.5f), nullptr);
    EXPECT_EQ(gradingAt(g, 124.0f), nullptr);
    EXPECT_EQ(gradingAt(g, 124.176f), &finale);
    EXPECT_EQ(gradingAt(g, 173.852f), &finale);
    EXPECT_EQ(gradingAt(g, 174.0f), nullptr);
    EXPECT_EQ(gradingAt(g, -1.0f), nullptr);
}

TEST(Grading, AMissingPictureWinsItsSpanAndLeavesItUngraded) {
    DummyTexture intro;
    const std::vector<GradingEntry> g = {{"a", &intro, 0.0f, 10.0f}, {"missing", nullptr, 5.0f, 20.0f}};
    EXPECT_EQ(gradingAt(g, 3.0f), &intro);
    EXPECT_EQ(gradingAt(g, 7.0f), nullptr);
}

TEST(Glitch, RandOffsetsFollowTheSeedInThirtieths) {
    EXPECT_EQ(glitchSeed(0.5f), 15u);
    EXPECT_EQ(glitchSeed(0.54f), 16u);
    EXPECT_EQ(glitchSeed(1e30f), 0x7FFFFFFFu);  // clamped, not undefined
    EXPECT_EQ(glitchSeed(std::nanf("")), 0x80000000u);
    GlitchControls c;
    c.rand = 0.5f;
    const GlitchUniforms a = glitchUniforms(c);
    c.rand = 0.51f;  // the same thirtieth: the same offsets
    const GlitchUniforms b = glitchUniforms(c);
    c.rand = 0.54f;
    const GlitchUniforms next = glitchUniforms(c);
    EXPECT_EQ(a.randOffset[0], b.randOffset[0]);
    EXPECT_EQ(a.randOffset[1], b.randOffset[1]);
    EXPECT_TRUE(a.randOffset[0] != next.randOffset[0] || a.randOffset[1] != next.randOffset[1]);
    for (float o : {a.randOffset[0], a.randOffset[1]}) {
        EXPECT_GE(o, 0.0f);
        EXPECT_LT(o, 10.0f);
    }
}

TEST(Intro, LightSettlesOverFiveSeconds) {
    EXPECT_FLOAT_EQ(introLightIntensity(0.0f), 4.0f);
    EXPECT_FLOAT_EQ(introLightIntensity(2.5f), 2.5f);
    EXPECT_FLOAT_EQ(introLightIntensity(6.0f), 1.0f);
}

TEST(Stadium, StandLightsGoOutOneByOne) {
    for (int i = 0; i < 7; ++i) {
        EXPECT_FLOAT_EQ(stadiumLightFactor(i, 0.0f), 1.0f) << i;
        EXPECT_FLOAT_EQ(stadiumLightFactor(i, 1.0f), 0.0f) << i;
        if (i > 0) {
            EXPECT_FLOAT_EQ(stadiumLightFactor(i, 0.1f), 1.0f) << i;
        }
    }
    EXPECT_GT(stadiumLightFactor(0, 0.1f), 0.99f);
    EXPECT_LT(stadiumLightFactor(0, 0.1f), 1.0f);
    // "l1" flickers off while its v is between 1/3 and 2/3.
    EXPECT_FLOAT_EQ(stadiumLightFactor(0, 0.5f / 7.0f), 0.0f);
}

// The characters' texture plays a list of files: every image the video can ask for must find its
// own file there, and the list starts with the still they wear before it.
TEST(Stadium, EveryVideoImageFindsItsOwnFile) {
    const std::vector<std::string> files = stadiumVideoFiles();
    ASSERT_EQ(files.size(), size_t(VIDEO_IMAGE_COUNT + 1));
    EXPECT_EQ(files[0], "video\\Tabor_Pimsel_00001.png");
    for (float t = 82.7f; t < 120.0f; t += 0.05f) {
        const int image = stadiumVideoImage(t);
        const size_t index = stadiumVideoFileIndex(image);
        ASSERT_LT(index, files.size()) << t;
        char expected[64];
        std::snprintf(expected, sizeof expected, "video\\Tabor_Pimsel_%05d.png", image);
        EXPECT_EQ(files[index], expected) << t;
    }
}

TEST(Stadium, VideoHoldsPlaysThenPicksAtRandom) {
    EXPECT_EQ(stadiumVideoImage(82.0f), 0);
    EXPECT_EQ(stadiumVideoImage(82.7f), 58);
    EXPECT_EQ(stadiumVideoImage(95.0f), 124);
    EXPECT_EQ(stadiumVideoImage(99.995f), 174);
    std::set<int> seen;
    for (float t = 100.1f; t < 110.0f; t += 0.1f) {
        const int image = stadiumVideoImage(t);
        EXPECT_GE(image, 151);
        EXPECT_LE(image, 173);
        seen.insert(image);
    }
    EXPECT_GT(seen.size(), 5u);
    EXPECT_EQ(stadiumVideoImage(101.0f), stadiumVideoImage(101.0f));
}

TEST(Stadium, PhasesFlashesAndTheRedPulse) {
    EXPECT_EQ(studioPhase(87.946f), StudioPhase::Stands);
    EXPECT_EQ(studioPhase(90.0f), StudioPhase::Characters);
    EXPECT_EQ(studioPhase(102.709f), StudioPhase::Characters);
    EXPECT_EQ(studioPhase(110.0f), StudioPhase::LightsOut);

    std::vector<FlashPoint> table(11155);
    for (size_t i = 0; i < table.size(); ++i) table[i] = {float(i), 1.0f, 2.0f};
    std::vector<RenderEngine::Flare> flares, again;
    stadiumFlashes(12.34f, table, flares);
    stadiumFlashes(12.34f, table, again);
    ASSERT_EQ(flares.size(), 400u);
    for (size_t i = 0; i < flares.size(); ++i) {
        EXPECT_EQ(flares[i].x, again[i].x);
        EXPECT_LT(flares[i].x, 110000.0f);  // only the first 11000 points are used
        EXPECT_FLOAT_EQ(flares[i].y, 10.0f);
        EXPECT_FLOAT_EQ(flares[i].size, 25.0f);
        EXPECT_GE(flares[i].intensity, 0.0f);
        EXPECT_LE(flares[i].intensity, 1.0f);
    }
    // A short table loses the flashes that point past it instead of reading beyond it.
    table.resize(100);
    stadiumFlashes(12.34f, table, flares);
    EXPECT_LT(flares.size(), 20u);
    table.clear();
    stadiumFlashes(12.34f, table, flares);
    EXPECT_TRUE(flares.empty());

    const auto red = studioPulseColour(float(M_PI / 2), 0.0f);
    EXPECT_NEAR(red[0], 1.0f, 1e-6);
    EXPECT_NEAR(red[1], 0.1f, 1e-6);
    EXPECT_NEAR(studioPulseColour(float(M_PI / 2), 0.75f)[0], 0.25f, 1e-6);
}

TEST(FlashTable, DecodesCountedPointsAndRefusesMismatches) {
    std::vector<uint8_t> bytes = {2, 0, 0, 0};
    auto putFloat = [&bytes](float f) {
        uint8_t b[4];
        std::memcpy(b, &f, 4);
        bytes.insert(bytes.end(), b, b + 4);
    };
    for (float f : {65.851f, -119.882f, -68.593f, 1.0f, 2.0f, 3.0f}) putFloat(f);
    std::vector<FlashPoint> points;
    ASSERT_TRUE(decodeFlashTable(bytes, points));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_FLOAT_EQ(points[0].y, -119.882f);
    EXPECT_FLOAT_EQ(points[1].z, 3.0f);
    bytes.pop_back();
    EXPECT_FALSE(decodeFlashTable(bytes, points));
    EXPECT_TRUE(points.empty());
    const std::vector<uint8_t> huge = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_FALSE(decodeFlashTable(huge, points));
    EXPECT_FALSE(decodeFlashTable({}, points));
}

TEST(BadFiles, AFolderWhereTheFlashTableBelongsIsNamedAndLeavesNoFlashes) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("orvo_flash_folder_" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch / "data" / "flashtable.bin");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch);
    orvotest::TraceCapture trace;
    reloadFlashTable();
    EXPECT_TRUE(flashTable().empty());
    EXPECT_TRUE(trace.contains("WARNING (stadium): flash table data\\flashtable.bin is a folder, not a file; the "
                               "stadium shows no flashes"))
        << trace.text();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
}

TEST(Tunnel, CutCountsOnlyFlashesStrictlyBefore) {
    const auto& flashes = tunnelPath().flashTimes;
    ASSERT_EQ(flashes.size(), 41u);
    ASSERT_EQ(tunnelPath().waypoints.size(), 13u);
    ASSERT_EQ(tunnelPath().arrivals.size(), 12u);
    auto cutAfterDraws = [](int draws) {
        showSrand(0);
        int cut = -1;
        for (int i = 0; i < draws; ++i) cut = showRand() % 7;
        return cut;
    };
    EXPECT_EQ(tunnelCameraCut(100.0f, flashes, 2), 2);
    EXPECT_EQ(tunnelCameraCut(153.1f, flashes, 2), cutAfterDraws(1));  // at the flash: not yet
    EXPECT_EQ(tunnelCameraCut(153.101f, flashes, 2), cutAfterDraws(2));
    // The doubled flash at 162.241 draws twice.
    EXPECT_EQ(tunnelCameraCut(162.242f, flashes, 2), cutAfterDraws(17));
    EXPECT_EQ(tunnelCameraCut(190.0f, flashes, 2), cutAfterDraws(41));
}

TEST(Tunnel, SecondPartViewsShakeOnlyForTheFarCuts) {
    for (int cut = 0; cut < 7; ++cut) EXPECT_EQ(tunnelCutShakes(cut), cut == 1 || cut == 2 || cut == 5) << cut;
    const TunnelView still = tunnelSecondPartView(160.0f, 3.0f, 0);
    EXPECT_FLOAT_EQ(still.eye[2], tunnelTargetDepth(160.0f) + 2.3f);
    EXPECT_FLOAT_EQ(still.up[0], 0.0f);
    const TunnelView shaking = tunnelSecondPartView(160.0f, 1.0f, 2);
    EXPECT_NE(shaking.eye[0], still.eye[0]);
    EXPECT_NE(shaking.up[0], 0.0f);
}

TEST(Tunnel, FirstPartFollowsTheStandsAndLeavesThem) {
    const TunnelPath& path = tunnelPath();
    const TunnelView before = tunnelFirstPartView(124.0f, 0.0f, path);
    EXPECT_FLOAT_EQ(before.eye[2], 90.0f);
    EXPECT_FLOAT_EQ(before.standBlend, 0.0f);
    const TunnelView atSecond = tunnelFirstPartView(125.6f, 1.41f, path);
    EXPECT_GT(atSecond.standBlend, 0.0f);
    EXPECT_LT(atSecond.standBlend, 1.0f);
    const TunnelView last = tunnelFirstPartView(145.0f, 20.0f, path);
    EXPECT_FLOAT_EQ(last.eye[2], -26.7873f);  // the twelfth stand has no next arrival
    const TunnelView leaving = tunnelFirstPartView(151.78f, 27.0f, path);
    EXPECT_FLOAT_EQ(leaving.standBlend, 0.0f);
    EXPECT_NEAR(std::hypot(leaving.up[0], leaving.up[1], leaving.up[2]), 1.0f, 1e-5);
}

TEST(Tunnel, FlickerDecaysNeverBelowZeroAndRelightsEveryTwentiethSecond) {
    TunnelFlicker f;
    advanceTunnelFlicker(f, 0.01f);
    EXPECT_NEAR(f.levels[0], 0.85f, 1e-6);
    EXPECT_EQ(f.seed, 0);
    TunnelFlicker g;
    advanceTunnelFlicker(g, 0.5f);  // one long frame
    EXPECT_EQ(g.seed, 1);
    for (float level : g.levels) EXPECT_TRUE(level == 0.0f || level == 3.0f) << level;
    TunnelFlicker h;
    advanceTunnelFlicker(h, 0.5f);
    EXPECT_EQ(g.levels, h.levels);
}

TEST(Tunnel, TelevisionAndC64Pull) {
    EXPECT_EQ(tunnelTvImage(150.0f, 25.0f), -1);
    EXPECT_EQ(tunnelTvImage(151.8f, 0.0f), 1);
    EXPECT_EQ(tunnelTvImage(151.8f, 1.0f / 15.0f + 0.001f), 2);
    EXPECT_EQ(tunnelTvImage(173.1f, 10.0f), 3);
    TunnelView v;
    const TunnelView none = tunnelC64Blend(v, 0.0f);
    EXPECT_EQ(none.eye, v.eye);
    const TunnelView full = tunnelC64Blend(v, 1.0f);
    EXPECT_FLOAT_EQ(full.eye[2], -47.73f);
    EXPECT_FLOAT_EQ(full.target[0], 4.7f);
    EXPECT_LE(scopeLitBars(0, 1.0f), 30);
    EXPECT_LE(std::fabs(scopeColumnHeight(3, 1.0f) - 5.0f), 25.0f);
}

TEST(Overlay, WipeCrossesThePicture) {
    const WipeShape start = wipeShape(0.0f), middle = wipeShape(0.5f), end = wipeShape(1.0f);
    EXPECT_LT(start.shift + start.edge, 0.0f);  // wholly left of the picture
    EXPECT_GT(middle.shift + middle.edge, 0.0f);
    EXPECT_LT(middle.shift + middle.edge, OVERLAY_WIDTH);
    EXPECT_GT(end.shift + end.tailStart, OVERLAY_WIDTH);  // wholly beyond the right edge
}

TEST(Slides, SelectionPulseShakeAndEndScreen) {
    EXPECT_EQ(buildUpSlideAt(112.0f), 0);
    EXPECT_EQ(buildUpSlideAt(113.1f), 1);
    EXPECT_EQ(buildUpSlideAt(113.103f), 2);  // a slide starts at its own time, not a frame later
    EXPECT_EQ(buildUpSlideAt(124.0f), 6);

    EXPECT_FLOAT_EQ(slidePulse(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(slidePulse(0.125f), 0.95f);
    EXPECT_FLOAT_EQ(slidePulse(-0.125f), 1.05f);  // fmod keeps the sign

    const LogoShake still = logoShake(118.621f);
    EXPECT_FLOAT_EQ(still.j, 0.0f);
    EXPECT_FLOAT_EQ(still.scale, 1.0f);
    bool shook = false;
    for (float t = 119.121f; t < 119.5f; t += 0.01f) shook |= std::fabs(logoShake(t).j) > 0.0005f;
    EXPECT_TRUE(shook);

    EXPECT_EQ(endScreenLastLayer(179.22f), 6);
    EXPECT_EQ(endScreenLastLayer(179.221f), 5);
}

TEST(DvGlitch, PatternIsTheSameEveryFrameAndStaysInTheGrid) {
    DvCells a{}, b{};
    buildDvPattern(a);
    showSrand(12345);  // whatever ran in between
    buildDvPattern(b);
    EXPECT_EQ(a, b);
    int filled = 0;
    for (uint8_t v : a) filled += v != 0;
    EXPECT_GT(filled, 300);
    EXPECT_LT(filled, DV_CELLS);

    const DvCellColour c1 = dvCellColour(77);
    const DvCellColour c2 = dvCellColour(77);
    EXPECT_EQ(c1.r, c2.r);
    EXPECT_EQ(c1.b, c2.b);
    int magenta = 0;
    for (int v = 1; v < 255; ++v) {
        const DvCellColour c = dvCellColour(uint8_t(v));
        if (c.r == 1.0f && c.g == 0.2f && c.b == 1.0f) ++magenta;
        else EXPECT_TRUE(c.r == c.g && c.g == c.b) << v;
    }
    EXPECT_GT(magenta, 30);
    EXPECT_LT(magenta, 150);
}

}  // namespace
}  // namespace zelFramework
