// The full-picture passes of one face: ambient occlusion with its two-direction bilateral blur, the
// lighting composite, anti-aliasing with the optional depth of field, and the glow.
#include "renderengine/renderer.h"

#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/pass_timer.h"
#include "gl/texture.h"
#include "gl/unfiltered_reads.h"
#include "renderengine/texture_units.h"

#include <cmath>

namespace RenderEngine {

using zelFramework::GL_FBOTexture;
using zelFramework::drawQuad;

namespace {

// The spacing of the glow program's taps, in texels at radius 1 ("SPACING" in its source).
constexpr float GLOW_TAP_SPACING = 2.0f;

// Sets the filters of the 2-D texture bound to the active unit; returns the ones it had.
struct TextureFilters {
    GLint min = GL_LINEAR, mag = GL_LINEAR;
};
TextureFilters setFilters(TextureFilters filters) {
    TextureFilters had;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &had.min);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &had.mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters.min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters.mag);
    return had;
}

// Attachment k of the geometry target on unit n: its bind covers both attachments at once, so the
// single attachment is bound by hand, and the unit recorded so that unbind finds it.
void bindAttachment(GL_FBOTexture* target, int attachment, int unit) {
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, target->colorTextures[attachment]);
    target->boundUnit = GL_TEXTURE0 + unit;
}

void clearTarget() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// One direction of the occlusion's bilateral blur from `source` into `destination`: unit 0 the
// occlusion so far, unit 1 the geometry target's normal and depth, which keep edges sharp.
void blurOcclusion(const zelFramework::GL_Shader& shader, GL_FBOTexture* source, GL_FBOTexture* geometry,
                   GL_FBOTexture* destination, float directionX, float directionY) {
    zelFramework::PassTimer timer(directionX != 0.0f ? "ao-blur-h" : "ao-blur-v");
    destination->begin();
    clearTarget();
    source->bind(GL_TEXTURE0);
    geometry->bind(GL_TEXTURE1);
    glUseProgram(shader.programId);
    glUniform2f(shader.uniformLocation("direction"), directionX, directionY);
    drawQuad();
    glUseProgram(0);
    geometry->unbind();
    source->unbind();
    destination->end();
}

}  // namespace

bool Renderer::occlusionShown() const {
    // At no strength the occlusion is 1 everywhere (and the blurs of a constant are that constant), which
    // is what the composite reads from an empty unit too: the three passes would change nothing.
    return (features & RE_SSAO) && aoStrength > 0.0f;
}

void Renderer::occlusionPass() {
    drawOcclusion();
    // Horizontal, then vertical.
    blurOcclusion(*aoBlurShader, aoTarget, deferredTarget, aoBlurTarget2, 1.0f, 0.0f);
    blurOcclusion(*aoBlurShader, aoBlurTarget2, deferredTarget, aoBlurTarget1, 0.0f, 1.0f);
}

void Renderer::drawOcclusion() {
    zelFramework::PassTimer timer("ssao");
    aoTarget->begin();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    clearTarget();
    glUseProgram(ssaoShader->programId);
    glUniform1f(ssaoShader->uniformLocation("rad"), aoRadius);
    glUniform1f(ssaoShader->uniformLocation("totStrength"), aoStrength);
    bindOrClear(noiseTexture, 1);
    bindAttachment(deferredTarget, 0, 0);
    drawQuad();
    if (noiseTexture)
        noiseTexture->unbind();
    deferredTarget->unbind();
    glUseProgram(0);
    aoTarget->end();
}

void Renderer::compositePass(int face) {
    zelFramework::PassTimer timer("composite");
    const bool cubeMode = features & RE_CUBEMAP;
    glUseProgram(executeShader->programId);
    glUniform1f(executeShader->uniformLocation("aoExponent"), (features & RE_SSAO) ? aoExponent : 1.0f);

    GL_FBOTexture* destination = nullptr;
    if (cubeMode)
        beginCubeFace(face);
    else {
        // Anti-aliasing reads the composite from here and writes the picture, so no copy is needed.
        destination = tempTarget1;
        destination->begin();
    }

    // Debug colours per face: a face that is never drawn shows up at once in the panorama.
    static const float FACE_CLEAR[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {0, 0, 0}};
    if (cubeMode)
        glClearColor(FACE_CLEAR[face][0], FACE_CLEAR[face][1], FACE_CLEAR[face][2], 0.0f);
    else
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    clearTarget();
    glColor3f(1.0f, 1.0f, 1.0f);

    bindAttachment(deferredTarget, 1, 0);
    const bool occlusion = occlusionShown();
    if (occlusion) {
        aoBlurTarget1->bind(GL_TEXTURE1);
    } else {
        clearUnit(1);
        glActiveTexture(GL_TEXTURE0);
    }
    drawQuad();
    if (occlusion)
        aoBlurTarget1->unbind();
    if (cubeMode)
        cubeMapTarget->end();
    else
        destination->end();
    glUseProgram(0);
}

void Renderer::antiAliasAndFocusPass(int face) {
    const bool cubeMode = features & RE_CUBEMAP;
    if (features & RE_DOF) {
        if (!cubeMode) {
            // Into the second work picture, which the depth of field then reads.
            zelFramework::PassTimer timer("fxaa");
            tempTarget2->begin();
            tempTarget1->bind(GL_TEXTURE0);
            clearTarget();
            glUseProgram(fxaaShader->programId);
            drawQuad();
            glUseProgram(0);
            tempTarget1->unbind();
            tempTarget2->end();
        }
        GL_FBOTexture* sharp = cubeMode ? tempTarget1 : tempTarget2;
        focusPass();
        zelFramework::GL_Shader* gather = dofReachPass();
        zelFramework::PassTimer timer("dof");
        if (cubeMode)
            beginCubeFace(face);
        else
            sceneryTarget->begin();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        clearTarget();
        glUseProgram(gather->programId);
        if (gather == dofShader)  // the others have their falloff built in
            glUniform1f(gather->uniformLocation("dofFocusFalloff"), dofFocusFalloff);
        glUniform1f(gather->uniformLocation("dofFocusRadius"), dofFocusRadius);
        glUniform1f(gather->uniformLocation("dofFocusQuality"), dofFocusQuality);
        glUniform1f(gather->uniformLocation("dofFocusBackShift"), dofFocusBackShift);
        glUniform2f(gather->uniformLocation("reachMapScale"), 1.0f / float(dofReachTarget->width * DOF_TILE_PIXELS),
                    1.0f / float(dofReachTarget->height * DOF_TILE_PIXELS));
        bindAttachment(deferredTarget, 0, 0);
        sharp->bind(GL_TEXTURE1);
        focusTarget->bind(GL_TEXTURE2);
        dofReachTarget->bind(GL_TEXTURE3);
        drawQuad();
        glUseProgram(0);
        dofReachTarget->unbind();
        focusTarget->unbind();
        sharp->unbind();
        deferredTarget->unbind();
        if (cubeMode)
            cubeMapTarget->end();
        else
            sceneryTarget->end();
        return;
    }
    // In cube mode the composite went into the cube face and the panorama replaces the picture, so
    // there is nothing here to smooth.
    if (cubeMode)
        return;
    zelFramework::PassTimer timer("fxaa");
    tempTarget1->bind(GL_TEXTURE0);
    sceneryTarget->begin();
    clearTarget();
    glUseProgram(fxaaShader->programId);
    drawQuad();
    glUseProgram(0);
    sceneryTarget->end();
    tempTarget1->unbind();
}

// The focus distance is the same for every pixel of the frame, so it is found once, into one texel.
void Renderer::focusPass() {
    zelFramework::PassTimer timer("dof-focus");
    focusTarget->begin();
    glUseProgram(dofFocusShader->programId);
    bindAttachment(deferredTarget, 0, 0);
    drawQuad();
    deferredTarget->unbind();
    glUseProgram(0);
    focusTarget->end();
}

// Per tile the largest circle of confusion its taps can meet, so that the gather leaves out the rings
// no circle reaches: the same picture as gathering every ring, for less work where the picture is
// sharp or only slightly blurred.
zelFramework::GL_Shader* Renderer::dofReachPass() {
    zelFramework::PassTimer timer("dof-tiles");
    zelFramework::GL_Shader* gather = dofProgram(dofFocusFalloff, false);
    zelFramework::GL_Shader* tiles = dofProgram(dofFocusFalloff, true);
    if (!gather->isValid || !tiles->isValid) {
        gather = dofShader;
        tiles = dofTileShader;
    }
    const int reach = dofReachTiles(dofFocusRadius, size.height);
    const RenderSize needed = dofTileCount(size);
    const bool bounded = dofTileBound && reach >= 0 && tiles->isValid && dofReachShader->isValid &&
                         dofTileTarget->width >= needed.width && dofTileTarget->height >= needed.height &&
                         dofReachTarget->width == dofTileTarget->width && dofReachTarget->height == dofTileTarget->height;
    if (bounded) {
        dofTilePass(tiles, reach);
        return gather;
    }
    // A bound above every circle: each pixel gathers all the rings of its quality.
    dofReachTarget->begin();
    glClearColor(2.0f, 2.0f, 2.0f, 2.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    dofReachTarget->end();
    return gather;
}

void Renderer::dofTilePass(zelFramework::GL_Shader* tiles, int reachTiles) {
    // Both passes write every texel of their target without blending. The blend state is put back.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    dofTileTarget->begin();
    glUseProgram(tiles->programId);
    if (tiles == dofTileShader)
        glUniform1f(tiles->uniformLocation("dofFocusFalloff"), dofFocusFalloff);
    glUniform1f(tiles->uniformLocation("dofFocusBackShift"), dofFocusBackShift);
    bindAttachment(deferredTarget, 0, 0);
    // Texel by texel: the bound is taken over the texels as stored, which every filtered tap mixes.
    const TextureFilters had = setFilters({GL_NEAREST, GL_NEAREST});
    focusTarget->bind(GL_TEXTURE2);
    drawQuad();
    focusTarget->unbind();
    glActiveTexture(GL_TEXTURE0);
    setFilters(had);
    deferredTarget->unbind();
    dofTileTarget->end();

    dofReachTarget->begin();
    glUseProgram(dofReachShader->programId);
    glUniform1f(dofReachShader->uniformLocation("reachTiles"), float(reachTiles));
    glUniform2f(dofReachShader->uniformLocation("invTileCount"), 1.0f / float(dofTileTarget->width),
                1.0f / float(dofTileTarget->height));
    dofTileTarget->bind(GL_TEXTURE0);
    drawQuad();
    dofTileTarget->unbind();
    glUseProgram(0);
    dofReachTarget->end();
    glPopAttrib();
}

void Renderer::glowPass() {
    zelFramework::PassTimer timer("glow");
    // Both blur passes draw every pixel of their target without blending, so they need no clear. The
    // blend state is put back as it was.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    // The taps sit GLOW_TAP_SPACING x the radius texels apart. When that is a whole number every tap
    // lands on a texel centre (both targets have the picture's size), and nearest sampling reads the
    // same values as the linear filter from one texel instead of four. At a whole number and a half
    // the odd taps fall halfway between two texels; a program built for that reads both with nearest
    // sampling and takes their mean, as the filter would.
    const float spacing = GLOW_TAP_SPACING * glowRadius;
    const bool onTexels = spacing == std::floor(spacing);
    const bool onHalfTexels = !onTexels && 2.0f * spacing == std::floor(2.0f * spacing) &&
                              glowHalfTexelShader->isValid;
    const bool nearest = onTexels || onHalfTexels;
    zelFramework::GL_Shader* program = onHalfTexels ? glowHalfTexelShader : glowShader;
    glUseProgram(program->programId);
    auto blurInto = [&](GL_FBOTexture* from, GL_FBOTexture* into, float dx, float dy) {
        into->begin();
        from->bind(GL_TEXTURE0);
        const TextureFilters had = nearest ? setFilters({GL_NEAREST, GL_NEAREST}) : TextureFilters{};
        glUniform2f(program->uniformLocation("direction"), dx, dy);
        drawQuad();
        if (nearest) setFilters(had);
        from->unbind();
        into->end();
    };
    blurInto(sceneryTarget, tempTarget1, 0.0f, glowRadius);
    blurInto(tempTarget1, tempTarget2, glowRadius, 0.0f);

    // Added straight onto the picture, instead of drawing the sum elsewhere and copying it back.
    sceneryTarget->begin();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    tempTarget2->bind(GL_TEXTURE0);
    glUseProgram(combineGlowShader->programId);
    glUniform1f(combineGlowShader->uniformLocation("glowIntensity"), glowIntensity);
    {
        zelFramework::UnfilteredReads reads(1u, tempTarget2->width == sceneryTarget->width &&
                                                    tempTarget2->height == sceneryTarget->height);
        drawQuad();
    }
    glUseProgram(0);
    tempTarget2->unbind();
    sceneryTarget->end();
    glPopAttrib();
}

}  // namespace RenderEngine
