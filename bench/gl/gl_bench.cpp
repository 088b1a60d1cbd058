// Costs of the GL resources on the test renderer: uploading a full-HD picture and the two blurs on a
// target of the show's picture size at 1280 wide (1280 x 561, the 2.28:1 aspect).
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/texture.h"

#include "support/bench_gl_context.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

using namespace zelFramework;

namespace {

constexpr int PICTURE_WIDTH = 1280, PICTURE_HEIGHT = 561;

// One hidden window and the toolkit for the whole run.
bool setUpContext() {
    static bool ready = [] {
        if (!openBenchContext("orvo-gl-bench")) return false;
        gltkInit();
        return true;
    }();
    return ready;
}

bool contextOrSkip(benchmark::State& state) {
    if (setUpContext()) return true;
    state.SkipWithError("no GL context");
    return false;
}

// A target of the show's picture size with bright squares on blue, so the blurs have edges to spread.
void createPatternPicture(GL_FBOTexture& target, int width = PICTURE_WIDTH, int height = PICTURE_HEIGHT) {
    target.create(1, 8, width, height, GL_RGBA, true);
    target.begin();
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (int i = 0; i < 16; ++i) {
        glScissor(i * width / 16, (i * 37) % height, 20, 20);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    target.end();
}

void BM_UploadRgba1920x1080(benchmark::State& state) {
    if (!contextOrSkip(state)) return;
    std::vector<uint8_t> pixels(size_t(1920) * 1080 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 31);
    for (auto _ : state) {
        GL_MemTexture texture;
        texture.create(pixels.data(), 1920, 1080, GL_RGBA, GL_REPEAT, GL_REPEAT);
        glFinish();
        state.PauseTiming();
        texture.release();
        glFinish();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pixels.size()));
}
BENCHMARK(BM_UploadRgba1920x1080)->Unit(benchmark::kMillisecond);

void BM_GltkBlurIntensity1(benchmark::State& state) {
    if (!contextOrSkip(state)) return;
    GL_FBOTexture picture;
    createPatternPicture(picture);
    for (auto _ : state) {
        gltkBlur(&picture, &picture, 1.0f, 1.0f);
        glFinish();
    }
    picture.release();
}
BENCHMARK(BM_GltkBlurIntensity1)->Unit(benchmark::kMillisecond);

// The glow: the blur with the show's power (exponent 1.2) at its radii, in hundredths (7, 11 and 15
// passes), on pictures 640 and 1280 wide. Process CPU time, since the renderer draws on several threads.
void BM_GltkGlow(benchmark::State& state) {
    if (!contextOrSkip(state)) return;
    GL_FBOTexture picture;
    createPatternPicture(picture, int(state.range(1)), int(state.range(1)) * PICTURE_HEIGHT / PICTURE_WIDTH);
    const float radius = float(state.range(0)) / 100.0f;
    for (auto _ : state) {
        gltkBlur(&picture, &picture, radius, 1.2f);
        glFinish();
    }
    picture.release();
}
BENCHMARK(BM_GltkGlow)
    ->ArgsProduct({{30, 50, 70}, {640, 1280}})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_GltkSpreadBlur(benchmark::State& state) {
    if (!contextOrSkip(state)) return;
    GL_FBOTexture picture;
    createPatternPicture(picture);
    const float intensity = float(state.range(0)) / 100.0f;
    const float quality = float(state.range(1)) / 100.0f;
    for (auto _ : state) {
        gltkSpreadBlur(&picture, &picture, intensity, quality);
        glFinish();
    }
    picture.release();
}
// intensity and quality in hundredths: the render engine's (any, 1.0) and a light and a heavy setting.
BENCHMARK(BM_GltkSpreadBlur)->Args({100, 100})->Args({50, 25})->Args({100, 200})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
