// The show's window procedure: Escape and the close button end the program, and every message is
// also handed to the message broadcast (the editor and the active layers, once the runtime fills it).
#pragma once

#include <cstdint>
#include <functional>

#include "app/window.h"

namespace zelFramework {

using MessageBroadcast = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

// Installs the receiver of every message the window procedure sees; an empty function removes it.
void setMessageBroadcast(MessageBroadcast broadcast);

// Escape posts WM_CLOSE; WM_CLOSE posts the quit request (WM_QUIT, exit code 0). After those two,
// every message goes to the broadcast and then to the default procedure, whose result is returned.
intptr_t showWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// What is left for messages nobody handled. The window deliberately survives WM_CLOSE: it and its
// context must outlive the main loop so that the layers can release their GL objects at shutdown.
intptr_t defaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace zelFramework
