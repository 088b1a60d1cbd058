// Shared pieces of the renderer's GL tests: a fixture that works inside the built resources folder at
// a small picture size, a model that records the GL state it is drawn with, simple geometry, and
// reading a render target back.
#pragma once

#include <GL/glew.h>

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include "assets/model_renderer.h"
#include "renderengine/renderer.h"
#include "support/gl_fixture.h"

namespace zelFramework {
class GL_FBOTexture;
}

namespace retest {

// The picture size every renderer of a test process uses (the first renderer creates the shared
// targets at this size; later ones reuse them).
constexpr int TEST_SCREEN_WIDTH = 228;  // render height 100

// What a model saw when it was drawn.
struct DrawRecord {
    GLuint program = 0;
    bool flag = false;
    bool blend = false;
    GLint blendSource = 0;
    GLint blendDestination = 0;
    GLboolean depthWrites = GL_TRUE;
    float aoEnable = -1.0f;
    float glowIntensity = -1.0f;
    float modelTime = -1.0f;
    float specularShininess = -1.0f;
    std::array<float, 3> specularColor{-1.0f, -1.0f, -1.0f};
    float reflectionIntensity = -1.0f;
    std::array<GLint, 3> textures{};  // 2-D texture bound on units 0, 1, 2
    std::array<float, 16> modelview{};
};

// A model that records each draw and then runs an optional drawing function.
class RecordingModel : public zelFramework::ModelRenderer {
public:
    float time = -1.0f;  // written by the renderer through RenderObject::modelTime
    std::vector<DrawRecord> draws;  // the lighting pass's
    struct DepthDraw {
        GLuint program = 0;
        float modelTime = -1.0f;
    };
    std::vector<DepthDraw> depthDraws;  // the depth pass's, which writes no colour
    std::function<void()> geometry;

    void render(GLuint program, bool flag) override;
};

// Immediate-mode geometry with normals, for models that draw something visible.
void drawBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);
void drawFloor(float halfSize, float y);

// Registers `object` under `name`, drawn by `model` with `diffuse` and a white matcap, and lights the
// renderer with full ambient light alone (no viewer light), so the picture shows the texture as it is.
// The camera is preset: the test sets it before rendering.
void addEvenlyLitObject(RenderEngine::Renderer& renderer, const char* name, RenderEngine::RenderObject& object,
                        RecordingModel& model, zelFramework::GL_Texture* diffuse);

// Pixel (x, y) of colour attachment `attachment` of a target, as floats.
std::array<float, 4> readTargetPixel(zelFramework::GL_FBOTexture* target, int x, int y, int attachment = 0);

// The whole of colour attachment `attachment` of a target as 8-bit RGBA rows (values clamped to 0..1,
// as they would reach the window).
std::vector<uint8_t> readTargetPicture(zelFramework::GL_FBOTexture* target, int attachment = 0);

// A 45-degree perspective of the test picture's aspect from `eye` towards `target` (y up), set as
// the current projection and modelview for a renderer with cameraPreset.
void lookAtFrom(const std::array<float, 3>& eye, const std::array<float, 3>& target, double nearPlane, double farPlane);

// Value of a float (or vecN) uniform of a program, read back from the program.
std::vector<float> uniformValue(GLuint program, const char* name, int components);
int uniformInt(GLuint program, const char* name);

class RendererGLTest : public orvotest::GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::filesystem::path previous_;
};

}  // namespace retest
