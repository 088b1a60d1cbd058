// The benchmark's figures: average, 95th percentile and rate of frame times.
#include <gtest/gtest.h>

#include "runtime/benchmark_host.h"

namespace zelFramework {
namespace {

TEST(FrameTimeStats, PercentileIsTheTimeThatNinetyFivePercentStayWithin) {
    std::vector<double> times;
    for (int i = 100; i >= 1; --i) times.push_back(double(i));  // unsorted: 100 ... 1 ms
    const FrameTimeStats s = frameTimeStats(times);
    EXPECT_EQ(s.frames, 100u);
    EXPECT_DOUBLE_EQ(s.averageMs, 50.5);
    EXPECT_DOUBLE_EQ(s.p95Ms, 95.0);
    EXPECT_NEAR(s.fps, 1000.0 / 50.5, 1e-9);
}

TEST(FrameTimeStats, FewAndNoFrames) {
    const FrameTimeStats one = frameTimeStats({4.0});
    EXPECT_DOUBLE_EQ(one.p95Ms, 4.0);
    EXPECT_DOUBLE_EQ(one.fps, 250.0);
    const FrameTimeStats spike = frameTimeStats({1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0,
                                                 1.0, 1.0, 1.0, 1.0, 1.0, 50.0});
    EXPECT_DOUBLE_EQ(spike.p95Ms, 1.0);  // one slow frame in twenty is the 5 % the figure leaves out
    const FrameTimeStats none = frameTimeStats({});
    EXPECT_EQ(none.frames, 0u);
    EXPECT_DOUBLE_EQ(none.averageMs, 0.0);
    EXPECT_DOUBLE_EQ(none.fps, 0.0);
}

}  // namespace
}  // namespace zelFramework
