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

}  // namespace zelFramework
