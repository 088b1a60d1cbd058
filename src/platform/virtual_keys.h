// SDL key codes to Win32 virtual-key codes; 0 for keys the show has no code for.
#pragma once

#include <cstdint>

namespace zelFramework {

uint32_t virtualKeyFromSdl(int32_t sdlKeycode);

}  // namespace zelFramework
