// Starts SDL's video and event subsystems once, on first need (window, display query or event pump).
#pragma once

#include <string>

namespace zelFramework {

// False when no window system can be reached; the reason is in the returned text of videoInitError.
bool initVideo();
const std::string& videoInitError();

// SDL's video driver in use ("x11", "wayland", "offscreen", ...); empty when video could not start.
std::string videoDriverName();
// True when the driver shows nothing on any screen: without a display SDL falls back to its offscreen
// driver, where windows and GL work but nobody can see or answer them.
bool videoDriverIsUnseen();

}  // namespace zelFramework
