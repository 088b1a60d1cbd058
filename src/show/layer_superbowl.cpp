#include "show/layer_superbowl.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "app/screen_metrics.h"
#include "app/trace.h"
#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "renderengine/renderer.h"
#include "show/layer_gl.h"
#include "show/renderer_access.h"
#include "sync/controller_set.h"

namespace zelFramework {

namespace {

struct CharacterPlacement {
    const char* object;
    const char* file;
    float position[3];
    float angle;
};

const CharacterPlacement CHARACTERS[] = {
    {"pimsel", "pimsel.obj", {25.701f, -3185.013f, -1464.59f}, 0.0f},
    {"tabor", "tabor.obj", {-25.701f, -3177.013f, -1484.59f}, 15.0f},
};

const LightPlacement LIGHTS[] = {
    {"studioLight", {175.476f, -3180.013f, -1383.365f}, {0.0f, 0.0f, 0.0f}, 450.0f},
    {"l1", {-400.0f, -2500.0f, -400.0f}, {0.55f, 0.5f, 0.5f}, 1800.0f},
    {"l2", {400.0f, -2500.0f, -400.0f}, {0.55f, 0.5f, 0.5f}, 1800.0f},
    {"l3", {0.0f, -2500.0f, 400.0f}, {0.5f, 0.5f, 0.5f}, 1800.0f},
    {"l4", {-400.0f, -4000.0f, 400.0f}, {0.5f, 0.5f, 0.5f}, 1800.0f},
    {"l5", {400.0f, -4000.0f, 400.0f}, {0.5f, 0.5f, 0.5f}, 1800.0f},
    {"l6", {0.0f, -4000.0f, -400.0f}, {0.5f, 0.5f, 0.5f}, 1800.0f},
    {"l7", {0.0f, -3500.0f, 0.0f}, {0.9f, 0.8f, 0.8f}, 800.0f},
};

// The stand lights l1 .. l7 follow the studio light in LIGHTS; they fade from their placed colours.
constexpr int FIRST_STAND_LIGHT = 1;

// The video frames are the hosts' texture: the clip on the shirt front (left square) beside the cloth
// ramps. In the closest shots the clip is drawn at most about 70 % of the picture height, so the
// frames are kept no taller than that (and twice as wide); at 1280 x 561 and above they keep their size.
PictureFit videoFrameFit() {
    const int height = int(std::ceil(0.7f * float(renderHeight)));
    return {2 * height, height};
}

}  // namespace

bool Layer_Superbowl::init(GL_TextureManager* textures, ControllerSet* controllers) {
    glowRadius = controllers->get("RE:Glow Radius");
    glowAmount = controllers->get("RE:Glow Intensity");
    fadeOutLights = controllers->get("FadeOutLights");
    finalTarget = findFinalTarget();

    renderer = new RenderEngine::Renderer(textures, reflectionPicture(), 1.0f, 0x1C1);
    renderer->addOrvoScene("bowl", "Vexil2000.orvo");
    renderer->radialLightFactor = 1.0f;
    // The flashes across the stands are seen from far off: each stays at least a small spark of
    // about 4 % of the picture's height wide, at 640 x 280 as at 1920 x 842.
    renderer->flareMinimumScreenSize = 0.02f;
    renderer->cameraObjectName = "bowl";
    renderer->cameraPreset = false;
    if (RenderEngine::RenderObject* bowl = findObject(*renderer, "bowl")) bowl->diffuseAddFactor = 0.01f;

    openVideo();
    addCharacters(textures);
    addLights(*renderer, LIGHTS);
    studioLight = findLight(*renderer, "studioLight");
    for (int i = 0; i < STAND_LIGHT_COUNT; ++i)
        standLights[i] = findLight(*renderer, LIGHTS[FIRST_STAND_LIGHT + i].name);
    for (int i = 0; i < 2; ++i) characters[i] = findObject(*renderer, CHARACTERS[i].object);
    dofDistance = controllers->get("RE: Dof Distance");

    flashTable();  // read now, so a missing table is reported while loading
    return true;
}

// One frame decoded at a time, as the video reaches it (ten a second).
void Layer_Superbowl::openVideo() { video.open(stadiumVideoFiles(), videoFrameFit(), GL_REPEAT, GL_REPEAT); }

void Layer_Superbowl::addCharacters(GL_TextureManager* /*textures*/) {
    GL_Texture* firstImage = video.texture();
    for (const CharacterPlacement& c : CHARACTERS) {
        // Without its model the character is simply not there; one line says why.
        if (!assetFileExists(c.file) && !assetFileExists(std::string(c.file) + ".bin")) {
            trace(TRACE_WARNING, "stadium", "model %s not found; %s is left out", c.file, c.object);
            continue;
        }
        renderer->addObjModel(c.object, c.file, firstImage, "white.jpg");
        RenderEngine::RenderObject* o = findObject(*renderer, c.object);
        for (int i = 0; i < 3; ++i) o->position[i] = c.position[i];
        o->rotationAngle = c.angle;
        o->rotationAxis[0] = 0.0f;
        o->rotationAxis[1] = 1.0f;
        o->rotationAxis[2] = 0.0f;
        o->scale = 40.0f;
        o->lightInfluence = 0.0f;
        o->visible = false;
    }
}

void Layer_Superbowl::setTime(const LayerTime& t) {
    sceneTime = t.time - float(startMs) / 1000.0f;
    showTime = t.time;
    delta = t.delta;
}

void Layer_Superbowl::fadeStandLights(float fade) {
    for (int i = 0; i < STAND_LIGHT_COUNT; ++i) {
        const float f = stadiumLightFactor(i, fade);
        const float* placed = LIGHTS[FIRST_STAND_LIGHT + i].colour;
        setColour(standLights[i], placed[0] * f, placed[1] * f, placed[2] * f);
    }
    // While the characters are shown the last stand light lights them with a short reach; it gets its
    // placed reach back here.
    RenderEngine::Light* l7 = standLights[STAND_LIGHT_COUNT - 1];
    if (l7) l7->falloffDistance = LIGHTS[FIRST_STAND_LIGHT + STAND_LIGHT_COUNT - 1].falloff;
}

void Layer_Superbowl::updateLights() {
    const float fade = valueOf(fadeOutLights);
    switch (studioPhase(showTime)) {
    case StudioPhase::Characters: {
        for (RenderEngine::RenderObject* o : characters)
            if (o) o->visible = true;
        setColour(studioLight, 0.8f, 0.8f, 1.0f);
        RenderEngine::Light* l7 = standLights[STAND_LIGHT_COUNT - 1];
        setPosition(l7, 175.476f, -3180.013f, -1523.365f);
        if (l7) l7->falloffDistance = 450.0f;
        return;
    }
    case StudioPhase::LightsOut: {
        renderer->flares.clear();
        setPosition(studioLight, 0.0f, -3200.0f, 0.0f);
        const auto c = studioPulseColour(sceneTime, fade);
        setColour(studioLight, c[0], c[1], c[2]);
        fadeStandLights(fade);
        return;
    }
    case StudioPhase::Stands:
        fadeStandLights(fade);
        return;
    }
}

void Layer_Superbowl::updateVideo() {
    const int image = stadiumVideoImage(showTime);
    if (image == 0) return;
    video.show(stadiumVideoFileIndex(image));
}

void Layer_Superbowl::render() {
    stadiumFlashes(sceneTime, flashTable(), renderer->flares);
    updateLights();
    renderer->glowIntensity = valueOf(glowAmount) * 3.0f;
    renderer->glowRadius = valueOf(glowRadius) * 1.5f;
    updateVideo();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 2.28, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    renderer->renderFrame(sceneTime, delta);

    drawSceneryIntoFinal(*renderer, finalTarget);
    glDisable(GL_BLEND);
}

}  // namespace zelFramework
