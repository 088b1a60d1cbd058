// Construction of a renderer: the programs and shared targets a mask makes. Runs in its own process,
// because the texture registry is process-wide and the first renderer decides which targets exist.
#include <gtest/gtest.h>

#include <memory>

#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"
#include "support/trace_capture.h"

using namespace RenderEngine;
using zelFramework::GL_FBOTexture;
using zelFramework::GL_TextureManager;

namespace {

class RendererSetup : public retest::RendererGLTest {};

GL_FBOTexture* registered(const char* name) {
    return dynamic_cast<GL_FBOTexture*>(GL_TextureManager::getTexture(name));
}

}  // namespace

// The order of the two cases matters (the first creates the targets), so they are one test.
TEST_F(RendererSetup, Mask0x61MakesItsTargetsAndProgramsAndASecondRendererReusesThem) {
    orvotest::TraceCapture trace;
    Renderer first(nullptr, nullptr, 1.0f, 0x61);

    for (GLuint made : {first.prepareShader->programId, first.executeShader->programId, first.fxaaShader->programId,
                        first.ssaoShader->programId, first.aoBlurShader->programId, first.dofShader->programId})
        EXPECT_NE(made, 0u);
    for (GLuint absent : {first.cubeToEquirectShader->programId, first.combineShader->programId,
                          first.glowShader->programId, first.glowHalfTexelShader->programId,
                          first.combineGlowShader->programId})
        EXPECT_EQ(absent, 0u);
    // Every set-up uniform exists in the programs, and without reflection none is asked for.
    EXPECT_EQ(trace.count("shaderAccess"), 0) << trace.text();
    EXPECT_EQ(trace.count("ERROR"), 0) << trace.text();
    EXPECT_EQ(trace.count("FBO successfully created"), 10);  // the eight of the table, "RE:dofFocus" and "RE:dofReach"

    const RenderSize size = first.renderSize();
    EXPECT_EQ(size.width, retest::TEST_SCREEN_WIDTH);
    EXPECT_EQ(size.height, 100);
    struct Expected {
        const char* name;
        GL_FBOTexture* member;
        int width, height;
        uint32_t attachments;
    };
    for (const Expected& e : {Expected{"RE:fboDeferred", first.deferredTarget, size.width, size.height, 2},
                              Expected{"RE:tempFbo1", first.tempTarget1, size.width, size.height, 1},
                              Expected{"RE:tempFbo2", first.tempTarget2, size.width, size.height, 1},
                              Expected{"RE:fboAO", first.aoTarget, size.width, size.height, 1},
                              Expected{"RE:fboAO1", first.aoBlurTarget1, size.width / 2, size.height / 2, 1},
                              Expected{"RE:fboAO2", first.aoBlurTarget2, size.width / 2, size.height / 2, 1},
                              Expected{"RE:sceneryFBO", first.sceneryTarget, size.width, size.height, 1},
                              Expected{"RE:dofTiles", first.dofTileTarget, (size.width + 7) / 8, (size.height + 7) / 8, 1}}) {
        GL_FBOTexture* target = registered(e.name);
        ASSERT_NE(target, nullptr) << e.name;
        EXPECT_EQ(target, e.member) << e.name;
        EXPECT_EQ(target->width, e.width) << e.name;
        EXPECT_EQ(target->height, e.height) << e.name;
        EXPECT_EQ(target->attachmentCount, e.attachments) << e.name;
    }
    EXPECT_NE(first.deferredTarget->depthRenderbuffer, 0u);
    EXPECT_EQ(first.cubeMapTarget, nullptr);
    EXPECT_EQ(first.motionBlurTargets[0], nullptr);
    EXPECT_EQ(first.dofLayerTargets[0], nullptr);
    for (const char* name : {"RE:cubeMap", "RE:MoBlur0", "RE:MoBlur9", "RE:DOF1", "RE:DOF2"})
        EXPECT_EQ(GL_TextureManager::getTexture(name), nullptr) << name;

    // A second renderer of the same mask and size builds nothing: it draws with the first one's
    // programs, which stay valid when the first renderer is gone.
    trace.clear();
    auto second = std::make_unique<Renderer>(nullptr, nullptr, 1.0f, 0x61);
    EXPECT_EQ(trace.count("FBO successfully created"), 0);
    EXPECT_EQ(trace.count("shader created!"), 0) << trace.text();
    EXPECT_EQ(second->deferredTarget, first.deferredTarget);
    EXPECT_EQ(second->sceneryTarget, first.sceneryTarget);
    EXPECT_EQ(second->aoBlurTarget1, first.aoBlurTarget1);
    EXPECT_EQ(second->prepareShader, first.prepareShader);
    EXPECT_EQ(second->dofShader, first.dofShader);
    EXPECT_EQ(second->dofFocusShader, first.dofFocusShader);
    const GLuint shared = second->prepareShader->programId;
    second.reset();
    EXPECT_TRUE(glIsProgram(shared));

    // Another picture size reuses the registered targets whatever their size, but gets the programs
    // whose set-up uniforms hold the size (anti-aliasing, depth of field and its tile bound) built for it; the others
    // are shared, the AO blur too, whose texel size is that of the whole picture at every scale.
    trace.clear();
    Renderer third(nullptr, nullptr, 0.5f, 0x61);
    EXPECT_EQ(third.deferredTarget, first.deferredTarget);
    EXPECT_EQ(third.deferredTarget->width, size.width);
    EXPECT_EQ(trace.count("shader created!"), 3) << trace.text();
    EXPECT_NE(third.fxaaShader, first.fxaaShader);
    EXPECT_NE(third.dofTileShader, first.dofTileShader);
    EXPECT_EQ(third.dofReachShader, first.dofReachShader);
    EXPECT_EQ(third.aoBlurShader, first.aoBlurShader);
    EXPECT_NE(third.dofShader, first.dofShader);
    EXPECT_EQ(third.prepareShader, first.prepareShader);
    EXPECT_EQ(third.ssaoShader, first.ssaoShader);
    float invTexSize[2] = {};
    glGetUniformfv(third.dofShader->programId, glGetUniformLocation(third.dofShader->programId, "invTexSize"),
                   invTexSize);
    EXPECT_FLOAT_EQ(invTexSize[0], 1.0f / float(third.renderSize().width));
    glGetUniformfv(first.dofShader->programId, glGetUniformLocation(first.dofShader->programId, "invTexSize"),
                   invTexSize);
    EXPECT_FLOAT_EQ(invTexSize[0], 1.0f / float(size.width));

    // Another mask builds the programs its features change: reflection changes the prefix and set-up
    // of the deferred pair and of the depth pass (which runs the geometry pass's vertex stage as that
    // is built), glow adds its three (the blur on texels and between them, the combine).
    trace.clear();
    Renderer fourth(nullptr, nullptr, 1.0f, 0x61 | RE_REFLECTION | RE_GLOW);
    EXPECT_EQ(trace.count("shader created!"), 6) << trace.text();
    EXPECT_NE(fourth.prepareShader, first.prepareShader);
    EXPECT_NE(fourth.depthOnlyShader, first.depthOnlyShader);
    EXPECT_EQ(third.depthOnlyShader, first.depthOnlyShader);
    EXPECT_TRUE(first.depthOnlyShader->isValid);
    EXPECT_NE(fourth.executeShader, first.executeShader);
    EXPECT_NE(fourth.glowShader->programId, 0u);
    EXPECT_NE(fourth.glowHalfTexelShader->programId, 0u);
    EXPECT_NE(fourth.glowHalfTexelShader, fourth.glowShader);
    EXPECT_EQ(fourth.fxaaShader, first.fxaaShader);

    // A whole-number falloff's own pair of depth-of-field programs is built when asked for while
    // loading, once for every renderer of the size; a mask without depth of field builds none.
    trace.clear();
    first.prepareFocusFalloff(2.0f);
    fourth.prepareFocusFalloff(2.0f);
    EXPECT_EQ(trace.count("shader created!"), 2) << trace.text();
    Renderer withoutFocus(nullptr, nullptr, 1.0f, 0x41);
    trace.clear();
    withoutFocus.prepareFocusFalloff(2.0f);
    EXPECT_EQ(trace.count("shader created!"), 0) << trace.text();
}

TEST_F(RendererSetup, CubeModeRefusesDepthOfFieldGlowAndLayers) {
    orvotest::TraceCapture trace;
    Renderer renderer(nullptr, nullptr, 1.0f, RE_CUBEMAP | RE_DOF | RE_GLOW | RE_REAL_LIGHT_MODEL);
    EXPECT_EQ(renderer.features, uint32_t(RE_CUBEMAP | RE_REAL_LIGHT_MODEL));
    EXPECT_EQ(trace.count("WARNING (renderEngine)"), 1) << trace.text();
    EXPECT_EQ(renderer.dofShader->programId, 0u);
    EXPECT_EQ(renderer.glowShader->programId, 0u);
    EXPECT_EQ(renderer.glowHalfTexelShader->programId, 0u);
    EXPECT_NE(renderer.cubeToEquirectShader->programId, 0u);
    ASSERT_NE(renderer.cubeMapTarget, nullptr);
    EXPECT_EQ(renderer.cubeMapTarget->width, 512);
    EXPECT_EQ(renderer.renderSize().width, 512);
}
