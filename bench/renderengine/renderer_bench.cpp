// renderFrame for each feature mask the show uses, over a generated scene of about 100,000 triangles,
// against one plain full-picture copy pass at the same size (reported as the counter "x_copy").
// The picture width is the first argument (default 1280; the height is width / 2.28): the shared render
// targets are made once per process, so each size runs in a process of its own:
//   bench_renderengine 640   and   bench_renderengine 1280
#include <GL/glew.h>

#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/screen_metrics.h"
#include "assets/model_renderer.h"
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "renderengine/renderer.h"
#include "support/bench_gl_context.h"

using namespace zelFramework;
using RenderEngine::Renderer;

namespace {

// A rolling terrain of quads plus a field of boxes, in one vertex buffer with normals and texture
// coordinates, drawn through the fixed-function arrays the geometry program reads.
class GeneratedScene : public ModelRenderer {
public:
    GeneratedScene() {
        const int grid = 160;  // 160 x 160 quads = 51,200 triangles
        for (int z = 0; z < grid; ++z)
            for (int x = 0; x < grid; ++x) {
                auto height = [](float px, float pz) { return 0.6f * std::sin(px * 0.35f) * std::cos(pz * 0.27f); };
                float x0 = float(x - grid / 2) * 0.5f, z0 = float(z) * -0.5f, x1 = x0 + 0.5f, z1 = z0 - 0.5f;
                float corners[4][3] = {{x0, height(x0, z0), z0}, {x1, height(x1, z0), z0},
                                       {x1, height(x1, z1), z1}, {x0, height(x0, z1), z1}};
                for (int i : {0, 1, 2, 0, 2, 3})
                    vertex(corners[i], 0, 1, 0);
            }
        // 1,000 boxes of 48 triangles (each face split 2 x 2): 48,000 triangles.
        for (int i = 0; i < 1000; ++i) {
            float cx = float(i % 40 - 20) * 2.0f, cz = -2.0f - float(i / 40) * 3.0f;
            box(cx, 0.0f, cz, 0.4f + float(i % 7) * 0.1f);
        }
        triangleCount = int(vertices.size() / 8 / 3);
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

    void render(GLuint, bool) override {
        const GLsizei stride = 8 * sizeof(float);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, nullptr);
        glNormalPointer(GL_FLOAT, stride, reinterpret_cast<void*>(3 * sizeof(float)));
        glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<void*>(6 * sizeof(float)));
        glDrawArrays(GL_TRIANGLES, 0, triangleCount * 3);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

    int triangleCount = 0;

private:
    std::vector<float> vertices;
    GLuint buffer = 0;

    void vertex(const float p[3], float nx, float ny, float nz) {
        vertices.insert(vertices.end(), {p[0], p[1], p[2], nx, ny, nz, p[0] * 0.1f, p[2] * 0.1f});
    }

    // A cube whose faces are split into 2 x 2 quads.
    void box(float cx, float cy, float cz, float half) {
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {-1.0f, 1.0f})
                for (int a = 0; a < 2; ++a)
                    for (int b = 0; b < 2; ++b) {
                        float quad[4][3];
                        const float u[4] = {0, 1, 1, 0}, v[4] = {0, 0, 1, 1};
                        for (int k = 0; k < 4; ++k) {
                            float s = (float(a) + u[k]) - 1.0f, t = (float(b) + v[k]) - 1.0f;
                            float local[3];
                            local[axis] = sign;
                            local[(axis + 1) % 3] = s;
                            local[(axis + 2) % 3] = t;
                            quad[k][0] = cx + local[0] * half;
                            quad[k][1] = cy + half + local[1] * half;
                            quad[k][2] = cz + local[2] * half;
                        }
                        float n[3] = {0, 0, 0};
                        n[axis] = sign;
                        for (int i : {0, 1, 2, 0, 2, 3})
                            vertex(quad[i], n[0], n[1], n[2]);
                    }
    }
};

int pictureWidth = 1280;
double copyPassSeconds = 0.0;  // mean time of the plain copy pass, measured first

bool setUpContext() {
    static bool ready = [] {
        if (!openBenchContext("orvo-renderengine-bench")) return false;
        setScreenMetrics(pictureWidth, pictureWidth * 9 / 16);
        gltkInit();
        return true;
    }();
    return ready;
}

void setCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, double(screenWidth) / double(renderHeight), 0.5, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 6, 8, 0, 0, -20, 0, 1, 0);
}

template <typename Body>
double timeIterations(benchmark::State& state, Body body) {
    double total = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        body();
        glFinish();
        auto end = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    return state.iterations() ? total / double(state.iterations()) : 0.0;
}

void BM_CopyPass(benchmark::State& state) {
    if (!setUpContext()) {
        state.SkipWithError("no GL context");
        return;
    }
    GL_FBOTexture source, destination;
    source.create(1, 16, screenWidth, renderHeight, GL_RGBA, false);
    destination.create(1, 16, screenWidth, renderHeight, GL_RGBA, false);
    copyPassSeconds = timeIterations(state, [&] {
        destination.begin();
        glClear(GL_COLOR_BUFFER_BIT);
        source.bind(GL_TEXTURE0);
        drawQuad();
        source.unbind();
        destination.end();
    });
    state.SetLabel(std::to_string(screenWidth) + "x" + std::to_string(renderHeight));
    source.release();
    destination.release();
}

// The generated scene alone, fixed-function into a target with depth: what any renderer pays for the
// triangles, so the renderer's own share is the difference.
void BM_SceneOnly(benchmark::State& state) {
    if (!setUpContext()) {
        state.SkipWithError("no GL context");
        return;
    }
    static std::unique_ptr<GeneratedScene> scene;
    if (!scene)
        scene = std::make_unique<GeneratedScene>();
    GL_FBOTexture target;
    target.create(1, 16, screenWidth, renderHeight, GL_RGBA, true);
    setCamera();
    glEnable(GL_DEPTH_TEST);
    timeIterations(state, [&] {
        target.begin();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene->render(0, true);
        target.end();
    });
    state.SetLabel(std::to_string(scene->triangleCount) + " triangles");
    target.release();
}

void BM_RenderFrame(benchmark::State& state) {
    if (!setUpContext()) {
        state.SkipWithError("no GL context");
        return;
    }
    const uint32_t mask = uint32_t(state.range(0));
    static std::unique_ptr<GeneratedScene> scene;
    if (!scene)
        scene = std::make_unique<GeneratedScene>();
    GL_Texture* white = GL_TextureManager::getWhiteTexture();
    Renderer renderer(nullptr, (mask & RenderEngine::RE_REFLECTION) ? white : nullptr, 1.0f, mask);
    static RenderEngine::RenderObject object;
    object.model = scene.get();
    object.diffuseTexture = white;
    object.matCapTexture = white;
    renderer.object("scene") = &object;
    const float positions[4][3] = {{-10, 4, -10}, {10, 4, -20}, {0, 3, -40}, {-15, 5, -60}};
    const float color[3] = {1.0f, 0.9f, 0.8f};
    for (int i = 0; i < 4; ++i)
        renderer.addLight("light" + std::to_string(i), positions[i], color, 40.0f);
    renderer.ambientLightColor[0] = renderer.ambientLightColor[1] = renderer.ambientLightColor[2] = 0.2f;
    renderer.cameraPreset = true;
    for (int i = 0; i < 40; ++i)
        renderer.flares.push_back({float(i - 20), 3.0f, -30.0f, 0.5f, 0.8f});
    setCamera();

    float time = 0.0f;
    const double mean = timeIterations(state, [&] {
        renderer.renderFrame(time, 1.0f / 60.0f);
        time += 1.0f / 60.0f;
    });
    char label[96];
    std::snprintf(label, sizeof(label), "mask 0x%X, %dx%d, %d triangles", mask, screenWidth, renderHeight,
                  scene->triangleCount);
    state.SetLabel(label);
    if (copyPassSeconds > 0.0)
        state.counters["x_copy"] = mean / copyPassSeconds;
}

}  // namespace

BENCHMARK(BM_CopyPass)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SceneOnly)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RenderFrame)->Arg(0x141)->Arg(0x1C1)->Arg(0xE1)->Arg(0x61)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
// Where the time goes: the bare chain (geometry, composite, anti-aliasing), then with one feature each.
BENCHMARK(BM_RenderFrame)->Name("BM_Breakdown")->Arg(0x40)->Arg(0x41)->Arg(0x60)->Arg(0xC0)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    if (argc > 1 && argv[1][0] != '-') {
        pictureWidth = std::max(64, std::atoi(argv[1]));
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
