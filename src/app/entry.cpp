// Start-up, the show, shutdown: a fixed sequence of calls into the shell and the runtime.
#include "app/entry.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/dialog.h"
#include "app/music.h"
#include "app/options.h"
#include "app/screen_metrics.h"
#include "app/trace.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"
#include "runtime/offline_run.h"
#include "runtime/show_runtime.h"
#include "runtime/test_composition.h"
#include "show/show_composition.h"
#include "sync/controller_set.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {

const char* const SOUNDTRACK = "anthem.mp3";
const char* const INITIAL_TITLE = "orv";  // replaced by the frame-rate readout

// Every later relative path is resolved against the resources folder.
bool enterResourcesFolder(const ShowOptions& options, std::filesystem::path& folder) {
    folder = options.resources.empty() ? executableDirectory() / "resources" : std::filesystem::path(options.resources);
    return changeDirectory(folder);
}

void startTrace() {
    TraceSettings& s = traceSettings();
    s.maximumLevel = TRACE_INFO;
    s.outputMode = TRACE_TO_DEBUGGER;
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
    span.fromSeconds = span.hasFrom ? float(options.from) : 0.0f;
    if (options.to >= 0.0) span.toMs = options.to * 1000.0 >= 4294967295.0 ? 0xFFFFFFFFu : uint32_t(options.to * 1000.0);
}

bool playShow(const ShowOptions& options, WindowHandle window) {
    if (!offlineRun(options)) {
        runShow(window);
        return true;
    }
    OfflineSettings offline;
    offline.captureDir = options.captureDir;
    offline.videoFile = options.videoFile;
    offline.soundtrack = std::filesystem::absolute(SOUNDTRACK).string();  // in the resources folder
    offline.fps = options.fps;
    offline.benchmark = options.benchmark;
    offline.passes = options.passes;
    // A show whose loading failed has nothing to capture or time.
    if (runtime().state != RuntimeState::Ready) return true;
    return runOffline(window, offline);
}

}  // namespace

int showEntry(int argc, char** argv) {
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "orvo-show: %s\n", parsed.error.c_str());
        return 2;
    }
    ShowOptions options = parsed.options;
    anchorPaths(options);
    if (options.help || options.version) {
        std::fputs(options.help ? usageText().c_str() : versionText().c_str(), stdout);
        return 0;
    }

    std::filesystem::path resources;
    const bool inResources = enterResourcesFolder(options, resources);
    startTrace();
    if (!inResources)
        trace(TRACE_WARNING, "entry", "resources folder %s not found; nothing can be loaded", resources.c_str());

    DisplaySettings display;
    if (chooseDisplay(options, display) == 0) return -1;
    setScreenMetrics(display.width, display.height);

    if (!showWindow().create(display.width, display.height, PICTURE_ASPECT, display.windowed == 0,
                             showWindowProcedure, INITIAL_TITLE)) {
        // The ERROR is already traced; without a window there is no show to run.
        traceStop();
        return 1;
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
    if (options.edit && !offlineRun(options)) attachTimelineEditor(runtime());
    applyPlaybackSpan(options);
    runtime().loadingScreen.midiFile = options.midiFile;
    const WindowHandle window = showWindow().windowHandle();
    loadShow(window);
    const bool played = playShow(options, window);

    stopShow();
    showWindow().destroy();
    traceStop();
    return played ? 0 : 1;
}

}  // namespace zelFramework
