// The closing picture: the stadium at night, a turning halo, thanks, credits and the last word.
#include <cmath>

#include "brand.h"
#include "noise.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

constexpr float kCx = kSlideW / 2.0f;

Image nightStadium()
{
    Image img(kSlideW, kSlideH);
    fillStudioBackdrop(img, hex(0x0B0A2A), hex(0x3A1A4A), 31);
    Rng rng(90);
    for (int i = 0; i < 220; ++i) {
        float x = rng.range(0, kSlideW), y = rng.range(0, 420), r = rng.range(0.8f, 2.2f);
        fillCircle(img, x, y, r, solid(withAlpha(palette::white, rng.range(0.3f, 0.9f))));
    }
    // Bowl silhouette with floodlight masts.
    std::vector<Vec2> bowl = {{0, 842}, {0, 640}};
    for (int i = 0; i <= 40; ++i) {
        float t = i / 40.0f;
        bowl.push_back({t * kSlideW, 600 + 60 * std::pow(2 * t - 1, 2.0f)});
    }
    bowl.push_back({float(kSlideW), 842});
    fillPolygon(img, bowl, solid(hex(0x05040C)));
    // Floodlight masts at the sides, clear of the centred titles.
    for (float mx : {150.f, 480.f, 1440.f, 1770.f}) {
        fillRect(img, mx - 4, 500, 8, 140, solid(hex(0x05040C)));
        fillRect(img, mx - 40, 480, 80, 26, solid(hex(0x05040C)));
        Image glow(kSlideW, kSlideH);
        fillRect(glow, mx - 36, 484, 72, 16, solid(palette::white));
        addGlow(img, glow, palette::gold, 30, 2.0f);
        fillRect(img, mx - 36, 484, 72, 16, solid(hex(0xFFF6DC)));
    }
    return img;
}

Image turningHalo()
{
    // A card turning about its centre, mostly off to the lower right: rays and a ring.
    const int n = 1024;
    const float c = n / 2.0f;
    Image img(n, n);
    for (int k = 0; k < 24; ++k) {
        float a0 = k * 6.2831853f / 24, a1 = a0 + 0.1f;
        fillPolygon(img, {{c, c}, {c + 520 * std::cos(a0), c + 520 * std::sin(a0)}, {c + 520 * std::cos(a1), c + 520 * std::sin(a1)}},
                    radialGradient({c, c}, 500, withAlpha(palette::gold, 0.35f), withAlpha(palette::magenta, 0)));
    }
    strokeCircle(img, c, c, 300, 10, solid(withAlpha(palette::cyan, 0.6f)));
    return img;
}

Image thankYou()
{
    Image img(kSlideW, kSlideH);
    drawStormhaloMark(img, kCx, 210, 110);
    TextStyle big{Face::SansBold, 110, 14, Align::Centre};
    big.size = fitSize("THANK YOU FOR WATCHING", big, kSlideW - 160.0f);
    drawGlowingText(img, "THANK YOU FOR WATCHING", kCx, 440, big, solid(palette::white), palette::magenta, 16, 1.2f);
    return img;
}

Image closingCredits()
{
    Image img(kSlideW, kSlideH);
    fillRect(img, 0, 700, kSlideW, 142, linearGradient({0, 700}, rgb(0, 0, 0, 0), {0, 760}, rgb(0, 0, 0, 0.7f)));
    TextStyle line{Face::Sans, 38, 4, Align::Centre};
    drawText(img, "a broadcast of LUNAVEX × KVT  ·  made with the Orvo show engine", kCx, 800, line,
             solid(withAlpha(palette::white, 0.9f)));
    return img;
}

Image lastWord(const char* text, Rgba colour)
{
    Image img(kSlideW, kSlideH);
    TextStyle word{Face::SansBold, 84, 18, Align::Centre};
    drawGlowingText(img, text, kCx, 600, word, solid(colour), colour, 14, 0.8f);
    return img;
}

}  // namespace

std::vector<PictureAsset> endScreenPictures()
{
    return {
        {"Endscreen/endscreen_l1.png", FileKind::PngRgba, nightStadium},
        {"Endscreen/endscreen_l2.png", FileKind::PngRgba, turningHalo},
        {"Endscreen/endscreen_l3.png", FileKind::PngRgba, thankYou},
        {"Endscreen/endscreen_l4.png", FileKind::PngRgba, closingCredits},
        // Shown from 179.221 s to the end.
        {"Endscreen/endscreen_l5.png", FileKind::PngRgba, [] { return lastWord("SEE YOU IN 2091", palette::gold); }},
        // Shown before that.
        {"Endscreen/endscreen_l6.png", FileKind::PngRgba, [] { return lastWord("STAY TUNED", palette::cyan); }},
    };
}

}  // namespace zelFramework::content
