// One hidden window with a current OpenGL compatibility context per test process, shared by every GL
// test of every subsystem. Derive from GLTest (TEST_F) or call ensureGLContext() from anywhere.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/native_window.h"

namespace orvotest {

constexpr int GL_TEST_WIDTH = 256;
constexpr int GL_TEST_HEIGHT = 256;

// Opens the shared hidden window on first call (GL_TEST_WIDTH x GL_TEST_HEIGHT) and makes its context
// current. Null when no context can be had; the reason is in glContextError().
zelFramework::WindowHandle ensureGLContext();
const std::string& glContextError();

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgba& c);

// Reads the current read buffer (the back buffer unless a framebuffer object is bound); rows
// bottom-up as GL stores them, 4 bytes per pixel.
std::vector<uint8_t> readPixelsRgba(int x, int y, int width, int height);
Rgba readPixel(int x, int y);

// Every pending GL error, oldest first (empty when none).
std::vector<unsigned> drainGLErrors();

class GLTest : public ::testing::Test {
protected:
    // Fails the test when no context exists; otherwise makes the shared context current, binds the
    // window framebuffer, resets viewport, matrices, clear colour and the error flag, and clears.
    void SetUp() override;
    zelFramework::WindowHandle window() const { return ensureGLContext(); }
};

}  // namespace orvotest
