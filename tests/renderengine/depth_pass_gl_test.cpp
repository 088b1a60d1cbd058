// The geometry pass first writes the opaque objects' depth and then lights only what shows. The
// picture must be the one drawing in order with "less" gives: the nearest surface at every pixel, and
// of two surfaces at exactly the same depth (a sign laid on a wall, a tie of the depth buffer) the
// one drawn first. Lighting with "less or equal" against the known depth would let the later one win.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "gl/fbo_texture.h"
#include "gl/texture.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"

using namespace RenderEngine;

namespace {

constexpr int W = retest::TEST_SCREEN_WIDTH, H = 100;

zelFramework::GL_MemTexture* solidTexture(uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {r, g, b});
    auto* t = new zelFramework::GL_MemTexture();
    t->create(pixels.data(), 4, 4, GL_RGB, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, {});
    return t;
}

// A square facing the camera at depth `z`, from x0 to x1, covering the picture's height.
std::function<void()> wall(float x0, float x1, float z) {
    return [=] {
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glTexCoord2f(0, 0), glVertex3f(x0, -10, z);
        glTexCoord2f(1, 0), glVertex3f(x1, -10, z);
        glTexCoord2f(1, 1), glVertex3f(x1, 10, z);
        glTexCoord2f(0, 1), glVertex3f(x0, 10, z);
        glEnd();
    };
}

struct Surface {
    const char* name;
    zelFramework::GL_Texture* colour;
    std::function<void()> geometry;
    int32_t blendMode = 0;
};

std::array<int, 3> pixel(const std::vector<uint8_t>& rgba, int x, int y) {
    const size_t at = (size_t(y) * W + size_t(x)) * 4;
    return {rgba[at], rgba[at + 1], rgba[at + 2]};
}

class DepthPass : public retest::RendererGLTest {
protected:
    // The surfaces under full ambient light, from the origin looking down -z.
    std::vector<uint8_t> render(const std::vector<Surface>& surfaces) {
        Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
        std::vector<retest::RecordingModel> models(surfaces.size());
        std::vector<RenderObject> objects(surfaces.size());
        for (size_t i = 0; i < surfaces.size(); ++i) {
            models[i].geometry = surfaces[i].geometry;
            objects[i].blendMode = surfaces[i].blendMode;
            retest::addEvenlyLitObject(renderer, surfaces[i].name, objects[i], models[i], surfaces[i].colour);
        }
        retest::lookAtFrom({0, 0, 0}, {0, 0, -1}, 0.5, 100.0);
        renderer.renderFrame(0.0f, 0.0f);
        EXPECT_TRUE(renderer.depthOnlyShader->isValid);
        return retest::readTargetPicture(renderer.sceneryTarget);
    }
};

}  // namespace

TEST_F(DepthPass, OfTwoSurfacesAtTheSameDepthTheOneDrawnFirstShows) {
    zelFramework::GL_Texture* red = solidTexture(255, 0, 0);
    zelFramework::GL_Texture* green = solidTexture(0, 255, 0);
    // Objects are drawn in name order.
    for (bool redFirst : {true, false}) {
        const std::vector<uint8_t> picture = render({{redFirst ? "a" : "b", red, wall(-10, 10, -5)},
                                                     {redFirst ? "b" : "a", green, wall(-10, 10, -5)}});
        const std::array<int, 3> centre = pixel(picture, W / 2, H / 2);
        if (redFirst) {
            EXPECT_GT(centre[0], 200) << "red was drawn first";
            EXPECT_LT(centre[1], 50);
        } else {
            EXPECT_GT(centre[1], 200) << "green was drawn first";
            EXPECT_LT(centre[0], 50);
        }
    }
}

TEST_F(DepthPass, TheNearestSurfaceShowsWhateverTheOrderAndBlendedOnesStayOverIt) {
    zelFramework::GL_Texture* red = solidTexture(255, 0, 0);
    zelFramework::GL_Texture* blue = solidTexture(0, 0, 255);
    zelFramework::GL_Texture* dim = solidTexture(0, 60, 0);
    // The near wall covers the left half and is drawn after the far one; the additive glass lies in
    // front of both over the right half.
    const std::vector<uint8_t> picture = render({{"a_far", blue, wall(-10, 10, -8)},
                                                 {"b_near", red, wall(-10, 0, -3)},
                                                 {"c_glass", dim, wall(0, 10, -2), 1}});
    const std::array<int, 3> left = pixel(picture, W / 4, H / 2);
    const std::array<int, 3> right = pixel(picture, W * 3 / 4, H / 2);
    EXPECT_GT(left[0], 200);
    EXPECT_LT(left[2], 50);
    EXPECT_LT(left[1], 20) << "the glass does not reach the left half";
    EXPECT_LT(right[0], 50);
    EXPECT_GT(right[2], 200);
    EXPECT_NEAR(right[1], 60, 12) << "the glass adds its light over the far wall";
}
