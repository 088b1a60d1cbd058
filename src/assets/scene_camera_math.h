// The scene camera at a given time, as numbers: which sample (or blend of samples) and the frustum.
#pragma once

#include "assets/orvo_scene.h"

namespace zelFramework {

struct SceneCameraView {
    SceneCameraSample camera;  // the stored or blended sample
    float nearPlane = 0.1f, farPlane = 500;
    float left = 0, right = 0, bottom = 0, top = 0;
};

// The camera path at `time` seconds (frame position 24 x time): the last sample past the end, the
// nearer stored sample across a cut (a step more than twice the step before), otherwise the two
// neighbouring samples blended with `up` normalised. Times before the path take its first sample.
// False when the scene has no camera samples.
bool evaluateSceneCamera(const OrvoScene& scene, float time, SceneCameraView& view);

}  // namespace zelFramework
