#include <cmath>

#include "gl/picture_file.h"

namespace zelFramework {
namespace {

struct Tap {
    int first;
    int second;
    float weight;  // of `second`
};

// Where the centre of each of `count` new pixels falls among `size` old ones, in texel space.
std::vector<Tap> tapsFor(int count, int size) {
    std::vector<Tap> taps(static_cast<size_t>(count));
    const double step = double(size) / double(count);
    for (int i = 0; i < count; ++i) {
        const double at = (double(i) + 0.5) * step - 0.5;
        const double below = std::floor(at);
        int first = int(below);
        int second = first + 1;
        float weight = float(at - below);
        if (first < 0) first = 0;
        if (second > size - 1) second = size - 1;
        taps[size_t(i)] = {first, second, weight};
    }
    return taps;
}

}  // namespace

DecodedPicture resamplePicture(const DecodedPicture& picture, int width, int height) {
    if (width <= 0 || height <= 0 || width > picture.width || height > picture.height ||
        (width == picture.width && height == picture.height))
        return picture;
    const int channels = picture.bytesPerPixel;
    const std::vector<Tap> across = tapsFor(width, picture.width);
    const std::vector<Tap> down = tapsFor(height, picture.height);
    DecodedPicture out{width, height, channels, {}};
    out.pixels.resize(size_t(width) * size_t(height) * size_t(channels));
    const size_t stride = size_t(picture.width) * size_t(channels);
    uint8_t* target = out.pixels.data();
    for (const Tap& row : down) {
        const uint8_t* upper = picture.pixels.data() + size_t(row.first) * stride;
        const uint8_t* lower = picture.pixels.data() + size_t(row.second) * stride;
        for (const Tap& column : across) {
            const size_t a = size_t(column.first) * size_t(channels);
            const size_t b = size_t(column.second) * size_t(channels);
            for (int c = 0; c < channels; ++c) {
                const float top = float(upper[a + c]) + (float(upper[b + c]) - float(upper[a + c])) * column.weight;
                const float bottom = float(lower[a + c]) + (float(lower[b + c]) - float(lower[a + c])) * column.weight;
                *target++ = uint8_t(std::lround(top + (bottom - top) * row.weight));
            }
        }
    }
    return out;
}

}  // namespace zelFramework
