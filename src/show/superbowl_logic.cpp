#include "show/superbowl_logic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/platform.h"

namespace zelFramework {

void stadiumFlashes(float S, const std::vector<FlashPoint>& table, std::vector<RenderEngine::Flare>& out) {
    out.clear();
    showSrand(uint32_t(int(std::floor(double(S * 20.0f)))));
    const float wave = S * 300.0f + float(std::cos(double(S)));
    for (int i = 0; i < STADIUM_FLASHES; ++i) {
        const float c = float(std::fabs(std::sin(double(float(i) / 10.0f + wave))));
        const size_t k = size_t(showRand() % STADIUM_FLASH_RANGE);
        if (k >= table.size()) continue;
        const FlashPoint& p = table[k];
        out.push_back({10.0f * p.x, 10.0f * p.y, 10.0f * p.z, 25.0f, c});
    }
}

float stadiumLightFactor(int i, float fade) {
    const float v = std::clamp(7.0f * fade - float(i), 0.0f, 1.0f);
    if (int(3.0f * v) % 2 == 0) return float(1.0 - std::pow(double(v), 15.0));
    return 0.0f;
}

int stadiumVideoImage(float T) {
    if (!(T >= STADIUM_VIDEO_FROM)) return 0;
    int n = int(std::floor(double(T - STADIUM_VIDEO_FROM) * 10.0));
    if (n < VIDEO_FIRST_IMAGE - 1) n = VIDEO_FIRST_IMAGE - 1;
    if (n > VIDEO_LAST_IMAGE - 1) {
        showSrand(uint32_t(n));
        n = 150 + showRand() % 23;
    }
    return n + 1;
}

namespace {
std::string videoImageFile(int image) {
    char name[64];
    std::snprintf(name, sizeof name, "video\\Tabor_Pimsel_%05d.png", image);
    return name;
}
}  // namespace

std::vector<std::string> stadiumVideoFiles() {
    std::vector<std::string> files{videoImageFile(1)};
    for (int n = VIDEO_FIRST_IMAGE; n <= VIDEO_LAST_IMAGE; ++n) files.push_back(videoImageFile(n));
    return files;
}

size_t stadiumVideoFileIndex(int image) { return size_t(image - VIDEO_FIRST_IMAGE + 1); }

StudioPhase studioPhase(float T) {
    if (T > STADIUM_LIGHTS_OUT_FROM) return StudioPhase::LightsOut;
    if (T > STADIUM_CHARACTERS_FROM) return StudioPhase::Characters;
    return StudioPhase::Stands;
}

std::array<float, 3> studioPulseColour(float S, float fade) {
    const float s = float(std::sin(double(S)));
    const float a = (1.0f - fade) * s * s;
    return {a, (1.0f - fade) * 0.1f * s * s, (1.0f - fade) * 0.1f * s * s};
}

}  // namespace zelFramework
