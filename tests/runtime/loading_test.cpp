// The loading sequence: init order, the fade's brightness steps, the stop at a failing layer.
#include <gtest/gtest.h>

#include "fake_layer.h"
#include "runtime/loading_sequence.h"

namespace zelFramework::testing {
namespace {

class CountingLoadingHost : public LoadingHost {
public:
    explicit CountingLoadingHost(CallLog& log) : log_(log) {}
    GL_Texture* image = nullptr;
    std::vector<float> brightness;  // every drawn frame
    std::vector<std::string> midiFiles;
    GL_Texture* loadingImage() override { return image; }
    void moveCursorHome() override { log_.add("cursor home"); }
    void drawLoadingFrame(GL_Texture*, float b) override {
        brightness.push_back(b);
        log_.add("frame");
    }
    void fadePause() override {}
    void readMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) override {
        midiFiles.push_back(file);
        triggers.push_back({"MIDI-C5", 100, true});
    }

private:
    CallLog& log_;
};

class LoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetRuntime();
        setDebugOutputHook([this](const char* text) { debug += text; });
    }
    void TearDown() override {
        setDebugOutputHook({});
        resetRuntime();
    }
    void addLayers(int count, int failing = -1) {
        for (int i = 1; i <= count; ++i) {
            std::string name = "layer" + std::to_string(i);
            registerLayer(new FakeLayer(name, log, i != failing), name);
        }
        debug.clear();
    }
    CallLog log;
    CountingLoadingHost host{log};
    std::string debug;
};

TEST_F(LoadingTest, InitialisesEveryLayerInOrderAndBecomesReady) {
    addLayers(3);
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_EQ(debug, "at load time: 3\n");
    std::vector<std::string> inits;
    for (const std::string& c : log.calls)
        if (c.rfind("init ", 0) == 0) inits.push_back(c);
    EXPECT_EQ(inits, (std::vector<std::string>{"init layer1", "init layer2", "init layer3"}));
    EXPECT_EQ(log.calls.front(), "cursor home");
    EXPECT_TRUE(runtime().triggers.empty());  // no MIDI file named
    EXPECT_TRUE(host.midiFiles.empty());
}

TEST_F(LoadingTest, EachLayerFadesInAboutTenFramesFromTheLastLevel) {
    addLayers(17);
    loadShowOn(host);
    // Count the loading frames drawn before each init.
    std::vector<size_t> framesPerLayer;
    size_t frames = 0;
    for (const std::string& c : log.calls) {
        if (c == "frame") ++frames;
        if (c.rfind("init ", 0) == 0) {
            framesPerLayer.push_back(frames);
            frames = 0;
        }
    }
    ASSERT_EQ(framesPerLayer.size(), 17u);
    for (size_t n : framesPerLayer) {
        EXPECT_GE(n, 10u);
        EXPECT_LE(n, 11u);
    }
    // The second fade starts exactly at 1/17 and stays below 2/17.
    const size_t firstFade = framesPerLayer[0], secondFade = framesPerLayer[1];
    EXPECT_FLOAT_EQ(host.brightness.front(), 0.0f);
    EXPECT_FLOAT_EQ(host.brightness[firstFade], 1.0f / 17.0f);
    EXPECT_LT(host.brightness[firstFade + secondFade - 1], 2.0f / 17.0f + 1e-6f);
    for (size_t i = 1; i < host.brightness.size(); ++i) EXPECT_GE(host.brightness[i], host.brightness[i - 1]);
    EXPECT_GT(host.brightness.back(), 16.0f / 17.0f);
    EXPECT_LE(host.brightness.back(), 1.0f);
}

TEST_F(LoadingTest, AFailingLayerStopsTheLoadingAndTheShow) {
    addLayers(5, 3);
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::NotReady);
    EXPECT_EQ(log.count("init layer3"), 1u);
    EXPECT_EQ(log.count("init layer4"), 0u);
    EXPECT_EQ(log.calls.back(), "init layer3");  // no loading frame after the failure
    EXPECT_GE(host.brightness.back(), 2.0f / 5.0f);

    // The show then does not start: no frame, no music, no release (left to process exit).
    ScriptedHost frameHost(log);
    frameHost.stream = true;
    size_t before = log.calls.size();
    runShowOn(frameHost, nullptr);
    EXPECT_EQ(log.calls.size(), before);
}

TEST_F(LoadingTest, LayersRegisteredDuringLoadingAreLoadedToo) {
    // A layer whose init registers another one: the count grows under the loop, and the repeated
    // brightness target must not stall the fade.
    struct Spawning : FakeLayer {
        using FakeLayer::FakeLayer;
        CallLog* logPtr = nullptr;
        bool init(GL_TextureManager* t, ControllerSet* c) override {
            FakeLayer::init(t, c);
            registerLayer(new FakeLayer("child1", *logPtr), "child1");
            registerLayer(new FakeLayer("child2", *logPtr), "child2");
            return true;
        }
    };
    auto* parent = new Spawning("parent", log);
    parent->logPtr = &log;
    registerLayer(parent, "parent");
    registerLayer(new FakeLayer("second", log), "second");
    loadShowOn(host);  // targets 1/2, then 2/4 = the same level
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_EQ(log.count("init child1"), 1u);
    EXPECT_EQ(log.count("init child2"), 1u);
    EXPECT_LT(host.brightness.size(), 60u);
}

TEST_F(LoadingTest, ANamedMidiFileBecomesTheTriggers) {
    addLayers(1);
    runtime().loadingScreen.midiFile = "cues.mid";
    loadShowOn(host);
    EXPECT_EQ(host.midiFiles, (std::vector<std::string>{"cues.mid"}));
    ASSERT_EQ(runtime().triggers.size(), 1u);
    EXPECT_EQ(runtime().triggers[0].name, "MIDI-C5");
}

TEST_F(LoadingTest, NoLayersIsAReadyEmptyShow) {
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_TRUE(host.brightness.empty());
    EXPECT_EQ(debug, "at load time: 0\n");
}

}  // namespace
}  // namespace zelFramework::testing
