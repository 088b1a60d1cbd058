// Reading state, buffers, texture settings and render-target pixels back from OpenGL, for the tests
// of everything that draws. Needs a current context (see support/gl_fixture.h).
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "support/gl_fixture.h"

namespace orvotest {

inline GLint glInteger(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

inline GLint textureParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

inline std::vector<float> bufferFloats(GLuint buffer, size_t count) {
    std::vector<float> out(count);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(count * sizeof(float)), out.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return out;
}

// RGBA bytes of the first colour attachment of `framebuffer`, rows bottom-up; the window is the read
// target again afterwards.
inline std::vector<uint8_t> framebufferPixels(GLuint framebuffer, int x, int y, int width, int height) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    std::vector<uint8_t> pixels = readPixelsRgba(x, y, width, height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    return pixels;
}

}  // namespace orvotest
