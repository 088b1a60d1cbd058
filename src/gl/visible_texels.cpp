// Where a picture's texels can show, and the part of it a blended draw needs.
#include "gl/visible_texels.h"

#include <algorithm>

namespace zelFramework {

namespace {

// Texels from the visible ones to the farthest a pixel outside may read. At up to two texels per
// pixel the filter reads the next smaller mipmap level, whose texels each cover two, and their
// neighbours: four texels; twice that leaves room for a driver that picks its level a little coarse.
constexpr int FILTER_MARGIN = 8;
// Drawn smaller than this, the levels read are coarser than the margin covers.
constexpr float MOST_TEXELS_PER_PIXEL = 2.0f;

// [first, end) grown by the margin, or the whole [0, size) where it comes within the margin of an edge.
void grow(int& first, int& end, int size) {
    if (first - FILTER_MARGIN <= 0 || end + FILTER_MARGIN >= size) {
        first = 0;
        end = size;
        return;
    }
    first -= FILTER_MARGIN;
    end += FILTER_MARGIN;
}

}  // namespace

TexelRect visibleTexelsOf(const uint8_t* rgba, int width, int height) {
    TexelRect r{width, height, 0, 0};
    if (!rgba || width <= 0 || height <= 0) return {};
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgba + size_t(y) * size_t(width) * 4;
        int first = 0;
        while (first < width && row[size_t(first) * 4 + 3] == 0) ++first;
        if (first == width) continue;
        int last = width - 1;
        while (row[size_t(last) * 4 + 3] == 0) --last;
        r.x0 = std::min(r.x0, first);
        r.x1 = std::max(r.x1, last + 1);
        r.y0 = std::min(r.y0, y);
        r.y1 = y + 1;
    }
    return r.empty() ? TexelRect{} : r;
}

std::optional<TexturePart> alphaBlendedPart(const std::optional<TexelRect>& visible, int width, int height,
                                            float texelsPerPixel) {
    if (!visible || width <= 0 || height <= 0 || !(texelsPerPixel <= MOST_TEXELS_PER_PIXEL)) return std::nullopt;
    if (visible->empty()) return TexturePart{0.0f, 0.0f, 0.0f, 0.0f};
    TexelRect r = *visible;
    grow(r.x0, r.x1, width);
    grow(r.y0, r.y1, height);
    return TexturePart{float(r.x0) / float(width), float(r.y0) / float(height), float(r.x1) / float(width),
                       float(r.y1) / float(height)};
}

}  // namespace zelFramework
