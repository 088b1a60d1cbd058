#include "soft_raster.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::scenegen {

namespace {

Vec3 sample(const content::Image* img, Vec2 uv) {
    if (!img || img->width == 0) return {1, 1, 1};
    float u = std::clamp(uv.x, 0.0f, 1.0f) * (img->width - 1), v = std::clamp(uv.y, 0.0f, 1.0f) * (img->height - 1);
    int x0 = int(u), y0 = int(v);
    int x1 = std::min(x0 + 1, img->width - 1), y1 = std::min(y0 + 1, img->height - 1);
    float fx = u - x0, fy = v - y0;
    auto px = [&](int x, int y) {
        const content::Rgba& p = img->at(x, y);
        return Vec3{p.r, p.g, p.b};
    };
    return lerp(lerp(px(x0, y0), px(x1, y0), fx), lerp(px(x0, y1), px(x1, y1), fx), fy);
}

// The share of the scene's lights a light map lets reach its surface: its alpha (1 for a picture
// without one), as the geometry pass reads it.
float sceneLightShare(const content::Image* lightMap, Vec2 uv) {
    if (!lightMap || lightMap->width == 0) return 1;
    const int x = int(std::clamp(uv.x, 0.0f, 1.0f) * (lightMap->width - 1) + 0.5f);
    const int y = int(std::clamp(uv.y, 0.0f, 1.0f) * (lightMap->height - 1) + 0.5f);
    return lightMap->at(x, y).a;
}

float falloff(float distance, float range) {
    range = std::max(range, 0.0001f);
    float window = std::clamp(1.0f - std::pow(distance / range, 4.0f), 0.0f, 1.0f);
    float scaled = distance / range * 4.0f;
    return window * window / (1.0f + scaled * scaled);
}

Vec3 mul(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

}  // namespace

SoftRaster::SoftRaster(int width, int height, const PreviewLighting& lighting)
    : width_(width), height_(height), lighting_(lighting),
      colour_(width, height, {lighting.background.x, lighting.background.y, lighting.background.z, 1}),
      depth_(size_t(width) * height, 1e30f) {}

void SoftRaster::setCamera(Vec3 eye, Vec3 target, Vec3 up, const Frustum& frustum) {
    Vec3 f = normalize(target - eye);
    Vec3 s = normalize(cross(f, up));
    Vec3 u = cross(s, f);
    Mat4 rot;
    rot.m[0] = s.x, rot.m[4] = s.y, rot.m[8] = s.z;
    rot.m[1] = u.x, rot.m[5] = u.y, rot.m[9] = u.z;
    rot.m[2] = -f.x, rot.m[6] = -f.y, rot.m[10] = -f.z;
    view_ = rot * Mat4::translation(-eye);
    frustum_ = frustum;
    viewLights_.clear();
    for (const PreviewLight& l : lighting_.lights) viewLights_.push_back(view_.point(l.position));
}

void SoftRaster::drawMesh(const float* positions, const float* normals, const float* uvs, const uint32_t* indices,
                          size_t cornerCount, const Mat4& model, const PreviewSurface& surface) {
    Mat4 mv = view_ * model;
    for (size_t i = 0; i + 2 < cornerCount; i += 3) {
        Corner c[3];
        for (int k = 0; k < 3; ++k) {
            uint32_t v = indices ? indices[i + k] : uint32_t(i + k);
            c[k].view = mv.point({positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]});
            c[k].normal = mv.normal({normals[3 * v], normals[3 * v + 1], normals[3 * v + 2]});
            c[k].uv = uvs ? Vec2{uvs[2 * v], uvs[2 * v + 1]} : Vec2{};
        }
        drawTriangle(c, surface);
    }
}

void SoftRaster::drawTriangle(const Corner* c, const PreviewSurface& surface) {
    // Clip against the near plane (view z = -near) before projecting.
    const float zn = -frustum_.nearPlane;
    std::vector<Corner> poly;
    for (int i = 0; i < 3; ++i) {
        const Corner& a = c[i];
        const Corner& b = c[(i + 1) % 3];
        bool ina = a.view.z <= zn, inb = b.view.z <= zn;
        if (ina) poly.push_back(a);
        if (ina != inb) {
            float t = (zn - a.view.z) / (b.view.z - a.view.z);
            poly.push_back({lerp(a.view, b.view, t), lerp(a.normal, b.normal, t),
                            {lerp(a.uv.x, b.uv.x, t), lerp(a.uv.y, b.uv.y, t)}});
        }
    }
    for (size_t i = 1; i + 1 < poly.size(); ++i) rasterise(poly[0], poly[i], poly[i + 1], surface);
}

void SoftRaster::rasterise(const Corner& a, const Corner& b, const Corner& c, const PreviewSurface& surface) {
    const Frustum& f = frustum_;
    auto project = [&](Vec3 p, float& sx, float& sy, float& w) {
        w = -p.z;
        float xn = (2 * f.nearPlane * p.x / (f.right - f.left) + (f.right + f.left) / (f.right - f.left) * p.z) / w;
        float yn = (2 * f.nearPlane * p.y / (f.top - f.bottom) + (f.top + f.bottom) / (f.top - f.bottom) * p.z) / w;
        sx = (xn + 1) * 0.5f * width_;
        sy = (1 - yn) * 0.5f * height_;
    };
    float x[3], y[3], w[3];
    const Corner* cs[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) project(cs[i]->view, x[i], y[i], w[i]);
    float area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (std::fabs(area) < 1e-9f) return;
    int x0 = std::max(0, int(std::floor(std::min({x[0], x[1], x[2]}))));
    int x1 = std::min(width_ - 1, int(std::ceil(std::max({x[0], x[1], x[2]}))));
    int y0 = std::max(0, int(std::floor(std::min({y[0], y[1], y[2]}))));
    int y1 = std::min(height_ - 1, int(std::ceil(std::max({y[0], y[1], y[2]}))));
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px) {
            float cx = px + 0.5f, cy = py + 0.5f;
            float b0 = ((x[1] - cx) * (y[2] - cy) - (x[2] - cx) * (y[1] - cy)) / area;
            float b1 = ((x[2] - cx) * (y[0] - cy) - (x[0] - cx) * (y[2] - cy)) / area;
            float b2 = 1 - b0 - b1;
            if (b0 < 0 || b1 < 0 || b2 < 0) continue;
            // Perspective-correct weights.
            float q0 = b0 / w[0], q1 = b1 / w[1], q2 = b2 / w[2];
            float qs = q0 + q1 + q2;
            q0 /= qs, q1 /= qs, q2 /= qs;
            Vec3 vp = a.view * q0 + b.view * q1 + c.view * q2;
            float depth = -vp.z;
            if (depth > f.farPlane) continue;
            float& zb = depth_[size_t(py) * width_ + px];
            if (depth >= zb) continue;
            zb = depth;
            Vec3 n = normalize(a.normal * q0 + b.normal * q1 + c.normal * q2);
            Vec2 uv{a.uv.x * q0 + b.uv.x * q1 + c.uv.x * q2, a.uv.y * q0 + b.uv.y * q1 + c.uv.y * q2};
            Vec3 col = shade(vp, n, uv, surface);
            colour_.at(px, py) = {col.x, col.y, col.z, 1};
        }
}

void SoftRaster::addFlare(Vec3 centre, float size, float intensity) {
    Vec3 v = view_.point(centre);
    if (-v.z < frustum_.nearPlane) return;
    const Frustum& f = frustum_;
    float w = -v.z;
    float sx = ((2 * f.nearPlane * v.x / (f.right - f.left) + (f.right + f.left) / (f.right - f.left) * v.z) / w + 1) * 0.5f * width_;
    float sy = (1 - (2 * f.nearPlane * v.y / (f.top - f.bottom) + (f.top + f.bottom) / (f.top - f.bottom) * v.z) / w) * 0.5f * height_;
    float radius = size * f.nearPlane / w / (f.right - f.left) * width_;
    for (int y = int(sy - radius); y <= int(sy + radius); ++y)
        for (int x = int(sx - radius); x <= int(sx + radius); ++x) {
            if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
            if (depth_[size_t(y) * width_ + x] < w - size) continue;
            float d = std::hypot(x + 0.5f - sx, y + 0.5f - sy) / std::max(radius, 0.5f);
            if (d >= 1) continue;
            float k = 0.5f * intensity * (1 - d) * (1 - d);
            content::Rgba& p = colour_.at(x, y);
            p.r += k, p.g += k, p.b += k;
        }
}

Vec3 SoftRaster::shade(Vec3 viewPos, Vec3 n, Vec2 uv, const PreviewSurface& s) const {
    Vec3 toEye = normalize(-viewPos);
    Vec3 base = sample(s.diffuse, uv);
    const Vec2 matCapUV{n.x * 0.495f + 0.5f, n.y * 0.495f + 0.5f};
    Vec3 matCap = sample(s.lightMap, matCapUV);
    const float share = s.lightInfluence * sceneLightShare(s.lightMap, matCapUV);
    Vec3 diffuse = lighting_.ambient + Vec3{1, 1, 1} * (lighting_.radialLightFactor * 0.3f * std::max(dot(n, toEye), 0.0f));
    Vec3 specular{};
    float shininess = std::max(s.shininess, 1.0f);
    for (size_t i = 0; i < viewLights_.size(); ++i) {
        Vec3 toLight = viewLights_[i] - viewPos;
        float d = length(toLight);
        Vec3 l = toLight * (1.0f / std::max(d, 0.0001f));
        Vec3 radiance = lighting_.lights[i].color * lighting_.lightIntensity;
        float att = falloff(d, lighting_.lights[i].falloff);
        float lambert = std::max(dot(n, l), 0.0f);
        Vec3 h = normalize(l + toEye);
        float hl = lambert > 0 ? std::pow(std::max(dot(n, h), 0.0f), shininess) : 0;
        specular = specular + radiance * (att * hl * (shininess + 8) / 25.1327f);
        diffuse = diffuse + radiance * (att * lambert);
    }
    Vec3 lit = lerp(Vec3{1, 1, 1}, diffuse, share);
    return mul(mul(base, matCap), lit) + mul(s.specular, specular) * share;
}

}  // namespace zelFramework::scenegen
