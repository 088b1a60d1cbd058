// The show as data: its layers, their names, the grading pictures and the schedule, 0 to 195000 ms.
#pragma once

#include <array>
#include <cstdint>

namespace zelFramework {

constexpr uint32_t SHOW_END_MS = 195000;

// The five feature titles are timed in frames of a 24 frames-per-second edit counted from the end of
// the intro (frame 860); each becomes truncate((frame + 860) x 1000 / 24) ms in single precision.
struct SlideSpan {
    uint32_t startMs;
    uint32_t endMs;
};
uint32_t editFrameToMs(int frame);
std::array<SlideSpan, 5> featureTextSpans();

// Constructs, registers and schedules every layer of the show (the runtime owns them from then on).
void composeShow();

}  // namespace zelFramework
