// Writes every frame of the span as a numbered PNG of the window's picture.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/offline_run.h"
#include "runtime/step_clock_host.h"

namespace zelFramework {

class CaptureHost : public StepClockHost {
public:
    CaptureHost(WindowHandle window, int fps, std::string dir);
    long written() const { return written_; }
    bool failed() const { return failed_; }
    void finishProgress() { progress_.finish(); }
    // The picture file of frame `index` in `dir`.
    static std::string framePath(const std::string& dir, long index);
    // The frame files ("frame_" digits ".png") already in `dir`, sorted; none when it does not exist.
    static std::vector<std::filesystem::path> framesIn(const std::string& dir);

protected:
    void onFrame(uint32_t showMs) override;

private:
    std::string dir_;
    long written_ = 0;
    bool failed_ = false;
    std::vector<uint8_t> pixels_;
    ProgressBar progress_;
};

}  // namespace zelFramework
