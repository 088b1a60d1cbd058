#include "intro_pictures.h"

#include <cmath>

#include "draw.h"
#include "noise.h"
#include "pictures_common.h"
#include "text.h"
#include "video_frames.h"

namespace zelFramework::scenegen {

using content::fillRect;
using content::fillRoundRect;
using content::hex;
using content::Image;
using content::rgb;
using content::solid;

Image paintGalleryFloor() {
    Image img = paintNoisy(256, 256, hex(0x2a2d35), hex(0x1d1f25), 8, 81);
    for (int i = 0; i < 4; ++i) fillRect(img, 0, i * 64.0f, 256, 2, solid(hex(0x3d4350)));
    return img;
}

Image paintGalleryWall() {
    Image img(256, 256, hex(0x262a36));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) fillRoundRect(img, x * 64 + 4.0f, y * 64 + 4.0f, 56, 56, 6, solid(hex(0x323848)));
    return img;
}

Image paintVideoWall() {
    const int w = 1024, h = 512;
    Image img(w, h);
    content::fillAll(img, content::linearGradient({0, 0}, hex(0x081030), {0, float(h)}, hex(0x2a3f8f)));
    // The stadium by night: the bowl, its floodlights and the pitch.
    std::vector<content::Vec2> bowl = {{0, 420}, {0, 280}, {200, 230}, {512, 215}, {824, 230}, {1024, 280}, {1024, 420}};
    content::fillPolygon(img, bowl, solid(hex(0x121626)));
    content::Rng rng(101);
    for (int i = 0; i < 2500; ++i) {
        float x = rng.uniform() * w, y = 240 + rng.uniform() * 170;
        content::fillCircle(img, x, y, 1.6f, solid(rng.uniform() < 0.1f ? rgb(1, 1, 1) : hex(0x3a5fd0)));
    }
    fillRect(img, 0, 400, w, 112, solid(hex(0x2f8d3a)));
    for (int i = 0; i < 11; ++i) fillRect(img, 40 + i * 95.0f, 400, 4, 112, solid(rgb(0.9f, 0.9f, 0.9f)));
    for (int i = 0; i < 4; ++i) {
        float x = 120 + i * 260.0f;
        fillRect(img, x - 3, 110, 6, 130, solid(hex(0x3a3d48)));
        content::fillCircle(img, x, 105, 22, content::radialGradient({x, 105}, 22, rgb(1, 1, 1), hex(0xffe9a0)));
    }
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 96;
    style.align = content::Align::Centre;
    content::drawText(img, "VEXIL 2000", w / 2.0f, 150, style, solid(rgb(1, 1, 1)));
    style.size = 40;
    fillRoundRect(img, w / 2.0f - 150, 170, 300, 54, 10, solid(hex(0xd01c28)));
    content::drawText(img, "LIVE TONIGHT", w / 2.0f, 212, style, solid(rgb(1, 1, 1)));
    return img;
}

Image paintMonitorFeeds() {
    Image img(768, 384, hex(0x000000));
    // Six small feeds: three stills of the clip, a waveform, a level meter and a schedule.
    const int frames[3] = {60, 95, 140};
    for (int i = 0; i < 3; ++i) {
        Image still = content::resized(paintVideoFrame(frames[i]), 248, 184);
        // Monitors run bright: lift the stills towards white a little.
        for (content::Rgba& p : still.pixels) p = content::mix(p, rgb(1, 1, 1), 0.25f);
        content::compose(img, still, i * 256 + 4, 4);
    }
    fillRect(img, 4, 196, 248, 184, solid(hex(0x05140a)));
    std::vector<content::Vec2> wave;
    for (int x = 0; x < 240; ++x) wave.push_back({8.0f + x, 288 + 50 * std::sin(x * 0.09f) * std::sin(x * 0.021f)});
    content::drawPolyline(img, wave, 2, solid(hex(0x48ff7a)));
    fillRect(img, 260, 196, 248, 184, solid(hex(0x101010)));
    for (int b = 0; b < 10; ++b) {
        float level = 0.3f + 0.6f * std::fabs(std::sin(b * 1.7f));
        fillRect(img, 272 + b * 23.0f, 372 - 160 * level, 16, 160 * level, solid(b < 7 ? hex(0x2fd05a) : hex(0xe8c21a)));
    }
    fillRect(img, 516, 196, 248, 184, solid(hex(0x0b1437)));
    content::TextStyle style;
    style.face = content::Face::MonoBold;
    style.size = 18;
    const char* lines[] = {"20:00 PRE-SHOW", "20:30 ARENA", "21:10 FEATURES", "21:40 FINAL", "22:30 CLOSE"};
    for (int i = 0; i < 5; ++i) content::drawText(img, lines[i], 528, 230 + i * 30.0f, style, solid(hex(0xffd54a)));
    return img;
}

Image paintMixingConsole() {
    Image img(512, 256, hex(0x3a3e48));
    content::Rng rng(111);
    for (int c = 0; c < 16; ++c) {
        float x = 12 + c * 31.0f;
        for (int r = 0; r < 4; ++r) {
            const uint32_t keys[] = {0xd01c28, 0x2fd05a, 0xe8c21a, 0xdddddd, 0x3060ff};
            fillRoundRect(img, x, 12 + r * 26.0f, 22, 18, 3, solid(hex(keys[rng.below(5)])));
        }
        fillRect(img, x + 9, 130, 4, 110, solid(hex(0x0a0a0c)));
        fillRoundRect(img, x + 2, 150 + rng.uniform() * 70, 18, 12, 2, solid(hex(0xc8c8c8)));
    }
    return img;
}

Image paintDarkPlastic() { return paintNoisy(64, 64, hex(0x1c1d22), hex(0x121317), 4, 121); }

Image paintDeskTop() { return paintNoisy(256, 128, hex(0x8a6c52), hex(0x66503d), 10, 131); }

Image paintOnAirSign() {
    Image img(256, 96, hex(0x3a0608));
    fillRoundRect(img, 6, 6, 244, 84, 10, solid(hex(0xe3202c)));
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 52;
    style.align = content::Align::Centre;
    content::drawText(img, "ON AIR", 128, 68, style, solid(rgb(1, 0.95f, 0.9f)));
    return img;
}

}  // namespace zelFramework::scenegen
