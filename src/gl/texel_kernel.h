// Blur passes as weights of whole texels. A pass whose pixels sit on its source's texel grid (the
// same size, or half the height with each pixel over two rows) reads its filtered taps at the same
// fractions of a texel at every pixel, so each tap is a fixed pair of texels with fixed weights. The
// sum of those pairs is the same pass read with unfiltered fetches, which a software renderer does
// at about a third of the price of a filtered one. The weights are worked out here once per pass
// shape and written into a program's text.
#pragma once

#include <string>
#include <vector>

namespace zelFramework {

// One texel `dx` columns right of and `dy` rows above the pixel's own, and its weight.
struct TexelTap {
    int dx = 0, dy = 0;
    float weight = 0.0f;
};
// Sorted by row, then column; each texel once, none with a zero weight.
using TexelKernel = std::vector<TexelTap>;

// The blur's seven binomial taps (1, 6, 15, 20, 15, 6, 1) / 64, `stepTexels` apart along a row
// (or, `vertical`, a column), read with bilinear filtering from the pixel's own texel centre.
TexelKernel binomialLine(float stepTexels, bool vertical);
// The cross blur: the mean of a row line and a column line, `stepX` and `stepY` texels apart.
TexelKernel binomialCross(float stepX, float stepY);
// Every weight times `factor`, and `rows` added to every row.
TexelKernel scaledAndMoved(const TexelKernel& kernel, float factor, int rows);
// The sum of two kernels.
TexelKernel kernelSum(const TexelKernel& a, const TexelKernel& b);

// The fragment text of a pass that sums one or two kernels over `diffuse_tex` with unfiltered fetches
// (the caller binds a nearest sampler), raises each sum to `blurExponent` (the colour alone when
// `opaque`) and draws their mean. Texel (dx, dy) is read at the pixel's coordinate plus
// (dx * texelWidth, (dy + originY) * texelHeight): an origin of 0 for a pass of the same size, -0.5
// down for one of half the height, whose pixels sit on the line between two rows.
std::string kernelFragment(const std::vector<TexelKernel>& sums, float texelWidth, float texelHeight, float originY,
                           bool opaque);

}  // namespace zelFramework
