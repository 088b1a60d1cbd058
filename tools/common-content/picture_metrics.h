// Measures of a finished picture that tell rendering faults from design: pixels that stand alone
// against all their neighbours (specular sparkle, aliased highlights, dot clusters of a gather).
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

}  // namespace zelFramework::content
