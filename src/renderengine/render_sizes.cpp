#include "renderengine/render_sizes.h"

#include "renderengine/features.h"

#include <algorithm>
#include <cmath>

namespace RenderEngine {

namespace {

// Float to int toward zero, safe for any float: out-of-range and NaN values are clamped instead of
// being undefined behaviour.
int truncateToInt(float value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483520.0f)
        return 2147483520;
    if (value <= -2147483520.0f)
        return -2147483520;
    return int(value);
}

}  // namespace

RenderSize renderSizeFor(int screenWidth, int renderHeight, float resolutionScale, uint32_t features) {
    if (features & RE_CUBEMAP)
        return {512, 512};
    float width = float(screenWidth) * resolutionScale;
    float height = float(renderHeight) * resolutionScale;
    return {truncateToInt(width), truncateToInt(height)};
}

std::string shaderPrefixFor(uint32_t features) {
    std::string prefix;
    if (features & RE_REFLECTION)
        prefix += "#define REFLECTION\n";
    if (features & RE_REAL_LIGHT_MODEL)
        prefix += "#define REAL_LIGHT_MODEL\n";
    else
        prefix += "#define SPHERICAL_HARMONICS_LIGHTING\n";
    return prefix;
}

uint32_t consistentFeatures(uint32_t features, uint32_t* dropped) {
    uint32_t removed = (features & RE_CUBEMAP) ? (features & RE_CUBEMAP_CONFLICTS) : 0;
    if (dropped)
        *dropped = removed;
    return features & ~removed;
}

RenderSize motionBlurTargetSize(RenderSize render, int slot) {
    float widthFactor = 1.0f / (float(slot + 10) * 0.1f);
    float heightFactor = 1.0f / (float(slot + 1) * 0.25f);
    return {truncateToInt(float(render.width) * widthFactor), truncateToInt(float(render.height) * heightFactor)};
}

RenderSize occlusionTargetSize(RenderSize render, float resolutionScale) {
    return {truncateToInt(float(render.width) / resolutionScale), truncateToInt(float(render.height) / resolutionScale)};
}

int motionBlurHistoryLength(float motionBlurAmount) {
    int n = truncateToInt(motionBlurAmount * 10.0f);
    if (n <= 0)
        n = 1;
    if (n > 10)
        n = 10;
    return n;
}

RenderSize dofTileCount(RenderSize render) {
    return {(render.width + DOF_TILE_PIXELS - 1) / DOF_TILE_PIXELS, (render.height + DOF_TILE_PIXELS - 1) / DOF_TILE_PIXELS};
}

int dofReachTiles(float radius, int renderHeight) {
    const float reachPixels = std::max(radius, 0.0f) * 0.006f * float(renderHeight) + 1.0f;
    const float tiles = std::ceil(reachPixels / float(DOF_TILE_PIXELS));
    return tiles <= float(DOF_MOST_REACH_TILES) ? int(tiles) : -1;
}

int dofFalloffPower(float falloff) {
    return falloff >= 1.0f && falloff <= 4.0f && falloff == std::floor(falloff) ? int(falloff) : 0;
}

}  // namespace RenderEngine
