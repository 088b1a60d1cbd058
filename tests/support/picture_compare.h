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

}  // namespace orvotest
