// The arithmetic of a renderer's set-up that needs no OpenGL: render size, target sizes, the shader
// prefix, the cube-mode feature check and the motion-blur history length.
#pragma once

#include <cstdint>
#include <string>

namespace RenderEngine {

struct RenderSize {
    int width = 0;
    int height = 0;
};

// truncate(screenWidth x scale) x truncate(renderHeight x scale) in single precision; 512 x 512 in
// cube mode whatever the screen.
RenderSize renderSizeFor(int screenWidth, int renderHeight, float resolutionScale, uint32_t features);

// The defines put in front of the geometry and composite programs.
std::string shaderPrefixFor(uint32_t features);

// The mask with the features that cube mode cannot run together with removed (cube mode wins);
// `dropped` receives the removed bits.
uint32_t consistentFeatures(uint32_t features, uint32_t* dropped);

// Size of motion-blur history slot i (0..9): truncate(W / ((i + 10) x 0.1)) x truncate(H / ((i + 1) x 0.25)).
RenderSize motionBlurTargetSize(RenderSize render, int slot);
// Full-size ambient-occlusion target: truncate(W / scale) x truncate(H / scale).
RenderSize occlusionTargetSize(RenderSize render, float resolutionScale);

// Number of history pictures averaged: truncate(amount x 10) clamped to 1..10.
int motionBlurHistoryLength(float motionBlurAmount);

// The depth of field bounds its gather over square tiles of this many pixels ("TILE" in its program).
constexpr int DOF_TILE_PIXELS = 8;
// The most tiles either side that the bound's spreading pass reads ("MOST_REACH_TILES" in its program).
constexpr int DOF_MOST_REACH_TILES = 8;
// Tiles covering the picture, the last row and column partly outside it.
RenderSize dofTileCount(RenderSize render);
// Tiles either side of a pixel's tile that its taps can filter from at this radius (1.0 is 0.6 % of
// the picture height), the filter's extra texel included; -1 when that is more than the spreading
// pass reads, so the gather must take every ring.
int dofReachTiles(float radius, int renderHeight);
// The gather program for a falloff: n for a whole number n from 1 to 4, whose power is multiplied
// out, else 0, the general program.
int dofFalloffPower(float falloff);

}  // namespace RenderEngine
