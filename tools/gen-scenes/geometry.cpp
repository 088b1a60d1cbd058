#include "geometry.h"

namespace zelFramework::scenegen {

Mat4 Mat4::translation(Vec3 t) {
    Mat4 r;
    r.m[12] = t.x;
    r.m[13] = t.y;
    r.m[14] = t.z;
    return r;
}

Mat4 Mat4::scaling(Vec3 s) {
    Mat4 r;
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Mat4 Mat4::rotationY(float degrees) {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Mat4 r;
    r.m[0] = c;
    r.m[2] = -s;
    r.m[8] = s;
    r.m[10] = c;
    return r;
}

Mat4 Mat4::rotationX(float degrees) {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Mat4 r;
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    return r;
}

Mat4 Mat4::rotationZ(float degrees) {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Mat4 r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    return r;
}

Mat4 Mat4::basis(Vec3 xAxis, Vec3 yAxis, Vec3 zAxis, Vec3 origin) {
    Mat4 r;
    r.m[0] = xAxis.x, r.m[1] = xAxis.y, r.m[2] = xAxis.z;
    r.m[4] = yAxis.x, r.m[5] = yAxis.y, r.m[6] = yAxis.z;
    r.m[8] = zAxis.x, r.m[9] = zAxis.y, r.m[10] = zAxis.z;
    r.m[12] = origin.x, r.m[13] = origin.y, r.m[14] = origin.z;
    return r;
}

Vec3 Mat4::point(Vec3 p) const {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vec3 Mat4::direction(Vec3 d) const {
    return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
            m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

Vec3 Mat4::normal(Vec3 n) const {
    // Inverse transpose of the upper 3x3 through the cofactor matrix (the determinant's scale is
    // dropped by the normalisation).
    Vec3 c0{m[0], m[1], m[2]}, c1{m[4], m[5], m[6]}, c2{m[8], m[9], m[10]};
    Vec3 r0 = cross(c1, c2), r1 = cross(c2, c0), r2 = cross(c0, c1);
    float det = dot(c0, r0);
    Vec3 out = r0 * n.x + r1 * n.y + r2 * n.z;
    return normalize(det < 0 ? -out : out);
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = s;
        }
    return r;
}

}  // namespace zelFramework::scenegen
