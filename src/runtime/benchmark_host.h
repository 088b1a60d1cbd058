// Times every frame of the span and attributes it to the schedule entries drawn in it.
#pragma once

#include <string>
#include <vector>

#include "runtime/offline_run.h"
#include "runtime/step_clock_host.h"

namespace zelFramework {

struct FrameTimeStats {
    size_t frames = 0;
    double averageMs = 0.0;
    double p95Ms = 0.0;  // the frame time 95 % of the frames stay at or below
    double fps = 0.0;    // 1000 / average
};

// Average, 95th percentile and rate of a set of frame times in milliseconds.
FrameTimeStats frameTimeStats(std::vector<double> frameMs);

// What the report says about one schedule entry; taken before the show runs, since the schedule is
// emptied at its end.
struct EntryLabel {
    std::string name;
    uint32_t slot = 0, startMs = 0, endMs = 0;
};

class BenchmarkHost : public StepClockHost {
public:
    BenchmarkHost(WindowHandle window, int fps);
    void startSharedTools() override;
    // One line per schedule entry, then the whole span; written to `out`.
    void report(std::FILE* out);

protected:
    void onFrame(uint32_t showMs) override;

private:
    std::vector<EntryLabel> labels_;
    std::vector<std::vector<double>> entryFrameMs_;
    std::vector<double> allFrameMs_;
    int64_t mark_ = 0;
    ProgressBar progress_;
};

}  // namespace zelFramework
