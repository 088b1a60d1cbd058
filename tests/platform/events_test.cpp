// Window-system events become Win32-valued messages through the real queue.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"

using namespace zelFramework;

namespace {

class Events : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        clearMessageQueue();
        for (uint32_t vk = 0; vk < 256; ++vk) setKeyDown(vk, false);
    }
    void TearDown() override { clearMessageQueue(); }

    static void pushKey(SDL_Keycode key, bool down, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    static std::vector<Message> drain() {
        std::vector<Message> out;
        Message m;
        while (peekMessage(m)) out.push_back(m);
        return out;
    }
};

}  // namespace

TEST_F(Events, KeysCarryVirtualKeyCodesAndKeepTheKeyTable) {
    const struct {
        SDL_Keycode sdl;
        uint32_t vk;
    } keys[] = {{SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},  {SDLK_RETURN, 13}, {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32},
                {SDLK_z, 90},        {SDLK_a, 65},   {SDLK_7, 0x37},    {SDLK_F5, 116},    {SDLK_F6, 117},
                {SDLK_F10, 121},     {SDLK_LEFT, 0x25}, {SDLK_DELETE, 0x2E}};
    for (const auto& k : keys) {
        pushKey(k.sdl, true);
        std::vector<Message> msgs = drain();
        ASSERT_EQ(msgs.size(), 1u) << "key " << k.vk;
        EXPECT_EQ(msgs[0].message, WM_KEYDOWN);
        EXPECT_EQ(msgs[0].wParam, k.vk);
        EXPECT_TRUE(isKeyDown(k.vk));
        pushKey(k.sdl, false);
        msgs = drain();
        ASSERT_EQ(msgs.size(), 1u);
        EXPECT_EQ(msgs[0].message, WM_KEYUP);
        EXPECT_EQ(msgs[0].wParam, k.vk);
        EXPECT_FALSE(isKeyDown(k.vk));
    }
}

TEST_F(Events, EitherShiftIsReportedAsShiftAndHeldWhileOneSideIsDown) {
    pushKey(SDLK_LSHIFT, true);
    pushKey(SDLK_RSHIFT, true);
    pushKey(SDLK_LSHIFT, false);
    const std::vector<Message> msgs = drain();
    ASSERT_EQ(msgs.size(), 3u);
    for (const Message& m : msgs) EXPECT_EQ(m.wParam, VK_SHIFT);
    EXPECT_TRUE(isKeyDown(VK_SHIFT));
    EXPECT_TRUE(isKeyDown(VK_RSHIFT));
    EXPECT_FALSE(isKeyDown(VK_LSHIFT));
    pushKey(SDLK_RSHIFT, false);
    drain();
    EXPECT_FALSE(isKeyDown(VK_SHIFT));
}

TEST_F(Events, AutoRepeatSetsThePreviousStateBitAndUnknownKeysAreDropped) {
    pushKey(SDLK_SPACE, true);
    pushKey(SDLK_SPACE, true, true);
    pushKey(SDLK_APPLICATION, true);  // no virtual key of ours
    const std::vector<Message> msgs = drain();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].lParam & (intptr_t(1) << 30), 0);
    EXPECT_NE(msgs[1].lParam & (intptr_t(1) << 30), 0);
}

TEST_F(Events, MouseMessagesCarryClientCoordinatesInLParam) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 300;
    e.motion.y = 17;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = 5;
    e.button.y = 600;
    SDL_PushEvent(&e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    SDL_PushEvent(&e);
    e.button.button = SDL_BUTTON_RIGHT;
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.state = SDL_PRESSED;
    SDL_PushEvent(&e);

    const std::vector<Message> msgs = drain();
    ASSERT_EQ(msgs.size(), 4u);
    EXPECT_EQ(msgs[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(msgs[0].lParam, intptr_t(300 | (17 << 16)));
    EXPECT_EQ(msgs[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(mouseX(msgs[1].lParam), 5);
    EXPECT_EQ(mouseY(msgs[1].lParam), 600);
    EXPECT_EQ(msgs[1].wParam & 1u, 1u);  // MK_LBUTTON while the left button is down
    EXPECT_EQ(msgs[2].message, WM_LBUTTONUP);
    EXPECT_EQ(msgs[3].message, WM_RBUTTONDOWN);
    EXPECT_TRUE(isKeyDown(VK_RBUTTON));
    EXPECT_FALSE(isKeyDown(VK_LBUTTON));
}

TEST_F(Events, TheCloseButtonAndTerminationSignalsBecomeWmClose) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
    e = {};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    const std::vector<Message> msgs = drain();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].message, WM_CLOSE);
    EXPECT_EQ(msgs[1].message, WM_CLOSE);
}
