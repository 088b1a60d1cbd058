// Comparing two pictures the way a viewer's eye and the picture checks do: the largest difference of
// any colour channel (0..255) and the peak signal-to-noise ratio over the colour channels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace orvotest {

struct PictureComparison {
    int largestDifference = 0;  // per channel, 0..255
    double psnr = std::numeric_limits<double>::infinity();  // dB; infinite for equal pictures
};

// RGBA bytes of two pictures of the same size; alpha is left out. `scale` weighs the difference first
// (the share of a picture that reaches the screen, for a picture that is added in part).
inline PictureComparison comparePictures(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                         double scale = 1.0) {
    PictureComparison c;
    if (a.size() != b.size() || a.empty()) {
        c.largestDifference = 255;
        c.psnr = 0.0;
        return c;
    }
    double squares = 0.0;
    size_t count = 0;
    double largest = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;
        const double d = std::abs(double(a[i]) - double(b[i])) * scale;
        largest = std::max(largest, d);
        squares += d * d;
        ++count;
    }
    c.largestDifference = int(std::ceil(largest - 1e-9));
    const double mse = squares / double(count);
    if (mse > 0.0) c.psnr = 10.0 * std::log10(255.0 * 255.0 / mse);
    return c;
}

// Sharpness of a region: the mean absolute Laplacian (4 x centre - the four neighbours) of the luma,
// 0..1, over the pixels of [x0, x1) x [y0, y1) of an RGBA picture `width` pixels wide. A sharp
// picture of detailed surfaces gives a few hundredths; a blurred one a few thousandths.
inline double meanAbsoluteLaplacian(const std::vector<uint8_t>& rgba, int width, int x0, int y0, int x1, int y1) {
    auto luma = [&](int x, int y) {
        const uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
        return (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) / 255.0;
    };
    const int height = int(rgba.size() / 4 / size_t(width));
    x0 = std::max(x0, 1), y0 = std::max(y0, 1), x1 = std::min(x1, width - 1), y1 = std::min(y1, height - 1);
    double sum = 0.0;
    long count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            sum += std::abs(4.0 * luma(x, y) - luma(x - 1, y) - luma(x + 1, y) - luma(x, y - 1) - luma(x, y + 1));
            ++count;
        }
    return count ? sum / double(count) : 0.0;
}

}  // namespace orvotest
