// A slide layer draws only the part of its picture that can show: over any background, at the scales
// and moves the slides use, flipped or not, the window ends as with the whole picture drawn.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gl/gltk.h"
#include "gl/texture.h"
#include "show/slide_drawing.h"
#include "support/gl_fixture.h"

namespace zelFramework::testing {
namespace {

using orvotest::GL_TEST_HEIGHT;
using orvotest::GL_TEST_WIDTH;

// A transparent picture with a detailed patch (hard edges, alpha ramps, single texels) well inside
// it, as a slide's title or logo sits; `nearEdge` moves part of it against the left edge.
std::vector<uint8_t> mostlyTransparent(int w, int h, bool nearEdge) {
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4, 0);
    auto set = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        uint8_t* p = &rgba[(size_t(y) * size_t(w) + size_t(x)) * 4];
        p[0] = r, p[1] = g, p[2] = b, p[3] = a;
    };
    for (int y = h / 3; y < h / 2; ++y)
        for (int x = w / 3; x < w * 2 / 3; ++x)
            set(x, y, uint8_t(x * 7), uint8_t(y * 13), 255, (x / 3 + y / 2) % 2 ? 255 : uint8_t(x * 4));
    set(w / 5, h / 4, 255, 255, 255, 255);
    set(w * 4 / 5, h * 3 / 4, 255, 40, 0, 128);
    if (nearEdge)
        for (int y = h / 2; y < h / 2 + 6; ++y) set(0, y, 0, 255, 0, 255), set(1, y, 0, 255, 0, 255);
    return rgba;
}

// Halves a picture by averaging 2 x 2 texels, down to 1 x 1, as the loader's levels do.
std::vector<std::vector<uint8_t>> levelsBelow(std::vector<uint8_t> pixels, int w, int h, std::vector<PictureLevel>& out,
                                              std::vector<int>& sizes) {
    std::vector<std::vector<uint8_t>> kept;
    while (w > 1 || h > 1) {
        const int nw = std::max(1, w / 2), nh = std::max(1, h / 2);
        std::vector<uint8_t> next(size_t(nw) * size_t(nh) * 4);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x)
                for (int c = 0; c < 4; ++c) {
                    int sum = 0;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx)
                            sum += pixels[(size_t(std::min(2 * y + dy, h - 1)) * size_t(w) + size_t(std::min(2 * x + dx, w - 1))) * 4 + size_t(c)];
                    next[(size_t(y) * size_t(nw) + size_t(x)) * 4 + size_t(c)] = uint8_t((sum + 2) / 4);
                }
        kept.push_back(next);
        sizes.push_back(nw), sizes.push_back(nh);
        pixels = std::move(next);
        w = nw, h = nh;
    }
    for (size_t i = 0; i < kept.size(); ++i) out.push_back({kept[i].data(), sizes[2 * i], sizes[2 * i + 1]});
    return kept;
}

// A background with detail everywhere, so that a pixel wrongly left out or wrongly drawn shows.
void drawBackground() {
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor4f(0.2f, 0.5f, 0.1f, 1.0f), glVertex2f(-1, -1);
    glColor4f(0.9f, 0.1f, 0.3f, 1.0f), glVertex2f(1, -1);
    glColor4f(0.1f, 0.2f, 0.8f, 1.0f), glVertex2f(1, 1);
    glColor4f(0.6f, 0.6f, 0.0f, 1.0f), glVertex2f(-1, 1);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

std::vector<uint8_t> windowPixels() {
    std::vector<uint8_t> pixels(size_t(GL_TEST_WIDTH) * GL_TEST_HEIGHT * 4);
    glReadPixels(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    return largest;
}

class SlideDrawing : public orvotest::GLTest {
protected:
    // Fixed-function drawing multiplies in every enabled unit: the ones that other tests left
    // enabled are emptied, so the slide's own picture alone is drawn; nor may a test they left on
    // keep pixels from being drawn.
    void SetUp() override {
        orvotest::GLTest::SetUp();
        for (GLenum test : {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST, GL_CULL_FACE})
            glDisable(test);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glUseProgram(0);
        for (int unit = 7; unit >= 0; --unit) {
            glActiveTexture(GLenum(GL_TEXTURE0 + unit));
            glBindTexture(GL_TEXTURE_2D, 0);
            glDisable(GL_TEXTURE_2D);
        }
    }
};

}  // namespace

TEST_F(SlideDrawing, APartlyTransparentLayerGivesTheWindowOfTheWholePicture) {
    struct Draw {
        bool flip;
        float scale, offsetX, offsetY;
    };
    // At its size, pulsed smaller, zoomed and moved, and drawn so small that the whole is drawn.
    const Draw draws[] = {{true, 1.0f, 0.0f, 0.0f},  {false, 1.0f, 0.0f, 0.0f}, {true, 0.9f, 0.0f, 0.0f},
                          {true, 0.63f, 0.0f, 0.0f}, {true, 1.7f, 0.013f, 0.0f}, {false, 2.9f, -0.2f, 0.1f},
                          {true, 0.35f, 0.0f, 0.0f}};
    for (const bool nearEdge : {false, true}) {
        for (const bool mipmapped : {false, true}) {
            const std::vector<uint8_t> pixels = mostlyTransparent(GL_TEST_WIDTH, GL_TEST_HEIGHT, nearEdge);
            std::vector<PictureLevel> smaller;
            std::vector<int> sizes;
            const auto kept = mipmapped ? levelsBelow(pixels, GL_TEST_WIDTH, GL_TEST_HEIGHT, smaller, sizes)
                                        : std::vector<std::vector<uint8_t>>{};
            GL_MemTexture picture;
            picture.create(pixels.data(), GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGBA, GL_REPEAT, GL_REPEAT, smaller);
            ASSERT_TRUE(picture.visibleTexels);
            EXPECT_LT(picture.visibleTexels->x1 - picture.visibleTexels->x0, GL_TEST_WIDTH);
            for (const Draw& d : draws) {
                drawBackground();
                const std::vector<uint8_t> background = windowPixels();
                picture.bind(GL_TEXTURE0);
                drawQuad(d.flip, d.scale, d.offsetX, d.offsetY, 0.0f);
                const std::vector<uint8_t> whole = windowPixels();
                ASSERT_GT(largestDifference(whole, background), 100) << "the layer shows nowhere";
                drawBackground();
                drawSlideLayer(&picture, d.flip, d.scale, d.offsetX, d.offsetY);
                EXPECT_LE(largestDifference(windowPixels(), whole), 1)
                    << "scale " << d.scale << " flip " << d.flip << (nearEdge ? " near an edge" : "")
                    << (mipmapped ? " mipmapped" : "");
            }
            picture.unbind();
            picture.release();
        }
    }
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

TEST_F(SlideDrawing, ATransparentLayerDrawsNothingAndAnAddedOrOpaqueOneAll) {
    std::vector<uint8_t> clear(size_t(GL_TEST_WIDTH) * GL_TEST_HEIGHT * 4, 0);
    GL_MemTexture picture;
    picture.create(clear.data(), GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGBA, GL_REPEAT, GL_REPEAT);
    ASSERT_TRUE(picture.visibleTexels);
    EXPECT_TRUE(picture.visibleTexels->empty());
    drawBackground();
    const std::vector<uint8_t> background = windowPixels();
    drawSlideLayer(&picture, true);
    EXPECT_EQ(largestDifference(windowPixels(), background), 0);

    // Added rather than blended by alpha, a transparent texel's colour shows too: the whole is drawn.
    std::vector<uint8_t> tinted = mostlyTransparent(GL_TEST_WIDTH, GL_TEST_HEIGHT, false);
    for (size_t i = 0; i < tinted.size(); i += 4)
        if (tinted[i + 3] == 0) tinted[i] = 90;
    picture.release();
    picture.create(tinted.data(), GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGBA, GL_REPEAT, GL_REPEAT);
    drawBackground();
    glBlendFunc(GL_ONE, GL_ONE);
    picture.bind(GL_TEXTURE0);
    drawQuad(true, 1.0f, 0.0f, 0.0f, 0.0f);
    picture.unbind();
    const std::vector<uint8_t> added = windowPixels();
    drawBackground();
    glBlendFunc(GL_ONE, GL_ONE);
    drawSlideLayer(&picture, true);
    EXPECT_LE(largestDifference(windowPixels(), added), 1);

    // Without alpha every texel shows: the layer covers the window.
    std::vector<uint8_t> grey(size_t(GL_TEST_WIDTH) * GL_TEST_HEIGHT * 3, 128);
    picture.release();
    picture.create(grey.data(), GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGB, GL_REPEAT, GL_REPEAT);
    EXPECT_FALSE(picture.visibleTexels);
    drawBackground();
    drawSlideLayer(&picture, true);
    const std::vector<uint8_t> covered = windowPixels();
    for (size_t i = 0; i < covered.size(); i += 4) ASSERT_NEAR(covered[i], 128, 1) << "pixel " << i / 4;
    picture.release();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace zelFramework::testing
