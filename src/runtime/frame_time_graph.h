// The F10 diagnostic: the last 250 frame times as a graph over the left quarter of the window.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/show_runtime.h"

namespace zelFramework {

// Samples before `count` are the newest lap (red), the rest the previous lap (olive).
void drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t count);

}  // namespace zelFramework
