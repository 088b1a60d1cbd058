#include "brand.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace zelFramework::content {

void drawLunavexMark(Image& img, float cx, float cy, float r, Rgba colour)
{
    // Crescent: the disc minus a shifted disc; the distance of the difference is max(a, -b).
    float ox = cx + r * 0.38f, oy = cy - r * 0.22f, orad = r * 0.82f;
    fillSdf(img, static_cast<int>(cx - r) - 2, static_cast<int>(cy - r) - 2, static_cast<int>(cx + r) + 2,
            static_cast<int>(cy + r) + 2,
            [=](float x, float y) {
                float a = std::hypot(x - cx, y - cy) - r;
                float b = std::hypot(x - ox, y - oy) - orad;
                return std::max(a, -b);
            },
            solid(colour));
    // A four-pointed star in the crescent's hollow.
    float sx = cx + r * 0.42f, sy = cy - r * 0.18f, s = r * 0.34f, w = s * 0.22f;
    fillPolygon(img, {{sx, sy - s}, {sx + w, sy - w}, {sx + s, sy}, {sx + w, sy + w}, {sx, sy + s}, {sx - w, sy + w},
                      {sx - s, sy}, {sx - w, sy - w}},
                solid(colour));
}

float drawLunavexWordmark(Image& img, float x, float y, float size, Rgba colour)
{
    float r = size * 0.62f;
    drawLunavexMark(img, x + r, y - size * 0.45f, r, colour);
    TextStyle style{Face::SansBold, size * 1.3f, size * 0.12f, Align::Left};
    float w = drawText(img, "LUNAVEX", x + 2.4f * r, y, style, solid(colour));
    return 2.4f * r + w;
}

namespace {
TextStyle kvtLetters(float h) { return {Face::SansBold, h * 0.74f, h * 0.02f, Align::Left}; }
}  // namespace

float kvtBadgeWidth(float h) { return h * 0.5f + measureText("KVT", kvtLetters(h)); }

void drawKvtBadge(Image& img, float x, float y, float h)
{
    TextStyle style = kvtLetters(h);
    float w = kvtBadgeWidth(h);
    fillRoundRect(img, x, y, w, h, h * 0.18f, solid(palette::white));
    const Rgba bars[3] = {palette::kvtRed, palette::gold, palette::kvtBlue};
    for (int i = 0; i < 3; ++i)
        fillRect(img, x + h * 0.12f, y + h * (0.16f + 0.24f * i), h * 0.16f, h * 0.18f, solid(bars[i]));
    drawText(img, "KVT", x + h * 0.38f, y + h * 0.77f, style, solid(palette::night));
}

void drawStormhaloMark(Image& img, float cx, float cy, float r)
{
    Image shape(img.width, img.height);
    strokeCircle(shape, cx, cy, r, r * 0.09f, solid(palette::white));
    addGlow(img, shape, palette::cyan, static_cast<int>(r * 0.12f) + 1, 1.6f);
    strokeCircle(img, cx, cy, r, r * 0.09f,
                 linearGradient({cx - r, cy - r}, palette::cyan, {cx + r, cy + r}, palette::magenta));
    strokeCircle(img, cx, cy, r * 0.8f, r * 0.02f, solid(withAlpha(palette::white, 0.6f)));
    // Lightning bolt through the halo.
    float s = r * 1.15f;
    std::vector<Vec2> bolt = {{cx + 0.12f * s, cy - 0.95f * s}, {cx - 0.38f * s, cy + 0.08f * s},
                              {cx - 0.04f * s, cy + 0.06f * s}, {cx - 0.2f * s, cy + 0.95f * s},
                              {cx + 0.38f * s, cy - 0.14f * s}, {cx + 0.03f * s, cy - 0.12f * s},
                              {cx + 0.22f * s, cy - 0.95f * s}};
    Image boltShape(img.width, img.height);
    fillPolygon(boltShape, bolt, solid(palette::white));
    addGlow(img, boltShape, palette::gold, static_cast<int>(r * 0.1f) + 1, 1.4f);
    fillPolygon(img, bolt, linearGradient({cx, cy - s}, palette::white, {cx, cy + s}, palette::gold));
}

void drawGralleMark(Image& img, float cx, float cy, float r, Rgba colour)
{
    for (int i = 0; i < 3; ++i) {
        float rr = r * (1.0f - 0.28f * i);
        fillArc(img, cx, cy - r * 0.25f * i, rr, r * 0.12f, 3.6f, 5.82f, solid(colour));
    }
    fillRect(img, cx - r * 0.9f, cy + r * 0.05f, r * 1.8f, r * 0.1f, solid(colour));
}

void fillStudioBackdrop(Image& img, Rgba top, Rgba bottom, unsigned seed)
{
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            float t = static_cast<float>(y) / (img.height - 1);
            Rgba c = mix(top, bottom, t);
            // A faint cloudy texture keeps large areas from banding.
            float n = fractalNoise(x / 240.0f, y / 240.0f, 4, seed) - 0.5f;
            c.r += n * 0.05f;
            c.g += n * 0.05f;
            c.b += n * 0.08f;
            c.a = 1;
            img.at(x, y) = c;
        }
}

Image flippedVertically(const Image& img)
{
    Image out(img.width, img.height);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            out.at(x, img.height - 1 - y) = img.at(x, y);
    return out;
}

void drawShadowedText(Image& img, const std::string& text, float x, float y, const TextStyle& style, Rgba colour,
                      float shadowOffset)
{
    drawText(img, text, x + shadowOffset, y + shadowOffset, style, solid(rgb(0, 0, 0, 0.6f * colour.a)));
    drawText(img, text, x, y, style, solid(colour));
}

}  // namespace zelFramework::content

namespace zelFramework::content {

void drawGlowingText(Image& img, const std::string& text, float x, float y, const TextStyle& style, const Paint& fill,
                     Rgba glow, int radius, float strength)
{
    Image shape(img.width, img.height);
    drawText(shape, text, x, y, style, solid(rgb(1, 1, 1)));
    addGlow(img, shape, glow, radius, strength);
    drawText(img, text, x, y, style, fill);
}

}  // namespace zelFramework::content
