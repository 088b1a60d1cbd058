#include "runtime/step_clock_host.h"

namespace zelFramework {

StepClockHost::StepClockHost(WindowHandle window, int framesPerSecond)
    : GLFrameHost(window), fps_(framesPerSecond > 0 ? framesPerSecond : 30) {}

void StepClockHost::present() {
    onFrame(frameShowMs(runtime()));
    GLFrameHost::present();
    ++presented_;
}

uint32_t spanStartMs(const ShowRuntime& rt) {
    return rt.span.hasFrom ? showMsAt(rt.span.fromSeconds) : rt.minStartMs;
}

// Counted on the clock's own arithmetic (frame k at start + k / fps), so the count is the frames the
// run really shows, also for a start between milliseconds.
long spanFrameCount(const ShowRuntime& rt, int fps) {
    if (fps <= 0) return 0;
    const double start = rt.span.hasFrom ? rt.span.fromSeconds : double(rt.minStartMs) / 1000.0;
    const uint32_t end = spanEndMs(rt);
    auto shown = [&](long k) { return showMsAt(start + double(k) / double(fps)) <= end; };
    if (!shown(0)) return 0;
    long k = long(double(end - showMsAt(start)) * fps / 1000.0);
    while (k > 0 && !shown(k)) --k;
    while (shown(k + 1)) ++k;
    return k + 1;
}

}  // namespace zelFramework
