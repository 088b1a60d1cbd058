// Every layer's init in registration order behind a picture that brightens with each loaded layer.
#include "runtime/loading_sequence.h"

#include <cstdio>

#include "app/trace.h"
#include "platform/platform.h"

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
    }

    if (!rt.loadingScreen.midiFile.empty()) host.readMidiTriggers(rt.loadingScreen.midiFile, rt.triggers);
    if (ok) rt.state = RuntimeState::Ready;
}

}  // namespace zelFramework
