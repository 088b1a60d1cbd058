// Render targets: creation messages and memory accounting, the open-target stack, and copies.
#include "gl/fbo_texture.h"

#include "support/gl_fixture.h"
#include "support/trace_capture.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

GLint integer(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

void fillTarget(GL_FBOTexture& target, float r, float g, float b) {
    target.begin();
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    target.end();
    glClearColor(0, 0, 0, 0);
}

Rgba targetPixel(GL_FBOTexture& target, int x, int y) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebufferId);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    Rgba pixel = readPixel(x, y);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    return pixel;
}

}  // namespace

using RenderTargets = GLTest;

TEST_F(RenderTargets, MemoryCounterAddsWholeMegabytesOfOneAttachment) {
    TraceCapture capture;
    uint32_t before = GL_FBOTexture::fboMemoryMegabytes();
    GL_FBOTexture wide;
    wide.create(2, 16, 1280, 720, GL_RGBA, true);  // 7,372,800 bytes: 7 whatever the attachment count
    EXPECT_EQ(GL_FBOTexture::fboMemoryMegabytes(), before + 7);
    GL_FBOTexture small;
    small.create(1, 8, 640, 360, GL_RGBA, false);
    EXPECT_EQ(GL_FBOTexture::fboMemoryMegabytes(), before + 7);
    EXPECT_TRUE(capture.contains("INFO (fboCreator): Total fbo memory: " + std::to_string(before + 7) +
                                 " Megabytes used (new: w:1280 / h:720)\n"));
    EXPECT_TRUE(capture.contains("INFO (fboCreator): FBO successfully created (640 * 360)\n"));
    EXPECT_EQ(wide.textureId, wide.colorTextures[0]);
    EXPECT_NE(wide.colorTextures[1], 0u);
    EXPECT_NE(wide.depthRenderbuffer, 0u);
    EXPECT_EQ(small.depthRenderbuffer, 0u);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    wide.release();
    small.release();
    EXPECT_EQ(GL_FBOTexture::fboMemoryMegabytes(), before + 7);  // never decreased
}

TEST_F(RenderTargets, SeventeenAttachmentsAreRefusedSixteenAreMade) {
    TraceCapture capture({TRACE_INFO, TRACE_TO_DEBUGGER, nullptr, TRACE_ERROR});
    GL_FBOTexture tooMany;
    tooMany.create(17, 8, 4, 4, GL_RGB, false);
    EXPECT_EQ(capture.count("ERROR (fboCreator): Number of color attachments (17) exceeds "
                            "GL_MAX_COLOR_ATTACHMENTS: 16\n"), 1);
    EXPECT_EQ(tooMany.framebufferId, 0u);
    EXPECT_TRUE(capture.quitPosted());

    capture.clear();
    GL_FBOTexture sixteen;
    sixteen.create(16, 8, 4, 4, GL_RGB, false);
    EXPECT_EQ(sixteen.attachmentCount, 16u);
    for (GLuint id : sixteen.colorTextures)
        EXPECT_NE(id, 0u);
    // Attachments beyond the driver's own limit are reported one by one and the target is kept.
    int driverLimit = std::min(integer(GL_MAX_COLOR_ATTACHMENTS), 16);
    EXPECT_EQ(capture.count("WARNING (fboCreator): unable to attach render image to buffer\n"), 16 - driverLimit);
    sixteen.release();
    drainGLErrors();
}

TEST_F(RenderTargets, NestedTargetsRestoreTheOuterTargetBuffersAndViewport) {
    TraceCapture capture;
    GL_FBOTexture outer, inner;
    outer.create(2, 8, 64, 32, GL_RGBA, true);
    inner.create(1, 8, 16, 8, GL_RGBA, false);
    glViewport(3, 4, 100, 50);

    outer.begin();
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), outer.framebufferId);
    inner.begin();
    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), inner.framebufferId);
    EXPECT_EQ(integer(GL_VIEWPORT + 0), 0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_NONE);
    EXPECT_EQ(GL_FBOTexture::fboStack().size(), 1u + 1u);
    inner.end();

    EXPECT_EQ(GLuint(integer(GL_FRAMEBUFFER_BINDING)), outer.framebufferId);
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 32);
    outer.end();

    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[1], 4);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(viewport[3], 50);
    EXPECT_TRUE(GL_FBOTexture::fboStack().empty());

    capture.clear();
    outer.end();
    EXPECT_EQ(capture.count("destroyed!"), 1);
    EXPECT_EQ(capture.text(), "CRITICAL (fboStack): destroyed!\n");
    EXPECT_TRUE(GL_FBOTexture::fboStack().empty());
    outer.release();
    inner.release();
}

TEST_F(RenderTargets, CopyScalesOntoAnotherTargetAndIgnoresItself) {
    TraceCapture capture;
    GL_FBOTexture source, larger;
    source.create(1, 8, 4, 4, GL_RGBA, false);
    larger.create(1, 8, 8, 8, GL_RGBA, false);
    fillTarget(larger, 0, 0, 0);
    // Left half red, right half blue.
    source.begin();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 2, 4);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(2, 0, 2, 4);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    source.end();

    source.copyTo(&source);
    EXPECT_EQ(targetPixel(source, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(targetPixel(source, 3, 3), (Rgba{0, 0, 255, 255}));

    source.copyTo(&larger);
    EXPECT_EQ(targetPixel(larger, 0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(targetPixel(larger, 7, 7), (Rgba{0, 0, 255, 255}));
    // Linear filtering blends across the seam.
    Rgba seam = targetPixel(larger, 4, 4);
    EXPECT_GT(seam.r, 0);
    EXPECT_GT(seam.b, 0);
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
    source.release();
    larger.release();
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(RenderTargets, BindPutsAttachmentsOnConsecutiveUnitsAndCubeMapIsComplete) {
    TraceCapture capture;
    GL_FBOTexture pair;
    pair.create(2, 16, 8, 8, GL_RGB, false);
    pair.bind(GL_TEXTURE0 + 2);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_2D)), pair.colorTextures[0]);
    glActiveTexture(GL_TEXTURE3);
    EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_2D)), pair.colorTextures[1]);
    pair.unbind();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE3);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE2);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);

    GLint internalFormat = 0;
    glBindTexture(GL_TEXTURE_2D, pair.colorTextures[0]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(internalFormat, GL_RGB16F);

    EXPECT_TRUE(drainGLErrors().empty());
    capture.clear();
    GL_FBOTexture cube;
    cube.createCubeMap(16, 16);
    EXPECT_EQ(capture.text(), "INFO (fboCreator): FBO successfully created (16 * 16)\n");
    cube.bindCube();
    EXPECT_EQ(GLuint(integer(GL_TEXTURE_BINDING_CUBE_MAP)), cube.colorTextures[0]);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_2D);
    pair.release();
    cube.release();
    EXPECT_TRUE(drainGLErrors().empty());
}
