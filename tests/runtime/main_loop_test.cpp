// The frame loop on a scripted clock: which layers get which calls in which frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_layer.h"
#include "runtime/show_editor.h"
#include "runtime/show_watcher.h"
#include "runtime/step_clock_host.h"
#include "sync/controller_set.h"

namespace zelFramework::testing {
namespace {

using Calls = std::vector<std::string>;

// Frames are 125 ms apart so that every show time is exact in float arithmetic.
constexpr int64_t STEP = 125;

class MainLoopTest : public RuntimeTest {
protected:
    using RuntimeTest::add;
    void add(const std::string& name, uint32_t slot, uint32_t startMs, uint32_t endMs) {
        add(name);
        scheduleLayer(name, slot, startMs, endMs);
    }
    void play() {
        runtime().state = RuntimeState::Ready;
        debug.clear();
        runShowOn(host, nullptr);
    }
    // The calls between the n-th and (n+1)-th present.
    Calls frame(size_t n) {
        Calls out;
        size_t seen = 0;
        for (const std::string& c : log.calls) {
            if (c == "present" && seen++ == n) break;
            if (c != "present" && seen == n) out.push_back(c);
        }
        return out;
    }
    // A controller "ramp" from 0 at 0 s to `value` at `seconds`, in the set the runtime evaluates.
    Controller* addRamp(float seconds, float value) {
        Controller* c = controllers.get("ramp");
        c->addKey(0.0f, 0.0f);
        c->addKey(seconds, value);
        runtime().controllers = &controllers;
        return c;
    }
    ScriptedHost host{log, 1000, STEP};
    ControllerSet controllers;
};

TEST_F(MainLoopTest, NothingRunsUnlessReadyAndAnEmptyScheduleEndsAtOnce) {
    add("a", 0, 0, 1000);
    runShowOn(host, nullptr);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(runtime().state, RuntimeState::NotReady);

    resetRuntime();
    log.calls.clear();
    add("a");
    play();
    EXPECT_EQ(host.frames, 0);
    EXPECT_EQ(log.count("release a"), 1u);
}

TEST_F(MainLoopTest, TheClockRunsFromTheEarliestEntryToExactlyItsEnd) {
    add("a", 0, 1000, 2000);
    play();
    ASSERT_EQ(log.times.size(), 9u);  // 1000, 1125, ..., 2000
    const LayerTime& first = log.times.front();
    EXPECT_FLOAT_EQ(first.time, 1.0f);
    EXPECT_FLOAT_EQ(first.start, 1.0f);
    EXPECT_FLOAT_EQ(first.duration, 1.0f);
    EXPECT_FLOAT_EQ(first.remaining, 1.0f);
    EXPECT_FLOAT_EQ(log.times[3].delta, 0.125f);
    EXPECT_FLOAT_EQ(log.times.back().time, 2.0f);
    // First and last flags follow the frame span: the end is within a step of the last two frames.
    EXPECT_TRUE(first.firstFrame);
    EXPECT_FALSE(log.times[4].firstFrame || log.times[4].lastFrame);
    EXPECT_TRUE(log.times[7].lastFrame && log.times[8].lastFrame);
    // The clock passes the end on the following frame, which finds nothing scheduled and stays black;
    // the end test comes before the next one.
    EXPECT_EQ(host.frames, 10);
    EXPECT_EQ(frame(9), Calls{"clear"});
}

TEST_F(MainLoopTest, ALoopPlaysItsSpanAgainAndSeeksTheMusicBack) {
    add("a", 0, 1000, 5000);
    runtime().span.hasFrom = true;
    runtime().span.fromSeconds = 2.0f;
    setPlaybackLoop(runtime().span, 2.0f, 2.5f);
    host.stream = true;
    host.maxFrames = 12;
    // Notes inside the loop sound on every pass, one at its start on every return to it.
    runtime().triggers = {{"MIDI-C5", 2000, true}, {"MIDI-E5", 2250, true}};
    play();
    // 2.0, 2.125 ... 2.5, then back to 2.0 (the music to 1000 ms after the schedule's start).
    ASSERT_GE(log.times.size(), 10u);
    EXPECT_EQ(frame(5), (Calls{"music seek 1000", "clear", "setTime a", "trigger a MIDI-C5 on", "begin", "render a", "end"}));
    EXPECT_EQ(log.count("trigger a MIDI-C5 on"), 2u);  // frames 5 and 10
    EXPECT_EQ(log.count("trigger a MIDI-E5 on"), 2u);  // frames 2 and 7
    EXPECT_FLOAT_EQ(log.times[4].time, 2.5f);
    EXPECT_FLOAT_EQ(log.times[5].time, 2.0f);
    EXPECT_FLOAT_EQ(log.times[9].time, 2.5f);
    EXPECT_GE(log.count("music seek 1000"), 2u);
    for (const LayerTime& t : log.times) EXPECT_LE(t.time, 2.5f);
}

TEST_F(MainLoopTest, SlotsDrawInAscendingOrderAndTheLaterEntryWinsASlot) {
    add("high", 90, 0, 250);
    add("low", 3, 0, 250);
    add("replaced", 7, 0, 250);
    add("winner");
    scheduleLayer("winner", 7, 125, 250);
    play();
    EXPECT_EQ(frame(0), (Calls{"tools start", "clear", "setTime low", "begin", "render low", "end", "setTime replaced",
                               "begin", "render replaced", "end", "setTime high", "begin", "render high", "end"}));
    const Calls second = frame(1);
    EXPECT_EQ(std::count(second.begin(), second.end(), "render replaced"), 0);
    auto low = std::find(second.begin(), second.end(), "render low");
    auto winner = std::find(second.begin(), second.end(), "render winner");
    auto high = std::find(second.begin(), second.end(), "render high");
    ASSERT_NE(winner, second.end());
    EXPECT_TRUE(low < winner && winner < high);
}

TEST_F(MainLoopTest, OnlyTheLastPictureReplacingLayerOfAFrameIsDrawnTheOthersAreStillTimed) {
    add("scene", 2, 0, 375);
    add("plain", 3, 0, 375);
    add("slides", 5, 250, 375);
    add("cover", 6, 125, 250);
    add("post", 9, 0, 375);
    for (const char* name : {"scene", "slides", "cover"}) static_cast<FakeLayer*>(findLayer(name))->replaces = true;
    host.scriptedMessages.push_back({2, {WM_KEYDOWN, 65, 0}});  // after the frame at 125 ms
    play();
    // Alone, the picture-replacing scene is drawn.
    EXPECT_EQ(frame(0), (Calls{"tools start", "clear", "setTime scene", "begin", "render scene", "end",
                               "setTime plain", "begin", "render plain", "end", "setTime post", "begin", "render post",
                               "end"}));
    // Under a later replacing layer it is timed but not drawn; layers that do not replace still are.
    EXPECT_EQ(frame(1), (Calls{"clear", "setTime scene", "setTime plain", "begin", "render plain", "end",
                               "setTime cover", "begin", "render cover", "end", "setTime post", "begin",
                               "render post", "end"}));
    // Of two replacing layers the one in the later slot is drawn, though the other started later.
    const Calls third = frame(2);
    EXPECT_EQ(std::count(third.begin(), third.end(), "setTime slides"), 1);
    EXPECT_EQ(std::count(third.begin(), third.end(), "render slides"), 0);
    EXPECT_EQ(std::count(third.begin(), third.end(), "render cover"), 1);
    // Once the cover has ended, the slides are the last replacing layer.
    const Calls fourth = frame(3);
    EXPECT_EQ(std::count(fourth.begin(), fourth.end(), "render slides"), 1);
    EXPECT_EQ(std::count(fourth.begin(), fourth.end(), "render scene"), 0);
    EXPECT_EQ(log.count("render scene"), 1u);
    EXPECT_EQ(log.count("setTime scene"), 4u);
    // A hidden layer is still active and hears the window's messages.
    EXPECT_EQ(log.count("message scene 256"), 1u);
}

TEST_F(MainLoopTest, OnlyTheLayersOfTheLastDrawnFrameAreDrawnAndHearMessages) {
    add("early", 1, 0, 125);
    add("late", 2, 500, 625);
    host.scriptedMessages.push_back({1, {WM_LBUTTONDOWN, 0, 0}});  // after the frame at 0 ms
    host.scriptedMessages.push_back({3, {WM_KEYDOWN, 65, 0}});     // after the empty frame at 250 ms
    host.scriptedMessages.push_back({5, {WM_LBUTTONUP, 0, 0}});    // after the frame at 500 ms
    play();
    EXPECT_EQ(log.count("render early"), 2u);
    EXPECT_EQ(log.count("render late"), 2u);
    EXPECT_EQ(frame(2), Calls{"clear"});
    EXPECT_EQ(log.count("idle"), 3u);  // the empty frames at 250, 375 and 750 ms sleep
    EXPECT_EQ(log.count("message early 513"), 1u);
    EXPECT_EQ(log.count("message late 513"), 0u);
    // The empty frame leaves the slot table empty: the key is dispatched but nobody hears it.
    EXPECT_EQ(log.count("dispatch 256"), 1u);
    EXPECT_EQ(log.count("message early 256") + log.count("message late 256"), 0u);
    EXPECT_EQ(log.count("message early 514"), 0u);
    EXPECT_EQ(log.count("message late 514"), 1u);
}

TEST_F(MainLoopTest, TriggersOfTheFrameWindowArriveAfterSetTimeInListOrder) {
    add("a", 0, 0, 500);
    runtime().triggers = {{"MIDI-C5", 0, true},    // at the very start: no frame has prevMs < 0
                          {"MIDI-D5", 125, true},  // frame 1: 0 < 125 <= 125
                          {"MIDI-E5", 130, false}, // frame 2
                          {"MIDI-F5", 250, true},  // frame 2, the upper end inclusive
                          {"MIDI-G5", 9000, true}};
    play();
    EXPECT_EQ(frame(1), (Calls{"clear", "setTime a", "trigger a MIDI-D5 on", "begin", "render a", "end"}));
    EXPECT_EQ(frame(2), (Calls{"clear", "setTime a", "trigger a MIDI-E5 off", "trigger a MIDI-F5 on", "begin",
                               "render a", "end"}));
    EXPECT_EQ(log.count("trigger a MIDI-C5 on") + log.count("trigger a MIDI-G5 on"), 0u);
}

TEST_F(MainLoopTest, QuitStopsTheMusicAndReleasesEveryLayerInRegistrationOrder) {
    add("first", 0, 0, 100000);
    add("second", 1, 0, 100000);
    add("unscheduled");
    host.stream = true;
    host.scriptedMessages.push_back({3, {WM_QUIT, 0, 0}});
    play();
    EXPECT_EQ(runtime().state, RuntimeState::Quit);
    EXPECT_EQ(host.frames, 3);
    EXPECT_EQ(Calls(log.calls.end() - 8, log.calls.end()),
              (Calls{"music stop", "release first", "delete first", "release second", "delete second",
                     "release unscheduled", "delete unscheduled", "tools stop"}));
    EXPECT_EQ(debug, "3\n3\n3\n");
    EXPECT_TRUE(runtime().registry.empty());
    EXPECT_TRUE(runtime().schedule.empty());
    EXPECT_EQ(std::count(runtime().activeSlots.begin(), runtime().activeSlots.end(), nullptr), 128);
}

TEST_F(MainLoopTest, MusicStartsWithTheFirstFrameAtTheStartOfThePlayedSpan) {
    const struct {
        PlaybackSpan span;
        uint32_t endMs, fromMs, toMs;
    } cases[] = {{{}, 250, 0, 250}, {{true, 2.5f, 3000}, 10000, 2500, 3000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fromMs);
        resetRuntime();
        log = {};
        host.frames = 0;
        add("a", 0, 0, c.endMs);
        runtime().span = c.span;
        host.stream = true;
        play();
        const std::string seek = "music seek " + std::to_string(c.fromMs);
        EXPECT_EQ(Calls(log.calls.begin(), log.calls.begin() + 6),
                  (Calls{"tools start", seek, seek, "music play", seek, "clear"}));
        ASSERT_EQ(log.times.size(), size_t((c.toMs - c.fromMs) / STEP + 1));
        EXPECT_FLOAT_EQ(log.times.front().time, float(c.fromMs) / 1000.0f);
        EXPECT_FLOAT_EQ(log.times.back().time, float(c.toMs) / 1000.0f);
        EXPECT_EQ(log.count("music stop"), 0u);  // the end of the schedule leaves stopping to stopShow
    }
}

// Capture and benchmark count frames, not seconds: frame k of a span from S shows S + k / fps to the
// millisecond, however many frames came before and whatever S is, and the span holds exactly the frames
// that fall inside it.
TEST_F(MainLoopTest, AStepClockShowsFrameKAtTheStartPlusKFrameSteps) {
    // A layer that notes the show time of each frame it draws (into the test's vector: layers are
    // deleted when the show ends).
    struct Stamp : FakeLayer {
        Stamp(CallLog& log, std::vector<uint32_t>& out) : FakeLayer("stamp", log), seen(out) {}
        void render() override { seen.push_back(frameShowMs(runtime())); }
        std::vector<uint32_t>& seen;
    };
    const struct {
        double from;
        uint32_t toMs;
        int fps;
    } cases[] = {{12.3, 150000, 30}, {0.7, 195000, 30}, {100.1, 100200, 24}, {3.0, 63000, 60}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from << " at " << c.fps << " fps");
        resetRuntime();
        log = {};
        std::vector<uint32_t> shown;
        registerLayer(new Stamp(log, shown), "stamp");
        scheduleLayer("stamp", 0, 0, 195000);
        runtime().span.hasFrom = true;
        runtime().span.fromSeconds = c.from;
        runtime().span.toMs = c.toMs;
        ScriptedHost stepClock(log, c.fps, 1);
        runtime().state = RuntimeState::Ready;
        runShowOn(stepClock, nullptr);
        const uint64_t startMs = uint64_t(c.from * 1000.0 + 0.5);
        const size_t expected = size_t((c.toMs - startMs) * uint64_t(c.fps) / 1000 + 1);
        ASSERT_EQ(shown.size(), expected);
        size_t wrong = 0;
        for (size_t k = 0; k < shown.size(); ++k)
            if (shown[k] != startMs + k * 1000 / uint64_t(c.fps) && wrong++ < 3)
                ADD_FAILURE() << "frame " << k << " at " << shown[k] << " ms";
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(spanFrameCount(runtime(), c.fps), long(expected));
    }
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
    Controller* ramp = addRamp(10.0f, 10.0f);
    runtime().editor = new PausingEditor(log);
    add("a", 0, 0, 1000);
    runtime().triggers = {{"MIDI-A5", 400, true}};
    host.scriptedMessages.push_back({3, {WM_RBUTTONDOWN, 0, 0}});
    host.scriptedMessages.push_back({6, {WM_MBUTTONDOWN, 0, 0}});
    play();
    // Frames 0-2 play (0, 125, 250 ms); frames 3-5 are paused at 250 ms; play resumes at 375 ms.
    EXPECT_EQ(frame(4), (Calls{"clear", "begin", "render a", "end", "editor draw"}));
    EXPECT_EQ(log.count("render a"), 12u);
    ASSERT_EQ(log.times.size(), 9u);
    EXPECT_FLOAT_EQ(log.times[2].time, 0.25f);
    EXPECT_FLOAT_EQ(log.times[3].time, 0.375f);
    EXPECT_EQ(log.count("trigger a MIDI-A5 on"), 1u);
    EXPECT_FLOAT_EQ(ramp->value, 1.125f);  // the empty frame after the end still evaluates
    EXPECT_EQ(Calls(log.calls.begin() + 1, log.calls.begin() + 3), (Calls{"cursor", "editor activate"}));
    EXPECT_EQ(Calls(log.calls.end() - 2, log.calls.end()), (Calls{"editor shutdown", "editor delete"}));
    EXPECT_EQ(runtime().editor, nullptr);
}

// A watcher that, at one frame, replaces the keys of a controller as a changed sync data file would.
class ReloadingWatcher : public ShowWatcher {
public:
    ReloadingWatcher(CallLog& log, ControllerSet& set, int reloadAtPoll) : log_(log), set_(set), reloadAt_(reloadAtPoll) {}
    ~ReloadingWatcher() override { log_.add("watcher delete"); }
    void poll() override {
        log_.add("watcher poll");
        if (polls_++ != reloadAt_) return;
        Controller* ramp = set_.get("ramp");
        ramp->keys.clear();
        ramp->segments.clear();
        ramp->addKey(0.0f, 100.0f);
        ramp->addKey(10.0f, 100.0f);
    }
    void draw() override { log_.add("watcher draw"); }

private:
    CallLog& log_;
    ControllerSet& set_;
    int reloadAt_;
    int polls_ = 0;
};

TEST_F(MainLoopTest, AWatcherPollsBeforeEachFrameAndDrawsLastWithoutTouchingTheClock) {
    Controller* ramp = addRamp(10.0f, 10.0f);
    runtime().editor = new PausingEditor(log);
    runtime().watcher = new ReloadingWatcher(log, controllers, 3);
    add("a", 0, 0, 1000);
    play();
    EXPECT_EQ(frame(2),
              (Calls{"watcher poll", "clear", "setTime a", "begin", "render a", "end", "editor draw", "watcher draw"}));
    // Every frame keeps the scripted clock, the one after the reload included.
    ASSERT_EQ(log.times.size(), 9u);
    for (size_t i = 0; i < log.times.size(); ++i) EXPECT_FLOAT_EQ(log.times[i].time, 0.125f * float(i)) << i;
    // The new keys are what the layers of that very frame see.
    EXPECT_FLOAT_EQ(ramp->value, 100.0f);
    EXPECT_EQ(log.count("watcher poll"), 10u);  // the empty frame after the end polls too
    // Gone with the layers whose programs and models it points at, before the editor.
    EXPECT_EQ(Calls(log.calls.end() - 4, log.calls.end()),
              (Calls{"watcher delete", "tools stop", "editor shutdown", "editor delete"}));
    EXPECT_EQ(runtime().watcher, nullptr);
}

TEST_F(MainLoopTest, ControllersAreEvaluatedAtWholeMilliseconds) {
    Controller* ramp = addRamp(1.0f, 1000.0f);
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
    runtime().controllers = &controllers;
    add("a", 0, 0, 1000);
    host.heldKeys = {VK_F10, VK_RETURN};
    host.stream = true;
    host.streamMs = 250;
    play();
    EXPECT_EQ(log.count("graph 9"), 1u);
    EXPECT_EQ(runtime().frameTimeCount, 9u);
    EXPECT_FLOAT_EQ(runtime().frameTimes[4], 0.125f);
    // Frames 0-4 reach half a second (10 per second), then four more of 1/8 s (8 per second).
    EXPECT_EQ(std::count(host.titles.begin(), host.titles.end(), "FPS:  10"), 4);
    EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "FPS:  8"), host.titles.end());
    EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "latency: 0.750000\n"), host.titles.end());
}

}  // namespace
}  // namespace zelFramework::testing
