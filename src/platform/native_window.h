// The one kind of window the show opens: an SDL window with a current OpenGL compatibility-profile
// context (double-buffered, RGBA 8-8-8-8, 24-bit depth, no stencil) and GLEW's entry points loaded.
// Callers never see SDL; they hold a WindowHandle.
#pragma once

#include <string>
#include <vector>

namespace zelFramework {

struct NativeWindow;
using WindowHandle = NativeWindow*;

struct WindowRequest {
    std::string title;
    int x = 0;  // client area origin on the desktop; ignored in full screen
    int y = 0;
    int width = 256;  // client size in pixels
    int height = 256;
    bool fullScreen = false;  // switch the display to width x height; falls back to borderless at (0, 0)
    bool caption = true;      // a title bar with close and minimise; never resizable
    bool hidden = false;      // never mapped: tests and off-screen work still get a context
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // 32 for the usual 4-bytes-per-pixel formats
    int refreshRate = 0;
};

// Opens the window and makes its context current. Null (with the reason in lastWindowError) when the
// window system or the GL context cannot be had.
WindowHandle openWindow(const WindowRequest& request);
// Restores the desktop mode if the window changed it, deletes the context and destroys the window.
void closeWindow(WindowHandle window);
const std::string& lastWindowError();

// True only when the display-mode change actually took effect.
bool isFullScreen(WindowHandle window);
void makeCurrent(WindowHandle window);
void swapBuffers(WindowHandle window);
void setWindowTitle(WindowHandle window, const char* title);
std::string windowTitle(WindowHandle window);
void windowClientSize(WindowHandle window, int& width, int& height);
// Where the window system actually put the client area (it may adjust a requested position).
void windowPosition(WindowHandle window, int& x, int& y);
bool windowIsResizable(WindowHandle window);
bool windowHasCaption(WindowHandle window);

// The primary display's current desktop size; false (and 0 x 0) without a display.
bool desktopSize(int& width, int& height);
// The display modes of the primary display in the window system's order.
std::vector<DisplayMode> displayModes();

// The cursor's display counter (ShowCursor): show adds one, hide subtracts one, the cursor is visible
// while the counter is at least 0. Returns the new counter.
int showCursor(bool show);
void setCursorPos(int x, int y);

}  // namespace zelFramework
