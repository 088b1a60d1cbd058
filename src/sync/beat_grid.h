// The beat grid of the timeline editor: a tempo (beats per minute) and the time of one beat, from the
// command line (--bpm) or stored with the sync data as the controller "Editor: BPM", whose first
// key's value is the tempo and whose time is a beat. Keys dragged with Shift snap to its beats.
#pragma once

#include <optional>

namespace zelFramework {

class ControllerSet;

// The controller that stores the tempo with the curves (both in the binary and in the text).
inline constexpr const char* BEAT_GRID_CONTROLLER = "Editor: BPM";
constexpr float MIN_BPM = 1.0f, MAX_BPM = 1000.0f;

struct BeatGrid {
    float bpm = 0.0f;     // 0: no grid
    float origin = 0.0f;  // a time on the grid, in seconds

    bool active() const { return bpm > 0.0f; }
    float beatLength() const { return 60.0f / bpm; }
    // The beat nearest to `seconds` (the time itself without a grid).
    float nearestBeat(float seconds) const;
};

// The tempo stored with the curves: the first key of "Editor: BPM" (without creating it), when its
// value is a tempo from 1 to 1000.
std::optional<BeatGrid> storedBeatGrid(const ControllerSet& set);

}  // namespace zelFramework
