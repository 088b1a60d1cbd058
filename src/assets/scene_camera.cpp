#include "assets/scene_draw.h"  // GLEW first: it must come before any other GL header

#include <GL/glu.h>

#include "assets/scene_camera_math.h"

namespace zelFramework {

void applySceneCamera(OrvoScene& scene, float time) {
    SceneCameraView view;
    if (!evaluateSceneCamera(scene, time, view)) return;  // no path, no camera
    const SceneCameraSample& c = view.camera;
    if (scene.setProjection) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(view.left, view.right, view.bottom, view.top, view.nearPlane, view.farPlane);
    }
    if (scene.setView) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(c.position.x, c.position.y, c.position.z, c.position.x + c.direction.x,
                  c.position.y + c.direction.y, c.position.z + c.direction.z, c.up.x, c.up.y, c.up.z);
    } else {
        glTranslatef(-c.position.x, -c.position.y, -c.position.z);
    }
}

}  // namespace zelFramework
