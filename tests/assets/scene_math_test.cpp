// The scene camera along its path, the object keys and matrices, and the vertex-animation state.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/scene_camera_math.h"
#include "assets/scene_key_math.h"

using namespace zelFramework;

namespace {

OrvoScene cameraPath(int samples) {
    OrvoScene s;
    for (int i = 0; i < samples; ++i) {
        SceneCameraSample c;
        c.position = {float(i), 0, 0};
        c.direction = {0, 0, float(-1 - i)};
        c.up = {0, 1, 0};
        c.fovX = 40 + i;
        c.nearPlane = 2;
        c.farPlane = 1000;
        s.cameraSamples.push_back(c);
    }
    return s;
}

// Applies a column-major matrix to a point.
Float3 transform(const float m[16], Float3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

void expectPoint(Float3 a, Float3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-5);
    EXPECT_NEAR(a.y, b.y, 1e-5);
    EXPECT_NEAR(a.z, b.z, 1e-5);
}

}  // namespace

TEST(SceneCamera, FollowsThePathBlendsBetweenSamplesAndHoldsTheEnds) {
    OrvoScene s = cameraPath(100);
    SceneCameraView v;
    ASSERT_TRUE(evaluateSceneCamera(s, 0.5f, v));  // s = 12.0
    EXPECT_EQ(v.camera.position.x, 12.0f);
    EXPECT_EQ(v.camera.fovX, 52.0f);
    ASSERT_TRUE(evaluateSceneCamera(s, 12.5f / 24, v));
    EXPECT_NEAR(v.camera.position.x, 12.5f, 1e-4);
    EXPECT_NEAR(v.camera.direction.z, -13.5f, 1e-4);
    ASSERT_TRUE(evaluateSceneCamera(s, 10.0f, v));  // past the last sample
    EXPECT_EQ(v.camera.position.x, 99.0f);
    ASSERT_TRUE(evaluateSceneCamera(s, -3.0f, v));  // before the path
    EXPECT_EQ(v.camera.position.x, 0.0f);
    EXPECT_FALSE(evaluateSceneCamera(OrvoScene{}, 1.0f, v));
}

TEST(SceneCamera, UpIsNormalisedAfterBlending) {
    OrvoScene s = cameraPath(3);
    s.cameraSamples[1].up = {1, 0, 0};
    SceneCameraView v;
    ASSERT_TRUE(evaluateSceneCamera(s, 0.5f / 24, v));
    EXPECT_NEAR(v.camera.up.x, std::sqrt(0.5f), 1e-5);
    EXPECT_NEAR(v.camera.up.y, std::sqrt(0.5f), 1e-5);
}

TEST(SceneCamera, ACutIsNotSmoothed) {
    OrvoScene s = cameraPath(10);
    for (int i = 5; i < 10; ++i) s.cameraSamples[i].position.x = 100.0f + i;  // jump between 4 and 5
    SceneCameraView v;
    ASSERT_TRUE(evaluateSceneCamera(s, 4.4f / 24, v));
    EXPECT_EQ(v.camera.position.x, 4.0f);
    EXPECT_EQ(v.camera.fovX, 44.0f);  // the stored sample, nothing blended
    ASSERT_TRUE(evaluateSceneCamera(s, 4.6f / 24, v));
    EXPECT_EQ(v.camera.position.x, 105.0f);
    // At sample 0 there is no step before to compare with: the jump is blended.
    OrvoScene first = cameraPath(3);
    first.cameraSamples[1].position.x = 50;
    ASSERT_TRUE(evaluateSceneCamera(first, 0.5f / 24, v));
    EXPECT_NEAR(v.camera.position.x, 25.0f, 1e-4);
}

TEST(SceneCamera, NearAndFarRulesAndTheFrustum) {
    OrvoScene s = cameraPath(1);
    SceneCameraSample& c = s.cameraSamples[0];
    c.nearPlane = 1.0f;
    c.farPlane = 100;
    c.fovX = 90;
    c.fovY = 60;
    SceneCameraView v;
    ASSERT_TRUE(evaluateSceneCamera(s, 0, v));
    EXPECT_EQ(v.nearPlane, 0.1f);
    EXPECT_EQ(v.farPlane, 500.0f);
    c.nearPlane = 1.5f;
    c.farPlane = 800;
    ASSERT_TRUE(evaluateSceneCamera(s, 0, v));
    EXPECT_EQ(v.nearPlane, 1.5f);
    EXPECT_EQ(v.farPlane, 800.0f);
    const float f = 3.1415f / 180;
    EXPECT_FLOAT_EQ(v.right, 1.5f * std::tan(45 * f));
    EXPECT_FLOAT_EQ(v.left, -v.right);
    EXPECT_FLOAT_EQ(v.top, 1.5f * std::tan(30 * f));
    EXPECT_FLOAT_EQ(v.bottom, -v.top);
    EXPECT_NE(v.right, 1.5f);  // not the full value of pi
}

TEST(SceneKeys, BlendBetweenKeysAndHoldOutsideThem) {
    std::vector<SceneKey> keys(2);
    keys[0].time = 0;
    keys[1].time = 48;
    keys[1].translation = {2, 0, 0};
    keys[0].scalePivot = {5, 5, 5};
    keys[1].scalePivot = {9, 9, 9};
    keys[1].scale = {3, 3, 3};
    keys[1].visible = 0;
    SceneKeyPose p = evaluateSceneKeys(keys, 24 * 1.0f);
    EXPECT_EQ(p.translation.x, 1.0f);
    EXPECT_EQ(p.scale.x, 2.0f);
    EXPECT_EQ(p.scalePivot.x, 5.0f);  // the earlier key's, not blended
    EXPECT_TRUE(p.visible);
    p = evaluateSceneKeys(keys, 24 * 3.0f);
    EXPECT_EQ(p.translation.x, 2.0f);
    EXPECT_FALSE(p.visible);
    p = evaluateSceneKeys(keys, 24 * -1.0f);
    EXPECT_EQ(p.translation.x, 0.0f);
    EXPECT_TRUE(p.visible);
    p = evaluateSceneKeys(keys, 48);
    EXPECT_EQ(p.translation.x, 2.0f);
    EXPECT_FALSE(p.visible);
}

TEST(SceneKeys, MatrixTurnsAboutXThenYThenZAroundThePivots) {
    float m[16];
    SceneKeyPose p;
    p.rotation = {90, 0, 0};  // the first angle turns about Y
    sceneKeyMatrix(p, m);
    expectPoint(transform(m, {1, 0, 0}), {0, 0, -1});
    p.rotation = {0, 90, 0};  // the second about X
    sceneKeyMatrix(p, m);
    expectPoint(transform(m, {0, 1, 0}), {0, 0, 1});
    p.rotation = {0, 0, 90};  // the third about Z
    sceneKeyMatrix(p, m);
    expectPoint(transform(m, {1, 0, 0}), {0, 1, 0});
    p.rotation = {90, 90, 0};  // X first, then Y
    sceneKeyMatrix(p, m);
    expectPoint(transform(m, {0, 1, 0}), {1, 0, 0});

    SceneKeyPose q;
    q.translation = {10, 0, 0};
    q.rotatePivot = {1, 0, 0};
    q.rotation = {0, 0, 180};
    q.scalePivot = {0, 2, 0};
    q.scale = {3, 3, 3};
    sceneKeyMatrix(q, m);
    // Scaling about (0, 2, 0) keeps that point; rotating about (1, 0, 0) sends it to (2, -2, 0).
    expectPoint(transform(m, {0, 2, 0}), {12, -2, 0});
    expectPoint(transform(m, {0, 3, 0}), {12, -5, 0});
}

TEST(SceneVertexAnimation, ShowsFirstWorkingAndLastFramesByTime) {
    std::vector<float> three{0, 10, 20};
    EXPECT_EQ(vertexAnimationAt(three, -5).source, SceneMeshSource::StaticFirstFrame);
    EXPECT_EQ(vertexAnimationAt(three, 0).source, SceneMeshSource::StaticFirstFrame);
    VertexAnimationStep a = vertexAnimationAt(three, 5);
    EXPECT_EQ(a.source, SceneMeshSource::Working);
    EXPECT_EQ(a.frame, 1u);
    EXPECT_EQ(vertexAnimationAt(three, 15).frame, 1u);  // the last frame counts as its own target
    EXPECT_EQ(vertexAnimationAt(three, 20).source, SceneMeshSource::Working);
    a = vertexAnimationAt(three, 20.5f);
    EXPECT_EQ(a.source, SceneMeshSource::StaticLastFrame);
    EXPECT_EQ(a.frame, 2u);
    std::vector<float> four{0, 10, 20, 30};
    EXPECT_EQ(vertexAnimationAt(four, 10).frame, 1u);
    EXPECT_EQ(vertexAnimationAt(four, 15).frame, 2u);
    EXPECT_EQ(vertexAnimationAt(four, 25).frame, 2u);
    EXPECT_EQ(vertexAnimationAt({5}, 50).source, SceneMeshSource::StaticFirstFrame);
    EXPECT_EQ(vertexAnimationAt({}, 50).source, SceneMeshSource::StaticFirstFrame);
}
