// Render targets: creation, binding for reading, and copying between them.
#include "gl/fbo_texture.h"
#include "gl/unfiltered_reads.h"

#include "app/trace.h"
#include "gl/gltk.h"
#include "gl/pass_timer.h"

namespace zelFramework {
namespace {

GLuint& copyProgram() {
    static GLuint program = 0;
    return program;
}

// Copies by drawing the source as a textured quad with the copy program: the same texel-centre
// sampling as a linear blit, at a fraction of its cost on a software rasteriser. Only the state the
// draw touches is changed, and all of it is put back, so a copy behaves like the blit it replaces.
void drawCopy(GLuint program, GLuint sourceTexture, const GL_FBOTexture& destination) {
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    GLint previousProgram = 0, previousUnit = GL_TEXTURE0, previousTexture = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &previousUnit);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);

    glBindFramebuffer(GL_FRAMEBUFFER, destination.framebufferId);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, destination.width, destination.height);
    for (GLenum capability : {GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST, GL_CULL_FACE})
        glDisable(capability);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glUseProgram(program);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    drawQuad();

    glBindTexture(GL_TEXTURE_2D, GLuint(previousTexture));
    glActiveTexture(GLenum(previousUnit));
    glUseProgram(GLuint(previousProgram));
    glPopAttrib();
}

uint32_t& memoryCounter() {
    static uint32_t megabytes = 0;
    return megabytes;
}

// Whole megabytes of one colour attachment, truncated, as the loading log reports them.
uint32_t colorMegabytes(int bitsPerChannel, int width, int height, GLenum format) {
    uint32_t channels = format == GL_RGB ? 3u : 4u;
    uint32_t bytes = (uint32_t(bitsPerChannel) * uint32_t(width) * uint32_t(height)) / 8u * channels;
    return bytes / 1048576u;
}

void reportCompleteness(int width, int height) {
    GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER);
    const char* tag = "fboCreator";
    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE:
        trace(TRACE_INFO, tag, "FBO successfully created (%d * %d)", width, height);
        break;
    case 0x8CD6: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT"); break;
    case 0x8CD7: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT"); break;
    case 0x8CD9: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT"); break;
    case 0x8CDA: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_FORMATS_EXT"); break;
    case 0x8CDB: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT"); break;
    case 0x8CDC: trace(TRACE_ERROR, tag, "FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT"); break;
    case 0x8CDD: trace(TRACE_ERROR, tag, "FRAMEBUFFER_UNSUPPORTED_EXT"); break;
    default: trace(TRACE_WARNING, tag, "glCheckFramebufferStatusEXT: unknown return"); break;
    }
}

// Errors left by earlier, unrelated calls would otherwise be reported as this target's.
void discardPendingErrors() {
    for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

}  // namespace

void setDrawBuffers(uint32_t count) {
    static const GLenum attachments[FBO_MAX_COLOR_ATTACHMENTS] = {
        GL_COLOR_ATTACHMENT0,  GL_COLOR_ATTACHMENT1,  GL_COLOR_ATTACHMENT2,  GL_COLOR_ATTACHMENT3,
        GL_COLOR_ATTACHMENT4,  GL_COLOR_ATTACHMENT5,  GL_COLOR_ATTACHMENT6,  GL_COLOR_ATTACHMENT7,
        GL_COLOR_ATTACHMENT8,  GL_COLOR_ATTACHMENT9,  GL_COLOR_ATTACHMENT10, GL_COLOR_ATTACHMENT11,
        GL_COLOR_ATTACHMENT12, GL_COLOR_ATTACHMENT13, GL_COLOR_ATTACHMENT14, GL_COLOR_ATTACHMENT15};
    if (count > FBO_MAX_COLOR_ATTACHMENTS)
        count = FBO_MAX_COLOR_ATTACHMENTS;
    glDrawBuffers(GLsizei(count), attachments);
}

uint32_t GL_FBOTexture::fboMemoryMegabytes() { return memoryCounter(); }

void GL_FBOTexture::create(uint32_t count, int bitsPerChannel, int newWidth, int newHeight, GLenum newFormat,
                           bool withDepth) {
    if (count > FBO_MAX_COLOR_ATTACHMENTS) {
        trace(TRACE_ERROR, "fboCreator", "Number of color attachments (%d) exceeds GL_MAX_COLOR_ATTACHMENTS: %d",
              int(count), int(FBO_MAX_COLOR_ATTACHMENTS));
        return;
    }
    memoryCounter() += colorMegabytes(bitsPerChannel, newWidth, newHeight, newFormat);
    trace(TRACE_INFO, "fboCreator", "Total fbo memory: %d Megabytes used (new: w:%d / h:%d)", int(memoryCounter()),
          newWidth, newHeight);

    GLint internalFormat = GLint(newFormat);
    GLenum pixelType = GL_UNSIGNED_BYTE;
    if (bitsPerChannel == 16) {
        if (newFormat == GL_RGB)
            internalFormat = GL_RGB16F;
        else if (newFormat == GL_RGBA)
            internalFormat = GL_RGBA16F;
        pixelType = GL_FLOAT;
    }

    width = newWidth;
    height = newHeight;
    format = newFormat;
    attachmentCount = count;
    discardPendingErrors();

    glGenFramebuffers(1, &framebufferId);
    glBindFramebuffer(GL_FRAMEBUFFER, framebufferId);
    if (withDepth) {
        glGenRenderbuffers(1, &depthRenderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthRenderbuffer);
    }

    glEnable(GL_TEXTURE_2D);
    if (attachmentCount > 0)
        glGenTextures(GLsizei(attachmentCount), colorTextures);
    for (uint32_t i = 0; i < attachmentCount; ++i) {
        glBindTexture(GL_TEXTURE_2D, colorTextures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, pixelType, nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, colorTextures[i], 0);
        if (glGetError() != GL_NO_ERROR)
            trace(TRACE_WARNING, "fboCreator", "unable to attach render image to buffer");
    }
    textureId = colorTextures[0];

    reportCompleteness(width, height);

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GL_FBOTexture::createCubeMap(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    format = GL_RGBA;
    attachmentCount = 1;
    discardPendingErrors();

    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &colorTextures[0]);
    glBindTexture(GL_TEXTURE_CUBE_MAP, colorTextures[0]);
    for (GLenum face = 0; face < 6; ++face) {
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT,
                     nullptr);
    }
    textureId = colorTextures[0];

    glGenFramebuffers(1, &framebufferId);
    glBindFramebuffer(GL_FRAMEBUFFER, framebufferId);
    glGenRenderbuffers(1, &depthRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthRenderbuffer);
    if (glGetError() != GL_NO_ERROR)
        trace(TRACE_WARNING, "fboCreator", "other");

    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_CUBE_MAP_POSITIVE_X, colorTextures[0], 0);
    if (glGetError() != GL_NO_ERROR)
        trace(TRACE_WARNING, "fboCreator", "unable to attach render image to buffer");

    reportCompleteness(width, height);

    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GL_FBOTexture::bind(GLenum unit) {
    for (uint32_t i = 0; i < attachmentCount; ++i) {
        glEnable(GL_TEXTURE_2D);
        glActiveTexture(unit + i);
        glBindTexture(GL_TEXTURE_2D, colorTextures[i]);
        boundUnit = unit;
    }
}

void GL_FBOTexture::bindCube() {
    for (uint32_t i = 0; i < attachmentCount; ++i) {
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_CUBE_MAP, colorTextures[i]);
    }
    boundUnit = GL_TEXTURE0;
}

void GL_FBOTexture::unbind() {
    for (uint32_t i = 0; i < attachmentCount; ++i) {
        glActiveTexture(boundUnit + i);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    // Attachment names are invalid draw buffers for the window's framebuffer: asking there would only
    // leave a GL error behind for the next caller that checks (create's attachment check, for one).
    GLint drawFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    if (drawFramebuffer != 0)
        setDrawBuffers(1);
    glActiveTexture(GL_TEXTURE0);
}

void GL_FBOTexture::release() {
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (depthRenderbuffer)
        glDeleteRenderbuffers(1, &depthRenderbuffer);
    if (attachmentCount > 0)
        glDeleteTextures(GLsizei(attachmentCount), colorTextures);
    if (framebufferId)
        glDeleteFramebuffers(1, &framebufferId);
    depthRenderbuffer = 0;
    framebufferId = 0;
    textureId = 0;
    for (GLuint& id : colorTextures)
        id = 0;
}

void setCopyProgram(GLuint program) { copyProgram() = program; }

void GL_FBOTexture::copyTo(GL_FBOTexture* dst) {
    if (!dst || dst == this)
        return;
    PassTimer timer("copy");
    if (copyProgram() && dst->framebufferId && colorTextures[0]) {
        UnfilteredReads reads(1u, dst->width == width && dst->height == height);
        drawCopy(copyProgram(), colorTextures[0], *dst);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebufferId);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, dst->framebufferId);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, dst->width, dst->height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
}

}  // namespace zelFramework
