// The scene camera along its path, the object keys and matrices, and the vertex-animation state.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/scene_camera_math.h"
#include "assets/scene_key_math.h"

using namespace zelFramework;

namespace {

// Sample i stands at x = i, looks down -z with length 1 + i and has a horizontal field of 40 + i.
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

SceneCameraSample cameraAt(const OrvoScene& s, float seconds) {
    SceneCameraView v;
    EXPECT_TRUE(evaluateSceneCamera(s, seconds, v)) << seconds;
    return v.camera;
}

// Applies a column-major matrix to a point.
void expectTransformed(const float m[16], Float3 p, Float3 expected) {
    EXPECT_NEAR(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], expected.x, 1e-5);
    EXPECT_NEAR(m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13], expected.y, 1e-5);
    EXPECT_NEAR(m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], expected.z, 1e-5);
}

}  // namespace

TEST(SceneCamera, FollowsThePathBlendsBetweenSamplesAndHoldsTheEnds) {
    OrvoScene s = cameraPath(100);
    EXPECT_EQ(cameraAt(s, 0.5f).position.x, 12.0f);  // 24 samples a second
    EXPECT_EQ(cameraAt(s, 0.5f).fovX, 52.0f);
    EXPECT_NEAR(cameraAt(s, 12.5f / 24).position.x, 12.5f, 1e-4);
    EXPECT_NEAR(cameraAt(s, 12.5f / 24).direction.z, -13.5f, 1e-4);
    EXPECT_EQ(cameraAt(s, 10.0f).position.x, 99.0f);  // past the last sample
    EXPECT_EQ(cameraAt(s, -3.0f).position.x, 0.0f);   // before the path
    SceneCameraView v;
    EXPECT_FALSE(evaluateSceneCamera(OrvoScene{}, 1.0f, v));

    // Up is normalised after blending.
    OrvoScene turning = cameraPath(3);
    turning.cameraSamples[1].up = {1, 0, 0};
    EXPECT_NEAR(cameraAt(turning, 0.5f / 24).up.x, std::sqrt(0.5f), 1e-5);
    EXPECT_NEAR(cameraAt(turning, 0.5f / 24).up.y, std::sqrt(0.5f), 1e-5);
}

TEST(SceneCamera, ACutIsNotSmoothed) {
    OrvoScene s = cameraPath(10);
    for (int i = 5; i < 10; ++i) s.cameraSamples[i].position.x = 100.0f + i;  // jump between 4 and 5
    EXPECT_EQ(cameraAt(s, 4.4f / 24).position.x, 4.0f);
    EXPECT_EQ(cameraAt(s, 4.4f / 24).fovX, 44.0f);  // the stored sample, nothing blended
    EXPECT_EQ(cameraAt(s, 4.6f / 24).position.x, 105.0f);
    // At sample 0 there is no step before to compare with: the jump is blended.
    OrvoScene first = cameraPath(3);
    first.cameraSamples[1].position.x = 50;
    EXPECT_NEAR(cameraAt(first, 0.5f / 24).position.x, 25.0f, 1e-4);
}

TEST(SceneCamera, NearAndFarRulesAndTheFrustum) {
    OrvoScene s = cameraPath(1);
    SceneCameraSample& c = s.cameraSamples[0];
    c.fovX = 90;
    c.fovY = 60;
    struct Case {
        float nearIn, farIn, nearOut, farOut;
    } cases[] = {{1.0f, 100, 0.1f, 500}, {1.5f, 800, 1.5f, 800}};
    SceneCameraView v;
    for (const Case& k : cases) {
        c.nearPlane = k.nearIn;
        c.farPlane = k.farIn;
        ASSERT_TRUE(evaluateSceneCamera(s, 0, v));
        EXPECT_EQ(v.nearPlane, k.nearOut) << k.nearIn;
        EXPECT_EQ(v.farPlane, k.farOut) << k.farIn;
    }
    // The half-angles use 3.1415, not the full value of pi.
    const float f = 3.1415f / 180;
    EXPECT_FLOAT_EQ(v.right, 1.5f * std::tan(45 * f));
    EXPECT_NE(v.right, 1.5f);
    EXPECT_FLOAT_EQ(v.left, -v.right);
    EXPECT_FLOAT_EQ(v.top, 1.5f * std::tan(30 * f));
    EXPECT_FLOAT_EQ(v.bottom, -v.top);
}

TEST(SceneKeys, BlendBetweenKeysAndHoldOutsideThem) {
    std::vector<SceneKey> keys(2);
    keys[1].time = 48;
    keys[1].translation = {2, 0, 0};
    keys[0].scalePivot = {5, 5, 5};
    keys[1].scalePivot = {9, 9, 9};
    keys[1].scale = {3, 3, 3};
    keys[1].visible = 0;
    struct Case {
        float frame, x, scale, pivot;
        bool visible;
    } cases[] = {
        {24, 1, 2, 5, true},  // pivots and visibility are the earlier key's, not blended
        {72, 2, 3, 9, false},
        {-24, 0, 1, 5, true},
        {48, 2, 3, 9, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        SceneKeyPose p = evaluateSceneKeys(keys, c.frame);
        EXPECT_EQ(p.translation.x, c.x);
        EXPECT_EQ(p.scale.x, c.scale);
        EXPECT_EQ(p.scalePivot.x, c.pivot);
        EXPECT_EQ(p.visible, c.visible);
    }
}

TEST(SceneKeys, MatrixTurnsAboutXThenYThenZAroundThePivots) {
    struct Case {
        Float3 rotation, point, expected;
    } cases[] = {
        {{90, 0, 0}, {1, 0, 0}, {0, 0, -1}},  // the first angle turns about Y
        {{0, 90, 0}, {0, 1, 0}, {0, 0, 1}},   // the second about X
        {{0, 0, 90}, {1, 0, 0}, {0, 1, 0}},   // the third about Z
        {{90, 90, 0}, {0, 1, 0}, {1, 0, 0}},  // X first, then Y
    };
    float m[16];
    for (const Case& c : cases) {
        SceneKeyPose p;
        p.rotation = c.rotation;
        sceneKeyMatrix(p, m);
        expectTransformed(m, c.point, c.expected);
    }
    SceneKeyPose q;
    q.translation = {10, 0, 0};
    q.rotatePivot = {1, 0, 0};
    q.rotation = {0, 0, 180};
    q.scalePivot = {0, 2, 0};
    q.scale = {3, 3, 3};
    sceneKeyMatrix(q, m);
    // Scaling about (0, 2, 0) keeps that point; rotating about (1, 0, 0) sends it to (2, -2, 0).
    expectTransformed(m, {0, 2, 0}, {12, -2, 0});
    expectTransformed(m, {0, 3, 0}, {12, -5, 0});
}

TEST(SceneVertexAnimation, ShowsFirstWorkingAndLastFramesByTime) {
    const std::vector<float> three{0, 10, 20}, four{0, 10, 20, 30};
    using S = SceneMeshSource;
    struct Case {
        const std::vector<float>* times;
        float frame;
        SceneMeshSource source;
        uint32_t target;
    } cases[] = {
        {&three, -5, S::StaticFirstFrame, 0}, {&three, 0, S::StaticFirstFrame, 0}, {&three, 5, S::Working, 1},
        {&three, 15, S::Working, 1},  // the last frame counts as its own target
        {&three, 20, S::Working, 1},          {&three, 20.5f, S::StaticLastFrame, 2},
        {&four, 10, S::Working, 1},           {&four, 15, S::Working, 2},          {&four, 25, S::Working, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.times->size() << " frames at " << c.frame);
        VertexAnimationStep step = vertexAnimationAt(*c.times, c.frame);
        EXPECT_EQ(step.source, c.source);
        if (c.source != S::StaticFirstFrame) {
            EXPECT_EQ(step.frame, c.target);
        }
    }
    EXPECT_EQ(vertexAnimationAt({5}, 50).source, S::StaticFirstFrame);
    EXPECT_EQ(vertexAnimationAt({}, 50).source, S::StaticFirstFrame);
}
