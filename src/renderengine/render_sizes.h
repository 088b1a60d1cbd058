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

}  // namespace RenderEngine
