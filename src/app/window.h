// GL_Window: the one top-level window of the show with its OpenGL context and the letterboxed
// viewport of the 2.28:1 picture inside it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/native_window.h"

namespace zelFramework {

// (window, message, wParam, lParam) -> result, as the message dispatch calls it.
using WindowProcedure = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The picture spans the full width; its height is width / aspect truncated toward zero and it is
// centred vertically, so a window too flat for the picture gets a negative y (the picture overflows
// equally at top and bottom).
Letterbox letterbox(int width, int height, float aspect);

class GL_Window {
public:
    GL_Window() = default;
    GL_Window(const GL_Window&) = delete;
    GL_Window& operator=(const GL_Window&) = delete;
    virtual ~GL_Window();

    // Opens the window (destroying an earlier one first), switches the display for full screen when
    // asked, makes the context current and sets the letterboxed viewport and default projection.
    // False only when no window or context could be had (the reason is traced as an ERROR).
    bool create(int width, int height, float aspect, bool fullScreen, WindowProcedure procedure,
                const std::string& title);
    // Restores the desktop mode and the cursor, deletes the context and closes the window.
    // False when nothing was created.
    bool destroy();
    WindowHandle windowHandle() const { return window; }

    bool created = false;
    int height = 0;
    int width = 0;
    int viewportWidth = 0;
    int viewportHeight = 0;
    int viewportX = 0;
    int viewportY = 0;
    float aspect = 0.0f;
    bool fullScreen = false;  // in effect: false after a refused mode change
    WindowProcedure windowProcedure = nullptr;
    WindowHandle window = nullptr;
    std::string title;
};

// The process-wide window of the show.
GL_Window& showWindow();

}  // namespace zelFramework
