// Preparing a loaded scene for drawing, applying its camera, and drawing it as one model of the
// render engine.
#pragma once

#include <GL/glew.h>

#include "assets/orvo_scene.h"
#include "assets/scene_bounds.h"

namespace zelFramework {

// Stands for "no program": geometry is drawn without any uniform being sent.
constexpr GLuint NO_SCENE_PROGRAM = 0xFFFFFFFFu;

// Makes the vertex buffers and finds the textures of an object and, once each, of everything below it.
// Diffuse maps load with clamp-to-edge; a light map that cannot be loaded falls back to the
// "<diffuseMap>.light" companion picture, and anything missing to the white texture. Set 1 of the
// buffers holds the first frame; an object with a vertex animation gets set 2 holding its last frame
// and working copies that follow the animation.
void prepareSceneObject(SceneObject& object);

// Sets the projection (glFrustum) and the view (gluLookAt) from the camera path at `time` seconds,
// each only when the scene's flag asks for it; without the view flag the current matrix is moved by
// minus the camera position instead. A scene without camera samples leaves every matrix alone.
void applySceneCamera(OrvoScene& scene, float time);

// Draws the tree from object 0 at `time` seconds for the opaque pass: applies the scene camera first
// unless `cameraAlreadySet`, sends "viewMatrix" and each object's material uniforms to `program`
// (none with NO_SCENE_PROGRAM), and leaves the matrices as it found them. With `inView`, an object
// whose bounds it rules out is not drawn (its subtree still is: children move on their own).
void drawScene(OrvoScene& scene, GLuint program, bool cameraAlreadySet, float time,
               SphereInViewTest inView = nullptr);

// One object and its subtree, from the current modelview matrix.
void drawSceneObject(SceneObject& object, GLuint program, float time, SphereInViewTest inView = nullptr);

}  // namespace zelFramework
