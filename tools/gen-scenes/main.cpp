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
#include "tool_usage.h"

int main(int argc, char** argv) {
    const bool help = zelFramework::toolfiles::helpRequested(argc, argv);
    if (help || argc != 2)
        return zelFramework::toolfiles::printUsage("usage: gen-scenes <output folder>\n", help);
    std::string out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    return zelFramework::scenegen::generateAll(out, stdout) ? 0 : 1;
}
