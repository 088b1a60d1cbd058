// A small software rasteriser for checking the sets by eye without the render engine: z-buffered
// triangles shaded per pixel the way the geometry pass shades them (point lights with a windowed
// falloff, a soft light from the viewer, the diffuse picture, the light map read by the view-space
// normal). No occlusion, depth of field or glow.
#pragma once

#include <vector>

#include "geometry.h"
#include "image.h"

namespace zelFramework::scenegen {

struct PreviewLight {
    Vec3 position;
    Vec3 color;
    float falloff = 10;
};

struct PreviewLighting {
    std::vector<PreviewLight> lights;
    Vec3 ambient;
    float radialLightFactor = 1;
    float lightIntensity = 1;
    Vec3 background{0, 0, 0};
};

struct PreviewSurface {
    const content::Image* diffuse = nullptr;   // null = white
    const content::Image* lightMap = nullptr;  // null = white
    Vec3 specular;
    float shininess = 1;
    float lightInfluence = 1;
};

struct Frustum {
    float left, right, bottom, top, nearPlane, farPlane;
};

class SoftRaster {
public:
    SoftRaster(int width, int height, const PreviewLighting& lighting);

    void setCamera(Vec3 eye, Vec3 target, Vec3 up, const Frustum& frustum);
    // Draws indexed triangles (indices may be null: consecutive triples) moved by `model`.
    void drawMesh(const float* positions, const float* normals, const float* uvs, const uint32_t* indices,
                  size_t cornerCount, const Mat4& model, const PreviewSurface& surface);

    // A camera-facing glow of the given radius (scene units) added over the picture where it is not
    // hidden, as the renderer's flares are drawn.
    void addFlare(Vec3 centre, float size, float intensity);

    const content::Image& picture() const { return colour_; }

private:
    struct Corner {
        Vec3 view;    // view-space position
        Vec3 normal;  // view-space normal
        Vec2 uv;
    };
    void drawTriangle(const Corner* c, const PreviewSurface& surface);
    void rasterise(const Corner& a, const Corner& b, const Corner& c, const PreviewSurface& surface);
    Vec3 shade(Vec3 viewPos, Vec3 normal, Vec2 uv, const PreviewSurface& surface) const;

    int width_, height_;
    PreviewLighting lighting_;
    std::vector<Vec3> viewLights_;
    Mat4 view_;
    Frustum frustum_{};
    content::Image colour_;
    std::vector<float> depth_;
};

}  // namespace zelFramework::scenegen
