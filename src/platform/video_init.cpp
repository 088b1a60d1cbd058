#include "platform/video_init.h"

#include <SDL.h>

namespace zelFramework {

namespace {
std::string& initError() {
    static std::string text;
    return text;
}
}  // namespace

bool initVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // Closing the last window is a WM_CLOSE like any other, not a process-wide quit; SDL_QUIT then
    // only comes from SIGINT/SIGTERM.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A show that goes black when it loses focus would be useless on a second monitor.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        initError() = std::string("SDL video: ") + SDL_GetError();
        return false;
    }
    initError().clear();
    return true;
}

const std::string& videoInitError() { return initError(); }

std::string videoDriverName() {
    if (!initVideo()) return {};
    const char* name = SDL_GetCurrentVideoDriver();
    return name ? name : "";
}

bool videoDriverIsUnseen() {
    const std::string name = videoDriverName();
    return name == "offscreen" || name == "dummy";
}

}  // namespace zelFramework
