#pragma once
// Anti-aliased shape drawing on an Image. Every shape is a signed distance in pixels (negative inside),
// turned into coverage over one pixel of width, so edges are smooth at any size without supersampling.
#include <functional>
#include <vector>

#include "image.h"

namespace zelFramework::content {

struct Vec2 {
    float x = 0, y = 0;
};

// A colour as a function of the pixel centre, for gradients and patterns.
using Paint = std::function<Rgba(float x, float y)>;
Paint solid(Rgba c);
Paint linearGradient(Vec2 from, Rgba c0, Vec2 to, Rgba c1);
Paint radialGradient(Vec2 centre, float radius, Rgba inner, Rgba outer);

// Fills the pixels of [x0, x1) x [y0, y1) wherever sdf < 0.5, with the coverage the distance gives.
void fillSdf(Image& img, int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
             const Paint& paint);

void fillAll(Image& img, const Paint& paint);
void fillRect(Image& img, float x, float y, float w, float h, const Paint& paint);
void fillRoundRect(Image& img, float x, float y, float w, float h, float radius, const Paint& paint);
void strokeRoundRect(Image& img, float x, float y, float w, float h, float radius, float width, const Paint& paint);
void fillCircle(Image& img, float cx, float cy, float r, const Paint& paint);
void strokeCircle(Image& img, float cx, float cy, float r, float width, const Paint& paint);
void fillEllipse(Image& img, float cx, float cy, float rx, float ry, const Paint& paint);
// A thick line with round caps.
void drawLine(Image& img, Vec2 a, Vec2 b, float width, const Paint& paint);
void drawPolyline(Image& img, const std::vector<Vec2>& points, float width, const Paint& paint);
// Filled polygon (even-odd rule), any winding.
void fillPolygon(Image& img, const std::vector<Vec2>& points, const Paint& paint);
// An arc of a ring between two angles (radians, 0 = +x, counter-clockwise on screen means -y).
void fillArc(Image& img, float cx, float cy, float r, float width, float a0, float a1, const Paint& paint);

// A regular polygon's corner points, handy for logos.
std::vector<Vec2> regularPolygon(float cx, float cy, float r, int sides, float rotation);

// Soft glow: adds a blurred copy of the alpha shape of src onto dst in the given colour.
void addGlow(Image& dst, const Image& shape, Rgba colour, int radius, float strength);
// Separable box blur (three passes approximate a Gaussian) of every channel, in place.
void blur(Image& img, int radius);
// Multiplies the alpha of every pixel by f(x, y), for fades and masks.
void multiplyAlpha(Image& img, const std::function<float(float, float)>& f);

}  // namespace zelFramework::content
