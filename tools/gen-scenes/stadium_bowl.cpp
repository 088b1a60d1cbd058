#include "stadium_bowl.h"

#include <cmath>

#include "noise.h"

namespace zelFramework::scenegen {

const std::vector<StandRing>& standRings() {
    // The top ring's rows follow the cone y = -2045.92 + 0.88555 r (a 41.5 degree rake); its first row
    // is placed so that the fixed flash points of the table sit in its second to fourth rows, a little
    // above the treads where the spectators' heads are.
    static const std::vector<StandRing> rings = {
        {1000, -4370, 22, 30, 21},
        {1580, -3290, 16, 30, 24},
        {1380, -2600, 16, 30, 25},
        {1120, -1900, 14, 30, 26},
        {860, -1289, 12, 30, 30 * 0.88555f},
    };
    return rings;
}

float segmentAngle(int segment) { return 360.0f * float(segment) / kStandSegments; }

bool isAisleSegment(int segment) { return segment % kAisleEvery == 0; }

bool isBehindBroadcastDeck(int ringIndex, float angleDegrees) {
    return ringIndex == 1 && std::fabs(angleDegrees - 180.0f) < 8.0f;
}

Vec3 onRing(float radius, float y, float angleDegrees) {
    float a = radians(angleDegrees);
    return {radius * std::sin(a), y, radius * std::cos(a)};
}

const std::vector<Vec3>& fixedFlashPoints() {
    static const std::vector<Vec3> points = {
        {65.851f, -119.882f, -68.593f},
        {61.217f, -121.563f, -71.770f},
        {63.221f, -122.718f, -66.572f},
        {60.155f, -123.274f, -70.236f},
    };
    return points;
}

std::vector<Vec3> makeFlashTable(size_t count, uint64_t seed) {
    std::vector<Vec3> table;
    for (const Vec3& p : fixedFlashPoints()) {
        if (table.size() < count) table.push_back(p);
    }
    const auto& rings = standRings();
    // Rings are chosen in proportion to their number of seats (rows times circumference).
    std::vector<float> weight;
    float total = 0;
    for (const StandRing& r : rings) {
        float w = r.rows * (r.innerRadius + r.outerRadius()) * 0.5f;
        weight.push_back(w);
        total += w;
    }
    content::Rng rng(seed);
    while (table.size() < count) {
        float pick = rng.uniform() * total;
        size_t ri = 0;
        while (ri + 1 < rings.size() && pick > weight[ri]) pick -= weight[ri++];
        const StandRing& ring = rings[ri];
        float angle = rng.uniform() * 360.0f;
        int segment = int(angle / 360.0f * kStandSegments) % kStandSegments;
        if (isAisleSegment(segment) || isBehindBroadcastDeck(int(ri), angle)) continue;
        int row = rng.below(ring.rows);
        float radius = ring.innerRadius + (row + rng.range(0.2f, 0.8f)) * ring.rowDepth;
        float y = ring.treadY(row) + rng.range(10.0f, 40.0f);
        Vec3 p = onRing(radius, y, angle) * 0.1f;
        table.push_back(p);
    }
    return table;
}

}  // namespace zelFramework::scenegen
