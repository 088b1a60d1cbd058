// A whole ".orvo" scene drawn as one model of the renderer.
#pragma once

#include <GL/glew.h>

#include "assets/model_renderer.h"
#include "assets/orvo_scene.h"

namespace RenderEngine {

struct Orvo_WrapModelRender : public zelFramework::ModelRenderer {
    float time = 0.0f;  // scene time in seconds; the renderer sets it before each draw
    zelFramework::OrvoScene scene;

    Orvo_WrapModelRender() = default;
    Orvo_WrapModelRender(const Orvo_WrapModelRender&) = delete;
    Orvo_WrapModelRender& operator=(const Orvo_WrapModelRender&) = delete;
    // Leaves the reload registry, which may still name the scene's file.
    ~Orvo_WrapModelRender() override;

    // Draws the scene with `program`; unless `cameraAlreadySet`, the scene's own animated camera is
    // applied at `time` first. Objects wholly outside the view are not sent to the driver.
    void render(GLuint program, bool cameraAlreadySet) override;
};

}  // namespace RenderEngine
