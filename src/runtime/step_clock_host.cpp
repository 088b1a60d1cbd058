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
    return rt.span.hasFrom ? truncateMs(rt.span.fromSeconds * 1000.0f) : rt.minStartMs;
}

long spanFrameCount(const ShowRuntime& rt, int fps) {
    const uint32_t start = spanStartMs(rt), end = spanEndMs(rt);
    return end >= start ? long(uint64_t(end - start) * uint64_t(fps) / 1000u) + 1 : 0;
}

}  // namespace zelFramework
