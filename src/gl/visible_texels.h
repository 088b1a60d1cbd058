// The part of a picture that can show. A layer drawn over the picture with alpha blending leaves every
// pixel where its texels are wholly transparent as it was, so drawing only the part with alpha above
// 0 (and a margin for what the texture filter mixes in) gives the same picture at less cost: the end
// screen's and the build-up's layers are mostly transparent.
#pragma once

#include <cstdint>
#include <optional>

namespace zelFramework {

// Columns x0 .. x1 - 1 and rows y0 .. y1 - 1 of a picture, rows counted from the first one uploaded.
struct TexelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// The smallest rectangle holding every texel of tightly packed 8-bit RGBA pixels whose alpha is above
// 0; an empty one when every texel is transparent.
TexelRect visibleTexelsOf(const uint8_t* rgba, int width, int height);

// The texture coordinates of the part of a `width` x `height` picture to draw so that every pixel
// left out reads alpha 0: `visible` grown by a margin that covers the filter's reach at up to two
// texels per pixel (`texelsPerPixel`), and to the picture's whole width or height where it comes
// near an edge (a repeating texture mixes the opposite edge in there). Unset when the whole picture
// must be drawn: nothing is known of its alpha, or it is drawn smaller than that.
struct TexturePart {
    float s0 = 0.0f, t0 = 0.0f, s1 = 1.0f, t1 = 1.0f;
    bool empty() const { return s1 <= s0 || t1 <= t0; }  // nothing shows: no draw is needed
};
std::optional<TexturePart> alphaBlendedPart(const std::optional<TexelRect>& visible, int width, int height,
                                            float texelsPerPixel);

}  // namespace zelFramework
