// Everything the frame loop needs from outside the runtime record: the clock, the message queue, the
// key table, the GL frame, the music and the window title. The live show plays on the GL host;
// capture and benchmark runs drive a fixed step clock; tests script every answer.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"
#include "runtime/show_runtime.h"

namespace zelFramework {

class FrameHost {
public:
    virtual ~FrameHost() = default;

    // ---- clock and input ----
    virtual int64_t counterFrequency() = 0;
    virtual int64_t counter() = 0;
    virtual bool takeMessage(Message& out) = 0;
    virtual void dispatch(const Message& msg) = 0;
    virtual bool keyHeld(uint32_t virtualKey) = 0;

    // ---- music: every call is made only when hasStream() says there is a stream ----
    virtual bool hasStream() = 0;
    virtual bool musicPaused() = 0;
    virtual void resumeMusic() = 0;
    virtual void playMusic() = 0;
    virtual void seekMusic(uint32_t ms) = 0;
    virtual void stopMusic() = 0;
    virtual uint32_t musicTimeMs() = 0;
    // The frame's spectrum, or null when the music record is not valid.
    virtual const float* spectrum() = 0;

    // ---- the frame ----
    virtual void startSharedTools() = 0;  // blur toolkit up, before the first frame
    virtual void stopSharedTools() = 0;   // and down after the last
    virtual void showCursor() = 0;
    virtual void clearFrame() = 0;        // black, colour + depth + stencil, whole window
    virtual void beginLayer() = 0;        // identity projection and modelview, modelview pushed
    virtual void endLayer() = 0;          // modelview popped
    virtual void drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t count) = 0;
    virtual void present() = 0;
    virtual void idle() = 0;              // the short sleep of a frame with nothing to draw
    virtual void setTitle(const char* title) = 0;
};

// The frame loop of runShow on a given host.
void runShowOn(FrameHost& host, WindowHandle window);

// Show-time milliseconds of a float seconds value, truncated toward zero; negative values give 0 and
// values beyond the unsigned range give its maximum, so a paused or wrapped clock stays defined.
uint32_t truncateMs(float milliseconds);
// The show-time millisecond of a moment in seconds: truncated as truncateMs does, but in double and
// with a nanosecond of tolerance, so a decimal time that a double holds a hair low (12.7 s is
// 12.69999...) still counts as its own millisecond.
uint32_t showMsAt(double seconds);
// The show time of the frame being drawn, in whole milliseconds (nowMs of the loop).
uint32_t frameShowMs(const ShowRuntime& rt);
// The last moment that draws: the schedule's end, or an earlier end the viewer asked for.
uint32_t spanEndMs(const ShowRuntime& rt);

}  // namespace zelFramework
