// Where a picture's texels can show, and the part of it that a blended draw needs.
#include "gl/visible_texels.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace zelFramework;

namespace {

struct Picture {
    int width, height;
    std::vector<uint8_t> rgba;
    Picture(int w, int h) : width(w), height(h), rgba(size_t(w) * size_t(h) * 4, 0) {}
    void set(int x, int y, uint8_t alpha, uint8_t colour = 200) {
        uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
        p[0] = p[1] = p[2] = colour;
        p[3] = alpha;
    }
};

void expectRect(const TexelRect& r, int x0, int y0, int x1, int y1) {
    EXPECT_EQ(r.x0, x0);
    EXPECT_EQ(r.y0, y0);
    EXPECT_EQ(r.x1, x1);
    EXPECT_EQ(r.y1, y1);
}

}  // namespace

TEST(VisibleTexels, AreTheSmallestRectangleOfTexelsWithAlphaAboveZero) {
    Picture p(100, 60);
    EXPECT_TRUE(visibleTexelsOf(p.rgba.data(), p.width, p.height).empty());

    // Colour under alpha 0 does not show; a single faint texel does.
    for (int x = 0; x < 100; ++x) p.set(x, 5, 0, 255);
    p.set(30, 20, 1);
    expectRect(visibleTexelsOf(p.rgba.data(), p.width, p.height), 30, 20, 31, 21);
    p.set(71, 44, 255);
    p.set(12, 33, 90);
    expectRect(visibleTexelsOf(p.rgba.data(), p.width, p.height), 12, 20, 72, 45);
    p.set(99, 59, 3);  // the last texel of the last row
    expectRect(visibleTexelsOf(p.rgba.data(), p.width, p.height), 12, 20, 100, 60);

    EXPECT_TRUE(visibleTexelsOf(nullptr, 10, 10).empty());
    EXPECT_TRUE(visibleTexelsOf(p.rgba.data(), 0, 60).empty());
}

TEST(VisibleTexels, APartGrowsByTheFiltersReachAndToTheEdgesNearThem) {
    // Inside the picture: eight texels more on every side.
    const auto part = alphaBlendedPart(TexelRect{40, 30, 60, 50}, 200, 100, 1.0f);
    ASSERT_TRUE(part);
    EXPECT_FLOAT_EQ(part->s0, 32.0f / 200);
    EXPECT_FLOAT_EQ(part->s1, 68.0f / 200);
    EXPECT_FLOAT_EQ(part->t0, 22.0f / 100);
    EXPECT_FLOAT_EQ(part->t1, 58.0f / 100);

    // Near one edge, that axis goes whole: a repeating picture mixes the opposite edge in there.
    const auto nearLeft = alphaBlendedPart(TexelRect{5, 30, 60, 50}, 200, 100, 1.0f);
    ASSERT_TRUE(nearLeft);
    EXPECT_FLOAT_EQ(nearLeft->s0, 0.0f);
    EXPECT_FLOAT_EQ(nearLeft->s1, 1.0f);
    EXPECT_FLOAT_EQ(nearLeft->t0, 22.0f / 100);
    const auto nearTop = alphaBlendedPart(TexelRect{40, 30, 60, 95}, 200, 100, 1.0f);
    ASSERT_TRUE(nearTop);
    EXPECT_FLOAT_EQ(nearTop->t0, 0.0f);
    EXPECT_FLOAT_EQ(nearTop->t1, 1.0f);

    // Nothing visible: nothing to draw.
    const auto nothing = alphaBlendedPart(TexelRect{}, 200, 100, 1.0f);
    ASSERT_TRUE(nothing);
    EXPECT_TRUE(nothing->empty());
}

TEST(VisibleTexels, TheWholePictureIsDrawnWhereThePartIsNotKnownToBeEnough) {
    EXPECT_FALSE(alphaBlendedPart(std::nullopt, 200, 100, 1.0f));                  // nothing known of its alpha
    EXPECT_FALSE(alphaBlendedPart(TexelRect{40, 30, 60, 50}, 200, 100, 2.5f));      // drawn much smaller
    EXPECT_FALSE(alphaBlendedPart(TexelRect{40, 30, 60, 50}, 200, 100, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(alphaBlendedPart(TexelRect{40, 30, 60, 50}, 0, 100, 1.0f));
    EXPECT_TRUE(alphaBlendedPart(TexelRect{40, 30, 60, 50}, 200, 100, 2.0f));
}
