// The closing scene: a camera flies down a tunnel past twelve television stands showing layered
// pictures and a live oscilloscope; later eight flickering lights and camera cuts follow the hand-
// timed flash moments, and a controller can pull the view over to a retro computer screen.
#pragma once

#include "gl/fbo_texture.h"
#include "runtime/layer_base.h"
#include "show/tunnel_logic.h"

namespace RenderEngine {
class Renderer;
struct Light;
struct RenderObject;
}

namespace zelFramework {

struct Controller;
class GL_Texture;

class Layer_Tunnel : public Layer_Base {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    // The scene and the stands go into the cleared picture; its other targets are its own.
    bool replacesPicture() const override { return true; }
    void release() override {}

    RenderEngine::Renderer* sceneRenderer() const { return renderer; }
    int currentCut() const { return cameraCut; }
    const TunnelFlicker& flickerState() const { return flicker; }

private:
    float localTime = 0.0f;
    float delta = 0.0f;
    float time = 0.0f;
    float start = 124.19f;
    RenderEngine::Renderer* renderer = nullptr;  // kept for the life of the process
    // Found once after loading; the renderer keeps its records for its whole life.
    RenderEngine::Light* lights[TUNNEL_LIGHTS] = {};  // l1 .. l8
    RenderEngine::RenderObject* logo = nullptr;
    Controller* zoom = nullptr;
    GL_FBOTexture* finalTarget = nullptr;
    GL_FBOTexture scopeTarget;
    Controller* dofOffset = nullptr;
    Controller* dofRadius = nullptr;
    Controller* goToC64 = nullptr;
    GL_Texture* standBackground = nullptr;
    GL_Texture* standImages[TUNNEL_STANDS][2] = {};
    GL_Texture* tvImages[5] = {};
    GL_Texture* tvScreen = nullptr;
    GLuint tvScreenOwnPicture = 0;  // the scene's own picture, shown again when playing from before the swap

    int cameraCut = 2;
    TunnelFlicker flicker;
    bool spaceHeld = false;

    void setLights(float c);
    void drawScope();
    void showTvImage();
    TunnelView cameraView();
    void recordFlash();
    void drawStands(float standBlend);
};

}  // namespace zelFramework
