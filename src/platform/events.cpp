// Turns window-system events into queued messages and keeps the key-state table current.
#include <SDL.h>

#include <array>

#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace zelFramework {

namespace {

std::array<bool, 256>& keyTable() {
    static std::array<bool, 256> keys{};
    return keys;
}

// Win32 reports the two Shift, Control and Alt keys under one code in key messages, while the key
// state can be asked for either side or for both together.
struct SidedKey {
    uint32_t generic, left, right;
};
constexpr SidedKey sidedKeys[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}, {VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, {VK_MENU, 0xA4, 0xA5}};

uint32_t messageKey(uint32_t vk) {
    for (const SidedKey& k : sidedKeys)
        if (vk == k.left || vk == k.right) return k.generic;
    return vk;
}

void recordKey(uint32_t vk, bool down) {
    setKeyDown(vk, down);
    for (const SidedKey& k : sidedKeys)
        if (vk == k.left || vk == k.right) setKeyDown(k.generic, isKeyDown(k.left) || isKeyDown(k.right));
}

// The MK_* flags Win32 puts in wParam of mouse messages.
uintptr_t mouseKeyFlags() {
    uintptr_t flags = 0;
    if (isKeyDown(VK_LBUTTON)) flags |= 0x0001;
    if (isKeyDown(VK_RBUTTON)) flags |= 0x0002;
    if (isKeyDown(VK_SHIFT)) flags |= 0x0004;
    if (isKeyDown(VK_CONTROL)) flags |= 0x0008;
    if (isKeyDown(VK_MBUTTON)) flags |= 0x0010;
    return flags;
}

void translateKey(const SDL_KeyboardEvent& key) {
    const uint32_t vk = virtualKeyFromSdl(key.keysym.sym);
    if (vk == 0) return;
    const bool down = key.state == SDL_PRESSED;
    const bool wasDown = isKeyDown(vk);
    recordKey(vk, down);
    // lParam as Win32 fills it: repeat count 1, bit 30 = the key was already down, bit 31 = release.
    intptr_t lParam = 1;
    if (wasDown || key.repeat) lParam |= intptr_t(1) << 30;
    if (!down) lParam |= intptr_t(1) << 31;
    postMessage(down ? WM_KEYDOWN : WM_KEYUP, messageKey(vk), lParam);
}

void translateButton(const SDL_MouseButtonEvent& button) {
    const bool down = button.state == SDL_PRESSED;
    uint32_t vk = 0, message = 0;
    switch (button.button) {
        case SDL_BUTTON_LEFT: vk = VK_LBUTTON; message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: vk = VK_RBUTTON; message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: vk = VK_MBUTTON; message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return;
    }
    setKeyDown(vk, down);
    postMessage(message, mouseKeyFlags(), makeMouseLParam(button.x, button.y));
}

void translateWheel(const SDL_MouseWheelEvent& wheel) {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    int delta = wheel.y * 120;  // WHEEL_DELTA per notch, positive away from the user
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
    const uintptr_t wParam = mouseKeyFlags() | (uintptr_t(uint16_t(int16_t(delta))) << 16);
    postMessage(WM_MOUSEWHEEL, wParam, makeMouseLParam(x, y));
}

void translateText(const SDL_TextInputEvent& text) {
    // Only plain ASCII characters reach WM_CHAR; the show's text input is ASCII.
    for (const char* c = text.text; *c; ++c)
        if (static_cast<unsigned char>(*c) < 0x80) postMessage(WM_CHAR, uintptr_t(static_cast<unsigned char>(*c)), 1);
}

void translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: translateKey(event.key); break;
        case SDL_MOUSEMOTION:
            postMessage(WM_MOUSEMOVE, mouseKeyFlags(), makeMouseLParam(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: translateButton(event.button); break;
        case SDL_MOUSEWHEEL: translateWheel(event.wheel); break;
        case SDL_TEXTINPUT: translateText(event.text); break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) postMessage(WM_CLOSE);
            break;
        case SDL_QUIT: postMessage(WM_CLOSE); break;  // SIGINT / SIGTERM: leave like the close button
        default: break;
    }
}

}  // namespace

bool isKeyDown(uint32_t vk) { return vk < 256 && keyTable()[vk]; }
void setKeyDown(uint32_t vk, bool down) {
    if (vk < 256) keyTable()[vk] = down;
}

void pumpEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate(event);
}

}  // namespace zelFramework
