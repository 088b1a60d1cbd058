#include "triangulate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelFramework::scenegen {
namespace {

struct Point {
    Vec2 p;
    uint32_t index;  // into the concatenated input
};

float cross2(Vec2 o, Vec2 a, Vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool inside(const Contour& poly, Vec2 q) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        Vec2 a = poly[i], b = poly[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

bool pointInTriangle(Vec2 a, Vec2 b, Vec2 c, Vec2 p) {
    return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

bool same(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

// Joins `hole` (clockwise) into `poly` (counter-clockwise) through a bridge from the hole's rightmost
// point to a point of the outline it can see.
void bridgeHole(std::vector<Point>& poly, const std::vector<Point>& hole) {
    size_t m = 0;
    for (size_t i = 1; i < hole.size(); ++i)
        if (hole[i].p.x > hole[m].p.x || (hole[i].p.x == hole[m].p.x && hole[i].p.y < hole[m].p.y)) m = i;
    Vec2 M = hole[m].p;
    // Nearest crossing of the ray from M towards +x with an edge of the outline.
    float bestX = std::numeric_limits<float>::max();
    size_t edge = SIZE_MAX;
    for (size_t i = 0; i < poly.size(); ++i) {
        Vec2 a = poly[i].p, b = poly[(i + 1) % poly.size()].p;
        if (a.y == b.y) continue;
        if ((M.y < std::min(a.y, b.y)) || (M.y > std::max(a.y, b.y))) continue;
        float x = a.x + (M.y - a.y) * (b.x - a.x) / (b.y - a.y);
        if (x >= M.x && x < bestX) bestX = x, edge = i;
    }
    if (edge == SIZE_MAX) return;  // not inside this outline after all: leave it out
    size_t e0 = edge, e1 = (edge + 1) % poly.size();
    size_t pick = poly[e0].p.x > poly[e1].p.x ? e0 : e1;
    Vec2 I{bestX, M.y}, P = poly[pick].p;
    // A reflex outline point inside the triangle M-I-P would block the view: take the one closest in
    // angle to the ray instead.
    float bestAngle = std::numeric_limits<float>::max();
    for (size_t i = 0; i < poly.size(); ++i) {
        Vec2 q = poly[i].p;
        if (i == pick || same(q, P)) continue;
        Vec2 prev = poly[(i + poly.size() - 1) % poly.size()].p, next = poly[(i + 1) % poly.size()].p;
        bool reflex = cross2(prev, q, next) <= 0;
        if (!reflex || q.x < M.x) continue;
        Vec2 t0 = M, t1 = I, t2 = P;
        if (cross2(t0, t1, t2) < 0) std::swap(t1, t2);
        if (!pointInTriangle(t0, t1, t2, q)) continue;
        float angle = std::fabs(std::atan2(q.y - M.y, q.x - M.x));
        if (angle < bestAngle || (angle == bestAngle && q.x < poly[pick].p.x)) bestAngle = angle, pick = i;
    }
    std::vector<Point> merged;
    merged.reserve(poly.size() + hole.size() + 2);
    for (size_t i = 0; i <= pick; ++i) merged.push_back(poly[i]);
    for (size_t k = 0; k <= hole.size(); ++k) merged.push_back(hole[(m + k) % hole.size()]);
    merged.push_back(poly[pick]);
    for (size_t i = pick + 1; i < poly.size(); ++i) merged.push_back(poly[i]);
    poly = std::move(merged);
}

void clipEars(std::vector<Point> poly, std::vector<uint32_t>& out) {
    size_t guard = 0;
    while (poly.size() > 3 && guard++ < 100000) {
        size_t n = poly.size();
        bool clipped = false;
        for (size_t i = 0; i < n && !clipped; ++i) {
            const Point& a = poly[(i + n - 1) % n];
            const Point& b = poly[i];
            const Point& c = poly[(i + 1) % n];
            float turn = cross2(a.p, b.p, c.p);
            if (turn < 0) continue;
            if (turn == 0) {  // a straight or doubled-back corner adds no area: drop it
                poly.erase(poly.begin() + long(i));
                clipped = true;
                break;
            }
            bool blocked = false;
            for (size_t k = 0; k < n && !blocked; ++k) {
                const Point& q = poly[k];
                if (same(q.p, a.p) || same(q.p, b.p) || same(q.p, c.p)) continue;
                blocked = pointInTriangle(a.p, b.p, c.p, q.p);
            }
            if (blocked) continue;
            out.push_back(a.index);
            out.push_back(b.index);
            out.push_back(c.index);
            poly.erase(poly.begin() + long(i));
            clipped = true;
        }
        if (!clipped) break;  // nothing clippable: a self-crossing remnant, left out
    }
    if (poly.size() == 3 && cross2(poly[0].p, poly[1].p, poly[2].p) > 0)
        for (const Point& p : poly) out.push_back(p.index);
}

}  // namespace

float signedArea(const Contour& c) {
    float a = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        Vec2 p = c[i], q = c[(i + 1) % c.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a * 0.5f;
}

int nestingDepth(const std::vector<Contour>& contours, size_t i) {
    int depth = 0;
    for (size_t j = 0; j < contours.size(); ++j)
        if (j != i && contours[j].size() >= 3 && !contours[i].empty() && inside(contours[j], contours[i][0])) ++depth;
    return depth;
}

std::vector<uint32_t> triangulateOutlines(const std::vector<Contour>& contours) {
    std::vector<std::vector<Point>> rings(contours.size());
    std::vector<int> depth(contours.size());
    uint32_t next = 0;
    for (size_t i = 0; i < contours.size(); ++i) {
        for (Vec2 p : contours[i]) rings[i].push_back({p, next++});
        depth[i] = nestingDepth(contours, i);
        bool hole = depth[i] % 2 == 1;
        bool ccw = signedArea(contours[i]) > 0;
        if (hole == ccw) std::reverse(rings[i].begin(), rings[i].end());
    }
    std::vector<uint32_t> out;
    for (size_t i = 0; i < contours.size(); ++i) {
        if (depth[i] % 2 == 1 || rings[i].size() < 3) continue;
        // The holes directly inside this outline, rightmost first so bridges do not cross.
        std::vector<size_t> holes;
        for (size_t j = 0; j < contours.size(); ++j)
            if (depth[j] == depth[i] + 1 && rings[j].size() >= 3 && inside(contours[i], contours[j][0])) holes.push_back(j);
        auto maxX = [&](size_t j) {
            float x = -std::numeric_limits<float>::max();
            for (Vec2 p : contours[j]) x = std::max(x, p.x);
            return x;
        };
        std::sort(holes.begin(), holes.end(), [&](size_t a, size_t b) { return maxX(a) > maxX(b) || (maxX(a) == maxX(b) && a < b); });
        std::vector<Point> poly = rings[i];
        for (size_t h : holes) bridgeHole(poly, rings[h]);
        clipEars(std::move(poly), out);
    }
    return out;
}

}  // namespace zelFramework::scenegen
