// One frame of the renderer: what reaches the geometry program, how objects are walked, the picture
// the chain produces, the motion-blur history and the state left behind.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

#include "assets/obj_model.h"
#include "assets/orvo_writer.h"
#include "assets/scene_test_objects.h"
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "renderengine/orvo_wrap_model_render.h"
#include "renderengine/renderer.h"
#include "renderer_test_support.h"
#include "support/trace_capture.h"

using namespace RenderEngine;
using retest::RecordingModel;
using zelFramework::GL_FBOTexture;
using zelFramework::GL_TextureManager;

namespace {

class RendererFrame : public retest::RendererGLTest {
protected:
    std::vector<std::unique_ptr<RecordingModel>> models;
    std::vector<std::unique_ptr<RenderObject>> records;
    std::vector<std::unique_ptr<Light>> lightRecords;

    RecordingModel* addModel(Renderer& renderer, const std::string& name, int blendMode = 0, int pass = 0) {
        models.push_back(std::make_unique<RecordingModel>());
        records.push_back(std::make_unique<RenderObject>());
        RenderObject* record = records.back().get();
        record->model = models.back().get();
        record->modelTime = &models.back()->time;
        record->blendMode = blendMode;
        record->pass = pass;
        renderer.object(name) = record;
        return models.back().get();
    }

    Light* addLight(Renderer& renderer, const std::string& name, float x, bool enabled = true) {
        lightRecords.push_back(std::make_unique<Light>());
        Light* light = lightRecords.back().get();
        light->position[0] = x;
        light->enabled = enabled;
        renderer.light(name) = light;
        return light;
    }

    // A white, matcapped model drawing `geometry`, for pictures whose brightness is read back.
    RecordingModel* addWhiteModel(Renderer& renderer, const std::string& name, std::function<void()> geometry,
                                  int pass = 0) {
        RecordingModel* model = addModel(renderer, name, 0, pass);
        model->geometry = std::move(geometry);
        RenderObject* object = renderer.object(name);
        object->diffuseTexture = object->matCapTexture = GL_TextureManager::getWhiteTexture();
        return model;
    }
};

// A camera looking at the origin from (eyeX, eyeY, eyeZ), set before the frame (cameraPreset).
void setCamera(float eyeX, float eyeY, float eyeZ, float targetY) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(retest::TEST_SCREEN_WIDTH) / 100.0, 0.5, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, 0, targetY, 0, 0, 1, 0);
}

// Where a world point lands in the picture (pixels of the render target).
void project(float x, float y, float z, int& px, int& py) {
    double model[16], projection[16], wx, wy, wz;
    GLint viewport[4] = {0, 0, retest::TEST_SCREEN_WIDTH, 100};
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    px = int(wx);
    py = int(wy);
}

float luminance(const std::array<float, 4>& c) {
    return 0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2];
}

void expectColour(const std::array<float, 4>& pixel, float r, float g, float b, float tolerance = 0.02f) {
    EXPECT_NEAR(pixel[0], r, tolerance);
    EXPECT_NEAR(pixel[1], g, tolerance);
    EXPECT_NEAR(pixel[2], b, tolerance);
}

float sceneryLuminance(const Renderer& renderer, int x, int y) {
    return luminance(retest::readTargetPixel(renderer.sceneryTarget, x, y));
}

// Brightness of the finished picture `offsetX` pixels beside where a world point lands.
float sceneryLuminanceAt(const Renderer& renderer, float x, float y, float z, int offsetX = 0) {
    int px, py;
    project(x, y, z, px, py);
    return sceneryLuminance(renderer, px + offsetX, py);
}

// Full ambient light and no radial term: a white surface comes out white wherever it faces.
void lightEvenly(Renderer& renderer) {
    for (float& c : renderer.ambientLightColor)
        c = 1.0f;
    renderer.radialLightFactor = 0;
}

// Evenly lit, seen from 10 units in front along +z: the set-up of the post-process picture tests.
void lightEvenlyAndLookFromFront(Renderer& renderer) {
    lightEvenly(renderer);
    renderer.cameraPreset = true;
    setCamera(0, 0, 10, 0);
}

GLint glInteger(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

TEST_F(RendererFrame, AtMostEightEnabledLightsAreUploadedInNameOrder) {
    Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
    addModel(renderer, "object");
    const std::string names = "jihgfedcba";  // stored out of order on purpose
    for (char c : names)
        addLight(renderer, std::string(1, c), float(c - 'a' + 1));
    orvotest::TraceCapture trace;
    renderer.renderFrame(0.0f, 0.0f);

    GLuint program = renderer.prepareShader->programId;
    EXPECT_EQ(retest::uniformInt(program, "numLights"), 8);
    for (int i = 0; i < 8; ++i) {
        std::string name = "lights[" + std::to_string(i) + "].position";
        EXPECT_FLOAT_EQ(retest::uniformValue(program, name.c_str(), 3)[0], float(i + 1)) << name;
    }
    EXPECT_EQ(trace.count("shaderAccess"), 0) << trace.text();

    // A disabled light (and an empty slot) takes no index: "c" moves up to index 1.
    renderer.light("b")->enabled = false;
    renderer.light("a0");  // empty slot between "a" and "b"
    renderer.renderFrame(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(retest::uniformValue(program, "lights[0].position", 3)[0], 1.0f);
    EXPECT_FLOAT_EQ(retest::uniformValue(program, "lights[1].position", 3)[0], 3.0f);
    EXPECT_FLOAT_EQ(retest::uniformValue(program, "lights[7].position", 3)[0], 9.0f);
    EXPECT_EQ(retest::uniformInt(program, "numLights"), 8);

    renderer.lights.clear();
    renderer.renderFrame(0.0f, 0.0f);
    EXPECT_EQ(retest::uniformInt(program, "numLights"), 0);
}

TEST_F(RendererFrame, BlendModesSwitchOnlyWhenTheModeChanges) {
    Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
    RecordingModel* a = addModel(renderer, "a", 1);
    RecordingModel* b = addModel(renderer, "b", 1);
    RecordingModel* c = addModel(renderer, "c", 0);
    RecordingModel* d = addModel(renderer, "d", 2);
    renderer.renderFrame(0.0f, 0.0f);
    for (RecordingModel* model : {a, b, c, d})
        ASSERT_EQ(model->draws.size(), 1u);
    for (const retest::DrawRecord* r : {&a->draws[0], &b->draws[0]}) {
        EXPECT_TRUE(r->blend);
        EXPECT_EQ(r->blendSource, GL_ONE);
        EXPECT_EQ(r->blendDestination, GL_ONE);
        EXPECT_EQ(r->depthWrites, GL_FALSE);
        EXPECT_FLOAT_EQ(r->aoEnable, 0.0f);
    }
    EXPECT_FALSE(c->draws[0].blend);
    EXPECT_EQ(c->draws[0].depthWrites, GL_TRUE);
    EXPECT_FLOAT_EQ(c->draws[0].aoEnable, 1.0f);
    EXPECT_TRUE(d->draws[0].blend);
    EXPECT_EQ(d->draws[0].blendSource, GL_SRC_ALPHA);
    EXPECT_EQ(d->draws[0].blendDestination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FLOAT_EQ(d->draws[0].aoEnable, 0.0f);
    // Only the opaque object writes depth beforehand, with its own program, and the lighting pass's
    // program is not the depth pass's.
    for (RecordingModel* blended : {a, b, d})
        EXPECT_TRUE(blended->depthDraws.empty());
    ASSERT_EQ(c->depthDraws.size(), 1u);
    EXPECT_EQ(c->depthDraws[0].program, renderer.depthOnlyShader->programId);
    EXPECT_NE(c->draws[0].program, c->depthDraws[0].program);
    // After the walk the opaque state is back.
    EXPECT_FLOAT_EQ(retest::uniformValue(renderer.prepareShader->programId, "aoEnable", 1)[0], 1.0f);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
}

TEST_F(RendererFrame, ObjectsAreDrawnOnlyInTheirPassWhenVisibleAndNotExcluded) {
    Renderer flat(nullptr, nullptr, 1.0f, 0x40);
    RecordingModel* second = addModel(flat, "second", 0, 1);
    RecordingModel* hidden = addModel(flat, "hidden");
    RecordingModel* excluded = addModel(flat, "excluded");
    RecordingModel* shown = addModel(flat, "shown");
    flat.object("hidden")->visible = false;
    flat.object("excluded")->excluded = true;
    flat.object("empty");
    flat.renderFrame(0.0f, 0.0f);
    EXPECT_EQ(second->draws.size(), 0u);
    EXPECT_EQ(hidden->draws.size(), 0u);
    EXPECT_EQ(excluded->draws.size(), 0u);
    EXPECT_EQ(shown->draws.size(), 1u);
}

TEST_F(RendererFrame, ObjectsGetTheirTransformTexturesTimeAndCameraFlag) {
    Renderer renderer(nullptr, GL_TextureManager::getWhiteTexture(), 1.0f, 0x140);
    RecordingModel* model = addModel(renderer, "object");
    RenderObject* object = renderer.object("object");
    object->position[0] = 3, object->position[1] = 4, object->position[2] = 5;
    object->scale = 2, object->yScale = 3;
    object->rotationAngle = 90, object->rotationAxis[0] = 0, object->rotationAxis[1] = 0, object->rotationAxis[2] = 1;
    object->diffuseTexture = GL_TextureManager::getWhiteTexture();
    object->glowIntensity = 0.75f;

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    renderer.renderFrame(2.5f, 0.0f);
    ASSERT_EQ(model->draws.size(), 1u);
    const retest::DrawRecord r = model->draws[0];
    EXPECT_FLOAT_EQ(r.modelTime, 2.5f);
    EXPECT_EQ(r.program, renderer.prepareShader->programId);
    EXPECT_FALSE(r.flag);
    EXPECT_FLOAT_EQ(r.glowIntensity, 0.75f);
    // Translate, then scale, then rotate: the x axis turns into y and is scaled by 2 x 3 there.
    const float expected[16] = {0, 6, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 3, 4, 5, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(r.modelview[i], expected[i], 1e-5f) << i;
    const GLint white = GLint(GL_TextureManager::getWhiteTexture()->textureId);
    EXPECT_EQ(r.textures[0], 0);  // no matcap: the unit is cleared
    EXPECT_EQ(r.textures[1], white);
    EXPECT_EQ(r.textures[2], white);

    // The flag says the camera is already set: by the caller, or by a named camera object (even one
    // that does not exist, which must not create an entry).
    renderer.cameraPreset = true;
    renderer.renderFrame(0.0f, 0.0f);
    renderer.cameraPreset = false;
    renderer.cameraObjectName = "no such object";
    renderer.renderFrame(0.0f, 0.0f);
    ASSERT_EQ(model->draws.size(), 3u);
    EXPECT_TRUE(model->draws[1].flag);
    EXPECT_TRUE(model->draws[2].flag);
    EXPECT_EQ(renderer.objects.count("no such object"), 0u);
}

// A model that sends no material of its own (an OBJ model) is lit with the same plain material
// whatever a model drawn before it sent, as a scene does for each of its objects.
TEST_F(RendererFrame, AModelWithoutMaterialIsLitTheSameWhateverWasDrawnBeforeIt) {
    Renderer renderer(nullptr, GL_TextureManager::getWhiteTexture(), 1.0f, 0x140);
    RecordingModel* scene = addModel(renderer, "a scene");
    RecordingModel* plain = addModel(renderer, "b plain model");
    std::vector<retest::DrawRecord> seen;
    for (float shininess : {5.0f, 70.0f}) {
        scene->geometry = [&renderer, shininess] {
            const GLuint program = renderer.prepareShader->programId;
            glUniform1f(glGetUniformLocation(program, "specularShininess"), shininess);
            glUniform3f(glGetUniformLocation(program, "specularColor"), 1.0f, shininess / 100.0f, 0.5f);
            glUniform1f(glGetUniformLocation(program, "reflectionIntensity"), shininess / 100.0f);
        };
        renderer.renderFrame(0.0f, 0.0f);
        ASSERT_FALSE(plain->draws.empty());
        seen.push_back(plain->draws.back());
    }
    for (const retest::DrawRecord& r : seen) {
        EXPECT_FLOAT_EQ(r.specularShininess, 40.0f);
        EXPECT_FLOAT_EQ(r.specularColor[0], 0.2f);
        EXPECT_FLOAT_EQ(r.specularColor[1], 0.2f);
        EXPECT_FLOAT_EQ(r.specularColor[2], 0.2f);
        EXPECT_FLOAT_EQ(r.reflectionIntensity, 0.0f);
    }
}

// The show's masks (and the spherical-harmonics variant with the remaining features), with objects,
// lights and flares: nothing may be missing from the programs.
TEST_F(RendererFrame, NormalFramesOfTheShowsMasksLogNoWarning) {
    for (uint32_t mask : {0x141u, 0x1C1u, 0xE1u, 0x61u, 0x0u, 0x119u}) {
        orvotest::TraceCapture trace;
        Renderer renderer(nullptr, GL_TextureManager::getWhiteTexture(), 1.0f, mask);
        RecordingModel* model = addModel(renderer, "box");
        model->geometry = [] { retest::drawBox(-1, 0, -1, 1, 2, 1); };
        addModel(renderer, "glass", 2)->geometry = [] { retest::drawFloor(3, 0.5f); };
        addLight(renderer, "l1", 4);
        renderer.flares.push_back({0, 3, 0, 0.5f, 1.0f});
        renderer.flares.push_back({1, 3, 0, 0.5f, 0.5f});
        setCamera(4, 3, 6, 0.8f);
        renderer.cameraPreset = true;
        renderer.renderFrame(1.0f, 1.0f / 60.0f);
        renderer.renderFrame(1.1f, 1.0f / 60.0f);
        EXPECT_EQ(trace.count("WARNING"), 0) << std::hex << mask << "\n" << trace.text();
        EXPECT_EQ(trace.count("ERROR"), 0) << std::hex << mask << "\n" << trace.text();
        EXPECT_TRUE(orvotest::drainGLErrors().empty()) << std::hex << mask;
    }
}

TEST_F(RendererFrame, StateOnReturnIsRestored) {
    Renderer renderer(nullptr, GL_TextureManager::getWhiteTexture(), 1.0f, 0x1C1 | RE_MOTION_BLUR);
    addModel(renderer, "a", 1);
    renderer.object("a")->matCapTexture = GL_TextureManager::getWhiteTexture();
    GL_FBOTexture outer;
    outer.create(1, 8, 16, 16, GL_RGBA, false);
    outer.begin();
    const size_t depth = GL_FBOTexture::fboStack().size();
    glDisable(GL_DEPTH_TEST);
    renderer.renderFrame(0.0f, 0.1f);

    EXPECT_EQ(glInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (int unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
    ASSERT_EQ(GL_FBOTexture::fboStack().size(), depth);
    EXPECT_EQ(GL_FBOTexture::fboStack().back(), &outer);
    EXPECT_EQ(GLuint(glInteger(GL_FRAMEBUFFER_BINDING)), outer.framebufferId);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 16);
    EXPECT_EQ(viewport[3], 16);
    outer.end();
    outer.release();
}

TEST_F(RendererFrame, MotionBlurAveragesTheHistoryAndAdvancesAtMost30TimesASecond) {
    Renderer renderer(nullptr, nullptr, 1.0f, 0x40 | RE_MOTION_BLUR);
    renderer.backgroundGradient = true;
    renderer.motionBlurAmount = 0.2f;  // two pictures
    auto frame = [&](float r, float g, float b, float delta) {
        for (float* c : {renderer.gradientTopColor, renderer.gradientBottomColor})
            c[0] = r, c[1] = g, c[2] = b;
        renderer.renderFrame(0.0f, delta);
        return retest::readTargetPixel(renderer.sceneryTarget, 50, 50);
    };
    frame(0, 1, 0, 1.0f);
    auto green = frame(0, 1, 0, 1.0f);
    EXPECT_NEAR(green[1], 1.0f, 0.02f);
    EXPECT_NEAR(renderer.motionBlurTimer, MOTION_BLUR_STEP, 1e-6f);

    // 60 frames a second: the first frame does not advance the history, the second does.
    expectColour(frame(1, 0, 0, 0.017f), 0.5f, 0.5f, 0.0f);
    expectColour(frame(0, 0, 1, 0.017f), 0.5f, 0.0f, 0.5f);

    // A history of one picture only copies and redraws it.
    renderer.motionBlurAmount = -1.0f;
    expectColour(frame(0, 0, 1, 0.017f), 0.0f, 0.0f, 1.0f);
}

// A cube on a floor, lit from the +x side: the lit face is brighter than the face turned away, and
// the floor in the corner next to the cube gets darker with ambient occlusion on.
TEST_F(RendererFrame, LitCubeOnAFloorShowsLightingAndContactOcclusion) {
    const float probes[][3] = {
        {1.0f, 1.0f, 0.0f},    // +x face, towards the light
        {0.0f, 1.0f, 1.0f},    // +z face, turned away from it
        {0.0f, 0.0f, 1.08f},   // floor in the corner in front of the +z face
        {-3.0f, 0.0f, 4.0f},   // open floor, far from the cube
    };
    auto renderScene = [&](uint32_t mask) {
        Renderer renderer(nullptr, nullptr, 1.0f, mask);
        addWhiteModel(renderer, "scene", [] {
            retest::drawFloor(20, 0);
            retest::drawBox(-1, 0, -1, 1, 2, 1);
        });
        // The renderer's own adder: its light must reach the geometry pass as given.
        const float sunPosition[3] = {8, 4, -1}, white[3] = {1, 1, 1};
        renderer.addLight("sun", sunPosition, white, 60);
        for (float& c : renderer.ambientLightColor)
            c = 0.3f;
        renderer.radialLightFactor = 0;
        renderer.cameraPreset = true;
        setCamera(4, 3.5f, 6, 0.8f);
        renderer.renderFrame(0.0f, 0.0f);
        std::vector<float> out;
        for (const auto& probe : probes)
            out.push_back(sceneryLuminanceAt(renderer, probe[0], probe[1], probe[2]));
        return out;
    };
    const std::vector<float> plain = renderScene(0x40), occluded = renderScene(0x41);
    EXPECT_GT(plain[0], plain[1] + 0.1f) << "lit " << plain[0] << " dark " << plain[1];
    EXPECT_LT(occluded[2], plain[2] - 0.05f) << "corner with " << occluded[2] << " without " << plain[2];
    // Open floor stays (almost) as it was.
    EXPECT_NEAR(occluded[3], plain[3], 0.05f);
}

// Cube mode draws six faces into the panorama: a wall on the +X side of the camera lands where azimuth 0
// sits on the horizon (right of the centre after the quarter turn), and the other directions keep the
// background gradient.
TEST_F(RendererFrame, CubeModePanoramaPlacesDirectionsByAzimuth) {
    Renderer renderer(nullptr, nullptr, 1.0f, RE_CUBEMAP | RE_REAL_LIGHT_MODEL);
    RecordingModel* wall = addWhiteModel(renderer, "wall", [] { retest::drawBox(5, -3, -3, 6, 3, 3); });
    lightEvenly(renderer);
    renderer.backgroundGradient = true;
    for (float* c : {renderer.gradientTopColor, renderer.gradientBottomColor})
        c[0] = 0.2f, c[1] = 0.4f, c[2] = 0.6f;
    orvotest::TraceCapture trace;
    renderer.renderFrame(0.0f, 0.0f);
    EXPECT_EQ(trace.count("WARNING"), 0) << trace.text();
    EXPECT_TRUE(orvotest::drainGLErrors().empty());
    EXPECT_EQ(wall->draws.size(), 6u);

    const int width = renderer.sceneryTarget->width, height = renderer.sceneryTarget->height;
    // Picture rows run bottom-up, the panorama's y downward: the middle row is the same either way.
    EXPECT_GT(sceneryLuminance(renderer, int(width * 0.78f), height / 2), 0.8f);
    for (int x : {width / 2, int(width * 0.22f)}) {
        SCOPED_TRACE(x);
        expectColour(retest::readTargetPixel(renderer.sceneryTarget, x, height / 2), 0.2f, 0.4f, 0.6f, 0.03f);
    }
}

// The adders with real files: a scene file drawn with its own camera, and an OBJ model.
TEST_F(RendererFrame, ScenesAndObjModelsAreDrawnThroughTheirAdapters) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("orvo-re-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);

    zelFramework::OrvoWriter writer;
    writer.addObject(orvotest::sceneObject("root", ""));
    writer.addObject(orvotest::sceneQuad("quad", "root", "", 0, 0, 1));
    writer.addCameraSample(zelFramework::cameraLookAt({0, 0, 4}, {0, 0, 0}, {0, 1, 0}, 60, 40, 1, 100));
    const std::string scenePath = (folder / "quad.orvo").string();
    ASSERT_TRUE(writer.writeFile(scenePath));
    const std::string objPath = (folder / "triangle.obj").string();
    {
        std::ofstream obj(objPath);
        obj << "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n";
    }

    Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
    renderer.addOrvoScene("scene", scenePath);
    renderer.addObjModel("model", objPath, nullptr, "");
    RenderObject* scene = renderer.object("scene");
    RenderObject* model = renderer.object("model");
    ASSERT_NE(scene, nullptr);
    ASSERT_NE(model, nullptr);
    auto* wrapped = dynamic_cast<Orvo_WrapModelRender*>(scene->model);
    ASSERT_NE(wrapped, nullptr);
    auto* obj = dynamic_cast<zelFramework::ObjModel*>(model->model);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->frames.size(), 1u);

    for (float& c : renderer.ambientLightColor)
        c = 0.5f;
    renderer.cameraObjectName = "scene";
    orvotest::TraceCapture trace;
    renderer.renderFrame(0.5f, 0.0f);
    EXPECT_FLOAT_EQ(wrapped->time, 0.5f);
    EXPECT_FLOAT_EQ(obj->animPosition, 0.5f);
    EXPECT_EQ(trace.count("WARNING"), 0) << trace.text();
    // The scene's camera looks straight at the quad: lit in the middle, empty at the edge. The model's
    // triangle (no diffuse picture, so black) covers the upper right quarter of the middle.
    const int width = renderer.sceneryTarget->width, height = renderer.sceneryTarget->height;
    EXPECT_GT(sceneryLuminance(renderer, width * 2 / 5, height * 2 / 5), 0.3f);
    EXPECT_LT(sceneryLuminance(renderer, width * 11 / 20, height * 11 / 20), 0.05f);
    EXPECT_LT(sceneryLuminance(renderer, 2, 2), 0.01f);
    fs::remove_all(folder);
}

// Flares add (0.5, 0.5, 0.5) x intensity of their sprite into the colour, camera-facing, and nothing to
// the normal and depth picture.
TEST_F(RendererFrame, FlaresAddTheirLightAsCameraFacingSprites) {
    Renderer renderer(nullptr, nullptr, 1.0f, 0x40);
    renderer.cameraPreset = true;
    renderer.flares.push_back({0.0f, 0.0f, 0.0f, 0.5f, 1.0f});
    renderer.flares.push_back({0.0f, 0.0f, 0.0f, 0.5f, 0.5f});
    setCamera(3, 0, 0, 0);  // looking along -x: the sprites must turn to face the camera
    renderer.renderFrame(0.0f, 0.0f);
    const int width = renderer.sceneryTarget->width, height = renderer.sceneryTarget->height;
    auto centre = retest::readTargetPixel(renderer.sceneryTarget, width / 2, height / 2);
    EXPECT_NEAR(centre[0], 0.75f, 0.02f);
    EXPECT_NEAR(centre[3], 1.5f, 0.02f);  // the glow mask gets the intensities
    EXPECT_NEAR(retest::readTargetPixel(renderer.sceneryTarget, 2, 2)[0], 0.0f, 0.01f);
    EXPECT_NEAR(retest::readTargetPixel(renderer.deferredTarget, width / 2, height / 2, 0)[3], 0.0f, 1e-6f);
}

// Depth of field: the focus follows the object in the middle of the picture; a far object's edge
// spreads with the radius while the focused object's edge stays sharp.
TEST_F(RendererFrame, DepthOfFieldBlursAwayFromTheFocusedObject) {
    struct Edges {
        float nearOutside, farOutside, nearInside;
    };
    auto edgeValues = [&](float radius) {
        Renderer renderer(nullptr, nullptr, 1.0f, 0x60);
        addWhiteModel(renderer, "boxes", [] {
            retest::drawBox(-1, -1, -1, 1, 1, 1);
            retest::drawBox(18, 4, -42, 22, 8, -38);
        });
        lightEvenlyAndLookFromFront(renderer);
        renderer.dofFocusBackShift = 0.0f;
        renderer.dofFocusFalloff = 1.0f;
        renderer.dofFocusQuality = 3.0f;
        renderer.dofFocusRadius = radius;
        renderer.renderFrame(0.0f, 0.0f);
        return Edges{sceneryLuminanceAt(renderer, 1.0f, 0.0f, 1.0f, 3),
                     sceneryLuminanceAt(renderer, 22.0f, 6.0f, -38.0f, 3),
                     sceneryLuminanceAt(renderer, 1.0f, 0.0f, 1.0f, -3)};
    };
    const Edges sharp = edgeValues(0.0f), blurred = edgeValues(20.0f);
    EXPECT_LT(sharp.farOutside, 0.02f);
    EXPECT_GT(blurred.farOutside, sharp.farOutside + 0.1f) << "the far edge must spread";
    // Only the filtered fringe texel of the focused object may reach past its edge.
    EXPECT_LT(blurred.nearOutside, 0.08f) << "the focused edge must stay sharp";
    EXPECT_GT(blurred.farOutside, blurred.nearOutside + 0.1f);
    EXPECT_NEAR(blurred.nearInside, sharp.nearInside, 0.05f);
}

// The glow blooms from the colour's alpha: an object with glow lights up the black around it, one
// without does not, and the intensity scales the bloom. Only the colour gains: the picture's alpha
// (the glow mask) is what it was without the glow.
TEST_F(RendererFrame, GlowSpreadsFromGlowingObjectsOnly) {
    struct Probe {
        float beside;
        float alphaOnBox, alphaBeside;
    };
    auto besideBox = [&](float objectGlow, float intensity, uint32_t mask = 0xC0) {
        Renderer renderer(nullptr, nullptr, 1.0f, mask);
        addWhiteModel(renderer, "box", [] { retest::drawBox(-1, -1, -1, 1, 1, 1); });
        renderer.object("box")->glowIntensity = objectGlow;
        lightEvenlyAndLookFromFront(renderer);
        renderer.glowIntensity = intensity;
        renderer.glowRadius = 1.0f;
        renderer.renderFrame(0.0f, 0.0f);
        int px, py;
        project(0.0f, 0.0f, 1.0f, px, py);
        const float onBox = retest::readTargetPixel(renderer.sceneryTarget, px, py)[3];
        project(1.0f, 0.0f, 1.0f, px, py);
        const float beside = retest::readTargetPixel(renderer.sceneryTarget, px + 4, py)[3];
        return Probe{sceneryLuminanceAt(renderer, 1.0f, 0.0f, 1.0f, 4), onBox, beside};
    };
    const Probe none = besideBox(0.0f, 1.0f);
    const Probe glowing = besideBox(1.0f, 1.0f);
    const Probe stronger = besideBox(1.0f, 2.0f);
    const Probe withoutGlow = besideBox(1.0f, 1.0f, 0xC0 & ~uint32_t(RE_GLOW));
    EXPECT_LT(none.beside, 0.01f);
    EXPECT_GT(glowing.beside, 0.02f);
    EXPECT_NEAR(stronger.beside, 2.0f * glowing.beside, 0.01f);
    EXPECT_LT(withoutGlow.beside, 0.01f);
    EXPECT_GT(glowing.alphaOnBox, 0.5f);
    for (const Probe& p : {glowing, stronger}) {
        EXPECT_FLOAT_EQ(p.alphaOnBox, withoutGlow.alphaOnBox);
        EXPECT_FLOAT_EQ(p.alphaBeside, withoutGlow.alphaBeside);
    }
}

// At radius 1 the glow's taps sit two whole texels apart, at 0.75 (the stadium's) every other one
// halfway between two texels, and the blur reads them with nearest sampling, taking the mean of the
// two texels for a tap between them. It must give the picture the linear filter gives with the taps
// a hair off those places, and leave the filters of the targets it read as they were.
TEST_F(RendererFrame, GlowOnWholeAndHalfTexelsMatchesTheLinearFilter) {
    struct Frame {
        std::vector<uint8_t> picture;
        GLint sceneryMin = 0, sceneryMag = 0, tempMin = 0, tempMag = 0;
    };
    auto glowFrame = [&](float radius) {
        Renderer renderer(nullptr, nullptr, 1.0f, 0xC0);
        addWhiteModel(renderer, "box", [] { retest::drawBox(-1, -1, -1, 1, 1, 1); });
        renderer.object("box")->glowIntensity = 1.0f;
        lightEvenlyAndLookFromFront(renderer);
        renderer.glowIntensity = 1.0f;
        renderer.glowRadius = radius;
        renderer.renderFrame(0.0f, 0.0f);
        Frame f;
        f.picture = retest::readTargetPicture(renderer.sceneryTarget);
        glBindTexture(GL_TEXTURE_2D, renderer.sceneryTarget->colorTextures[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &f.sceneryMin);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &f.sceneryMag);
        glBindTexture(GL_TEXTURE_2D, renderer.tempTarget1->colorTextures[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &f.tempMin);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &f.tempMag);
        glBindTexture(GL_TEXTURE_2D, 0);
        return f;
    };
    for (const float radius : {1.0f, 0.75f}) {
        const Frame onTexels = glowFrame(radius);
        const Frame filtered = glowFrame(radius * 1.0001f);
        ASSERT_EQ(onTexels.picture.size(), filtered.picture.size());
        int largest = 0;
        for (size_t i = 0; i < onTexels.picture.size(); ++i)
            if (i % 4 != 3) largest = std::max(largest, std::abs(int(onTexels.picture[i]) - int(filtered.picture[i])));
        EXPECT_LE(largest, 1) << "radius " << radius;
        for (GLint filter : {onTexels.sceneryMin, onTexels.sceneryMag, onTexels.tempMin, onTexels.tempMag})
            EXPECT_EQ(filter, GL_LINEAR) << "radius " << radius;
    }
}

// Depth-of-field layers: each pass draws only its own objects, and the combine puts the second pass
// over the first, so both show in the finished picture.
TEST_F(RendererFrame, DepthOfFieldLayersCombineBothPasses) {
    zelFramework::gltkInit();
    {
        orvotest::TraceCapture trace;
        Renderer renderer(nullptr, nullptr, 1.0f, 0x50);
        RecordingModel* back = addWhiteModel(renderer, "back", [] { retest::drawBox(-4, -1, -1, -2, 1, 1); }, 0);
        RecordingModel* front = addWhiteModel(renderer, "front", [] { retest::drawBox(2, -1, -1, 4, 1, 1); }, 1);
        lightEvenlyAndLookFromFront(renderer);
        renderer.dofLayerBlurAmount = 0.0f;  // no blur: only the combine is under test
        renderer.renderFrame(0.0f, 0.0f);
        EXPECT_GT(sceneryLuminanceAt(renderer, -3.0f, 0.0f, 1.0f), 0.8f);
        EXPECT_GT(sceneryLuminanceAt(renderer, 3.0f, 0.0f, 1.0f), 0.8f);
        EXPECT_LT(sceneryLuminanceAt(renderer, 0.0f, 0.0f, 1.0f), 0.02f);
        EXPECT_EQ(back->draws.size(), 1u);
        EXPECT_EQ(front->draws.size(), 1u);
        EXPECT_EQ(trace.count("WARNING"), 0) << trace.text();
    }
    zelFramework::gltkShutdown();
}
