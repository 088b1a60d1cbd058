// Writes every frame of the span as a numbered PNG of the window's picture.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/offline_run.h"
#include "runtime/png_writer_queue.h"
#include "runtime/step_clock_host.h"

namespace zelFramework {

class CaptureHost : public StepClockHost {
public:
    CaptureHost(WindowHandle window, int fps, std::string dir);
    // Frames written; complete once finishProgress has returned.
    long written() const { return writer_.written(); }
    bool failed() const { return failed_; }
    // Waits for the frames still being written, reports a failed write, and ends the progress line.
    void finishProgress();
    // The picture file of frame `index` in `dir`.
    static std::string framePath(const std::string& dir, long index);
    // The frame files ("frame_" digits ".png") already in `dir`, sorted; none when it does not exist.
    static std::vector<std::filesystem::path> framesIn(const std::string& dir);

protected:
    void onFrame(uint32_t showMs) override;

private:
    void noteFailedWrite();

    std::string dir_;
    long queued_ = 0;
    bool failed_ = false;
    ProgressBar progress_;
    PngWriterQueue writer_;  // last: its thread ends before the members it reports to
};

}  // namespace zelFramework
