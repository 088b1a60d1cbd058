#include "sync/editor/ruler_spacing.h"

#include <cmath>
#include <cstdio>

namespace zelFramework {

namespace {
constexpr double STEPS[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 3600};
constexpr double MIN_TICK_GAP = 0.005;
}  // namespace

RulerSpacing chooseRulerSpacing(double visibleSeconds, double labelWidth) {
    RulerSpacing spacing;
    if (!(visibleSeconds > 0.0)) return spacing;
    spacing.labelStep = STEPS[std::size(STEPS) - 1];
    for (double step : STEPS)
        if (step / visibleSeconds >= 2.0 * labelWidth) {
            spacing.labelStep = step;
            break;
        }
    spacing.tickStep = spacing.labelStep;
    for (double step : STEPS) {
        if (step >= spacing.labelStep) break;
        // Ticks must divide the label step, so every label sits on a tick.
        const double ratio = spacing.labelStep / step;
        if (step / visibleSeconds >= MIN_TICK_GAP && std::fabs(ratio - std::round(ratio)) < 1e-6) {
            spacing.tickStep = step;
            break;
        }
    }
    return spacing;
}

std::string rulerLabel(double seconds, double labelStep) {
    const long tenths = std::lround(seconds * 10.0);
    const long whole = tenths / 10, minutes = whole / 60, rest = whole % 60;
    char text[32];
    if (labelStep < 1.0)
        std::snprintf(text, sizeof text, "%ld:%02ld.%ld", minutes, rest, tenths % 10);
    else if (rest == 0)
        std::snprintf(text, sizeof text, "%ldm", minutes);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", minutes, rest);
    return text;
}

}  // namespace zelFramework
