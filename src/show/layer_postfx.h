// The last pass over every frame: colour correction, glow, colour grading by show time, the digital
// glitch and the vignette, from the shared picture "finalTarget" (which this layer owns and
// publishes) into the window.
#pragma once

#include <vector>

#include "gl/fbo_texture.h"
#include "gl/shader.h"
#include "runtime/layer_base.h"
#include "show/glitch_settings.h"
#include "show/grading_entry.h"

namespace zelFramework {

struct Controller;

class Layer_PostFX : public Layer_Base {
public:
    // Grading entries are appended by the show's composition before loading.
    std::vector<GradingEntry> gradings;

    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    void release() override {}

    float localTime() const { return time; }
    // The glitch controllers' current values, as the glitch pass reads them.
    GlitchControls glitchControls() const;

private:
    float time = 0.0f;
    float delta = 0.0f;
    GL_Shader postFXShader;
    GL_Shader glitchShader;
    GL_Shader finalGradeShader;
    // The output with the vignette laid on in the same pass: through the grading table, and without one.
    GL_Shader gradeWithVignetteShader;
    GL_Shader outputWithVignetteShader;
    bool vignetteDrawn = false;  // this frame's output already carries the vignette
    GL_FBOTexture finalTarget;
    GL_FBOTexture workTarget;

    // Colour correction, in the order its uniforms are sent.
    Controller* blackPoint = nullptr;
    Controller* whitePoint = nullptr;
    Controller* desaturate = nullptr;
    Controller* saturate = nullptr;
    Controller* contrast = nullptr;
    Controller* brightness = nullptr;
    Controller* toBlack = nullptr;
    Controller* toWhite = nullptr;
    Controller* chromaticDiff = nullptr;
    Controller* exponent = nullptr;
    Controller* gamma = nullptr;
    // Glitch.
    Controller* glitchRand = nullptr;
    Controller* stripCount = nullptr;
    Controller* stripTranslation = nullptr;
    Controller* stripDistortion = nullptr;
    Controller* blockCount = nullptr;
    Controller* blockWidth = nullptr;
    Controller* blockDistortion = nullptr;
    Controller* rgbDistortion = nullptr;
    Controller* glitchIntensity = nullptr;
    // Glow.
    Controller* glowRadius = nullptr;
    Controller* glowIntensity = nullptr;
    Controller* glowExponent = nullptr;

    GL_Texture* vignetteTexture = nullptr;

    // The target holding the picture after the correction, and the one free for the glitch; set by
    // colourCorrect each frame.
    GL_FBOTexture* picture = &workTarget;
    GL_FBOTexture* spare = &finalTarget;

    bool correctionIsNeutral() const;
    void colourCorrect();
    void glow();
    void gradePicture(bool withVignette);
    void gradeAndOutput();
    void vignette();
};

}  // namespace zelFramework
