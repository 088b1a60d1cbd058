#include "sync/beat_grid.h"

#include <cmath>

#include "sync/controller_set.h"

namespace zelFramework {

float BeatGrid::nearestBeat(float seconds) const {
    if (!active()) return seconds;
    const double beat = 60.0 / double(bpm);
    return float(double(origin) + std::round((double(seconds) - double(origin)) / beat) * beat);
}

std::optional<BeatGrid> storedBeatGrid(const ControllerSet& set) {
    for (uint32_t i = 0; i < set.count(); ++i) {
        const Controller* c = set.at(i);
        if (c->name != BEAT_GRID_CONTROLLER || c->keys.empty()) continue;
        const float bpm = c->keys[0].value;
        if (!(bpm >= MIN_BPM && bpm <= MAX_BPM) || !std::isfinite(c->keys[0].time)) return std::nullopt;
        return BeatGrid{bpm, c->keys[0].time};
    }
    return std::nullopt;
}

}  // namespace zelFramework
