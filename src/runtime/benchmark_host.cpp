#include "runtime/benchmark_host.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/platform.h"

namespace zelFramework {

namespace {

std::string registrationName(const ShowRuntime& rt, const Layer_Base* layer) {
    for (const LayerRegistration& r : rt.registry)
        if (r.layer == layer) return r.name;
    return "?";
}

void printStats(std::FILE* out, const FrameTimeStats& s) {
    std::fprintf(out, "frames=%zu avg_ms=%.3f p95_ms=%.3f fps=%.1f\n", s.frames, s.averageMs, s.p95Ms, s.fps);
}

}  // namespace

FrameTimeStats frameTimeStats(std::vector<double> frameMs) {
    FrameTimeStats s;
    s.frames = frameMs.size();
    if (frameMs.empty()) return s;
    double sum = 0.0;
    for (double ms : frameMs) sum += ms;
    s.averageMs = sum / double(frameMs.size());
    std::sort(frameMs.begin(), frameMs.end());
    size_t rank = size_t(std::ceil(0.95 * double(frameMs.size())));
    s.p95Ms = frameMs[std::max<size_t>(rank, 1) - 1];
    s.fps = s.averageMs > 0.0 ? 1000.0 / s.averageMs : 0.0;
    return s;
}

BenchmarkHost::BenchmarkHost(WindowHandle window, int fps)
    : StepClockHost(window, fps), progress_("benchmark", spanFrameCount(runtime(), framesPerSecond())) {
    const ShowRuntime& rt = runtime();
    for (const ScheduleEntry& e : rt.schedule) labels_.push_back({registrationName(rt, e.layer), e.slot, e.startMs, e.endMs});
    entryFrameMs_.resize(labels_.size());
}

void BenchmarkHost::startSharedTools() {
    StepClockHost::startSharedTools();
    mark_ = int64_t(performanceCounter());
}

void BenchmarkHost::onFrame(uint32_t showMs) {
    // Wait for the GPU so that each frame is charged with its own work.
    glFinish();
    const int64_t now = int64_t(performanceCounter());
    const double ms = double(now - mark_) * 1000.0 / double(performanceFrequency());
    mark_ = now;
    const ShowRuntime& rt = runtime();
    if (showMs > spanEndMs(rt)) return;
    allFrameMs_.push_back(ms);
    // Empty frames leave the slot table empty, so they count for the span only.
    for (const ScheduleEntry* entry : rt.activeSlots)
        if (entry) entryFrameMs_[size_t(entry - rt.schedule.data())].push_back(ms);
    progress_.update(long(allFrameMs_.size()));
}

void BenchmarkHost::report(std::FILE* out) {
    progress_.finish();
    for (size_t i = 0; i < labels_.size(); ++i) {
        const EntryLabel& l = labels_[i];
        std::fprintf(out, "entry=%zu name=%s slot=%u start_ms=%u end_ms=%u ", i + 1, l.name.c_str(), l.slot, l.startMs,
                     l.endMs);
        printStats(out, frameTimeStats(entryFrameMs_[i]));
    }
    std::fprintf(out, "total step_fps=%d ", framesPerSecond());
    printStats(out, frameTimeStats(allFrameMs_));
}

}  // namespace zelFramework
