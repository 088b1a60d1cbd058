#include "tunnel_pictures.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "draw.h"
#include "noise.h"
#include "pictures_common.h"
#include "stadium_pictures.h"
#include "text.h"

namespace zelFramework::scenegen {

using content::fillRect;
using content::fillRoundRect;
using content::hex;
using content::Image;
using content::Rgba;
using content::rgb;
using content::solid;

Image paintTunnelWall() {
    Image img = paintNoisy(256, 256, hex(0x42454b), hex(0x2b2d32), 6, 61);
    // Riveted panels with two pipes running along.
    fillRect(img, 0, 0, 4, 256, solid(hex(0x24262b)));
    fillRect(img, 252, 0, 4, 256, solid(hex(0x24262b)));
    fillRect(img, 0, 60, 256, 14, solid(hex(0x7d6a4a)));
    fillRect(img, 0, 63, 256, 3, solid(hex(0xa99170)));
    fillRect(img, 0, 90, 256, 8, solid(hex(0x3d6d8a)));
    for (int i = 0; i < 8; ++i) content::fillCircle(img, 16 + i * 32.0f, 240, 3, solid(hex(0x8c9199)));
    fillRect(img, 0, 200, 256, 10, solid(hex(0xc9a227)));
    return img;
}

Image paintTunnelFloor() {
    Image img(256, 256, hex(0x2c2e33));
    for (int y = 0; y < 256; y += 16)
        for (int x = 0; x < 256; x += 16) fillRect(img, x + 2, y + 2, 12, 12, solid(hex(0x3b3e44)));
    fillRect(img, 120, 0, 16, 256, solid(hex(0xb8932a)));
    return img;
}

Image paintTunnelVault() {
    Image img = paintNoisy(256, 128, hex(0x4a4d54), hex(0x2e3035), 5, 62);
    fillRect(img, 0, 56, 256, 16, solid(hex(0x1c1d21)));
    return img;
}

Image paintTunnelLamp() {
    Image img(64, 64, hex(0x3a3a3a));
    content::fillCircle(img, 32, 32, 26, content::radialGradient({32, 32}, 26, rgb(1, 1, 0.95f), hex(0xffe3a0)));
    return img;
}

Image paintTvBody() { return paintNoisy(128, 128, hex(0x3b3632), hex(0x24201d), 6, 63); }

Image paintComputerScreen() {
    const int w = 320, h = 240;
    Image img(w, h, hex(0x7b71d8));
    fillRect(img, 24, 24, w - 48, h - 48, solid(hex(0x3f35a8)));
    content::TextStyle style;
    style.face = content::Face::MonoBold;
    style.size = 12;
    Rgba ink = hex(0x8d84ee);
    content::drawText(img, "  *** VELMORA 64 BASIC V2 ***", 30, 46, style, solid(ink));
    content::drawText(img, " 64K SYSTEM  38911 BYTES FREE", 30, 66, style, solid(ink));
    content::drawText(img, "READY.", 30, 92, style, solid(ink));
    content::drawText(img, "LOAD\"VEXIL\",8,1", 30, 108, style, solid(ink));
    content::drawText(img, "SEARCHING FOR VEXIL", 30, 124, style, solid(ink));
    content::drawText(img, "LOADING", 30, 140, style, solid(ink));
    content::drawText(img, "READY.", 30, 156, style, solid(ink));
    fillRect(img, 30, 162, 8, 10, solid(ink));
    return img;
}

Image paintTunnelRib() { return paintNoisy(64, 64, hex(0x4d5158), hex(0x33363b), 4, 65); }

Image paintBeige() { return paintNoisy(128, 128, hex(0xb9ad8f), hex(0xa0957a), 4, 64); }

Image paintArenaWall() {
    Image img = paintNoisy(256, 256, hex(0x9a9da3), hex(0x7b7e85), 8, 71);
    fillRect(img, 0, 150, 256, 40, solid(hex(0x1b3f8f)));
    fillRect(img, 0, 190, 256, 6, solid(hex(0xd01c28)));
    return img;
}

Image paintArenaFloor() {
    Image img = paintNoisy(256, 256, hex(0x2f3238), hex(0x24262b), 12, 72);
    fillRect(img, 0, 0, 14, 256, solid(hex(0xeeeeee)));
    fillRect(img, 242, 0, 14, 256, solid(hex(0xeeeeee)));
    return img;
}

Image paintArenaCeiling() {
    Image img = paintNoisy(256, 256, hex(0x55585e), hex(0x3f4247), 6, 73);
    fillRoundRect(img, 40, 96, 176, 64, 6, solid(rgb(1, 1, 0.96f)));
    return img;
}

Image paintArenaBanner(int variant) {
    const int w = 256, h = 512;
    const uint32_t colours[] = {0x1b3f8f, 0xd01c28, 0x111318};
    Image img(w, h, hex(colours[variant % 3]));
    fillRect(img, 0, 0, w, 18, solid(rgb(1, 1, 1)));
    fillRect(img, 0, h - 18, w, 18, solid(rgb(1, 1, 1)));
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 60;
    style.align = content::Align::Centre;
    const char* words[] = {"VEXIL", "2000", "GO!"};
    content::drawText(img, words[variant % 3], w / 2.0f, 230, style, solid(rgb(1, 1, 1)));
    content::strokeCircle(img, w / 2.0f, 360, 60, 10, solid(rgb(1, 1, 1)));
    return img;
}

namespace {

struct TexelBox {
    int x0, y0, x1, y1;
};

struct MowingStripes {
    float origin, width;  // in texels, across the picture
};

// Turf seen from the tunnel mouth, a texel to about 4 cm of pitch: mowing stripes, blades standing
// up (streaks a texel or two wide and a few tall), clumps a hand wide, paler worn patches, and
// divots where the earth shows through. The blade and clump shading are a few percent each, so the
// grass stays the one green of its stripe from afar and reads as grass where it fills the frame.
void paintTurf(Image& img, TexelBox box, MowingStripes stripes, uint32_t seed) {
    const Rgba light = hex(0x72e67d), dark = hex(0x5ccf67), worn = hex(0x9fc46a), soil = hex(0x6a5a3c);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const int stripe = int(std::floor((x + 0.5f - stripes.origin) / stripes.width));
            const Rgba base = (stripe & 1) ? light : dark;
            const float blade = content::valueNoise(x / 1.5f, y / 5.0f, seed);
            const float tuft = content::valueNoise(x / 3.5f, y / 5.5f, seed + 4);
            const float clump = content::fractalNoise(x / 16.0f, y / 10.0f, 2, seed + 1);
            const float wear = content::fractalNoise(x / 150.0f, y / 70.0f, 2, seed + 2);
            const float shade = 1.0f + 0.12f * (blade - 0.5f) + 0.2f * (tuft - 0.5f) + 0.2f * (clump - 0.5f);
            Rgba c = rgb(base.r * shade, base.g * shade, base.b * shade);
            const float paleness = std::clamp((wear - 0.6f) / 0.15f, 0.0f, 1.0f) * 0.3f;
            img.at(x, y) = content::mix(c, worn, paleness);
        }
    content::Rng rng(seed + 3);
    const int divots = (box.x1 - box.x0) * (box.y1 - box.y0) / 6000;
    for (int i = 0; i < divots; ++i) {
        const float cx = rng.range(float(box.x0), float(box.x1)), cy = rng.range(box.y0 + 4.0f, float(box.y1));
        const float rx = rng.range(2.0f, 5.0f), ry = rx * rng.range(0.35f, 0.6f);
        const Rgba under = img.at(int(cx), int(cy));
        content::fillEllipse(img, cx, cy, rx, ry, solid(content::mix(under, soil, 0.5f)));
    }
}

// One player of a line-up, `height` texels tall with the feet at (x, feet): helmet and shirt in the
// team's colour, trousers, socks, boots, and the shadow the floodlights throw at the feet.
void paintPlayer(Image& img, float x, float feet, float height, Rgba shirt, Rgba trousers) {
    const float u = height / 10.0f;
    content::fillEllipse(img, x, feet, 1.4f * u, 0.35f * u, solid(rgb(0, 0, 0, 0.35f)));
    fillRect(img, x - 0.8f * u, feet - 0.6f * u, 0.6f * u, 0.6f * u, solid(hex(0x111111)));
    fillRect(img, x + 0.2f * u, feet - 0.6f * u, 0.6f * u, 0.6f * u, solid(hex(0x111111)));
    fillRect(img, x - 0.8f * u, feet - 2.6f * u, 0.6f * u, 2.0f * u, solid(shirt));
    fillRect(img, x + 0.2f * u, feet - 2.6f * u, 0.6f * u, 2.0f * u, solid(shirt));
    fillRect(img, x - 0.9f * u, feet - 4.6f * u, 1.8f * u, 2.0f * u, solid(trousers));
    fillRect(img, x - 1.2f * u, feet - 8.0f * u, 2.4f * u, 3.5f * u, solid(shirt));
    content::fillCircle(img, x, feet - 8.9f * u, 0.9f * u, solid(shirt));
    fillRect(img, x - 0.4f * u, feet - 9.0f * u, 0.8f * u, 0.3f * u, solid(hex(0x1a1a1a)));
}

// The two teams lined up along the halfway line for the anthem, as the camera finds them a moment
// later in the stadium: home in blue and white on the left, away in red and black on the right.
void paintLineUps(Image& img, float scale) {
    const Rgba homeShirt = hex(0x1f4fd1), homeTrousers = hex(0xf2f2f2);
    const Rgba awayShirt = hex(0xd01c28), awayTrousers = hex(0x1b1b22);
    for (int i = 0; i < 11; ++i) {
        const float offset = (6.0f + i * 3.4f) * scale, feet = (196.0f + (i % 2) * 0.8f) * scale;
        paintPlayer(img, 256 * scale - offset, feet, 6.0f * scale, homeShirt, homeTrousers);
        paintPlayer(img, 256 * scale + offset, feet, 6.0f * scale, awayShirt, awayTrousers);
    }
}

}  // namespace

Image paintArenaView() {
    // Bright on purpose: only the soft viewer light reaches this far, so the picture carries the
    // floodlit look itself. As the camera reaches the mouth it fills most of the frame, about two
    // pixels of a 640-wide frame (four at 1280) to one of a 512 x 256 painting, so it is painted four
    // times as large: bands, pitch lines and mowing stripes get edges one texel wide. The crowd keeps
    // the soft speckle of the smaller painting: it is painted at that size and enlarged.
    const int scale = 4, w = 512, h = 256;
    Image small(w, h);
    content::fillAll(small, content::linearGradient({0, 0}, hex(0x3a4c9a), {0, 120}, hex(0x8fa0e0)));
    content::Rng rng(91);
    for (int y = 40; y < 180; ++y)
        for (int x = 0; x < w; ++x) {
            float n = rng.uniform();
            Rgba c = n < 0.45f ? hex(0x4f7fff) : (n < 0.7f ? hex(0xff5a64) : hex(0xffe8c8));
            if (n > 0.996f) c = rgb(1, 1, 1);
            small.at(x, y) = content::mix(small.at(x, y), c, 0.9f);
        }
    Image img = content::resized(small, w * scale, h * scale);
    auto rect = [&](float x, float y, float rw, float rh, Rgba c) {
        fillRect(img, x * scale, y * scale, rw * scale, rh * scale, solid(c));
    };
    // The balcony front of the upper ring and the pitch wall carry the stadium's LED boards, as
    // they do in the stadium itself.
    const Image boards = paintLedBoards();
    auto boardBand = [&](float y, float bandHeight, int shift) {
        const int th = int(bandHeight * scale), tw = boards.width * th / boards.height;
        const Image row = content::resized(boards, tw, th);
        for (int x = -shift; x < w * scale; x += tw) content::compose(img, row, x, int(y * scale));
    };
    boardBand(100, 6, 0);
    boardBand(176, 8, 160);
    // The turf, then the lines painted on it. The lines are 64 units (ten yards) apart, and the
    // mowing stripes run along them five yards wide, as on the stadium's own pitch.
    paintTurf(img, {0, 184 * scale, w * scale, h * scale}, {31.5f * scale, 32.0f * scale}, 92);
    for (int i = 0; i < 8; ++i) rect(i * 64.0f + 30, 184, 3, 72, rgb(1, 1, 1));
    // The hash marks of the stadium's own pitch, a yard apart between the lines: the far row shorter.
    for (int i = -4; i * 6.4f < w; ++i) {
        if (i % 10 == 0) continue;
        rect(30.5f + i * 6.4f, 192, 1, 3, rgb(0.95f, 0.95f, 0.95f));
        rect(30.5f + i * 6.4f, 209, 1, 5, rgb(0.95f, 0.95f, 0.95f));
    }
    paintLineUps(img, scale);
    for (int i = 0; i < 5; ++i) content::fillCircle(img, (40 + i * 108.0f) * scale, 24.0f * scale, 9.0f * scale, solid(rgb(1, 1, 1)));
    return img;
}

Image paintArenaSign() {
    // The stadium's broadcast backdrop in the shape of the sign over the mouth (120 x 24 units), so
    // its lettering is neither squashed nor read through a footprint five times longer than wide.
    // About 430 pixels wide on a 640-wide frame as the camera passes under it.
    return paintBroadcastSign({1020, 204, 24, -120, 104, 112, 160, 130, 54, 9, 40, 172});
}

}  // namespace zelFramework::scenegen
