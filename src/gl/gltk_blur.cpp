// The blur toolkit: two scratch targets, its programs and the two blurs that use them.
#include "gl/gltk.h"

#include "gl/fbo_texture.h"
#include "gl/gltk_builtin_shaders.h"
#include "gl/pass_timer.h"
#include "gl/shader.h"
#include "gl/texel_kernel.h"
#include "gl/unfiltered_reads.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zelFramework {
namespace {

// The cross blur and the glow's line programs (one line, and the line drawing half the height),
// with their uniforms: one set for any picture, one for a picture without alpha. The cross program
// of the first set is also the plain blur's and the one gltkBlurShader() hands out.
struct GlowPrograms {
    GL_Shader cross, line, rowPair;
    GLint crossIntensity = -1, crossExponent = -1;
    GLint lineStep = -1, lineExponent = -1;
    GLint rowPairStep = -1, rowPairExponent = -1, rowPairOffset = -1;

    // `suffix` follows the programs' names; `prefix` and `rowPairPrefix` go in front of their texts.
    void create(const char* suffix, const char* prefix, const char* rowPairPrefix) {
        const std::string end = suffix;
        cross.createFromSource(("gltkBlurShader" + end).c_str(), gltkText::VERTEX, nullptr,
                               gltkText::BLUR_FRAGMENT, prefix);
        line.createFromSource(("gltkBlurLineShader" + end).c_str(), gltkText::VERTEX, nullptr,
                              gltkText::BLUR_LINE_FRAGMENT, prefix);
        rowPair.createFromSource(("gltkBlurRowPairShader" + end).c_str(), gltkText::VERTEX, nullptr,
                                 gltkText::BLUR_LINE_FRAGMENT, rowPairPrefix);
        crossIntensity = cross.uniformLocation("blur_intensity");
        crossExponent = cross.uniformLocation("blurExponent");
        lineStep = line.uniformLocation("blurStep");
        lineExponent = line.uniformLocation("blurExponent");
        rowPairStep = rowPair.uniformLocation("blurStep");
        rowPairExponent = rowPair.uniformLocation("blurExponent");
        rowPairOffset = rowPair.uniformLocation("rowOffset");
    }
    void destroy() {
        cross.destroy();
        line.destroy();
        rowPair.destroy();
    }
};

// A pass on its source's texel grid, reading whole texels (see texel_kernel.h), kept by what its
// text is made from (programKey) so that a frame finds it without writing the text again.
struct KernelProgram {
    GL_Shader shader;
    GLint exponent = -1;
    uint64_t lastBlur = 0;  // the blur that used it last
};

// The kernel programs are kept by their text while blurs use them. A radius that moves from one value
// to another (in the show for a frame or two, in the editor for as long as an author drags a key)
// asks for new ones on every frame of the move: one that none of the last this many blurs used is
// dropped (two blurs a frame at most, so it has been idle for a second or more of the show) and is
// built again if asked for, the same program from the same text.
constexpr uint64_t KERNEL_PROGRAM_IDLE_BLURS = 64;

struct Toolkit {
    GL_FBOTexture blurTargets[2];
    // Half the scratch height, for the glow's passes once its picture has been blurred both ways.
    GL_FBOTexture halfHeightTargets[2];
    GlowPrograms glowPrograms;        // for a picture with alpha, and the plain blur
    GlowPrograms opaqueGlowPrograms;  // for one without
    GL_Shader blurThresholdShader;
    GL_Shader smartBlurShader;
    GL_Shader bokehBlurShader;
    GL_Shader copyShader;
    std::map<std::string, KernelProgram> kernelPrograms;
    uint64_t blurs = 0;  // blurs run so far
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

GL_Shader* gltkBlurShader() { return toolkit().initialised ? &toolkit().glowPrograms.cross : nullptr; }
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
    for (GL_FBOTexture& target : tk.halfHeightTargets)
        target.create(1, 8, GLTK_SCRATCH_WIDTH, GLTK_SCRATCH_HEIGHT / 2, GL_RGBA, false);

    tk.glowPrograms.create("", nullptr, gltkText::ROW_PAIR_PREFIX);
    tk.opaqueGlowPrograms.create("Opaque", gltkText::OPAQUE_PREFIX, gltkText::OPAQUE_ROW_PAIR_PREFIX);
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

    createUnfilteredSampler();  // without it every pass reads filtered

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
    for (GL_FBOTexture& target : tk.halfHeightTargets)
        target.release();
    tk.copyShader.destroy();
    for (auto& [text, program] : tk.kernelPrograms) program.shader.destroy();
    tk.kernelPrograms.clear();
    releaseUnfilteredSampler();
    tk.smartBlurShader.destroy();
    tk.glowPrograms.destroy();
    tk.opaqueGlowPrograms.destroy();
    tk.blurThresholdShader.destroy();
    tk.bokehBlurShader.destroy();
    tk.initialised = false;
}

namespace {

// One full-screen pass of the program in use, from `from` into `to`.
void blurPass(GL_FBOTexture& from, GL_FBOTexture& to) {
    from.bind(GL_TEXTURE0);
    to.begin();
    drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
    to.end();
    from.unbind();
}

// How the last picture of a chain reaches the caller's target: written over it, or (`weight` > 0)
// added onto it at that weight.
struct Ending {
    float weight = 0.0f;
};

// Adds `from` onto the whole of `destination` at the ending's weight with the fixed-function texture
// draw, whatever state the caller left: no depth, scissor, stencil or alpha test, all channels
// written, in as many draws as keep each draw's share at most 1 (the blend colour clamps above it).
void addOntoCallersTarget(GL_FBOTexture& from, GL_FBOTexture& destination, Ending ending) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST})
        glDisable(capability);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    const int draws = std::max(1, int(std::ceil(ending.weight)));
    const float share = ending.weight / float(draws);
    glEnable(GL_BLEND);
    glBlendFunc(GL_CONSTANT_COLOR, GL_ONE);
    glBlendColor(share, share, share, share);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    from.bind(GL_TEXTURE0);
    destination.begin();
    for (int k = 0; k < draws; ++k) drawQuad(false, 1.0f, 0.0f, 0.0f, 0.0f);
    destination.end();
    from.unbind();
    glPopAttrib();
}

// The chain's last picture, in the scratch targets, brought to the caller's target: copied over it,
// or added onto it.
void finish(GL_FBOTexture& last, GL_FBOTexture& destination, Ending ending) {
    if (ending.weight <= 0.0f) {
        last.copyTo(&destination);
        return;
    }
    glUseProgram(0);
    UnfilteredReads reads(1u, last.width == destination.width && last.height == destination.height);
    addOntoCallersTarget(last, destination, ending);
}

// Everything a kernel program's text follows from, as bytes: the sums' texels and weights, the
// source's size, the origin and the kind of picture.
std::string programKey(const std::vector<TexelKernel>& sums, const GL_FBOTexture& from, float originY, bool opaque) {
    std::string key;
    auto add = [&key](const void* bytes, size_t size) { key.append(static_cast<const char*>(bytes), size); };
    const int shape[3] = {from.width, from.height, opaque ? 1 : 0};
    add(shape, sizeof shape);
    add(&originY, sizeof originY);
    for (const TexelKernel& sum : sums) {
        const size_t taps = sum.size();
        add(&taps, sizeof taps);
        add(sum.data(), taps * sizeof(TexelTap));
    }
    return key;
}

// The program reading `sums` on the texel grid of `from`, built on first use; null where the driver
// has no sampler objects or the program did not build, and the caller's filtered program draws.
KernelProgram* kernelProgram(Toolkit& tk, const std::vector<TexelKernel>& sums, const GL_FBOTexture& from,
                             float originY, bool opaque) {
    if (!unfilteredSampler())
        return nullptr;
    const std::string key = programKey(sums, from, originY, opaque);
    auto found = tk.kernelPrograms.find(key);
    if (found == tk.kernelPrograms.end()) {
        found = tk.kernelPrograms.emplace(key, KernelProgram{}).first;
        KernelProgram& program = found->second;
        const std::string text =
            kernelFragment(sums, 1.0f / float(from.width), 1.0f / float(from.height), originY, opaque);
        if (program.shader.createFromSource("gltkBlurKernel", gltkText::VERTEX, nullptr, text.c_str(), nullptr))
            program.exponent = program.shader.uniformLocation("blurExponent");
    }
    found->second.lastBlur = tk.blurs;
    return found->second.shader.isValid ? &found->second : nullptr;
}

// Counts this blur, and deletes the programs that the last KERNEL_PROGRAM_IDLE_BLURS blurs left unused.
void dropIdleKernelPrograms(Toolkit& tk) {
    ++tk.blurs;
    for (auto k = tk.kernelPrograms.begin(); k != tk.kernelPrograms.end();) {
        if (tk.blurs - k->second.lastBlur > KERNEL_PROGRAM_IDLE_BLURS) {
            k->second.shader.destroy();
            k = tk.kernelPrograms.erase(k);
        } else {
            ++k;
        }
    }
}

// One pass of a chain: the whole-texel program where the pass sits on its source's grid and one
// could be had, otherwise `filtered` (which sets its own program and uniforms).
template <class Filtered>
void chainPass(GL_FBOTexture& from, GL_FBOTexture& to, KernelProgram* program, float exponent, Filtered filtered) {
    if (program) {
        program->shader.use();
        glUniform1f(program->exponent, exponent);
    } else {
        filtered();
    }
    UnfilteredReads reads(1u, program != nullptr);
    blurPass(from, to);
}

// Without a power the chain is a plain blur that callers show as it is: every pass a cross pass at
// the scratch size, and the result copied over, so detail it leaves sharp stays where it was.
void plainChain(Toolkit& tk, GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, int passes,
                Ending ending) {
    GL_FBOTexture* targets = tk.blurTargets;
    source->copyTo(&targets[0]);
    GlowPrograms& programs = tk.glowPrograms;
    const float step = 0.009f * intensity;
    KernelProgram* program = kernelProgram(
        tk, {binomialCross(step * float(targets[0].width), step * float(targets[0].height))}, targets[0], 0.0f, false);
    auto filtered = [&] {
        programs.cross.use();
        glUniform1f(programs.crossIntensity, intensity);
        glUniform1f(programs.crossExponent, 1.0f);
    };
    int current = 0;  // the target holding the picture so far
    for (int k = 0; k < passes; ++k, current = 1 - current)
        chainPass(targets[current], targets[1 - current], program, 1.0f, filtered);
    glUseProgram(0);
    finish(targets[current], *destination, ending);
}

// The glow: a power every pass, so the chain is not one linear blur. The pass count and the power
// per pass stay; an odd count starts with one cross pass, and the rest go as horizontal-vertical
// pairs of line passes, each pair spreading as far as two cross passes at 14 fetches instead of 26.
// The passes up to the first vertical one run at the scratch size. That vertical pass draws half the
// height, each pixel the mean of the two rows it covers, each raised to the power on its own, and
// the rest run at half the height. Across, the taps sit close to whole pixels apart, so the glow of
// a thin feature stays a row of thin copies that only the full width holds; down, they sit at
// 1-2.3 rows with a fraction that smears such copies within a few passes, so half the height keeps
// them. Every pass sits on its source's texel grid and reads whole texels, the last one too: its
// picture is then copied (or added) to the destination, filtered to its size, in one more draw that
// costs less than the last pass's seven filtered taps at each of the destination's pixels.
void glowChain(Toolkit& tk, GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent,
               int passes, Ending ending) {
    const int crossPasses = passes % 2;
    const int firstVertical = crossPasses + 1;
    const bool halfHeight = passes > firstVertical + 1;
    const float step = 0.009f * intensity;
    const bool opaque = source->format == GL_RGB;
    GlowPrograms& programs = opaque ? tk.opaqueGlowPrograms : tk.glowPrograms;
    source->copyTo(&tk.blurTargets[0]);
    GL_FBOTexture* from = &tk.blurTargets[0];
    for (int k = 0; k < passes; ++k) {
        const bool cross = k < crossPasses;
        const bool horizontal = !cross && (k - crossPasses) % 2 == 0;
        const bool rowPair = halfHeight && k == firstVertical;
        GL_FBOTexture* pair = halfHeight && k >= firstVertical ? tk.halfHeightTargets : tk.blurTargets;
        GL_FBOTexture& to = from == &pair[0] ? pair[1] : pair[0];

        const bool onGrid = to.width == from->width && to.height * (rowPair ? 2 : 1) == from->height;
        KernelProgram* program = nullptr;
        if (onGrid) {
            const float stepX = step * float(from->width), stepY = step * float(from->height);
            if (cross) {
                program = kernelProgram(tk, {binomialCross(stepX, stepY)}, *from, 0.0f, opaque);
            } else if (rowPair) {
                const TexelKernel lower = binomialLine(stepY, true);
                program = kernelProgram(tk, {lower, scaledAndMoved(lower, 1.0f, 1)}, *from, -0.5f, opaque);
            } else {
                program = kernelProgram(tk, {binomialLine(horizontal ? stepX : stepY, !horizontal)}, *from, 0.0f, opaque);
            }
        }
        chainPass(*from, to, program, exponent, [&] {
            if (cross) {
                programs.cross.use();
                glUniform1f(programs.crossIntensity, intensity);
                glUniform1f(programs.crossExponent, exponent);
            } else if (rowPair) {
                programs.rowPair.use();
                glUniform1f(programs.rowPairExponent, exponent);
                glUniform2f(programs.rowPairStep, 0.0f, step);
                glUniform2f(programs.rowPairOffset, 0.0f, 0.5f / float(GLTK_SCRATCH_HEIGHT));
            } else {
                programs.line.use();
                glUniform1f(programs.lineExponent, exponent);
                glUniform2f(programs.lineStep, horizontal ? step : 0.0f, horizontal ? 0.0f : step);
            }
        });
        from = &to;
    }
    glUseProgram(0);
    finish(*from, *destination, ending);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);  // the window's framebuffer, as a closing copy leaves it
}

}  // namespace

namespace {

// Both entry points: the chain of passes, ended as `ending` says. An ending without blur (no pass
// to run, or a value no curve of a show should give) is the source itself, copied or added.
void blurChain(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent,
               Ending ending) {
    Toolkit& tk = toolkit();
    auto unblurred = [&] {
        if (ending.weight <= 0.0f) {
            source->copyTo(destination);
            return;
        }
        source->copyTo(&tk.blurTargets[0]);
        finish(tk.blurTargets[0], *destination, ending);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    };
    // Not a number, or a pass count past what an int holds: the picture stays unblurred instead of
    // running an undefined number of passes.
    if (!std::isfinite(intensity) || !std::isfinite(exponent) || std::fabs(intensity) > 1.0e6f) {
        unblurred();
        return;
    }

    PassTimer timer("gltk-blur");
    dropIdleKernelPrograms(tk);
    const int passes = blurPassCount(intensity);
    if (passes < 1) {  // a negative intensity: nothing to blur
        unblurred();
        return;
    }
    if (exponent == 1.0f)
        plainChain(tk, source, destination, intensity, passes, ending);
    else
        glowChain(tk, source, destination, intensity, exponent, passes, ending);
}

}  // namespace

void gltkBlur(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent) {
    if (!toolkit().initialised || !source || !destination)
        return;
    if (source == destination && intensity == 0.0f)
        return;
    blurChain(source, destination, intensity, exponent, Ending{});
}

void gltkBlurAdded(GL_FBOTexture* source, GL_FBOTexture* destination, float intensity, float exponent,
                   float weight) {
    if (!toolkit().initialised || !source || !destination || !(weight > 0.0f) || !std::isfinite(weight))
        return;
    blurChain(source, destination, intensity, exponent, Ending{weight});
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
