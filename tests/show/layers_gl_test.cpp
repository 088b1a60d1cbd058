// Layers on real OpenGL, in a scratch resources folder that holds only the shaders, so every picture
// the layers ask for is missing unless a test registers it.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/screen_metrics.h"
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "platform/platform.h"
#include "show/layer_buildup.h"
#include "show/layer_dvglitch.h"
#include "show/layer_endscreen.h"
#include "show/layer_overlay.h"
#include "show/layer_postfx.h"
#include "show/layer_superbowl.h"
#include "show/layer_tunnel.h"
#include "renderengine/renderer.h"
#include "show/flash_table.h"
#include "show_gl_support.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"
#include "sync/controller_set.h"

namespace zelFramework::testing {
namespace {

namespace fs = std::filesystem;
using orvotest::GL_TEST_HEIGHT;
using orvotest::GL_TEST_WIDTH;

constexpr int LUT = 32;

// One post-processing layer for the whole process: it publishes "finalTarget", which the registry
// keeps for good, so it must outlive every test.
struct Shared {
    ControllerSet controllers;
    Layer_PostFX* post = nullptr;
    GL_MemTexture* swapLut = nullptr;
    // Clear until a test paints it, so that the other tests see no vignette.
    GL_MemTexture* vignette = nullptr;
};

Shared& shared() {
    static Shared s;
    return s;
}

// A grading table in the documented strip layout that swaps red and blue.
std::vector<uint8_t> swappingLut() {
    std::vector<uint8_t> px(size_t(LUT * LUT * LUT * 3));
    for (int b = 0; b < LUT; ++b)
        for (int g = 0; g < LUT; ++g)
            for (int r = 0; r < LUT; ++r) {
                const size_t at = (size_t(g) * LUT * LUT + size_t(r + LUT * b)) * 3;
                px[at] = uint8_t(b * 255 / 31);
                px[at + 1] = uint8_t(g * 255 / 31);
                px[at + 2] = uint8_t(r * 255 / 31);
            }
    return px;
}

class ShowLayersGL : public orvotest::GLTest {
protected:
    static void SetUpTestSuite() {
        if (!orvotest::ensureGLContext()) return;
        const fs::path scratch = fs::temp_directory_path() / ("orvo_show_layers_" + std::to_string(::getpid()));
        fs::create_directories(scratch);
        fs::copy(fs::path(ORVO_RESOURCES_DIR) / "shaders", scratch / "shaders",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        changeDirectory(scratch);
        setScreenMetrics(GL_TEST_WIDTH, GL_TEST_WIDTH);  // a 256 x 112 picture
        gltkInit();
        Shared& s = shared();
        const std::vector<uint8_t> lut = swappingLut();
        s.swapLut = new GL_MemTexture();
        s.swapLut->create(lut.data(), LUT * LUT, LUT, GL_RGB, GL_REPEAT, GL_REPEAT);
        GL_TextureManager::addTexture("grading\\swap.png", s.swapLut);
        s.vignette = new GL_MemTexture();
        setVignette(0, 0, 0, 0);
        GL_TextureManager::addTexture("vignette.png", s.vignette);
        s.post = new Layer_PostFX();
        s.post->gradings.push_back({"grading\\swap.png", nullptr, 10.0f, 20.0f});
        s.post->gradings.push_back({"grading\\missing.png", nullptr, 30.0f, 40.0f});
        s.post->init(nullptr, &s.controllers);
    }

    void SetUp() override {
        GLTest::SetUp();
        ASSERT_NE(shared().post, nullptr);
        for (uint32_t i = 0; i < shared().controllers.count(); ++i) shared().controllers.at(i)->value = 0.0f;
    }

    Controller* controller(const char* name) { return shared().controllers.get(name); }

    // The vignette picture, one colour all over (4 x 4 texels).
    static void setVignette(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        std::vector<uint8_t> px;
        for (int i = 0; i < 16; ++i) px.insert(px.end(), {r, g, b, a});
        if (shared().vignette->textureId)
            shared().vignette->replacePixels(px.data(), 4, 4, GL_RGBA, {});
        else
            shared().vignette->create(px.data(), 4, 4, GL_RGBA, GL_REPEAT, GL_REPEAT);
    }

    // Fills "finalTarget" with four colour bands from left to right.
    static void paintFinalTarget() {
        GL_FBOTexture* target = dynamic_cast<GL_FBOTexture*>(GL_TextureManager::getTexture("finalTarget"));
        ASSERT_NE(target, nullptr);
        target->begin();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 4, 0, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float colours[4][3] = {{0.9f, 0.2f, 0.1f}, {0.1f, 0.6f, 0.3f}, {0.5f, 0.5f, 0.5f}, {0.2f, 0.3f, 0.8f}};
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glColor3fv(colours[i]);
            glVertex2f(float(i), 0.0f);
            glVertex2f(float(i + 1), 0.0f);
            glVertex2f(float(i + 1), 1.0f);
            glVertex2f(float(i), 1.0f);
        }
        glEnd();
        target->end();
        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }

    // Post-processes the painted picture at local time `t` and reads the window.
    std::vector<uint8_t> postProcess(float t) {
        paintFinalTarget();
        shared().post->setTime({.time = t});
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        shared().post->render();
        return orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    }

    static orvotest::Rgba at(const std::vector<uint8_t>& px, int x, int y) {
        const size_t i = (size_t(y) * GL_TEST_WIDTH + size_t(x)) * 4;
        return {px[i], px[i + 1], px[i + 2], px[i + 3]};
    }
};

TEST_F(ShowLayersGL, AllControllersAtZeroLeaveThePictureAsItIs) {
    orvotest::TraceCapture trace;
    const std::vector<uint8_t> px = postProcess(5.0f);  // no grading at 5 s, no vignette picture
    const int expected[4][3] = {{230, 51, 26}, {26, 153, 77}, {128, 128, 128}, {51, 77, 204}};
    for (int band = 0; band < 4; ++band) {
        const orvotest::Rgba c = at(px, band * 64 + 32, 128);
        EXPECT_NEAR(c.r, expected[band][0], 2) << band;
        EXPECT_NEAR(c.g, expected[band][1], 2) << band;
        EXPECT_NEAR(c.b, expected[band][2], 2) << band;
    }
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    EXPECT_FALSE(trace.contains("shaderAccess")) << trace.text();
    EXPECT_FALSE(trace.contains("ERROR")) << trace.text();
}

TEST_F(ShowLayersGL, ColourControllersActInTheirDirection) {
    controller("ZEL: To Black")->value = 1.0f;
    EXPECT_LE(at(postProcess(5.0f), 32, 128).r, 2);
    controller("ZEL: To Black")->value = 0.0f;
    controller("ZEL: To White")->value = 1.0f;
    EXPECT_GE(at(postProcess(5.0f), 224, 128).r, 253);
    controller("ZEL: To White")->value = 0.0f;
    controller("ZEL: Desaturate")->value = 1.0f;
    const orvotest::Rgba grey = at(postProcess(5.0f), 32, 128);
    EXPECT_NEAR(grey.r, grey.b, 2);
    controller("ZEL: Desaturate")->value = 0.0f;
    controller("ZEL: Brightness")->value = 0.2f;
    EXPECT_NEAR(at(postProcess(5.0f), 160, 128).g, 128 + 51, 3);
}

// A neutral correction is skipped, and the glow, the grading and the glitch then work from the
// shared picture instead of the work target: a correction too small to see must give the same
// window, with the glow and the glitch on and off and at a time with grading.
TEST_F(ShowLayersGL, ANeutralCorrectionGivesTheWindowThatAnInvisibleOneGives) {
    auto largestDifference = [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        int most = 0;
        for (size_t i = 0; i < a.size(); ++i) most = std::max(most, std::abs(int(a[i]) - int(b[i])));
        return most;
    };
    for (const bool glow : {false, true})
        for (const bool glitch : {false, true})
            for (const float t : {5.0f, 15.0f}) {
                controller("ZEL: Glow Radius")->value = glow ? 0.5f : 0.0f;
                controller("ZEL: Glow Intensity")->value = glow ? 0.3f : 0.0f;
                controller("Glitch: intensity")->value = glitch ? 1.0f : 0.0f;
                controller("Glitch: block count")->value = glitch ? 0.5f : 0.0f;
                controller("Glitch: block distortion")->value = glitch ? 1.0f : 0.0f;
                controller("Glitch: rand")->value = 0.5f;
                controller("ZEL: Brightness")->value = 0.0f;
                const std::vector<uint8_t> skipped = postProcess(t);
                controller("ZEL: Brightness")->value = 1.0e-6f;
                const std::vector<uint8_t> corrected = postProcess(t);
                EXPECT_LE(largestDifference(skipped, corrected), 1)
                    << "glow " << glow << ", glitch " << glitch << ", " << t << " s";
                if (glow) {  // the glow really went in, from the picture and not from a stale target
                    controller("ZEL: Glow Intensity")->value = 0.0f;
                    controller("ZEL: Brightness")->value = 0.0f;
                    EXPECT_GT(pictureDifference(skipped, postProcess(t)), 1.0);
                }
            }
}

// The vignette goes over the graded, clamped picture by its alpha, whether it is laid on in the output
// pass (no glitch) or drawn over the window after the glitch.
TEST_F(ShowLayersGL, VignetteLiesOverTheGradedPictureByItsAlpha) {
    for (const bool glitch : {false, true})
        for (const float t : {5.0f, 15.0f}) {  // without and with the grading table
            controller("Glitch: intensity")->value = glitch ? 1.0f : 0.0f;
            controller("Glitch: block count")->value = glitch ? 0.5f : 0.0f;
            controller("Glitch: rand")->value = 0.5f;
            controller("ZEL: Brightness")->value = 0.6f;  // the brightest band goes past 1
            setVignette(0, 0, 0, 0);
            const std::vector<uint8_t> plain = postProcess(t);
            setVignette(20, 200, 60, 96);
            const std::vector<uint8_t> shaded = postProcess(t);
            setVignette(0, 0, 0, 0);
            int largest = 0;
            for (size_t i = 0; i < plain.size(); i += 4)
                for (size_t c = 0; c < 3; ++c) {
                    const double v = c == 0 ? 20 : c == 1 ? 200 : 60;
                    const double expected = plain[i + c] * (1.0 - 96 / 255.0) + v * 96 / 255.0;
                    largest = std::max(largest, int(std::lround(std::abs(shaded[i + c] - expected))));
                }
            EXPECT_LE(largest, 1) << "glitch " << glitch << ", " << t << " s";
        }
}

TEST_F(ShowLayersGL, GradingReadsTheStripLayoutAndAMissingTableIsSkipped) {
    const std::vector<uint8_t> graded = postProcess(15.0f);  // red and blue swapped by the table
    const orvotest::Rgba red = at(graded, 32, 128);
    EXPECT_NEAR(red.r, 26, 4);
    EXPECT_NEAR(red.g, 51, 4);
    EXPECT_NEAR(red.b, 230, 4);
    const orvotest::Rgba blue = at(graded, 224, 128);
    EXPECT_NEAR(blue.r, 204, 4);
    EXPECT_NEAR(blue.b, 51, 4);
    const orvotest::Rgba missing = at(postProcess(35.0f), 32, 128);  // its picture is missing: ungraded
    EXPECT_NEAR(missing.r, 230, 2);
    EXPECT_NEAR(missing.b, 26, 2);
}

TEST_F(ShowLayersGL, GlitchBendsThePictureTheSameWayForTheSameRand) {
    const std::vector<uint8_t> clean = postProcess(5.0f);
    controller("Glitch: intensity")->value = 1.0f;
    controller("Glitch: strip count")->value = 0.5f;
    controller("Glitch: strip translation")->value = 1.0f;
    controller("Glitch: block count")->value = 0.5f;
    controller("Glitch: block width")->value = 0.5f;
    controller("Glitch: block distortion")->value = 1.0f;
    controller("Glitch: RGB distortion")->value = 1.0f;
    controller("Glitch: rand")->value = 0.5f;
    const std::vector<uint8_t> a = postProcess(5.0f);
    controller("Glitch: rand")->value = 0.51f;
    const std::vector<uint8_t> b = postProcess(5.0f);
    controller("Glitch: rand")->value = 2.0f;
    const std::vector<uint8_t> c = postProcess(5.0f);
    EXPECT_GT(pictureDifference(clean, a), 1.0);
    EXPECT_EQ(pictureDifference(a, b), 0.0);
    EXPECT_GT(pictureDifference(a, c), 0.5);
}

TEST_F(ShowLayersGL, GlowAddsLightOnlyWithRadiusAndIntensity) {
    const std::vector<uint8_t> clean = postProcess(5.0f);
    controller("ZEL: Glow Radius")->value = 0.5f;
    EXPECT_EQ(pictureDifference(clean, postProcess(5.0f)), 0.0);
    controller("ZEL: Glow Intensity")->value = 0.5f;
    EXPECT_GT(pictureStats(postProcess(5.0f)).meanLuma, pictureStats(clean).meanLuma + 5.0);
}

// The glow adds its blur at twice its intensity. Up to a share of 1 it is drawn once at that share;
// above, a colour would clamp it, so it goes in twice at half: both must add the same light per unit
// of intensity. Measured on the channels of the red and the blue band that stay clear of white.
TEST_F(ShowLayersGL, GlowAddsItsBlurAtTwiceItsIntensityWhicheverWayItIsDrawn) {
    controller("ZEL: Glow Radius")->value = 0.5f;
    const std::vector<uint8_t> clean = postProcess(5.0f);
    auto addedAt = [&](float intensity) {
        controller("ZEL: Glow Intensity")->value = intensity;
        const std::vector<uint8_t> glowing = postProcess(5.0f);
        auto added = [&](int x, int channel) {
            return double(glowing[(128 * GL_TEST_WIDTH + x) * 4 + channel]) -
                   double(clean[(128 * GL_TEST_WIDTH + x) * 4 + channel]);
        };
        return std::array<double, 3>{added(32, 1), added(224, 0), added(224, 1)};
    };
    const auto low = addedAt(0.15f);  // a share of 0.3: one draw
    const auto high = addedAt(0.6f);  // a share of 1.2: two draws
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(low[i], 10.0) << i;
        EXPECT_NEAR(high[i] / low[i], 4.0, 0.35) << i << ": " << low[i] << " then " << high[i];
    }
}

TEST_F(ShowLayersGL, VideoGlitchDrawsTheSamePictureEveryFrame) {
    Layer_DVGlitch glitch;
    ASSERT_TRUE(glitch.init(nullptr, nullptr));
    glitch.render();
    const std::vector<uint8_t> first = orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    const DvCells cells = glitch.pattern();
    showSrand(99);
    glClear(GL_COLOR_BUFFER_BIT);
    glitch.render();
    const std::vector<uint8_t> second = orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    EXPECT_EQ(cells, glitch.pattern());
    EXPECT_EQ(first, second);
    EXPECT_GT(pictureStats(first).litFraction, 0.05);
}

TEST_F(ShowLayersGL, OverlayDrawsNothingAtZeroAndTheWipeWhereItShould) {
    Layer_TextOverlayAnimation overlay;
    ASSERT_TRUE(overlay.init(nullptr, &shared().controllers));
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<uint8_t> before = orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    overlay.render();
    EXPECT_EQ(before, orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT));

    controller("Swoosh Wipe")->value = 0.5f;  // the opaque edge at x = 1110 of 1920
    overlay.render();
    const int edge = 1110 * GL_TEST_WIDTH / 1920;
    EXPECT_GE(orvotest::readPixel(edge, 128).r, 240);
    EXPECT_EQ(orvotest::readPixel(edge + 12, 128).r, 64);  // 50 units ahead is clear again
    // A picture element whose picture is missing is skipped, not drawn through a null pointer.
    controller("Logo Fade In")->value = 1.0f;
    controller("TV Logo")->value = 1.0f;
    overlay.render();
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    glClearColor(0, 0, 0, 0);
}

TEST_F(ShowLayersGL, MidiNotesLightTheirOverlayColumnForAMoment) {
    Layer_TextOverlayAnimation overlay;
    ASSERT_TRUE(overlay.init(nullptr, &shared().controllers));
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    overlay.setTime({.time = 20.0f});
    overlay.onMidiTrigger({"MIDI-G5", 20000, false}, false);  // a note-off lights nothing
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<uint8_t> before = orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    overlay.render();
    EXPECT_EQ(before, orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT));

    overlay.onMidiTrigger({"MIDI-C5", 20000, true}, true);
    glClear(GL_COLOR_BUFFER_BIT);
    overlay.render();
    // C is the red column at the left, at the bottom; the rest of the frame is only a little lighter.
    const orvotest::Rgba column = orvotest::readPixel(4, 1);
    EXPECT_GE(column.r, 64 + 140);
    EXPECT_LE(column.g, 64 + 40);
    const orvotest::Rgba elsewhere = orvotest::readPixel(GL_TEST_WIDTH / 2, 1);
    EXPECT_GT(elsewhere.r, 64);
    EXPECT_EQ(elsewhere.r, elsewhere.b);

    overlay.setTime({.time = 20.0f + MIDI_FLASH_SECONDS});  // faded out
    glClear(GL_COLOR_BUFFER_BIT);
    overlay.render();
    EXPECT_EQ(before, orvotest::readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT));
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    glClearColor(0, 0, 0, 0);
}

TEST_F(ShowLayersGL, SlidesWithoutTheirPicturesDrawNothingAndKeepTheState) {
    Layer_BuildUp buildUp;
    Layer_EndScreen endScreen;
    ASSERT_TRUE(buildUp.init(nullptr, nullptr));
    ASSERT_TRUE(endScreen.init(nullptr, nullptr));
    for (float t : {112.5f, 114.0f, 116.0f, 119.0f, 122.0f, 123.0f}) {
        buildUp.setTime({.time = t});
        buildUp.render();
    }
    endScreen.setTime({.time = 180.0f});
    endScreen.render();
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    EXPECT_TRUE(GL_FBOTexture::fboStack().empty());
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ShowLayersGL, MissingSceneModelsAndFlashTableLeaveTheStadiumEmptyWithOneWarningEach) {
    orvotest::TraceCapture trace;
    reloadFlashTable();
    Layer_Superbowl stadium(35833);
    ASSERT_TRUE(stadium.init(nullptr, &shared().controllers));
    // Every missing picture has its own warning; the scene, models and table one each.
    EXPECT_EQ(trace.count("WARNING") - trace.count("WARNING (textureManager)"), 4) << trace.text();
    EXPECT_EQ(trace.count("Vexil2000.orvo"), 1) << trace.text();
    EXPECT_EQ(trace.count("pimsel.obj"), 1) << trace.text();
    EXPECT_EQ(trace.count("tabor.obj"), 1) << trace.text();
    EXPECT_EQ(trace.count("flashtable.bin"), 1) << trace.text();
    trace.clear();
    for (float t : {50.0f, 90.0f, 110.0f}) {
        stadium.setTime({.time = t, .delta = 0.04f});
        stadium.render();
        EXPECT_TRUE(stadium.sceneRenderer()->flares.empty());
    }
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    EXPECT_EQ(trace.count("WARNING"), 0) << trace.text();
    EXPECT_EQ(trace.count("ERROR"), 0) << trace.text();
}

TEST_F(ShowLayersGL, TunnelWithoutItsPicturesStillDrawsItsStandsAndCuts) {
    orvotest::TraceCapture trace;
    Layer_Tunnel tunnel;
    ASSERT_TRUE(tunnel.init(nullptr, &shared().controllers));
    for (float t : {130.0f, 155.0f, 175.0f}) {
        tunnel.setTime({.time = t, .delta = 0.04f, .start = 124.138f});
        tunnel.render();
    }
    EXPECT_EQ(tunnel.currentCut(), tunnelCameraCut(175.0f, tunnelPath().flashTimes, 2));

    // Space in the second part writes one line to paste into the flash list, once per press.
    setKeyDown(32, true);
    for (float t : {176.0f, 176.5f}) {
        tunnel.setTime({.time = t, .start = 124.138f});
        tunnel.render();
    }
    setKeyDown(32, false);
    EXPECT_EQ(trace.count("lightFlash.push_back("), 1) << trace.text();
    EXPECT_TRUE(trace.contains("lightFlash.push_back(176.000000f);\n")) << trace.text();
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    EXPECT_TRUE(GL_FBOTexture::fboStack().empty());
    EXPECT_EQ(trace.count("ERROR"), 0) << trace.text();
    EXPECT_EQ(trace.count("shaderAccess"), 0) << trace.text();
}

}  // namespace
}  // namespace zelFramework::testing
