// Layers and a frame host that write down what the runtime does with them, for tests without GL.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "runtime/frame_host.h"
#include "runtime/show_runtime.h"

namespace zelFramework::testing {

// One shared, ordered record of every call the runtime made.
struct CallLog {
    std::vector<std::string> calls;
    std::vector<LayerTime> times;  // every setTime argument, in order
    void add(std::string call) { calls.push_back(std::move(call)); }
    size_t count(const std::string& call) const {
        size_t n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }
};

class FakeLayer : public Layer_Base {
public:
    FakeLayer(std::string name, CallLog& log, bool initResult = true)
        : name_(std::move(name)), log_(log), initResult_(initResult) {}
    bool replaces = false;  // what replacesPicture() answers
    ~FakeLayer() override { log_.add("delete " + name_); }
    bool init(GL_TextureManager*, ControllerSet*) override {
        log_.add("init " + name_);
        return initResult_;
    }
    void setTime(const LayerTime& t) override {
        log_.add("setTime " + name_);
        log_.times.push_back(t);
    }
    void onMidiTrigger(const MidiTrigger& trigger, bool noteOn) override {
        log_.add("trigger " + name_ + " " + trigger.name + (noteOn ? " on" : " off"));
    }
    void render() override { log_.add("render " + name_); }
    bool replacesPicture() const override { return replaces; }
    void onWindowMessage(uint32_t message, uintptr_t, intptr_t) override {
        log_.add("message " + name_ + " " + std::to_string(message));
    }
    void release() override { log_.add("release " + name_); }

private:
    std::string name_;
    CallLog& log_;
    bool initResult_;
};

// A host whose clock advances by a fixed step at every present, so frame k is at k steps; messages
// may be queued for a given frame; everything else is written to the log.
class ScriptedHost : public FrameHost {
public:
    explicit ScriptedHost(CallLog& log, int64_t frequency = 1000, int64_t step = 10)
        : log_(log), frequency_(frequency), step_(step) {}

    int64_t frames = 0;            // presents so far
    int64_t counterBase = 5000;    // the counter does not start at 0
    std::vector<std::pair<int64_t, Message>> scriptedMessages;  // (frame, message)
    std::set<uint32_t> heldKeys;
    bool stream = false;
    uint32_t streamMs = 0;
    std::vector<std::string> titles;
    int64_t maxFrames = 100000;    // a safety stop against a loop that never ends

    int64_t counterFrequency() override { return frequency_; }
    int64_t counter() override { return counterBase + frames * step_; }
    bool takeMessage(Message& out) override {
        for (auto it = scriptedMessages.begin(); it != scriptedMessages.end(); ++it) {
            if (it->first <= frames) {
                out = it->second;
                scriptedMessages.erase(it);
                return true;
            }
        }
        if (frames >= maxFrames) {
            out = {WM_QUIT, 0, 0};
            return true;
        }
        return false;
    }
    void dispatch(const Message& msg) override {
        log_.add("dispatch " + std::to_string(msg.message));
        broadcastMessage(msg.message, msg.wParam, msg.lParam);
    }
    bool keyHeld(uint32_t vk) override { return heldKeys.count(vk) > 0; }
    bool hasStream() override { return stream; }
    bool musicPaused() override { return false; }
    void resumeMusic() override { log_.add("music resume"); }
    void playMusic() override { log_.add("music play"); }
    void seekMusic(uint32_t ms) override { log_.add("music seek " + std::to_string(ms)); }
    void stopMusic() override { log_.add("music stop"); }
    uint32_t musicTimeMs() override { return streamMs; }
    const float* spectrum() override { return nullptr; }
    void startSharedTools() override { log_.add("tools start"); }
    void stopSharedTools() override { log_.add("tools stop"); }
    void showCursor() override { log_.add("cursor"); }
    void clearFrame() override { log_.add("clear"); }
    void beginLayer() override { log_.add("begin"); }
    void endLayer() override { log_.add("end"); }
    void drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>&, uint32_t count) override {
        log_.add("graph " + std::to_string(count));
    }
    void present() override {
        log_.add("present");
        ++frames;
    }
    void idle() override { log_.add("idle"); }
    void setTitle(const char* title) override { titles.push_back(title); }

private:
    CallLog& log_;
    int64_t frequency_;
    int64_t step_;
};

// Puts the process-wide runtime back to its initial state, deleting layers a test left registered.
inline void resetRuntime() {
    std::set<Layer_Base*> deleted;
    for (LayerRegistration& r : runtime().registry)
        if (deleted.insert(r.layer).second) delete r.layer;
    runtime() = ShowRuntime{};
}

// Runs each test on a fresh process-wide runtime and collects what it writes to the debugger output.
class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetRuntime();
        setDebugOutputHook([this](const char* text) { debug += text; });
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
    CallLog log;
    std::string debug;
};

}  // namespace zelFramework::testing
