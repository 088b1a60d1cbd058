#include "grading.h"

#include <algorithm>
#include <cmath>

#include "picture_asset.h"

namespace zelFramework::content {

namespace {

float luma(Rgb3 c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

Rgb3 saturate(Rgb3 c, float amount)
{
    float y = luma(c);
    return {y + (c.r - y) * amount, y + (c.g - y) * amount, y + (c.b - y) * amount};
}

// S-shaped contrast around mid grey that keeps 0 and 1 fixed.
float contrastCurve(float v, float amount)
{
    v = std::clamp(v, 0.0f, 1.0f);
    float s = v * v * (3 - 2 * v);
    return v + (s - v) * amount;
}

Rgb3 contrast(Rgb3 c, float amount)
{
    return {contrastCurve(c.r, amount), contrastCurve(c.g, amount), contrastCurve(c.b, amount)};
}

// Tints shadows and highlights separately, weighted by luma, as a colourist's split-toning does.
Rgb3 splitTone(Rgb3 c, Rgb3 shadows, Rgb3 highlights)
{
    float y = std::clamp(luma(c), 0.0f, 1.0f);
    float ws = (1 - y) * (1 - y), wh = y * y;
    return {c.r + shadows.r * ws + highlights.r * wh, c.g + shadows.g * ws + highlights.g * wh,
            c.b + shadows.b * ws + highlights.b * wh};
}

Rgb3 gain(Rgb3 c, Rgb3 g) { return {c.r * g.r, c.g * g.g, c.b * g.b}; }

Rgb3 clamp01(Rgb3 c)
{
    return {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
}

}  // namespace

Rgb3 applyLook(Look look, Rgb3 c)
{
    switch (look) {
    case Look::Neutral:
        return c;
    case Look::CoolIntro:
        // Night before the show: moonlit blue shadows, clean cyan-white highlights, a little muted.
        c = saturate(c, 0.82f);
        c = splitTone(c, {-0.02f, 0.02f, 0.09f}, {-0.03f, 0.01f, 0.04f});
        c = contrast(c, 0.15f);
        return clamp01(c);
    case Look::Bridge:
        // The passage into the arena: teal shadows, magenta highlights, harder contrast.
        c = splitTone(c, {-0.04f, 0.05f, 0.07f}, {0.08f, -0.03f, 0.05f});
        c = saturate(c, 1.12f);
        c = contrast(c, 0.35f);
        return clamp01(c);
    case Look::WarmStadium:
        // Floodlit stadium: golden gain, rich colour, warm shadows that stay slightly violet.
        c = gain(c, {1.08f, 1.0f, 0.84f});
        c = splitTone(c, {0.02f, -0.01f, 0.04f}, {0.05f, 0.02f, -0.04f});
        c = saturate(c, 1.22f);
        c = contrast(c, 0.25f);
        return clamp01(c);
    case Look::TunnelFinale:
        // The closing tunnel: bleached, hard, cyan-green darks against hot magenta-orange lights.
        c = saturate(c, 0.72f);
        c = splitTone(c, {-0.05f, 0.04f, 0.03f}, {0.09f, -0.02f, 0.02f});
        c = contrast(c, 0.6f);
        return clamp01(c);
    }
    return c;
}

Image lookupTable(Look look)
{
    Image img(kLutSize * kLutSize, kLutSize);
    for (int bi = 0; bi < kLutSize; ++bi)
        for (int gi = 0; gi < kLutSize; ++gi)
            for (int ri = 0; ri < kLutSize; ++ri) {
                Rgb3 in{ri / 31.0f, gi / 31.0f, bi / 31.0f};
                Rgb3 out = applyLook(look, in);
                img.at(lutColumn(ri, bi), lutRow(gi)) = rgb(out.r, out.g, out.b);
            }
    return img;
}

std::vector<PictureAsset> gradingPictures()
{
    auto lut = [](Look look) { return [look] { return lookupTable(look); }; };
    return {
        {"grading/grading_intro.png", FileKind::PngRgb, lut(Look::CoolIntro)},
        {"grading/grading_intro_tunnel.png", FileKind::PngRgb, lut(Look::Bridge)},
        {"grading/grading_nfl.png", FileKind::PngRgb, lut(Look::WarmStadium)},
        {"grading/grading_tunnel_outro.png", FileKind::PngRgb, lut(Look::TunnelFinale)},
        {"grading/grading_neutral.png", FileKind::PngRgb, lut(Look::Neutral)},
    };
}

}  // namespace zelFramework::content
