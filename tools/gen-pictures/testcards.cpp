// The build-up's common studio layers and the two test images (LUNAVEX and KVT).
#include <cmath>
#include <cstdio>

#include "brand.h"
#include "noise.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

constexpr float kCx = kSlideW / 2.0f, kCy = kSlideH / 2.0f;

const Rgba kBars[7] = {hex(0xC8C8C8), hex(0xC8C800), hex(0x00C8C8), hex(0x00C800),
                       hex(0xC800C8), hex(0xC80000), hex(0x0000C8)};

Image genericBackdrop()
{
    Image img(kSlideW, kSlideH);
    fillStudioBackdrop(img, hex(0x1A1050), hex(0x03040E), 21);
    // Retro floor grid running to a vanishing point under the horizon.
    float horizon = 470;
    for (int i = -16; i <= 16; ++i)
        drawLine(img, {kCx + i * 22.0f, horizon}, {kCx + i * 260.0f, kSlideH + 10.0f}, 2,
                 solid(withAlpha(palette::magenta, 0.35f)));
    for (int j = 0; j < 10; ++j) {
        float t = std::pow(j / 9.0f, 2.0f);
        float y = horizon + (kSlideH - horizon) * t;
        fillRect(img, 0, y, kSlideW, 2, solid(withAlpha(palette::magenta, 0.2f + 0.25f * t)));
    }
    fillRect(img, 0, horizon - 60, kSlideW, 120,
             linearGradient({0, horizon - 60}, withAlpha(palette::cyan, 0), {0, horizon}, withAlpha(palette::cyan, 0.18f)));
    // Two soft studio beams.
    for (int side = -1; side <= 1; side += 2) {
        float x = kCx + side * 700.0f;
        fillPolygon(img, {{x - 20, 0}, {x + 20, 0}, {kCx + side * 200.0f, horizon}, {kCx + side * 60.0f, horizon}},
                    linearGradient({0, 0}, withAlpha(palette::white, 0.12f), {0, horizon}, withAlpha(palette::white, 0)));
    }
    return img;
}

Image genericFrame()
{
    Image img(kSlideW, kSlideH);
    // Top bar with the network badge and a live tag.
    fillRect(img, 0, 0, kSlideW, 86, linearGradient({0, 0}, rgb(0.02f, 0.03f, 0.1f, 0.92f), {0, 86}, rgb(0.05f, 0.06f, 0.18f, 0.85f)));
    fillRect(img, 0, 86, kSlideW, 4, solid(palette::kvtRed));
    drawKvtBadge(img, 40, 14, 58);
    TextStyle bar{Face::SansBold, 34, 6, Align::Left};
    drawText(img, "KVT · STORMHALO 2090", 180, 56, bar, solid(palette::white));
    fillRoundRect(img, kSlideW - 230, 22, 190, 44, 8, solid(palette::kvtRed));
    TextStyle live{Face::SansBold, 30, 8, Align::Centre};
    drawText(img, "● LIVE", kSlideW - 135, 56, live, solid(palette::white));
    // Bottom ticker.
    fillRect(img, 0, kSlideH - 70, kSlideW, 70, solid(rgb(0.02f, 0.03f, 0.1f, 0.9f)));
    fillRect(img, 0, kSlideH - 74, kSlideW, 4, solid(palette::gold));
    fillRect(img, 0, kSlideH - 70, 260, 70, solid(palette::gold));
    TextStyle tag{Face::SansBold, 30, 4, Align::Centre};
    drawText(img, "ARENA NEWS", 130, kSlideH - 24, tag, solid(palette::night));
    TextStyle ticker{Face::Sans, 30, 2, Align::Left};
    drawText(img, "400 DJs on 1200 floors  ·  Quantum computing compo tonight  ·  No bigscreens, just lasers  ·  Gates open",
             290, kSlideH - 24, ticker, solid(palette::white));
    return img;
}

Image genericPulseRings()
{
    // Drawn with a pulsing scale about the centre, so it is built from rings around the centre.
    Image img(kSlideW, kSlideH);
    for (int i = 0; i < 6; ++i) {
        float r = 180.0f + i * 110.0f;
        strokeCircle(img, kCx, kCy, r, 3.0f - i * 0.3f, solid(withAlpha(palette::cyan, 0.35f - i * 0.05f)));
    }
    for (int k = 0; k < 48; ++k) {
        float a = k * 6.2831853f / 48;
        float r0 = 300, r1 = k % 4 == 0 ? 345.0f : 325.0f;
        drawLine(img, {kCx + r0 * std::cos(a), kCy + r0 * std::sin(a)}, {kCx + r1 * std::cos(a), kCy + r1 * std::sin(a)},
                 3, solid(withAlpha(palette::white, 0.5f)));
    }
    return img;
}

// Classic card elements, reused by both test images.
void drawGratings(Image& img, float x, float y, float w, float h)
{
    const float periods[5] = {16, 10, 6, 4, 2};
    float bw = w / 5;
    for (int i = 0; i < 5; ++i)
        for (float gx = 0; gx < bw; gx += periods[i])
            fillRect(img, x + i * bw + gx, y, periods[i] / 2, h, solid(rgb(0.92f, 0.92f, 0.92f)));
}

void drawGreySteps(Image& img, float x, float y, float w, float h)
{
    for (int i = 0; i < 6; ++i) {
        float v = i / 5.0f;
        fillRect(img, x + w * i / 6, y, w / 6 + 1, h, solid(rgb(v, v, v)));
    }
}

Image lunavexCard()
{
    Image img(kSlideW, kSlideH, hex(0x585C68));
    for (int x = 0; x <= kSlideW; x += 80)
        fillRect(img, x - 1.5f, 0, 3, kSlideH, solid(hex(0xE8E8F0)));
    for (int y = 21; y <= kSlideH; y += 80)
        fillRect(img, 0, y - 1.5f, kSlideW, 3, solid(hex(0xE8E8F0)));
    // Side colour wedges.
    for (int i = 0; i < 6; ++i) {
        fillRect(img, 40, 101 + i * 107, 120, 100, solid(kBars[i]));
        fillRect(img, kSlideW - 160, 101 + i * 107, 120, 100, solid(kBars[6 - i]));
    }
    float r = 380;
    fillCircle(img, kCx, kCy, r + 6, solid(hex(0xE8E8F0)));
    fillCircle(img, kCx, kCy, r, solid(hex(0x101018)));
    Image inner(kSlideW, kSlideH);
    for (int i = 0; i < 7; ++i)
        fillRect(inner, kCx - r + 2 * r * i / 7, kCy - r, 2 * r / 7 + 1, r * 0.62f, solid(kBars[i]));
    fillRect(inner, kCx - r, kCy - r * 0.38f, 2 * r, r * 0.28f,
             linearGradient({kCx - r, 0}, rgb(0, 0, 0), {kCx + r, 0}, rgb(1, 1, 1)));
    drawGratings(inner, kCx - r, kCy - r * 0.1f, 2 * r, r * 0.3f);
    drawGreySteps(inner, kCx - r, kCy + r * 0.2f, 2 * r, r * 0.3f);
    fillRect(inner, kCx - r, kCy + r * 0.5f, 2 * r, r * 0.5f, solid(hex(0x1A2A6A)));
    multiplyAlpha(inner, [&](float x, float y) { return std::hypot(x - kCx, y - kCy) < r - 1 ? 1.0f : 0.0f; });
    compose(img, inner, 0, 0);
    fillRect(img, kCx - 1.5f, kCy - r, 3, 2 * r, solid(withAlpha(palette::white, 0.6f)));
    return img;
}

Image lunavexZoomIdent()
{
    // Scales from 1 to 3 during the slide: a glowing crescent that flies at the viewer.
    Image img(kSlideW, kSlideH);
    Image shape(kSlideW, kSlideH);
    drawLunavexMark(shape, kCx, kCy + 150, 95, palette::white);
    addGlow(img, shape, palette::cyan, 20, 1.6f);
    drawLunavexMark(img, kCx, kCy + 150, 95, palette::white);
    strokeCircle(img, kCx, kCy + 150, 125, 4, solid(withAlpha(palette::cyan, 0.8f)));
    return img;
}

Image lunavexLabels()
{
    Image img(kSlideW, kSlideH);
    fillRoundRect(img, kCx - 330, 42, 660, 96, 12, solid(rgb(0, 0, 0, 0.85f)));
    drawLunavexWordmark(img, kCx - 250, 120, 62, palette::white);
    fillRoundRect(img, kCx - 300, kSlideH - 128, 600, 70, 10, solid(rgb(0, 0, 0, 0.85f)));
    TextStyle label{Face::MonoBold, 40, 4, Align::Centre};
    drawText(img, "TEST IMAGE · 2090", kCx, kSlideH - 80, label, solid(palette::white));
    return img;
}

constexpr float kCardX = 360, kCardY = 130, kCardW = 1200, kCardH = 600;

Image kvtCard()
{
    Image img(kSlideW, kSlideH);
    fillRect(img, kCardX, kCardY, kCardW, kCardH, solid(hex(0x202028)));
    for (int i = 0; i < 7; ++i)
        fillRect(img, kCardX + kCardW * i / 7, kCardY, kCardW / 7 + 1, kCardH * 0.45f, solid(kBars[i]));
    const Rgba reverse[7] = {kBars[6], hex(0x101010), kBars[4], hex(0x101010), kBars[2], hex(0x101010), kBars[0]};
    for (int i = 0; i < 7; ++i)
        fillRect(img, kCardX + kCardW * i / 7, kCardY + kCardH * 0.45f, kCardW / 7 + 1, kCardH * 0.08f, solid(reverse[i]));
    drawGratings(img, kCardX, kCardY + kCardH * 0.53f, kCardW * 0.6f, kCardH * 0.22f);
    drawGreySteps(img, kCardX + kCardW * 0.6f, kCardY + kCardH * 0.53f, kCardW * 0.4f, kCardH * 0.22f);
    fillRect(img, kCardX, kCardY + kCardH * 0.75f, kCardW, kCardH * 0.25f,
             linearGradient({kCardX, 0}, hex(0x0A1A50), {kCardX + kCardW, 0}, hex(0x5A0A30)));
    return img;
}

Image kvtCardLabels()
{
    Image img(kSlideW, kSlideH);
    strokeRoundRect(img, kCardX, kCardY, kCardW, kCardH, 2, 4, solid(palette::white));
    TextStyle label{Face::SansBold, 44, 6, Align::Left};
    float badgeW = kvtBadgeWidth(58);
    float boxW = 60 + badgeW + 24 + measureText("TEST IMAGE", label);
    float bx = kCx - boxW / 2, by = kCardY + kCardH * 0.79f;
    fillRoundRect(img, bx, by, boxW, 90, 10, solid(rgb(0, 0, 0, 0.9f)));
    drawKvtBadge(img, bx + 30, by + 16, 58);
    drawText(img, "TEST IMAGE", bx + 30 + badgeW + 24, by + 62, label, solid(palette::white));
    return img;
}

Image kvtRotatingDial()
{
    // A card rotating about its centre in front of the test image; hollow so the card shows through.
    const int n = 1024;
    const float c = n / 2.0f;
    Image img(n, n);
    strokeCircle(img, c, c, 470, 14, solid(withAlpha(palette::white, 0.55f)));
    for (int k = 0; k < 60; ++k) {
        float a = k * 6.2831853f / 60;
        float r1 = k % 5 == 0 ? 420.0f : 440.0f;
        drawLine(img, {c + 455 * std::cos(a), c + 455 * std::sin(a)}, {c + r1 * std::cos(a), c + r1 * std::sin(a)},
                 k % 5 == 0 ? 8.0f : 4.0f, solid(withAlpha(palette::white, 0.7f)));
    }
    for (int k = 0; k < 3; ++k)
        fillArc(img, c, c, 395, 18, k * 2.0944f, k * 2.0944f + 0.9f,
                solid(withAlpha(k == 0 ? palette::kvtRed : k == 1 ? palette::gold : palette::kvtBlue, 0.8f)));
    return img;
}

}  // namespace

std::vector<PictureAsset> testCardPictures()
{
    return {
        // The two generic base layers are drawn without the vertical flip, hence stored mirrored.
        {"00-Generic/kvt_generic_l1.png", FileKind::PngRgba, [] { return flippedVertically(genericBackdrop()); }, true},
        {"00-Generic/kvt_generic_l2.png", FileKind::PngRgba, [] { return flippedVertically(genericFrame()); }, true},
        {"00-Generic/kvt_generic_l3.png", FileKind::PngRgba, genericPulseRings},
        {"01-LunavexTestimage/lunavex_l1.png", FileKind::PngRgba, lunavexCard},
        {"01-LunavexTestimage/lunavex_l2.png", FileKind::PngRgba, lunavexZoomIdent},
        {"01-LunavexTestimage/lunavex_l3.png", FileKind::PngRgba, lunavexLabels},
        {"02-KVTTestimage/kvt_testimage_l1.png", FileKind::PngRgba, kvtCard},
        {"02-KVTTestimage/kvt_testimage_l2.png", FileKind::PngRgba, kvtCardLabels},
        {"02-KVTTestimage/kvt_testimage_l3.png", FileKind::PngRgba, kvtRotatingDial},
    };
}

}  // namespace zelFramework::content
