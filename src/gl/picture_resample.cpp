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

// Adds one source row, weighted by `w`, to the row of sums. Colour is weighted by coverage (so the
// colour of see-through pixels, often black, does not darken the edges of what is drawn). The
// channel count is fixed per call so that the compiler can unroll and vectorise the loop.
template <int CHANNELS>
void addRow(const uint8_t* __restrict source, float w, float* __restrict rowSum, size_t stride) {
    if constexpr (CHANNELS == 4) {
        for (size_t p = 0; p < stride; p += 4) {
            const float coverage = float(source[p + 3]) * w;
            rowSum[p] += float(source[p]) * coverage;
            rowSum[p + 1] += float(source[p + 1]) * coverage;
            rowSum[p + 2] += float(source[p + 2]) * coverage;
            rowSum[p + 3] += coverage;
        }
    } else {
        for (size_t p = 0; p < stride; ++p) rowSum[p] += float(source[p]) * w;
    }
}

// Rounds half away from zero as lround does, without its library call per byte. The remainder
// v - whole is exact in float, where v + 0.5f would round up values just below a half.
inline uint8_t toByte(float v) {
    v = std::clamp(v, 0.0f, 255.0f);
    const int whole = int(v);
    return uint8_t(whole + int(v - float(whole) >= 0.5f));
}

// Sums the columns of the row of sums each new pixel covers, and writes the new row.
template <int CHANNELS>
void writeRow(const float* rowSum, const std::vector<Footprint>& across, uint8_t* target) {
    for (const Footprint& columns : across) {
        float sums[CHANNELS] = {};
        const float* s = rowSum + size_t(columns.first) * CHANNELS;
        for (size_t k = 0; k < columns.weights.size(); ++k, s += CHANNELS)
            for (int c = 0; c < CHANNELS; ++c) sums[c] += s[c] * columns.weights[k];
        if constexpr (CHANNELS == 4) {
            for (int c = 0; c < 3; ++c) target[c] = toByte(sums[3] > 0.0f ? sums[c] / sums[3] : 0.0f);
            target[3] = toByte(sums[3]);
        } else {
            for (int c = 0; c < CHANNELS; ++c) target[c] = toByte(sums[c]);
        }
        target += CHANNELS;
    }
}

// One row at a time: the rows a new row covers are summed, then the columns; only one row of sums
// is held, not a copy of the picture.
template <int CHANNELS>
void resampleRows(const DecodedPicture& picture, const std::vector<Footprint>& across,
                  const std::vector<Footprint>& down, uint8_t* target) {
    const size_t stride = size_t(picture.width) * CHANNELS;
    std::vector<float> rowSum(stride);
    for (const Footprint& rows : down) {
        std::fill(rowSum.begin(), rowSum.end(), 0.0f);
        for (size_t k = 0; k < rows.weights.size(); ++k)
            addRow<CHANNELS>(picture.pixels.data() + size_t(rows.first + int(k)) * stride, rows.weights[k],
                             rowSum.data(), stride);
        writeRow<CHANNELS>(rowSum.data(), across, target);
        target += across.size() * CHANNELS;
    }
}

}  // namespace

DecodedPicture resamplePicture(const DecodedPicture& picture, int width, int height) {
    if (width <= 0 || height <= 0 || width > picture.width || height > picture.height ||
        (width == picture.width && height == picture.height))
        return picture;
    if (2 * width == picture.width && 2 * height == picture.height) return halve(picture);
    const int channels = picture.bytesPerPixel;
    if (channels != 3 && channels != 4) return picture;  // the decoders give nothing else
    const std::vector<Footprint> across = footprintsFor(width, picture.width);
    const std::vector<Footprint> down = footprintsFor(height, picture.height);
    DecodedPicture out{width, height, channels, PixelBytes(size_t(width) * size_t(height) * size_t(channels))};
    if (channels == 4)
        resampleRows<4>(picture, across, down, out.pixels.data());
    else
        resampleRows<3>(picture, across, down, out.pixels.data());
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

void dropUnreadLevels(DecodedPicture& picture, std::vector<DecodedPicture>& smaller, int width, int height) {
    if (width <= 0 || height <= 0) return;
    size_t unread = 0;
    while (unread < smaller.size() && smaller[unread].width >= width && smaller[unread].height >= height) ++unread;
    if (unread == 0) return;
    picture = std::move(smaller[unread - 1]);
    smaller.erase(smaller.begin(), smaller.begin() + std::ptrdiff_t(unread));
}

}  // namespace zelFramework
