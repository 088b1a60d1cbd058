#include "mesh.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::scenegen {

uint32_t Mesh::addVertex(Vec3 p, Vec3 n, Vec2 uv) {
    positions.push_back(p);
    normals.push_back(n);
    uvs.push_back(uv);
    return uint32_t(positions.size() - 1);
}

void Mesh::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

void Mesh::addQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec2 uvA, Vec2 uvB, Vec2 uvC, Vec2 uvD) {
    Vec3 n = normalize(cross(b - a, d - a) + cross(d - c, b - c));
    uint32_t i = addVertex(a, n, uvA);
    addVertex(b, n, uvB);
    addVertex(c, n, uvC);
    addVertex(d, n, uvD);
    addTriangle(i, i + 1, i + 2);
    addTriangle(i, i + 2, i + 3);
}

void Mesh::append(const Mesh& other, const Mat4& transform) {
    uint32_t base = uint32_t(positions.size());
    for (size_t i = 0; i < other.positions.size(); ++i) {
        positions.push_back(transform.point(other.positions[i]));
        normals.push_back(transform.normal(other.normals[i]));
        uvs.push_back(other.uvs[i]);
    }
    for (uint32_t idx : other.indices) indices.push_back(base + idx);
}

Mesh makeBox(Vec3 c, Vec3 s) {
    Vec3 h = s * 0.5f;
    Mesh m;
    auto P = [&](float x, float y, float z) { return Vec3{c.x + x * h.x, c.y + y * h.y, c.z + z * h.z}; };
    m.addQuad(P(-1, -1, 1), P(1, -1, 1), P(1, 1, 1), P(-1, 1, 1));      // +z
    m.addQuad(P(1, -1, -1), P(-1, -1, -1), P(-1, 1, -1), P(1, 1, -1));  // -z
    m.addQuad(P(1, -1, 1), P(1, -1, -1), P(1, 1, -1), P(1, 1, 1));      // +x
    m.addQuad(P(-1, -1, -1), P(-1, -1, 1), P(-1, 1, 1), P(-1, 1, -1));  // -x
    m.addQuad(P(-1, 1, 1), P(1, 1, 1), P(1, 1, -1), P(-1, 1, -1));      // +y
    m.addQuad(P(-1, -1, -1), P(1, -1, -1), P(1, -1, 1), P(-1, -1, 1));  // -y
    return m;
}

Mesh makeBoxBetween(Vec3 a, Vec3 b) {
    Vec3 lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    Vec3 hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    return makeBox((lo + hi) * 0.5f, hi - lo);
}

Mesh makeLathe(const std::vector<Vec2>& profile, int segments, float angle0, float angle1, bool smoothProfile) {
    Mesh m;
    if (profile.size() < 2 || segments < 1) return m;
    // Profile tangents give the normals; a smooth profile shares them between neighbouring segments.
    auto profileNormal = [&](size_t i, size_t j) {
        Vec2 a = profile[i], b = profile[j];
        float dr = b.x - a.x, dy = b.y - a.y;
        float l = std::sqrt(dr * dr + dy * dy);
        if (l < 1e-9f) return Vec2{1, 0};
        return Vec2{dy / l, -dr / l};  // outward for a profile running upward
    };
    float total = 0;
    std::vector<float> along(profile.size(), 0);
    for (size_t i = 1; i < profile.size(); ++i) {
        float dr = profile[i].x - profile[i - 1].x, dy = profile[i].y - profile[i - 1].y;
        total += std::sqrt(dr * dr + dy * dy);
        along[i] = total;
    }
    auto ring = [&](float a, float r, float y) {
        return Vec3{r * std::sin(radians(a)), y, r * std::cos(radians(a))};
    };
    auto emitBand = [&](size_t i0, size_t i1, Vec2 n0, Vec2 n1) {
        uint32_t base = uint32_t(m.positions.size());
        for (int s = 0; s <= segments; ++s) {
            float t = float(s) / segments;
            float a = angle0 + (angle1 - angle0) * t;
            float sa = std::sin(radians(a)), ca = std::cos(radians(a));
            m.addVertex(ring(a, profile[i0].x, profile[i0].y), normalize({n0.x * sa, n0.y, n0.x * ca}),
                        {t, total > 0 ? 1 - along[i0] / total : 1});
            m.addVertex(ring(a, profile[i1].x, profile[i1].y), normalize({n1.x * sa, n1.y, n1.x * ca}),
                        {t, total > 0 ? 1 - along[i1] / total : 0});
        }
        for (int s = 0; s < segments; ++s) {
            uint32_t a = base + 2 * s;
            m.addTriangle(a, a + 2, a + 3);
            m.addTriangle(a, a + 3, a + 1);
        }
    };
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        Vec2 flat = profileNormal(i, i + 1);
        Vec2 n0 = flat, n1 = flat;
        if (smoothProfile) {
            if (i > 0) n0 = profileNormal(i - 1, i + 1);
            if (i + 2 < profile.size()) n1 = profileNormal(i, i + 2);
        }
        emitBand(i, i + 1, n0, n1);
    }
    return m;
}

Mesh makeCylinder(float radius, float y0, float y1, int segments, bool caps) {
    Mesh m = makeLathe({{radius, y0}, {radius, y1}}, segments, 0, 360, false);
    if (caps) {
        for (int side = 0; side < 2; ++side) {
            float y = side ? y1 : y0;
            Vec3 n{0, side ? 1.0f : -1.0f, 0};
            uint32_t centre = m.addVertex({0, y, 0}, n, {0.5f, 0.5f});
            uint32_t first = uint32_t(m.positions.size());
            for (int s = 0; s <= segments; ++s) {
                float a = 2 * kPi * s / segments;
                m.addVertex({radius * std::sin(a), y, radius * std::cos(a)}, n,
                            {0.5f + 0.5f * std::sin(a), 0.5f + 0.5f * std::cos(a)});
            }
            for (int s = 0; s < segments; ++s) {
                if (side)
                    m.addTriangle(centre, first + s, first + s + 1);
                else
                    m.addTriangle(centre, first + s + 1, first + s);
            }
        }
    }
    return m;
}

Mesh makeEllipsoid(Vec3 radii, int segments, int rings) {
    Mesh m;
    for (int r = 0; r <= rings; ++r) {
        float v = float(r) / rings;
        float phi = kPi * (v - 0.5f);
        for (int s = 0; s <= segments; ++s) {
            float u = float(s) / segments;
            float th = 2 * kPi * u;
            Vec3 unit{std::cos(phi) * std::sin(th), std::sin(phi), std::cos(phi) * std::cos(th)};
            Vec3 p{unit.x * radii.x, unit.y * radii.y, unit.z * radii.z};
            Vec3 n = normalize({unit.x / radii.x, unit.y / radii.y, unit.z / radii.z});
            m.addVertex(p, n, {u, 1 - v});
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            uint32_t a = r * (segments + 1) + s, b = a + segments + 1;
            m.addTriangle(a, a + 1, b + 1);
            m.addTriangle(a, b + 1, b);
        }
    return m;
}

Mesh makeTube(const std::vector<Vec3>& path, float radius, int sides) {
    Mesh m;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        Vec3 a = path[i], b = path[i + 1];
        Vec3 axis = normalize(b - a);
        Vec3 helper = std::fabs(axis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
        Vec3 side1 = normalize(cross(axis, helper)), side2 = cross(side1, axis);
        uint32_t base = uint32_t(m.positions.size());
        for (int s = 0; s <= sides; ++s) {
            float t = 2 * kPi * s / sides;
            Vec3 n = side1 * std::cos(t) + side2 * std::sin(t);
            m.addVertex(a + n * radius, n, {float(s) / sides, 0});
            m.addVertex(b + n * radius, n, {float(s) / sides, 1});
        }
        for (int s = 0; s < sides; ++s) {
            uint32_t k = base + 2 * s;
            m.addTriangle(k, k + 3, k + 2);
            m.addTriangle(k, k + 1, k + 3);
        }
    }
    return m;
}

Mesh makeGrid(Vec3 c, float sizeX, float sizeZ, int cellsX, int cellsZ) {
    Mesh m;
    for (int j = 0; j <= cellsZ; ++j)
        for (int i = 0; i <= cellsX; ++i) {
            float u = float(i) / cellsX, v = float(j) / cellsZ;
            m.addVertex({c.x + (u - 0.5f) * sizeX, c.y, c.z + (v - 0.5f) * sizeZ}, {0, 1, 0}, {u, v});
        }
    for (int j = 0; j < cellsZ; ++j)
        for (int i = 0; i < cellsX; ++i) {
            uint32_t a = j * (cellsX + 1) + i, b = a + cellsX + 1;
            m.addTriangle(a, b, b + 1);
            m.addTriangle(a, b + 1, a + 1);
        }
    return m;
}

}  // namespace zelFramework::scenegen
