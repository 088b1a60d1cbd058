#include "props.h"

#include <cmath>

namespace zelFramework::scenegen {

Mesh makePanel(Vec3 centre, Vec3 normal, float width, float height) {
    Vec3 n = normalize(normal);
    Vec3 up{0, 1, 0};
    if (std::fabs(dot(n, up)) > 0.99f) up = {0, 0, -1};
    Vec3 right = normalize(cross(up, n));
    Vec3 top = cross(n, right);
    Vec3 hr = right * (width * 0.5f), ht = top * (height * 0.5f);
    Mesh m;
    m.addQuad(centre - hr - ht, centre + hr - ht, centre + hr + ht, centre - hr + ht);
    return m;
}

TelevisionMeshes makeTelevision(float width, float height, float depth) {
    TelevisionMeshes tv;
    tv.body.append(makeBox({0, height * 0.5f, 0}, {width, height, depth}));
    // A tapered back, like a tube set.
    tv.body.append(makeBox({0, height * 0.45f, -depth * 0.75f}, {width * 0.6f, height * 0.6f, depth * 0.5f}));
    // Two knobs beside the screen.
    for (int i = 0; i < 2; ++i)
        tv.body.append(makeBox({width * 0.38f, height * (0.35f + 0.25f * i), depth * 0.5f + 0.02f},
                               {width * 0.08f, width * 0.08f, 0.04f}));
    tv.screen = makePanel({-width * 0.08f, height * 0.5f, depth * 0.5f + 0.01f}, {0, 0, 1}, width * 0.7f, height * 0.72f);
    return tv;
}

Mat4 placeProp(Vec3 origin, float yawDegrees, float pitchDegrees) {
    return Mat4::translation(origin) * Mat4::rotationY(yawDegrees) * Mat4::rotationX(pitchDegrees);
}

Mesh makeStairs(float width, float run, float rise, int count) {
    Mesh m;
    float d = run / count, h = rise / count;
    for (int i = 0; i < count; ++i)
        m.append(makeBoxBetween({-width * 0.5f, 0, i * d}, {width * 0.5f, (i + 1) * h, (i + 1) * d}));
    return m;
}

Mesh makeArchRib(float halfWidth, float springY, float crownY, float thickness, float depth, int pieces) {
    Mesh m;
    auto at = [&](float a) {
        return Vec3{halfWidth * std::cos(a), springY + (crownY - springY) * std::sin(a), 0};
    };
    for (int i = 0; i < pieces; ++i) {
        float a0 = kPi * i / pieces, a1 = kPi * (i + 1) / pieces;
        Vec3 p = at(a0), q = at(a1);
        Vec3 mid = (p + q) * 0.5f;
        Vec3 along = normalize(q - p);
        Vec3 inward = normalize(Vec3{-mid.x, -(mid.y - springY), 0});
        Mat4 frame = Mat4::basis(along, inward, {0, 0, 1}, mid);
        m.append(makeBox({0, 0, 0}, {length(q - p) + thickness * 0.5f, thickness, depth}), frame);
    }
    return m;
}

}  // namespace zelFramework::scenegen
