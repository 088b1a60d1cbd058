#include "renderengine/light_reach.h"

#include <cmath>

namespace RenderEngine {

ViewPlanes viewPlanesOf(const float modelview[16], const float projection[16]) {
    // clip = projection x modelview, column-major: element (row r, column c) at [c * 4 + r].
    float clip[16];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + r] * modelview[c * 4 + k];
            clip[c * 4 + r] = sum;
        }
    auto row = [&](int r, int c) { return clip[c * 4 + r]; };
    ViewPlanes planes{};
    // A point is inside where -w <= x, y, z <= w: each plane is row 3 plus or minus row 0, 1 or 2.
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            const float sign = side == 0 ? 1.0f : -1.0f;
            std::array<float, 4>& p = planes[size_t(axis * 2 + side)];
            for (int c = 0; c < 4; ++c)
                p[size_t(c)] = row(3, c) + sign * row(axis, c);
            const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            if (length > 0.0f)
                for (float& v : p)
                    v /= length;
        }
    return planes;
}

bool sphereReachesView(const ViewPlanes& planes, const float centre[3], float radius) {
    for (const auto& p : planes) {
        const float distance = p[0] * centre[0] + p[1] * centre[1] + p[2] * centre[2] + p[3];
        // A degenerate plane (all zero) keeps everything: it cannot tell inside from outside.
        if (p[0] == 0.0f && p[1] == 0.0f && p[2] == 0.0f)
            continue;
        if (distance < -radius)
            return false;
    }
    return true;
}

}  // namespace RenderEngine
