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

// Averages along one side of a picture held as premultiplied floats: `lines` lines of `length`
// pixels of `channels` values, `along` apart within a line and `across` apart between lines.
std::vector<float> shrinkAlong(const std::vector<float>& in, int channels, int lines, int length, size_t along,
                               size_t across, int newLength, size_t newAlong, size_t newAcross) {
    const std::vector<Footprint> footprints = footprintsFor(newLength, length);
    std::vector<float> out(size_t(lines) * size_t(newLength) * size_t(channels));
    for (int line = 0; line < lines; ++line)
        for (int i = 0; i < newLength; ++i) {
            const Footprint& f = footprints[size_t(i)];
            float* target = &out[size_t(line) * newAcross + size_t(i) * newAlong];
            for (size_t k = 0; k < f.weights.size(); ++k) {
                const float* source = &in[size_t(line) * across + size_t(f.first + int(k)) * along];
                for (int c = 0; c < channels; ++c) target[c] += source[c] * f.weights[k];
            }
        }
    return out;
}

}  // namespace

DecodedPicture resamplePicture(const DecodedPicture& picture, int width, int height) {
    if (width <= 0 || height <= 0 || width > picture.width || height > picture.height ||
        (width == picture.width && height == picture.height))
        return picture;
    const int channels = picture.bytesPerPixel;
    const bool alpha = channels == 4;
    // Colour weighted by coverage, so the colour of see-through pixels (often black) does not darken
    // the edges of what is drawn.
    std::vector<float> values(picture.pixels.size());
    for (size_t p = 0; p < values.size(); p += size_t(channels)) {
        const float a = alpha ? float(picture.pixels[p + 3]) : 1.0f;
        for (int c = 0; c < channels; ++c)
            values[p + size_t(c)] = (alpha && c < 3) ? float(picture.pixels[p + size_t(c)]) * a : float(picture.pixels[p + size_t(c)]);
    }
    const size_t ch = size_t(channels);
    std::vector<float> narrow = shrinkAlong(values, channels, picture.height, picture.width, ch,
                                            size_t(picture.width) * ch, width, ch, size_t(width) * ch);
    std::vector<float> small = shrinkAlong(narrow, channels, width, picture.height, size_t(width) * ch, ch, height,
                                           size_t(width) * ch, ch);
    DecodedPicture out{width, height, channels, {}};
    out.pixels.resize(small.size());
    for (size_t p = 0; p < small.size(); p += ch) {
        const float a = alpha ? small[p + 3] : 1.0f;
        for (int c = 0; c < channels; ++c) {
            float v = small[p + size_t(c)];
            if (alpha && c < 3) v = a > 0.0f ? v / a : 0.0f;
            out.pixels[p + size_t(c)] = uint8_t(std::clamp(std::lround(v), 0L, 255L));
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
