// A textured floor seen from just above it, as the tunnels' floors and the stadium's tiers are: its
// lines running away from the camera must stay lines, and a picture drawn no smaller than it is must
// keep its texels. One trilinear tap per pixel fails the first: it takes the mipmap level that fits the
// pixel's long footprint along the floor, where the lines have averaged into the floor's tone.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <vector>

#include "gl/fbo_texture.h"
#include "gl/picture_file.h"
#include "gl/texture.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"

using namespace RenderEngine;

namespace {

constexpr int W = retest::TEST_SCREEN_WIDTH, H = 100;
constexpr int SIDE = 256;

// White lines two texels wide every eight, running along v, on black; with its mipmaps.
zelFramework::GL_MemTexture* stripeTexture() {
    static zelFramework::GL_MemTexture* texture = [] {
        zelFramework::DecodedPicture p{SIDE, SIDE, 3, zelFramework::PixelBytes(size_t(SIDE) * SIDE * 3, 0)};
        for (int y = 0; y < SIDE; ++y)
            for (int x = 0; x < SIDE; x += 8)
                for (int c = 0; c < 6; ++c) p.pixels[(size_t(y) * SIDE + size_t(x)) * 3 + size_t(c)] = 255;
        const std::vector<zelFramework::DecodedPicture> levels = zelFramework::smallerLevels(p);
        std::vector<zelFramework::PictureLevel> smaller;
        for (const auto& l : levels) smaller.push_back({l.pixels.data(), l.width, l.height});
        auto* t = new zelFramework::GL_MemTexture();
        t->create(p.pixels.data(), SIDE, SIDE, GL_RGB, GL_REPEAT, GL_REPEAT, smaller);
        return t;
    }();
    return texture;
}

struct RowTone {
    double mean = 0;
    int lowest = 255, highest = 0;
};

// Red over the middle half of picture row `row` (0 at the bottom).
RowTone middleOfRow(const std::vector<uint8_t>& rgba, int row) {
    RowTone t;
    for (int x = W / 4; x < W * 3 / 4; ++x) {
        const int red = rgba[(size_t(row) * W + size_t(x)) * 4];
        t.mean += red;
        t.lowest = std::min(t.lowest, red);
        t.highest = std::max(t.highest, red);
    }
    t.mean /= W / 2;
    return t;
}

class SlantedSurface : public retest::RendererGLTest {
protected:
    // `geometry` drawn with the stripes under full ambient light and nothing else, from the origin
    // looking down -z.
    std::vector<uint8_t> render(std::function<void()> geometry) {
        Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
        retest::RecordingModel model;
        model.geometry = std::move(geometry);
        RenderObject object;
        retest::addEvenlyLitObject(renderer, "surface", object, model, stripeTexture());
        retest::lookAtFrom({0, 0, 0}, {0, 0, -1}, 0.5, 100.0);
        renderer.renderFrame(0.0f, 0.0f);
        return retest::readTargetPicture(renderer.sceneryTarget);
    }
};

}  // namespace

// The floor lies one unit below the eye, 16 texels to the unit both ways. Eight units ahead (row 35
// of 100) a texel across is about a pixel wide, and along the floor eight texels fall into one pixel.
TEST_F(SlantedSurface, LinesRunningAwayOnAFloorStayLinesAndKeepTheirTone) {
    const std::vector<uint8_t> picture = render([] {
        const float scale = 16.0f / SIDE;
        glBegin(GL_QUADS);
        glNormal3f(0, 1, 0);
        glTexCoord2f(-10 * scale, 1 * scale), glVertex3f(-10, -1, -1);
        glTexCoord2f(10 * scale, 1 * scale), glVertex3f(10, -1, -1);
        glTexCoord2f(10 * scale, 60 * scale), glVertex3f(10, -1, -60);
        glTexCoord2f(-10 * scale, 60 * scale), glVertex3f(-10, -1, -60);
        glEnd();
    });
    const RowTone ahead = middleOfRow(picture, 35);
    EXPECT_GE(ahead.highest - ahead.lowest, 150) << "the lines running away must stay lines";
    EXPECT_NEAR(ahead.mean, 255.0 / 4, 16.0) << "the floor must keep the lines' share of its tone";
}

// The same picture on a wall facing the camera at its own size: one plain tap, its lines exact.
TEST_F(SlantedSurface, AFacingPictureAtItsSizeKeepsItsTexels) {
    // At distance d a unit covers H / (2 d tan 22.5 deg) pixels; 16 texels per unit at one per pixel.
    const float d = float(H) / (2.0f * 0.41421356f * 16.0f);
    const std::vector<uint8_t> picture = render([d] {
        const float scale = 16.0f / SIDE;
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glTexCoord2f(-10 * scale, 0), glVertex3f(-10, -3, -d);
        glTexCoord2f(10 * scale, 0), glVertex3f(10, -3, -d);
        glTexCoord2f(10 * scale, 6 * scale), glVertex3f(10, 3, -d);
        glTexCoord2f(-10 * scale, 6 * scale), glVertex3f(-10, 3, -d);
        glEnd();
    });
    const RowTone middle = middleOfRow(picture, H / 2);
    EXPECT_GE(middle.highest, 240);
    EXPECT_LE(middle.lowest, 15);
}
