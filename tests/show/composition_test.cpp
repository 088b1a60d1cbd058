// The show's composition: slide times, registrations and schedule, as the runtime receives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/platform.h"
#include "runtime/show_runtime.h"
#include "show/layer_buildup.h"
#include "show/layer_postfx.h"
#include "show/layer_superbowl.h"
#include "show/scene_layers.h"
#include "show/show_composition.h"
#include "show/tunnel_logic.h"
#include "song_map.h"

namespace zelFramework {
namespace {

class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        setDebugOutputHook([this](const char* text) { output += text; });
        composeShow();
    }
    void TearDown() override {
        setDebugOutputHook({});
        std::set<Layer_Base*> deleted;
        for (LayerRegistration& r : runtime().registry)
            if (deleted.insert(r.layer).second) delete r.layer;
        runtime() = ShowRuntime{};
    }
    std::string output;
};

TEST(SlideTimes, FramesOfTheEditBecomeMilliseconds) {
    const auto spans = featureTextSpans();
    EXPECT_EQ(editFrameToMs(0), 35833u);
    EXPECT_EQ(spans[0].startMs, 57583u);
    EXPECT_EQ(spans[4].endMs, 76916u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_LT(spans[i].startMs, spans[i].endMs) << i;
        if (i > 0) {
            EXPECT_GT(spans[i].startMs, spans[i - 1].endMs) << i;
        }
    }
}

TEST_F(Composition, FourteenLayersInLoadingOrder) {
    const auto& registry = runtime().registry;
    ASSERT_EQ(registry.size(), 14u);
    std::set<Layer_Base*> distinct;
    for (const LayerRegistration& r : registry) distinct.insert(r.layer);
    EXPECT_EQ(distinct.size(), 14u);  // each object registered once, so released once
    EXPECT_EQ(registry.front().name, "post");
    EXPECT_EQ(registry.back().name, "endscreen");
    EXPECT_NE(output.find("pushing endscreen\n14\n"), std::string::npos);

    auto* post = dynamic_cast<Layer_PostFX*>(registry[0].layer);
    ASSERT_NE(post, nullptr);
    ASSERT_EQ(post->gradings.size(), 4u);
    EXPECT_EQ(post->gradings[0].path, "grading\\grading_intro.png");
    EXPECT_EQ(dynamic_cast<Layer_Text*>(registry[7].layer)->scene(), "Quantum_Computing_Compo.orvo");
    EXPECT_NE(dynamic_cast<Layer_Superbowl*>(registry[3].layer), nullptr);
}

// The slides interrupt the stadium: each slide starts where a stadium entry ends and the next stadium
// entry starts where the slide ends, so no frame of that stretch is left without a scene.
TEST_F(Composition, EighteenEntriesCoverTheShowWithoutGaps) {
    const auto& schedule = runtime().schedule;
    ASSERT_EQ(schedule.size(), 18u);
    EXPECT_EQ(runtime().minStartMs, 0u);
    EXPECT_EQ(runtime().maxEndMs, 195000u);
    Layer_Base* stadium = findLayer("superbowl");
    int stadiumEntries = 0;
    for (size_t i = 0; i < schedule.size(); ++i) {
        EXPECT_NE(schedule[i].layer, findLayer("glitch")) << i;  // loaded but never drawn
        EXPECT_LT(schedule[i].startMs, schedule[i].endMs) << i;
        if (schedule[i].layer != stadium) continue;
        ++stadiumEntries;
        if (i + 2 < schedule.size() && schedule[i + 2].layer == stadium) {
            EXPECT_EQ(schedule[i].endMs, schedule[i + 1].startMs) << i;
            EXPECT_EQ(schedule[i + 1].endMs, schedule[i + 2].startMs) << i;
            EXPECT_GT(schedule[i + 1].slot, schedule[i].slot) << i;  // the slide draws over the stadium
        }
    }
    EXPECT_EQ(stadiumEntries, 6);
}

// The soundtrack is written to the same moments as the pictures: each section cue starts its entry,
// the title cuts and slide changes fall where the picture changes, and the tunnel's flashes have
// their hits. An edit to either side alone puts sound and picture out of step.
TEST_F(Composition, TheSoundtrackIsCutToTheSameMoments) {
    const auto ms = [](double seconds) { return uint32_t(std::lround(seconds * 1000.0)); };
    const auto firstStart = [](const char* name) {
        for (const ScheduleEntry& e : runtime().schedule)
            if (e.layer == findLayer(name)) return e.startMs;
        ADD_FAILURE() << "no entry of " << name;
        return 0u;
    };
    EXPECT_EQ(firstStart("tunnelarena"), ms(music::cue::introEnd));
    EXPECT_EQ(firstStart("superbowl"), ms(music::cue::stadium));
    EXPECT_EQ(firstStart("buildup"), ms(music::cue::buildUp));
    EXPECT_EQ(firstStart("tunnel"), ms(music::cue::drop));
    EXPECT_EQ(firstStart("endscreen"), ms(music::cue::endScreen));
    EXPECT_EQ(runtime().maxEndMs, ms(music::cue::end));

    const auto titles = featureTextSpans();
    ASSERT_EQ(music::featureCuts().size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(titles[i].startMs, ms(music::featureCuts()[i])) << i;
    for (double change : music::buildUpSlideChanges())
        EXPECT_NE(buildUpSlideAt(float(change) - 0.01f), buildUpSlideAt(float(change) + 0.01f)) << change;

    // The tunnel's list opens with the run out of the stands; the hand-timed flashes follow.
    std::vector<float> flashes = tunnelPath().flashTimes;
    ASSERT_FALSE(flashes.empty());
    EXPECT_FLOAT_EQ(flashes.front(), float(music::cue::tunnelRun));
    flashes.erase(flashes.begin());
    flashes.erase(std::unique(flashes.begin(), flashes.end()), flashes.end());
    ASSERT_EQ(flashes.size(), music::tunnelFlashTimes().size());
    for (size_t i = 0; i < flashes.size(); ++i) EXPECT_FLOAT_EQ(flashes[i], float(music::tunnelFlashTimes()[i])) << i;
}

}  // namespace
}  // namespace zelFramework
