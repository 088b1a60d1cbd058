// Which two key frames a model shows at an animation position, and how far it is between them.
#pragma once

#include <cstddef>

namespace zelFramework {

struct ObjFrameBlend {
    bool draw = false;    // false for a model without frames
    size_t current = 0;   // frame on the fixed-function arrays
    size_t next = 0;      // frame on the "anim" attributes; equal to current when there is no blend
    float factor = 0;     // 0 to below 1, from current towards next
};

// `animPosition` (0 = first frame, 1 = last) is clamped into 0..1 in place (an undefined value
// becomes 0). With n frames: f = (n - 1) x position, current = trunc(f), factor = f - current,
// next = (current + 1) mod n; at 1.0 the last frame is shown unblended.
ObjFrameBlend objFrameBlend(size_t frameCount, float& animPosition);

}  // namespace zelFramework
