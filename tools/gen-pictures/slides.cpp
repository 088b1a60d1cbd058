// Build-up slides 3 to 6: the network's message, its logo, the credits and the message for the viewer.
#include <cmath>

#include "brand.h"
#include "noise.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

constexpr float kCx = kSlideW / 2.0f, kCy = kSlideH / 2.0f;

// A flying panel of the message slide; its card keeps the given aspect, so the picture does too.
Image messagePanel(int w, int h, const char* header, const std::vector<std::string>& lines, Rgba accent)
{
    Image img(w, h);
    fillRoundRect(img, 0, 0, w, h, 28, linearGradient({0, 0}, hex(0x131A3A, 0.94f), {0, float(h)}, hex(0x060814, 0.94f)));
    strokeRoundRect(img, 4, 4, w - 8, h - 8, 26, 6, solid(withAlpha(accent, 0.9f)));
    fillRoundRect(img, 4, 4, w - 8, 130, 26, solid(accent));
    fillRect(img, 4, 100, w - 8, 34, solid(accent));
    TextStyle head{Face::SansBold, 70, 8, Align::Centre};
    head.size = fitSize(header, head, w - 80.0f);
    drawText(img, header, w / 2.0f, 98, head, solid(palette::white));
    TextStyle body{Face::SansBold, 64, 2, Align::Centre};
    float y = 260;
    for (const std::string& line : lines) {
        TextStyle s = body;
        s.size = fitSize(line, body, w - 90.0f);
        drawText(img, line, w / 2.0f, y, s, solid(palette::white));
        y += s.size * 1.45f;
    }
    return img;
}

// The near card is mostly covered by the far one (drawn after it), so it carries the header and a picture;
// the far card, always in view, carries the words.
Image messageNewsflash()
{
    const int w = 972, h = 800;
    Image img = messagePanel(w, h, "KVT NEWSFLASH", {}, palette::kvtRed);
    // Broadcast arcs over a crowd of heads and raised arms.
    for (int i = 0; i < 4; ++i)
        fillArc(img, w / 2.0f, 560, 120.0f + 70 * i, 10, 0.5f, 2.64f, solid(withAlpha(palette::kvtRed, 0.7f - 0.12f * i)));
    Rng rng(117);
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 14; ++k) {
            float x = 40 + k * 68 + rng.range(-12, 12) + row * 30, y = 600 + row * 45.0f;
            Rgba c = mix(hex(0x2A3260), hex(0x0A0E22), row / 2.0f);
            fillCircle(img, x, y, 20, solid(c));
            fillRoundRect(img, x - 30, y + 16, 60, 80, 24, solid(c));
            if (rng.uniform() > 0.7f)
                drawLine(img, {x + 18, y + 20}, {x + 40, y - 50}, 10, solid(c));
        }
    TextStyle tag{Face::SansBold, 40, 8, Align::Centre};
    fillRect(img, 40, h - 110, w - 80.0f, 64, solid(rgb(0, 0, 0, 0.7f)));
    drawText(img, "LIVE FROM THE ARENA", w / 2.0f, h - 62, tag, solid(palette::white));
    return img;
}

Image messageAudience()
{
    return messagePanel(1355, 800, "BREAKING NEWS",
                        {"The crowd is ready.", "8.4 billion viewers", "212 countries", "3 orbital stations"},
                        palette::kvtBlue);
}

Image messageHeadline()
{
    Image img(kSlideW, kSlideH);
    fillRoundRect(img, 1190, 200, 700, 430, 16, solid(rgb(0, 0, 0, 0.55f)));
    TextStyle big{Face::SansBold, 92, 4, Align::Right};
    drawGlowingText(img, "WE", 1850, 320, big, solid(palette::white), palette::kvtRed, 12);
    drawGlowingText(img, "INTERRUPT", 1850, 420, big, solid(palette::white), palette::kvtRed, 12);
    drawGlowingText(img, "THIS SHOW", 1850, 520, big, solid(palette::white), palette::kvtRed, 12);
    TextStyle sub{Face::Sans, 40, 3, Align::Right};
    drawText(img, "for something louder", 1850, 590, sub, solid(palette::gold));
    return img;
}

Image messageLowerThird()
{
    Image img(kSlideW, kSlideH);
    fillRect(img, 1190, 650, 700, 60, solid(palette::kvtRed));
    TextStyle tag{Face::SansBold, 36, 8, Align::Left};
    drawText(img, "KVT · ARENA DESK", 1215, 694, tag, solid(palette::white));
    return img;
}

Image logoSunburst()
{
    Image img(kSlideW, kSlideH);
    fillAll(img, radialGradient({kCx, kCy}, 1100, hex(0x2A3A9A), hex(0x05061A)));
    const Rgba rays[3] = {palette::kvtRed, palette::gold, palette::kvtBlue};
    for (int k = 0; k < 36; ++k) {
        float a0 = k * 6.2831853f / 36, a1 = a0 + 0.07f;
        float R = 1400;
        fillPolygon(img, {{kCx, kCy}, {kCx + R * std::cos(a0), kCy + R * std::sin(a0)}, {kCx + R * std::cos(a1), kCy + R * std::sin(a1)}},
                    radialGradient({kCx, kCy}, 1000, withAlpha(rays[k % 3], 0.55f), withAlpha(rays[k % 3], 0.0f)));
    }
    return img;
}

Image logoBadge()
{
    Image img(kSlideW, kSlideH);
    Image shape(kSlideW, kSlideH);
    drawKvtBadge(shape, kCx - kvtBadgeWidth(320) / 2, 180, 320);
    addGlow(img, shape, palette::white, 30, 1.2f);
    drawKvtBadge(img, kCx - kvtBadgeWidth(320) / 2, 180, 320);
    TextStyle sub{Face::SansBold, 56, 14, Align::Centre};
    drawShadowedText(img, "THE NETWORK OF THE STADIUM", kCx, 610, sub, palette::white, 4);
    return img;
}

Image creditsStrip()
{
    // Seen through a moving perspective camera; the middle two thirds are always on screen.
    const int w = 2850, h = 800;
    Image img(w, h);
    fillRoundRect(img, 0, 0, w, h, 30, solid(hex(0x070B1E, 0.92f)));
    strokeRoundRect(img, 6, 6, w - 12, h - 12, 26, 5, solid(withAlpha(palette::cyan, 0.8f)));
    TextStyle title{Face::SansBold, 64, 16, Align::Centre};
    drawGlowingText(img, "STORMHALO 2090 · CREDITS", w / 2.0f, 130, title, solid(palette::white), palette::cyan, 10);
    struct Credit {
        const char* role;
        const char* who;
    };
    const Credit credits[8] = {
        {"DIRECTION", "the Orvo project"},       {"SHOW ENGINE", "Orvo runtime"},
        {"RENDERING", "Orvo render engine"},     {"SOUNDTRACK", "Orvo synthesiser · 174 bpm"},
        {"PICTURES", "Orvo picture painter"},    {"3-D SCENES", "Orvo scene team"},
        {"CURVES & TIMING", "Orvo sync"},        {"BROADCAST", "LUNAVEX × KVT"},
    };
    float colW = 1800 / 4.0f, x0 = w / 2.0f - 900;
    for (int i = 0; i < 8; ++i) {
        float x = x0 + colW * (i % 4) + colW / 2, y = 330 + 230 * (i / 4);
        TextStyle role{Face::SansBold, 34, 8, Align::Centre};
        drawText(img, credits[i].role, x, y, role, solid(palette::cyan));
        TextStyle who{Face::Sans, 46, 0, Align::Centre};
        who.size = fitSize(credits[i].who, who, colW - 30);
        drawText(img, credits[i].who, x, y + 64, who, solid(palette::white));
    }
    TextStyle foot{Face::Sans, 34, 4, Align::Centre};
    drawText(img, "no bigscreens were harmed in the making of this broadcast", w / 2.0f, h - 50, foot,
             solid(withAlpha(palette::gold, 0.9f)));
    return img;
}

Image creditsFlicker()
{
    // Drawn over the strip with a flickering alpha and a jitter: scan lines and a corner tag.
    Image img(kSlideW, kSlideH);
    for (int y = 0; y < kSlideH; y += 6)
        fillRect(img, 0, y, kSlideW, 2, solid(rgb(0, 0, 0, 0.18f)));
    for (auto [x, y, dx, dy] : {std::tuple{60.f, 120.f, 1.f, 1.f}, std::tuple{1860.f, 120.f, -1.f, 1.f},
                                std::tuple{60.f, 780.f, 1.f, -1.f}, std::tuple{1860.f, 780.f, -1.f, -1.f}}) {
        drawLine(img, {x, y}, {x + 80 * dx, y}, 5, solid(withAlpha(palette::cyan, 0.9f)));
        drawLine(img, {x, y}, {x, y + 80 * dy}, 5, solid(withAlpha(palette::cyan, 0.9f)));
    }
    TextStyle tag{Face::MonoBold, 30, 4, Align::Left};
    drawText(img, "REC ● KVT ARCHIVE", 90, 170, tag, solid(withAlpha(palette::kvtRed, 0.95f)));
    return img;
}

Image messageForYou()
{
    // Scaled up from 1 toward 2 during the last slide before the drop: keep it centred and compact.
    Image img(kSlideW, kSlideH);
    TextStyle small{Face::Sans, 54, 16, Align::Centre};
    drawShadowedText(img, "and now, a message for you:", kCx, 330, small, palette::cyan);
    TextStyle big{Face::SansBold, 150, 10, Align::Centre};
    drawGlowingText(img, "TURN IT UP", kCx, 500, big, linearGradient({0, 380}, palette::white, {0, 500}, palette::gold),
                    palette::magenta, 22, 1.4f);
    return img;
}

}  // namespace

std::vector<PictureAsset> slidePictures()
{
    return {
        {"03-KVTMessage/message_slide_l1.png", FileKind::PngRgba, messageNewsflash},
        {"03-KVTMessage/message_slide_l2.png", FileKind::PngRgba, messageAudience},
        {"03-KVTMessage/message_slide_l3.png", FileKind::PngRgba, messageHeadline},
        {"03-KVTMessage/message_slide_l4.png", FileKind::PngRgba, messageLowerThird},
        {"04-KVTLogo/kvt_logo_slide_l1.png", FileKind::PngRgba, logoSunburst},
        {"04-KVTLogo/kvt_logo_slide_l2.png", FileKind::PngRgba, logoBadge},
        {"05-Credits/groups_slide_l1.png", FileKind::PngRgba, creditsStrip},
        {"05-Credits/groups_slide_l2.png", FileKind::PngRgba, creditsFlicker},
        {"06-MessageForYou/message_for_you_l1.png", FileKind::PngRgba, messageForYou},
    };
}

}  // namespace zelFramework::content
