#include "app/window.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "app/trace.h"
#include "platform/platform.h"

namespace zelFramework {

namespace {

// Centred on the primary display, each half truncated toward zero.
void centredOrigin(int width, int height, int& x, int& y) {
    int screenW = 0, screenH = 0;
    desktopSize(screenW, screenH);
    x = screenW / 2 - width / 2;
    y = screenH / 2 - height / 2;
}

void hideCursorUntilHidden() {
    for (int calls = 0; calls < 101; ++calls)
        if (showCursor(false) < 0) break;
}

void setDefaultProjection(const GL_Window& w) {
    glViewport(0, w.viewportY, w.width, w.viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, w.aspect, 0.1, 100.0);
    glViewport(w.viewportX, w.viewportY, w.viewportWidth, w.viewportHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

Letterbox letterbox(int width, int height, float aspect) {
    Letterbox box;
    box.width = width;
    box.height = int(float(width) / aspect);
    box.x = 0;
    box.y = (height - box.height) / 2;
    return box;
}

GL_Window::~GL_Window() {
    if (created) destroy();
}

bool GL_Window::create(int w, int h, float pictureAspect, bool wantFullScreen, WindowProcedure procedure,
                       const std::string& windowTitle) {
    if (created) destroy();

    WindowRequest request;
    request.title = windowTitle;
    request.width = w;
    request.height = h;
    request.fullScreen = wantFullScreen;
    request.caption = !wantFullScreen;
    if (!wantFullScreen) centredOrigin(w, h, request.x, request.y);

    window = openWindow(request);
    if (!window) {
        // Without a context every later GL call would crash; the ERROR also asks the show to quit.
        trace(TRACE_ERROR, "window", "unable to open the window: %s", lastWindowError().c_str());
        return false;
    }
    fullScreen = isFullScreen(window);
    if (fullScreen) hideCursorUntilHidden();

    // Every message the queue dispatches reaches the procedure with this window.
    setWindowProc([this](const Message& m) {
        if (windowProcedure) windowProcedure(window, m.message, m.wParam, m.lParam);
    });

    created = true;
    height = h;
    width = w;
    windowProcedure = procedure;
    title = windowTitle;
    aspect = pictureAspect;
    const Letterbox box = letterbox(w, h, pictureAspect);
    viewportWidth = box.width;
    viewportHeight = box.height;
    viewportX = box.x;
    viewportY = box.y;
    setDefaultProjection(*this);
    return true;
}

bool GL_Window::destroy() {
    if (!created) return false;
    setWindowProc({});
    closeWindow(window);  // leaves the display in the desktop mode again
    showCursor(true);
    window = nullptr;
    created = false;
    height = width = 0;
    viewportWidth = viewportHeight = 0;
    aspect = 0.0f;
    fullScreen = false;
    windowProcedure = nullptr;
    title.clear();
    return true;
}

GL_Window& showWindow() {
    static GL_Window window;
    return window;
}

}  // namespace zelFramework
