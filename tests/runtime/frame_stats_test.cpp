// The benchmark's figures: average, 95th percentile and rate of frame times.
#include <gtest/gtest.h>

#include "runtime/benchmark_host.h"

namespace zelFramework {
namespace {

TEST(FrameTimeStats, PercentileIsTheTimeThatNinetyFivePercentStayWithin) {
    std::vector<double> descending, spike(19, 1.0);
    for (int i = 100; i >= 1; --i) descending.push_back(double(i));  // unsorted: 100 ... 1 ms
    spike.push_back(50.0);  // one slow frame in twenty is the 5 % the figure leaves out
    const struct {
        std::vector<double> times;
        FrameTimeStats expected;
    } cases[] = {{descending, {100, 50.5, 95.0, 1000.0 / 50.5}},
                 {{4.0}, {1, 4.0, 4.0, 250.0}},
                 {spike, {20, 69.0 / 20.0, 1.0, 20000.0 / 69.0}},
                 {{}, {0, 0.0, 0.0, 0.0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.times.size());
        const FrameTimeStats s = frameTimeStats(c.times);
        EXPECT_EQ(s.frames, c.expected.frames);
        EXPECT_NEAR(s.averageMs, c.expected.averageMs, 1e-9);
        EXPECT_DOUBLE_EQ(s.p95Ms, c.expected.p95Ms);
        EXPECT_NEAR(s.fps, c.expected.fps, 1e-9);
    }
}

}  // namespace
}  // namespace zelFramework
