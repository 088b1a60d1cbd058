// Render targets: framebuffer objects with colour textures and an optional depth buffer, readable
// like any texture, and the process-wide stack of targets open for drawing.
#pragma once

#include "gl/texture.h"

#include <cstdint>
#include <deque>

namespace zelFramework {

constexpr uint32_t FBO_MAX_COLOR_ATTACHMENTS = 16;

class GL_FBOTexture : public GL_Texture {
public:
    GLuint framebufferId = 0;
    GLuint colorTextures[FBO_MAX_COLOR_ATTACHMENTS] = {};
    GLuint depthRenderbuffer = 0;
    uint32_t attachmentCount = 0;  // 1 for a cube map
    GLenum boundUnit = GL_TEXTURE0;
    GLint savedViewport[4] = {};

    // Makes a 2-D target of `attachmentCount` colour textures (8 or 16 bits per channel, GL_RGB or
    // GL_RGBA) and, with `withDepth`, a 24-bit depth buffer. Failures are logged, not returned; an
    // incomplete target is kept and used like a complete one. After create, `textureId` is
    // colour attachment 0, so code that only reads the first picture can treat it as a plain texture.
    void create(uint32_t attachmentCount, int bitsPerChannel, int width, int height, GLenum format, bool withDepth);
    // Makes a cube-map target: one RGBA half-float cube texture with its +X face attached, 16-bit depth.
    void createCubeMap(int width, int height);

    // Binds colour attachment i on unit `unit` + i for every attachment.
    void bind(GLenum unit) override;
    // Binds the cube texture(s) on GL_TEXTURE0 + i.
    void bindCube();
    // Unbinds every attachment, sets the draw buffer back to attachment 0 on whatever framebuffer is
    // bound and leaves GL_TEXTURE0 active.
    void unbind() override;
    // Deletes the framebuffer, its textures and depth buffer. The memory counter keeps its value.
    void release() override;

    // Opens the target for drawing (framebuffer, draw buffers, viewport) and pushes it on the stack.
    void begin();
    // Closes the target on top: default framebuffer, the viewport saved by begin, then popFboStack.
    void end();
    // Copies colour attachment 0 into `dst`'s attachment 0, scaled linearly to its size. A copy onto
    // itself (or a null `dst`) does nothing. Leaves the default framebuffer bound.
    void copyTo(GL_FBOTexture* dst);

    // The stack half of end: drops the top target and re-binds the one beneath with its draw buffers.
    // On an empty stack logs CRITICAL "destroyed!" and changes nothing.
    static void popFboStack();

    // The targets open for drawing; the back is the top.
    static std::deque<GL_FBOTexture*>& fboStack();
    // Whole megabytes of colour storage made so far (only ever grows).
    static uint32_t fboMemoryMegabytes();
};

// The program copyTo draws with (sampler on unit 0, texture coordinate 0 straight through); 0 makes
// copies framebuffer blits again. The blur toolkit sets it up with itself.
void setCopyProgram(GLuint program);

// Sets glDrawBuffers to GL_COLOR_ATTACHMENT0 .. GL_COLOR_ATTACHMENT0 + count - 1 (at most 16).
void setDrawBuffers(uint32_t count);

}  // namespace zelFramework
