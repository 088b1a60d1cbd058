#include "runtime/capture_host.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/trace.h"
#include "platform/native_window.h"
#include "platform/platform.h"
#include "runtime/png_writer.h"

namespace zelFramework {

CaptureHost::CaptureHost(WindowHandle window, int fps, std::string dir)
    : StepClockHost(window, fps),
      dir_(std::move(dir)),
      progress_("capture", spanFrameCount(runtime(), framesPerSecond())) {}

std::string CaptureHost::framePath(const std::string& dir, long index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06ld.png", index);
    return (std::filesystem::path(dir) / name).string();
}

std::vector<std::filesystem::path> CaptureHost::framesIn(const std::string& dir) {
    std::vector<std::filesystem::path> frames;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        constexpr size_t prefix = sizeof "frame_" - 1, suffix = sizeof ".png" - 1;
        if (name.size() < prefix + 6 + suffix || !name.starts_with("frame_") || !name.ends_with(".png")) continue;
        const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        if (it->is_regular_file(ec)) frames.push_back(it->path());
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

void CaptureHost::noteFailedWrite() {
    if (failed_ || !writer_.failed()) return;
    failed_ = true;
    trace(TRACE_WARNING, "capture", "%s", writer_.failure().c_str());
}

void CaptureHost::finishProgress() {
    writer_.drain();
    noteFailedWrite();
    progress_.finish();
}

void CaptureHost::onFrame(uint32_t showMs) {
    // The loop's clock passes the end on one last empty frame; it is not part of the span.
    if (showMs > spanEndMs(runtime()) || failed_) return;
    noteFailedWrite();
    if (failed_) {
        // Nothing more can be written; stop the show instead of rendering into the void.
        postQuitMessage(0);
        return;
    }
    int width = 0, height = 0;
    windowClientSize(window(), width, height);
    std::vector<uint8_t> pixels = writer_.takeBuffer(size_t(width) * size_t(height) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // Encoding and writing happen on the writer's thread while the next frame renders.
    writer_.push(framePath(dir_, queued_), width, height, std::move(pixels));
    ++queued_;
    progress_.update(queued_);
}

}  // namespace zelFramework
