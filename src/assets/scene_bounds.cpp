#include "assets/scene_bounds.h"

#include <algorithm>
#include <cmath>

namespace zelFramework {

SceneBounds boundsOfPositions(const std::vector<float>& positions) {
    SceneBounds bounds;
    const size_t count = positions.size() / 3;
    if (count == 0) return bounds;
    float low[3] = {positions[0], positions[1], positions[2]};
    float high[3] = {low[0], low[1], low[2]};
    for (size_t i = 0; i < count; ++i)
        for (int a = 0; a < 3; ++a) {
            const float v = positions[3 * i + size_t(a)];
            if (!std::isfinite(v)) return bounds;
            low[a] = std::min(low[a], v);
            high[a] = std::max(high[a], v);
        }
    for (int a = 0; a < 3; ++a) bounds.centre[a] = 0.5f * (low[a] + high[a]);
    double farthest2 = 0.0;
    for (size_t i = 0; i < count; ++i) {
        double d2 = 0.0;
        for (int a = 0; a < 3; ++a) {
            const double d = double(positions[3 * i + size_t(a)]) - double(bounds.centre[a]);
            d2 += d * d;
        }
        farthest2 = std::max(farthest2, d2);
    }
    const double radius = std::sqrt(farthest2);
    bounds.radius = float(radius * 1.001 + 1.0e-4 * (1.0 + std::fabs(bounds.centre[0]) + std::fabs(bounds.centre[1]) +
                                                     std::fabs(bounds.centre[2])));
    bounds.known = true;
    return bounds;
}

}  // namespace zelFramework
