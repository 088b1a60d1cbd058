// The frame loop: the show clock, the message drain, the slot selection and the layer calls.
#include <cstdio>
#include <vector>

#include "gl/pass_timer.h"
#include "runtime/frame_host.h"
#include "runtime/runtime_shutdown.h"
#include "runtime/show_editor.h"
#include "runtime/show_watcher.h"
#include "sync/controller_set.h"

namespace zelFramework {

uint32_t truncateMs(float milliseconds) {
    if (!(milliseconds > 0.0f)) return 0;  // also NaN
    if (milliseconds >= 4294967296.0f) return 0xFFFFFFFFu;
    return uint32_t(milliseconds);
}

uint32_t showMsAt(double seconds) {
    const double milliseconds = seconds * 1000.0 + 1e-6;
    if (!(milliseconds > 0.0)) return 0;  // also NaN
    if (milliseconds >= 4294967295.0) return 0xFFFFFFFFu;
    return uint32_t(milliseconds);
}

uint32_t frameShowMs(const ShowRuntime& rt) { return showMsAt(rt.startOffset + rt.playTime); }

uint32_t spanEndMs(const ShowRuntime& rt) { return rt.span.toMs < rt.maxEndMs ? rt.span.toMs : rt.maxEndMs; }

void setPlaybackLoop(PlaybackSpan& span, double from, double to) {
    span.loop = to > from && from >= 0.0;
    span.loopFromMs = span.loop ? showMsAt(from) : 0;
    span.loopToMs = span.loop ? showMsAt(to) : 0;
}

namespace {

double elapsedSeconds(ShowRuntime& rt, FrameHost& host) {
    rt.counterNow = host.counter();
    return double(rt.counterNow - rt.counterStart) / double(rt.counterFrequency);
}

uint32_t nowMs(const ShowRuntime& rt) { return frameShowMs(rt); }

uint32_t prevMs(const ShowRuntime& rt) { return showMsAt(rt.startOffset + rt.playCount.frameStart); }

// The stream position that matches the clock's start: the music begins with the schedule, so a later
// start skips the same distance into the music.
uint32_t musicStartMs(const ShowRuntime& rt) {
    if (!rt.span.hasFrom) return 0;
    uint32_t from = showMsAt(rt.span.fromSeconds);
    return from > rt.minStartMs ? from - rt.minStartMs : 0;
}

void startClock(ShowRuntime& rt, FrameHost& host) {
    rt.frameDelta = 0.0f;
    rt.lastElapsed = 0.0;
    rt.playTime = 0.0;
    rt.playCount = {};
    rt.startOffset = rt.span.hasFrom ? rt.span.fromSeconds : double(rt.minStartMs) / 1000.0;
    rt.counterFrequency = host.counterFrequency();
    rt.counterStart = host.counter();
    rt.counterNow = rt.counterStart;
}

// The music starts with the first frame, so loading and set-up time never shows as drift.
void startFirstFrame(ShowRuntime& rt, FrameHost& host) {
    if (host.hasStream()) {
        if (host.musicPaused())
            host.resumeMusic();
        else
            host.playMusic();
    }
    const double elapsed = elapsedSeconds(rt, host);
    rt.frameDelta = float(elapsed - rt.lastElapsed);
    rt.lastElapsed = elapsed;
    rt.playTime = 0.0;
    if (host.hasStream()) host.seekMusic(musicStartMs(rt));
}

void advanceClock(ShowRuntime& rt, FrameHost& host) {
    const int64_t previous = rt.counterNow;
    const double elapsed = elapsedSeconds(rt, host);
    rt.frameDelta = float(elapsed - rt.lastElapsed);
    rt.lastElapsed = elapsed;
    ShowRuntime::PlayCount& count = rt.playCount;
    if (rt.state != RuntimeState::Playing) {
        count.counting = false;
        count.frameStart = rt.playTime;
        return;
    }
    // A pause, a seek or a loop since the previous frame: the count starts again from there.
    if (!count.counting || rt.playTime != count.lastTime) count = {true, previous, rt.playTime, rt.playTime, rt.playTime};
    const double frequency = double(rt.counterFrequency);
    count.frameStart = count.fromTime + double(previous - count.fromCounter) / frequency;
    rt.playTime = count.fromTime + double(rt.counterNow - count.fromCounter) / frequency;
    count.lastTime = rt.playTime;
}

// Past the loop's end the clock and the music go back to its start, so the span plays again.
void loopBack(ShowRuntime& rt, FrameHost& host) {
    if (!rt.span.loop || rt.span.loopToMs <= rt.span.loopFromMs || nowMs(rt) <= rt.span.loopToMs) return;
    rt.playTime = double(rt.span.loopFromMs) / 1000.0 - rt.startOffset;
    rt.playCount.frameStart = rt.playTime - rt.frameDelta;  // a trigger at the loop's start sounds again
    if (host.hasStream())
        host.seekMusic(rt.span.loopFromMs > rt.minStartMs ? rt.span.loopFromMs - rt.minStartMs : 0);
}

void showLatency(FrameHost& host, uint32_t now) {
    char title[96];
    std::snprintf(title, sizeof title, "latency: %f\n", double(now) / 1000.0 - double(host.musicTimeMs()) / 1000.0);
    host.setTitle(title);
}

// Fills the slot table from the schedule; a later entry of a slot replaces an earlier one.
bool selectActiveEntries(ShowRuntime& rt, uint32_t now) {
    rt.activeSlots.fill(nullptr);
    bool any = false;
    for (ScheduleEntry& entry : rt.schedule) {
        if (entry.startMs <= now && now <= entry.endMs) {
            rt.activeSlots[entry.slot] = &entry;
            any = true;
        }
    }
    return any;
}

void collectTriggers(const ShowRuntime& rt, uint32_t prev, uint32_t now, std::vector<MidiTrigger>& out) {
    out.clear();
    for (const MidiTrigger& trigger : rt.triggers)
        if (prev < trigger.timeMs && trigger.timeMs <= now) out.push_back(trigger);
}

LayerTime layerTimeFor(const ShowRuntime& rt, const ScheduleEntry& entry, uint32_t now, const float* spectrum) {
    uint32_t deltaMs = truncateMs(rt.frameDelta * 1000.0f);
    LayerTime t;
    t.time = float(rt.startOffset + rt.playTime);
    t.delta = rt.frameDelta;
    t.duration = float(entry.endMs - entry.startMs) / 1000.0f;
    t.remaining = float(entry.endMs) / 1000.0f - t.time;
    t.start = float(entry.startMs) / 1000.0f;
    t.firstFrame = entry.startMs >= now - deltaMs;  // unsigned, as the clock counts
    t.lastFrame = entry.endMs <= now + deltaMs;
    t.spectrum = spectrum;
    return t;
}

// The slot of the last active layer that replaces the shared picture, or the slot count when none does:
// the picture-replacing layers in the slots before it would only draw what it clears.
size_t lastPictureReplacer(const ShowRuntime& rt) {
    for (size_t slot = rt.activeSlots.size(); slot-- > 0;) {
        const ScheduleEntry* entry = rt.activeSlots[slot];
        if (entry && entry->layer->replacesPicture()) return slot;
    }
    return rt.activeSlots.size();
}

// The pass a layer's drawing is timed as, found only while passes are timed.
const char* layerPassName(const ShowRuntime& rt, const Layer_Base* layer) {
    if (!passTimingEnabled()) return "";
    for (const LayerRegistration& r : rt.registry)
        if (r.layer == layer) return r.passName.c_str();
    return "layer:?";
}

void drawLayers(ShowRuntime& rt, FrameHost& host, uint32_t now, const std::vector<MidiTrigger>& frameTriggers,
                const float* spectrum) {
    const bool paused = rt.state == RuntimeState::Paused;
    const size_t replacer = lastPictureReplacer(rt);
    for (size_t slot = 0; slot < rt.activeSlots.size(); ++slot) {
        ScheduleEntry* entry = rt.activeSlots[slot];
        if (!entry) continue;
        Layer_Base* layer = entry->layer;
        if (!paused) {
            layer->setTime(layerTimeFor(rt, *entry, now, spectrum));
            for (const MidiTrigger& trigger : frameTriggers) layer->onMidiTrigger(trigger, trigger.noteOn);
        }
        if (slot < replacer && layer->replacesPicture()) continue;
        host.beginLayer();
        {
            // Each layer's drawing is one pass, its own passes nested in it: what a layer costs
            // besides them (its pictures, its copies) shows as well.
            PassTimer timer(layerPassName(rt, layer));
            layer->render();
        }
        host.endLayer();
    }
}

void drawFrameTimes(ShowRuntime& rt, FrameHost& host) {
    rt.frameTimes[rt.frameTimeCount] = rt.frameDelta;
    if (++rt.frameTimeCount >= FRAME_TIME_SAMPLES) rt.frameTimeCount = 0;
    host.drawFrameTimeGraph(rt.frameTimes, rt.frameTimeCount);
    rt.fpsTime += rt.frameDelta;
    rt.fpsFrames += 1;
    if (rt.fpsTime >= 0.5f) {
        rt.fps = rt.fpsFrames * 2;
        rt.fpsTime = 0.0f;
        rt.fpsFrames = 0;
    }
    char title[32];
    std::snprintf(title, sizeof title, "FPS:  %d", rt.fps);
    host.setTitle(title);
}

// One frame at the current clock: the scheduled layers, or an empty black frame.
void drawFrame(ShowRuntime& rt, FrameHost& host, std::vector<MidiTrigger>& frameTriggers) {
    const uint32_t now = nowMs(rt);
    const uint32_t prev = prevMs(rt);
    if (rt.state != RuntimeState::Paused && rt.controllers) {
        if (host.keyHeld(VK_RETURN)) showLatency(host, now);
        rt.controllers->update(float(now) / 1000.0f);
    }
    if (!selectActiveEntries(rt, now)) {
        host.clearFrame();
        host.present();
        host.idle();
        return;
    }
    const float* spectrum = host.spectrum();
    host.clearFrame();
    collectTriggers(rt, prev, now, frameTriggers);
    drawLayers(rt, host, now, frameTriggers, spectrum);
    if (host.keyHeld(VK_F10)) drawFrameTimes(rt, host);
    if (rt.editor) rt.editor->draw();
    if (rt.watcher) rt.watcher->draw();
    host.present();
    frameTriggers.clear();
}

}  // namespace

void runShowOn(FrameHost& host, WindowHandle window) {
    ShowRuntime& rt = runtime();
    if (rt.state != RuntimeState::Ready) return;

    rt.state = RuntimeState::Playing;
    rt.window = window;
    host.startSharedTools();
    if (host.hasStream()) host.seekMusic(musicStartMs(rt));
    startClock(rt, host);
    if (host.hasStream()) host.seekMusic(musicStartMs(rt));
    if (rt.editor) {
        host.showCursor();
        rt.editor->activate();
    }

    bool started = false;
    std::vector<MidiTrigger> frameTriggers;
    while (rt.state != RuntimeState::Quit) {
        if (nowMs(rt) > spanEndMs(rt)) break;
        Message msg;
        if (host.takeMessage(msg)) {
            if (msg.message == WM_QUIT) {
                if (host.hasStream()) host.stopMusic();
                rt.state = RuntimeState::Quit;
                break;
            }
            host.dispatch(msg);
            continue;
        }
        if (rt.state == RuntimeState::Playing && !started) {
            startFirstFrame(rt, host);
            started = true;
        }
        advanceClock(rt, host);
        loopBack(rt, host);
        // A span the viewer cut short ends before its first frame past the cut; the schedule's own end
        // is tested above, so its last frame is followed by one empty black frame.
        if (nowMs(rt) > rt.span.toMs) break;
        if (rt.state != RuntimeState::Playing && rt.state != RuntimeState::Paused) continue;
        if (rt.watcher) rt.watcher->poll();
        drawFrame(rt, host, frameTriggers);
    }

    releaseShow(rt, host);
}

}  // namespace zelFramework
