// The timeline editor's buttons: segment shapes, segment end presets and the transport.
#include <algorithm>
#include <cmath>
#include <functional>

#include "brand.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

constexpr int kSize = 64;
constexpr float kLeft = 12, kRight = 52, kTop = 14, kBottom = 50;  // plot box inside the button

Image buttonPanel()
{
    Image img(kSize, kSize);
    fillRoundRect(img, 2, 2, kSize - 4, kSize - 4, 10,
                  linearGradient({0, 0}, hex(0x3A3F55), {0, kSize}, hex(0x1A1C28)));
    strokeRoundRect(img, 2.5f, 2.5f, kSize - 5, kSize - 5, 10, 1.5f, solid(hex(0xA8B0D0, 0.8f)));
    return img;
}

float plotX(float f) { return kLeft + (kRight - kLeft) * f; }
float plotY(float v) { return kBottom - (kBottom - kTop) * v; }

void plotGuides(Image& img)
{
    fillRect(img, kLeft, plotY(0) - 0.5f, kRight - kLeft, 1, solid(hex(0x7880A0, 0.6f)));
    fillRect(img, kLeft, plotY(1) - 0.5f, kRight - kLeft, 1, solid(hex(0x7880A0, 0.6f)));
}

void plotCurve(Image& img, const std::function<float(float)>& curve, Rgba colour)
{
    std::vector<Vec2> pts;
    for (int i = 0; i <= 40; ++i) {
        float f = i / 40.0f;
        pts.push_back({plotX(f), plotY(curve(f))});
    }
    drawPolyline(img, pts, 3.0f, solid(colour));
}

float smooth(float x)
{
    x = std::clamp(x, 0.0f, 1.0f);
    return x * x * (3 - 2 * x);
}

PictureAsset curveButton(const char* name, std::function<float(float)> curve)
{
    return {std::string("editor/button-") + name + ".png", FileKind::PngRgba, [curve] {
                Image img = buttonPanel();
                plotGuides(img);
                plotCurve(img, curve, hex(0xF2E6B0));
                return img;
            }};
}

// Segment ends: where the blend starts and stops. A hollow ring means "the key's own value" (drawn at
// mid height, since it varies), a filled dot on the 0 or 1 guide means the fixed level.
enum class End { Value, Zero, One };

float endLevel(End e) { return e == End::Zero ? 0.0f : e == End::One ? 1.0f : 0.5f; }

PictureAsset endsButton(const char* name, End a, End b)
{
    return {std::string("editor/button-man-") + name + ".png", FileKind::PngRgba, [a, b] {
                Image img = buttonPanel();
                plotGuides(img);
                float ya = endLevel(a), yb = endLevel(b);
                drawLine(img, {plotX(0), plotY(ya)}, {plotX(1), plotY(yb)}, 2.5f, solid(hex(0xF2E6B0)));
                for (auto [end, f] : {std::pair{a, 0.0f}, std::pair{b, 1.0f}}) {
                    float x = plotX(f), y = plotY(endLevel(end));
                    if (end == End::Value) {
                        fillCircle(img, x, y, 5.5f, solid(hex(0x1A1C28)));
                        strokeCircle(img, x, y, 4.5f, 2.0f, solid(hex(0x7FD8FF)));
                    } else {
                        fillCircle(img, x, y, 5.0f, solid(end == End::One ? hex(0xFFFFFF) : hex(0xFF9A4A)));
                    }
                }
                return img;
            }};
}

Image playIcon()
{
    Image img = buttonPanel();
    fillPolygon(img, {{22, 16}, {48, 32}, {22, 48}}, solid(hex(0x5CF08A)));
    return img;
}

Image pauseIcon()
{
    Image img = buttonPanel();
    fillRoundRect(img, 20, 17, 9, 30, 2, solid(hex(0xFFD25C)));
    fillRoundRect(img, 35, 17, 9, 30, 2, solid(hex(0xFFD25C)));
    return img;
}

Image recordIcon()
{
    Image img = buttonPanel();
    fillCircle(img, 32, 32, 13, radialGradient({28, 28}, 16, hex(0xFF7070), hex(0xD01020)));
    return img;
}

}  // namespace

std::vector<PictureAsset> editorButtonPictures()
{
    return {
        curveButton("linear", [](float f) { return f; }),
        curveButton("smoothstep", [](float f) { return smooth(f); }),
        curveButton("exponential", [](float f) { return smooth(f * f); }),
        curveButton("minexponential", [](float f) { return smooth(1 - (1 - f) * (1 - f)); }),
        endsButton("valval", End::Value, End::Value),
        endsButton("valzero", End::Value, End::Zero),
        endsButton("valone", End::Value, End::One),
        endsButton("zeroval", End::Zero, End::Value),
        endsButton("oneval", End::One, End::Value),
        endsButton("oneone", End::One, End::One),
        endsButton("zerozero", End::Zero, End::Zero),
        {"editor/button-play.png", FileKind::PngRgba, playIcon},
        {"editor/button-pause.png", FileKind::PngRgba, pauseIcon},
        {"editor/button-record.png", FileKind::PngRgba, recordIcon},
    };
}

}  // namespace zelFramework::content
