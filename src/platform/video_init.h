// Starts SDL's video and event subsystems once, on first need (window, display query or event pump).
#pragma once

#include <string>

namespace zelFramework {

// False when no window system can be reached; the reason is in the returned text of videoInitError.
bool initVideo();
const std::string& videoInitError();

}  // namespace zelFramework
