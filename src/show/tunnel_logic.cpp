#include "show/tunnel_logic.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace zelFramework {

namespace {

Vec3f mix(const Vec3f& a, const Vec3f& b, float wa, float wb) {
    return {a[0] * wa + b[0] * wb, a[1] * wa + b[1] * wb, a[2] * wa + b[2] * wb};
}

Vec3f normalised(const Vec3f& v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0.0f)) return {0.0f, 1.0f, 0.0f};
    return {v[0] / length, v[1] / length, v[2] / length};
}

float sinSquared(double x) {
    const double s = std::sin(x);
    return float(s * s);
}

// Eye offsets of the seven cuts: x, y, and z relative to the target depth.
const float CUT_EYES[7][3] = {
    {0.2f, 2.1f, 2.3f}, {-1.9f, 1.1f, -2.5f}, {0.2f, 0.1f, 2.8f}, {-1.1f, 0.1f, 0.3f},
    {-2.6f, 1.1f, 0.0f}, {0.2f, 0.6f, -2.8f}, {-0.9f, 1.1f, -2.3f},
};

}  // namespace

const TunnelPath& tunnelPath() {
    static const TunnelPath path{
        {{-4.4062f, 3.7807f, 89.8343f}, {2.6069f, 3.7807f, 72.7316f}, {2.6069f, 3.7807f, 54.5313f},
         {-2.7164f, 3.7807f, 48.382f}, {2.6069f, 3.7807f, 38.9006f}, {2.6069f, 3.7807f, 27.6038f},
         {2.6069f, 3.7807f, 11.8723f}, {-4.4062f, 3.7807f, 8.8619f}, {-4.4062f, 3.7807f, -4.7263f},
         {5.2991f, 3.7807f, -8.4732f}, {2.6069f, 3.7807f, -22.469f}, {-4.4062f, 3.7807f, -26.7873f},
         {0.0f, 1.07f, 95.0f}},
        {124.138f, 125.519f, 126.9f, 130.0f, 131.376f, 132.759f, 135.172f, 136.547f, 137.931f, 141.034f, 142.408f,
         143.793f},
        {143.793f, 153.1f,   154.481f, 157.241f, 157.585f, 158.094f, 158.615f, 158.961f, 159.3f,   159.645f, 160.345f,
         160.862f, 161.38f,  161.723f, 161.861f, 162.241f, 162.241f, 162.754f, 163.621f, 164.144f, 164.691f, 165.003f,
         165.518f, 166.377f, 166.894f, 167.412f, 168.276f, 168.621f, 169.655f, 169.998f, 170.26f,  170.515f, 170.515f,
         171.379f, 172.414f, 172.757f, 172.931f, 173.1f,   173.265f, 173.448f, 173.793f},
    };
    return path;
}

TunnelView tunnelFirstPartView(float time, float localTime, const TunnelPath& path) {
    TunnelView view;
    const size_t stands = std::min<size_t>({size_t(TUNNEL_STANDS), path.waypoints.size(), path.arrivals.size()});
    for (size_t i = 0; i < stands; ++i) {
        if (!(path.arrivals[i] < time)) continue;
        const Vec3f& w = path.waypoints[i];
        view.standBlend = std::clamp((time - path.arrivals[i]) * 3.0f, 0.0f, 1.0f);
        view.target = w;
        view.eye[0] = w[0] >= 0.0f ? w[0] - 3.0f : w[0] + 3.0f;
        view.eye[1] = w[1] - sinSquared(double(localTime * 0.5f + float(i)));
        view.eye[2] = i + 1 < stands ? w[2] - 0.5f * (path.arrivals[i + 1] - time) : w[2];
    }
    if (time >= TUNNEL_EXIT_BLEND) {
        const float d = time - TUNNEL_EXIT_BLEND;
        const float u = d / 5.507004f;
        const float k = 1.0f - u;
        view.eye = mix(view.eye, {0.2f, 0.1f, 92.63434f}, k, u);
        view.target = mix(view.target, {-0.6f, 1.1f, 87.334335f}, k, u);
        view.standBlend *= std::clamp(1.0f - 3.0f * d, 0.0f, 1.0f);
        const float q = std::clamp(1.0f - float(std::pow(double(std::max(k, 0.0f)), 1.1)), 0.0f, 1.0f);
        const float r = float(std::sin(3.141 * double(q)));
        view.up = normalised({r, 1.0f - r, 0.0f});
    }
    return view;
}

int tunnelCameraCut(float time, const std::vector<float>& flashTimes, int previous) {
    int cut = previous;
    showSrand(0);
    for (float flash : flashTimes)
        if (flash < time) cut = showRand() % 7;
    return cut;
}

float tunnelTargetDepth(float time) { return 87.334335f - (time - 150.0f) * 82.0f * 25.132742f / 360.0f; }

bool tunnelCutShakes(int cut) { return cut >= 0 && cut < 7 && std::fabs(CUT_EYES[cut][2]) > 2.3f; }

TunnelView tunnelSecondPartView(float time, float localTime, int cut) {
    TunnelView view;
    const float zt = tunnelTargetDepth(time);
    view.target = {-0.6f, 1.1f, zt};
    view.up = {0.0f, 1.0f, 0.0f};
    const int c = std::clamp(cut, 0, 6);
    view.eye = {CUT_EYES[c][0], CUT_EYES[c][1], zt + CUT_EYES[c][2]};
    if (tunnelCutShakes(c)) {
        const float swing = float(std::sin(1.5 * double(localTime)));
        view.eye[0] += 0.5f * swing;
        view.up[0] = -(sinSquared(0.5 * double(localTime)) + 0.25f) * swing;
    }
    return view;
}

TunnelView tunnelC64Blend(const TunnelView& view, float c) {
    TunnelView out = view;
    const float p = float(std::pow(double(std::max(c, 0.0f)), 1.2));
    out.eye = mix(view.eye, {4.0f, -0.6f, -47.73f}, 1.0f - p, p);
    out.target = mix(view.target, {4.7f, -0.4f, -48.23f}, 1.0f - c, c);
    out.up = mix(view.up, {0.1f, 1.0f, 0.1f}, 1.0f - c, c);
    return out;
}

void advanceTunnelFlicker(TunnelFlicker& flicker, float delta) {
    // A long frame would take the decay past zero and turn the lights negative; it stops at dark.
    const float keep = std::max(0.0f, 1.0f - delta * 15.0f);
    for (float& level : flicker.levels) level *= keep;
    flicker.timer -= delta;
    if (!(flicker.timer < 0.0f)) return;
    flicker.seed += 1;
    flicker.timer = 0.05f;
    showSrand(uint32_t(flicker.seed));
    int count = 0;
    while (count < showRand() % 8) {
        flicker.levels[size_t(showRand() % 8)] = 3.0f;
        ++count;
    }
}

int tunnelTvImage(float time, float localTime) {
    if (time >= TUNNEL_TV_FIXED_FROM) return 3;
    if (time >= TUNNEL_TV_CYCLE_FROM) return 1 + std::max(int(localTime * 15.0f), 0) % 4;
    return -1;
}

float scopeColumnHeight(int k, float localTime) {
    const double inner = 4.0 * std::cos(double(localTime / 10.0f + float(k) / 5.0f)) + double(k) / 10.0 + localTime;
    return 25.0f * float(std::sin(inner)) + 5.0f;
}

int scopeLitBars(int row, float localTime) {
    const double v = std::sin(std::cos(3.0 * localTime + row) + 2.0 * localTime + row);
    return int(std::fabs(v) * 30.0);
}

}  // namespace zelFramework
