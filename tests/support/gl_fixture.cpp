#include "gl_fixture.h"

#include <GL/glew.h>

#include <ostream>

namespace orvotest {

namespace {
std::string& contextError() {
    static std::string text;
    return text;
}
}  // namespace

zelFramework::WindowHandle ensureGLContext() {
    // Opened once and kept for the life of the process: window and context creation under Xvfb
    // costs far more than any single test.
    static zelFramework::WindowHandle window = [] {
        zelFramework::WindowRequest request;
        request.title = "orvo-test";
        request.width = GL_TEST_WIDTH;
        request.height = GL_TEST_HEIGHT;
        request.hidden = true;
        zelFramework::WindowHandle w = zelFramework::openWindow(request);
        if (!w) contextError() = zelFramework::lastWindowError();
        return w;
    }();
    if (window) zelFramework::makeCurrent(window);
    return window;
}

const std::string& glContextError() { return contextError(); }

std::ostream& operator<<(std::ostream& os, const Rgba& c) {
    return os << "rgba(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a) << ")";
}

std::vector<uint8_t> readPixelsRgba(int x, int y, int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba readPixel(int x, int y) {
    const std::vector<uint8_t> p = readPixelsRgba(x, y, 1, 1);
    return {p[0], p[1], p[2], p[3]};
}

std::vector<unsigned> drainGLErrors() {
    std::vector<unsigned> errors;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && errors.size() < 64; e = glGetError()) errors.push_back(e);
    return errors;
}

void GLTest::SetUp() {
    ASSERT_NE(ensureGLContext(), nullptr) << "no OpenGL context (run under xvfb-run): " << glContextError();
    if (GLEW_EXT_framebuffer_object) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glUseProgram(0);
    glViewport(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drainGLErrors();
}

}  // namespace orvotest
