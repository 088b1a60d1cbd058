// Scenes on the GPU: preparation (buffers, textures and their fallbacks), the scene camera, and
// drawing with keys, visibility, the opaque-pass filter, material uniforms and vertex animation.
#include "assets/scene_draw.h"

#include <png.h>

#include <cmath>
#include <set>
#include <string>

#include "assets/orvo_writer.h"
#include "gl/binned_work.h"
#include "gl/gl_readback.h"
#include "gl/gl_test_files.h"
#include "gl/shader.h"
#include "gl/texture_manager.h"
#include "support/gl_fixture.h"
#include "support/trace_capture.h"
#include "scene_test_objects.h"

using namespace zelFramework;
using namespace orvotest;

namespace {

OrvoScene build(const OrvoWriter& w) {
    OrvoScene scene;
    std::string error;
    EXPECT_TRUE(w.build(scene, &error)) << error;
    return scene;
}

void writePicture(const std::string& name, int channels, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 4; ++i) {
        pixels.insert(pixels.end(), {r, g, b});
        if (channels == 4) pixels.push_back(255);
    }
    ASSERT_TRUE(writePng(name, 2, 2, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, 8, pixels));
}

std::vector<float> matrix(GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}

const char* kUniformVertex =
    "uniform mat4 viewMatrix;\n"
    "void main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; gl_Position.x += viewMatrix[3][3] * 1e-6; }\n";
const char* kUniformFragment =
    "uniform float glowIntensity, reflectionIntensity, specularShininess;\n"
    "uniform vec3 specularColor;\n"
    "void main() { gl_FragColor = vec4(specularColor, glowIntensity + reflectionIntensity + specularShininess); }\n";

class SceneGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glOrtho(-4, 4, -4, 4, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        trace.clear();
    }
    void TearDown() override {
        for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, 0);
            glDisable(GL_TEXTURE_2D);
        }
    }
    // Draws with no program at `time` and tells whether the pixel at scene x (y = 0) was drawn.
    void draw(OrvoScene& scene, float time) {
        glClear(GL_COLOR_BUFFER_BIT);
        drawScene(scene, NO_SCENE_PROGRAM, true, time);
    }
    static bool litAt(float x, float y = 0) {
        Rgba c = readPixel(int((x + 4) / 8 * GL_TEST_WIDTH), int((y + 4) / 8 * GL_TEST_HEIGHT));
        return c.r > 128 || c.g > 128 || c.b > 128;
    }
    // Buffers, client arrays and the modelview matrix are as drawing found them.
    void expectStateRestored() {
        EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
        EXPECT_EQ(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
        for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
            EXPECT_FALSE(glIsEnabled(array)) << array;
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), (std::vector<float>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
        EXPECT_TRUE(drainGLErrors().empty());
    }
    ScratchFolder dir;
    TraceCapture trace;
};

}  // namespace

TEST_F(SceneGL, PreparationFindsTexturesWithTheirFallbacks) {
    writePicture("prep-red.png", 3, 255, 0, 0);
    dir.write("prep-red.png.light", dir.read("prep-red.png"));
    writePicture("prep-light.png", 3, 0, 255, 0);
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    w.addObject(sceneQuad("companion", "root", "red", 0));
    w.addObject(sceneQuad("lightonly", "root", "lit", 0));
    w.addObject(sceneQuad("plain", "root", "no-such-material", 0));
    SceneObjectDesc noIndices = sceneQuad("loose", "root", "red", 0);
    noIndices.indices.clear();
    w.addObject(noIndices);
    w.addMaterial(sceneMaterial("red", "prep-red.png"));
    w.addMaterial(sceneMaterial("lit", "prep-missing.png", "prep-light.png"));
    OrvoScene scene = build(w);
    const std::vector<float> quadPositions = scene.objects[1].positions;
    const std::vector<float> quadTexCoords = scene.objects[1].texCoords;
    const uint32_t quadIndices = scene.objects[1].indexCount();
    prepareSceneObject(scene.objects[0]);

    GL_Texture* white = GL_TextureManager::getWhiteTexture();
    GL_Texture* red = GL_TextureManager::getTexture("prep-red.png");
    GL_Texture* redLight = GL_TextureManager::getTexture("prep-red.png.light");
    GL_Texture* green = GL_TextureManager::getTexture("prep-light.png");
    ASSERT_TRUE(red && redLight && green);
    const SceneMeshBuffers* b = scene.objects[1].buffers.get();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->diffuseTexture, red);
    EXPECT_EQ(b->lightTexture, redLight);  // no light map named: the ".light" companion
    EXPECT_EQ(textureParameter(red->textureId, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(redLight->textureId, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    // Seen at every distance and slant, a scene's pictures are read through their mipmaps.
    EXPECT_EQ(textureParameter(red->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(textureParameter(redLight->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    b = scene.objects[2].buffers.get();
    EXPECT_EQ(b->diffuseTexture, white);
    EXPECT_EQ(b->lightTexture, green);
    EXPECT_EQ(textureParameter(green->textureId, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(green->textureId, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    b = scene.objects[3].buffers.get();
    EXPECT_EQ(b->diffuseTexture, white);
    EXPECT_EQ(b->lightTexture, white);
    EXPECT_EQ(scene.objects[4].buffers, nullptr);
    EXPECT_EQ(scene.objects[0].buffers, nullptr);

    const SceneObject& q = scene.objects[1];
    ASSERT_EQ(quadPositions.size(), 12u);
    EXPECT_EQ(bufferFloats(q.buffers->sets[0][SceneMeshBuffers::POSITIONS], 12), quadPositions);
    EXPECT_EQ(bufferFloats(q.buffers->sets[0][SceneMeshBuffers::TEXCOORDS], 8), quadTexCoords);
    EXPECT_FALSE(q.buffers->hasSecondSet);
    // A mesh that does not animate is drawn from its buffers alone: its arrays are let go, its counts stay.
    EXPECT_EQ(q.buffers->indexCount, quadIndices);
    EXPECT_GT(quadIndices, 0u);
    EXPECT_EQ(q.vertexCount, 4u);
    EXPECT_TRUE(q.positions.empty() && q.normals.empty() && q.texCoords.empty() && q.indices.empty());
    EXPECT_TRUE(drainGLErrors().empty());
}

TEST_F(SceneGL, AnAnimatedMeshKeepsItsLastFrameInTheSecondSetAndPlays) {
    OrvoWriter w;
    SceneObjectDesc wave = sceneQuad("wave", "", "", -2);
    wave.keys = {sceneKey(0, {})};
    wave.frameTimes = {0, 24, 48};
    wave.laterFrames = {{square(0, 0), wave.normals}, {square(2, 0), wave.normals}};
    w.addObject(wave);
    OrvoScene scene = build(w);
    SceneObject& o = scene.objects[0];
    prepareSceneObject(o);
    ASSERT_TRUE(o.buffers && o.buffers->hasSecondSet);
    EXPECT_EQ(o.buffers->workingPositions, std::vector<float>(o.positions.begin(), o.positions.begin() + 12));
    EXPECT_EQ(bufferFloats(o.buffers->sets[1][SceneMeshBuffers::POSITIONS], 12),
              std::vector<float>(o.positions.begin() + 24, o.positions.end()));

    struct Step {
        float time, x;
        uint32_t frame;
    } steps[] = {{0, -2, 0}, {0.5f, 0, 1}, {1.5f, 0, 1}, {2.5f, 2, 1}, {0.5f, 0, 1}, {-1, -2, 1}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.time);
        draw(scene, s.time);
        EXPECT_TRUE(litAt(s.x));
        for (float other : {-2.0f, 0.0f, 2.0f}) {
            if (other == s.x) continue;
            EXPECT_FALSE(litAt(other)) << other;
        }
        EXPECT_EQ(o.buffers->currentFrame, s.frame);
        expectStateRestored();
    }
}

TEST_F(SceneGL, KeysMoveObjectsTransformsNestAndAHiddenKeyHidesTheSubtree) {
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    SceneObjectDesc mover = sceneQuad("mover", "root", "", 0);
    mover.keys = {sceneKey(0, {0, 0, 0}), sceneKey(48, {2, 0, 0})};
    w.addObject(mover);
    SceneObjectDesc rider = sceneQuad("rider", "mover", "", 0, 2);  // drawn at (0, 2) relative to the mover
    rider.keys = {sceneKey(0, {0, 1, 0})};
    w.addObject(rider);
    // Hidden until its second key, with a child and a grandchild that have no keys of their own.
    SceneObjectDesc parent = sceneQuad("parent", "root", "", -2, -2);
    parent.keys = {sceneKey(0, {}, {}, {1, 1, 1}, false), sceneKey(48, {}, {}, {1, 1, 1}, true)};
    w.addObject(parent);
    w.addObject(sceneQuad("child", "parent", "", 2, -2));
    w.addObject(sceneQuad("grandchild", "child", "", 0, -2));
    OrvoScene scene = build(w);
    prepareSceneObject(scene.objects[0]);

    draw(scene, 1.0f);
    EXPECT_TRUE(litAt(1, 0));
    EXPECT_FALSE(litAt(0, 0));
    EXPECT_TRUE(litAt(1, 3));
    for (float x : {-2.0f, 0.0f, 2.0f}) EXPECT_FALSE(litAt(x, -2)) << x;
    draw(scene, 3.0f);
    EXPECT_TRUE(litAt(2, 0));
    EXPECT_TRUE(litAt(2, 3));
    for (float x : {-2.0f, 0.0f, 2.0f}) EXPECT_TRUE(litAt(x, -2)) << x;
    draw(scene, -1.0f);
    EXPECT_TRUE(litAt(0, 0));
    EXPECT_FALSE(litAt(1, 0));
    expectStateRestored();
}

TEST_F(SceneGL, OnlyOpaqueMaterialsWithThreeChannelPicturesAreDrawn) {
    writePicture("pass-rgb.png", 3, 0, 0, 255);
    writePicture("pass-rgba.png", 4, 0, 0, 255);
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    w.addObject(sceneQuad("solid", "root", "solid", -2));
    w.addObject(sceneQuad("glass", "root", "glass", 0));
    w.addObject(sceneQuad("cutout", "root", "cutout", 2));
    w.addObject(sceneQuad("underglass", "glass", "solid", 0, 2));  // children of a filtered object still draw
    w.addMaterial(sceneMaterial("solid", "pass-rgb.png"));
    SceneMaterial glass = sceneMaterial("glass", "pass-rgb.png");
    glass.transparency = 0.5f;
    w.addMaterial(glass);
    w.addMaterial(sceneMaterial("cutout", "pass-rgba.png"));
    OrvoScene scene = build(w);
    prepareSceneObject(scene.objects[0]);
    draw(scene, 0);
    Rgba solid = readPixel(int((-2.0f + 4) / 8 * GL_TEST_WIDTH), GL_TEST_HEIGHT / 2);
    EXPECT_EQ(solid.b, 255);  // the blue picture, through the white light map
    EXPECT_EQ(solid.r, 0);
    EXPECT_FALSE(litAt(0));
    EXPECT_FALSE(litAt(2));
    EXPECT_TRUE(litAt(0, 2));
    expectStateRestored();
}

TEST_F(SceneGL, MaterialUniformsGoToTheProgramUnlessThereIsNone) {
    GL_Shader shader;
    ASSERT_TRUE(shader.createFromSource("sceneuniforms", kUniformVertex, nullptr, kUniformFragment, nullptr));
    OrvoWriter w;
    w.addObject(sceneQuad("shiny", "", "shiny", 0));
    SceneMaterial shiny = sceneMaterial("shiny", "");
    shiny.roughness = 0.25f;
    shiny.glowIntensity = 0.75f;
    shiny.reflectionIntensity = 0.5f;
    shiny.specularColor = {0.1f, 0.2f, 0.3f};
    w.addMaterial(shiny);
    OrvoScene scene = build(w);
    prepareSceneObject(scene.objects[0]);
    const GLuint p = shader.programId;
    auto uniform = [&](const char* name) {
        float v[3] = {-1, -1, -1};
        glGetUniformfv(p, glGetUniformLocation(p, name), v);
        return v[0];
    };

    glTranslatef(0.5f, 0, 0);
    glUseProgram(p);
    drawScene(scene, p, true, 0);
    glUseProgram(0);
    EXPECT_FLOAT_EQ(uniform("specularShininess"), 60.0f);
    EXPECT_FLOAT_EQ(uniform("glowIntensity"), 0.75f);
    EXPECT_FLOAT_EQ(uniform("reflectionIntensity"), 0.5f);
    float color[3];
    glGetUniformfv(p, glGetUniformLocation(p, "specularColor"), color);
    EXPECT_FLOAT_EQ(color[2], 0.3f);
    // The camera was set by the caller, who sent its view: the matrix now also holds the object's
    // placement, which must not become the view the program lights with.
    float view[16];
    glGetUniformfv(p, glGetUniformLocation(p, "viewMatrix"), view);
    EXPECT_FLOAT_EQ(view[12], 0.0f);
    // A scene that sets its own camera (here none: the matrix stays as it is) sends that view.
    glUseProgram(p);
    drawScene(scene, p, false, 0);
    glUseProgram(0);
    glGetUniformfv(p, glGetUniformLocation(p, "viewMatrix"), view);
    EXPECT_FLOAT_EQ(view[12], 0.5f);
    glLoadIdentity();
    EXPECT_TRUE(drainGLErrors().empty());

    // No program: the geometry is drawn and nothing is sent.
    glUseProgram(p);
    glUniform1f(glGetUniformLocation(p, "specularShininess"), 7.0f);
    glUseProgram(0);
    draw(scene, 0);
    EXPECT_TRUE(litAt(0));
    EXPECT_FLOAT_EQ(uniform("specularShininess"), 7.0f);
    expectStateRestored();
}

TEST_F(SceneGL, TheSceneCameraSetsFrustumAndViewOrNothingWithoutSamples) {
    OrvoWriter w;
    w.addObject(sceneQuad("target", "", "", 0));
    SceneCameraSample c = cameraLookAt({0, 0, 5}, {0, 0, 0}, {0, 1, 0}, 90, 90, 1.0f, 100);
    w.addCameraSample(c);
    OrvoScene scene = build(w);
    prepareSceneObject(scene.objects[0]);

    // Without samples nothing moves.
    OrvoScene empty = build(OrvoWriter{});
    empty.setView = empty.setProjection = true;
    std::vector<float> projection = matrix(GL_PROJECTION_MATRIX), view = matrix(GL_MODELVIEW_MATRIX);
    applySceneCamera(empty, 1);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), view);

    scene.setView = scene.setProjection = true;
    applySceneCamera(scene, 0);
    std::vector<float> p = matrix(GL_PROJECTION_MATRIX);
    // Near and far from the frustum matrix: near 1.0 becomes 0.1, far 100 becomes 500.
    const float a = p[10], b = p[14];
    EXPECT_NEAR(b / (a - 1), 0.1f, 1e-4);
    EXPECT_NEAR(b / (a + 1), 500.0f, 0.5f);
    EXPECT_NEAR(p[0], 1.0f / std::tan(45 * 3.1415f / 180), 1e-4);
    std::vector<float> v = matrix(GL_MODELVIEW_MATRIX);
    EXPECT_NEAR(v[14], -5.0f, 1e-5);  // looking down -Z from z = 5

    // The scene camera frames the quad at the centre of the picture.
    glClear(GL_COLOR_BUFFER_BIT);
    drawScene(scene, NO_SCENE_PROGRAM, false, 0);
    EXPECT_NE(readPixel(GL_TEST_WIDTH / 2, GL_TEST_HEIGHT / 2).r, 0);
    EXPECT_EQ(readPixel(5, 5).r, 0);

    // Without the view flag the current matrix is only moved by minus the camera position.
    scene.setView = scene.setProjection = false;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 0, 0);
    applySceneCamera(scene, 0);
    v = matrix(GL_MODELVIEW_MATRIX);
    EXPECT_FLOAT_EQ(v[12], 1.0f);
    EXPECT_FLOAT_EQ(v[14], -5.0f);
    EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), p);
    glLoadIdentity();
    EXPECT_TRUE(drainGLErrors().empty());
}

// Waiting for the driver part-way through a scene changes nothing drawn: the same draws land in
// the same order, overlapping ones included.
TEST_F(SceneGL, WaitingForTheDriverBetweenDrawsLeavesThePictureAsItWas) {
    GL_Shader shader;
    ASSERT_TRUE(shader.createFromSource("scenewaits", kUniformVertex, nullptr, kUniformFragment, nullptr));
    OrvoWriter w;
    w.addObject(sceneObject("root", ""));
    // Overlapping quads in three colours (the program draws the specular colour), each later one
    // covering part of the one before.
    for (int m = 0; m < 3; ++m) {
        SceneMaterial shade = sceneMaterial("shade" + std::to_string(m), "");
        shade.specularColor = {0.2f + 0.3f * float(m), 0.9f - 0.3f * float(m), 0.4f};
        w.addMaterial(shade);
    }
    for (int i = 0; i < 9; ++i)
        w.addObject(sceneQuad("quad" + std::to_string(i), "root", "shade" + std::to_string(i % 3),
                              -2.0f + 0.5f * float(i), 0.3f * float(i % 4), 0.9f));
    OrvoScene scene = build(w);
    prepareSceneObject(scene.objects[0]);
    auto picture = [&] {
        glClear(GL_COLOR_BUFFER_BIT);
        glUseProgram(shader.programId);
        drawScene(scene, shader.programId, true, 0.0f);
        glUseProgram(0);
        return readPixelsRgba(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    };

    const size_t limitInForce = binnedIndexLimit();
    setBinnedIndexLimit(0);
    const size_t waitsBefore = binnedWorkWaits();
    const std::vector<uint8_t> whole = picture();
    EXPECT_EQ(binnedWorkWaits(), waitsBefore);
    // A wait after every quad (6 indices each).
    setBinnedIndexLimit(6);
    const std::vector<uint8_t> pieced = picture();
    setBinnedIndexLimit(limitInForce);
    EXPECT_EQ(binnedWorkWaits(), waitsBefore + 9);
    EXPECT_EQ(pieced, whole);
    // The picture holds all three colours, so the comparison is of a real picture.
    std::set<uint8_t> reds;
    for (size_t i = 0; i < whole.size(); i += 4) reds.insert(whole[i]);
    EXPECT_GE(reds.size(), 4u);  // the background and three shades
    expectStateRestored();
}
