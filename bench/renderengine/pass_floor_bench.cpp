// The pass floor of the show: what a frame must cost if every full-picture pass that the render
// engine, the post-processing and the overlay layers run cost as much as a plain copy pass of the same
// size and format, plus the geometry pass at the scene's triangle count. Measures those costs (copy
// passes at every size and format the renderer uses, k-tap passes, two-attachment geometry passes),
// prints each mask's floor and, given the output of `orvo-show --benchmark`, each schedule entry's
// ratio of frame time to its floor, in process CPU time (the steady figure on a shared machine) and
// wall time. Run under a display (xvfb-run), one picture size per process:
//   bench_pass_floor 640 --resources build/resources --entries bench-640.txt
// The picture is WIDTH x truncate(WIDTH / 2.28), as the show makes it.
#include <GL/glew.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/screen_metrics.h"
#include "assets/orvo_scene_reader.h"
#include "gl/fbo_texture.h"
#include "gl/gltk.h"
#include "gl/pass_timer.h"
#include "gl/shader.h"
#include "renderengine/features.h"
#include "runtime/show_runtime.h"
#include "show/layer_buildup.h"
#include "show/layer_gl.h"
#include "show/show_composition.h"
#include "support/bench_gl_context.h"
#include "sync/controller_set.h"
#include "sync/snapshots.h"

using namespace zelFramework;

namespace {

// ---- what a pass costs ----

struct Cost {
    double cpuMs = 0.0, wallMs = 0.0;
    Cost& operator+=(const Cost& o) { cpuMs += o.cpuMs; wallMs += o.wallMs; return *this; }
};
Cost operator*(double n, Cost c) { return {n * c.cpuMs, n * c.wallMs}; }

std::map<std::string, Cost>& measured() {
    static std::map<std::string, Cost> costs;
    return costs;
}

// Runs `body` per iteration between two glFinish calls; the mean CPU and wall time go under `key`.
void timeBody(benchmark::State& state, const std::string& key, const std::function<void()>& body) {
    double cpu = 0.0, wall = 0.0;
    glFinish();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processCpuMs();
        body();
        glFinish();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += processCpuMs() - cpuStart;
        wall += seconds * 1000.0;
        state.SetIterationTime(seconds);
    }
    const double n = state.iterations() ? double(state.iterations()) : 1.0;
    measured()[key] = {cpu / n, wall / n};
    state.counters["cpu_ms"] = cpu / n;
}

// The sizes and formats of the show's targets.
struct Format {
    const char* name;
    int bits;
    GLenum layout;
};
const Format RGBA16F{"rgba16f", 16, GL_RGBA}, RGB16F{"rgb16f", 16, GL_RGB}, RGBA8{"rgba8", 8, GL_RGBA};

std::string copyKey(const Format& f, int w, int h) {
    return std::string("copy ") + f.name + " " + std::to_string(w) + "x" + std::to_string(h);
}

const char* VERTEX = "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }";

// A pass of k taps along a line, each a filtered fetch: the price of a k-tap filter.
std::string tapFragment(int k) {
    std::string s = "uniform sampler2D picture;\nvoid main() {\n vec2 uv = gl_TexCoord[0].st;\n vec4 sum = vec4(0.0);\n";
    for (int i = 0; i < k; ++i)
        s += " sum += texture2D(picture, uv + vec2(" + std::to_string(float(i - k / 2) * 0.0021f) + ", 0.0));\n";
    return s + " gl_FragColor = sum / " + std::to_string(k) + ".0;\n}\n";
}

void copyPass(benchmark::State& state, Format f, int w, int h) {
    GL_FBOTexture source, destination;
    source.create(1, f.bits, w, h, f.layout, false);
    destination.create(1, f.bits, w, h, f.layout, false);
    timeBody(state, copyKey(f, w, h), [&] { source.copyTo(&destination); });
    source.release();
    destination.release();
}

void tapPass(benchmark::State& state, int taps, int w, int h) {
    GL_FBOTexture source, destination;
    source.create(1, 16, w, h, GL_RGBA, false);
    destination.create(1, 16, w, h, GL_RGBA, false);
    GL_Shader shader;
    const std::string fragment = tapFragment(taps);
    shader.createFromSource("taps", VERTEX, nullptr, fragment.c_str(), nullptr);
    timeBody(state, std::to_string(taps) + "-tap rgba16f " + std::to_string(w) + "x" + std::to_string(h), [&] {
        destination.begin();
        shader.use();
        source.bind(GL_TEXTURE0);
        drawQuad();
        source.unbind();
        glUseProgram(0);
        destination.end();
    });
    shader.destroy();
    source.release();
    destination.release();
}

// Normal and depth into attachment 0, a colour into attachment 1: what the geometry pass writes.
const char* GEOMETRY_VERTEX = R"(
varying vec3 normal;
varying float distance;
void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    normal = gl_NormalMatrix * gl_Normal;
    distance = -eye.z;
    gl_Position = gl_ProjectionMatrix * eye;
}
)";
const char* GEOMETRY_FRAGMENT = R"(
varying vec3 normal;
varying float distance;
void main() {
    vec3 n = normalize(normal);
    gl_FragData[0] = vec4(n, distance);
    gl_FragData[1] = vec4(n * 0.5 + 0.5, 0.0);
}
)";

// A screen-filling relief of `triangles` triangles, seen at an angle so that parts overlap.
void geometryPass(benchmark::State& state, int triangles, int w, int h) {
    const int side = std::max(1, int(std::sqrt(double(triangles) / 2.0)));
    std::vector<float> data;
    data.reserve(size_t(side) * side * 36);
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const float x0 = float(i) / side * 2 - 1, x1 = float(i + 1) / side * 2 - 1;
            const float y0 = float(j) / side * 2 - 1, y1 = float(j + 1) / side * 2 - 1;
            const float corners[6][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y0}, {x1, y1}, {x0, y1}};
            for (const auto& c : corners)
                data.insert(data.end(), {c[0], c[1], -2.0f + 0.1f * std::sin(c[0] * 40) * std::cos(c[1] * 30),
                                         0.0f, 0.0f, 1.0f});
        }
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.size() * sizeof(float)), data.data(), GL_STATIC_DRAW);
    GL_FBOTexture target;
    target.create(2, 16, w, h, GL_RGBA, true);
    GL_Shader shader;
    shader.createFromSource("geometry", GEOMETRY_VERTEX, nullptr, GEOMETRY_FRAGMENT, nullptr);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.6, 0.6, -0.6, 0.6, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    timeBody(state, "geometry " + std::to_string(triangles), [&] {
        target.begin();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        shader.use();
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), nullptr);
        glNormalPointer(GL_FLOAT, 6 * sizeof(float), reinterpret_cast<void*>(3 * sizeof(float)));
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(data.size() / 6));
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glUseProgram(0);
        target.end();
    });
    glDisable(GL_DEPTH_TEST);
    shader.destroy();
    target.release();
    glDeleteBuffers(1, &buffer);
}

// ---- the floor of each layer ----

int W = 640, H = 280;

Cost copyCost(const Format& f, int w, int h) { return measured()[copyKey(f, w, h)]; }

// The passes of one renderer frame with `mask`, without the geometry.
Cost maskPasses(uint32_t mask) {
    using namespace RenderEngine;
    const Cost full = copyCost(RGBA16F, W, H);
    Cost c;
    if (mask & RE_SSAO)
        c += copyCost(RGBA8, W, H), c += 2.0 * copyCost(RGBA8, W / 2, H / 2);  // occlusion and its two blurs
    c += full;                                                                // composite
    c += (mask & RE_DOF) ? 3.0 * full : 2.0 * full;  // anti-aliasing, copy, depth of field / copy back
    if (mask & RE_GLOW) c += 4.0 * full;             // two blurs, combine, copy
    return c;
}

// Full-picture draws of a slide layer into the shared picture at show time T, one for every slide
// layer drawn over the picture (a layer pulsed or moved a little is counted whole); the cards, which
// cover part of the picture, are left out.
using PictureDraws = int (*)(float T);

// The build-up's slides in order: three, five, five, four, three and four layers.
int buildUpPictureDraws(float T) {
    static const int DRAWS[7] = {0, 3, 5, 5, 4, 3, 4};
    const int slide = buildUpSlideAt(T);
    return slide >= 0 && slide <= 6 ? DRAWS[slide] : 0;
}

// The end screen: the background and three layers over the turning card.
int endScreenPictureDraws(float) { return 4; }

// A 3-D layer draws its finished picture into the shared one once.
int oneDraw(float) { return 1; }

struct LayerFloor {
    uint32_t mask = 0;
    bool scene = false;
    std::vector<std::string> sceneFiles;
    int triangles = 0;
    PictureDraws pictureDraws = oneDraw;
};

std::map<std::string, LayerFloor> layerFloors() {
    using namespace RenderEngine;
    std::map<std::string, LayerFloor> f;
    f["intro"] = {0xE1, true, {"intro-005.orvo"}};
    f["tunnelarena"] = {0xE1, true, {"ArenaTunnel.orvo"}};
    f["superbowl"] = {0x1C1, true, {"Vexil2000.orvo"}};
    f["tunnel"] = {0x61, true, {"tunnel-004.orvo", "velmora-logo.orvo"}};
    const char* titles[5][2] = {{"nfl-feature-text-001", "No_Bigscreens_Just_Lasers.orvo"},
                                {"nfl-feature-text-002", "Quantum_Computing_Compo.orvo"},
                                {"nfl-feature-text-003", "8_Petabyte_Intro_Compo.orvo"},
                                {"nfl-feature-text-004", "Demoscene_Fashion_Show.orvo"},
                                {"nfl-feature-text-005", "400_DJs_On_1200_Floors.orvo"}};
    for (auto& t : titles) f[t[0]] = {0x141, true, {t[1]}};
    f["buildup"] = {0, false, {}, 0, buildUpPictureDraws};
    f["endscreen"] = {0, false, {}, 0, endScreenPictureDraws};
    return f;
}

int sceneTriangles(const std::vector<std::string>& files) {
    int triangles = 0;
    for (const std::string& file : files) {
        OrvoScene scene;
        loadOrvoScene(file.c_str(), false, scene, false);
        for (const SceneObject& o : scene.objects) triangles += int(o.indices.size() / 3);
    }
    return triangles;
}

// The post-processing layer at one moment: colour correction, write-back, the glow (a copy into the
// 640 x 360 scratch picture, intensity x 20 + 1 passes there, a copy back, two additions), grading,
// the output into the window and the vignette.
Cost postFloor(float glowRadius, float glowIntensity) {
    const Cost full = copyCost(RGB16F, W, H);
    Cost c = 2.0 * full;
    if (glowRadius > 0.0f && glowIntensity > 0.0f) {
        const int passes = int(glowRadius * 20.0f + 1.0f);
        c += double(passes + 1) * copyCost(RGBA8, 640, 360);
        c += 3.0 * full;
    }
    c += full;                            // grading
    c += 2.0 * copyCost(RGBA8, W, H);      // output and vignette, into the window
    return c;
}

struct EntryFigures {
    std::string name;
    double cpuMs = 0.0, wallMs = 0.0;
};

// "entry=N name=X ... avg_ms=A ... cpu_avg_ms=C" lines of the show's benchmark.
std::map<int, EntryFigures> readEntries(const std::string& path) {
    std::map<int, EntryFigures> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("entry=", 0) != 0) continue;
        std::istringstream words(line);
        std::string word;
        int index = 0;
        EntryFigures e;
        while (words >> word) {
            const size_t eq = word.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = word.substr(0, eq), value = word.substr(eq + 1);
            if (key == "entry") index = std::atoi(value.c_str());
            else if (key == "name") e.name = value;
            else if (key == "avg_ms") e.wallMs = std::atof(value.c_str());
            else if (key == "cpu_avg_ms") e.cpuMs = std::atof(value.c_str());
        }
        if (index > 0) entries[index] = e;
    }
    return entries;
}

// `floors` carry the scenes' triangle counts, counted once from their files.
void report(const std::map<std::string, LayerFloor>& floors, const std::string& resources,
            const std::string& entriesFile) {
    std::printf("\npass floor at %dx%d (ms per pass, cpu / wall)\n", W, H);
    for (const auto& [key, cost] : measured())
        std::printf("cost name=\"%s\" cpu_ms=%.3f wall_ms=%.3f\n", key.c_str(), cost.cpuMs, cost.wallMs);

    // A layer's passes; its draws into the shared picture are added per frame, as they follow the time.
    std::map<std::string, Cost> layerCost;
    for (const auto& [name, f] : floors) {
        Cost c;
        if (f.scene) {
            c += measured()["geometry " + std::to_string(f.triangles)];
            c += maskPasses(f.mask);
        }
        layerCost[name] = c;
        std::printf("floor layer=%s mask=0x%X triangles=%d cpu_ms=%.2f wall_ms=%.2f (plus its draws into the picture)\n",
                    name.c_str(), f.mask, f.triangles, c.cpuMs, c.wallMs);
    }
    for (uint32_t mask : {0x141u, 0x1C1u, 0xE1u, 0x61u}) {
        const Cost c = maskPasses(mask);
        std::printf("floor mask=0x%X passes_cpu_ms=%.2f passes_wall_ms=%.2f (plus the geometry pass)\n", mask, c.cpuMs,
                    c.wallMs);
    }
    if (entriesFile.empty() || resources.empty()) return;

    // Each entry's floor is the mean over its frames (30 a second) of the floors of the layers drawn
    // in each, with the post-processing glow as the curves set it at that moment.
    ControllerSet controllers;
    controllers.load(SYNC_DATA_FILE);
    Controller* radius = controllers.get("ZEL: Glow Radius");
    Controller* intensity = controllers.get("ZEL: Glow Intensity");
    const std::map<int, EntryFigures> entries = readEntries(entriesFile);
    const ShowRuntime& rt = runtime();
    std::map<const Layer_Base*, std::string> names;
    for (const LayerRegistration& r : rt.registry) names[r.layer] = r.name;
    for (size_t i = 0; i < rt.schedule.size(); ++i) {
        const ScheduleEntry& e = rt.schedule[i];
        auto figures = entries.find(int(i + 1));
        Cost sum;
        int frames = 0;
        for (uint32_t ms = e.startMs; ms <= e.endMs; ms += 33) {
            controllers.update(float(ms) / 1000.0f);
            Cost frame = postFloor(valueOf(radius), valueOf(intensity));
            for (const ScheduleEntry& other : rt.schedule)
                if (other.startMs <= ms && ms <= other.endMs && layerCost.count(names[other.layer])) {
                    frame += layerCost[names[other.layer]];
                    const int draws = floors.at(names[other.layer]).pictureDraws(float(ms) / 1000.0f);
                    frame += double(draws) * copyCost(RGB16F, W, H);
                }
            sum += frame;
            ++frames;
        }
        const Cost floor = (1.0 / std::max(frames, 1)) * sum;
        if (figures == entries.end()) {
            std::printf("entry=%zu name=%s floor_cpu_ms=%.2f floor_wall_ms=%.2f\n", i + 1, names[e.layer].c_str(),
                        floor.cpuMs, floor.wallMs);
            continue;
        }
        const EntryFigures& f = figures->second;
        std::printf("entry=%zu name=%s start_ms=%u end_ms=%u floor_cpu_ms=%.2f frame_cpu_ms=%.2f ratio_cpu=%.2f "
                    "floor_wall_ms=%.2f frame_wall_ms=%.2f ratio_wall=%.2f\n",
                    i + 1, names[e.layer].c_str(), e.startMs, e.endMs, floor.cpuMs, f.cpuMs,
                    floor.cpuMs > 0 ? f.cpuMs / floor.cpuMs : 0.0, floor.wallMs, f.wallMs,
                    floor.wallMs > 0 ? f.wallMs / floor.wallMs : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string resources, entriesFile;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const bool takesValue = !std::strcmp(argv[i], "--resources") || !std::strcmp(argv[i], "--entries");
        if (takesValue && i + 1 == argc) {
            // Left to the benchmark library it would be ignored, and the run would print floors without
            // the scenes' triangles or the entries' ratios as if that was what was asked.
            std::fprintf(stderr, "bench_pass_floor: %s needs a value\n", argv[i]);
            return 2;
        }
        if (!std::strcmp(argv[i], "--resources") && i + 1 < argc) resources = std::filesystem::absolute(argv[++i]).string();
        else if (!std::strcmp(argv[i], "--entries") && i + 1 < argc) entriesFile = std::filesystem::absolute(argv[++i]).string();
        else if (argv[i][0] != '-' && std::atoi(argv[i]) > 0) W = std::max(64, std::atoi(argv[i]));
        else rest.push_back(argv[i]);
    }
    if (!openBenchContext("orvo-pass-floor-bench")) return 1;
    setScreenMetrics(W, renderHeightFor(W));
    H = renderHeight;
    gltkInit();

    std::map<std::string, LayerFloor> floors = layerFloors();
    std::set<int> triangleCounts;
    if (!resources.empty()) {
        std::error_code error;
        std::filesystem::current_path(resources, error);
        if (error) {
            std::fprintf(stderr, "bench_pass_floor: cannot use the resources folder %s: %s\n", resources.c_str(),
                         error.message().c_str());
            return 1;
        }
        composeShow();
        for (auto& [name, f] : floors)
            if (f.scene) triangleCounts.insert(f.triangles = sceneTriangles(f.sceneFiles));
    }
    triangleCounts.insert(185000);

    auto copy = [](Format f, int w, int h) {
        benchmark::RegisterBenchmark(copyKey(f, w, h).c_str(), [=](benchmark::State& s) { copyPass(s, f, w, h); })
            ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
    };
    copy(RGBA16F, W, H);
    copy(RGB16F, W, H);
    copy(RGBA8, W, H);
    copy(RGBA8, W / 2, H / 2);
    copy(RGBA8, 640, 360);
    for (int taps : {4, 9, 16, 19, 37})
        benchmark::RegisterBenchmark(("taps " + std::to_string(taps)).c_str(),
                                     [=](benchmark::State& s) { tapPass(s, taps, W, H); })
            ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
    for (int triangles : triangleCounts)
        benchmark::RegisterBenchmark(("geometry " + std::to_string(triangles)).c_str(),
                                     [=](benchmark::State& s) { geometryPass(s, triangles, W, H); })
            ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);

    int restCount = int(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    report(floors, resources, entriesFile);
    benchmark::Shutdown();
    return 0;
}
