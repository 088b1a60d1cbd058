// Flat faces of outlines with holes (letters) and their extrusion into solid letters.
#include <algorithm>
#include <cmath>
#include <limits>

#include "mesh.h"
#include "triangulate.h"

namespace zelFramework::scenegen {
namespace {

struct TessState {
    std::vector<Vec2> vertices;      // every contour's points, contour after contour
    std::vector<uint32_t> triangles;
};

TessState tessellate(const std::vector<Contour>& contours) {
    TessState st;
    for (const Contour& c : contours) st.vertices.insert(st.vertices.end(), c.begin(), c.end());
    st.triangles = triangulateOutlines(contours);
    return st;
}

struct Bounds {
    Vec2 lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vec2 hi{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
};

Bounds boundsOf(const std::vector<Contour>& contours) {
    Bounds b;
    for (const Contour& c : contours)
        for (Vec2 p : c) {
            b.lo.x = std::min(b.lo.x, p.x), b.lo.y = std::min(b.lo.y, p.y);
            b.hi.x = std::max(b.hi.x, p.x), b.hi.y = std::max(b.hi.y, p.y);
        }
    return b;
}

void addCap(Mesh& m, const TessState& st, const Bounds& b, float z, bool front) {
    uint32_t base = uint32_t(m.positions.size());
    float w = std::max(b.hi.x - b.lo.x, 1e-6f), h = std::max(b.hi.y - b.lo.y, 1e-6f);
    for (Vec2 p : st.vertices)
        m.addVertex({p.x, p.y, z}, {0, 0, front ? 1.0f : -1.0f}, {(p.x - b.lo.x) / w, (b.hi.y - p.y) / h});
    for (size_t i = 0; i + 2 < st.triangles.size(); i += 3) {
        if (front)
            m.addTriangle(base + st.triangles[i], base + st.triangles[i + 1], base + st.triangles[i + 2]);
        else
            m.addTriangle(base + st.triangles[i], base + st.triangles[i + 2], base + st.triangles[i + 1]);
    }
}

}  // namespace

// The side walls need their normals pointing away from the filled area: with the fill on the left
// of a contour's direction the outside is on its right. Which side is filled follows from the
// contour's winding and whether it is an outline or a hole.
static bool isFilledOnLeft(const std::vector<Contour>& all, size_t i) {
    bool ccw = signedArea(all[i]) > 0;
    bool outer = nestingDepth(all, i) % 2 == 0;
    return ccw == outer;
}

Mesh makeFlatShape(const std::vector<Contour>& contours) {
    Mesh m;
    TessState st = tessellate(contours);
    addCap(m, st, boundsOf(contours), 0, true);
    return m;
}

Mesh makeExtrusion(const std::vector<Contour>& contours, float depth) {
    Mesh m;
    TessState st = tessellate(contours);
    Bounds b = boundsOf(contours);
    float zf = depth * 0.5f, zb = -depth * 0.5f;
    addCap(m, st, b, zf, true);
    addCap(m, st, b, zb, false);
    for (size_t ci = 0; ci < contours.size(); ++ci) {
        const Contour& c = contours[ci];
        if (c.size() < 3) continue;
        bool leftFilled = isFilledOnLeft(contours, ci);
        size_t n = c.size();
        // Smooth normals across gentle bends, hard edges at corners sharper than about 35 degrees.
        std::vector<Vec3> edgeNormal(n);
        for (size_t i = 0; i < n; ++i) {
            Vec2 p = c[i], q = c[(i + 1) % n];
            Vec3 e = normalize({q.x - p.x, q.y - p.y, 0});
            Vec3 out{e.y, -e.x, 0};  // right of the edge direction
            edgeNormal[i] = leftFilled ? out : -out;
        }
        for (size_t i = 0; i < n; ++i) {
            size_t prev = (i + n - 1) % n, next = (i + 1) % n;
            Vec3 en = edgeNormal[i];
            Vec3 n0 = dot(edgeNormal[prev], en) > 0.82f ? normalize(edgeNormal[prev] + en) : en;
            Vec3 n1 = dot(edgeNormal[next], en) > 0.82f ? normalize(edgeNormal[next] + en) : en;
            Vec2 p = c[i], q = c[next];
            uint32_t k = m.addVertex({p.x, p.y, zf}, n0, {0, 0});
            m.addVertex({q.x, q.y, zf}, n1, {1, 0});
            m.addVertex({q.x, q.y, zb}, n1, {1, 1});
            m.addVertex({p.x, p.y, zb}, n0, {0, 1});
            if (leftFilled) {
                // Walking the edge with the fill on the left, the outside is on the right.
                m.addTriangle(k, k + 3, k + 2);
                m.addTriangle(k, k + 2, k + 1);
            } else {
                m.addTriangle(k, k + 1, k + 2);
                m.addTriangle(k, k + 2, k + 3);
            }
        }
    }
    return m;
}

}  // namespace zelFramework::scenegen
