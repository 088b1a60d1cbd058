// The post-processing layer's choices that depend only on numbers: which grading picture applies
// and what the glitch pass is sent.
#include <cmath>

#include "platform/platform.h"
#include "show/glitch_settings.h"
#include "show/grading_entry.h"

namespace zelFramework {

GL_Texture* gradingAt(const std::vector<GradingEntry>& gradings, float seconds) {
    GL_Texture* chosen = nullptr;
    for (const GradingEntry& entry : gradings)
        if (entry.startSeconds <= seconds && seconds <= entry.endSeconds) chosen = entry.texture;
    return chosen;
}

unsigned glitchSeed(float randValue) {
    const double product = double(randValue) * 30.0;
    // The C library took an int seed; truncation toward zero, negative seeds wrap like its cast did.
    if (!(product > -2147483648.0)) return 0x80000000u;
    if (product >= 2147483647.0) return 0x7FFFFFFFu;
    return unsigned(int(product));
}

GlitchUniforms glitchUniforms(const GlitchControls& c) {
    GlitchUniforms u;
    showSrand(glitchSeed(c.rand));
    const float y = float(showRand() % 10000) / 1000.0f;
    const float x = float(showRand() % 10000) / 1000.0f;
    u.randOffset[0] = x;
    u.randOffset[1] = y;
    const double i = c.intensity;
    u.stripCount = float(double(c.stripCount) * 30.0 * i);
    u.stripTranslationIntensity = c.intensity * c.stripTranslation;
    u.stripIntensity = c.intensity * c.stripDistortion;
    u.blockCount = float(double(c.blockCount) * 30.0 * i);
    u.blockWidth = float(double(c.blockWidth) * 30.0 * i);
    u.blockIntensity = c.intensity * c.blockDistortion;
    u.rgbDistortion = c.intensity * c.rgbDistortion;
    return u;
}

}  // namespace zelFramework
