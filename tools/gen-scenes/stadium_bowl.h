// The stadium bowl "Vexil 2000" as numbers: five rings of stands around the vertical axis through
// the origin, stacked like the galleries of a dome so that the bowl closes in towards its roof ring.
// The stands' geometry and the flash table are both made from these rings, so every flash sits on
// a seat row.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry.h"
#include "mesh.h"

namespace zelFramework::scenegen {

struct StandRing {
    float innerRadius;  // front of the first row
    float firstRowY;    // height of the first row's tread
    int rows;
    float rowDepth;     // horizontal depth of one row
    float rowRise;      // height of one step

    float outerRadius() const { return innerRadius + rows * rowDepth; }
    float topY() const { return firstRowY + (rows - 1) * rowRise; }
    float treadY(int row) const { return firstRowY + row * rowRise; }
};

constexpr float kPitchY = -4400;   // pitch level
constexpr float kFasciaDrop = 120; // the balcony front hangs this far below a ring's first row
constexpr int kStandSegments = 144;
constexpr int kAisleEvery = 12;    // every twelfth segment of a ring is a stair aisle
constexpr float kCrowdDepth = 0.95f;  // where in a row (0 front, 1 back) the spectators are drawn

// The rings from the lowest up.
const std::vector<StandRing>& standRings();

// Segment s of a ring spans these angles (degrees, about +y from +z towards +x).
float segmentAngle(int segment);
// True for the segments of the stair aisles, which have steps but no crowd.
bool isAisleSegment(int segment);
// The broadcast deck hangs in front of the second ring at the far end (-z); its seats are hidden.
bool isBehindBroadcastDeck(int ringIndex, float angleDegrees);

// A point at `radius` on the horizontal circle at height y, at the given angle.
Vec3 onRing(float radius, float y, float angleDegrees);

// The flash table: `count` points (the show scales them by 10) on the seat rows. The first entries
// are the fixed points the stadium layer's table starts with; the rest fall on random seats,
// deterministically for a given seed.
std::vector<Vec3> makeFlashTable(size_t count, uint64_t seed);

// The fixed first points of the table (unscaled).
const std::vector<Vec3>& fixedFlashPoints();

}  // namespace zelFramework::scenegen
