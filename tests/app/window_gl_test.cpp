// GL_Window against a real window system (Xvfb in the test run).
#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"
#include "support/trace_capture.h"

using namespace zelFramework;

namespace {
int procedureCalls = 0;
intptr_t countingProcedure(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    ++procedureCalls;
    return 0;
}

// Position and client size of a window, and the GL viewport, as {x, y, width, height}.
std::vector<int> placement(WindowHandle window) {
    std::vector<int> r(4);
    windowPosition(window, r[0], r[1]);
    windowClientSize(window, r[2], r[3]);
    return r;
}
std::vector<int> currentViewport() {
    GLint v[4] = {};
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[0], v[1], v[2], v[3]};
}

int cursorCounter() {
    const int c = showCursor(true);
    showCursor(false);
    return c - 1;
}
}  // namespace

TEST(GLWindow, WindowedIsCentredWithTheExactClientSizeAndFixedFrame) {
    int screenW = 0, screenH = 0;
    ASSERT_TRUE(desktopSize(screenW, screenH));
    const int cursorBefore = cursorCounter();

    GL_Window w;
    ASSERT_TRUE(w.create(320, 200, 2.28f, false, countingProcedure, "ovo"));
    EXPECT_TRUE(w.created);
    EXPECT_FALSE(w.fullScreen);
    EXPECT_EQ(placement(w.windowHandle()), (std::vector<int>{screenW / 2 - 160, screenH / 2 - 100, 320, 200}));
    EXPECT_TRUE(windowHasCaption(w.windowHandle()));
    EXPECT_FALSE(windowIsResizable(w.windowHandle()));
    EXPECT_EQ(windowTitle(w.windowHandle()), "ovo");
    EXPECT_EQ(cursorCounter(), cursorBefore);  // windowed leaves the cursor alone

    // 320 / 2.28 = 140.35 -> 140 at y (200 - 140) / 2 = 30.
    EXPECT_EQ(currentViewport(), (std::vector<int>{0, 30, 320, 140}));

    // gluPerspective(45, 2.28, 0.1, 100): m[5] = 1 / tan(22.5 deg), m[0] = m[5] / aspect.
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[5], f, 1e-4);
    EXPECT_NEAR(projection[0], f / 2.28f, 1e-4);
    EXPECT_NEAR(projection[10], -(100.0f + 0.1f) / (100.0f - 0.1f), 1e-4);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // Dispatched messages reach the procedure given at creation.
    procedureCalls = 0;
    dispatchMessage({WM_MOUSEMOVE, 0, 0});
    EXPECT_EQ(procedureCalls, 1);

    EXPECT_TRUE(w.destroy());
    EXPECT_FALSE(w.created);
    EXPECT_FALSE(w.destroy());  // nothing left to destroy
    dispatchMessage({WM_MOUSEMOVE, 0, 0});
    EXPECT_EQ(procedureCalls, 1);  // the destroyed window no longer receives messages
}

TEST(GLWindow, FullScreenInTheDesktopModeHidesTheCursorUntilDestroyed) {
    int screenW = 0, screenH = 0;
    ASSERT_TRUE(desktopSize(screenW, screenH));
    ASSERT_GE(cursorCounter(), 0);
    GL_Window w;
    ASSERT_TRUE(w.create(screenW, screenH, 2.28f, true, showWindowProcedure, "ovo"));
    EXPECT_TRUE(w.fullScreen);
    EXPECT_LT(cursorCounter(), 0);
    EXPECT_FALSE(windowHasCaption(w.windowHandle()));
    EXPECT_TRUE(w.destroy());
    // One ShowCursor(true) at destroy makes it visible again.
    EXPECT_GE(cursorCounter(), 0);
    int dw = 0, dh = 0;
    desktopSize(dw, dh);
    EXPECT_EQ(dw, screenW);
    EXPECT_EQ(dh, screenH);
}

TEST(GLWindow, RefusedModeChangeFallsBackToABorderlessWindowAtTheOrigin) {
    // No display offers 333 x 222, so the mode change is refused.
    const int cursorBefore = cursorCounter();
    GL_Window w;
    ASSERT_TRUE(w.create(333, 222, 2.28f, true, showWindowProcedure, "ovo"));
    EXPECT_FALSE(w.fullScreen);
    EXPECT_FALSE(windowHasCaption(w.windowHandle()));
    EXPECT_EQ(placement(w.windowHandle()), (std::vector<int>{0, 0, 333, 222}));
    EXPECT_EQ(cursorCounter(), cursorBefore);  // the cursor stays visible

    // A second create replaces the first window; a negative band lets the picture overflow top and bottom.
    ASSERT_TRUE(w.create(1280, 500, 2.28f, false, showWindowProcedure, "two"));
    EXPECT_EQ(placement(w.windowHandle())[2], 1280);
    EXPECT_EQ(currentViewport(), (std::vector<int>{0, -30, 1280, 561}));
    EXPECT_TRUE(w.destroy());
}

TEST(GLWindow, EscapeFromTheWindowSystemEndsInAQuitRequest) {
    GL_Window w;
    ASSERT_TRUE(w.create(160, 90, 2.28f, false, showWindowProcedure, "ovo"));
    clearMessageQueue();
    std::vector<uint32_t> broadcast;
    setMessageBroadcast([&](uint32_t message, uintptr_t, intptr_t) { broadcast.push_back(message); });

    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&e);

    // The main loop's message check, as many rounds as it takes.
    bool quit = false;
    for (int round = 0; round < 10 && !quit; ++round) {
        Message m;
        while (peekMessage(m)) {
            if (m.message == WM_QUIT) {
                quit = true;
                break;
            }
            dispatchMessage(m);
        }
    }
    EXPECT_TRUE(quit);
    EXPECT_NE(std::find(broadcast.begin(), broadcast.end(), uint32_t(WM_KEYDOWN)), broadcast.end());
    EXPECT_NE(std::find(broadcast.begin(), broadcast.end(), uint32_t(WM_CLOSE)), broadcast.end());
    // The window outlives WM_CLOSE: the shutdown still has a context to release GL objects in.
    EXPECT_TRUE(w.created);
    EXPECT_NE(glGetString(GL_VERSION), nullptr);
    setMessageBroadcast({});
    w.destroy();
}

TEST(GLWindow, DisplayModesIncludeTheDesktopAtThirtyTwoBits) {
    int screenW = 0, screenH = 0;
    ASSERT_TRUE(desktopSize(screenW, screenH));
    const std::vector<DisplayMode> modes = displayModes();
    ASSERT_FALSE(modes.empty());
    bool found = false;
    for (const DisplayMode& m : modes) found |= m.width == screenW && m.height == screenH && m.bitsPerPixel == 32;
    EXPECT_TRUE(found) << "no 32-bit mode of the desktop size " << screenW << " x " << screenH;
}
