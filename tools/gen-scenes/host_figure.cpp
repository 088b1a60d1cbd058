#include "host_figure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host_wardrobe.h"

namespace zelFramework::scenegen {

namespace {

struct Look {
    float height;  // top of the head
    float bulk;    // 1 = slim, more = broader
    Cloth skin, hair, jacket, trousers, shoes;
};

Look lookOf(Character who) {
    if (who == Character::Pimsel)
        return {1.76f, 1.0f, Cloth::SkinLight, Cloth::HairBrown, Cloth::JacketViolet, Cloth::TrousersInk, Cloth::ShoesWhite};
    return {1.84f, 1.12f, Cloth::SkinDeep, Cloth::HairBlack, Cloth::JacketNavy, Cloth::TrousersSlate, Cloth::ShoesBlack};
}

constexpr float kTorsoDepth = 0.62f;  // front-to-back size of the torso against its width
constexpr float kPanelAngle = 40.0f;  // the shirt front spans this many degrees either side of the front

// Adds `part`, moved by `place`, in `cloth`: every vertex gets the ramp coordinate of its light.
void addPart(Mesh& out, const Mesh& part, Cloth cloth, const Mat4& place = Mat4{}) {
    Mesh placed;
    placed.append(part, place);
    for (size_t i = 0; i < placed.positions.size(); ++i) placed.uvs[i] = clothUV(cloth, studioShade(placed.normals[i]));
    out.append(placed);
}

// Catmull-Rom through the profile points, `steps` pieces per segment: a lathe of the result has
// no visible rings where the profile bends.
std::vector<Vec2> smoothProfile(const std::vector<Vec2>& p, int steps) {
    std::vector<Vec2> out;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        Vec2 p0 = p[i > 0 ? i - 1 : i], p1 = p[i], p2 = p[i + 1], p3 = p[i + 2 < p.size() ? i + 2 : i + 1];
        for (int k = 0; k < steps; ++k) {
            float t = float(k) / steps, t2 = t * t, t3 = t2 * t;
            auto cr = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (3 * b - a - 3 * c + d) * t3);
            };
            out.push_back({cr(p0.x, p1.x, p2.x, p3.x), cr(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    out.push_back(p.back());
    return out;
}

// Radius of the profile at height y (the profile runs upward).
float radiusAt(const std::vector<Vec2>& profile, float y) {
    for (size_t i = 0; i + 1 < profile.size(); ++i)
        if (y >= profile[i].y && y <= profile[i + 1].y) {
            float span = profile[i + 1].y - profile[i].y;
            return lerp(profile[i].x, profile[i + 1].x, span > 0 ? (y - profile[i].y) / span : 0);
        }
    return profile.back().x;
}

struct Torso {
    std::vector<Vec2> profile;  // of the jacket, before the depth squeeze
    float panelBottom, panelTop;
};

Torso torsoOf(const Look& look) {
    const float k = look.bulk, s = look.height / 1.8f;
    Torso t;
    t.profile = smoothProfile({{0.02f, 0.90f * s},
                               {0.155f * k, 0.92f * s},
                               {0.15f * k, 1.02f * s},
                               {0.172f * k, 1.20f * s},
                               {0.198f * k, 1.35f * s},
                               {0.165f * k, 1.43f * s},
                               {0.06f, 1.465f * s}},
                              4);
    t.panelBottom = 0.97f * s;
    t.panelTop = 1.33f * s;
    return t;
}

// The shirt front: a curved screen just in front of the jacket's opening, mapped with the clip.
Mesh shirtFront(const Torso& torso) {
    Mesh m;
    const int columns = 12, rows = 10;
    for (int r = 0; r <= rows; ++r) {
        float fy = float(r) / rows;
        float y = lerp(torso.panelBottom, torso.panelTop, fy);
        float radius = radiusAt(torso.profile, y) + 0.006f;
        for (int c = 0; c <= columns; ++c) {
            float fx = float(c) / columns;
            float a = radians(lerp(-kPanelAngle, kPanelAngle, fx));
            Vec3 p{radius * std::sin(a), y, radius * kTorsoDepth * std::cos(a) + 0.004f};
            Vec3 n = normalize({std::sin(a) * kTorsoDepth, 0, std::cos(a)});
            // The clip fills the panel, its top row at the collar; a texel of margin keeps the cloth
            // ramps beside it out of the lookups.
            Vec2 uv{(1.5f + fx * (kClipSize - 3.0f)) / kHostPictureWidth, (1.5f + (1 - fy) * (kClipSize - 3.0f)) / kHostPictureHeight};
            m.addVertex(p, n, uv);
        }
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            uint32_t a = uint32_t(r * (columns + 1) + c), b = a + 1, d = a + columns + 1, e = d + 1;
            m.addTriangle(a, b, e);
            m.addTriangle(a, e, d);
        }
    return m;
}

// The jacket's lapels along both edges of the shirt front, from the collar down to the waist.
void addLapels(Mesh& out, const Torso& torso, Cloth jacket) {
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Vec3> path;
        for (int i = 0; i <= 6; ++i) {
            float y = lerp(torso.panelTop + 0.04f, torso.panelBottom - 0.02f, i / 6.0f);
            float a = radians(side * (kPanelAngle + 3.0f - 8.0f * (1 - i / 6.0f)));
            float radius = radiusAt(torso.profile, y) + 0.008f;
            path.push_back({radius * std::sin(a), y, radius * kTorsoDepth * std::cos(a) + 0.004f});
        }
        addPart(out, makeTube(path, 0.014f, 16), jacket);
    }
}

void addHead(Mesh& out, const Look& look, Character who) {
    const float s = look.height / 1.8f;
    const Vec3 head{0, 1.63f * s, 0.01f};
    addPart(out, makeCylinder(0.05f * look.bulk, 1.42f * s, 1.58f * s, 20, false), look.skin);
    addPart(out, makeEllipsoid({0.075f * look.bulk, 0.022f, 0.06f}, 24, 8), Cloth::ShirtWhite,
            Mat4::translation({0, 1.455f * s, 0.004f}));  // collar
    addPart(out, makeEllipsoid({0.094f, 0.118f, 0.104f}, 32, 20), look.skin, Mat4::translation(head));
    for (float side : {-1.0f, 1.0f}) {
        addPart(out, makeEllipsoid({0.018f, 0.032f, 0.014f}, 12, 8), look.skin, Mat4::translation(head + Vec3{side * 0.092f, -0.005f, 0}));
        addPart(out, makeEllipsoid({0.014f, 0.009f, 0.008f}, 10, 6), Cloth::Eye, Mat4::translation(head + Vec3{side * 0.034f, 0.018f, 0.094f}));
        addPart(out, makeEllipsoid({0.022f, 0.005f, 0.008f}, 10, 6), look.hair, Mat4::translation(head + Vec3{side * 0.036f, 0.04f, 0.094f}));
    }
    addPart(out, makeEllipsoid({0.017f, 0.03f, 0.022f}, 12, 8), look.skin, Mat4::translation(head + Vec3{0, -0.008f, 0.1f}));
    addPart(out, makeEllipsoid({0.028f, 0.008f, 0.01f}, 12, 6), Cloth::Lips, Mat4::translation(head + Vec3{0, -0.055f, 0.09f}));
    // Hair: a cap over the crown and the back of the head, leaving the face free.
    if (who == Character::Pimsel) {
        addPart(out, makeEllipsoid({0.102f, 0.085f, 0.11f}, 32, 14), look.hair, Mat4::translation(head + Vec3{0, 0.055f, -0.018f}));
        addPart(out, makeEllipsoid({0.09f, 0.09f, 0.07f}, 24, 12), look.hair, Mat4::translation(head + Vec3{0, -0.02f, -0.05f}));
    } else {
        addPart(out, makeEllipsoid({0.099f, 0.06f, 0.108f}, 32, 12), look.hair, Mat4::translation(head + Vec3{0, 0.07f, -0.012f}));
    }
}

// A hand at the end of the forearm from `elbow` to `wrist`: the palm along the forearm and a thumb.
void addHand(Mesh& out, Vec3 elbow, Vec3 wrist, Cloth skin) {
    Vec3 along = normalize(wrist - elbow);
    Vec3 helper = std::fabs(along.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
    Vec3 across = normalize(cross(along, helper)), thick = cross(across, along);
    Mat4 palm = Mat4::basis(across, along, thick, wrist + along * 0.045f);
    addPart(out, makeEllipsoid({0.03f, 0.05f, 0.017f}, 16, 10), skin, palm);
    Mat4 thumb = Mat4::basis(across, along, thick, wrist + along * 0.03f + thick * 0.02f);
    addPart(out, makeEllipsoid({0.012f, 0.026f, 0.012f}, 10, 6), skin, thumb);
}

void addArm(Mesh& out, const Look& look, Vec3 shoulder, Vec3 elbow, Vec3 wrist) {
    const float k = look.bulk;
    addPart(out, makeLimb({shoulder, elbow, wrist}, {0.058f * k, 0.046f * k, 0.038f * k}, 18, 6), look.jacket);
    addPart(out, makeLimb({wrist - normalize(wrist - elbow) * 0.012f, wrist}, {0.03f, 0.03f}, 14, 1), look.skin);
    addHand(out, elbow, wrist, look.skin);
}

void addLegs(Mesh& out, const Look& look) {
    const float s = look.height / 1.8f, k = look.bulk;
    const float hip = 0.92f * s, hx = 0.09f * k;
    addPart(out, makeEllipsoid({0.158f * k, 0.11f, 0.158f * k * kTorsoDepth}, 28, 12), look.trousers, Mat4::translation({0, 0.9f * s, 0}));
    for (float side : {-1.0f, 1.0f}) {
        addPart(out, makeLimb({{side * hx, hip, 0}, {side * (hx + 0.008f), 0.49f * s, 0.02f}, {side * (hx + 0.012f), 0.1f, 0}},
                              {0.08f * k, 0.058f * k, 0.046f}, 18, 6),
                look.trousers);
        addPart(out, makeEllipsoid({0.05f, 0.042f, 0.115f}, 18, 10), look.shoes, Mat4::translation({side * (hx + 0.012f), 0.042f, 0.045f}));
    }
}

}  // namespace

Mesh buildHost(Character who) {
    const Look look = lookOf(who);
    const float s = look.height / 1.8f, k = look.bulk;
    const Torso torso = torsoOf(look);
    Mesh m;
    Mesh jacket;
    jacket.append(makeLathe(torso.profile, 40), Mat4::scaling({1, 1, kTorsoDepth}));
    addPart(m, jacket, look.jacket);
    m.append(shirtFront(torso));
    addLapels(m, torso, look.jacket);
    addHead(m, look, who);
    addLegs(m, look);
    // Arms: Pimsel holds a microphone up to the mouth, Tabor gestures outward with both hands.
    const float sh = 1.37f * s, sx = 0.2f * k;
    if (who == Character::Pimsel) {
        addArm(m, look, {-sx, sh, 0}, {-sx - 0.04f, sh - 0.28f, 0.02f}, {-sx - 0.05f, sh - 0.52f, 0.07f});
        const Vec3 elbow{sx + 0.05f, sh - 0.25f, 0.1f}, wrist{0.06f, sh + 0.05f, 0.19f};
        addArm(m, look, {sx, sh, 0}, elbow, wrist);
        const Vec3 grip = wrist + normalize(wrist - elbow) * 0.04f;
        addPart(m, makeTube({grip + Vec3{0, -0.05f, 0}, grip + Vec3{-0.01f, 0.09f, 0.01f}}, 0.014f, 10), Cloth::Metal);
        addPart(m, makeEllipsoid({0.028f, 0.028f, 0.028f}, 14, 8), Cloth::Metal, Mat4::translation(grip + Vec3{-0.012f, 0.11f, 0.012f}));
    } else {
        addArm(m, look, {-sx, sh, 0}, {-sx - 0.2f, sh - 0.15f, 0.08f}, {-sx - 0.37f, sh - 0.07f, 0.17f});
        addArm(m, look, {sx, sh, 0}, {sx + 0.05f, sh - 0.28f, 0.06f}, {sx + 0.02f, sh - 0.5f, 0.15f});
    }
    return m;
}

std::string hostObjText(const Mesh& mesh, const std::string& name) {
    std::string out = "# " + name + ": host figure\no " + name + "\n";
    char line[160];
    for (Vec3 p : mesh.positions) {
        std::snprintf(line, sizeof line, "v %.5f %.5f %.5f\n", p.x, p.y, p.z);
        out += line;
    }
    for (Vec3 n : mesh.normals) {
        std::snprintf(line, sizeof line, "vn %.4f %.4f %.4f\n", n.x, n.y, n.z);
        out += line;
    }
    for (Vec2 uv : mesh.uvs) {
        std::snprintf(line, sizeof line, "vt %.5f %.5f\n", uv.x, uv.y);
        out += line;
    }
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        uint32_t a = mesh.indices[t] + 1, b = mesh.indices[t + 1] + 1, c = mesh.indices[t + 2] + 1;
        std::snprintf(line, sizeof line, "f %u/%u/%u %u/%u/%u %u/%u/%u\n", a, a, a, b, b, b, c, c, c);
        out += line;
    }
    return out;
}

}  // namespace zelFramework::scenegen
