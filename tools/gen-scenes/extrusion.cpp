// Flat faces of arbitrary outlines (letters with holes) are tessellated with the GLU tessellator,
// which handles holes, self-touching contours and any winding under the odd rule.
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

#include "mesh.h"

namespace zelFramework::scenegen {
namespace {

#ifndef CALLBACK
#define CALLBACK
#endif

struct TessState {
    std::vector<Vec2> vertices;     // every vertex handed to GLU, plus the ones it combines
    std::deque<GLdouble> coords;    // stable storage of the coordinates GLU keeps pointers to
    std::vector<uint32_t> triangles;
};

void CALLBACK onVertex(void* data, void* polygon) {
    auto* st = static_cast<TessState*>(polygon);
    st->triangles.push_back(uint32_t(reinterpret_cast<uintptr_t>(data)) - 1);
}

void CALLBACK onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* polygon) {
    auto* st = static_cast<TessState*>(polygon);
    st->vertices.push_back({float(coords[0]), float(coords[1])});
    *out = reinterpret_cast<void*>(uintptr_t(st->vertices.size()));
}

// An edge-flag callback makes GLU emit plain triangles only (no fans or strips).
void CALLBACK onEdgeFlag(GLboolean, void*) {}
void CALLBACK onBegin(GLenum, void*) {}
void CALLBACK onEnd(void*) {}

// Triangles of the outlines (indices into `vertices`), wound counter-clockwise seen from +z.
TessState tessellate(const std::vector<Contour>& contours) {
    TessState st;
    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<void(CALLBACK*)()>(onVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<void(CALLBACK*)()>(onCombine));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<void(CALLBACK*)()>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<void(CALLBACK*)()>(onBegin));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<void(CALLBACK*)()>(onEnd));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessNormal(tess, 0, 0, 1);
    gluTessBeginPolygon(tess, &st);
    for (const Contour& c : contours) {
        if (c.size() < 3) continue;
        gluTessBeginContour(tess);
        for (Vec2 p : c) {
            st.vertices.push_back(p);
            st.coords.push_back(p.x);
            st.coords.push_back(p.y);
            st.coords.push_back(0);
            GLdouble* xyz = &st.coords[st.coords.size() - 3];
            // Vertex data is the index + 1, so that no vertex is handed over as a null pointer.
            gluTessVertex(tess, xyz, reinterpret_cast<void*>(uintptr_t(st.vertices.size())));
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    st.triangles.resize(st.triangles.size() / 3 * 3);
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

// Signed area: positive for counter-clockwise outlines.
float signedArea(const Contour& c) {
    float a = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        Vec2 p = c[i], q = c[(i + 1) % c.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a * 0.5f;
}

}  // namespace

// Whether each contour is a hole follows from nesting under the odd rule; the side walls just need
// their normals pointing away from the filled area, which the contour's winding relative to its
// nesting depth decides.
static bool isFilledOnLeft(const Contour& c, const std::vector<Contour>& all) {
    // Count how many other contours contain a point of this one: even depth = outer outline.
    Vec2 probe = c[0];
    int depth = 0;
    for (const Contour& other : all) {
        if (&other == &c || other.size() < 3) continue;
        bool inside = false;
        for (size_t i = 0, j = other.size() - 1; i < other.size(); j = i++) {
            Vec2 a = other[i], b = other[j];
            if ((a.y > probe.y) != (b.y > probe.y) && probe.x < (b.x - a.x) * (probe.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        depth += inside ? 1 : 0;
    }
    bool ccw = signedArea(c) > 0;
    bool outer = depth % 2 == 0;
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
    for (const Contour& c : contours) {
        if (c.size() < 3) continue;
        bool leftFilled = isFilledOnLeft(c, contours);
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
