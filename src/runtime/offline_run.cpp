// Capture and benchmark runs, and the video made from a capture.
#include "runtime/offline_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <sys/wait.h>

#include "app/trace.h"
#include "runtime/benchmark_host.h"
#include "runtime/capture_host.h"

namespace zelFramework {

namespace {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool programOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    size_t from = 0;
    while (from <= dirs.size()) {
        size_t to = dirs.find(':', from);
        if (to == std::string::npos) to = dirs.size();
        std::error_code ec;
        std::filesystem::path candidate = std::filesystem::path(dirs.substr(from, to - from)) / name;
        if (!candidate.parent_path().empty() && std::filesystem::is_regular_file(candidate, ec)) return true;
        from = to + 1;
    }
    return false;
}

// The music starts where the captured span starts, measured from the schedule's start.
double soundtrackOffsetSeconds(const ShowRuntime& rt) {
    const uint32_t start = spanStartMs(rt);
    return start > rt.minStartMs ? double(start - rt.minStartMs) / 1000.0 : 0.0;
}

// Empty on success, else the reason. Exactly the `frames` pictures of this run go into the video.
std::string makeVideo(const OfflineSettings& s, double audioOffset, long frames) {
    if (!videoEncoderAvailable())
        return "ffmpeg is not installed, so no video was made; the pictures are in " + s.captureDir;
    std::string command = "ffmpeg -y -loglevel error -framerate " + std::to_string(s.fps) + " -i " +
                          shellQuoted((std::filesystem::path(s.captureDir) / "frame_%06d.png").string()) +
                          " -frames:v " + std::to_string(frames);
    std::error_code ec;
    const bool sound = !s.soundtrack.empty() && std::filesystem::is_regular_file(s.soundtrack, ec);
    if (sound) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "%.3f", audioOffset);
        command += " -ss " + std::string(offset) + " -i " + shellQuoted(s.soundtrack) + " -map 0:v -map 1:a -c:a aac -shortest";
    }
    command += " -c:v libx264 -pix_fmt yuv420p " + shellQuoted(s.videoFile);
    std::fprintf(stderr, "capture: writing %s\n", s.videoFile.c_str());
    const int status = std::system(command.c_str());
    if (status != 0) {
        const std::string how = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status)) : "it was killed";
        return "ffmpeg failed to make " + s.videoFile + " (" + how + "); the pictures are in " + s.captureDir;
    }
    return {};
}

// Frame files of an earlier capture would end up in the video and mix with this run's.
std::string clearEarlierFrames(const std::string& dir) {
    for (const std::filesystem::path& frame : CaptureHost::framesIn(dir)) {
        std::error_code ec;
        if (!std::filesystem::remove(frame, ec) && ec)
            return "cannot delete the earlier frame " + frame.string() + ": " + ec.message();
    }
    return {};
}

OfflineOutcome runCapture(WindowHandle window, const OfflineSettings& s) {
    std::error_code ec;
    std::filesystem::create_directories(s.captureDir, ec);
    if (!std::filesystem::is_directory(s.captureDir, ec)) {
        trace(TRACE_ERROR, "capture", "cannot make the folder \"%s\"", s.captureDir.c_str());
        return {OfflineResult::CaptureFailed, "cannot make the capture folder " + s.captureDir};
    }
    if (std::string problem = clearEarlierFrames(s.captureDir); !problem.empty())
        return {OfflineResult::CaptureFailed, problem};
    if (!s.videoFile.empty() && !std::filesystem::is_regular_file(s.soundtrack, ec))
        trace(TRACE_WARNING, "capture", "the soundtrack %s is missing, so the video will have no sound",
              s.soundtrack.c_str());
    const double audioOffset = soundtrackOffsetSeconds(runtime());
    CaptureHost host(window, s.fps, s.captureDir);
    runShowOn(host, window);
    host.finishProgress();
    std::fprintf(stderr, "capture: %ld frames in %s\n", host.written(), s.captureDir.c_str());
    if (host.failed())
        return {OfflineResult::CaptureFailed,
                "capture stopped: " + CaptureHost::framePath(s.captureDir, host.written()) + " could not be written"};
    if (s.videoFile.empty() || host.written() == 0) return {};
    if (std::string problem = makeVideo(s, audioOffset, host.written()); !problem.empty())
        return {OfflineResult::VideoFailed, problem};
    return {};
}

}  // namespace

void ProgressBar::update(long done) {
    const int percent = int(std::min(done * 100 / total_, 100L));
    if (percent == lastShown_ || finished_) return;
    lastShown_ = percent;
    constexpr int width = 40;
    char bar[width + 1];
    for (int i = 0; i < width; ++i) bar[i] = i < percent * width / 100 ? '#' : '.';
    bar[width] = '\0';
    std::fprintf(stderr, "\r%s [%s] %3d%%  frame %ld/%ld", label_, bar, percent, done, total_);
    if (done >= total_) finish();
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (lastShown_ >= 0 && !finished_) std::fprintf(stderr, "\n");
    finished_ = true;
}

OfflineOutcome runOffline(WindowHandle window, const OfflineSettings& settings) {
    if (!settings.captureDir.empty()) return runCapture(window, settings);
    BenchmarkHost host(window, settings.fps, settings.passes);
    runShowOn(host, window);
    host.report(stdout);
    std::fflush(stdout);
    return {};
}

bool videoEncoderAvailable() { return programOnPath("ffmpeg"); }

}  // namespace zelFramework
