// Render targets: creation messages and memory accounting, the open-target stack, and copies.
#include "gl/fbo_texture.h"

#include "gl_readback.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

Rgba targetPixel(GL_FBOTexture& target, int x, int y) {
    std::vector<uint8_t> p = framebufferPixels(target.framebufferId, x, y, 1, 1);
    return {p[0], p[1], p[2], p[3]};
}

// Clears the rectangle (x, 0, width, height) of `target` to an opaque colour.
void paint(GL_FBOTexture& target, int x, int width, float r, float g, float b) {
    target.begin();
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, 0, width, target.height);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    target.end();
}

}  // namespace

using RenderTargets = GLTest;

TEST_F(RenderTargets, MemoryCounterAddsWholeMegabytesOfOneAttachment) {
    TraceCapture capture;
    uint32_t before = GL_FBOTexture::fboMemoryMegabytes();
    GL_FBOTexture wide, small;
    wide.create(2, 16, 1280, 720, GL_RGBA, true);  // 7,372,800 bytes: 7 whatever the attachment count
    small.create(1, 8, 640, 360, GL_RGBA, false);  // 921,600 bytes: under a megabyte, adds nothing
    EXPECT_EQ(GL_FBOTexture::fboMemoryMegabytes(), before + 7);
    EXPECT_TRUE(capture.contains("INFO (fboCreator): Total fbo memory: " + std::to_string(before + 7) +
                                 " Megabytes used (new: w:1280 / h:720)\n"));
    EXPECT_TRUE(capture.contains("INFO (fboCreator): FBO successfully created (640 * 360)\n"));
    EXPECT_EQ(wide.textureId, wide.colorTextures[0]);
    EXPECT_NE(wide.colorTextures[1], 0u);
    EXPECT_NE(wide.depthRenderbuffer, 0u);
    EXPECT_EQ(small.depthRenderbuffer, 0u);
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
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
    for (GLuint id : sixteen.colorTextures) EXPECT_NE(id, 0u);
    // Attachments beyond the driver's own limit are reported one by one and the target is kept.
    int driverLimit = std::min(glInteger(GL_MAX_COLOR_ATTACHMENTS), 16);
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
    auto viewport = [] {
        std::vector<GLint> v(4);
        glGetIntegerv(GL_VIEWPORT, v.data());
        return v;
    };

    outer.begin();
    inner.begin();
    EXPECT_EQ(GLuint(glInteger(GL_FRAMEBUFFER_BINDING)), inner.framebufferId);
    EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 16, 8}));
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER1), GL_NONE);
    EXPECT_EQ(GL_FBOTexture::fboStack().size(), 2u);
    inner.end();
    EXPECT_EQ(GLuint(glInteger(GL_FRAMEBUFFER_BINDING)), outer.framebufferId);
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(glInteger(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(viewport(), (std::vector<GLint>{0, 0, 64, 32}));
    outer.end();
    EXPECT_EQ(glInteger(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(viewport(), (std::vector<GLint>{3, 4, 100, 50}));
    EXPECT_TRUE(GL_FBOTexture::fboStack().empty());

    // One end too many is reported once and leaves the stack empty.
    capture.clear();
    outer.end();
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
    paint(larger, 0, 8, 0, 0, 0);
    paint(source, 0, 2, 1, 0, 0);  // left half red,
    paint(source, 2, 2, 0, 0, 1);  // right half blue

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
    EXPECT_EQ(glInteger(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_READ_FRAMEBUFFER_BINDING), 0);
    source.release();
    larger.release();
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(RenderTargets, BindPutsAttachmentsOnConsecutiveUnitsAndCubeMapIsComplete) {
    TraceCapture capture;
    GL_FBOTexture pair;
    pair.create(2, 16, 8, 8, GL_RGB, false);
    pair.bind(GL_TEXTURE0 + 2);
    for (GLuint i = 0; i < 2; ++i) {
        glActiveTexture(GL_TEXTURE2 + i);
        EXPECT_EQ(GLuint(glInteger(GL_TEXTURE_BINDING_2D)), pair.colorTextures[i]);
    }
    pair.unbind();
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (GLenum unit : {GL_TEXTURE3, GL_TEXTURE2}) {
        glActiveTexture(unit);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
        glDisable(GL_TEXTURE_2D);
    }
    glActiveTexture(GL_TEXTURE0);
    // 16 bits per channel means half floats.
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
    EXPECT_EQ(GLuint(glInteger(GL_TEXTURE_BINDING_CUBE_MAP)), cube.colorTextures[0]);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_2D);
    pair.release();
    cube.release();
    EXPECT_TRUE(drainGLErrors().empty());
}
