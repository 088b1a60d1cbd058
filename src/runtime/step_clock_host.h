// A host for offline runs: the clock advances by exactly one frame step at every presented frame,
// so frame k shows from + k / fps whatever the rendering costs; nothing sleeps and nothing sounds.
#pragma once

#include "runtime/gl_frame_host.h"

namespace zelFramework {

class StepClockHost : public GLFrameHost {
public:
    StepClockHost(WindowHandle window, int framesPerSecond);

    int64_t counterFrequency() override { return fps_; }
    int64_t counter() override { return presented_; }

    bool hasStream() override { return false; }
    const float* spectrum() override { return nullptr; }
    void idle() override {}
    void present() override;

protected:
    // Called with each presented frame's show time before it is presented; the back buffer then holds
    // the finished picture.
    virtual void onFrame(uint32_t showMs) = 0;
    int64_t presented() const { return presented_; }
    int framesPerSecond() const { return int(fps_); }

private:
    int64_t fps_;
    int64_t presented_ = 0;
};

// The first moment it draws: the requested start or the schedule's start.
uint32_t spanStartMs(const ShowRuntime& rt);
// How many frames a step clock of `fps` shows from the span's start to its end, both included.
long spanFrameCount(const ShowRuntime& rt, int fps);

}  // namespace zelFramework
