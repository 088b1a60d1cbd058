// The software previewer draws what the pictures in docs/scenes claim: nearer surfaces hide farther
// ones, a surface is lit by the windowed falloff of the geometry pass (nothing at the falloff
// distance), the viewer light brightens what faces the camera, and flares are hidden behind walls.
#include <gtest/gtest.h>

#include "soft_raster.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

Frustum lens() {
    float n = 1, t = 0.5f;
    return {-t, t, -t, t, n, 100};
}

// A square facing +z at depth z, `half` wide each way, drawn untextured.
void drawSquare(SoftRaster& r, float z, float half, const PreviewSurface& s = {}) {
    const float p[] = {-half, -half, z, half, -half, z, half, half, z, -half, half, z};
    const float n[] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const float uv[] = {0, 1, 1, 1, 1, 0, 0, 0};
    const uint32_t idx[] = {0, 1, 2, 0, 2, 3};
    r.drawMesh(p, n, uv, idx, 6, Mat4{}, s);
}

content::Rgba centre(const SoftRaster& r) { return r.picture().at(r.picture().width / 2, r.picture().height / 2); }

}  // namespace

TEST(ScenePreview, NearerSurfacesHideFartherOnesInEitherOrder) {
    PreviewLighting light;
    light.radialLightFactor = 1;
    content::Image red(1, 1, {1, 0, 0, 1}), green(1, 1, {0, 1, 0, 1});
    for (bool nearFirst : {true, false}) {
        SoftRaster r(32, 32, light);
        r.setCamera({0, 0, 10}, {0, 0, 0}, {0, 1, 0}, lens());
        PreviewSurface nearSurface, farSurface;
        nearSurface.diffuse = &red;
        farSurface.diffuse = &green;
        if (nearFirst) drawSquare(r, 2, 1, nearSurface);
        drawSquare(r, -2, 3, farSurface);
        if (!nearFirst) drawSquare(r, 2, 1, nearSurface);
        EXPECT_GT(centre(r).r, 0.2f);
        EXPECT_FLOAT_EQ(centre(r).g, 0);
        EXPECT_GT(r.picture().at(10, 16).g, 0.0f);  // the far square shows round the near one
        EXPECT_FLOAT_EQ(r.picture().at(2, 16).g, 0);   // and nothing beyond it
    }
}

TEST(ScenePreview, LightsFallOffToNothingAtTheirDistance) {
    auto litCentre = [](float falloff, float viewerLight) {
        PreviewLighting l;
        l.radialLightFactor = viewerLight;
        l.lights = {{{0, 0, 4}, {1, 1, 1}, falloff}};
        SoftRaster r(16, 16, l);
        r.setCamera({0, 0, 10}, {0, 0, 0}, {0, 1, 0}, lens());
        drawSquare(r, 0, 2);
        return centre(r).r;
    };
    float close = litCentre(40, 0);  // 4 units away, a tenth of the reach
    EXPECT_GT(close, 0.5f);
    EXPECT_LT(close, 1.0f);
    EXPECT_FLOAT_EQ(litCentre(4, 0), 0);  // exactly at the falloff distance: dark
    EXPECT_NEAR(litCentre(4, 1), 0.3f, 1e-3f);  // only the viewer light, facing the camera
}

TEST(ScenePreview, FlaresShowInFrontOfWallsAndNotBehindThem) {
    PreviewLighting l;
    l.radialLightFactor = 0;
    SoftRaster r(32, 32, l);
    r.setCamera({0, 0, 10}, {0, 0, 0}, {0, 1, 0}, lens());
    drawSquare(r, 0, 5);
    r.addFlare({0, 0, -5}, 0.5f, 1);  // behind the wall
    EXPECT_FLOAT_EQ(centre(r).r, 0);
    r.addFlare({0, 0, 5}, 0.5f, 1);  // in front
    EXPECT_GT(centre(r).r, 0.3f);
}
