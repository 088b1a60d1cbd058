#include "picture_metrics.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::content {

namespace {

// Luma 0..1 of every pixel, in row order, from either form a picture comes in.
std::vector<float> lumaOf(const Image& img) {
    std::vector<float> luma(img.pixels.size());
    for (size_t i = 0; i < luma.size(); ++i) {
        const Rgba& p = img.pixels[i];
        luma[i] = 0.299f * p.r + 0.587f * p.g + 0.114f * p.b;
    }
    return luma;
}

std::vector<float> lumaOf(const std::vector<uint8_t>& rgba, int width, int height) {
    std::vector<float> luma(size_t(width) * height);
    for (size_t i = 0; i < luma.size() && 4 * i + 2 < rgba.size(); ++i)
        luma[i] = (0.299f * rgba[4 * i] + 0.587f * rgba[4 * i + 1] + 0.114f * rgba[4 * i + 2]) / 255.0f;
    return luma;
}

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

double laplacianOnLuma(const std::vector<float>& luma, int width, int height, int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 1), y0 = std::max(y0, 1), x1 = std::min(x1, width - 1), y1 = std::min(y1, height - 1);
    auto at = [&](int x, int y) { return double(luma[size_t(y) * size_t(width) + size_t(x)]); };
    double sum = 0.0;
    long count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            sum += std::abs(4.0 * at(x, y) - at(x - 1, y) - at(x + 1, y) - at(x, y - 1) - at(x, y + 1));
            ++count;
        }
    return count ? sum / double(count) : 0.0;
}

}  // namespace

IsolatedPixels countIsolatedPixels(const Image& img, float threshold) {
    return countOnLuma(lumaOf(img), img.width, img.height, threshold);
}

IsolatedPixels countIsolatedPixels(const std::vector<uint8_t>& rgba, int width, int height, float threshold) {
    return countOnLuma(lumaOf(rgba, width, height), width, height, threshold);
}

double meanAbsoluteLaplacian(const std::vector<uint8_t>& rgba, int width, int x0, int y0, int x1, int y1) {
    if (width <= 0) return 0.0;
    const int height = int(rgba.size() / 4 / size_t(width));
    return laplacianOnLuma(lumaOf(rgba, width, height), width, height, x0, y0, x1, y1);
}

double focusSharpness(const Image& img) {
    const int w = img.width, h = img.height;
    return laplacianOnLuma(lumaOf(img), w, h, w * 2 / 5, h / 3, w * 3 / 5, h * 2 / 3);
}

}  // namespace zelFramework::content
