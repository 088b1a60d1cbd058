#include "ring_band.h"

#include <cmath>

namespace zelFramework::scenegen {

void addBandSegment(Mesh& mesh, Vec2 a, Vec2 b, float angle0, float angle1, UvRect uv) {
    float dr = b.x - a.x, dy = b.y - a.y;
    float l = std::sqrt(dr * dr + dy * dy);
    if (l < 1e-6f) return;
    Vec2 n{dy / l, -dr / l};  // (radial, vertical) components of the face normal
    auto at = [](float radius, float y, float deg) {
        return Vec3{radius * std::sin(radians(deg)), y, radius * std::cos(radians(deg))};
    };
    auto normalAt = [&](float deg) { return normalize({n.x * std::sin(radians(deg)), n.y, n.x * std::cos(radians(deg))}); };
    // The picture stands upright: its bottom row (v = hi) goes to the lower profile point.
    float va = a.y <= b.y ? uv.hi.y : uv.lo.y, vb = a.y <= b.y ? uv.lo.y : uv.hi.y;
    // Seen from the axis, growing angles run to the left: faces towards the axis swap u so that
    // writing on them reads left to right.
    float u0 = n.x < 0 ? uv.hi.x : uv.lo.x, u1 = n.x < 0 ? uv.lo.x : uv.hi.x;
    uint32_t k = mesh.addVertex(at(a.x, a.y, angle0), normalAt(angle0), {u0, va});
    mesh.addVertex(at(a.x, a.y, angle1), normalAt(angle1), {u1, va});
    mesh.addVertex(at(b.x, b.y, angle1), normalAt(angle1), {u1, vb});
    mesh.addVertex(at(b.x, b.y, angle0), normalAt(angle0), {u0, vb});
    // Counter-clockwise seen from the side the normal points to.
    Vec3 e1 = mesh.positions[k + 1] - mesh.positions[k], e2 = mesh.positions[k + 3] - mesh.positions[k];
    Vec3 faceN = cross(e1, e2);
    Vec3 mid = normalAt((angle0 + angle1) * 0.5f);
    if (dot(faceN, mid) >= 0) {
        mesh.addTriangle(k, k + 1, k + 2);
        mesh.addTriangle(k, k + 2, k + 3);
    } else {
        mesh.addTriangle(k, k + 2, k + 1);
        mesh.addTriangle(k, k + 3, k + 2);
    }
}

void addBand(Mesh& mesh, Vec2 a, Vec2 b, int segments, UvRect uv) {
    for (int s = 0; s < segments; ++s)
        addBandSegment(mesh, a, b, 360.0f * s / segments, 360.0f * (s + 1) / segments, uv);
}

}  // namespace zelFramework::scenegen
