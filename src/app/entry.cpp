// Start-up, the frames, shutdown. For now the frames are black letterboxed pictures with the
// soundtrack playing; the show's runtime takes their place.
#include "app/entry.h"

#include <GL/glew.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/music.h"
#include "app/options.h"
#include "app/screen_metrics.h"
#include "app/trace.h"
#include "app/window.h"
#include "app/window_procedure.h"
#include "platform/platform.h"

namespace zelFramework {

namespace {

struct DisplaySettings {
    int width = 1280;
    int height = 720;
    int bitsPerPixel = 32;
    int windowed = 0;  // 0 = full screen
};

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

// The setup dialog will fill these; until then the defaults and the command line decide.
DisplaySettings chooseDisplay(const ShowOptions& options) {
    DisplaySettings settings;
    if (options.width) settings.width = options.width;
    if (options.height) settings.height = options.height;
    if (options.windowed) settings.windowed = 1;
    if (options.fullScreen) settings.windowed = 0;
    return settings;
}

void drawBlackFrames(MusicState& music) {
    bool first = true;
    for (;;) {
        Message m;
        bool quit = false;
        while (peekMessage(m)) {
            if (m.message == WM_QUIT) {
                quit = true;
                break;
            }
            dispatchMessage(m);
        }
        if (quit) break;
        if (first && music.valid) {
            musicSetTime(music.stream, 0);
            musicPlay(music.stream);
        }
        first = false;
        if (music.valid) music.spectrum = musicSpectrum();
        // The whole framebuffer is cleared, so the bands around the picture stay black.
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        swapBuffers(showWindow().windowHandle());
        sleepMs(10);  // nothing to draw yet: no need to spin a core
    }
    if (music.valid) musicStop(music.stream);
}

void shutDown(MusicState& music) {
    if (music.valid) musicStop(music.stream);
    showWindow().destroy();
    traceStop();
}

}  // namespace

int showEntry(int argc, char** argv) {
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "orvo-show: %s\n", parsed.error.c_str());
        return 2;
    }
    const ShowOptions& options = parsed.options;
    if (options.help || options.version) {
        std::fputs(options.help ? usageText().c_str() : versionText().c_str(), stdout);
        return 0;
    }

    std::filesystem::path resources;
    const bool inResources = enterResourcesFolder(options, resources);
    startTrace();
    if (!inResources)
        trace(TRACE_WARNING, "entry", "resources folder %s not found; nothing can be loaded", resources.c_str());

    const DisplaySettings display = chooseDisplay(options);
    setScreenMetrics(display.width, display.height);

    MusicState music;
    if (!showWindow().create(display.width, display.height, PICTURE_ASPECT, display.windowed == 0,
                             showWindowProcedure, INITIAL_TITLE)) {
        // The ERROR is already traced; without a window there is no show to run.
        traceStop();
        return 1;
    }
    music = openSoundtrack(SOUNDTRACK);

    drawBlackFrames(music);
    shutDown(music);
    return 0;
}

}  // namespace zelFramework
