// The frame loop on a scripted clock: which layers get which calls in which frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_layer.h"
#include "runtime/show_editor.h"
#include "sync/controller_set.h"

namespace zelFramework::testing {
namespace {

// Frames are 125 ms apart so that every show time is exact in float arithmetic.
constexpr int64_t STEP = 125;

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetRuntime();
        setDebugOutputHook([](const char*) {});
    }
    void TearDown() override {
        setDebugOutputHook({});
        resetRuntime();
    }
    FakeLayer* add(const std::string& name) {
        auto* layer = new FakeLayer(name, log);
        registerLayer(layer, name);
        return layer;
    }
    void play() {
        runtime().state = RuntimeState::Ready;
        runShowOn(host, nullptr);
    }
    // The calls between the n-th and (n+1)-th present.
    std::vector<std::string> frame(size_t n) {
        std::vector<std::string> out;
        size_t seen = 0;
        for (const std::string& c : log.calls) {
            if (c == "present") {
                if (seen++ == n) break;
                continue;
            }
            if (seen == n) out.push_back(c);
        }
        return out;
    }
    CallLog log;
    ScriptedHost host{log, 1000, STEP};
};

TEST_F(MainLoopTest, DoesNothingUnlessReady) {
    add("a");
    scheduleLayer("a", 0, 0, 1000);
    runShowOn(host, nullptr);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(runtime().state, RuntimeState::NotReady);
}

TEST_F(MainLoopTest, DrawsTheFrameAtExactlyTheEndAndStopsAfterIt) {
    add("a");
    scheduleLayer("a", 0, 0, 1000);
    play();
    EXPECT_EQ(log.count("render a"), 9u);  // 0, 125, ..., 1000
    ASSERT_EQ(log.times.size(), 9u);
    EXPECT_FLOAT_EQ(log.times.front().time, 0.0f);
    EXPECT_FLOAT_EQ(log.times.back().time, 1.0f);
    // The clock passes the end on the following frame, which finds nothing scheduled and stays black;
    // the end test comes before the next one.
    EXPECT_EQ(host.frames, 10);
    EXPECT_EQ(frame(9), (std::vector<std::string>{"clear"}));
}

TEST_F(MainLoopTest, ClockStartsAtTheEarliestEntry) {
    add("a");
    scheduleLayer("a", 0, 1000, 2000);
    play();
    ASSERT_FALSE(log.times.empty());
    const LayerTime& first = log.times.front();
    EXPECT_FLOAT_EQ(first.time, 1.0f);
    EXPECT_FLOAT_EQ(first.start, 1.0f);
    EXPECT_FLOAT_EQ(first.duration, 1.0f);
    EXPECT_FLOAT_EQ(first.remaining, 1.0f);
    EXPECT_TRUE(first.firstFrame);
    EXPECT_FLOAT_EQ(log.times.back().time, 2.0f);
    EXPECT_FLOAT_EQ(log.times[3].delta, 0.125f);
}

TEST_F(MainLoopTest, FirstAndLastFrameFlagsFollowTheFrameSpan) {
    add("a");
    scheduleLayer("a", 0, 0, 1000);
    play();
    ASSERT_EQ(log.times.size(), 9u);
    EXPECT_TRUE(log.times[0].firstFrame);
    EXPECT_FALSE(log.times[4].firstFrame);
    EXPECT_FALSE(log.times[4].lastFrame);
    EXPECT_TRUE(log.times[8].lastFrame);  // 1000 <= 1000 + 125
    EXPECT_TRUE(log.times[7].lastFrame);  // 1000 <= 875 + 125
}

TEST_F(MainLoopTest, SlotsDrawInAscendingOrderAndTheLaterEntryWinsASlot) {
    add("high");
    add("low");
    add("replaced");
    add("winner");
    scheduleLayer("high", 90, 0, 250);
    scheduleLayer("low", 3, 0, 250);
    scheduleLayer("replaced", 7, 0, 250);
    scheduleLayer("winner", 7, 125, 250);
    play();
    const std::vector<std::string> expectedFirst = {"tools start", "clear", "setTime low", "begin", "render low", "end",
                                                    "setTime replaced", "begin", "render replaced", "end",
                                                    "setTime high", "begin", "render high", "end"};
    EXPECT_EQ(frame(0), expectedFirst);
    std::vector<std::string> second = frame(1);
    EXPECT_EQ(std::count(second.begin(), second.end(), "render replaced"), 0);
    auto low = std::find(second.begin(), second.end(), "render low");
    auto winner = std::find(second.begin(), second.end(), "render winner");
    auto high = std::find(second.begin(), second.end(), "render high");
    ASSERT_NE(winner, second.end());
    EXPECT_TRUE(low < winner && winner < high);
}

TEST_F(MainLoopTest, InactiveLayersGetNothingAndEmptyFramesSleep) {
    add("early");
    add("late");
    scheduleLayer("early", 1, 0, 125);
    scheduleLayer("late", 2, 500, 625);
    host.scriptedMessages.push_back({3, {WM_KEYDOWN, 65, 0}});  // handled before frame 3, at 375 ms
    play();
    EXPECT_EQ(log.count("render early"), 2u);
    EXPECT_EQ(log.count("render late"), 2u);
    EXPECT_EQ(frame(2), (std::vector<std::string>{"clear"}));  // 250 ms: nothing scheduled
    EXPECT_EQ(log.count("idle"), 3u);                          // 250, 375 and 750 ms
    // The message arrives after the empty frame at 250 ms: the slot table is empty, nobody hears it.
    EXPECT_EQ(log.count("message early 256"), 0u);
    EXPECT_EQ(log.count("message late 256"), 0u);
    EXPECT_EQ(log.count("dispatch 256"), 1u);
}

TEST_F(MainLoopTest, MessagesReachOnlyTheLayersOfTheLastDrawnFrame) {
    add("a");
    add("b");
    scheduleLayer("a", 1, 0, 1000);
    scheduleLayer("b", 2, 500, 1000);
    host.scriptedMessages.push_back({2, {WM_LBUTTONDOWN, 0, 0}});
    host.scriptedMessages.push_back({6, {WM_LBUTTONUP, 0, 0}});
    play();
    EXPECT_EQ(log.count("message a 513"), 1u);
    EXPECT_EQ(log.count("message b 513"), 0u);
    EXPECT_EQ(log.count("message a 514"), 1u);
    EXPECT_EQ(log.count("message b 514"), 1u);
}

TEST_F(MainLoopTest, TriggersOfTheFrameWindowArriveAfterSetTimeInListOrder) {
    add("a");
    scheduleLayer("a", 0, 0, 500);
    runtime().triggers = {{"MIDI-C5", 0, true},    // at the very start: no frame has prevMs < 0
                          {"MIDI-D5", 125, true},  // frame 1: 0 < 125 <= 125
                          {"MIDI-E5", 130, false}, // frame 2
                          {"MIDI-F5", 250, true},  // frame 2, the upper end inclusive
                          {"MIDI-G5", 9000, true}};
    play();
    EXPECT_EQ(frame(1), (std::vector<std::string>{"clear", "setTime a", "trigger a MIDI-D5 on", "begin",
                                                  "render a", "end"}));
    EXPECT_EQ(frame(2), (std::vector<std::string>{"clear", "setTime a", "trigger a MIDI-E5 off",
                                                  "trigger a MIDI-F5 on", "begin", "render a", "end"}));
    EXPECT_EQ(log.count("trigger a MIDI-C5 on"), 0u);
    EXPECT_EQ(log.count("trigger a MIDI-G5 on"), 0u);
}

TEST_F(MainLoopTest, QuitStopsTheMusicAndReleasesEveryLayerInRegistrationOrder) {
    std::string debug;
    setDebugOutputHook([&](const char* text) { debug += text; });
    add("first");
    add("second");
    add("unscheduled");
    scheduleLayer("first", 0, 0, 100000);
    scheduleLayer("second", 1, 0, 100000);
    debug.clear();
    host.stream = true;
    host.scriptedMessages.push_back({3, {WM_QUIT, 0, 0}});
    play();
    EXPECT_EQ(runtime().state, RuntimeState::Quit);
    EXPECT_EQ(host.frames, 3);
    std::vector<std::string> tail(log.calls.end() - 8, log.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"music stop", "release first", "delete first", "release second",
                                              "delete second", "release unscheduled", "delete unscheduled",
                                              "tools stop"}));
    EXPECT_EQ(debug, "3\n3\n3\n");
    EXPECT_TRUE(runtime().registry.empty());
    EXPECT_TRUE(runtime().schedule.empty());
    EXPECT_EQ(std::count(runtime().activeSlots.begin(), runtime().activeSlots.end(), nullptr), 128);
}

TEST_F(MainLoopTest, MusicStartsFromZeroWithTheFirstFrame) {
    add("a");
    scheduleLayer("a", 0, 0, 250);
    host.stream = true;
    play();
    const std::vector<std::string> start(log.calls.begin(), log.calls.begin() + 6);
    EXPECT_EQ(start, (std::vector<std::string>{"tools start", "music seek 0", "music seek 0", "music play",
                                               "music seek 0", "clear"}));
    EXPECT_EQ(log.count("music stop"), 0u);  // the end of the schedule leaves stopping to stopShow
}

TEST_F(MainLoopTest, FromAndToPlayPartOfTheShowWithTheMusicAtTheSamePlace) {
    add("a");
    scheduleLayer("a", 0, 0, 10000);
    host.stream = true;
    runtime().span = {true, 2.5f, 3000};
    play();
    ASSERT_EQ(log.times.size(), 5u);  // 2500 ... 3000
    EXPECT_FLOAT_EQ(log.times.front().time, 2.5f);
    EXPECT_FLOAT_EQ(log.times.back().time, 3.0f);
    EXPECT_EQ(log.count("music seek 2500"), 3u);
}

// An editor that pauses on a right click and plays on a middle click, as its buttons would.
class PausingEditor : public ShowEditor {
public:
    explicit PausingEditor(CallLog& log) : log_(log) {}
    ~PausingEditor() override { log_.add("editor delete"); }
    void activate() override { log_.add("editor activate"); }
    void draw() override { log_.add("editor draw"); }
    void handleMessage(uint32_t message, uintptr_t, intptr_t) override {
        if (message == WM_RBUTTONDOWN) runtime().state = RuntimeState::Paused;
        if (message == WM_MBUTTONDOWN) runtime().state = RuntimeState::Playing;
    }
    void shutdown() override { log_.add("editor shutdown"); }

private:
    CallLog& log_;
};

TEST_F(MainLoopTest, PausedFramesRenderOnTheFrozenTimeWithoutSetTimeOrControllers) {
    ControllerSet controllers;
    Controller* ramp = controllers.get("ramp");
    ramp->addKey(0.0f, 0.0f);
    ramp->addKey(10.0f, 10.0f);
    runtime().controllers = &controllers;
    runtime().editor = new PausingEditor(log);
    add("a");
    scheduleLayer("a", 0, 0, 1000);
    runtime().triggers = {{"MIDI-A5", 400, true}};
    host.scriptedMessages.push_back({3, {WM_RBUTTONDOWN, 0, 0}});
    host.scriptedMessages.push_back({6, {WM_MBUTTONDOWN, 0, 0}});
    play();
    // Frames 0-2 play (0, 125, 250 ms); frames 3-5 are paused at 250 ms; play resumes at 375 ms.
    EXPECT_EQ(frame(4), (std::vector<std::string>{"clear", "begin", "render a", "end", "editor draw"}));
    EXPECT_EQ(log.count("render a"), 12u);
    EXPECT_EQ(log.count("setTime a"), 9u);
    ASSERT_EQ(log.times.size(), 9u);
    EXPECT_FLOAT_EQ(log.times[2].time, 0.25f);
    EXPECT_FLOAT_EQ(log.times[3].time, 0.375f);
    EXPECT_EQ(log.count("trigger a MIDI-A5 on"), 1u);
    EXPECT_FLOAT_EQ(ramp->value, 1.125f);  // the empty frame after the end still evaluates
    EXPECT_EQ(log.calls[1], "cursor");
    EXPECT_EQ(log.calls[2], "editor activate");
    EXPECT_EQ(log.calls.back(), "editor delete");
    EXPECT_EQ(log.calls[log.calls.size() - 2], "editor shutdown");
    EXPECT_EQ(runtime().editor, nullptr);
}

TEST_F(MainLoopTest, ControllersAreEvaluatedAtWholeMilliseconds) {
    ControllerSet controllers;
    Controller* ramp = controllers.get("ramp");
    ramp->addKey(0.0f, 0.0f);
    ramp->addKey(1.0f, 1000.0f);
    runtime().controllers = &controllers;
    // A layer that notes the value it sees while drawing (into the test's vector: layers are deleted
    // when the show ends).
    struct Probe : FakeLayer {
        Probe(CallLog& log, Controller* c, std::vector<float>& out) : FakeLayer("probe", log), controller(c), seen(out) {}
        void render() override { seen.push_back(controller->value); }
        Controller* controller;
        std::vector<float>& seen;
    };
    std::vector<float> values;
    registerLayer(new Probe(log, ramp, values), "probe");
    scheduleLayer("probe", 0, 0, 400);
    ScriptedHost odd(log, 3000, 1000);  // 333.33 ms frames
    runtime().state = RuntimeState::Ready;
    runShowOn(odd, nullptr);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_FLOAT_EQ(values[0], 0.0f);
    EXPECT_NEAR(values[1], 333.0f, 1e-3f);  // 333 ms, not 333.33
}

TEST_F(MainLoopTest, F10DrawsTheGraphAndShowsTheFrameRateEnterTheLatency) {
    ControllerSet controllers;
    runtime().controllers = &controllers;
    add("a");
    scheduleLayer("a", 0, 0, 1000);
    host.heldKeys = {VK_F10, VK_RETURN};
    host.stream = true;
    host.streamMs = 250;
    play();
    EXPECT_EQ(log.count("graph 9"), 1u);
    EXPECT_EQ(runtime().frameTimeCount, 9u);
    EXPECT_FLOAT_EQ(runtime().frameTimes[4], 0.125f);
    // Frames 0-4 reach half a second (10 per second), then four more of 1/8 s (8 per second).
    auto lastFps = std::find(host.titles.rbegin(), host.titles.rend(), "FPS:  8");
    ASSERT_NE(lastFps, host.titles.rend());
    EXPECT_EQ(std::count(host.titles.begin(), host.titles.end(), "FPS:  10"), 4);
    EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "latency: 0.750000\n"), host.titles.end());
}

TEST_F(MainLoopTest, AnEmptyScheduleEndsAtOnce) {
    add("a");
    play();
    EXPECT_EQ(host.frames, 0);
    EXPECT_EQ(log.count("release a"), 1u);
}

}  // namespace
}  // namespace zelFramework::testing
