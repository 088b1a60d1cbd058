// Depth of field at every setting the show uses: the surface at the focus point (the picture centre)
// stays as sharp as without depth of field, and a surface well in front of it blurs once the blur is
// large enough to see. Sharpness is the mean absolute Laplacian of the luma over a region.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "gl/fbo_texture.h"
#include "gl/gl_readback.h"
#include "gl/texture.h"
#include "renderengine/render_sizes.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"
#include "picture_metrics.h"

using namespace RenderEngine;

namespace {

constexpr int W = retest::TEST_SCREEN_WIDTH, H = 100;

struct FocusSetting {
    const char* scene;
    float falloff, backShift, radius, quality;
};

// The layers' settings over the show's curves: the arena tunnel's fixed focus, the intro's range
// (falloff 0.01, back shift 5 x "RE:DOF Offset", radius 1.5 x "RE:DOF Radius", quality 1.5 - 1.3 x it)
// and the tunnel's (falloff 2, back shift 0.2 x offset - 0.1, quality radius + 1, radius 2.5 - 1.5 x it).
const FocusSetting SETTINGS[] = {
    {"arena tunnel", 4.0f, 0.8f, 3.5f, 2.0f},
    {"intro opening", 0.01f, 1.25f, 1.275f, 0.395f},
    {"intro middle", 0.01f, 0.2f, 0.375f, 1.175f},
    {"intro end", 0.01f, 0.9f, 0.9f, 0.72f},
    {"tunnel drop", 2.0f, -0.03f, 1.6f, 1.6f},
    {"tunnel", 2.0f, -0.06f, 1.975f, 1.35f},
};

// A black-and-white checker of 2 x 2 texel squares, repeated over the surfaces.
zelFramework::GL_MemTexture* checkerTexture() {
    static zelFramework::GL_MemTexture* texture = [] {
        std::vector<uint8_t> pixels(16 * 16 * 3);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                for (int c = 0; c < 3; ++c)
                    pixels[size_t(y * 16 + x) * 3 + size_t(c)] = ((x / 2 + y / 2) % 2) ? 230 : 25;
        auto* t = new zelFramework::GL_MemTexture();
        t->create(pixels.data(), 16, 16, GL_RGB, GL_REPEAT, GL_REPEAT);
        return t;
    }();
    return texture;
}

// A textured rectangle facing the camera at depth z, `repeat` checker tiles per unit.
void drawWall(float x0, float y0, float x1, float y1, float z, float repeat) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(x0 * repeat, y0 * repeat);
    glVertex3f(x0, y0, z);
    glTexCoord2f(x1 * repeat, y0 * repeat);
    glVertex3f(x1, y0, z);
    glTexCoord2f(x1 * repeat, y1 * repeat);
    glVertex3f(x1, y1, z);
    glTexCoord2f(x0 * repeat, y1 * repeat);
    glVertex3f(x0, y1, z);
    glEnd();
}

struct Sharpness {
    double focus, nearby;
};

// Draws `geometry` seen from 10 units before the plane z = 0 with depth of field at `s`, and hands the
// renderer to `read` once the frame is done.
void renderWithFocus(const std::function<void()>& geometry, const FocusSetting& s, bool tileBound,
                     const std::function<void(Renderer&)>& read) {
    Renderer renderer(nullptr, nullptr, 1.0f, 0x60);
    retest::RecordingModel model;
    model.geometry = geometry;
    RenderObject object;
    retest::addEvenlyLitObject(renderer, "walls", object, model, checkerTexture());
    retest::lookAtFrom({0, 0, 10}, {0, 0, 0}, 0.5, 100.0);
    renderer.dofFocusFalloff = s.falloff;
    renderer.dofFocusBackShift = s.backShift;
    renderer.dofFocusRadius = s.radius;
    renderer.dofFocusQuality = s.quality;
    renderer.dofTileBound = tileBound;
    renderer.renderFrame(0.0f, 0.0f);
    read(renderer);
}

class RendererFocus : public retest::RendererGLTest {
protected:
    // The focused wall 10 units away fills the picture; a second wall 2 units away covers its left
    // quarter. Both carry the same checker at the same size on screen.
    // `nearDistance` is the nearer wall's distance from the camera.
    Sharpness render(const FocusSetting& s, float nearDistance = 2.0f) {
        auto walls = [nearDistance] {
            drawWall(-12, -6, 12, 6, 0.0f, 1.0f);
            const float k = nearDistance / 2.0f;
            drawWall(-2.5f * k, -1.5f * k, -1.1f * k, 1.5f * k, 10.0f - nearDistance, 10.0f / nearDistance);
        };
        Sharpness seen{};
        renderWithFocus(walls, s, true, [&seen](Renderer& renderer) {
            const std::vector<uint8_t> pixels =
                orvotest::framebufferPixels(renderer.sceneryTarget->framebufferId, 0, 0, W, H);
            seen = {zelFramework::content::meanAbsoluteLaplacian(pixels, W, W * 2 / 5, H / 3, W * 3 / 5, H * 2 / 3),
                    zelFramework::content::meanAbsoluteLaplacian(pixels, W, W / 20, H / 3, W / 5, H * 2 / 3)};
        });
        return seen;
    }
};

// A whole target as floats, four per pixel.
std::vector<float> targetFloats(zelFramework::GL_FBOTexture* target) {
    std::vector<float> values(size_t(target->width) * size_t(target->height) * 4);
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebufferId);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, target->width, target->height, GL_RGBA, GL_FLOAT, values.data());
    glBindFramebuffer(GL_FRAMEBUFFER, previous);
    return values;
}

struct Difference {
    int count = 0;
    float largest = 0.0f;
};

Difference differenceOf(const std::vector<float>& a, const std::vector<float>& b) {
    Difference d;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const float delta = std::fabs(a[i] - b[i]);
        d.count += delta > 0.0f;
        d.largest = std::max(d.largest, delta);
    }
    return d;
}

// What a depth-of-field frame left behind: the picture and each tile's bound on the circles its
// pixels' taps can meet.
struct DofFrame {
    std::vector<float> picture, reach;
    int tilesAcross = 0;
    float reachAt(int tileX, int tileY) const { return reach[size_t(tileY * tilesAcross + tileX) * 4]; }
};

class RendererDofTiles : public retest::RendererGLTest {
protected:
    DofFrame render(const std::function<void()>& geometry, const FocusSetting& s, bool tileBound) {
        DofFrame frame;
        renderWithFocus(geometry, s, tileBound, [&frame](Renderer& renderer) {
            frame = {targetFloats(renderer.sceneryTarget), targetFloats(renderer.dofReachTarget),
                     renderer.dofReachTarget->width};
        });
        return frame;
    }
};

// Blur of 12 pixels in three rings (4, 8 and 12 pixels out): taps reach two 8-pixel tiles away.
const FocusSetting WIDE_BLUR{"wide blur", 2.0f, 0.2f, 20.0f, 3.0f};

// The focused wall 10 units away fills the picture; a wall 2 units away covers its left quarter and
// blurs over the sharp wall's edge.
void blurredWallBeforeSharpWall() {
    drawWall(-12, -6, 12, 6, 0.0f, 1.0f);
    drawWall(-2.5f, -1.5f, -1.1f, 1.5f, 8.0f, 5.0f);
}

// The focused wall 2 units away stands in the middle of a wall 10 units away, which blurs; the
// sharp wall must not smear over it.
void sharpWallBeforeBlurredWall() {
    drawWall(-12, -6, 12, 6, 0.0f, 1.0f);
    drawWall(-0.35f, -0.3f, 0.35f, 0.3f, 8.0f, 5.0f);
}

// The focused wall over a floor whose circles grow steadily towards the camera.
void wallOverFloor() {
    drawWall(-12, -6, 12, 6, 0.0f, 1.0f);
    retest::drawFloor(12.0f, -1.2f);
}

}  // namespace

// Leaving out the rings no circle within a tile's reach gets to changes no value of the picture, with
// a blurred surface before a sharp one, a sharp one before a blurred one and a floor of every circle
// between, for a wide blur and for
// one of less than a pixel (where the first ring takes in any circle above 0, as in the intro); and
// it does leave rings out: tiles on the sharp wall far from any blur need none, tiles on a blurred
// wall need them all. (Spreading the bound over one tile fewer than the taps reach changes about a
// thousand values.)
TEST_F(RendererDofTiles, TheBoundedGatherEqualsTheFullOneAndBoundsTheSharpTiles) {
    struct Scene {
        const char* name;
        void (*geometry)();
    };
    const FocusSetting subPixelBlur{"sub-pixel blur", 0.01f, 0.2f, 1.0f, 1.0f};
    for (const FocusSetting& setting : {WIDE_BLUR, subPixelBlur}) {
        for (const Scene& scene : {Scene{"blurred before sharp", blurredWallBeforeSharpWall},
                                   Scene{"sharp before blurred", sharpWallBeforeBlurredWall},
                                   Scene{"floor", wallOverFloor}}) {
            const DofFrame full = render(scene.geometry, setting, false);
            const DofFrame bounded = render(scene.geometry, setting, true);
            const Difference d = differenceOf(full.picture, bounded.picture);
            EXPECT_EQ(d.count, 0) << setting.scene << ", " << scene.name << ": largest difference " << d.largest;
            ASSERT_EQ(full.picture.size(), size_t(W * H * 4));
            EXPECT_GE(full.reachAt(0, 0), 1.0f) << scene.name << ": without the bound every ring is taken";
        }
        const RenderSize tiles = dofTileCount({W, H});
        const DofFrame before = render(blurredWallBeforeSharpWall, setting, true);
        // Exactly 0 is the only bound that leaves out a first ring taking in every circle above 0.
        EXPECT_EQ(before.reachAt(tiles.width - 2, tiles.height / 2), 0.0f)
            << setting.scene << ": the sharp wall's right side needs no ring";
        EXPECT_GE(before.reachAt(tiles.width / 5, tiles.height / 2), 1.0f)
            << setting.scene << ": the blurred wall needs every ring";
    }
}

// The programs built for whole-number falloffs multiply the power out; the picture stays within 2/255
// of the general program's pow, which a falloff a hair above the whole number takes.
TEST_F(RendererDofTiles, WholeNumberFalloffsMatchTheGeneralProgram) {
    for (float power : {1.0f, 2.0f, 3.0f, 4.0f}) {
        ASSERT_EQ(dofFalloffPower(power), int(power));
        const float general = std::nextafter(power, 5.0f);
        ASSERT_EQ(dofFalloffPower(general), 0);
        const FocusSetting multiplied{"multiplied", power, 0.1f, 6.0f, 2.0f};
        FocusSetting pow = multiplied;
        pow.falloff = general;
        const Difference d = differenceOf(render(wallOverFloor, multiplied, true).picture, render(wallOverFloor, pow, true).picture);
        EXPECT_LE(d.largest, 2.0f / 255.0f) << "falloff " << power;
    }
}

TEST_F(RendererFocus, TheFocusPointStaysSharpAndNearerSurfacesBlurAtEveryShowSetting) {
    const Sharpness sharp = render({"none", 1.0f, 0.0f, 0.0f, 1.0f});
    ASSERT_GT(sharp.focus, 0.1) << "the checker must be resolved at all";
    ASSERT_GT(sharp.nearby, 0.1);
    for (const FocusSetting& s : SETTINGS) {
        const Sharpness seen = render(s);
        EXPECT_GE(seen.focus, 0.9 * sharp.focus) << s.scene << ": the plane in focus must stay sharp";
        EXPECT_GE(seen.focus, 0.03) << s.scene;
        // A blur of a pixel or more (radius 1 is 0.6 % of the picture height) must show on the nearer wall.
        if (s.radius * 0.006f * float(H) >= 0.9f) {
            EXPECT_LT(seen.nearby, 0.7 * sharp.nearby) << s.scene << ": the nearer wall must blur";
        }
    }
}

// A surface just outside the arena tunnel's sharp zone (1.3 octaves nearer) has a circle of a fifth of
// a pixel: it must look nearly as sharp as without depth of field (about 0.9 of it; 0.67 when it took
// in the first ring of taps, a pixel away). Further out the blur must still grow.
TEST_F(RendererFocus, ASurfaceJustOutsideTheSharpZoneKeepsItsSharpnessAndBlurStillGrowsBeyond) {
    const FocusSetting none{"none", 1.0f, 0.0f, 0.0f, 1.0f};
    const FocusSetting& arena = SETTINGS[0];
    const Sharpness sharp = render(none, 3.9f);
    ASSERT_GT(sharp.nearby, 0.1);
    EXPECT_GE(render(arena, 3.9f).nearby, 0.85 * sharp.nearby);
    EXPECT_LT(render(arena, 2.0f).nearby, 0.7 * render(none, 2.0f).nearby);
}
