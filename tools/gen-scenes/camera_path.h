// Camera paths as shots of a few keys each. Inside a shot the eye and the look-at point follow a
// Catmull-Rom spline through the keys, so the motion is smooth; between shots the camera jumps,
// which the scene camera recognises as a cut (a step more than twice the step before) and shows
// without blending. Samples are taken 24 times a second, sample i at time i / 24.
#pragma once

#include <vector>

#include "assets/orvo_scene.h"
#include "geometry.h"

namespace zelFramework::scenegen {

constexpr float kSamplesPerSecond = 24.0f;
constexpr float kShowAspect = 2.28f;

struct CameraKey {
    float time = 0;  // seconds of scene time
    Vec3 eye;
    Vec3 target;
    float fovY = 32;  // degrees
    float roll = 0;   // degrees about the view axis
};

struct Shot {
    std::vector<CameraKey> keys;  // increasing time; the shot runs from its first key to the next shot
};

struct CameraLens {
    float nearPlane = 1;
    float farPlane = 1000;
};

// Horizontal field of view that matches fovY on the show's 2.28:1 picture.
float horizontalFov(float fovY);

// Eye, target, field of view and roll of a shot at time t (clamped to its keys).
CameraKey evaluateShot(const Shot& shot, float t);

// Samples 0 .. ceil(duration x 24) of the shots. Every time belongs to the last shot that has begun
// (the first shot also covers anything before it).
std::vector<SceneCameraSample> sampleCameraPath(const std::vector<Shot>& shots, float duration, CameraLens lens);

// Samples the scene camera shows without blending from the one before (the cut rule: the step to
// sample i is more than twice the step before it). Used to check that cuts fall only where meant.
std::vector<size_t> findCameraCuts(const std::vector<SceneCameraSample>& samples);

}  // namespace zelFramework::scenegen
