// Offline runs of a loaded show on the step clock: capture to numbered pictures (and a video), or a
// benchmark of every schedule entry's frame times.
#pragma once

#include <string>

#include "runtime/show_runtime.h"

namespace zelFramework {

struct OfflineSettings {
    std::string captureDir;  // folder for "frame_000000.png" ...; empty for no capture
    std::string videoFile;   // optional video made from the pictures with the soundtrack
    std::string soundtrack;  // the music file for the video's sound
    int fps = 30;
    bool benchmark = false;
    bool passes = false;  // with benchmark: time every pass of the frame by name
};

enum class OfflineResult { Done, CaptureFailed, VideoFailed };

struct OfflineOutcome {
    OfflineResult result = OfflineResult::Done;
    std::string reason;  // one line for the failures: what could not be done and why
};

// Plays the loaded show like runShow, but on the step clock, without sound and without sleeping,
// writing every frame of the span (capture) or timing it (benchmark, report on standard output).
// A capture first deletes the frame files an earlier capture left in its folder, so the folder and
// the video hold exactly the frames of this run.
OfflineOutcome runOffline(WindowHandle window, const OfflineSettings& settings);

// Whether the encoder that makes the video (ffmpeg) is on the PATH.
bool videoEncoderAvailable();

// Draws "[#####.....]  50%  frame 12/24" on the terminal, rewriting the line as it advances.
class ProgressBar {
public:
    ProgressBar(const char* label, long total) : label_(label), total_(total > 0 ? total : 1) {}
    void update(long done);
    void finish();

private:
    const char* label_;
    long total_;
    int lastShown_ = -1;
    bool finished_ = false;
};

}  // namespace zelFramework
