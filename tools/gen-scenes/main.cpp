// gen-scenes: writes every 3-D asset of the show into a resources folder: the scene files, the two
// character models, their video pictures, the flash table and every picture the scenes name.
//
//   gen-scenes <output folder>
//
// Output is deterministic: the same program writes the same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "asset_set.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-scenes <output folder>\n");
        return 2;
    }
    std::string out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    return zelFramework::scenegen::generateAll(out, stdout) ? 0 : 1;
}
