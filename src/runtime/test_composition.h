// A small composition of simple layers that draw something visible: used by the program until the
// show's own composition is installed, and by the runtime's tests.
#pragma once

namespace zelFramework {

// Registers and schedules the test layers: a colour gradient for the whole 10 s, a turning square
// above it, and a white flash between 4 and 4.5 s.
void composeTestShow();

constexpr unsigned TEST_SHOW_END_MS = 10000;

}  // namespace zelFramework
