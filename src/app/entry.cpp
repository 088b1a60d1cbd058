// Start-up, the show, shutdown: a fixed sequence of calls into the shell and the runtime.
#include "app/entry.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dialog.h"
#include "app/music.h"
#include "app/options.h"
#include "app/resources_folder.h"
#include "app/screen_metrics.h"
#include "app/trace.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"
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
bool enterResourcesFolder(const ShowOptions& options, std::filesystem::path& folder) {
    if (!options.resources.empty()) {
        folder = options.resources;
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
    if (options.loopTo > options.loopFrom && options.loopFrom >= 0.0) {
        setPlaybackLoop(span, float(options.loopFrom), float(options.loopTo));
        // Without --from the show starts where the loop does.
        if (!span.hasFrom) {
            span.hasFrom = true;
            span.fromSeconds = float(options.loopFrom);
        }
    }
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
    if (options.edit && !offlineRun(options)) attachTimelineEditor(runtime(), float(options.bpm));
    // Offline runs render a fixed span reproducibly, so files changing under them are not followed.
    if (!offlineRun(options) && (options.watch || (options.edit && !options.noWatch))) attachLiveReload(runtime());
    applyPlaybackSpan(options);
    runtime().loadingScreen.midiFile = options.midiFile;
    const WindowHandle window = showWindow().windowHandle();
    loadShow(window);
    // A name in the sync data that no layer reads is most likely a typo; say so before playing.
    if (!options.testComposition) traceControllerCheck(*controllers);
    const bool played = playShow(options, window);

    stopShow();
    showWindow().destroy();
    traceStop();
    return played ? 0 : 1;
}

}  // namespace zelFramework
