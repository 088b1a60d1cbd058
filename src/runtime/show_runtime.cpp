// The runtime record and its registry and schedule operations.
#include "runtime/show_runtime.h"

#include <cstdio>

#include "platform/platform.h"
#include "runtime/show_editor.h"

namespace zelFramework {

ShowRuntime::ShowRuntime() {
    counterFrequency = int64_t(performanceFrequency());
    counterStart = int64_t(performanceCounter());
    counterNow = counterStart;
}

ShowRuntime& runtime() {
    static ShowRuntime record;
    return record;
}

void registerLayer(Layer_Base* layer, const std::string& name) {
    ShowRuntime& rt = runtime();
    rt.registry.push_back({layer, name, "layer:" + name});
    debugOutput("pushing ");
    debugOutput(name.c_str());
    debugOutput("\n");
    char count[32];
    std::snprintf(count, sizeof count, "%d\n", int(rt.registry.size()));
    debugOutput(count);
}

Layer_Base* findLayer(const std::string& name) {
    for (const LayerRegistration& registration : runtime().registry)
        if (registration.name == name) return registration.layer;
    return nullptr;
}

bool scheduleLayer(const std::string& name, uint32_t slot, uint32_t startMs, uint32_t endMs) {
    ShowRuntime& rt = runtime();
    // Once loading has completed the loop may already hold pointers into the schedule.
    if (rt.state != RuntimeState::NotReady) return false;
    // The frame has a fixed table of slots, and an entry ending before it starts could never draw
    // but would still stretch the show's span.
    if (slot >= SLOT_COUNT || endMs < startMs) return false;
    Layer_Base* layer = findLayer(name);
    if (!layer) return false;
    if (startMs < rt.minStartMs) rt.minStartMs = startMs;
    if (endMs > rt.maxEndMs) rt.maxEndMs = endMs;
    rt.schedule.push_back({layer, slot, startMs, endMs});
    return true;
}

void broadcastMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    ShowRuntime& rt = runtime();
    if (rt.editor) rt.editor->handleMessage(message, wParam, lParam);
    for (ScheduleEntry* entry : rt.activeSlots)
        if (entry && entry->layer) entry->layer->onWindowMessage(message, wParam, lParam);
}

}  // namespace zelFramework
