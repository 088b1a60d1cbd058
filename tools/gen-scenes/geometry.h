// Small vector and matrix types for building meshes on the CPU. Plain structs, no GL.
#pragma once

#include <cmath>

namespace zelFramework::scenegen {

struct Vec2 {
    float x = 0, y = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(float s, Vec3 a) { return a * s; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a) {
    float l = length(a);
    return l > 1e-12f ? a * (1.0f / l) : Vec3{0, 1, 0};
}
inline Vec3 lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep01(float t) {
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return t * t * (3 - 2 * t);
}

constexpr float kPi = 3.14159265358979f;
inline float radians(float degrees) { return degrees * kPi / 180.0f; }

// Column-major 4x4 affine transform (the convention OpenGL uses), m[column * 4 + row].
struct Mat4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 translation(Vec3 t);
    static Mat4 scaling(Vec3 s);
    static Mat4 rotationY(float degrees);
    static Mat4 rotationX(float degrees);
    static Mat4 rotationZ(float degrees);
    // Columns are the images of the x, y and z axes, then the origin.
    static Mat4 basis(Vec3 xAxis, Vec3 yAxis, Vec3 zAxis, Vec3 origin);

    Vec3 point(Vec3 p) const;
    Vec3 direction(Vec3 d) const;
    // Normals go through the inverse transpose, so non-uniform scaling keeps them perpendicular.
    Vec3 normal(Vec3 n) const;
};

Mat4 operator*(const Mat4& a, const Mat4& b);

}  // namespace zelFramework::scenegen
