#include "human_figure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zelFramework::scenegen {

namespace {

struct Build {
    float height;   // top of the head
    float bulk;     // 1 = slim, more = broader
};

}  // namespace

Mesh makeLimb(const std::vector<Vec3>& joints, const std::vector<float>& radii, int sides, int steps) {
    Mesh m;
    for (size_t i = 0; i + 1 < joints.size(); ++i) {
        Vec3 a = joints[i], b = joints[i + 1];
        Vec3 axis = normalize(b - a);
        Vec3 helper = std::fabs(axis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
        Vec3 s1 = normalize(cross(axis, helper)), s2 = cross(s1, axis);
        uint32_t base = uint32_t(m.positions.size());
        for (int k = 0; k <= steps; ++k) {
            float t = float(k) / steps;
            Vec3 c = lerp(a, b, t);
            float r = lerp(radii[i], radii[i + 1], t);
            for (int s = 0; s <= sides; ++s) {
                float ang = 2 * kPi * s / sides;
                Vec3 n = s1 * std::cos(ang) + s2 * std::sin(ang);
                m.addVertex(c + n * r, n, {0, 0});
            }
        }
        for (int k = 0; k < steps; ++k)
            for (int s = 0; s < sides; ++s) {
                uint32_t p = base + k * (sides + 1) + s, q = p + sides + 1;
                m.addTriangle(p, q, q + 1);
                m.addTriangle(p, q + 1, p + 1);
            }
        // A ball at each joint closes the gaps where segments bend.
        m.append(makeEllipsoid({radii[i + 1], radii[i + 1], radii[i + 1]}, sides, sides / 2), Mat4::translation(b));
    }
    m.append(makeEllipsoid({radii[0], radii[0], radii[0]}, sides, sides / 2), Mat4::translation(joints[0]));
    return m;
}

namespace {

// Torso and neck: a lathe with an oval cross-section (deeper front to back than a tube would be).
Mesh torso(const Build& b) {
    float k = b.bulk;
    std::vector<Vec2> profile = {{0.01f, 0.86f},       {0.16f * k, 0.88f}, {0.175f * k, 0.98f},
                                 {0.145f * k, 1.10f},  {0.175f * k, 1.26f}, {0.2f * k, 1.38f},
                                 {0.17f * k, 1.44f},   {0.06f, 1.47f},      {0.05f, 1.53f}};
    for (Vec2& p : profile) p.y *= b.height / 1.8f;
    Mesh m = makeLathe(profile, 28);
    Mesh out;
    out.append(m, Mat4::scaling({1, 1, 0.62f}));
    return out;
}

Mesh figureFor(Character who) {
    Build b = who == Character::Pimsel ? Build{1.76f, 1.0f} : Build{1.84f, 1.12f};
    float s = b.height / 1.8f;
    Mesh m = torso(b);
    // Head and a hint of a nose and hair so the figure reads as facing forward.
    Vec3 head{0, 1.63f * s, 0.01f};
    m.append(makeEllipsoid({0.095f, 0.12f, 0.105f}, 24, 14), Mat4::translation(head));
    m.append(makeEllipsoid({0.018f, 0.03f, 0.02f}, 10, 6), Mat4::translation(head + Vec3{0, -0.01f, 0.1f}));
    if (who == Character::Tabor)
        m.append(makeEllipsoid({0.105f, 0.05f, 0.13f}, 24, 8), Mat4::translation(head + Vec3{0, 0.09f, 0.02f}));
    else
        m.append(makeEllipsoid({0.1f, 0.07f, 0.1f}, 24, 8), Mat4::translation(head + Vec3{0, 0.07f, -0.02f}));
    // Legs and feet.
    float hip = 0.9f * s, hx = 0.095f * b.bulk;
    for (float side : {-1.0f, 1.0f}) {
        m.append(makeLimb({{side * hx, hip, 0}, {side * (hx + 0.01f), 0.48f * s, 0.02f}, {side * (hx + 0.015f), 0.08f, 0}},
                      {0.085f * b.bulk, 0.06f, 0.045f}, 14));
        m.append(makeEllipsoid({0.05f, 0.04f, 0.11f}, 12, 6), Mat4::translation({side * (hx + 0.015f), 0.04f, 0.05f}));
    }
    // Arms: Pimsel holds a microphone up to the mouth with the right hand, Tabor gestures outward.
    float sh = 1.40f * s, sx = 0.21f * b.bulk;
    if (who == Character::Pimsel) {
        m.append(makeLimb({{-sx, sh, 0}, {-sx - 0.04f, sh - 0.28f, 0.02f}, {-sx - 0.05f, sh - 0.52f, 0.06f}},
                      {0.05f, 0.04f, 0.035f}, 12));
        Vec3 wrist{-0.08f, sh + 0.05f, 0.16f};
        m.append(makeLimb({{sx, sh, 0}, {sx + 0.06f, sh - 0.26f, 0.08f}, wrist}, {0.05f, 0.04f, 0.035f}, 12));
        // The microphone: a handle and a ball head in front of the mouth.
        m.append(makeTube({wrist + Vec3{0, -0.04f, 0}, wrist + Vec3{0, 0.08f, 0.02f}}, 0.014f, 8));
        m.append(makeEllipsoid({0.028f, 0.028f, 0.028f}, 10, 6), Mat4::translation(wrist + Vec3{0, 0.1f, 0.025f}));
    } else {
        m.append(makeLimb({{-sx, sh, 0}, {-sx - 0.2f, sh - 0.14f, 0.08f}, {-sx - 0.38f, sh - 0.06f, 0.16f}},
                      {0.055f, 0.045f, 0.038f}, 12));
        m.append(makeLimb({{sx, sh, 0}, {sx + 0.05f, sh - 0.28f, 0.05f}, {sx + 0.02f, sh - 0.5f, 0.14f}},
                      {0.055f, 0.045f, 0.038f}, 12));
    }
    return m;
}

}  // namespace

Mesh buildFigure(Character who) {
    Mesh m = figureFor(who);
    // Wrap one picture round the body: u is the angle about the body's vertical axis (0 and 1 meet at
    // the back, 0.5 is the front), v runs from the top of the head (0) to the feet (1).
    float top = 0;
    for (Vec3 p : m.positions) top = std::max(top, p.y);
    for (size_t i = 0; i < m.positions.size(); ++i) {
        Vec3 p = m.positions[i];
        float angle = std::atan2(p.x, -p.z);  // 0 at the back, +-pi at the front
        float u = 0.5f + angle / (2 * kPi);
        u = u < 0.5f ? u + 0.5f : u - 0.5f;   // front to 0.5, the seam to the back
        m.uvs[i] = {u, 1 - p.y / top};
    }
    return m;
}

}  // namespace zelFramework::scenegen
