// Our message queue: Win32-valued messages fed by the window system and by postMessage.
#include <deque>

#include "platform/platform.h"

namespace zelFramework {

namespace {
// Never destroyed, like the hooks below: destructors of other process-wide objects may still post,
// dispatch or trace while the process exits.
std::deque<Message>& queue() {
    static auto* q = new std::deque<Message>;
    return *q;
}
WindowProc& windowProc() {
    static auto* proc = new WindowProc;
    return *proc;
}
}  // namespace

void postMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) { queue().push_back({message, wParam, lParam}); }

void postQuitMessage(int exitCode) { postMessage(WM_QUIT, uintptr_t(exitCode), 0); }

bool peekMessage(Message& out) {
    pumpEvents();
    if (queue().empty()) return false;
    out = queue().front();
    queue().pop_front();
    return true;
}

void dispatchMessage(const Message& msg) {
    if (windowProc()) windowProc()(msg);
}

void setWindowProc(WindowProc proc) { windowProc() = std::move(proc); }

void clearMessageQueue() { queue().clear(); }

}  // namespace zelFramework
