// The geometry pass: every visible object of the scene pass into the two-attachment target, with the
// frame's fog and light uniforms, the objects' blend modes, transforms and textures, then the flares.
#include "renderengine/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "assets/model_renderer.h"
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture.h"
#include "renderengine/light_reach.h"
#include "renderengine/texture_units.h"

namespace RenderEngine {

namespace {

// Whether the object is drawn in scene pass `pass` of this frame.
bool drawnInPass(const RenderObject* object, int pass) {
    return object && object->pass == pass && object->visible && !object->excluded;
}

// The object's model at its own placement and at `time`, drawn with `program` in use. `animFactor` is
// the program's blend location: a model without a vertex animation must not inherit the factor the
// previous model left there.
void renderModel(const RenderObject& object, GLuint program, GLint animFactor, float time, bool cameraSet) {
    if (!object.model)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(object.position[0], object.position[1], object.position[2]);
    glScalef(object.scale, object.scale * object.yScale, object.scale);
    glRotatef(object.rotationAngle, object.rotationAxis[0], object.rotationAxis[1], object.rotationAxis[2]);
    if (object.modelTime)
        *object.modelTime = time;
    if (animFactor >= 0)
        glUniform1f(animFactor, 0.0f);
    object.model->render(program, cameraSet);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

}  // namespace

void Renderer::geometryPass(int pass, float time, bool cameraSet) {
    deferredTarget->begin();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (backgroundGradient) {
        glUseProgram(0);
        // Fixed-function drawing would modulate the gradient by whatever pictures are still bound
        // (the previous cube face, the layer's last texture), so the units are emptied first.
        for (int unit = 2; unit >= 0; --unit)
            clearUnit(unit);
        zelFramework::drawVerticalGradient(gradientBottomColor, gradientTopColor);
        glClear(GL_DEPTH_BUFFER_BIT);
    } else {
        glClear(GL_COLOR_BUFFER_BIT);
        glClear(GL_DEPTH_BUFFER_BIT);
    }

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    // With the nearest depth of every pixel known beforehand, each pixel is shaded once, by the
    // surface that shows there, and not once more for every surface drawn over an earlier one. The
    // lighting pass draws every fragment one step of the depth buffer nearer than its depth: the
    // nearest surface at a pixel then passes "less" against what the depth pass left there, and
    // writes a depth that a second surface at exactly the same depth does not pass. So, as without the
    // depth pass, of two coplanar surfaces the one drawn first shows.
    const bool depthKnown = depthPrepass(pass, time, cameraSet);
    if (depthKnown) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(0.0f, -1.0f);
    }
    glUseProgram(prepareShader->programId);
    uploadFrameUniforms();
    uploadLights(cameraSet);
    glUniform3fv(prepareShader->uniformLocation("ambientLightColor"), 1, ambientLightColor);
    drawObjects(pass, time, cameraSet);
    // The flares keep the step too, so that they meet the surfaces' depths as they would without it.
    drawFlares();
    if (depthKnown) {
        glPolygonOffset(0.0f, 0.0f);
        glDisable(GL_POLYGON_OFFSET_FILL);
    }

    glDepthMask(GL_TRUE);
    if (flareTexture)
        flareTexture->unbind();
    glDisable(GL_BLEND);
    deferredTarget->end();
}

// The opaque objects' depth alone, through a program that runs the geometry pass's own vertex stage
// (so the depths match to the bit) and shades nothing. The lighting pass then finds every hidden
// fragment rejected before its shading. Blended objects write no depth and stay out. False where
// the program is missing: then the pass draws as it always did.
bool Renderer::depthPrepass(int pass, float time, bool cameraSet) {
    if (!depthOnlyShader->isValid || !prepareShader->isValid)
        return false;
    // A scene sets its camera's projection as it is drawn; the lighting pass must find the projection
    // that the objects before it had, as it would without this pass.
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glUseProgram(depthOnlyShader->programId);
    const GLint animFactor = glGetUniformLocation(depthOnlyShader->programId, "animFactor");
    for (const auto& [name, object] : objects)
        if (drawnInPass(object, pass) && object->blendMode == 0)
            renderModel(*object, depthOnlyShader->programId, animFactor, time, cameraSet);
    glUseProgram(0);
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    return true;
}

void Renderer::uploadFrameUniforms() {
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glUniformMatrix4fv(prepareShader->uniformLocation("viewMatrix"), 1, GL_FALSE, view);
    glUniform3fv(prepareShader->uniformLocation("fogColor"), 1, fogColor);
    glUniform1f(prepareShader->uniformLocation("fogDistance"), fogDistance);
    glUniform1f(prepareShader->uniformLocation("fogStart"), fogStart);
    glUniform1f(prepareShader->uniformLocation("aoEnable"), 1.0f);
    glUniform1f(prepareShader->uniformLocation("glowIntensity"), 0.0f);
    glUniform1f(prepareShader->uniformLocation("lightIntensity"), lightIntensity);
    glUniform1f(prepareShader->uniformLocation("radialLightFactor"), radialLightFactor);
}

namespace {

struct LightUniformNames {
    char position[32];
    char color[32];
    char falloffDistance[40];
};

// The uniform names of light slot `index`, formatted once: they are the same every frame.
const LightUniformNames& lightUniformNames(int index) {
    static const std::array<LightUniformNames, MAX_UPLOADED_LIGHTS> names = [] {
        std::array<LightUniformNames, MAX_UPLOADED_LIGHTS> all{};
        for (int i = 0; i < MAX_UPLOADED_LIGHTS; ++i) {
            LightUniformNames& n = all[size_t(i)];
            std::snprintf(n.position, sizeof(n.position), "lights[%d].position", i);
            std::snprintf(n.color, sizeof(n.color), "lights[%d].color", i);
            std::snprintf(n.falloffDistance, sizeof(n.falloffDistance), "lights[%d].falloffDistance", i);
        }
        return all;
    }();
    return names[size_t(index)];
}

}  // namespace

void Renderer::uploadLights(bool cameraSet) {
    // With the camera in place the view volume is known, and a light whose reach lies outside it
    // can light nothing that is drawn: it is left out. Scenes that bring their own camera set it
    // only while they draw, so then every light goes to the program.
    ViewPlanes planes{};
    if (cameraSet) {
        float view[16], projection[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, view);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        planes = viewPlanesOf(view, projection);
    }
    // The eight lights are the first enabled ones in name order whether or not they reach the view,
    // so leaving one out never lets a ninth light in.
    int chosen = 0;
    int index = 0;
    for (const auto& [lightName, light] : lights) {
        if (chosen >= MAX_UPLOADED_LIGHTS)
            break;
        if (!light || !light->enabled)
            continue;
        ++chosen;
        // A black light adds nothing anywhere (a light fading out, a studio light not yet on).
        if (light->color[0] == 0.0f && light->color[1] == 0.0f && light->color[2] == 0.0f)
            continue;
        if (cameraSet && !sphereReachesView(planes, light->position, light->falloffDistance))
            continue;
        const LightUniformNames& names = lightUniformNames(index);
        glUniform3fv(prepareShader->uniformLocation(names.position), 1, light->position);
        glUniform3fv(prepareShader->uniformLocation(names.color), 1, light->color);
        glUniform1f(prepareShader->uniformLocation(names.falloffDistance), light->falloffDistance);
        ++index;
    }
    glUniform1i(prepareShader->uniformLocation("numLights"), index);
}

namespace {

// Blend state of a blend mode; false for a mode that changes nothing.
bool applyBlendMode(int32_t mode, const zelFramework::GL_Shader& shader) {
    switch (mode) {
    case 0:
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
        glUniform1f(shader.uniformLocation("aoEnable"), 1.0f);
        return true;
    case 1:
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glDepthMask(GL_FALSE);
        glUniform1f(shader.uniformLocation("aoEnable"), 0.0f);
        return true;
    case 2:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glUniform1f(shader.uniformLocation("aoEnable"), 0.0f);
        return true;
    default:
        return false;
    }
}

// The material a model that brings none of its own (an OBJ model: the hosts) is lit with: a
// little grey highlight of shininess 40 and no reflection, the backdrop's material that the hosts'
// close-ups were made under. Scene objects send their own material over it before each draw.
// Without it such a model would keep whatever the last scene object drawn had sent, and its look
// would follow the order of another model's objects and which of them were in view. Looked up
// without a warning, as scene objects send them: a program built without specular light or
// reflection has no such uniforms.
void sendPlainModelMaterial(GLuint program) {
    glUniform3f(glGetUniformLocation(program, "specularColor"), 0.2f, 0.2f, 0.2f);
    glUniform1f(glGetUniformLocation(program, "specularShininess"), 40.0f);
    glUniform1f(glGetUniformLocation(program, "reflectionIntensity"), 0.0f);
}

}  // namespace

void Renderer::drawObjects(int pass, float time, bool cameraSet) {
    int32_t current = 0;
    // Looked up without a warning: only animated models use it.
    const GLint animFactor = glGetUniformLocation(prepareShader->programId, "animFactor");
    for (const auto& [name, object] : objects) {
        if (!drawnInPass(object, pass))
            continue;
        if (object->blendMode != current) {
            applyBlendMode(object->blendMode, *prepareShader);
            current = object->blendMode;
        }

        glUniform1f(prepareShader->uniformLocation("diffuseAddFactor"), object->diffuseAddFactor);
        glUniform1f(prepareShader->uniformLocation("lightInfluence"), object->lightInfluence);
        glUniform1f(prepareShader->uniformLocation("glowIntensity"), object->glowIntensity);

        bindOrClear(object->diffuseTexture, 1);
        const zelFramework::GL_Texture* diffuse = object->diffuseTexture;
        glUniform2f(prepareShader->uniformLocation("diffuseSize"), diffuse ? float(diffuse->width) : 0.0f,
                    diffuse ? float(diffuse->height) : 0.0f);
        bindOrClear(reflectionTexture, 2);
        bindOrClear(object->matCapTexture, 0);

        sendPlainModelMaterial(prepareShader->programId);
        renderModel(*object, prepareShader->programId, animFactor, time, cameraSet);
    }
    if (current != 0) {
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
        glUniform1f(prepareShader->uniformLocation("aoEnable"), 1.0f);
    }
}

void Renderer::keepFlareVisible(const float view[16], float heightAtUnitDistance, float centre[3], float& size) const {
    const float depth = -(view[2] * centre[0] + view[6] * centre[1] + view[10] * centre[2] + view[14]);
    if (depth <= 0.0f)
        return;
    size = std::max(size, flareMinimumScreenSize * heightAtUnitDistance * depth);
    // A flare sits on a surface (a spectator in the stands): a square standing upright there is half
    // buried in the rows behind it. Sliding it towards the eye along its line of sight keeps its place
    // in the picture and, scaled by the same ratio, its size on screen, but lifts it off the surface.
    const float t[3] = {view[12], view[13], view[14]};
    const float eye[3] = {-(view[0] * t[0] + view[1] * t[1] + view[2] * t[2]),
                          -(view[4] * t[0] + view[5] * t[1] + view[6] * t[2]),
                          -(view[8] * t[0] + view[9] * t[1] + view[10] * t[2])};
    const float toEye[3] = {eye[0] - centre[0], eye[1] - centre[1], eye[2] - centre[2]};
    const float distance = std::sqrt(toEye[0] * toEye[0] + toEye[1] * toEye[1] + toEye[2] * toEye[2]);
    if (distance <= 0.0f)
        return;
    const float slide = std::min(1.5f * size, 0.5f * distance);
    for (int i = 0; i < 3; ++i)
        centre[i] += toEye[i] / distance * slide;
    size *= (distance - slide) / distance;
}

void Renderer::drawFlares() {
    glUseProgram(0);
    // Only attachment 1, the colour: flares add light, they have no surface.
    const GLenum colourOnly = GL_COLOR_ATTACHMENT1;
    glDrawBuffers(1, &colourOnly);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    clearUnit(1);
    // The reflection stays enabled on unit 2 after the objects; fixed-function drawing (the flares
    // here, the layer's copy of the finished picture later) would be tinted by it.
    clearUnit(2);
    bindOrClear(flareTexture, 0);
    // bind enables texturing on the unit that was active before it, not necessarily on unit 0.
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    // World units per picture height at unit distance in front of the camera, for the minimum size.
    float view[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float heightAtUnitDistance = projection[5] != 0.0f ? 2.0f / projection[5] : 0.0f;
    bool first = true;
    for (const Flare& flare : flares) {
        const float half = 0.5f * flare.intensity;
        glColor4f(half, half, half, flare.intensity);
        float size = flare.size;
        float centre[3] = {flare.x, flare.y, flare.z};
        if (flareMinimumScreenSize > 0.0f)
            keepFlareVisible(view, heightAtUnitDistance, centre, size);
        zelFramework::drawBillboard(first, size, centre[0], centre[1], centre[2]);
        first = false;
    }
}

}  // namespace RenderEngine
