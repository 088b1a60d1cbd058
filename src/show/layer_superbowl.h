// The stadium: the show's main scene, with the scene's animated camera, camera flashes across the
// stands, seven stand lights that go out one by one, a studio light that follows the show's phases
// and two characters whose surface plays a numbered picture sequence. Its scene time keeps running
// from its own fixed start across the interruptions by the title scenes.
#pragma once

#include <cstdint>

#include "gl/picture_sequence.h"
#include "runtime/layer_base.h"
#include "show/superbowl_logic.h"

namespace RenderEngine {
class Renderer;
struct Light;
struct RenderObject;
}

namespace zelFramework {

struct Controller;
class GL_FBOTexture;
class GL_Texture;

class Layer_Superbowl : public Layer_Base {
public:
    explicit Layer_Superbowl(uint32_t startMs) : startMs(startMs) {}

    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    // The scene goes into the cleared picture; its other targets are its own.
    bool replacesPicture() const override { return true; }
    void release() override {}

    RenderEngine::Renderer* sceneRenderer() const { return renderer; }
    float sceneSeconds() const { return sceneTime; }

private:
    float sceneTime = 0.0f;
    float showTime = 0.0f;
    float delta = 0.0f;
    uint32_t startMs;
    RenderEngine::Renderer* renderer = nullptr;  // kept for the life of the process
    Controller* dofDistance = nullptr;
    Controller* glowRadius = nullptr;
    Controller* glowAmount = nullptr;
    Controller* fadeOutLights = nullptr;
    GL_PictureSequence video;  // the hosts' texture: the still, then the clip's frames
    // Found once after loading; the renderer keeps its records for its whole life.
    static constexpr int STAND_LIGHT_COUNT = 7;
    RenderEngine::Light* studioLight = nullptr;
    RenderEngine::Light* standLights[STAND_LIGHT_COUNT] = {};  // l1 .. l7
    RenderEngine::RenderObject* characters[2] = {};            // null for a character left out
    GL_FBOTexture* finalTarget = nullptr;

    void openVideo();
    void addCharacters(GL_TextureManager* textures);
    void updateLights();
    void fadeStandLights(float fade);
    void updateVideo();
};

}  // namespace zelFramework
