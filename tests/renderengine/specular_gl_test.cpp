// The real light model's highlights on surfaces that are hard to shade without aliasing: a field of
// thin shiny ridges seen at a grazing angle and a finely bevelled bar, lit by strong lights near the
// viewer. A highlight that is not filtered lands on every other pixel there (sparkle); the finished
// picture must have almost no pixel that stands alone against all its neighbours, and still show
// highlights where the surfaces turn towards the lights.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <memory>

#include "gl/texture_manager.h"
#include "picture_metrics.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"

using namespace RenderEngine;

namespace {

class SpecularGL : public retest::RendererGLTest {};

// Ridges running away from the viewer, `pitch` apart across x, each a roof of two slopes with
// normals tilted 60 degrees left and right: in the distance the normal flips within a pixel.
void drawRidges(float pitch, int count) {
    glBegin(GL_QUADS);
    const float tilt = 0.866f, up = 0.5f;
    for (int i = 0; i < count; ++i) {
        const float x0 = -0.5f * pitch * count + float(i) * pitch, x1 = x0 + pitch * 0.5f, x2 = x0 + pitch;
        const float h = pitch * 0.3f;
        glNormal3f(-tilt, up, 0);
        glVertex3f(x0, 0, 2), glVertex3f(x1, h, 2), glVertex3f(x1, h, -80), glVertex3f(x0, 0, -80);
        glNormal3f(tilt, up, 0);
        glVertex3f(x1, h, 2), glVertex3f(x2, 0, 2), glVertex3f(x2, 0, -80), glVertex3f(x1, h, -80);
    }
    glEnd();
}

// A bar along x with a narrow 45-degree bevel on each long edge, smooth-shaded across the bevel.
void drawBevelledBar(float y, float z) {
    const float w = 0.6f, b = 0.04f;
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);  // front face
    glVertex3f(-20, y - w + b, z), glVertex3f(20, y - w + b, z), glVertex3f(20, y + w - b, z), glVertex3f(-20, y + w - b, z);
    for (float side : {-1.0f, 1.0f}) {  // bevels, normals turning from the front to the top or bottom
        const float inner = y + side * (w - b), outer = y + side * w;
        glNormal3f(0, 0, 1), glVertex3f(-20, inner, z), glVertex3f(20, inner, z);
        glNormal3f(0, side, 0), glVertex3f(20, outer, z - b), glVertex3f(-20, outer, z - b);
    }
    glEnd();
}

}  // namespace

TEST_F(SpecularGL, GrazingRidgesAndThinBevelsShineWithoutSparkle) {
    Renderer renderer(nullptr, nullptr, 1.0f, RE_REAL_LIGHT_MODEL);
    retest::RecordingModel model;
    RenderObject record;
    record.model = &model;
    record.diffuseTexture = record.matCapTexture = zelFramework::GL_TextureManager::getWhiteTexture();
    renderer.object("scene") = &record;
    model.geometry = [] {
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        // The shiniest material the scenes can give (roughness 0) in a white highlight colour.
        glUniform1f(glGetUniformLocation(GLuint(program), "specularShininess"), 80.0f);
        glUniform3f(glGetUniformLocation(GLuint(program), "specularColor"), 1.0f, 1.0f, 1.0f);
        glUniform1f(glGetUniformLocation(GLuint(program), "diffuseAddFactor"), -0.85f);
        drawRidges(0.1f, 600);
        drawBevelledBar(2.2f, -4.0f);
        drawBevelledBar(3.6f, -7.0f);
    };
    std::vector<std::unique_ptr<Light>> lights;
    const float spots[][3] = {{-3, 1.5f, 3}, {3, 2.5f, 2}, {0, 4, -20}, {6, 1, -40}};
    for (int i = 0; i < 4; ++i) {
        lights.push_back(std::make_unique<Light>());
        Light& l = *lights.back();
        for (int k = 0; k < 3; ++k) l.position[k] = spots[i][k], l.color[k] = 0.6f;
        l.falloffDistance = 120.0f;
        renderer.light("l" + std::to_string(i)) = &l;
    }
    for (float& c : renderer.ambientLightColor) c = 0.05f;
    renderer.radialLightFactor = 0.0f;
    renderer.cameraPreset = true;
    retest::lookAtFrom({0, 0.8f, 4}, {0, 0.2f, -20}, 0.5, 200.0);  // low over the ridges: they recede at a grazing angle

    renderer.renderFrame(0.0f, 0.0f);
    const std::vector<uint8_t> picture = retest::readTargetPicture(renderer.sceneryTarget);
    const auto isolated = zelFramework::content::countIsolatedPixels(picture, retest::TEST_SCREEN_WIDTH, 100);
    EXPECT_LE(isolated.bright, 4u) << "sparkling highlights";
    EXPECT_LE(isolated.dark, 4u) << "holes in the highlights";

    // The highlights are still there: the brightest part of the picture is far above the diffuse
    // light of the dark material.
    int bright = 0;
    for (size_t i = 0; i < picture.size(); i += 4)
        if (picture[i] > 150) ++bright;
    EXPECT_GT(bright, 100);
}
