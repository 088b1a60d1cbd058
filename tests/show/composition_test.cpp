// The show's composition: slide times, registrations and schedule, as the runtime receives them.
#include <gtest/gtest.h>

#include <set>

#include "platform/platform.h"
#include "runtime/show_runtime.h"
#include "show/layer_postfx.h"
#include "show/layer_superbowl.h"
#include "show/scene_layers.h"
#include "show/show_composition.h"

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
    const uint32_t expected[5][2] = {
        {57583, 60083}, {62541, 64875}, {66708, 69083}, {70916, 73291}, {74500, 76916}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(spans[i].startMs, expected[i][0]) << i;
        EXPECT_EQ(spans[i].endMs, expected[i][1]) << i;
    }
    EXPECT_EQ(editFrameToMs(0), 35833u);
}

TEST_F(Composition, FourteenLayersInLoadingOrder) {
    const char* names[] = {"post", "glitch", "intro", "superbowl", "tunnelarena", "overlayanim",
                           "nfl-feature-text-001", "nfl-feature-text-002", "nfl-feature-text-003",
                           "nfl-feature-text-004", "nfl-feature-text-005", "buildup", "tunnel", "endscreen"};
    const auto& registry = runtime().registry;
    ASSERT_EQ(registry.size(), 14u);
    std::set<Layer_Base*> distinct;
    for (size_t i = 0; i < 14; ++i) {
        EXPECT_EQ(registry[i].name, names[i]);
        distinct.insert(registry[i].layer);
    }
    EXPECT_EQ(distinct.size(), 14u);  // each object registered once, so released once
    EXPECT_NE(output.find("pushing endscreen\n14\n"), std::string::npos);

    auto* post = dynamic_cast<Layer_PostFX*>(registry[0].layer);
    ASSERT_NE(post, nullptr);
    ASSERT_EQ(post->gradings.size(), 4u);
    EXPECT_EQ(post->gradings[0].path, "grading\\grading_intro.png");
    EXPECT_EQ(post->gradings[3].path, "grading\\grading_tunnel_outro.png");
    EXPECT_FLOAT_EQ(post->gradings[2].endSeconds, 113.148f);
    EXPECT_FLOAT_EQ(post->gradings[3].startSeconds, 124.176f);
    EXPECT_EQ(dynamic_cast<Layer_Text*>(registry[7].layer)->scene(), "Quantum_Computing_Compo.orvo");
    EXPECT_NE(dynamic_cast<Layer_Superbowl*>(registry[3].layer), nullptr);
}

TEST_F(Composition, EighteenEntriesInTheirOrderCoveringTheShow) {
    struct Expected {
        const char* name;
        uint32_t slot, startMs, endMs;
    };
    const Expected table[] = {
        {"post", 100, 0, 195000},
        {"intro", 1, 0, 35833},
        {"tunnelarena", 2, 35833, 41291},
        {"buildup", 30, 112369, 124138},
        {"endscreen", 32, 173852, 195000},
        {"tunnel", 4, 124138, 195000},
        {"superbowl", 3, 41291, 57583},
        {"nfl-feature-text-001", 4, 57583, 60083},
        {"superbowl", 5, 60083, 62541},
        {"nfl-feature-text-002", 6, 62541, 64875},
        {"superbowl", 7, 64875, 66708},
        {"nfl-feature-text-003", 8, 66708, 69083},
        {"superbowl", 9, 69083, 70916},
        {"nfl-feature-text-004", 10, 70916, 73291},
        {"superbowl", 11, 73291, 74500},
        {"nfl-feature-text-005", 12, 74500, 76916},
        {"superbowl", 13, 76916, 120000},
        {"overlayanim", 120, 0, 195000},
    };
    const auto& schedule = runtime().schedule;
    ASSERT_EQ(schedule.size(), 18u);
    for (size_t i = 0; i < 18; ++i) {
        EXPECT_EQ(schedule[i].layer, findLayer(table[i].name)) << i;
        EXPECT_EQ(schedule[i].slot, table[i].slot) << i;
        EXPECT_EQ(schedule[i].startMs, table[i].startMs) << i;
        EXPECT_EQ(schedule[i].endMs, table[i].endMs) << i;
    }
    EXPECT_EQ(runtime().minStartMs, 0u);
    EXPECT_EQ(runtime().maxEndMs, 195000u);
    // "glitch" is loaded but never drawn.
    for (const ScheduleEntry& e : schedule) EXPECT_NE(e.layer, findLayer("glitch"));
}

}  // namespace
}  // namespace zelFramework
