// Start-up, the show, shutdown: a fixed sequence of calls into the shell and the runtime.
#include "app/entry.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dialog.h"
#include "app/exit_codes.h"
#include "app/music.h"
#include "app/options.h"
#include "app/resources_folder.h"
#include "app/resources_check.h"
#include "app/screen_metrics.h"
#include "app/trace.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "gl/render_limits.h"
#include "platform/platform.h"
#include "platform/video_init.h"
#include "runtime/capture_host.h"
#include "runtime/live_reload.h"
#include "runtime/offline_run.h"
#include "runtime/show_runtime.h"
#include "runtime/test_composition.h"
#include "show/show_composition.h"
#include "sync/controller_check.h"
#include "sync/controller_set.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {

const char* const SOUNDTRACK = "anthem.mp3";
const char* const INITIAL_TITLE = "orv";  // replaced by the frame-rate readout

// Every later relative path is resolved against the resources folder. Without --resources it is looked
// for relative to the program (build tree or installed package); `folder` then names where it was
// looked for when none is found.
// Whether it can be used is decided by refuseBeforeTheWindow.
bool enterResourcesFolder(const ShowOptions& options, std::filesystem::path& folder) {
    if (!options.resources.empty()) {
        // Made absolute before entering it: the checks that follow would otherwise read a relative
        // name against the folder itself.
        std::error_code ec;
        folder = std::filesystem::absolute(options.resources, ec);
        if (ec) folder = options.resources;
        return changeDirectory(folder);
    }
    const std::filesystem::path programDir = executableDirectory();
    folder = findResourcesFolder(programDir);
    if (folder.empty()) {
        const std::vector<std::filesystem::path> places = resourcesFolderCandidates(programDir);
        folder = places.front().string() + " or " + places.back().string();
        return false;
    }
    return changeDirectory(folder);
}

void startTrace() {
    TraceSettings& s = traceSettings();
    s.maximumLevel = TRACE_INFO;
    s.outputMode = TRACE_TO_DEBUGGER;
    traceCollapseRepeats(true);
    trace(TRACE_INFO, "trace", "Trace started");
    s.quitLevel = TRACE_ERROR;
    trace(TRACE_INFO, "trace", "Enabled quit on trace level: %d", int(s.quitLevel));
}

bool offlineRun(const ShowOptions& options) { return !options.captureDir.empty() || options.benchmark; }

// The command line presets the dialog; offline runs skip it and default to a window, since a mode
// change buys nothing there. The result is the dialog's: 0 means the viewer cancelled.
int chooseDisplay(const ShowOptions& options, DisplaySettings& settings) {
    if (options.width) settings.width = options.width;
    if (options.height) settings.height = options.height;
    if (options.windowed || ((offlineRun(options) || options.edit) && !options.fullScreen)) settings.windowed = 1;
    if (options.fullScreen) settings.windowed = 0;
    if (options.noDialog || offlineRun(options)) return 1;
    if (videoDriverIsUnseen()) {
        trace(TRACE_WARNING, "entry", "no display (video driver \"%s\"): the setup dialog cannot be shown, so the defaults are taken",
              videoDriverName().c_str());
        return 1;
    }
    return runSetupDialog(settings);
}

// Names given on the command line are meant from where the program was started, which stops being
// the current folder once the resources folder is entered.
void anchorPaths(ShowOptions& options) {
    for (std::string* path : {&options.captureDir, &options.videoFile, &options.midiFile})
        if (!path->empty()) *path = std::filesystem::absolute(*path).string();
}

void applyPlaybackSpan(const ShowOptions& options) {
    PlaybackSpan& span = runtime().span;
    span.hasFrom = options.from >= 0.0;
    span.fromSeconds = span.hasFrom ? options.from : 0.0;
    if (options.to >= 0.0) span.toMs = showMsAt(options.to);
    if (options.loopTo > options.loopFrom && options.loopFrom >= 0.0) {
        setPlaybackLoop(span, options.loopFrom, options.loopTo);
        // Without --from the show starts where the loop does.
        if (!span.hasFrom) {
            span.hasFrom = true;
            span.fromSeconds = options.loopFrom;
        }
    }
}

OfflineOutcome playShow(const ShowOptions& options, WindowHandle window) {
    // A show whose loading failed has nothing to play, capture or time; its ERROR says why.
    if (runtime().state != RuntimeState::Ready) return {};
    if (!offlineRun(options)) {
        runShow(window);
        return {};
    }
    OfflineSettings offline;
    offline.captureDir = options.captureDir;
    offline.videoFile = options.videoFile;
    offline.soundtrack = std::filesystem::absolute(SOUNDTRACK).string();  // in the resources folder
    offline.fps = options.fps;
    offline.benchmark = options.benchmark;
    offline.passes = options.passes;
    return runOffline(window, offline);
}

// Ends the log and says why the run failed, as the very last line, for the one who reads the terminal
// and for scripts that keep only the tail.
int failWith(ExitCode code, const std::string& reason) {
    traceStop();
    std::fprintf(stderr, "orvo-show: %s\n", reason.c_str());
    return code;
}

// What can be refused before any window opens, so a wrong command line costs no loading time.
int refuseBeforeTheWindow(const ShowOptions& options, const std::filesystem::path& resources) {
    if (std::string problem = resourcesProblem(resources, !options.testComposition); !problem.empty())
        return failWith(EXIT_UNUSABLE, problem);
    if (!options.captureDir.empty() && !options.overwrite) {
        if (const size_t n = CaptureHost::framesIn(options.captureDir).size(); n > 0)
            return failWith(EXIT_COMMAND_LINE, options.captureDir + " already holds " + std::to_string(n) +
                                                   " frames of an earlier capture; add --overwrite to replace them");
    }
    if (!options.videoFile.empty() && !videoEncoderAvailable())
        return failWith(EXIT_VIDEO_FAILED, "--video needs ffmpeg, which is not installed (not found on the PATH)");
    return EXIT_SHOWN;
}

// A start past the end would give an empty show that looks like success.
std::string spanProblem(const ShowOptions& options) {
    const uint32_t endMs = runtime().maxEndMs;
    if (options.from < 0.0 || options.from * 1000.0 <= double(endMs)) return {};
    char line[160];
    std::snprintf(line, sizeof line, "--from %g is past the end of the show at %.3f s", options.from, double(endMs) / 1000.0);
    return line;
}

int exitCodeOf(const OfflineOutcome& outcome) {
    if (outcome.result == OfflineResult::VideoFailed && traceErrorCount() == 0)
        return failWith(EXIT_VIDEO_FAILED, outcome.reason);
    if (traceErrorCount() > 0) return failWith(EXIT_RUN_ERROR, "the show stopped on an error: " + firstTraceError());
    if (outcome.result != OfflineResult::Done) return failWith(EXIT_RUN_ERROR, outcome.reason);
    traceStop();
    return EXIT_SHOWN;
}

}  // namespace

int showEntry(int argc, char** argv) {
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "orvo-show: %s\n", parsed.error.c_str());
        return EXIT_COMMAND_LINE;
    }
    ShowOptions options = parsed.options;
    anchorPaths(options);
    if (options.help || options.version) {
        std::fputs(options.help ? usageText().c_str() : versionText().c_str(), stdout);
        return EXIT_SHOWN;
    }

    std::filesystem::path resources;
    enterResourcesFolder(options, resources);
    startTrace();
    if (const int refused = refuseBeforeTheWindow(options, resources); refused != EXIT_SHOWN) return refused;

    DisplaySettings display;
    if (chooseDisplay(options, display) == 0) return EXIT_CANCELLED;
    // Live playback nobody can see would run for minutes and look like success.
    if (!offlineRun(options) && videoDriverIsUnseen())
        return failWith(EXIT_UNUSABLE, "no display to play the show on (video driver \"" + videoDriverName() +
                                           "\"); run it under xvfb-run, or use --capture or --benchmark");
    setScreenMetrics(display.width, display.height);

    if (!showWindow().create(display.width, display.height, PICTURE_ASPECT, display.windowed == 0,
                             showWindowProcedure, INITIAL_TITLE))
        return failWith(EXIT_UNUSABLE, "no window: " + firstTraceError());
    if (std::string problem = renderSizeProblem(queryRenderLimits(), screenWidth, renderHeight); !problem.empty()) {
        showWindow().destroy();
        return failWith(EXIT_UNUSABLE, problem);
    }
    // The music record and the controller set live until the process ends. Offline runs are silent.
    MusicState* music = new MusicState(offlineRun(options) ? MusicState{} : openSoundtrack(SOUNDTRACK));
    ControllerSet* controllers = new ControllerSet();
    initRuntime(controllers, music);
    setMessageBroadcast(broadcastMessage);

    // The test composition checks the runtime on its own, without the show's assets.
    if (options.testComposition)
        composeTestShow();
    else
        composeShow();
    if (std::string problem = spanProblem(options); !problem.empty()) {
        stopShow();
        showWindow().destroy();
        return failWith(EXIT_COMMAND_LINE, problem);
    }
    if (options.edit && !offlineRun(options)) attachTimelineEditor(runtime(), float(options.bpm));
    // Offline runs render a fixed span reproducibly, so files changing under them are not followed.
    if (!offlineRun(options) && (options.watch || (options.edit && !options.noWatch))) attachLiveReload(runtime());
    applyPlaybackSpan(options);
    runtime().loadingScreen.midiFile = options.midiFile;
    const WindowHandle window = showWindow().windowHandle();
    loadShow(window);
    // A name in the sync data that no layer reads is most likely a typo; say so before playing.
    if (!options.testComposition) traceControllerCheck(*controllers);
    const OfflineOutcome outcome = playShow(options, window);

    stopShow();
    showWindow().destroy();
    return exitCodeOf(outcome);
}

}  // namespace zelFramework
