// The letterbox arithmetic, the render height and the show's window procedure on the message queue.
#include <gtest/gtest.h>

#include <vector>

#include "app/screen_metrics.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"

using namespace zelFramework;

TEST(Letterbox, PictureSpansTheWidthAndIsCentredVerticallyTruncatingTowardZero) {
    const struct {
        int width, height;
        Letterbox expected;  // x, y, width, height
    } cases[] = {
        {1280, 720, {0, 79, 1280, 561}},    // 1280 / 2.28 = 561.4 -> 561; (720 - 561) / 2 = 79
        {1280, 721, {0, 80, 1280, 561}},    // an odd band: 160 / 2 = 80
        {1280, 500, {0, -30, 1280, 561}},   // too flat: (500 - 561) / 2 = -30.5 -> -30
        {640, 360, {0, 40, 640, 280}},      // 280.7 -> 280
        {1920, 1080, {0, 119, 1920, 842}},  // 842.1 -> 842
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Letterbox box = letterbox(c.width, c.height, 2.28f);
        EXPECT_EQ(box.x, c.expected.x);
        EXPECT_EQ(box.y, c.expected.y);
        EXPECT_EQ(box.width, c.expected.width);
        EXPECT_EQ(box.height, c.expected.height);
    }
}

TEST(ScreenMetrics, RenderHeightIsTheTruncatedSinglePrecisionQuotient) {
    setScreenMetrics(800, 600);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenHeight, 600);
    EXPECT_EQ(renderHeight, 350);  // 800 / 2.28 = 350.877
    setScreenMetrics(1280, 720);
    EXPECT_EQ(renderHeight, 561);
}

TEST(WindowProcedure, EscapeBecomesCloseAndCloseBecomesQuitThroughTheQueue) {
    clearMessageQueue();
    std::vector<std::pair<uint32_t, uintptr_t>> seen;
    setMessageBroadcast([&](uint32_t message, uintptr_t wParam, intptr_t) { seen.push_back({message, wParam}); });
    setWindowProc([](const Message& m) { showWindowProcedure(nullptr, m.message, m.wParam, m.lParam); });
    // Runs the queue the way the main loop does: WM_QUIT ends it (its exit code is returned), the rest
    // is dispatched.
    auto runQueue = [] {
        Message m;
        while (peekMessage(m)) {
            if (m.message == WM_QUIT) return int(m.wParam);
            dispatchMessage(m);
        }
        return -1;
    };

    postMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(runQueue(), 0);
    // The key, then the WM_CLOSE it posted.
    EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, uintptr_t>>{{WM_KEYDOWN, VK_ESCAPE}, {WM_CLOSE, 0}}));

    // Other keys and key releases are only broadcast.
    seen.clear();
    postMessage(WM_KEYDOWN, VK_RETURN, 0);
    postMessage(WM_KEYUP, VK_ESCAPE, 0);
    postMessage(WM_KEYDOWN, VK_F10, 0);
    EXPECT_EQ(runQueue(), -1);
    EXPECT_EQ(seen.size(), 3u);

    setWindowProc({});
    setMessageBroadcast({});
    clearMessageQueue();
}
