#include "show/layer_postfx.h"

#include "app/screen_metrics.h"
#include "gl/gltk.h"
#include "gl/pass_timer.h"
#include "gl/texture_manager.h"
#include "gl/unfiltered_reads.h"
#include "show/layer_gl.h"
#include "sync/controller_set.h"

namespace zelFramework {

namespace {

void fullQuad() { drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f); }

void setSampler(GL_Shader& shader, const char* name, int unit) {
    shader.use();
    glUniform1i(shader.uniformLocation(name), unit);
}

}  // namespace

bool Layer_PostFX::init(GL_TextureManager* /*textures*/, ControllerSet* controllers) {
    for (GradingEntry& entry : gradings)
        entry.texture = GL_TextureManager::getTexture(entry.path.c_str(), GL_REPEAT, GL_REPEAT);

    postFXShader.loadFromFiles("postFX", "forwardVert.h", "postFXFrag.h", nullptr);
    glitchShader.loadFromFiles("glitch", "glitchVert.h", "glitchFrag.h", nullptr);
    finalGradeShader.loadFromFiles("finalGrade", "forwardVert.h", "finalGrade.h", nullptr);
    gradeWithVignetteShader.loadFromFiles("finalGradeVignette", "forwardVert.h", "finalGrade.h", "#define VIGNETTE\n");
    outputWithVignetteShader.loadFromFiles("outputVignette", "forwardVert.h", "finalGrade.h",
                                           "#define VIGNETTE\n#define NO_GRADING\n");

    finalTarget.create(1, 16, screenWidth, renderHeight, GL_RGB, false);
    workTarget.create(1, 16, screenWidth, renderHeight, GL_RGB, false);
    GL_TextureManager::addTexture("finalTarget", &finalTarget);

    desaturate = controllers->get("ZEL: Desaturate");
    saturate = controllers->get("ZEL: Saturate");
    brightness = controllers->get("ZEL: Brightness");
    contrast = controllers->get("ZEL: Contrast");
    toBlack = controllers->get("ZEL: To Black");
    toWhite = controllers->get("ZEL: To White");
    blackPoint = controllers->get("ZEL: Blackpoint");
    whitePoint = controllers->get("ZEL: Whitepoint");
    exponent = controllers->get("ZEL: Exponent");
    gamma = controllers->get("ZEL: Gamma");
    glowRadius = controllers->get("ZEL: Glow Radius");
    glowIntensity = controllers->get("ZEL: Glow Intensity");
    chromaticDiff = controllers->get("ZEL: Chromatic Diff.");
    glowExponent = controllers->get("ZEL: Glow Exponent");
    glitchIntensity = controllers->get("Glitch: intensity");
    stripCount = controllers->get("Glitch: strip count");
    stripTranslation = controllers->get("Glitch: strip translation");
    stripDistortion = controllers->get("Glitch: strip distortion");
    blockCount = controllers->get("Glitch: block count");
    blockWidth = controllers->get("Glitch: block width");
    blockDistortion = controllers->get("Glitch: block distortion");
    rgbDistortion = controllers->get("Glitch: RGB distortion");
    glitchRand = controllers->get("Glitch: rand");

    vignetteTexture = GL_TextureManager::getTexture("vignette.png", GL_REPEAT, GL_REPEAT);

    setSampler(postFXShader, "colorBuffer", 0);
    setSampler(glitchShader, "image", 0);
    setSampler(finalGradeShader, "colorBuffer", 0);
    setSampler(finalGradeShader, "gradeBuffer", 1);
    setSampler(gradeWithVignetteShader, "colorBuffer", 0);
    setSampler(gradeWithVignetteShader, "gradeBuffer", 1);
    setSampler(gradeWithVignetteShader, "vignette", 2);
    setSampler(outputWithVignetteShader, "colorBuffer", 0);
    setSampler(outputWithVignetteShader, "vignette", 2);
    glUseProgram(0);
    return true;
}

void Layer_PostFX::setTime(const LayerTime& t) {
    time = t.time - t.start;
    delta = t.delta;
}

GlitchControls Layer_PostFX::glitchControls() const {
    GlitchControls c;
    c.rand = valueOf(glitchRand);
    c.intensity = valueOf(glitchIntensity);
    c.stripCount = valueOf(stripCount);
    c.stripTranslation = valueOf(stripTranslation);
    c.stripDistortion = valueOf(stripDistortion);
    c.blockCount = valueOf(blockCount);
    c.blockWidth = valueOf(blockWidth);
    c.blockDistortion = valueOf(blockDistortion);
    c.rgbDistortion = valueOf(rgbDistortion);
    return c;
}

// Every correction parameter at 0 leaves the picture as it is (see the program's header).
bool Layer_PostFX::correctionIsNeutral() const {
    for (const Controller* c : {blackPoint, whitePoint, desaturate, saturate, brightness, contrast, toBlack, toWhite,
                                chromaticDiff, exponent, gamma})
        if (valueOf(c) != 0.0f) return false;
    return true;
}

// The corrected picture goes into the work target, and the shared picture, not needed again this
// frame, becomes the spare. With every parameter neutral the correction would copy the picture
// unchanged, so the shared picture stays the picture and the work target the spare.
void Layer_PostFX::colourCorrect() {
    if (correctionIsNeutral()) {
        picture = &finalTarget;
        spare = &workTarget;
        return;
    }
    picture = &workTarget;
    spare = &finalTarget;
    workTarget.begin();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    finalTarget.bind(GL_TEXTURE0);
    postFXShader.use();
    const struct {
        const char* uniform;
        const Controller* controller;
    } parameters[] = {
        {"blackPoint", blackPoint}, {"whitePoint", whitePoint}, {"desaturate", desaturate},
        {"saturate", saturate},     {"brightness", brightness}, {"contrast", contrast},
        {"fadeBlack", toBlack},     {"fadeWhite", toWhite},     {"chromaDiff", chromaticDiff},
        {"exponent", exponent},     {"gamma", gamma},
    };
    for (const auto& p : parameters) glUniform1f(postFXShader.uniformLocation(p.uniform), valueOf(p.controller));
    {
        // Without fringes every read is at the pixel's own texel (both targets have one size).
        UnfilteredReads reads(1u, valueOf(chromaticDiff) == 0.0f);
        fullQuad();
    }
    glUseProgram(0);
    finalTarget.unbind();
    workTarget.end();
}

// The glow goes in twice at g: its blur's last pass is added straight onto the picture at 2g, so
// no picture of the blur's own is drawn and read back.
void Layer_PostFX::glow() {
    const float g = valueOf(glowIntensity);
    const float r = valueOf(glowRadius);
    if (!(g > 0.0f && r > 0.0f)) return;
    gltkBlurAdded(picture, picture, r, 1.0f + 0.1f * valueOf(glowExponent), 2.0f * g);
}

// Grades the picture into the framebuffer in use, with the vignette laid on when asked (the caller
// has checked there is one and its programs built).
void Layer_PostFX::gradePicture(bool withVignette) {
    GL_Texture* grading = gradingAt(gradings, time);
    glColor3f(1.0f, 1.0f, 1.0f);
    picture->bind(GL_TEXTURE0);
    if (grading)
        grading->bind(GL_TEXTURE1);
    if (withVignette)
        vignetteTexture->bind(GL_TEXTURE2);
    GL_Shader* program = withVignette ? (grading ? &gradeWithVignetteShader : &outputWithVignetteShader)
                                      : (grading ? &finalGradeShader : nullptr);
    if (program)
        program->use();
    {
        UnfilteredReads reads(1u, viewportIs(picture->width, picture->height));  // the tables stay filtered
        fullQuad();
    }
    glUseProgram(0);
    if (withVignette)
        vignetteTexture->unbind();
    if (grading)
        grading->unbind();
    picture->unbind();
}

// Without the glitch the graded picture goes straight into the window; with it, it is graded into
// the spare first, which the glitch then bends into the window.
void Layer_PostFX::gradeAndOutput() {
    const GlitchControls controls = glitchControls();
    vignetteDrawn = false;
    if (!(controls.intensity > 0.0f)) {
        vignetteDrawn = vignetteTexture && gradeWithVignetteShader.isValid && outputWithVignetteShader.isValid;
        gradePicture(vignetteDrawn);
        return;
    }
    spare->begin();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gradePicture(false);
    spare->end();
    spare->bind(GL_TEXTURE0);
    glitchShader.use();
    const GlitchUniforms u = glitchUniforms(controls);
    glUniform2f(glitchShader.uniformLocation("randOffset"), u.randOffset[0], u.randOffset[1]);
    glUniform1f(glitchShader.uniformLocation("stripCount"), u.stripCount);
    glUniform1f(glitchShader.uniformLocation("stripTranslationIntensity"), u.stripTranslationIntensity);
    glUniform1f(glitchShader.uniformLocation("stripIntensity"), u.stripIntensity);
    glUniform1f(glitchShader.uniformLocation("blockCount"), u.blockCount);
    glUniform1f(glitchShader.uniformLocation("blockWidth"), u.blockWidth);
    glUniform1f(glitchShader.uniformLocation("blockIntensity"), u.blockIntensity);
    glUniform1f(glitchShader.uniformLocation("rgbDistortion"), u.rgbDistortion);
    fullQuad();
    glUseProgram(0);
    spare->unbind();
}

void Layer_PostFX::vignette() {
    if (!vignetteTexture || vignetteDrawn) return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    vignetteTexture->bind(GL_TEXTURE0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    fullQuad();
    glDisable(GL_BLEND);
    vignetteTexture->unbind();
}

void Layer_PostFX::render() {
    glDisable(GL_DEPTH_TEST);
    const struct {
        const char* pass;
        void (Layer_PostFX::*step)();
    } steps[] = {
        {"post-correct", &Layer_PostFX::colourCorrect},
        {"post-glow", &Layer_PostFX::glow},
        {"post-grade", &Layer_PostFX::gradeAndOutput},
        {"post-vignette", &Layer_PostFX::vignette},
    };
    for (const auto& s : steps) {
        PassTimer timer(s.pass);
        (this->*s.step)();
    }
}

}  // namespace zelFramework
