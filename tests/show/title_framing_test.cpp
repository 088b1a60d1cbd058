// The five titles as the show plays them: read from the built resources, seen through their own
// scene cameras at every frame of their schedule entries. Every letter, once landed, must lie inside
// the picture with a margin, so that no title is cut by the picture's edge.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/orvo_scene_reader.h"
#include "assets/scene_camera_math.h"
#include "platform/platform.h"
#include "show/show_composition.h"

namespace zelFramework::testing {
namespace {

const char* const TITLE_FILES[5] = {
    "No_Bigscreens_Just_Lasers.orvo", "Quantum_Computing_Compo.orvo", "8_Petabyte_Intro_Compo.orvo",
    "Demoscene_Fashion_Show.orvo",    "400_DJs_On_1200_Floors.orvo",
};

struct Bounds {
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    bool behind = false;
};

// The picture-space bounds (0..1 across and up) of every letter's resting vertices through the
// frustum the scene camera loads at `time`.
Bounds letterBounds(const OrvoScene& scene, float time) {
    SceneCameraView view;
    Bounds b;
    if (!evaluateSceneCamera(scene, time, view)) {
        b.behind = true;
        return b;
    }
    const SceneCameraSample& c = view.camera;
    const double f[3] = {c.direction.x, c.direction.y, c.direction.z};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    const double fwd[3] = {f[0] / fl, f[1] / fl, f[2] / fl};
    // gluLookAt's side and up vectors.
    double side[3] = {fwd[1] * c.up.z - fwd[2] * c.up.y, fwd[2] * c.up.x - fwd[0] * c.up.z, fwd[0] * c.up.y - fwd[1] * c.up.x};
    const double sl = std::sqrt(side[0] * side[0] + side[1] * side[1] + side[2] * side[2]);
    for (double& v : side) v /= sl;
    const double up[3] = {side[1] * fwd[2] - side[2] * fwd[1], side[2] * fwd[0] - side[0] * fwd[2], side[0] * fwd[1] - side[1] * fwd[0]};
    for (const SceneObject& o : scene.objects) {
        if (o.name.rfind("letter", 0) != 0) continue;
        for (uint32_t v = 0; v < o.vertexCount; ++v) {
            const double d[3] = {o.positions[3 * v] - c.position.x, o.positions[3 * v + 1] - c.position.y,
                                 o.positions[3 * v + 2] - c.position.z};
            const double depth = d[0] * fwd[0] + d[1] * fwd[1] + d[2] * fwd[2];
            if (depth <= view.nearPlane) {
                b.behind = true;
                continue;
            }
            // Onto the near plane, then across the frustum's window.
            const double x = (d[0] * side[0] + d[1] * side[1] + d[2] * side[2]) * view.nearPlane / depth;
            const double y = (d[0] * up[0] + d[1] * up[1] + d[2] * up[2]) * view.nearPlane / depth;
            const double px = (x - view.left) / (view.right - view.left), py = (y - view.bottom) / (view.top - view.bottom);
            b.left = std::min(b.left, px), b.right = std::max(b.right, px);
            b.bottom = std::min(b.bottom, py), b.top = std::max(b.top, py);
        }
    }
    return b;
}

TEST(TitleFraming, EveryTitleStaysInsideThePictureWithAMarginForItsWholeEntry) {
    ASSERT_TRUE(changeDirectory(ORVO_RESOURCES_DIR));
    const auto spans = featureTextSpans();
    constexpr double MARGIN = 0.03;
    for (int i = 0; i < 5; ++i) {
        OrvoScene scene;
        loadOrvoScene(TITLE_FILES[i], true, scene, true);
        ASSERT_FALSE(scene.objects.empty()) << TITLE_FILES[i];
        const float length = float(spans[size_t(i)].endMs - spans[size_t(i)].startMs) / 1000.0f;
        for (float t = 0.0f; t <= length; t += 1.0f / 24.0f) {
            const Bounds b = letterBounds(scene, t);
            ASSERT_FALSE(b.behind) << TITLE_FILES[i] << " at " << t;
            EXPECT_GE(b.left, MARGIN) << TITLE_FILES[i] << " at " << t << " s: cut on the left";
            EXPECT_LE(b.right, 1 - MARGIN) << TITLE_FILES[i] << " at " << t << " s: cut on the right";
            EXPECT_GE(b.bottom, MARGIN) << TITLE_FILES[i] << " at " << t << " s: cut at the bottom";
            EXPECT_LE(b.top, 1 - MARGIN) << TITLE_FILES[i] << " at " << t << " s: cut at the top";
        }
        // The words still fill a good part of the picture: framing is not bought by shrinking them away.
        const Bounds middle = letterBounds(scene, length * 0.5f);
        EXPECT_GT(middle.right - middle.left, 0.5) << TITLE_FILES[i];
    }
}

}  // namespace
}  // namespace zelFramework::testing
