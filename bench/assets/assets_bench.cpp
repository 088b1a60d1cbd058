// How fast models and scenes load: the OBJ text reader (MB/s of text) against the binary cache of the
// same model (about 100,000 triangles), the cache load against a plain read of the same bytes (the
// load should stay within 1.25 x of it), and a scene of one million triangles read from its file.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/byte_io.h"
#include "assets/obj_cache.h"
#include "assets/obj_parser.h"
#include "assets/orvo_scene_reader.h"
#include "assets/orvo_writer.h"

using namespace zelFramework;
namespace fs = std::filesystem;

namespace {

// A wavy grid of (cells x cells x 2) triangles written the way the exporter writes models.
std::string gridObj(int cells) {
    std::string text = "# grid\nmtllib grid.mtl\no Grid\n";
    char line[160];
    const int n = cells + 1;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", x * 0.01, 0.05 * ((x * 7 + y * 3) % 11), y * 0.01);
            text += line;
        }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            std::snprintf(line, sizeof line, "vt %.6f %.6f\n", double(x) / cells, double(y) / cells);
            text += line;
        }
    text += "vn 0.000000 1.000000 0.000000\nusemtl grid\ns off\n";
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            int a = y * n + x + 1, b = a + 1, c = a + n, d = c + 1;
            std::snprintf(line, sizeof line, "f %d/%d/1 %d/%d/1 %d/%d/1\nf %d/%d/1 %d/%d/1 %d/%d/1\n", a, a, b, b, d, d,
                          a, a, d, d, c, c);
            text += line;
        }
    return text;
}

struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "orvo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path); }
};

const std::string& modelText() {
    static const std::string text = gridObj(224);  // 100,352 triangles
    return text;
}

void BM_ObjTextParse(benchmark::State& state) {
    const std::string& text = modelText();
    ObjMesh mesh;
    for (auto _ : state) {
        parseObjText(text.data(), text.size(), mesh);
        benchmark::DoNotOptimize(mesh.positions.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["triangles"] = double(mesh.vertexCount / 3);
}

void BM_ObjCacheDecode(benchmark::State& state) {
    ObjMesh mesh;
    parseObjText(modelText().data(), modelText().size(), mesh);
    std::vector<uint8_t> cache;
    encodeObjCache(mesh, FileStamp{}, cache);
    for (auto _ : state) {
        decodeObjCache(cache.data(), cache.size(), mesh);
        benchmark::DoNotOptimize(mesh.positions.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(cache.size()));
}

// The whole loading rule from disk: text parse (and cache write) against the cache alone.
void BM_ObjLoadFromText(benchmark::State& state) {
    TempFolder dir;
    const std::string obj = (dir.path / "grid.obj").string();
    writeWholeFile(obj, std::vector<uint8_t>(modelText().begin(), modelText().end()));
    ObjMesh mesh;
    for (auto _ : state) {
        fs::remove(obj + ".bin");
        loadObjMesh(obj.c_str(), mesh);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(modelText().size()));
}

// The model's folder with its text and cache, made once for the two benchmarks below.
const std::string& cachedModel() {
    static TempFolder dir;
    static const std::string obj = [] {
        const std::string path = (dir.path / "grid.obj").string();
        writeWholeFile(path, std::vector<uint8_t>(modelText().begin(), modelText().end()));
        ObjMesh mesh;
        loadObjMesh(path.c_str(), mesh);
        return path;
    }();
    return obj;
}

// Every load of the show's: a fresh mesh each time, as a model is loaded once into a new frame.
void BM_ObjLoadFromCache(benchmark::State& state) {
    const std::string& obj = cachedModel();
    for (auto _ : state) {
        ObjMesh mesh;
        if (loadObjMesh(obj.c_str(), mesh) != ObjLoadSource::Cache) state.SkipWithError("the cache did not serve");
        benchmark::DoNotOptimize(mesh.positions.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(obj + ".bin")));
}

// The floor for the load above: open the cache file, size it, read its bytes into fresh memory, close.
void BM_RawReadOfTheCacheBytes(benchmark::State& state) {
    const std::string path = cachedModel() + ".bin";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info;
        ::fstat(fd, &info);
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[size_t(info.st_size)]);
        size_t got = 0;
        while (got < size_t(info.st_size)) {
            const ssize_t n = ::read(fd, bytes.get() + got, size_t(info.st_size) - got);
            if (n <= 0) break;
            got += size_t(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(path)));
}

// Ten keyed objects of 100,352 triangles each (225 x 225 vertex grids) sharing one material, plus a
// camera path of 2,000 samples.
std::vector<uint8_t> millionTriangleScene() {
    OrvoWriter w;
    SceneObjectDesc root;
    root.name = "root";
    w.addObject(root);
    const int cells = 224;  // 2 x 224 x 224 = 100,352 triangles per object
    const int n = cells + 1;
    for (int i = 0; i < 10; ++i) {
        SceneObjectDesc o;
        o.name = "part" + std::to_string(i);
        o.parent = "root";
        o.materialName = "stone";
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                o.positions.push_back({float(x), float(i), float(y)});
                o.normals.push_back({0, 1, 0});
                o.uvs.push_back({float(x) / cells, float(y) / cells});
            }
        for (int y = 0; y < cells; ++y)
            for (int x = 0; x < cells; ++x) {
                uint32_t a = uint32_t(y * n + x), b = a + 1, c = a + uint32_t(n), d = c + 1;
                o.indices.insert(o.indices.end(), {a, b, d, a, d, c});
            }
        o.keys = {sceneKey(0, {0, 0, 0}), sceneKey(240, {0, 10, 0}, {0, 0, 90})};
        w.addObject(std::move(o));
    }
    SceneMaterial stone;
    stone.name = "stone";
    stone.diffuseMap = "stone.png";
    w.addMaterial(stone);
    for (int i = 0; i < 2000; ++i) w.addCameraSample(cameraLookAt({float(i), 5, -20}, {float(i), 0, 0}));
    std::vector<uint8_t> bytes;
    w.encode(bytes);
    return bytes;
}

void BM_SceneLoadMillionTriangles(benchmark::State& state) {
    TempFolder dir;
    const std::string path = (dir.path / "million.orvo").string();
    const std::vector<uint8_t> bytes = millionTriangleScene();
    writeWholeFile(path, bytes);
    uint64_t triangles = 0;
    for (auto _ : state) {
        OrvoScene scene;
        loadOrvoScene(path.c_str(), true, scene, true);
        triangles = 0;
        for (const SceneObject& o : scene.objects) triangles += o.indexCount() / 3;
        benchmark::DoNotOptimize(scene.objects.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["triangles"] = double(triangles);
    state.counters["file_MB"] = double(bytes.size()) / 1e6;
}

void BM_SceneWriteMillionTriangles(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(millionTriangleScene().size());
}

}  // namespace

BENCHMARK(BM_ObjTextParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjCacheDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjLoadFromText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ObjLoadFromCache)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_RawReadOfTheCacheBytes)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_SceneLoadMillionTriangles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneWriteMillionTriangles)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
