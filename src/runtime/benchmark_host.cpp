#include "runtime/benchmark_host.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gl/pass_timer.h"
#include "platform/platform.h"
#include "runtime/process_usage.h"

namespace zelFramework {

namespace {

std::string registrationName(const ShowRuntime& rt, const Layer_Base* layer) {
    for (const LayerRegistration& r : rt.registry)
        if (r.layer == layer) return r.name;
    return "?";
}

void printStats(std::FILE* out, const FrameTimeStats& s) {
    std::fprintf(out, "frames=%zu avg_ms=%.3f p95_ms=%.3f fps=%.1f", s.frames, s.averageMs, s.p95Ms, s.fps);
}

// The CPU figures follow the wall-clock ones on the same line, so readers of the older lines still
// find every field where it was.
void printCpuStats(std::FILE* out, const FrameTimeStats& s, const char* lineEnd = "\n") {
    std::fprintf(out, " cpu_avg_ms=%.3f cpu_p95_ms=%.3f cpu_fps=%.1f%s", s.averageMs, s.p95Ms, s.fps, lineEnd);
}

void addPasses(std::vector<PassTotals>& totals, const std::vector<PassSample>& samples) {
    for (const PassSample& sample : samples) {
        auto it = std::find_if(totals.begin(), totals.end(), [&](const PassTotals& t) {
            return t.name == sample.name && t.depth == sample.depth;
        });
        if (it == totals.end()) {
            totals.push_back({sample.name, sample.depth, 0, 0.0, 0.0});
            it = totals.end() - 1;
        }
        ++it->calls;
        it->wallMs += sample.wallMs;
        it->cpuMs += sample.cpuMs;
    }
}

// Per frame of the entry: each pass, then what no top-level pass covers (layer drawing, copies into
// the window, waiting).
void printPasses(std::FILE* out, size_t entry, const std::vector<PassTotals>& totals, size_t frames,
                 double frameWallMs, double frameCpuMs) {
    if (frames == 0) return;
    const double n = double(frames);
    double wallCovered = 0.0, cpuCovered = 0.0;
    for (const PassTotals& t : totals) {
        std::fprintf(out, "pass entry=%zu name=%s depth=%d calls_per_frame=%.2f wall_ms=%.3f cpu_ms=%.3f\n", entry,
                     t.name.c_str(), t.depth, double(t.calls) / n, t.wallMs / n, t.cpuMs / n);
        if (t.depth == 0) {
            wallCovered += t.wallMs / n;
            cpuCovered += t.cpuMs / n;
        }
    }
    std::fprintf(out, "pass entry=%zu name=(rest) depth=0 calls_per_frame=1.00 wall_ms=%.3f cpu_ms=%.3f\n", entry,
                 frameWallMs - wallCovered, frameCpuMs - cpuCovered);
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

BenchmarkHost::BenchmarkHost(WindowHandle window, int fps, bool passes)
    : StepClockHost(window, fps), passes_(passes),
      progress_("benchmark", spanFrameCount(runtime(), framesPerSecond())) {
    const ShowRuntime& rt = runtime();
    for (const ScheduleEntry& e : rt.schedule) labels_.push_back({registrationName(rt, e.layer), e.slot, e.startMs, e.endMs});
    entryFrameMs_.resize(labels_.size());
    entryCpuMs_.resize(labels_.size());
    entryPasses_.resize(labels_.size());
    enablePassTiming(passes_);
}

void BenchmarkHost::startSharedTools() {
    StepClockHost::startSharedTools();
    mark_ = int64_t(performanceCounter());
    cpuMark_ = processCpuMs();
}

void BenchmarkHost::onFrame(uint32_t showMs) {
    // Wait for the GPU so that each frame is charged with its own work.
    glFinish();
    const int64_t now = int64_t(performanceCounter());
    const double ms = double(now - mark_) * 1000.0 / double(performanceFrequency());
    mark_ = now;
    const double cpuNow = processCpuMs();
    const double cpuMs = cpuNow - cpuMark_;
    cpuMark_ = cpuNow;
    const std::vector<PassSample> samples = passes_ ? takePassSamples() : std::vector<PassSample>();
    const ShowRuntime& rt = runtime();
    if (showMs > spanEndMs(rt)) return;
    allFrameMs_.push_back(ms);
    allCpuMs_.push_back(cpuMs);
    // Empty frames leave the slot table empty, so they count for the span only.
    for (const ScheduleEntry* entry : rt.activeSlots) {
        if (!entry) continue;
        const size_t i = size_t(entry - rt.schedule.data());
        entryFrameMs_[i].push_back(ms);
        entryCpuMs_[i].push_back(cpuMs);
        if (passes_) addPasses(entryPasses_[i], samples);
    }
    progress_.update(long(allFrameMs_.size()));
}

void BenchmarkHost::report(std::FILE* out) {
    progress_.finish();
    for (size_t i = 0; i < labels_.size(); ++i) {
        const EntryLabel& l = labels_[i];
        std::fprintf(out, "entry=%zu name=%s slot=%u start_ms=%u end_ms=%u ", i + 1, l.name.c_str(), l.slot, l.startMs,
                     l.endMs);
        const FrameTimeStats wall = frameTimeStats(entryFrameMs_[i]);
        const FrameTimeStats cpu = frameTimeStats(entryCpuMs_[i]);
        printStats(out, wall);
        printCpuStats(out, cpu);
        if (passes_) printPasses(out, i + 1, entryPasses_[i], wall.frames, wall.averageMs, cpu.averageMs);
    }
    std::fprintf(out, "total step_fps=%d ", framesPerSecond());
    printStats(out, frameTimeStats(allFrameMs_));
    printCpuStats(out, frameTimeStats(allCpuMs_), "");
    // The process's largest resident set from its start to the last frame: loading and every frame
    // of the span.
    std::fprintf(out, " peak_rss_mb=%.0f\n", processUsage().peakResidentMB);
}

}  // namespace zelFramework
