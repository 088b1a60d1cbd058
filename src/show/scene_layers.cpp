#include "show/scene_layers.h"

#include <algorithm>

#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "renderengine/renderer.h"
#include "show/layer_gl.h"
#include "show/renderer_access.h"
#include "sync/controller_set.h"

namespace zelFramework {

namespace {

const LightPlacement INTRO_LIGHTS[] = {
    {"light-cam-2", {0.098f, 14.963f, -7.242f}, {1.0f, 1.0f, 1.0f}, 10.0f},
    {"light-cam-3", {6.559f, 1.772f, 2.484f}, {0.5f, 0.5f, 0.5f}, 10.0f},
    {"light-cam-4", {-7.452f, 12.176f, 1.322f}, {1.0f, 1.0f, 1.0f}, 10.0f},
};

const LightPlacement ARENA_LIGHTS[] = {
    {"test1", {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, 600.0f},
    {"test2", {-400.0f, -300.0f, 0.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
    {"test3", {400.0f, -300.0f, 0.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
    {"test4", {0.0f, -300.0f, 400.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
    {"test5", {-400.0f, 300.0f, 0.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
    {"test6", {400.0f, 300.0f, 0.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
    {"test7", {0.0f, 300.0f, 400.0f}, {1.0f, 1.0f, 1.2f}, 600.0f},
};

const LightPlacement TEXT_LIGHTS[] = {
    {"l1", {40.0f, 50.0f, -100.0f}, {1.6f, 1.6f, 1.6f}, 800.0f},
    {"l2", {0.0f, 400.0f, 2000.0f}, {1.3f, 1.3f, 1.3f}, 2000.0f},
    {"l3", {1000.0f, 400.0f, 500.0f}, {0.8f, 0.8f, 0.8f}, 3000.0f},
    {"l4", {1000.0f, -400.0f, 0.0f}, {1.8f, 1.2f, 1.5f}, 1200.0f},
};

}  // namespace

float introLightIntensity(float t) {
    const float c = std::clamp(1.0f - t / 5.0f, 0.0f, 1.0f);
    return 1.0f + 3.0f * c;
}

IntroLook introLook(float dofOffset, float dofRadius, float glowIntensity) {
    return {dofOffset * 5.0f, 0.01f, dofRadius * 1.5f, 1.5f - dofRadius * 1.3f, 1.0f, glowIntensity * 80.0f};
}

// ---- intro ----

bool Layer_Intro::init(GL_TextureManager* textures, ControllerSet* controllers) {
    finalTarget = findFinalTarget();
    renderer = new RenderEngine::Renderer(textures, reflectionPicture(), 1.0f, 0xE1);
    renderer->addOrvoScene("intro", "intro-005.orvo");
    renderer->cameraPreset = false;
    renderer->cameraObjectName.clear();
    // Depth of field and glow follow the controllers every frame (render).
    renderer->aoRadius = 0.000001f;
    renderer->aoStrength = 0.0f;
    renderer->aoExponent = 1.0f;
    renderer->radialLightFactor = 0.0f;
    addLights(*renderer, INTRO_LIGHTS);
    dofOffset = controllers->get("RE:DOF Offset");
    dofRadius = controllers->get("RE:DOF Radius");
    glowAmount = controllers->get("RE:Glow Intensity");
    return true;
}

void Layer_Intro::setTime(const LayerTime& t) {
    time = t.time;
    delta = t.delta;
}

void Layer_Intro::render() {
    const IntroLook look = introLook(valueOf(dofOffset), valueOf(dofRadius), valueOf(glowAmount));
    renderer->dofFocusBackShift = look.dofFocusBackShift;
    renderer->dofFocusFalloff = look.dofFocusFalloff;
    renderer->dofFocusRadius = look.dofFocusRadius;
    renderer->dofFocusQuality = look.dofFocusQuality;
    renderer->glowRadius = look.glowRadius;
    renderer->glowIntensity = look.glowIntensity;
    renderer->lightIntensity = introLightIntensity(time);
    renderer->renderFrame(time, delta);
    drawSceneryIntoFinal(*renderer, finalTarget);
}

// ---- arena tunnel ----

bool Layer_TunnelArena::init(GL_TextureManager* textures, ControllerSet* controllers) {
    dofOffset = controllers->get("RE:DOF Offset");
    dofRadius = controllers->get("RE:DOF Radius");
    glowRadius = controllers->get("RE:Glow Radius");
    glowAmount = controllers->get("RE:Glow Intensity");
    finalTarget = findFinalTarget();
    renderer = new RenderEngine::Renderer(textures, nullptr, 1.0f, 0xE1);
    renderer->addOrvoScene("tunnel", "ArenaTunnel.orvo");
    renderer->aoRadius = 0.03f;
    renderer->aoStrength = 0.5f;
    renderer->aoExponent = 1.0f;
    // This scene's focus is fixed; only the glow follows its controllers.
    renderer->dofFocusFalloff = 4.0f;
    renderer->prepareFocusFalloff(renderer->dofFocusFalloff);
    renderer->dofFocusBackShift = 0.8f;
    renderer->dofFocusRadius = 3.5f;
    renderer->dofFocusQuality = 2.0f;
    addLights(*renderer, ARENA_LIGHTS);
    return true;
}

void Layer_TunnelArena::setTime(const LayerTime& t) {
    time = t.time - t.start;
    delta = t.delta;
}

void Layer_TunnelArena::render() {
    renderer->glowIntensity = valueOf(glowAmount) * 5.0f;
    renderer->glowRadius = valueOf(glowRadius) * 5.0f;
    renderer->renderFrame(time, delta);
    drawSceneryIntoFinal(*renderer, finalTarget);
}

// ---- titles ----

bool Layer_Text::init(GL_TextureManager* textures, ControllerSet* /*controllers*/) {
    finalTarget = findFinalTarget();
    renderer = new RenderEngine::Renderer(textures, reflectionPicture(), 1.0f, 0x141);
    const float bottom[3] = {23.0f / 255.0f, 23.0f / 255.0f, 30.0f / 255.0f};
    std::copy(bottom, bottom + 3, renderer->gradientBottomColor);
    std::fill(renderer->gradientTopColor, renderer->gradientTopColor + 3, 0.0f);
    renderer->backgroundGradient = true;
    renderer->addOrvoScene("text", sceneFile);
    renderer->cameraObjectName.clear();
    renderer->cameraPreset = false;
    renderer->aoRadius = 0.01f;
    renderer->aoStrength = 1.0f;
    renderer->radialLightFactor = 0.0f;
    addLights(*renderer, TEXT_LIGHTS);
    return true;
}

void Layer_Text::setTime(const LayerTime& t) {
    time = t.time - t.start;
    delta = t.delta;
}

void Layer_Text::render() {
    renderer->renderFrame(time, delta);
    drawSceneryIntoFinal(*renderer, finalTarget);
}

}  // namespace zelFramework
