// Technical pictures: the loading card, the ambient-occlusion noise, the reflection sphere map, the flash
// sprite, plain white and the vignette.
#include <algorithm>
#include <cmath>

#include "brand.h"
#include "noise.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

Image loadingCard()
{
    Image img(kSlideW, kSlideH);
    fillStudioBackdrop(img, palette::navy, palette::night, 11);
    // Faint broadcast grid.
    for (int x = 0; x <= kSlideW; x += 96)
        fillRect(img, x - 0.5f, 0, 1, kSlideH, solid(withAlpha(palette::cyan, 0.07f)));
    for (int y = 5; y <= kSlideH; y += 96)
        fillRect(img, 0, y - 0.5f, kSlideW, 1, solid(withAlpha(palette::cyan, 0.07f)));
    strokeCircle(img, kSlideW / 2.0f, 330, 150, 3, solid(withAlpha(palette::white, 0.35f)));
    drawLunavexMark(img, kSlideW / 2.0f, 330, 110, palette::white);
    TextStyle big{Face::SansBold, 84, 10, Align::Centre};
    drawText(img, "PLEASE STAND BY", kSlideW / 2.0f, 620, big, solid(palette::white));
    TextStyle small{Face::Sans, 40, 2, Align::Centre};
    drawText(img, "LUNAVEX · live from the arena in a moment", kSlideW / 2.0f, 690, small, solid(palette::cyan));
    // Colour bars along the bottom edge.
    const Rgba bars[7] = {hex(0xC0C0C0), hex(0xC0C000), hex(0x00C0C0), hex(0x00C000),
                          hex(0xC000C0), hex(0xC00000), hex(0x0000C0)};
    for (int i = 0; i < 7; ++i)
        fillRect(img, kSlideW * i / 7.0f, kSlideH - 40, kSlideW / 7.0f + 1, 40, solid(bars[i]));
    return img;
}

Image aoNoise()
{
    // Random unit vectors encoded as 0.5 + 0.5 v: the renderer reflects its sample kernel with them.
    Image img(64, 64);
    Rng rng(0x5AA0C0DEull);
    for (Rgba& p : img.pixels) {
        float x, y, z, len;
        do {
            x = rng.range(-1, 1);
            y = rng.range(-1, 1);
            z = rng.range(-1, 1);
            len = std::sqrt(x * x + y * y + z * z);
        } while (len < 0.1f || len > 1.0f);
        p = rgb(0.5f + 0.5f * x / len, 0.5f + 0.5f * y / len, 0.5f + 0.5f * z / len);
    }
    return img;
}

// The world the chrome objects reflect: a night sky over a floodlit bowl.
Rgba environment(float dx, float dy, float dz)
{
    float up = dy;
    Rgba c;
    if (up > 0) {
        c = mix(hex(0x2A3A78), hex(0x060A1C), std::pow(up, 0.6f));
        // Floodlight towers: four bright spots above the horizon.
        for (int i = 0; i < 4; ++i) {
            float a = 0.6f + i * 1.5708f;
            float lx = std::cos(a) * 0.93f, lz = std::sin(a) * 0.93f, ly = 0.36f;
            float d = dx * lx + dy * ly + dz * lz;
            float spot = std::pow(std::max(d, 0.0f), 400.0f);
            c = mix(c, hex(0xFFF4DA), std::min(spot * 1.5f, 1.0f));
            c.r += 0.25f * std::pow(std::max(d, 0.0f), 30.0f);
            c.g += 0.2f * std::pow(std::max(d, 0.0f), 30.0f);
            c.b += 0.12f * std::pow(std::max(d, 0.0f), 30.0f);
        }
    } else {
        // Stands and crowd lights below the horizon.
        float t = std::pow(-up, 0.5f);
        c = mix(hex(0x3B2A4A), hex(0x0C0810), t);
        float az = std::atan2(dz, dx);
        float sparkle = hash2(static_cast<int>(az * 180), static_cast<int>(-up * 90), 7);
        if (sparkle > 0.93f && up > -0.5f)
            c = mix(c, hex(0xFFD9A0), 0.7f);
    }
    float horizon = std::exp(-std::fabs(up) * 18.0f);
    c = mix(c, hex(0xFF8A4C), horizon * 0.55f);
    c.a = 1;
    return c;
}

Image reflectionSphere()
{
    // Sphere map: each pixel is the mirror-ball normal seen along -z; it shows the reflected world.
    const int n = 512;
    Image img(n, n, rgb(0.04f, 0.03f, 0.07f));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n * 2 - 1, v = 1 - (y + 0.5f) / n * 2;
            float r2 = u * u + v * v;
            if (r2 > 1.0f)
                continue;  // outside the ball: never sampled, left dark
            float nz = std::sqrt(1 - r2);
            // Reflect the view ray (0, 0, -1) about the normal (u, v, nz).
            float rx = 2 * nz * u, ry = 2 * nz * v, rz = 2 * nz * nz - 1;
            img.at(x, y) = environment(rx, ry, rz);
        }
    // Sphere-map lookups put upward reflections at high t, and t = 0 is the file's first row: store the
    // ball upside down so the sky is reflected above and the stands below.
    return flippedVertically(img);
}

Image flashSprite()
{
    // Additive sprite: black is "no light", so the picture needs no alpha. A camera flash across the
    // stands is drawn only a few pixels wide and the picture has no smaller levels to fall back on,
    // so everything in it is broad: a wide hot core, a soft halo and short thick rays. Fine detail
    // (a one-texel core, hair-thin streaks) would be hit by one flare's pixels and missed by the next.
    const int n = 64;
    Image img(n, n, rgb(0, 0, 0));
    float c = n / 2.0f;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float dx = (x + 0.5f - c) / c, dy = (y + 0.5f - c) / c;
            float r = std::sqrt(dx * dx + dy * dy);
            float core = std::exp(-r * r * 14.0f);
            float halo = std::exp(-r * 3.2f) * 0.5f;
            float rayH = std::exp(-std::fabs(dy) * 12.0f) * std::max(0.0f, 1 - std::fabs(dx)) * 0.35f;
            float rayV = std::exp(-std::fabs(dx) * 12.0f) * std::max(0.0f, 1 - std::fabs(dy)) * 0.35f;
            float edge = std::clamp((1 - r) * 3, 0.0f, 1.0f);
            float v = (1.3f * core + halo + rayH + rayV) * edge;
            img.at(x, y) = rgb(std::min(v * 1.0f, 1.0f), std::min(v * 0.97f, 1.0f), std::min(v * 0.92f, 1.0f));
        }
    return img;
}

Image vignette()
{
    const int w = 1024, h = 449;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = (x + 0.5f) / w * 2 - 1, v = (y + 0.5f) / h * 2 - 1;
            float d = std::sqrt(u * u * 0.85f + v * v * 1.1f);
            float t = std::clamp((d - 0.55f) / 0.75f, 0.0f, 1.0f);
            img.at(x, y) = rgb(0, 0, 0, 0.82f * t * t * (3 - 2 * t));
        }
    return img;
}

}  // namespace

std::vector<PictureAsset> texturePictures()
{
    return {
        {"loading.jpg", FileKind::Jpeg, loadingCard},
        {"noise.png", FileKind::PngRgb, aoNoise},
        {"reflection.png", FileKind::PngRgb, reflectionSphere, true},
        {"flash.jpg", FileKind::Jpeg, flashSprite},
        {"white.jpg", FileKind::Jpeg, [] { return Image(64, 64, rgb(1, 1, 1)); }},
        {"vignette.png", FileKind::PngRgba, vignette},
    };
}

}  // namespace zelFramework::content
