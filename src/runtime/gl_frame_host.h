// The live host of the frame loop: the performance counter, the window's message queue and keys,
// OpenGL for the frame and the music record for sound.
#pragma once

#include "runtime/frame_host.h"

namespace zelFramework {

class GLFrameHost : public FrameHost {
public:
    explicit GLFrameHost(WindowHandle window) : window_(window) {}

    int64_t counterFrequency() override;
    int64_t counter() override;
    bool takeMessage(Message& out) override;
    void dispatch(const Message& msg) override;
    bool keyHeld(uint32_t virtualKey) override;

    bool hasStream() override;
    bool musicPaused() override;
    void resumeMusic() override;
    void playMusic() override;
    void seekMusic(uint32_t ms) override;
    void stopMusic() override;
    uint32_t musicTimeMs() override;
    const float* spectrum() override;

    void startSharedTools() override;
    void stopSharedTools() override;
    void showCursor() override;
    void clearFrame() override;
    void beginLayer() override;
    void endLayer() override;
    void drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t count) override;
    void present() override;
    void idle() override;
    void setTitle(const char* title) override;

protected:
    WindowHandle window() const { return window_; }

private:
    WindowHandle window_;
};

}  // namespace zelFramework
