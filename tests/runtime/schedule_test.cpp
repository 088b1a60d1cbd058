// The registry and the schedule: registration output, lookup by name and the rules of scheduling.
#include <gtest/gtest.h>

#include "fake_layer.h"

namespace zelFramework::testing {
namespace {

using ScheduleTest = RuntimeTest;

TEST_F(ScheduleTest, RegistrationCountsAndLookupTakesTheFirstExactName) {
    FakeLayer* first = add("tunnel");
    add("tunnel");
    FakeLayer* other = add("Tunnel");
    EXPECT_EQ(debug, "pushing tunnel\n1\npushing tunnel\n2\npushing Tunnel\n3\n");
    EXPECT_EQ(findLayer("tunnel"), first);
    EXPECT_EQ(findLayer("Tunnel"), other);
    EXPECT_EQ(findLayer("tunne"), nullptr);
    EXPECT_EQ(findLayer(""), nullptr);
    ASSERT_TRUE(scheduleLayer("tunnel", 4, 0, 10));
    EXPECT_EQ(runtime().schedule.back().layer, first);
}

TEST_F(ScheduleTest, EntriesWidenTheShowSpan) {
    add("a");
    EXPECT_TRUE(scheduleLayer("a", 1, 1000, 2000));
    EXPECT_EQ(runtime().minStartMs, 1000u);
    EXPECT_EQ(runtime().maxEndMs, 2000u);
    EXPECT_TRUE(scheduleLayer("a", 2, 500, 1500));
    EXPECT_TRUE(scheduleLayer("a", 2, 1200, 4000));
    EXPECT_EQ(runtime().minStartMs, 500u);
    EXPECT_EQ(runtime().maxEndMs, 4000u);
    ASSERT_EQ(runtime().schedule.size(), 3u);
    const ScheduleEntry& e = runtime().schedule[1];
    EXPECT_EQ(e.slot, 2u);
    EXPECT_EQ(e.startMs, 500u);
    EXPECT_EQ(e.endMs, 1500u);
}

TEST_F(ScheduleTest, RefusedEntriesChangeNothing) {
    add("a");
    ASSERT_TRUE(scheduleLayer("a", 0, 100, 200));
    EXPECT_FALSE(scheduleLayer("missing", 0, 0, 5000));  // unknown name
    EXPECT_FALSE(scheduleLayer("a", 128, 0, 5000));      // no such slot
    EXPECT_FALSE(scheduleLayer("a", 0xFFFFFFFFu, 0, 5000));
    EXPECT_FALSE(scheduleLayer("a", 5, 3000, 2999));     // ends before it starts
    EXPECT_TRUE(scheduleLayer("a", 127, 300, 300));      // a single moment is fine
    // Once loaded, the schedule is frozen.
    for (RuntimeState s : {RuntimeState::Ready, RuntimeState::Playing, RuntimeState::Paused, RuntimeState::Quit}) {
        runtime().state = s;
        EXPECT_FALSE(scheduleLayer("a", 1, 0, 9000));
    }
    EXPECT_EQ(runtime().schedule.size(), 2u);
    EXPECT_EQ(runtime().minStartMs, 100u);
    EXPECT_EQ(runtime().maxEndMs, 300u);
}

TEST_F(ScheduleTest, BroadcastReachesActiveLayersBySlot) {
    add("a");
    add("b");
    scheduleLayer("a", 9, 0, 10);
    scheduleLayer("b", 2, 0, 10);
    broadcastMessage(WM_KEYDOWN, 27, 0);  // nothing active yet
    EXPECT_TRUE(log.calls.empty());
    runtime().activeSlots[9] = &runtime().schedule[0];
    runtime().activeSlots[2] = &runtime().schedule[1];
    broadcastMessage(WM_KEYDOWN, 27, 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"message b 256", "message a 256"}));
    runtime().activeSlots.fill(nullptr);
}

}  // namespace
}  // namespace zelFramework::testing
