#include "image.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::content {

Rgba hex(uint32_t v, float alpha)
{
    return {((v >> 16) & 0xFF) / 255.0f, ((v >> 8) & 0xFF) / 255.0f, (v & 0xFF) / 255.0f, alpha};
}

Rgba mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba withAlpha(Rgba c, float alpha)
{
    c.a = alpha;
    return c;
}

Image::Image(int w, int h, Rgba fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void blendPixel(Image& img, int x, int y, const Rgba& c, float coverage)
{
    if (!img.contains(x, y) || coverage <= 0.0f)
        return;
    float sa = std::clamp(c.a * std::min(coverage, 1.0f), 0.0f, 1.0f);
    if (sa <= 0.0f)
        return;
    Rgba& d = img.at(x, y);
    float outA = sa + d.a * (1.0f - sa);
    if (outA <= 1e-6f) {
        d = {0, 0, 0, 0};
        return;
    }
    float keep = d.a * (1.0f - sa);
    d.r = (c.r * sa + d.r * keep) / outA;
    d.g = (c.g * sa + d.g * keep) / outA;
    d.b = (c.b * sa + d.b * keep) / outA;
    d.a = outA;
}

void compose(Image& dst, const Image& src, int ox, int oy, float opacity)
{
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            blendPixel(dst, ox + x, oy + y, src.at(x, y), opacity);
}

namespace {

Rgba sampleBilinear(const Image& img, float fx, float fy)
{
    fx = std::clamp(fx, 0.0f, static_cast<float>(img.width - 1));
    fy = std::clamp(fy, 0.0f, static_cast<float>(img.height - 1));
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    int x1 = std::min(x0 + 1, img.width - 1), y1 = std::min(y0 + 1, img.height - 1);
    float tx = fx - x0, ty = fy - y0;
    Rgba top = mix(img.at(x0, y0), img.at(x1, y0), tx);
    Rgba bottom = mix(img.at(x0, y1), img.at(x1, y1), tx);
    return mix(top, bottom, ty);
}

}  // namespace

Image resized(const Image& src, int w, int h)
{
    Image out(w, h);
    float sx = static_cast<float>(src.width) / w, sy = static_cast<float>(src.height) / h;
    // Average a small grid of bilinear taps so big reductions do not alias.
    int taps = std::max(1, static_cast<int>(std::ceil(std::max(sx, sy) / 2.0f)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba acc{0, 0, 0, 0};
            for (int j = 0; j < taps; ++j)
                for (int i = 0; i < taps; ++i) {
                    float fx = (x + (i + 0.5f) / taps) * sx - 0.5f;
                    float fy = (y + (j + 0.5f) / taps) * sy - 0.5f;
                    Rgba s = sampleBilinear(src, fx, fy);
                    // Weight colour by alpha so transparent texels do not darken edges.
                    acc.r += s.r * s.a;
                    acc.g += s.g * s.a;
                    acc.b += s.b * s.a;
                    acc.a += s.a;
                }
            float n = static_cast<float>(taps * taps);
            Rgba& d = out.at(x, y);
            d.a = acc.a / n;
            if (acc.a > 1e-6f) {
                d.r = acc.r / acc.a;
                d.g = acc.g / acc.a;
                d.b = acc.b / acc.a;
            }
        }
    return out;
}

void clampAll(Image& img)
{
    for (Rgba& p : img.pixels) {
        p.r = std::clamp(p.r, 0.0f, 1.0f);
        p.g = std::clamp(p.g, 0.0f, 1.0f);
        p.b = std::clamp(p.b, 0.0f, 1.0f);
        p.a = std::clamp(p.a, 0.0f, 1.0f);
    }
}

}  // namespace zelFramework::content
