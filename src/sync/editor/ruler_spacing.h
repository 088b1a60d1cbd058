// How densely the editor's ruler is marked: the label step grows with the visible span so that no
// two labels ever touch, and ticks are as fine as the zoom leaves room for.
#pragma once

#include <string>

namespace zelFramework {

struct RulerSpacing {
    double labelStep = 5.0;  // seconds between labels
    double tickStep = 1.0;   // seconds between ticks
};

// For a visible span of `visibleSeconds` and labels `labelWidth` wide (both in the editor's
// normalised x: the whole axis is 1), the finest steps of 0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30 s,
// 1, 2, 5, 10 min whose labels keep a gap of at least their own width between them... and ticks at
// least 0.005 apart.
RulerSpacing chooseRulerSpacing(double visibleSeconds, double labelWidth);

// A ruler label: "1m" at whole minutes, "1:05" at whole seconds, "1:05.5" between them.
std::string rulerLabel(double seconds, double labelStep);

}  // namespace zelFramework
