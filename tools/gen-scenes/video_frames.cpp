#include "video_frames.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "draw.h"
#include "host_wardrobe.h"
#include "noise.h"
#include "text.h"

namespace zelFramework::scenegen {

using content::hex;
using content::Image;
using content::rgb;
using content::solid;

Image paintVideoFrame(int number) {
    const int size = 256;
    const float t = number / 10.0f;  // seconds into the clip
    Image img(size, size);
    // Evening sky drifting behind the action, with clouds scrolling left.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float v = y / float(size);
            content::Rgba sky = content::mix(hex(0x1b3f9e), hex(0xf08a3c), std::pow(v, 1.6f));
            float cloud = content::fractalNoise(x / 48.0f + t * 0.9f, y / 30.0f, 3, 9);
            cloud = std::max(0.0f, cloud - 0.55f) * 2.2f;
            img.at(x, y) = content::mix(sky, rgb(1, 0.92f, 0.85f), std::min(cloud, 1.0f) * (1 - v * 0.6f));
        }
    // Two searchlight beams sweeping across the sky.
    for (int b = 0; b < 2; ++b) {
        float angle = std::sin(t * 0.9f + b * 2.3f) * 0.9f + (b ? 0.35f : -0.35f);
        content::Vec2 foot{64.0f + b * 128, 110}, tip{foot.x + std::sin(angle) * 260, foot.y - std::cos(angle) * 260};
        content::drawLine(img, foot, tip, 26, solid(rgb(1, 0.95f, 0.75f, 0.35f)));
        content::drawLine(img, foot, tip, 9, solid(rgb(1, 1, 0.9f, 0.5f)));
    }
    // Stadium silhouette with its floodlights, and the pitch in front.
    content::fillRect(img, 0, 170, size, 86, solid(hex(0x1e7a34)));
    for (int i = 0; i < 8; ++i) content::fillRect(img, i * 32.0f, 170, 16, 86, solid(hex(0x23893b)));
    std::vector<content::Vec2> bowl = {{0, 170}, {0, 120}, {60, 105}, {128, 100}, {196, 105}, {256, 120}, {256, 170}};
    content::fillPolygon(img, bowl, solid(hex(0x14161f)));
    for (int i = 0; i < 4; ++i) {
        float x = 30 + i * 65.0f;
        content::fillRect(img, x - 1.5f, 70, 3, 40, solid(hex(0x3a3d48)));
        float flicker = 0.75f + 0.25f * std::sin(t * 7 + i * 2.1f);
        content::fillCircle(img, x, 68, 6, solid(rgb(1, 0.97f, 0.8f * flicker)));
    }
    // A ball kicked back and forth in arcs, spinning as it flies.
    float phase = std::fmod(t * 0.55f, 2.0f);
    float f = phase < 1 ? phase : 2 - phase;
    float bx = 30 + f * 196, by = 175 - 130 * 4 * f * (1 - f);
    content::fillEllipse(img, bx, 178 + 6, 16 - 5 * (1 - by / 175), 4, solid(rgb(0, 0, 0, 0.35f)));
    content::fillEllipse(img, bx, by, 21, 13, solid(hex(0x8a4318)));
    float spin = t * 9;
    content::drawLine(img, {bx - 13 * std::cos(spin), by - 8 * std::sin(spin)},
                      {bx + 13 * std::cos(spin), by + 8 * std::sin(spin)}, 3, solid(rgb(1, 1, 1)));
    // Two players running, legs swinging.
    for (int p = 0; p < 2; ++p) {
        float px = std::fmod(40 + t * (40 + p * 23) + p * 110, 300.0f) - 20, py = 222 + p * 14;
        content::Rgba kit = p ? hex(0xd01c28) : hex(0x1f4fd1);
        content::fillRoundRect(img, px - 7, py - 30, 14, 22, 4, solid(kit));
        content::fillCircle(img, px, py - 36, 6, solid(hex(0xe0b08a)));
        float swing = std::sin(t * 12 + p) * 7;
        content::drawLine(img, {px - 3, py - 8}, {px - 3 + swing, py + 8}, 4, solid(hex(0xf2f2f2)));
        content::drawLine(img, {px + 3, py - 8}, {px + 3 - swing, py + 8}, 4, solid(hex(0xf2f2f2)));
    }
    // Broadcast graphics: a LIVE badge, a score bug and a ticker that scrolls every picture.
    content::TextStyle style;
    style.face = content::Face::SansBold;
    style.size = 16;
    content::fillRoundRect(img, 8, 8, 50, 22, 4, solid(hex(0xd01c28)));
    content::drawText(img, "LIVE", 14, 25, style, solid(rgb(1, 1, 1)));
    content::fillRoundRect(img, 150, 8, 98, 22, 4, solid(rgb(0, 0, 0, 0.6f)));
    char score[32];
    std::snprintf(score, sizeof score, "VXL %d-%d", number / 40, (number + 17) / 50);
    content::drawText(img, score, 158, 25, style, solid(rgb(1, 1, 1)));
    content::fillRect(img, 0, 236, size, 20, solid(hex(0x0b1437)));
    const std::string ticker = "TABOR & PIMSEL LIVE FROM VEXIL 2000  +++  ";
    float scroll = std::fmod(number * 9.0f, 360.0f);
    style.size = 14;
    for (int k = -1; k < 2; ++k) content::drawText(img, ticker, 4 - scroll + k * 360.0f, 251, style, solid(hex(0xffd54a)));
    char code[32];
    std::snprintf(code, sizeof code, "00:%02d:%02d", (number / 10) % 60, (number % 10) * 2 + 1);
    style.size = 12;
    content::drawText(img, code, 184, 46, style, solid(rgb(1, 1, 1, 0.85f)));
    return img;
}

std::vector<PictureJob> videoFrameJobs() {
    std::vector<PictureJob> jobs;
    auto add = [&](int n) {
        char name[64];
        std::snprintf(name, sizeof name, "video\\Tabor_Pimsel_%05d.png", n);
        jobs.push_back({name, [n] { return paintHostPicture(paintVideoFrame(n)); }});
    };
    add(1);
    for (int n = 58; n <= 174; ++n) add(n);
    return jobs;
}

}  // namespace zelFramework::scenegen
