// Ear clipping of letter outlines: the triangles cover exactly the filled area (outline minus holes
// plus islands inside holes), always counter-clockwise, whatever the input winding, with collinear
// runs, repeated points and holes that line up with the outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "triangulate.h"

using namespace zelFramework::scenegen;

namespace {

struct Coverage {
    float area = 0;
    bool allCounterClockwise = true;
};

Coverage cover(const std::vector<Contour>& contours) {
    std::vector<Vec2> points;
    for (const Contour& c : contours) points.insert(points.end(), c.begin(), c.end());
    std::vector<uint32_t> tris = triangulateOutlines(contours);
    EXPECT_EQ(tris.size() % 3, 0u);
    Coverage out;
    for (size_t i = 0; i + 2 < tris.size(); i += 3) {
        for (int k = 0; k < 3; ++k) EXPECT_LT(tris[i + k], points.size());
        Vec2 a = points[tris[i]], b = points[tris[i + 1]], c = points[tris[i + 2]];
        float twice = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        if (twice < 0) out.allCounterClockwise = false;
        out.area += twice * 0.5f;
    }
    return out;
}

Contour square(float x0, float y0, float x1, float y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

Contour reversed(Contour c) {
    std::reverse(c.begin(), c.end());
    return c;
}

}  // namespace

TEST(Triangulate, ConvexAndConcaveOutlinesAreCoveredExactly) {
    Coverage convex = cover({square(0, 0, 3, 2)});
    EXPECT_FLOAT_EQ(convex.area, 6);
    EXPECT_TRUE(convex.allCounterClockwise);
    // An L and a five-pointed star, given clockwise: the output still winds counter-clockwise.
    Contour ell = {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
    Coverage l = cover({reversed(ell)});
    EXPECT_FLOAT_EQ(l.area, 4 + 2);
    EXPECT_TRUE(l.allCounterClockwise);
    Contour star;
    for (int i = 0; i < 10; ++i) {
        float r = i % 2 ? 0.4f : 1.0f, a = 3.14159265f * i / 5;
        star.push_back({r * std::cos(a), r * std::sin(a)});
    }
    Coverage s = cover({star});
    EXPECT_NEAR(s.area, std::fabs(signedArea(star)), 1e-5f);
    EXPECT_TRUE(s.allCounterClockwise);
}

TEST(Triangulate, HolesAreLeftOpenAndIslandsInHolesFilled) {
    // Two counters side by side (like a B), in either winding.
    for (bool flip : {false, true}) {
        Contour h1 = square(1, 1, 2, 2), h2 = square(3, 1, 4, 2);
        if (flip) h1 = reversed(h1), h2 = reversed(h2);
        Coverage c = cover({square(0, 0, 5, 3), h1, h2});
        EXPECT_NEAR(c.area, 15 - 1 - 1, 1e-4f);
        EXPECT_TRUE(c.allCounterClockwise);
    }
    // An island inside a hole inside an outline (a target): depth 0, 1 and 2.
    std::vector<Contour> target = {square(0, 0, 10, 10), square(2, 2, 8, 8), square(4, 4, 6, 6)};
    EXPECT_EQ(nestingDepth(target, 0), 0);
    EXPECT_EQ(nestingDepth(target, 1), 1);
    EXPECT_EQ(nestingDepth(target, 2), 2);
    EXPECT_NEAR(cover(target).area, 100 - 36 + 4, 1e-4f);
    // Two separate outlines in one shape (like the dot and stem of an i).
    EXPECT_NEAR(cover({square(0, 0, 1, 3), square(0, 4, 1, 5)}).area, 4, 1e-5f);
}

TEST(Triangulate, AwkwardInputStaysCorrect) {
    // Collinear runs and a repeated point add no area and take none away.
    Contour run = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 2}, {3, 2}, {1.5f, 2}, {0, 2}, {0, 1}};
    Coverage c = cover({run});
    EXPECT_NEAR(c.area, 6, 1e-5f);
    EXPECT_TRUE(c.allCounterClockwise);
    // A hole whose rightmost point lines up with an outline corner: the bridge must still see it.
    Contour outline = {{0, 0}, {6, 0}, {6, 2}, {4, 2}, {4, 4}, {6, 4}, {6, 6}, {0, 6}};
    Contour hole = {{1, 2}, {1, 4}, {2, 3}};  // rightmost point (2, 3)
    Coverage h = cover({outline, hole});
    EXPECT_NEAR(h.area, std::fabs(signedArea(outline)) - std::fabs(signedArea(hole)), 1e-4f);
    // Degenerate contours (fewer than three points, or no area) make nothing and break nothing.
    EXPECT_TRUE(triangulateOutlines({{{0, 0}, {1, 1}}}).empty());
    EXPECT_NEAR(cover({{{0, 0}, {1, 0}, {2, 0}}}).area, 0, 1e-6f);
    EXPECT_TRUE(triangulateOutlines({}).empty());
}
