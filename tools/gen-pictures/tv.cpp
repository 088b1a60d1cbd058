// The tunnel's television stands (a layered screen per stand) and the TV set's pictures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "brand.h"
#include "noise.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

constexpr int kTvW = 1024, kTvH = 578;  // the stands' quads are 1.77 : 1

const char* const kTopics[12] = {
    "NO BIGSCREENS, JUST LASERS", "QUANTUM COMPUTING COMPO", "8 PETABYTE INTRO COMPO", "DEMOSCENE FASHION SHOW",
    "400 DJs ON 1200 FLOORS",     "ORBITAL LAN",             "ZERO-G DANCEFLOOR",      "HOLOGRAM KARAOKE",
    "ROBOT CREW BARBECUE",        "SUBSONIC CHILL-OUT",      "THE 100-HOUR PARTY",     "STORMHALO FINALE",
};

Image standBackground()
{
    Image img(kTvW, kTvH);
    fillRoundRect(img, 0, 0, kTvW, kTvH, 30, solid(hex(0x15182A)));
    fillRoundRect(img, 26, 26, kTvW - 52, kTvH - 52, 16, linearGradient({0, 26}, hex(0x0C1A36), {0, kTvH - 26.0f}, hex(0x040814)));
    for (int x = 26; x < kTvW - 26; x += 48)
        fillRect(img, x, 26, 1, kTvH - 52, solid(withAlpha(palette::cyan, 0.12f)));
    for (int y = 26; y < kTvH - 26; y += 48)
        fillRect(img, 26, y, kTvW - 52, 1, solid(withAlpha(palette::cyan, 0.12f)));
    strokeRoundRect(img, 26, 26, kTvW - 52, kTvH - 52, 16, 3, solid(withAlpha(palette::cyan, 0.5f)));
    TextStyle small{Face::MonoBold, 22, 3, Align::Left};
    drawText(img, "SIGNAL OK", 48, kTvH - 44, small, solid(withAlpha(palette::cyan, 0.8f)));
    fillCircle(img, kTvW - 60, kTvH - 52, 8, solid(palette::kvtRed));
    return img;
}

Image standNumber(int d)
{
    Image img(kTvW, kTvH);
    char number[16];
    std::snprintf(number, sizeof number, "%02d", d + 1);
    TextStyle big{Face::SansBold, 220, 0, Align::Right};
    drawGlowingText(img, number, kTvW - 70.0f, 300, big, solid(withAlpha(palette::white, 0.95f)),
                    d % 2 ? palette::magenta : palette::cyan, 14, 1.2f);
    return img;
}

Image standCaption(int d)
{
    Image img(kTvW, kTvH);
    fillRect(img, 40, 400, kTvW - 80.0f, 96, solid(rgb(0, 0, 0, 0.75f)));
    fillRect(img, 40, 400, 12, 96, solid(d % 2 ? palette::magenta : palette::cyan));
    TextStyle caption{Face::SansBold, 46, 2, Align::Left};
    caption.size = fitSize(kTopics[d], caption, kTvW - 140.0f);
    drawText(img, kTopics[d], 72, 464, caption, solid(palette::white));
    return img;
}

Image tvIdent()
{
    Image img(kTvW, 576);
    fillAll(img, radialGradient({kTvW / 2.0f, 288}, 620, hex(0x2A5AD0), hex(0x060A24)));
    Image probe(8, 8);
    float w = drawLunavexWordmark(probe, 0, 0, 80, palette::white);
    drawLunavexWordmark(img, (kTvW - w) / 2, 320, 80, palette::white);
    TextStyle live{Face::SansBold, 40, 10, Align::Centre};
    drawText(img, "● LIVE FROM THE ARENA", kTvW / 2.0f, 440, live, solid(palette::white));
    return img;
}

// Broken-up broadcast frames: a picture torn by noise, line offsets and colour fringes.
Image damagedFrame(int variant)
{
    const int w = 512, h = 288;
    Image clean(w, h);
    if (variant == 0) {
        const Rgba bars[7] = {hex(0xC0C0C0), hex(0xC0C000), hex(0x00C0C0), hex(0x00C000),
                              hex(0xC000C0), hex(0xC00000), hex(0x0000C0)};
        for (int i = 0; i < 7; ++i)
            fillRect(clean, w * i / 7.0f, 0, w / 7.0f + 1, h, solid(bars[i]));
        TextStyle t{Face::SansBold, 44, 4, Align::Centre};
        fillRect(clean, 96, 110, 320, 70, solid(rgb(0, 0, 0, 0.85f)));
        drawText(clean, "NO SIGNAL", w / 2.0f, 162, t, solid(palette::white));
        return clean;
    }
    fillAll(clean, linearGradient({0, 0}, hex(0x2A0A40), {0, float(h)}, hex(0xFF6A2B)));
    Rng rng(1000 + variant);
    for (int i = 0; i < 40; ++i) {
        float x = rng.range(0, w), y = rng.range(h * 0.55f, h);
        fillCircle(clean, x, y, rng.range(4, 10), solid(hex(0x0A0410)));  // crowd heads
    }
    drawStormhaloMark(clean, w / 2.0f, 120, 70);
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        int shift = hash2(y / 6, variant, 5) > 0.8f ? static_cast<int>((hash2(y / 6, variant, 9) - 0.5f) * 80) : 0;
        for (int x = 0; x < w; ++x) {
            auto sample = [&](int sx) { return clean.at(std::clamp(sx, 0, w - 1), y); };
            Rgba p = sample(x + shift);
            p.r = sample(x + shift + 4).r;
            p.b = sample(x + shift - 4).b;
            float n = hash2(x, y, 77 + variant) - 0.5f;
            p.r += n * 0.35f;
            p.g += n * 0.35f;
            p.b += n * 0.35f;
            if (y % 2)
                p = mix(p, rgb(0, 0, 0), 0.25f);
            out.at(x, y) = p;
        }
    }
    return out;
}

Image finalTvFrame()
{
    // Shown for good from 173.1 s: the event's mark, clean.
    const int w = 512, h = 288;
    Image img(w, h);
    fillAll(img, radialGradient({w / 2.0f, h / 2.0f}, 320, hex(0x1A1050), hex(0x03040E)));
    drawStormhaloMark(img, w / 2.0f, 118, 72);
    TextStyle word{Face::SansBold, 46, 6, Align::Centre};
    drawText(img, "STORMHALO", w / 2.0f, 250, word, solid(palette::white));
    return img;
}

}  // namespace

std::vector<PictureAsset> tvPictures()
{
    std::vector<PictureAsset> list;
    list.push_back({"tv_background_details.png", FileKind::PngRgba, standBackground});
    for (int d = 0; d < 12; ++d) {
        list.push_back({"screen" + std::to_string(d) + "_0.png", FileKind::PngRgba, [d] { return standNumber(d); }});
        list.push_back({"screen" + std::to_string(d) + "_1.png", FileKind::PngRgba, [d] { return standCaption(d); }});
    }
    list.push_back({"tvscreen.JPG", FileKind::Jpeg, tvIdent});
    list.push_back({"tvscreen-1.jpg", FileKind::Jpeg, [] { return damagedFrame(0); }});
    list.push_back({"tvscreen-2.jpg", FileKind::Jpeg, [] { return damagedFrame(1); }});
    list.push_back({"tvscreen-3.jpg", FileKind::Jpeg, [] { return damagedFrame(2); }});
    list.push_back({"tvscreen-4.jpg", FileKind::Jpeg, finalTvFrame});
    list.push_back({"tvscreen-5.jpg", FileKind::Jpeg, [] { return damagedFrame(3); }});
    return list;
}

}  // namespace zelFramework::content
