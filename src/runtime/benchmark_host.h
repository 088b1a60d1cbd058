// Times every frame of the span and attributes it to the schedule entries drawn in it.
#pragma once

#include <map>
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

// The time of one named pass over the frames of a schedule entry.
struct PassTotals {
    std::string name;
    int depth = 0;  // 0 for a top-level pass, more for one inside another timed pass
    size_t calls = 0;
    double wallMs = 0.0, cpuMs = 0.0;
};

class BenchmarkHost : public StepClockHost {
public:
    // With `passes`, every pass of every frame is timed by name (see gl/pass_timer.h) and reported
    // per entry below its line.
    BenchmarkHost(WindowHandle window, int fps, bool passes = false);
    void startSharedTools() override;
    // One line per schedule entry, then the whole span; written to `out`.
    void report(std::FILE* out);

protected:
    void onFrame(uint32_t showMs) override;

private:
    std::vector<EntryLabel> labels_;
    std::vector<std::vector<double>> entryFrameMs_;
    std::vector<double> allFrameMs_;
    // Process CPU time per frame (the steadier figure on a shared machine), kept like the wall times.
    std::vector<std::vector<double>> entryCpuMs_;
    std::vector<double> allCpuMs_;
    // Per entry: the passes in the order they first appeared.
    std::vector<std::vector<PassTotals>> entryPasses_;
    bool passes_ = false;
    double cpuMark_ = 0.0;
    int64_t mark_ = 0;
    ProgressBar progress_;
};

}  // namespace zelFramework
