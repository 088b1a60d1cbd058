#include "picture_metrics.h"

#include <algorithm>

namespace zelFramework::content {

namespace {

IsolatedPixels countOnLuma(const std::vector<float>& luma, int width, int height, float threshold) {
    IsolatedPixels out;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x) {
            const float centre = luma[size_t(y) * width + x];
            float lowest = 1e9f, highest = -1e9f;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx == 0 && dy == 0) continue;
                    const float n = luma[size_t(y + dy) * width + (x + dx)];
                    lowest = std::min(lowest, n);
                    highest = std::max(highest, n);
                }
            if (centre - highest > threshold) ++out.bright;
            if (lowest - centre > threshold) ++out.dark;
        }
    return out;
}

}  // namespace

IsolatedPixels countIsolatedPixels(const Image& img, float threshold) {
    std::vector<float> luma(img.pixels.size());
    for (size_t i = 0; i < luma.size(); ++i) {
        const Rgba& p = img.pixels[i];
        luma[i] = 0.299f * p.r + 0.587f * p.g + 0.114f * p.b;
    }
    return countOnLuma(luma, img.width, img.height, threshold);
}

IsolatedPixels countIsolatedPixels(const std::vector<uint8_t>& rgba, int width, int height, float threshold) {
    std::vector<float> luma(size_t(width) * height);
    for (size_t i = 0; i < luma.size() && 4 * i + 2 < rgba.size(); ++i)
        luma[i] = (0.299f * rgba[4 * i] + 0.587f * rgba[4 * i + 1] + 0.114f * rgba[4 * i + 2]) / 255.0f;
    return countOnLuma(luma, width, height, threshold);
}

}  // namespace zelFramework::content
