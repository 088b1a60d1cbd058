// The blur toolkit: two scratch targets, four programs and the two blurs that use them.
#include "gl/gltk.h"

#include "gl/fbo_texture.h"
#include "gl/gltk_builtin_shaders.h"
#include "gl/pass_timer.h"
#include "gl/shader.h"

namespace zelFramework {
namespace {

struct Toolkit {
    GL_FBOTexture blurTargets[2];
    GL_Shader blurShader;
    GL_Shader blurLineShader;
    GL_Shader blurThresholdShader;
    GL_Shader smartBlurShader;
    GL_Shader bokehBlurShader;
    GL_Shader copyShader;
    GLint blurIntensityLocation = -1;
    GLint blurExponentLocation = -1;
    GLint lineStepLocation = -1;
    GLint lineExponentLocation = -1;
    GLint thresholdLocation = -1;
    GLint xstLocation = -1;
    GLint ystLocation = -1;
    bool initialised = false;
};

Toolkit& toolkit() {
    static Toolkit state;
    return state;
}

// Passes of the cross blur: intensity x 20 + 1, truncated (1 at 0, 11 at 0.5, 21 at 1).
int blurPassCount(float intensity) { return int(intensity * 20.0f + 1.0f); }

}  // namespace

GL_Shader* gltkBlurShader() { return toolkit().initialised ? &toolkit().blurShader : nullptr; }
GL_Shader* gltkBlurThresholdShader() { return toolkit().initialised ? &toolkit().blurThresholdShader : nullptr; }
GL_Shader* gltkSmartBlurShader() { return toolkit().initialised ? &toolkit().smartBlurShader : nullptr; }
GL_Shader* gltkBokehBlurShader() { return toolkit().initialised ? &toolkit().bokehBlurShader : nullptr; }
GL_FBOTexture* gltkBlurTarget(int i) {
    return toolkit().initialised && (i == 0 || i == 1) ? &toolkit().blurTargets[i] : nullptr;
}

void gltkInit() {
    Toolkit& tk = toolkit();
    if (tk.initialised)  // a second set-up replaces the first instead of leaking it
        gltkShutdown();
    for (GL_FBOTexture& target : tk.blurTargets)
        target.create(1, 8, GLTK_SCRATCH_WIDTH, GLTK_SCRATCH_HEIGHT, GL_RGBA, false);

    tk.blurShader.createFromSource("gltkBlurShader", gltkText::VERTEX, nullptr, gltkText::BLUR_FRAGMENT, nullptr);
    tk.blurLineShader.createFromSource("gltkBlurLineShader", gltkText::VERTEX, nullptr, gltkText::BLUR_LINE_FRAGMENT,
                                       nullptr);
    tk.blurThresholdShader.createFromSource("gltkBlurThresholdShader", gltkText::VERTEX, nullptr,
                                            gltkText::BLUR_THRESHOLD_FRAGMENT, nullptr);
    tk.smartBlurShader.createFromSource("gltkSmartBlurShader", gltkText::VERTEX, nullptr,
                                        gltkText::SMART_BLUR_FRAGMENT, nullptr);
    tk.bokehBlurShader.loadFromFiles("gltkBokehBlurShader", "spreadBlurVert.h", "spreadBlurFrag.h", nullptr);

    tk.copyShader.createFromSource("gltkCopyShader", gltkText::VERTEX, nullptr, gltkText::COPY_FRAGMENT, nullptr);
    setCopyProgram(tk.copyShader.programId);  // its sampler stays at unit 0, the default

    tk.smartBlurShader.use();
    glUniform1i(tk.smartBlurShader.uniformLocation("depth_tex"), 0);
    glUniform1i(tk.smartBlurShader.uniformLocation("diffuse_tex"), 1);
    glUseProgram(0);

    tk.blurIntensityLocation = tk.blurShader.uniformLocation("blur_intensity");
    tk.blurExponentLocation = tk.blurShader.uniformLocation("blurExponent");
    tk.lineStepLocation = tk.blurLineShader.uniformLocation("blurStep");
    tk.lineExponentLocation = tk.blurLineShader.uniformLocation("blurExponent");
    tk.thresholdLocation = tk.blurThresholdShader.uniformLocation("threshold");
    tk.xstLocation = tk.smartBlurShader.uniformLocation("xst");
    tk.ystLocation = tk.smartBlurShader.uniformLocation("yst");
    tk.initialised = true;
}

void gltkShutdown() {
    Toolkit& tk = toolkit();
    if (!tk.initialised)
        return;
    setCopyProgram(0);
    for (GL_FBOTexture& target : tk.blurTargets)
        target.release();
    tk.copyShader.destroy();
    tk.smartBlurShader.destroy();
    tk.blurShader.destroy();
    tk.blurLineShader.destroy();
    tk.blurThresholdShader.destroy();
    tk.bokehBlurShader.destroy();
    tk.initialised = false;
}

void gltkBlur(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent) {
    Toolkit& tk = toolkit();
    if (!tk.initialised || !source || !destination)
        return;
    if (source == destination && intensity == 0.0f)
        return;

    PassTimer timer("gltk-blur");
    // Every pass raises the picture to the exponent, so the chain is not one linear blur: a smaller
    // working size or fewer, wider passes would change what it leaves around bright detail. The pass
    // count and the power per pass stay; an odd count starts with one cross pass, and the rest go as
    // horizontal-vertical pairs of line passes, each pair spreading as far as two cross passes at 14
    // fetches instead of 26. The glow that results stays within a few levels of the all-cross chain
    // once added to the picture it came from.
    const int passes = blurPassCount(intensity);
    // Without a power the chain is a plain blur that callers show as it is: it keeps the cross passes.
    const int crossPasses = exponent == 1.0f ? passes : passes % 2;
    const float step = 0.009f * intensity;
    GL_FBOTexture* targets = tk.blurTargets;
    if (passes < 1) {  // a negative intensity: nothing to blur
        source->copyTo(destination);
        return;
    }
    source->copyTo(&targets[0]);
    int current = 0;  // the target holding the picture so far
    // With a power the last pass draws straight into the destination, at its size, instead of into
    // the scratch picture and then copying that over: the same taps, read at the destination's pixel
    // centres. A plain blur, shown as it is, keeps the copy: it would move detail left sharp.
    const bool lastIntoDestination = exponent != 1.0f;
    auto pass = [&](int k) {
        const bool last = lastIntoDestination && k == passes - 1;
        GL_FBOTexture& into = last ? *destination : targets[1 - current];
        if (last) {
            glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
            for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST})
                glDisable(capability);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        }
        targets[current].bind(GL_TEXTURE0);
        into.begin();
        drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
        into.end();
        targets[current].unbind();
        if (last) glPopAttrib();
        current = 1 - current;
    };
    if (crossPasses > 0) {
        tk.blurShader.use();
        glUniform1f(tk.blurIntensityLocation, intensity);
        glUniform1f(tk.blurExponentLocation, exponent);
        for (int k = 0; k < crossPasses; ++k) pass(k);
    }
    if (crossPasses < passes) {
        tk.blurLineShader.use();
        glUniform1f(tk.lineExponentLocation, exponent);
    }
    for (int k = crossPasses; k < passes; ++k) {
        const bool horizontal = (k - crossPasses) % 2 == 0;
        glUniform2f(tk.lineStepLocation, horizontal ? step : 0.0f, horizontal ? 0.0f : step);
        pass(k);
    }
    glUseProgram(0);
    if (lastIntoDestination)
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    else
        targets[current].copyTo(destination);
}

void gltkSpreadBlur(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float quality) {
    Toolkit& tk = toolkit();
    if (!tk.initialised || !source || !destination)
        return;
    if (source == destination && intensity < 0.01f)
        return;

    // The scratch copy is taken first, so blurring a target onto itself reads a stable picture.
    source->copyTo(&tk.blurTargets[0]);
    tk.bokehBlurShader.use();
    glUniform1f(tk.bokehBlurShader.uniformLocation("quality"), quality);
    glUniform1f(tk.bokehBlurShader.uniformLocation("intensity"), intensity);
    tk.blurTargets[0].bind(GL_TEXTURE0);
    destination->begin();
    drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
    destination->end();
    tk.blurTargets[0].unbind();
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace zelFramework
