// Every layer's init in registration order behind a picture that brightens with each loaded layer.
#include "runtime/loading_sequence.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "app/trace.h"
#include "gl/texture_manager.h"
#include "platform/platform.h"
#include "runtime/process_usage.h"

namespace zelFramework {

namespace {

// Fades from `brightness` up to `target`, one loading frame and pause per step.
void fadeTo(LoadingHost& host, GL_Texture* image, float brightness, float target) {
    if (!(target >= brightness)) return;
    const float step = (target - brightness) / float(LOADING_FADE_STEPS);
    if (!(step > 0.0f)) {
        // Layers registered during loading can make two targets equal; a zero step would never end.
        host.drawLoadingFrame(image, brightness);
        host.fadePause();
        return;
    }
    do {
        host.drawLoadingFrame(image, brightness);
        // The pause is idle time on this thread: pictures decoded meanwhile go up in it.
        GL_TextureManager::uploadDecodedPictures();
        host.fadePause();
        brightness += step;
    } while (target >= brightness);
}

bool initLayer(ShowRuntime& rt, const LayerRegistration& registration) {
    if (!registration.layer) {
        trace(TRACE_ERROR, "loader", "layer \"%s\" was registered without an object", registration.name.c_str());
        return false;
    }
    return registration.layer->init(rt.textures, rt.controllers);
}

}  // namespace

void loadShowOn(LoadingHost& host) {
    ShowRuntime& rt = runtime();
    char line[48];
    std::snprintf(line, sizeof line, "at load time: %d\n", int(rt.registry.size()));
    debugOutput(line);

    rt.loadingScreen.image = host.loadingImage();
    // Pictures the layers ask for are decoded on every core while the layers go on loading; each
    // is uploaded after the layer that asked for it, and all of them before the show starts.
    // Decoded pictures are large, short-lived buffers, and the driver's copies of the textures are as
    // large. Served from the heap (up to glibc's largest threshold, 32 MB), the memory of a picture
    // freed after its upload is reused by the next picture and texture, where fresh mappings would
    // fault in every page again: that saved about a sixth of the loading CPU, for a peak a few MB
    // higher at most, since each picture is freed right after its upload and the heaps are trimmed
    // once loading is done.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    GL_TextureManager::startBackgroundLoading(int(std::max(2u, std::thread::hardware_concurrency())));
    bool ok = true;
    host.moveCursorHome();
    float brightness = 0.0f;
    // The count is re-read every time: a layer's init may register further layers.
    for (size_t i = 1; i <= rt.registry.size() && ok; ++i) {
        const float target = float(i) / float(rt.registry.size());
        fadeTo(host, rt.loadingScreen.image, brightness, target);
        brightness = target;
        // An ERROR ends the show at its first frame anyway; loading on would only bury its message
        // under the failures that follow from it (a missing render target, then its every user).
        const uint32_t errorsBefore = traceErrorCount();
        ok = initLayer(rt, rt.registry[i - 1]) && traceErrorCount() == errorsBefore && ok;
        GL_TextureManager::uploadDecodedPictures();
    }
    GL_TextureManager::finishBackgroundLoading();
    // Loading leaves freed memory in the heaps of the main thread and the workers; the show would
    // hold it for its whole length.
    malloc_trim(0);

    if (!rt.loadingScreen.midiFile.empty()) host.readMidiTriggers(rt.loadingScreen.midiFile, rt.triggers);
    if (ok) rt.state = RuntimeState::Ready;
    const ProcessUsage usage = processUsage();
    trace(TRACE_INFO, "loader", "loaded %.2f s after start (CPU %.2f s), peak memory %.0f MB",
          usage.secondsSinceStart, usage.cpuSeconds, usage.peakResidentMB);
}

}  // namespace zelFramework
