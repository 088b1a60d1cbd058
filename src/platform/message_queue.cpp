// Our message queue: Win32-valued messages fed by the window system and by postMessage.
#include <deque>

#include "platform/platform.h"

namespace zelFramework {

namespace {
std::deque<Message>& queue() {
    static std::deque<Message> q;
    return q;
}
WindowProc& windowProc() {
    static WindowProc proc;
    return proc;
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
