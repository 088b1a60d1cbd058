// Shutdown after the frame loop, in the order the shared objects depend on each other: layers first
// (they hold targets and pictures), then the blur toolkit, the editor and the texture manager.
#include "runtime/runtime_shutdown.h"

#include <cstdio>

#include "gl/texture_manager.h"
#include "runtime/show_editor.h"
#include "runtime/show_watcher.h"

namespace zelFramework {

void releaseShow(ShowRuntime& rt, FrameHost& host) {
    // The slot table points into the schedule; no message may reach a deleted layer through it.
    rt.activeSlots.fill(nullptr);
    for (LayerRegistration& registration : rt.registry) {
        char count[32];
        std::snprintf(count, sizeof count, "%d\n", int(rt.registry.size()));
        debugOutput(count);
        if (registration.layer) registration.layer->release();  // a null registration is not checked earlier
        delete registration.layer;
        registration.layer = nullptr;
    }
    rt.registry.clear();
    // The watcher's registries point into the layers' programs and models, all gone now.
    delete rt.watcher;
    rt.watcher = nullptr;
    rt.schedule.clear();
    host.stopSharedTools();
    if (rt.editor) {
        rt.editor->shutdown();
        delete rt.editor;
        rt.editor = nullptr;
    }
    delete rt.textures;
    rt.textures = nullptr;
}

}  // namespace zelFramework
