// Making a picture smaller the way a viewer expects: each new pixel is the average of the part of the
// original it covers, so thin lines and small marks fade instead of breaking up into stray pixels.
#include <algorithm>
#include <cmath>

#include "gl/picture_file.h"

namespace zelFramework {
namespace {

// The old pixels one new pixel covers along one side, with the share of each (summing to 1).
struct Footprint {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Footprint> footprintsFor(int count, int size) {
    std::vector<Footprint> out(static_cast<size_t>(count));
    const double step = double(size) / double(count);
    for (int i = 0; i < count; ++i) {
        const double from = double(i) * step, to = double(i + 1) * step;
        Footprint& f = out[size_t(i)];
        f.first = int(std::floor(from));
        const int last = std::min(size - 1, int(std::ceil(to)) - 1);
        for (int k = f.first; k <= last; ++k) {
            const double covered = std::min(to, double(k + 1)) - std::max(from, double(k));
            f.weights.push_back(float(covered / step));
        }
    }
    return out;
}

// Exactly half the size both ways: each new pixel the average of two by two, in integers (the same
// rounding as the general path), for the first and largest mipmap level of even-sized pictures.
DecodedPicture halve(const DecodedPicture& picture) {
    const int width = picture.width / 2, height = picture.height / 2, channels = picture.bytesPerPixel;
    DecodedPicture out{width, height, channels, PixelBytes(size_t(width) * size_t(height) * size_t(channels))};
    const size_t stride = size_t(picture.width) * size_t(channels);
    uint8_t* target = out.pixels.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* upper = picture.pixels.data() + size_t(2 * y) * stride;
        const uint8_t* lower = upper + stride;
        for (int x = 0; x < width; ++x, target += channels) {
            const uint8_t* q[4] = {upper + size_t(2 * x) * size_t(channels), upper + size_t(2 * x + 1) * size_t(channels),
                                   lower + size_t(2 * x) * size_t(channels), lower + size_t(2 * x + 1) * size_t(channels)};
            if (channels == 4) {
                const uint32_t coverage = uint32_t(q[0][3]) + q[1][3] + q[2][3] + q[3][3];
                target[3] = uint8_t((coverage + 2) / 4);
                for (int c = 0; c < 3; ++c) {
                    const uint32_t weighted = uint32_t(q[0][c]) * q[0][3] + uint32_t(q[1][c]) * q[1][3] +
                                              uint32_t(q[2][c]) * q[2][3] + uint32_t(q[3][c]) * q[3][3];
                    target[c] = coverage ? uint8_t((2 * weighted + coverage) / (2 * coverage)) : 0;
                }
            } else {
                for (int c = 0; c < channels; ++c)
                    target[c] = uint8_t((uint32_t(q[0][c]) + q[1][c] + q[2][c] + q[3][c] + 2) / 4);
            }
        }
    }
    return out;
}

}  // namespace

DecodedPicture resamplePicture(const DecodedPicture& picture, int width, int height) {
    if (width <= 0 || height <= 0 || width > picture.width || height > picture.height ||
        (width == picture.width && height == picture.height))
        return picture;
    if (2 * width == picture.width && 2 * height == picture.height) return halve(picture);
    const int channels = picture.bytesPerPixel;
    const size_t ch = size_t(channels);
    const bool alpha = channels == 4;
    const std::vector<Footprint> across = footprintsFor(width, picture.width);
    const std::vector<Footprint> down = footprintsFor(height, picture.height);
    const size_t stride = size_t(picture.width) * ch;
    DecodedPicture out{width, height, channels, PixelBytes(size_t(width) * size_t(height) * ch)};
    // One row at a time: the rows a new row covers are summed, colour weighted by coverage (so the
    // colour of see-through pixels, often black, does not darken the edges of what is drawn), then
    // the columns; only one row of sums is held, not a copy of the picture.
    std::vector<float> rowSum(stride);
    uint8_t* target = out.pixels.data();
    for (const Footprint& rows : down) {
        std::fill(rowSum.begin(), rowSum.end(), 0.0f);
        for (size_t k = 0; k < rows.weights.size(); ++k) {
            const uint8_t* source = picture.pixels.data() + size_t(rows.first + int(k)) * stride;
            const float w = rows.weights[k];
            for (size_t p = 0; p < stride; p += ch) {
                const float coverage = alpha ? float(source[p + 3]) * w : w;
                for (size_t c = 0; c < ch; ++c)
                    rowSum[p + c] += (alpha && c == 3) ? float(source[p + c]) * w : float(source[p + c]) * coverage;
            }
        }
        for (const Footprint& columns : across) {
            float sums[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < columns.weights.size(); ++k) {
                const float* s = &rowSum[size_t(columns.first + int(k)) * ch];
                for (size_t c = 0; c < ch; ++c) sums[c] += s[c] * columns.weights[k];
            }
            for (size_t c = 0; c < ch; ++c) {
                float v = sums[c];
                if (alpha && c < 3) v = sums[3] > 0.0f ? v / sums[3] : 0.0f;
                target[c] = uint8_t(std::clamp(std::lround(v), 0L, 255L));
            }
            target += ch;
        }
    }
    return out;
}

std::vector<DecodedPicture> smallerLevels(const DecodedPicture& picture) {
    std::vector<DecodedPicture> levels;
    levels.reserve(32);  // more than any side of 2^31 needs, so `larger` stays valid
    const DecodedPicture* larger = &picture;
    while (larger->width > 1 || larger->height > 1) {
        // From the level before, which costs a quarter of the work each time; an odd side makes the
        // footprint a little over two pixels, and the average covers it exactly.
        levels.push_back(resamplePicture(*larger, std::max(1, larger->width / 2), std::max(1, larger->height / 2)));
        larger = &levels.back();
    }
    return levels;
}

}  // namespace zelFramework
