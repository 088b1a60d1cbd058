// The picture's size, fixed once at start-up from the chosen display width and height. The show
// renders a 2.28:1 picture of screenWidth x renderHeight and letterboxes it into the window.
#pragma once

namespace zelFramework {

constexpr float PICTURE_ASPECT = 2.28f;

inline int screenWidth = 1280;
inline int screenHeight = 720;
inline int renderHeight = 561;

// renderHeight is width / 2.28 in single precision, truncated toward zero (1280 gives 561).
constexpr int renderHeightFor(int width) { return int(float(width) / PICTURE_ASPECT); }

inline void setScreenMetrics(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    renderHeight = renderHeightFor(width);
}

}  // namespace zelFramework
