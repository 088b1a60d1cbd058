// The platform layer: everything the show needs from the operating system, met on Linux.
// This is the only header set that may pull in SDL2 in its .cpp files; callers see plain types.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zelFramework {

// ---- Messages: Win32 message numbers, so the rest of the program reads like its design. ----
enum : uint32_t {
    WM_NULL = 0x0000,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
};

// Win32 virtual-key codes carried in wParam of key messages and used to index the key-state table.
enum : uint32_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
    VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E,
    // '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as in Win32.
    VK_NUMPAD0 = 0x60,
    VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3,
};

struct Message {
    uint32_t message = WM_NULL;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Packs client coordinates the way Win32 mouse messages carry them (x low word, y high word).
constexpr intptr_t makeMouseLParam(int x, int y) { return intptr_t((x & 0xFFFF) | ((y & 0xFFFF) << 16)); }
constexpr int mouseX(intptr_t lParam) { return int(int16_t(lParam & 0xFFFF)); }
constexpr int mouseY(intptr_t lParam) { return int(int16_t((lParam >> 16) & 0xFFFF)); }

// The window procedure: every dispatched message goes through it.
using WindowProc = std::function<void(const Message&)>;

// Posts a message to the back of the queue (PostMessageA).
void postMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// Posts WM_QUIT with the exit code (PostQuitMessage).
void postQuitMessage(int exitCode);
// Pulls pending window-system events into the queue, then removes and returns the first message.
// False when the queue is empty (PeekMessageA with PM_REMOVE).
bool peekMessage(Message& out);
// Hands a message to the installed window procedure (DispatchMessageA).
void dispatchMessage(const Message& msg);
void setWindowProc(WindowProc proc);
// Drops every queued message (tests, and a fresh start after the dialog).
void clearMessageQueue();
// Translates pending SDL events into queued messages; called by peekMessage.
void pumpEvents();

// Key-state table indexed by virtual-key code, kept current from the window system (GetAsyncKeyState).
bool isKeyDown(uint32_t virtualKey);
// Tests and synthetic input set entries directly.
void setKeyDown(uint32_t virtualKey, bool down);

// ---- Time ----
uint64_t performanceCounter();
uint64_t performanceFrequency();
void sleepMs(uint32_t ms);

// ---- Debugger output: standard error, piece by piece; tests may capture it. ----
void debugOutput(const char* text);
// Installs a hook that receives every piece instead of standard error; an empty function restores it.
// Returns the hook it replaces, so a capture can put it back.
std::function<void(const char*)> setDebugOutputHook(std::function<void(const char*)> hook);

// ---- Files: names stay byte-exact with '\' separators; this is where they meet the file system. ----
std::filesystem::path nativePath(std::string_view name);
FILE* openFile(std::string_view name, const char* mode);
// The folder the running executable lies in (its resources folder sits beside it).
std::filesystem::path executableDirectory();
// Makes the folder the working directory; false when it cannot be entered.
bool changeDirectory(const std::filesystem::path& folder);

// ---- The process-wide generator: state = state * 214013 + 2531011, result (state >> 16) & 0x7FFF. ----
constexpr int RAND_LIMIT = 0x7FFF;
int showRand();
void showSrand(uint32_t seed);

}  // namespace zelFramework
