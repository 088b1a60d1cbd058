// Bringing a model made in a 3-D program (glTF, OBJ, FBX, Collada and whatever else assimp reads)
// into the scene format: its node tree, key-frame animation, first camera, materials and picture
// names. What the format cannot hold is listed in the report, never dropped silently.
#pragma once

#include <string>
#include <vector>

#include "assets/orvo_writer.h"

namespace zelFramework {

struct ImportReport {
    int objects = 0;
    int meshes = 0;
    int materials = 0;
    int keys = 0;
    int cameraSamples = 0;
    std::vector<std::string> pictures;  // picture names the materials refer to, as the show will ask for them
    std::vector<std::string> notHeld;   // one line for each thing the format cannot carry
};

// Reads `modelPath` and describes it into `writer`. False, with `error` naming the file and the
// reason, when the model cannot be read or holds nothing to import.
bool importModel(const std::string& modelPath, OrvoWriter& writer, ImportReport& report, std::string& error);

// The report as the tool prints it.
std::string describeImport(const ImportReport& report);

}  // namespace zelFramework
