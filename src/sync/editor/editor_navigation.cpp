// Moving about the time axis: the mouse wheel zooms about the pointer, a middle drag pans, and key
// drags with Shift snap to the compare controller's keys and to the beat grid.
#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {
// Each notch of the wheel shows this much of the span (out: its inverse).
constexpr double ZOOM_PER_NOTCH = 0.8;
constexpr double NOTCH = 120.0;
// The narrowest window: a twentieth of a second, and never fewer than 100 frames.
constexpr double MIN_VISIBLE_SECONDS = 0.05;
constexpr uint32_t MIN_VISIBLE_FRAMES = 100;
// How near (in x) a snap target must be.
constexpr float SNAP_REACH = 0.008f;
}  // namespace

void TimelineEditor::onWheel(uintptr_t wParam) {
    if (mouseY >= TIMELINE_TOP || mouseY < 0.0f) return;
    const int delta = int(int16_t(uint16_t((wParam >> 16) & 0xFFFF)));
    if (delta == 0) return;
    const double total = double(view.totalSamples);
    const double span = double(view.visibleEnd - view.visibleStart);
    const double minimum = std::min(total, std::max(double(MIN_VISIBLE_FRAMES), MIN_VISIBLE_SECONDS * view.sampleRate));
    const double wanted = std::clamp(span * std::pow(ZOOM_PER_NOTCH, double(delta) / NOTCH), minimum, total);
    // The frame under the pointer stays under the pointer.
    const double x = std::clamp(double(mouseX), 0.0, 1.0);
    const double anchor = double(view.visibleStart) + x * span;
    const double start = std::clamp(anchor - x * wanted, 0.0, total - wanted);
    view.visibleStart = uint32_t(std::llround(start));
    view.visibleEnd = uint32_t(std::min<double>(total, std::llround(start + wanted)));
    timeUnderMouse = view.xToTime(mouseX);
    rebuild();
}

void TimelineEditor::pan() {
    const double span = double(panEndVisible - panStartVisible);
    const double total = double(view.totalSamples);
    const double start = std::clamp(double(panStartVisible) + double(panStartX - mouseX) * span, 0.0, total - span);
    view.visibleStart = uint32_t(std::llround(start));
    view.visibleEnd = uint32_t(std::llround(start + span));
    rebuild();
}

void TimelineEditor::onMiddleUp() { panning = false; }

float TimelineEditor::snappedTime(float time) const {
    const float x = view.timeToX(time);
    float best = time, bestDistance = SNAP_REACH;
    bool found = false;
    const auto consider = [&](float candidate) {
        const float d = std::fabs(view.timeToX(candidate) - x);
        if (d <= bestDistance) {
            best = candidate;
            bestDistance = d;
            found = true;
        }
    };
    if (std::optional<float> key = view.compareKeyAt(x)) consider(*key);
    if (grid.active()) consider(grid.nearestBeat(time));
    return found ? best : time;
}

}  // namespace zelFramework
