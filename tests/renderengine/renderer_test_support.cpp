#include "renderer_test_support.h"

#include <GL/glu.h>

#include "app/screen_metrics.h"
#include "gl/fbo_texture.h"
#include "gl/texture.h"
#include "gl/texture_manager.h"

#include <cstdint>

namespace retest {

void RecordingModel::render(GLuint program, bool flag) {
    // The depth pass writes no colour; its draws are kept apart from the lighting pass's.
    GLboolean colour[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    glGetBooleanv(GL_COLOR_WRITEMASK, colour);
    if (!colour[0] && !colour[1] && !colour[2] && !colour[3]) {
        depthDraws.push_back({program, time});
        if (geometry)
            geometry();
        return;
    }
    DrawRecord record;
    record.program = program;
    record.flag = flag;
    record.blend = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_BLEND_SRC_RGB, &record.blendSource);
    glGetIntegerv(GL_BLEND_DST_RGB, &record.blendDestination);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &record.depthWrites);
    glGetUniformfv(program, glGetUniformLocation(program, "aoEnable"), &record.aoEnable);
    glGetUniformfv(program, glGetUniformLocation(program, "glowIntensity"), &record.glowIntensity);
    // Programs built without specular light or reflection lack these; reading a missing one is an error.
    auto readIfPresent = [program](const char* name, float* values) {
        const GLint location = glGetUniformLocation(program, name);
        if (location >= 0) glGetUniformfv(program, location, values);
    };
    readIfPresent("specularShininess", &record.specularShininess);
    readIfPresent("specularColor", record.specularColor.data());
    readIfPresent("reflectionIntensity", &record.reflectionIntensity);
    record.modelTime = time;
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    for (int unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &record.textures[unit]);
    }
    glActiveTexture(active);
    glGetFloatv(GL_MODELVIEW_MATRIX, record.modelview.data());
    draws.push_back(record);
    if (geometry)
        geometry();
}

namespace {

void quad(float nx, float ny, float nz, const float (&corners)[4][3]) {
    glNormal3f(nx, ny, nz);
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(uv[i][0], uv[i][1]);
        glVertex3f(corners[i][0], corners[i][1], corners[i][2]);
    }
}

}  // namespace

void drawBox(float x0, float y0, float z0, float x1, float y1, float z1) {
    glBegin(GL_QUADS);
    quad(1, 0, 0, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}});
    quad(-1, 0, 0, {{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}});
    quad(0, 1, 0, {{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}});
    quad(0, -1, 0, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}});
    quad(0, 0, 1, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}});
    quad(0, 0, -1, {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}});
    glEnd();
}

void drawFloor(float halfSize, float y) {
    glBegin(GL_QUADS);
    quad(0, 1, 0, {{-halfSize, y, -halfSize}, {-halfSize, y, halfSize}, {halfSize, y, halfSize}, {halfSize, y, -halfSize}});
    glEnd();
}

std::array<float, 4> readTargetPixel(zelFramework::GL_FBOTexture* target, int x, int y, int attachment) {
    std::array<float, 4> pixel{};
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebufferId);
    glReadBuffer(GL_COLOR_ATTACHMENT0 + attachment);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, pixel.data());
    glBindFramebuffer(GL_FRAMEBUFFER, previous);
    return pixel;
}

std::vector<uint8_t> readTargetPicture(zelFramework::GL_FBOTexture* target, int attachment) {
    std::vector<uint8_t> picture(size_t(target->width) * target->height * 4);
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebufferId);
    glReadBuffer(GL_COLOR_ATTACHMENT0 + attachment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, target->width, target->height, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
    glBindFramebuffer(GL_FRAMEBUFFER, previous);
    return picture;
}

void addEvenlyLitObject(RenderEngine::Renderer& renderer, const char* name, RenderEngine::RenderObject& object,
                        RecordingModel& model, zelFramework::GL_Texture* diffuse) {
    object.model = &model;
    object.diffuseTexture = diffuse;
    object.matCapTexture = zelFramework::GL_TextureManager::getWhiteTexture();
    renderer.object(name) = &object;
    for (float& c : renderer.ambientLightColor) c = 1.0f;
    renderer.radialLightFactor = 0.0f;
    renderer.cameraPreset = true;
}

std::vector<float> uniformValue(GLuint program, const char* name, int components) {
    std::vector<float> value(16, 0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), value.data());
    value.resize(components);
    return value;
}

int uniformInt(GLuint program, const char* name) {
    GLint value = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

void RendererGLTest::SetUp() {
    orvotest::GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(ORVO_RESOURCES_DIR);
    zelFramework::setScreenMetrics(TEST_SCREEN_WIDTH, 128);

    // Flares are drawn with "flash.jpg": a white one makes their contribution exact.
    zelFramework::GL_TextureManager::addTexture("flash.jpg", zelFramework::GL_TextureManager::getWhiteTexture());
    // Occlusion needs its noise picture; the show's resources may not have been generated.
    if (!zelFramework::GL_TextureManager::getTexture("noise.png")) {
        std::vector<uint8_t> noise(64 * 64 * 3);
        uint32_t state = 12345;
        for (uint8_t& byte : noise) {
            state = state * 1664525u + 1013904223u;
            byte = uint8_t(state >> 24);
        }
        auto* texture = new zelFramework::GL_MemTexture();
        texture->create(noise.data(), 64, 64, GL_RGB, GL_REPEAT, GL_REPEAT);
        zelFramework::GL_TextureManager::addTexture("noise.png", texture);
    }
}

void RendererGLTest::TearDown() {
    std::filesystem::current_path(previous_);
    orvotest::GLTest::TearDown();
}

void lookAtFrom(const std::array<float, 3>& eye, const std::array<float, 3>& target, double nearPlane, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(TEST_SCREEN_WIDTH) / 100.0, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 1, 0);
}

}  // namespace retest
