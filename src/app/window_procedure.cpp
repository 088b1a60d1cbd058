#include "app/window_procedure.h"

#include "platform/platform.h"

namespace zelFramework {

namespace {
// Never destroyed: the window may be closed by a destructor while the process exits.
MessageBroadcast& broadcast() {
    static auto* receiver = new MessageBroadcast;
    return *receiver;
}
}  // namespace

void setMessageBroadcast(MessageBroadcast receiver) { broadcast() = std::move(receiver); }

intptr_t defaultWindowProcedure(WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

intptr_t showWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_CLOSE) postQuitMessage(0);
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) postMessage(WM_CLOSE, 0, 0);
    if (broadcast()) broadcast()(message, wParam, lParam);
    return defaultWindowProcedure(window, message, wParam, lParam);
}

}  // namespace zelFramework
