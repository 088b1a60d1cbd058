// Whole-texel kernels must weigh a picture exactly as the filtered taps they stand for, at every
// step the blur uses (whole, fractional, wider than the taps' reach), on both sides of the centre.
#include "gl/texel_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace zelFramework;

namespace {

constexpr float BINOMIAL[7] = {1.0f / 64, 6.0f / 64, 15.0f / 64, 20.0f / 64, 15.0f / 64, 6.0f / 64, 1.0f / 64};

// A row of uneven values, read past its ends as its edge texels (clamp to edge).
float texel(int i) {
    i = std::clamp(i, 0, 99);
    return std::sin(float(i) * 1.7f) * 0.5f + 0.5f + float(i % 7) * 0.03f;
}

// What the filtered line pass reads at texel centre `x`: seven taps, each the linear blend of the two
// texels around it.
float filteredLine(int x, float step) {
    float sum = 0.0f;
    for (int k = -3; k <= 3; ++k) {
        const float position = float(x) + float(k) * step;
        const float below = std::floor(position), fraction = position - below;
        sum += BINOMIAL[k + 3] * ((1.0f - fraction) * texel(int(below)) + fraction * texel(int(below) + 1));
    }
    return sum;
}

float applied(const TexelKernel& kernel, int x, bool vertical) {
    float sum = 0.0f;
    for (const TexelTap& t : kernel) sum += t.weight * texel(x + (vertical ? t.dy : t.dx));
    return sum;
}

float totalWeight(const TexelKernel& kernel) {
    float sum = 0.0f;
    for (const TexelTap& t : kernel) sum += t.weight;
    return sum;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(TexelKernel, WeighsTheTexelsAsTheFilteredTapsDo) {
    // The show's steps across and down the scratch pictures, whole steps, and none at all.
    for (const float step : {1.728f, 0.972f, 0.486f, 2.88f, 4.032f, 1.0f, 2.0f, 0.0f, 0.3f}) {
        for (const bool vertical : {false, true}) {
            const TexelKernel kernel = binomialLine(step, vertical);
            EXPECT_NEAR(totalWeight(kernel), 1.0f, 1e-6f) << step;
            EXPECT_LE(kernel.size(), 13u) << step;
            for (const TexelTap& t : kernel) {
                EXPECT_NE(t.weight, 0.0f);
                EXPECT_EQ(vertical ? t.dx : t.dy, 0) << "a line kernel stays on its line";
            }
            // Near both edges too, where taps fall outside the row.
            for (const int x : {0, 1, 2, 37, 50, 97, 99})
                EXPECT_NEAR(applied(kernel, x, vertical), filteredLine(x, step), 1e-5f) << step << " at " << x;
        }
    }
}

TEST(TexelKernel, CrossIsTheMeanOfItsTwoLinesWithTheCentreOnce) {
    const TexelKernel cross = binomialCross(1.0f, 1.0f);
    EXPECT_NEAR(totalWeight(cross), 1.0f, 1e-6f);
    ASSERT_EQ(cross.size(), 13u);  // six texels along each line and the centre between them
    for (const TexelTap& t : cross) {
        EXPECT_TRUE(t.dx == 0 || t.dy == 0);
        const float expected = t.dx == 0 && t.dy == 0 ? BINOMIAL[3] : 0.5f * BINOMIAL[std::abs(t.dx + t.dy) + 3];
        EXPECT_FLOAT_EQ(t.weight, expected) << t.dx << "," << t.dy;
    }
}

TEST(TexelKernel, FragmentFetchesEachTexelOnceAndWritesNumbersAsFloats) {
    // The half-height pass: the same line at two neighbouring rows, which share most of their texels.
    const TexelKernel lower = binomialLine(0.972f, true);
    const TexelKernel upper = scaledAndMoved(lower, 1.0f, 1);
    const std::string text = kernelFragment({lower, upper}, 1.0f / 640, 1.0f / 360, -0.5f, true);
    EXPECT_EQ(count(text, "texture2D("), int(kernelSum(lower, upper).size()));
    EXPECT_EQ(count(text, "powered(sum"), 2);
    EXPECT_NE(text.find("pow(s.rgb"), std::string::npos) << "a picture without alpha keeps alpha out of the power";

    // A blur of no reach is one texel of weight 1, which GLSL 1.10 only takes written as a float.
    const std::string copy = kernelFragment({binomialCross(0.0f, 0.0f)}, 1.0f / 640, 1.0f / 360, 0.0f, false);
    EXPECT_EQ(count(copy, "texture2D(diffuse_tex, uv)"), 1);
    EXPECT_NE(copy.find("t * 1.0;"), std::string::npos) << copy;
    EXPECT_NE(copy.find("pow(s, vec4"), std::string::npos);
}
