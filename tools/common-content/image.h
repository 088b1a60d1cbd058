#pragma once
// A plain RGBA picture in floating point, the canvas every generator draws on.
// Channels are display values in 0..1 (not linear light); alpha is straight, not premultiplied,
// because that is how the show's pictures are stored and blended.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelFramework::content {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

inline Rgba rgb(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }
// Colours are easiest to pick as 0xRRGGBB.
Rgba hex(uint32_t rrggbb, float alpha = 1.0f);
Rgba mix(const Rgba& a, const Rgba& b, float t);
Rgba withAlpha(Rgba c, float alpha);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // row 0 is the top row, as in the files

    Image() = default;
    Image(int w, int h, Rgba fill = {0, 0, 0, 0});

    Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Source-over compositing of colour c with the given coverage onto one pixel.
void blendPixel(Image& img, int x, int y, const Rgba& c, float coverage);
// Composites src over dst with its top-left corner at (x, y) and an extra opacity.
void compose(Image& dst, const Image& src, int x, int y, float opacity = 1.0f);
// Bilinear resize (box-filtered when shrinking by more than 2x), used for thumbnails and sprites.
Image resized(const Image& src, int w, int h);
// Clamps every channel into 0..1; generators call it before writing.
void clampAll(Image& img);

}  // namespace zelFramework::content
