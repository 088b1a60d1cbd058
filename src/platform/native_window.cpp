// SDL window + OpenGL compatibility context + GLEW.
#include "platform/native_window.h"

#include <GL/glew.h>
#include <SDL.h>

#include "platform/video_init.h"

namespace zelFramework {

struct NativeWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool fullScreen = false;
    bool caption = false;
};

namespace {

std::string& lastError() {
    static std::string text;
    return text;
}

int& cursorCounter() {
    static int counter = 0;
    return counter;
}

void requestContextAttributes() {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The exact mode asked for, at 4 bytes per pixel; anything else counts as a refused mode change.
bool findExactMode(int width, int height, SDL_DisplayMode& out) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w == width && mode.h == height && SDL_BYTESPERPIXEL(mode.format) == 4) {
            out = mode;
            return true;
        }
    }
    return false;
}

bool switchToFullScreen(SDL_Window* window, int width, int height) {
    SDL_DisplayMode mode;
    if (!findExactMode(width, height, mode)) return false;
    if (SDL_SetWindowDisplayMode(window, &mode) != 0) return false;
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool loadEntryPoints() {
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    glGetError();  // glewInit may leave GL_INVALID_ENUM behind on some drivers
    // Without a GLX display (an EGL-backed context: SDL's offscreen driver, Wayland, a GPU server) GLEW
    // still loads every core and extension entry point through the dispatch library; only its GLX part
    // is missing, which the show never uses.
    if (result != GLEW_OK && result != GLEW_ERROR_NO_GLX_DISPLAY) {
        lastError() = std::string("glewInit: ") + reinterpret_cast<const char*>(glewGetErrorString(result));
        return false;
    }
    // Should a driver's loader not hand out the entry points for this kind of context, say so here
    // instead of crashing at the first shader.
    if (!glCreateShader || !glGenFramebuffers || !glBindFramebuffer || !glGenBuffers) {
        lastError() = result == GLEW_ERROR_NO_GLX_DISPLAY
                          ? "glewInit: no GLX display and the OpenGL 2/3 entry points of this EGL context did not load"
                          : "glewInit: the OpenGL 2/3 entry points did not load";
        return false;
    }
    return true;
}

}  // namespace

const std::string& lastWindowError() { return lastError(); }

WindowHandle openWindow(const WindowRequest& request) {
    lastError().clear();
    if (!initVideo()) {
        lastError() = videoInitError();
        return nullptr;
    }
    requestContextAttributes();

    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= request.hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    const bool bordered = request.caption && !request.fullScreen;
    if (!bordered) flags |= SDL_WINDOW_BORDERLESS;
    const int x = request.fullScreen ? 0 : request.x;
    const int y = request.fullScreen ? 0 : request.y;

    SDL_Window* window = SDL_CreateWindow(request.title.c_str(), x, y, request.width, request.height, flags);
    if (!window) {
        lastError() = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return nullptr;
    }

    auto* native = new NativeWindow{window, nullptr, false, bordered};
    if (request.fullScreen) {
        native->fullScreen = switchToFullScreen(window, request.width, request.height);
        if (!native->fullScreen) {
            // The display refused the mode: a borderless window of the requested size at (0, 0).
            SDL_SetWindowFullscreen(window, 0);
            SDL_SetWindowSize(window, request.width, request.height);
            SDL_SetWindowPosition(window, 0, 0);
        }
    }

    native->context = SDL_GL_CreateContext(window);
    if (!native->context) {
        lastError() = std::string("SDL_GL_CreateContext: ") + SDL_GetError();
        closeWindow(native);
        return nullptr;
    }
    SDL_GL_MakeCurrent(window, native->context);
    if (!loadEntryPoints()) {
        const std::string reason = lastError();
        closeWindow(native);
        lastError() = reason;
        return nullptr;
    }
    if (!request.hidden) {
        SDL_RaiseWindow(window);
        SDL_SetWindowInputFocus(window);
    }
    return native;
}

void closeWindow(WindowHandle native) {
    if (!native) return;
    if (native->fullScreen) SDL_SetWindowFullscreen(native->window, 0);  // desktop mode back first
    if (native->context) {
        if (SDL_GL_GetCurrentContext() == native->context) SDL_GL_MakeCurrent(native->window, nullptr);
        SDL_GL_DeleteContext(native->context);
    }
    if (native->window) SDL_DestroyWindow(native->window);
    delete native;
}

bool isFullScreen(WindowHandle native) { return native && native->fullScreen; }

void makeCurrent(WindowHandle native) {
    if (native) SDL_GL_MakeCurrent(native->window, native->context);
}

void swapBuffers(WindowHandle native) {
    if (native) SDL_GL_SwapWindow(native->window);
}

void setWindowTitle(WindowHandle native, const char* title) {
    if (native) SDL_SetWindowTitle(native->window, title ? title : "");
}

std::string windowTitle(WindowHandle native) { return native ? SDL_GetWindowTitle(native->window) : ""; }

void windowClientSize(WindowHandle native, int& width, int& height) {
    width = height = 0;
    if (native) SDL_GetWindowSize(native->window, &width, &height);
}

void windowPosition(WindowHandle native, int& x, int& y) {
    x = y = 0;
    if (native) SDL_GetWindowPosition(native->window, &x, &y);
}

bool windowIsResizable(WindowHandle native) {
    return native && (SDL_GetWindowFlags(native->window) & SDL_WINDOW_RESIZABLE) != 0;
}

bool windowHasCaption(WindowHandle native) { return native && native->caption; }

bool desktopSize(int& width, int& height) {
    width = height = 0;
    SDL_DisplayMode mode;
    if (!initVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}

std::vector<DisplayMode> displayModes() {
    std::vector<DisplayMode> modes;
    if (!initVideo()) return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        // SDL reports 24 *bits* for the 32-bit X11 format; what counts is the storage per pixel.
        modes.push_back({mode.w, mode.h, int(SDL_BYTESPERPIXEL(mode.format)) * 8, mode.refresh_rate});
    }
    return modes;
}

int showCursor(bool show) {
    int& counter = cursorCounter();
    counter += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(counter >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return counter;
}

void setCursorPos(int x, int y) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_WarpMouseGlobal(x, y);
}

}  // namespace zelFramework
