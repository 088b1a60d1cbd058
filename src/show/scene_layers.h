// The three plain scene layers: each renders one scene file with its own camera through its own
// renderer, with fixed lights, and copies the picture into the shared "finalTarget".
//   Layer_Intro        the opening scene, its light settling from four times over-bright
//   Layer_TunnelArena  the bridge into the stadium
//   Layer_Text         one of the five short 3-D titles between the stadium shots
#pragma once

#include <string>

#include "runtime/layer_base.h"

namespace RenderEngine {
class Renderer;
}

namespace zelFramework {

struct Controller;
class GL_FBOTexture;

// The intro's light intensity at show time t: 4 at 0, falling linearly to 1 at 5 s, then 1.
float introLightIntensity(float t);

// The intro's depth of field and glow from its three controllers.
struct IntroLook {
    float dofFocusBackShift, dofFocusFalloff, dofFocusRadius, dofFocusQuality, glowRadius, glowIntensity;
};
IntroLook introLook(float dofOffset, float dofRadius, float glowIntensity);

class Layer_Intro : public Layer_Base {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    void release() override {}
    RenderEngine::Renderer* sceneRenderer() const { return renderer; }

private:
    float time = 0.0f;
    float delta = 0.0f;
    RenderEngine::Renderer* renderer = nullptr;  // kept for the life of the process
    GL_FBOTexture* finalTarget = nullptr;
    Controller* dofOffset = nullptr;
    Controller* dofRadius = nullptr;
    Controller* glowAmount = nullptr;
};

class Layer_TunnelArena : public Layer_Base {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    void release() override {}
    RenderEngine::Renderer* sceneRenderer() const { return renderer; }
    float localTime() const { return time; }

private:
    float time = 0.0f;
    float delta = 0.0f;
    RenderEngine::Renderer* renderer = nullptr;
    GL_FBOTexture* finalTarget = nullptr;
    Controller* dofOffset = nullptr;  // fetched so that the set has it; this scene's focus is fixed
    Controller* dofRadius = nullptr;
    Controller* glowRadius = nullptr;
    Controller* glowAmount = nullptr;
};

class Layer_Text : public Layer_Base {
public:
    explicit Layer_Text(std::string sceneFile) : sceneFile(std::move(sceneFile)) {}
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    void release() override {}
    RenderEngine::Renderer* sceneRenderer() const { return renderer; }
    const std::string& scene() const { return sceneFile; }

private:
    float time = 0.0f;
    float delta = 0.0f;
    RenderEngine::Renderer* renderer = nullptr;
    std::string sceneFile;
    GL_FBOTexture* finalTarget = nullptr;
};

}  // namespace zelFramework
