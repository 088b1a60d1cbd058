#pragma once
// The show's visual identity: one palette, the picture size, and the marks of the channel (LUNAVEX), the
// network (KVT), the event (STORMHALO) and the host (GRALLE), drawn the same way wherever they appear.
#include <string>

#include "draw.h"
#include "text.h"

namespace zelFramework::content {

// Full-picture layers are authored at the overlay's own coordinate size, 2.28 : 1.
constexpr int kSlideW = 1920;
constexpr int kSlideH = 842;

namespace palette {
inline const Rgba night = hex(0x070B1E);
inline const Rgba navy = hex(0x0E1A44);
inline const Rgba violet = hex(0x3A1C6E);
inline const Rgba cyan = hex(0x2FE3FF);
inline const Rgba magenta = hex(0xFF3FA4);
inline const Rgba gold = hex(0xFFC24A);
inline const Rgba ember = hex(0xFF6A2B);
inline const Rgba white = hex(0xF4F6FF);
inline const Rgba grey = hex(0x8C93A8);
inline const Rgba kvtRed = hex(0xE8283C);
inline const Rgba kvtBlue = hex(0x1F6BFF);
}  // namespace palette

// The crescent-and-star mark of the LUNAVEX channel, centred at (cx, cy) with outer radius r.
void drawLunavexMark(Image& img, float cx, float cy, float r, Rgba colour);
// "LUNAVEX" word mark with its crescent, left edge x, baseline y, cap height about `size`.
float drawLunavexWordmark(Image& img, float x, float y, float size, Rgba colour);
// The KVT network badge: rounded block with three colour bars and the letters, top-left (x, y), height h.
void drawKvtBadge(Image& img, float x, float y, float h);
float kvtBadgeWidth(float h);
// The STORMHALO event mark: a glowing halo ring crossed by a lightning bolt.
void drawStormhaloMark(Image& img, float cx, float cy, float r);
// The GRALLE host mark: a stylised stadium bowl of three arcs.
void drawGralleMark(Image& img, float cx, float cy, float r, Rgba colour);

// The layered slides share a deep-night studio backdrop.
void fillStudioBackdrop(Image& img, Rgba top, Rgba bottom, unsigned seed);
// Mirrors an image top to bottom. Layers that the show draws with bottom-up texture coordinates are
// stored this way so they appear upright on screen.
Image flippedVertically(const Image& img);
// Drop shadow then text, for readable captions over busy pictures.
void drawShadowedText(Image& img, const std::string& text, float x, float y, const TextStyle& style, Rgba colour,
                      float shadowOffset = 3.0f);

}  // namespace zelFramework::content

namespace zelFramework::content {
// Text with a soft coloured glow behind it, for titles over moving pictures.
void drawGlowingText(Image& img, const std::string& text, float x, float y, const TextStyle& style, const Paint& fill,
                     Rgba glow, int radius, float strength = 1.5f);
}  // namespace zelFramework::content
