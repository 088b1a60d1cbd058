// Measures of a finished picture that tell rendering faults from design: pixels that stand alone
// against all their neighbours (specular sparkle, aliased highlights, dot clusters of a gather), and
// how sharp a region is (a blur where the picture should be in focus).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image.h"

namespace zelFramework::content {

struct IsolatedPixels {
    size_t bright = 0;  // brighter than each of the 8 neighbours by more than the threshold
    size_t dark = 0;    // darker than each of them by more than the threshold
};

// Luma 0.299 R + 0.587 G + 0.114 B of every pixel (0..1) against its 8 neighbours; the outermost
// rows and columns have no full neighbourhood and are not judged.
IsolatedPixels countIsolatedPixels(const Image& img, float threshold = 0.25f);

// The same on 8-bit RGBA rows as glReadPixels returns them (the row order does not matter).
IsolatedPixels countIsolatedPixels(const std::vector<uint8_t>& rgba, int width, int height, float threshold = 0.25f);

// Sharpness of a region: the mean absolute Laplacian (4 x centre - the four neighbours) of the luma,
// 0..1, over the pixels of [x0, x1) x [y0, y1) of 8-bit RGBA rows `width` pixels wide, clipped to the
// pixels that have all four neighbours. A sharp picture of detailed surfaces gives a few hundredths;
// a blurred one a few thousandths.
double meanAbsoluteLaplacian(const std::vector<uint8_t>& rgba, int width, int x0, int y0, int x1, int y1);

// The same over the picture's focus region, the centre fifth of the width by the middle third of the
// height, where the depth of field takes its focus.
double focusSharpness(const Image& img);

}  // namespace zelFramework::content
