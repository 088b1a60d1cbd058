// orvo-scene info FILE: prints the object tree, materials and their maps, key and frame counts, camera
// samples and the bounding box of a scene file. Exit status 1 when the file cannot be read as a scene.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets/byte_io.h"
#include "assets/orvo_scene_reader.h"
#include "assets/scene_info.h"
#include "tool_usage.h"

using namespace zelFramework;

namespace {

int usage(bool requested = false) { return toolfiles::printUsage("usage: orvo-scene info FILE\n", requested); }

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
    return usage();
}
