#include <gtest/gtest.h>

#include <vector>

#include "app/screen_metrics.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"

using namespace zelFramework;

TEST(Letterbox, PictureSpansTheWidthAndIsCentredVertically) {
    // 1280 / 2.28 = 561.4 -> 561; (720 - 561) / 2 = 79.
    Letterbox box = letterbox(1280, 720, 2.28f);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 79);
    EXPECT_EQ(box.width, 1280);
    EXPECT_EQ(box.height, 561);

    // Too flat for the picture: (500 - 561) / 2 = -30.5, truncated toward zero to -30.
    box = letterbox(1280, 500, 2.28f);
    EXPECT_EQ(box.height, 561);
    EXPECT_EQ(box.y, -30);

    // 640 / 2.28 = 280.7 -> 280; (360 - 280) / 2 = 40.  1920 / 2.28 = 842.1 -> 842; (1080 - 842) / 2 = 119.
    EXPECT_EQ(letterbox(640, 360, 2.28f).height, 280);
    EXPECT_EQ(letterbox(640, 360, 2.28f).y, 40);
    EXPECT_EQ(letterbox(1920, 1080, 2.28f).height, 842);
    EXPECT_EQ(letterbox(1920, 1080, 2.28f).y, 119);

    // An odd band splits toward zero: (721 - 561) / 2 = 80.
    EXPECT_EQ(letterbox(1280, 721, 2.28f).y, 80);
}

TEST(ScreenMetrics, RenderHeightIsTheTruncatedSinglePrecisionQuotient) {
    setScreenMetrics(1280, 720);
    EXPECT_EQ(screenWidth, 1280);
    EXPECT_EQ(screenHeight, 720);
    EXPECT_EQ(renderHeight, 561);
    setScreenMetrics(800, 600);
    EXPECT_EQ(renderHeight, 350);  // 800 / 2.28 = 350.877
    setScreenMetrics(1280, 720);
}

namespace {
struct Seen {
    uint32_t message;
    uintptr_t wParam;
};

// Runs the queue the way the main loop does: WM_QUIT ends it, everything else is dispatched.
int runQueue(std::vector<Seen>& broadcast, bool& quit) {
    int dispatched = 0;
    Message m;
    while (peekMessage(m)) {
        if (m.message == WM_QUIT) {
            quit = true;
            break;
        }
        dispatchMessage(m);
        ++dispatched;
    }
    (void)broadcast;
    return dispatched;
}
}  // namespace

TEST(WindowProcedure, EscapeBecomesCloseAndCloseBecomesQuitThroughTheQueue) {
    clearMessageQueue();
    std::vector<Seen> seen;
    setMessageBroadcast([&](uint32_t message, uintptr_t wParam, intptr_t) { seen.push_back({message, wParam}); });
    setWindowProc([](const Message& m) { showWindowProcedure(nullptr, m.message, m.wParam, m.lParam); });

    postMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    bool quit = false;
    EXPECT_EQ(runQueue(seen, quit), 2);  // the key, then the WM_CLOSE it posted
    EXPECT_TRUE(quit);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].message, WM_KEYDOWN);
    EXPECT_EQ(seen[0].wParam, VK_ESCAPE);
    EXPECT_EQ(seen[1].message, WM_CLOSE);

    // Other keys and key releases are only broadcast.
    seen.clear();
    quit = false;
    postMessage(WM_KEYDOWN, VK_RETURN, 0);
    postMessage(WM_KEYUP, VK_ESCAPE, 0);
    postMessage(WM_KEYDOWN, VK_F10, 0);
    EXPECT_EQ(runQueue(seen, quit), 3);
    EXPECT_FALSE(quit);
    EXPECT_EQ(seen.size(), 3u);

    // The quit request carries exit code 0.
    postMessage(WM_CLOSE);
    Message m;
    ASSERT_TRUE(peekMessage(m));
    dispatchMessage(m);
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 0u);

    setWindowProc({});
    setMessageBroadcast({});
    clearMessageQueue();
}
