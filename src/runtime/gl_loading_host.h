// The live host of the loading sequence: the loading picture drawn with OpenGL into the window.
#pragma once

#include <cstdint>

#include "runtime/loading_sequence.h"

namespace zelFramework {

class GLLoadingHost : public LoadingHost {
public:
    explicit GLLoadingHost(WindowHandle window) : window_(window) {}
    GL_Texture* loadingImage() override;
    void moveCursorHome() override;
    void drawLoadingFrame(GL_Texture* image, float brightness) override;
    void fadePause() override;
    void readMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) override;

private:
    WindowHandle window_;
    uint64_t frameShownAt_ = 0;  // performance counter when the last loading frame was presented
};

}  // namespace zelFramework
