// orvo-scene info FILE: prints the object tree, materials and their maps, key and frame counts, camera
// samples and the bounding box of a scene file. Exit status 1 when the file cannot be read as a scene.
// orvo-scene import MODEL OUT.orvo: makes a scene file from a model of a 3-D program (through assimp)
// and lists what the scene format could not take. Exit status 1 when nothing could be written.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/byte_io.h"
#include "assets/orvo_scene_reader.h"
#include "assets/scene_info.h"
#include "tool_usage.h"
#ifdef ORVO_WITH_ASSIMP
#include "scene_import.h"
#endif

using namespace zelFramework;

namespace {

const char* const USAGE =
    "usage: orvo-scene info FILE\n"
    "       orvo-scene import MODEL OUT.orvo\n"
    "  info    print the object tree, materials, keys, camera samples and bounding box of a scene file\n"
    "  import  make a scene file from a model (glTF, OBJ, FBX, Collada, ... as assimp reads them):\n"
    "          node tree, key-frame animation (sampled at 24 frames per second), the first camera,\n"
    "          materials and picture names; what the scene format cannot hold is listed\n";

int usage(bool requested = false) { return toolfiles::printUsage(USAGE, requested); }

#ifdef ORVO_WITH_ASSIMP
int import(const char* model, const char* out) {
    OrvoWriter writer;
    ImportReport report;
    std::string error;
    if (!importModel(model, writer, report, error)) {
        std::fprintf(stderr, "orvo-scene: %s\n", error.c_str());
        return 1;
    }
    if (!writer.writeFile(out, &error)) {
        std::fprintf(stderr, "orvo-scene: cannot write %s: %s\n", out, error.c_str());
        return 1;
    }
    std::printf("%s -> %s\n%s", model, out, describeImport(report).c_str());
    return 0;
}
#else
int import(const char*, const char*) {
    std::fprintf(stderr, "orvo-scene: this build has no model import (assimp was not found when it was configured; "
                         "install libassimp-dev and configure again)\n");
    return 1;
}
#endif

int info(const char* path) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readWholeFile(path, bytes, why)) {
        std::fprintf(stderr, "orvo-scene: cannot read %s: it %s\n", path, why.c_str());
        return 1;
    }
    OrvoScene scene;
    std::string problem;
    if (!parseOrvoScene(bytes.data(), bytes.size(), scene, &problem)) {
        std::fprintf(stderr, "orvo-scene: %s is not a sound scene file: %s\n", path, problem.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes\n%s", path, bytes.size(), describeScene(scene).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (toolfiles::helpRequested(argc, argv)) return usage(true);
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) return info(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "import") == 0) return import(argv[2], argv[3]);
    return usage();
}
