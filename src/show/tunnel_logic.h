// The closing tunnel's rules as plain functions: the camera along the stands, the camera cuts that
// follow the hand-timed flash list, the light flicker and the pull towards the retro screen.
#pragma once

#include <array>
#include <vector>

namespace zelFramework {

using Vec3f = std::array<float, 3>;

constexpr float TUNNEL_SECOND_PART = 151.781f;  // from here the camera cuts between fixed views
constexpr float TUNNEL_EXIT_BLEND = 146.274f;   // the first part's camera starts leaving the stands
constexpr float TUNNEL_STANDS_UNTIL = 148.75f;
constexpr float TUNNEL_TV_CYCLE_FROM = 151.724f;
constexpr float TUNNEL_TV_FIXED_FROM = 173.1f;
constexpr int TUNNEL_LIGHTS = 8;
constexpr int TUNNEL_STANDS = 12;

struct TunnelPath {
    std::vector<Vec3f> waypoints;  // 12 stands, then the logo's spot
    std::vector<float> arrivals;   // when the camera reaches each stand
    std::vector<float> flashTimes; // hand-timed flash moments
};
const TunnelPath& tunnelPath();

struct TunnelView {
    Vec3f eye{0.0f, 3.8f, 90.0f};
    Vec3f target{0.0f, 3.8f, 0.0f};
    Vec3f up{0.0f, 1.0f, 0.0f};
    float standBlend = 0.0f;  // how far the stands' pictures have come forward (0..1)
};

// The camera of the first part (show time below 151.781): along the stands, then leaving them.
TunnelView tunnelFirstPartView(float time, float localTime, const TunnelPath& path);

// The camera cut at show time `time`: the generator reseeded with 0 draws one value modulo 7 per
// flash time strictly before `time`; the last draw is the cut. `previous` when no flash has passed.
int tunnelCameraCut(float time, const std::vector<float>& flashTimes, int previous);

// The depth along the tunnel that the second part's camera looks at.
float tunnelTargetDepth(float time);

// The camera of the second part for a given cut (0..6), with the shake of the far views.
TunnelView tunnelSecondPartView(float time, float localTime, int cut);
// True for the cuts whose eye is more than 2.3 units from the target along the tunnel (1, 2, 5).
bool tunnelCutShakes(int cut);

// The view pulled towards the retro computer screen by c (0..1).
TunnelView tunnelC64Blend(const TunnelView& view, float c);

// The flicker of the eight lights: each level decays every frame, and every 0.05 s a fresh seed
// lights a few of them at 3.0.
struct TunnelFlicker {
    std::array<float, TUNNEL_LIGHTS> levels{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    float timer = 0.05f;
    int seed = 0;
};
void advanceTunnelFlicker(TunnelFlicker& flicker, float delta);

// The television image index (into tvscreen-1 .. tvscreen-5) at show time `time`: -1 for the scene's
// own picture, cycling 1..4 at 15 images a second from 151.724 s, and 3 for good from 173.1 s.
int tunnelTvImage(float time, float localTime);

// The oscilloscope's line half-height of column k and the number of lit bars of row `row`.
float scopeColumnHeight(int k, float localTime);
int scopeLitBars(int row, float localTime);

}  // namespace zelFramework
