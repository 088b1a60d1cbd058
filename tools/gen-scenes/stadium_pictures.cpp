#include "stadium_pictures.h"

#include <algorithm>
#include <cmath>

#include "draw.h"
#include "noise.h"
#include "pictures_common.h"
#include "text.h"

namespace zelFramework::scenegen {

using content::fillCircle;
using content::fillRect;
using content::fillRoundRect;
using content::hex;
using content::Image;
using content::Rgba;
using content::rgb;
using content::solid;

namespace {

const Rgba kShirts[] = {hex(0xd8262f), hex(0x1f4fd1), hex(0xf2f2f2), hex(0xf3c21b), hex(0x1b1b22),
                        hex(0x2f9e44), hex(0xe86a1a), hex(0x8b2fc9), hex(0x0f7f8f), hex(0xc9c9c9)};
const Rgba kSkins[] = {hex(0xf1c9a5), hex(0xd9a47c), hex(0xa86f4c), hex(0x6e4630), hex(0xe8b896)};

void paintSpectator(Image& img, float cx, float baseY, float scale, content::Rng& rng) {
    Rgba shirt = kShirts[rng.below(10)];
    Rgba skin = kSkins[rng.below(5)];
    float w = 34 * scale, h = 52 * scale;
    fillRoundRect(img, cx - w / 2, baseY - h, w, h + 4, 10 * scale, solid(shirt));
    if (rng.uniform() < 0.3f) {  // an arm up, cheering or holding a phone
        float side = rng.uniform() < 0.5f ? -1.0f : 1.0f;
        content::drawLine(img, {cx + side * w * 0.4f, baseY - h * 0.8f},
                          {cx + side * w * 0.55f, baseY - h * 1.55f}, 7 * scale, solid(shirt));
        fillCircle(img, cx + side * w * 0.56f, baseY - h * 1.6f, 5 * scale, solid(skin));
    }
    float headR = 12 * scale;
    fillCircle(img, cx, baseY - h - headR * 0.8f, headR, solid(skin));
    if (rng.uniform() < 0.6f) {  // hair or a cap
        Rgba hair = rng.uniform() < 0.3f ? shirt : content::mix(hex(0x2a1c12), hex(0xc8a060), rng.uniform() * 0.5f);
        content::fillEllipse(img, cx, baseY - h - headR * 1.3f, headR * 1.02f, headR * 0.55f, solid(hair));
    }
}

}  // namespace

Image paintCrowdAtlas() {
    Image img(1024, 512, hex(0x34466e));
    content::Rng rng(2000);
    for (int cell = 0; cell < 8; ++cell) {
        float x0 = (cell % 2) * 512.0f, y0 = (cell / 2) * 128.0f;
        // Seat backs behind the people, in the bowl's blue with a red block now and then.
        Rgba seat = cell % 3 == 0 ? hex(0xc42a36) : hex(0x2f62d8);
        fillRect(img, x0, y0 + 70, 512, 58, solid(seat));
        fillRect(img, x0, y0 + 120, 512, 8, solid(hex(0x1b2030)));
        for (int p = 0; p < 9; ++p) {
            if (rng.uniform() < 0.08f) continue;  // an empty seat
            float cx = x0 + 28 + p * 57 + rng.range(-6, 6);
            paintSpectator(img, cx, y0 + 124, rng.range(0.95f, 1.1f), rng);
        }
    }
    return img;
}

Image paintSeatRow() {
    Image img(256, 64, hex(0x26304a));
    for (int i = 0; i < 8; ++i) fillRoundRect(img, 4 + i * 32, 8, 26, 40, 5, solid(hex(0x3566d8)));
    fillRect(img, 0, 56, 256, 8, solid(hex(0x6b6e76)));
    return img;
}

Image paintConcrete() { return paintNoisy(256, 256, hex(0xb4b4b0), hex(0x8a8b8e), 8, 11); }

Image paintStairs() {
    Image img = paintNoisy(128, 128, hex(0x9a9a96), hex(0x6d6d6f), 4, 12);
    fillRect(img, 0, 0, 128, 10, solid(hex(0xe8c21a)));
    return img;
}

Image paintLedBoards() {
    Image img(1024, 64, hex(0x05060a));
    struct Board {
        const char* text;
        uint32_t bg, fg;
    };
    const Board boards[] = {{"VEXIL 2000", 0x0b2a7a, 0xffffff}, {"SUPER FINAL", 0xd01c28, 0xffffff},
                            {"LIVE", 0xffffff, 0xd01c28}, {"ORVO", 0x18c26a, 0x04130a}};
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.align = content::Align::Centre;
    for (int i = 0; i < 4; ++i) {
        float x = i * 256.0f;
        fillRect(img, x + 3, 4, 250, 56, solid(hex(boards[i].bg)));
        style.size = 40;
        style.size = content::fitSize(boards[i].text, style, 230);
        content::drawText(img, boards[i].text, x + 128, 46, style, solid(hex(boards[i].fg)));
    }
    return img;
}

Image paintConcourse() {
    // The galleries' back walls: tiers of hospitality boxes behind glass, most of them lit, seen
    // stretched tall on the walls, so the picture holds many small rows.
    Image img(256, 512, hex(0x24262c));
    content::Rng rng(77);
    for (int row = 0; row < 8; ++row) {
        float y = 8 + row * 63.0f;
        fillRect(img, 0, y + 50, 256, 6, solid(hex(0x3a3d44)));  // the floor slab of each level
        for (int col = 0; col < 3; ++col) {
            float x = 6 + col * 84.0f;
            bool lit = rng.uniform() < 0.7f;
            Rgba glass = lit ? content::mix(hex(0xd9a85a), hex(0xf3d9a4), rng.uniform()) : hex(0x2f3a4e);
            fillRect(img, x, y, 76, 46, solid(glass));
            fillRect(img, x + 37, y, 2, 46, solid(hex(0x1a1b1f)));
            if (lit && rng.uniform() < 0.6f) {  // someone at the window
                float px = x + 10 + rng.uniform() * 50;
                content::fillCircle(img, px, y + 20, 5, solid(hex(0x3b2a20)));
                content::fillRoundRect(img, px - 7, y + 26, 14, 20, 4, solid(hex(0x4a3a32)));
            }
        }
    }
    return img;
}

Image paintFootballPitch() {
    const int w = 1024, h = 512;
    Image img(w, h);
    // Mowing stripes, then the end zones, the yard lines every 10 yards and the hash marks.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int stripe = (x * 24 / w) % 2;
            float n = content::fractalNoise(x / 40.0f, y / 40.0f, 3, 5);
            Rgba g = stripe ? hex(0x45a64a) : hex(0x54bd58);
            img.at(x, y) = content::mix(g, hex(0x3a8a3e), n * 0.5f);
        }
    const float endZone = w / 12.0f;
    fillRect(img, 0, 0, endZone, h, solid(hex(0x183a8c)));
    fillRect(img, w - endZone, 0, endZone, h, solid(hex(0xa8161f)));
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 56;
    style.align = content::Align::Centre;
    for (int i = 0; i < 5; ++i) {
        content::drawText(img, std::string(1, "VEXIL"[i]), endZone / 2, 110 + i * 75, style, solid(rgb(1, 1, 1)));
        content::drawText(img, std::string(1, "2000!"[i]), w - endZone / 2, 110 + i * 75, style,
                          solid(rgb(1, 1, 1)));
    }
    for (int i = 0; i <= 10; ++i) {
        float x = endZone + i * (w - 2 * endZone) / 10;
        fillRect(img, x - 2, 6, 4, h - 12, solid(rgb(0.95f, 0.95f, 0.95f)));
    }
    for (int i = 0; i <= 100; ++i) {
        float x = endZone + i * (w - 2 * endZone) / 100;
        fillRect(img, x - 1, h * 0.36f, 2, 8, solid(rgb(0.95f, 0.95f, 0.95f)));
        fillRect(img, x - 1, h * 0.64f - 8, 2, 8, solid(rgb(0.95f, 0.95f, 0.95f)));
    }
    content::strokeRoundRect(img, 3, 3, w - 6, h - 6, 2, 5, solid(rgb(1, 1, 1)));
    // The midfield logo.
    content::strokeCircle(img, w / 2.0f, h / 2.0f, 60, 8, solid(rgb(1, 1, 1)));
    style.size = 34;
    content::drawText(img, "V2K", w / 2.0f, h / 2.0f + 12, style, solid(rgb(1, 1, 1)));
    return img;
}

Image paintApron() { return paintNoisy(256, 256, hex(0x9a4436), hex(0x74342a), 10, 21); }

Image paintRoofPanels() {
    Image img = paintNoisy(256, 256, hex(0x9ea4ad), hex(0x6f757e), 6, 31);
    for (int i = 0; i < 4; ++i) fillRect(img, 0, i * 64.0f, 256, 3, solid(hex(0x3a3e45)));
    return img;
}

Image paintSteel() { return paintNoisy(64, 64, hex(0xb7bcc4), hex(0x8a9099), 4, 41); }

Image paintFloodlightLamps() {
    Image img(256, 128, hex(0x1a1c22));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 8; ++c) {
            float cx = 16 + c * 32.0f, cy = 16 + r * 32.0f;
            fillCircle(img, cx, cy, 13, solid(hex(0x8f8f80)));
            fillCircle(img, cx, cy, 10, content::radialGradient({cx, cy}, 10, rgb(1, 1, 1), hex(0xfff1b8)));
        }
    return img;
}

Image paintStageFloor() {
    Image img = paintNoisy(256, 256, hex(0x22252e), hex(0x15171d), 6, 51);
    for (int i = 0; i <= 4; ++i) {
        fillRect(img, i * 64.0f - 1, 0, 2, 256, solid(hex(0x3b6fd8)));
        fillRect(img, 0, i * 64.0f - 1, 256, 2, solid(hex(0x3b6fd8)));
    }
    return img;
}

Image paintBroadcastSign(const BroadcastSignLayout& l) {
    Image img(l.width, l.height);
    const float w = float(l.width), h = float(l.height);
    content::fillAll(img, content::linearGradient({0, 0}, hex(0x0d1d52), {0, h}, hex(0x051033)));
    for (int i = 0; i < l.stripes; ++i)
        content::drawLine(img, {i * 48 + l.firstStripe, h}, {i * 48 + l.firstStripe + 140, 0}, 10,
                          solid(rgb(0.12f, 0.25f, 0.6f, 0.6f)));
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = l.titleSize;
    style.align = content::Align::Centre;
    content::drawText(img, "VEXIL 2000", w / 2.0f, l.titleBaseline, style, solid(rgb(1, 1, 1)));
    style.size = l.liveSize;
    fillRoundRect(img, w / 2.0f - l.badgeWidth / 2, l.badgeTop, l.badgeWidth, l.badgeHeight, l.badgeRadius,
                  solid(hex(0xd01c28)));
    content::drawText(img, "LIVE", w / 2.0f, l.liveBaseline, style, solid(rgb(1, 1, 1)));
    return img;
}

Image paintBroadcastBackdrop() { return paintBroadcastSign({512, 256, 12, -80, 64, 120, 140, 150, 44, 8, 30, 184}); }

Image paintTeamKit(uint32_t shirt, uint32_t trousers) {
    const int w = 128, h = 256;
    Image img(w, h, hex(shirt));
    // Rows by height on the figure: the head (helmet) is the top 12 %, then the shirt down to the
    // hips (about 50 %), trousers to the knees, socks and boots.
    fillRect(img, 0, 0, w, h * 0.12f, solid(hex(shirt)));
    fillRect(img, w * 0.42f, h * 0.05f, w * 0.16f, h * 0.06f, solid(hex(0x1a1a1a)));  // face guard
    fillRect(img, 0, h * 0.5f, w, h * 0.25f, solid(hex(trousers)));
    fillRect(img, 0, h * 0.75f, w, h * 0.2f, solid(hex(shirt)));
    fillRect(img, 0, h * 0.95f, w, h * 0.05f, solid(hex(0x111111)));
    fillRect(img, 0, h * 0.42f, w, h * 0.03f, solid(hex(trousers)));
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 30;
    style.align = content::Align::Centre;
    content::drawText(img, "20", w * 0.5f, h * 0.36f, style, solid(hex(trousers)));
    content::drawText(img, "20", 8, h * 0.36f, style, solid(hex(trousers)));
    return img;
}

}  // namespace zelFramework::scenegen
