// The loading sequence: init order, the fade's brightness steps, the stop at a failing layer.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "fake_layer.h"
#include "runtime/loading_sequence.h"

namespace zelFramework::testing {
namespace {

class CountingLoadingHost : public LoadingHost {
public:
    explicit CountingLoadingHost(CallLog& log) : log_(log) {}
    std::vector<float> brightness;  // every drawn frame
    std::vector<std::string> midiFiles;
    GL_Texture* loadingImage() override { return nullptr; }
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

class LoadingTest : public RuntimeTest {
protected:
    void addLayers(int count, int failing = -1) {
        for (int i = 1; i <= count; ++i) {
            std::string name = "layer" + std::to_string(i);
            registerLayer(new FakeLayer(name, log, i != failing), name);
        }
        debug.clear();
    }
    // How many loading frames were drawn before each init.
    std::vector<size_t> framesBeforeEachInit() const {
        std::vector<size_t> out;
        size_t frames = 0;
        for (const std::string& c : log.calls) {
            if (c == "frame") ++frames;
            if (c.rfind("init ", 0) == 0) out.push_back(std::exchange(frames, 0));
        }
        return out;
    }
    CountingLoadingHost host{log};
};

TEST_F(LoadingTest, InitialisesEveryLayerInOrderAndReadsANamedMidiFile) {
    loadShowOn(host);  // no layers: a ready, empty show
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_TRUE(host.brightness.empty());
    EXPECT_EQ(debug, "at load time: 0\n");
    EXPECT_TRUE(host.midiFiles.empty());  // none named

    addLayers(3);
    runtime().loadingScreen.midiFile = "cues.mid";
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_EQ(debug, "at load time: 3\n");
    EXPECT_EQ(log.calls.front(), "cursor home");
    std::vector<std::string> inits;
    for (const std::string& c : log.calls)
        if (c.rfind("init ", 0) == 0) inits.push_back(c);
    EXPECT_EQ(inits, (std::vector<std::string>{"init layer1", "init layer2", "init layer3"}));
    EXPECT_EQ(host.midiFiles, std::vector<std::string>{"cues.mid"});
    ASSERT_EQ(runtime().triggers.size(), 1u);
    EXPECT_EQ(runtime().triggers[0].name, "MIDI-C5");
}

TEST_F(LoadingTest, EachLayerFadesInAboutTenFramesFromTheLastLevel) {
    addLayers(17);
    loadShowOn(host);
    const std::vector<size_t> perLayer = framesBeforeEachInit();
    ASSERT_EQ(perLayer.size(), 17u);
    for (size_t n : perLayer) {
        EXPECT_GE(n, 10u);
        EXPECT_LE(n, 11u);
    }
    // The second fade starts exactly at 1/17 and stays below 2/17.
    EXPECT_FLOAT_EQ(host.brightness.front(), 0.0f);
    EXPECT_FLOAT_EQ(host.brightness[perLayer[0]], 1.0f / 17.0f);
    EXPECT_LT(host.brightness[perLayer[0] + perLayer[1] - 1], 2.0f / 17.0f + 1e-6f);
    EXPECT_TRUE(std::is_sorted(host.brightness.begin(), host.brightness.end()));
    EXPECT_GT(host.brightness.back(), 16.0f / 17.0f);
    EXPECT_LE(host.brightness.back(), 1.0f);
}

TEST_F(LoadingTest, AFailingLayerStopsTheLoadingAndTheShow) {
    addLayers(5, 3);
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::NotReady);
    EXPECT_EQ(log.count("init layer4"), 0u);
    EXPECT_EQ(log.calls.back(), "init layer3");  // no loading frame after the failure
    EXPECT_GE(host.brightness.back(), 2.0f / 5.0f);

    // The show then does not start: no frame, no music, no release (left to process exit).
    ScriptedHost frameHost(log);
    frameHost.stream = true;
    const size_t before = log.calls.size();
    runShowOn(frameHost, nullptr);
    EXPECT_EQ(log.calls.size(), before);
}

TEST_F(LoadingTest, LayersRegisteredDuringLoadingAreLoadedToo) {
    // A layer whose init registers two more: the count grows under the loop, and the repeated
    // brightness target (1/2, then 2/4) must not stall the fade.
    struct Spawning : FakeLayer {
        explicit Spawning(CallLog& log) : FakeLayer("parent", log), log_(log) {}
        bool init(GL_TextureManager* t, ControllerSet* c) override {
            FakeLayer::init(t, c);
            registerLayer(new FakeLayer("child1", log_), "child1");
            registerLayer(new FakeLayer("child2", log_), "child2");
            return true;
        }
        CallLog& log_;
    };
    registerLayer(new Spawning(log), "parent");
    add("second");
    loadShowOn(host);
    EXPECT_EQ(runtime().state, RuntimeState::Ready);
    EXPECT_EQ(log.count("init child1") + log.count("init child2"), 2u);
    EXPECT_LT(host.brightness.size(), 60u);
}

}  // namespace
}  // namespace zelFramework::testing
