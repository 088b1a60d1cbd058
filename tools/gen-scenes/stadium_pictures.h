// The pictures of the stadium set.
#pragma once

#include <cstdint>

#include "image.h"

namespace zelFramework::scenegen {

// Eight crowd variants in a 2 x 4 atlas (cells of 512 x 128): seated spectators seen from the pitch.
content::Image paintCrowdAtlas();
content::Image paintSeatRow();
content::Image paintConcrete();
content::Image paintStairs();
content::Image paintLedBoards();
content::Image paintConcourse();
content::Image paintFootballPitch();
content::Image paintApron();
content::Image paintRoofPanels();
content::Image paintSteel();
content::Image paintFloodlightLamps();
content::Image paintStageFloor();
// The broadcast sign: "VEXIL 2000" over a red "LIVE" badge on diagonal blue stripes, laid out for
// one picture shape (sizes and positions in pixels of the picture).
struct BroadcastSignLayout {
    int width, height;
    int stripes;        // 48 pixels apart, each leaning 140 pixels to the right over the height
    float firstStripe;  // where the first one meets the bottom edge
    float titleSize, titleBaseline;
    float badgeWidth, badgeTop, badgeHeight, badgeRadius;
    float liveSize, liveBaseline;
};
content::Image paintBroadcastSign(const BroadcastSignLayout& layout);
content::Image paintBroadcastBackdrop();
// A team's kit as the figures wear it (u round the body, v from head to feet): helmet, shirt with a
// number, trousers and socks.
content::Image paintTeamKit(uint32_t shirt, uint32_t trousers);

}  // namespace zelFramework::scenegen
