// The values the glitch pass sends, worked out from the glitch controllers.
#pragma once

namespace zelFramework {

struct GlitchControls {
    float rand = 0.0f;  // "Glitch: rand": picks the pattern; a new one every 1/30 of a unit
    float intensity = 0.0f;
    float stripCount = 0.0f;
    float stripTranslation = 0.0f;
    float stripDistortion = 0.0f;
    float blockCount = 0.0f;
    float blockWidth = 0.0f;
    float blockDistortion = 0.0f;
    float rgbDistortion = 0.0f;
};

struct GlitchUniforms {
    float randOffset[2] = {0.0f, 0.0f};
    float stripCount = 0.0f;
    float stripTranslationIntensity = 0.0f;
    float stripIntensity = 0.0f;
    float blockCount = 0.0f;
    float blockWidth = 0.0f;
    float blockIntensity = 0.0f;
    float rgbDistortion = 0.0f;
};

// The uniforms for one frame. Reseeds the process-wide generator from the rand controller (so the
// same value always gives the same offsets) and draws two values from it.
GlitchUniforms glitchUniforms(const GlitchControls& c);

// The seed the rand controller gives: truncate(value x 30), the product in double precision. Values
// outside the generator's seed range are clamped so that a wild curve cannot overflow the cast.
unsigned glitchSeed(float randValue);

}  // namespace zelFramework
