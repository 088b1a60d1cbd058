#include "show/layer_tunnel.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "platform/platform.h"
#include "renderengine/renderer.h"
#include "show/layer_gl.h"
#include "show/renderer_access.h"
#include "sync/controller_set.h"

namespace zelFramework {

namespace {

const char* const LIGHT_NAMES[TUNNEL_LIGHTS] = {"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8"};
const float LIGHT_DEPTHS[TUNNEL_LIGHTS] = {89.8343f, 72.7316f, 54.5313f, 43.382f,
                                           27.6038f, 5.8723f,  -8.4732f, -24.469f};
const float LIGHT_TINTS[TUNNEL_LIGHTS][3] = {
    {0.95f, 0.95f, 1.0f},     {0.95f, 0.9025f, 0.95f}, {0.95f, 0.95f, 1.0f},     {0.95f, 0.9025f, 0.95f},
    {0.9025f, 0.9025f, 0.95f}, {0.95f, 0.9025f, 0.95f}, {0.95f, 0.95f, 1.0f},     {0.95f, 0.9025f, 0.95f},
};

constexpr float STAND_HALF_WIDTH = 1.77f;
constexpr float STAND_HALF_HEIGHT = 1.0f;
// The depth of field's falloff in the tunnel: fixed, so its programs are built while loading.
constexpr float TUNNEL_FOCUS_FALLOFF = 2.0f;

// One stand layer; pictures are stored top row first, the oscilloscope target bottom row first.
void standQuad(bool topRowFirst) {
    const float top = topRowFirst ? 0.0f : 1.0f;
    const float bottom = 1.0f - top;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, bottom);
    glVertex3f(-STAND_HALF_WIDTH, -STAND_HALF_HEIGHT, 0.0f);
    glTexCoord2f(1.0f, bottom);
    glVertex3f(STAND_HALF_WIDTH, -STAND_HALF_HEIGHT, 0.0f);
    glTexCoord2f(1.0f, top);
    glVertex3f(STAND_HALF_WIDTH, STAND_HALF_HEIGHT, 0.0f);
    glTexCoord2f(0.0f, top);
    glVertex3f(-STAND_HALF_WIDTH, STAND_HALF_HEIGHT, 0.0f);
    glEnd();
}

void standLayer(GL_Texture* picture, bool topRowFirst) {
    if (!bindPicture(picture)) return;
    standQuad(topRowFirst);
    picture->unbind();
}

void line(float x, float y0, float y1) {
    glVertex2f(x, y0);
    glVertex2f(x, y1);
}

}  // namespace

bool Layer_Tunnel::init(GL_TextureManager* textures, ControllerSet* controllers) {
    flicker = TunnelFlicker{};
    scopeTarget.create(1, 8, 1280, 720, GL_RGBA, true);

    // A stand is never drawn larger than the picture area (it fills about two thirds of its width
    // when the camera stops in front of it), so its 1024 x 578 layers are kept at that size: a quarter
    // of their memory and upload time. They fly past at every size below it, so they get mipmaps.
    PictureFit standFit = fullPictureFit();
    standFit.drawnSmaller = true;
    standBackground = GL_TextureManager::getTexture("tv_background_details.png", GL_REPEAT, GL_REPEAT, standFit);
    for (int i = 0; i < 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tvscreen-%d.jpg", i + 1);
        tvImages[i] = GL_TextureManager::getTexture(name, GL_REPEAT, GL_REPEAT);
    }
    tvScreen = GL_TextureManager::getTexture("tvscreen.JPG", GL_REPEAT, GL_REPEAT);
    for (int d = 0; d < TUNNEL_STANDS; ++d) {
        for (int side = 0; side < 2; ++side) {
            char name[32];
            std::snprintf(name, sizeof name, "screen%d_%d.png", d, side);
            standImages[d][side] = GL_TextureManager::getTexture(name, GL_REPEAT, GL_REPEAT, standFit);
        }
    }

    goToC64 = controllers->get("Tunnel goto C64");
    dofOffset = controllers->get("RE:DOF Offset");
    dofRadius = controllers->get("RE:DOF Radius");
    zoom = controllers->get("TNL:Zoom");

    start = 124.19f;
    finalTarget = findFinalTarget();

    renderer = new RenderEngine::Renderer(textures, nullptr, 1.0f, 0x61);
    renderer->addOrvoScene("tunnelwiddy", "tunnel-004.orvo");
    renderer->addOrvoScene("logo", "velmora-logo.orvo");
    renderer->cameraPreset = true;
    renderer->cameraObjectName.clear();
    logo = findObject(*renderer, "logo");
    if (logo) {
        logo->position[0] = 0.0f;
        logo->position[1] = 1.0f;
        logo->position[2] = 89.83f;
        logo->scale = 2.0f;
    }
    renderer->aoRadius = 0.01f;
    renderer->aoStrength = 0.5f;
    renderer->aoExponent = 2.0f;
    renderer->prepareFocusFalloff(TUNNEL_FOCUS_FALLOFF);
    renderer->ambientLightColor[0] = 0.19f;
    renderer->ambientLightColor[1] = 0.18f;
    renderer->ambientLightColor[2] = 0.2f;
    for (int i = 0; i < TUNNEL_LIGHTS; ++i) {
        const float position[3] = {0.0f, 3.5881f, LIGHT_DEPTHS[i]};
        const float white[3] = {1.0f, 1.0f, 1.0f};
        renderer->addLight(LIGHT_NAMES[i], position, white, 80.0f);
        lights[i] = findLight(*renderer, LIGHT_NAMES[i]);
    }
    return true;
}

void Layer_Tunnel::setTime(const LayerTime& t) {
    localTime = t.time - t.start;
    delta = t.delta;
    time = t.time;
    start = t.start;
}

void Layer_Tunnel::setLights(float c) {
    const float s = (1.0f - c) * (1.0f - c);
    for (int i = 0; i < TUNNEL_LIGHTS; ++i) {
        const float k = flicker.levels[size_t(i)] * s;
        setColour(lights[i], k * LIGHT_TINTS[i][0], k * LIGHT_TINTS[i][1], k * LIGHT_TINTS[i][2]);
    }
    if (c > 0.001f) {
        RenderEngine::Light* l1 = lights[0];
        if (!l1) return;
        setPosition(l1, 4.136f, -0.2f, -48.377f);
        const float k = (1.0f - c) * flicker.levels[1];
        setColour(l1, k * 0.95f + c, k * 0.95f + c, k * 1.0f + c);
        l1->falloffDistance = 14.5f;
    }
}

void Layer_Tunnel::drawScope() {
    scopeTarget.begin();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, 1280.0, 720.0, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLineWidth(4.0f);

    glPushMatrix();
    glTranslatef(25.0f, 340.0f, 0.0f);
    glBegin(GL_LINES);
    for (int k = 0; k < 35; ++k) {
        const float x = 8.0f * float(k);
        const float h = scopeColumnHeight(k, localTime);
        glColor3f(0.0f, 0.0f, 1.0f);
        line(x - 1.0f, h, -h);
        glColor3f(1.0f, 1.0f, 1.0f);
        line(x, h, -h);
    }
    glEnd();
    glPopMatrix();

    static const float ROW_Y[4] = {451.0f, 481.0f, 511.0f, 419.0f};
    for (int row = 0; row < 4; ++row) {
        const int lit = scopeLitBars(row, localTime);
        glPushMatrix();
        glTranslatef(25.0f, ROW_Y[row], 0.0f);
        glBegin(GL_LINES);
        for (int i = 0; i <= 28; i += 2) {
            const float x = 8.0f * float(i);
            glColor3f(0.2f, 0.1f, 0.0f);
            line(x - 1.0f, -10.0f, 10.0f);
            if (i < lit) {
                glColor3f(1.0f, 0.0f, 0.0f);
                line(x, -10.0f, 10.0f);
            }
        }
        glEnd();
        glPopMatrix();
    }

    glLineWidth(1.0f);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    scopeTarget.end();
}

void Layer_Tunnel::showTvImage() {
    if (!tvScreen) return;
    const int index = tunnelTvImage(time, localTime);
    GL_Texture* picture = index >= 0 ? tvImages[index] : nullptr;
    // Taken at the first frame, not in init: pictures are uploaded after the layers have loaded.
    if (!tvScreenOwnPicture) tvScreenOwnPicture = tvScreen->textureId;
    tvScreen->textureId = picture ? picture->textureId : tvScreenOwnPicture;
}

void Layer_Tunnel::recordFlash() {
    const bool down = isKeyDown(32);
    if (down && !spaceHeld) {
        char text[64];
        std::snprintf(text, sizeof text, "lightFlash.push_back(%ff);\n", double(time));
        debugOutput(text);
    }
    spaceHeld = down;
}

TunnelView Layer_Tunnel::cameraView() {
    if (time < TUNNEL_SECOND_PART) return tunnelFirstPartView(time, localTime, tunnelPath());
    const float zt = tunnelTargetDepth(time);
    cameraCut = tunnelCameraCut(time, tunnelPath().flashTimes, cameraCut);
    TunnelView view = tunnelSecondPartView(time, localTime, cameraCut);
    if (logo) {
        logo->position[0] = -0.6f;
        logo->position[1] = 1.1f;
        logo->position[2] = zt;
        logo->rotationAxis[0] = 1.0f;
        logo->rotationAxis[1] = 0.0f;
        logo->rotationAxis[2] = 0.0f;
        logo->rotationAngle = -(time - 150.0f) * 82.0f;
    }
    advanceTunnelFlicker(flicker, delta);
    recordFlash();
    return view;
}

void Layer_Tunnel::drawStands(float standBlend) {
    const float a = 1.0f - (1.0f - standBlend) * (1.0f - standBlend);
    const auto& waypoints = tunnelPath().waypoints;
    for (int i = 0; i < TUNNEL_STANDS; ++i) {
        const Vec3f& w = waypoints[size_t(i)];
        glColor3f(1.0f, 0.0f, 0.0f);
        glPointSize(10.0f);
        glPushMatrix();
        glTranslatef(w[0], w[1], w[2]);
        const float turn = i == 9 ? -125.0f : (w[0] < 0.0f ? 90.0f : -90.0f);
        glRotatef(turn, 0.0f, 1.0f, 0.0f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor3f(1.0f, 1.0f, 1.0f);
        standLayer(standBackground, true);
        glTranslatef(0.0f, 0.0f, 0.15f);
        standLayer(&scopeTarget, false);
        glTranslatef(0.0f, 0.0f, 0.18f * a);
        standLayer(standImages[i][0], true);
        glTranslatef(0.0f, 0.0f, 0.3f * a);
        standLayer(standImages[i][1], true);
        glDisable(GL_BLEND);
        glPopMatrix();
    }
    glPointSize(1.0f);
}

void Layer_Tunnel::render() {
    const float c = valueOf(goToC64);
    setLights(c);
    // Only the stands show the oscilloscope; once they are gone its 1280 x 720 picture is not drawn.
    if (time < TUNNEL_STANDS_UNTIL) drawScope();
    showTvImage();

    renderer->dofFocusFalloff = TUNNEL_FOCUS_FALLOFF;
    renderer->dofFocusBackShift = valueOf(dofOffset) * 0.2f - 0.1f;
    renderer->dofFocusQuality = valueOf(dofRadius) + 1.0f;
    renderer->dofFocusRadius = 2.5f - valueOf(dofRadius) * 1.5f;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0 + 20.0 * valueOf(dofOffset) + 15.0 * valueOf(zoom), 2.28, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const TunnelView view = tunnelC64Blend(cameraView(), c);
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2], view.up[0],
              view.up[1], view.up[2]);
    renderer->renderFrame(localTime * 0.2f, delta);

    glColor3f(1.0f, 1.0f, 1.0f);
    beginFinalTarget(finalTarget);
    drawScenery(*renderer);
    glClear(GL_DEPTH_BUFFER_BIT);
    if (time < TUNNEL_STANDS_UNTIL) drawStands(view.standBlend);
    endFinalTarget(finalTarget);
}

}  // namespace zelFramework
