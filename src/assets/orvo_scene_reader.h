// Reading ".orvo" scene files into an OrvoScene.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "assets/orvo_scene.h"

namespace zelFramework {

// Parses the bytes of a scene file into `scene` (emptied first; its two flags are kept). Every count is
// checked against the bytes left before anything is allocated. On a short or inconsistent file the
// result is false, `scene` is left empty and `problem` says what was wrong.
bool parseOrvoScene(const uint8_t* data, size_t size, OrvoScene& scene, std::string* problem = nullptr);

// Reads the scene file `path` (relative to the resources folder) into `scene` and returns it, with the
// two camera flags stored. A missing, short or inconsistent file gives a WARNING naming the file and
// an empty scene.
OrvoScene& loadOrvoScene(const char* path, bool setView, OrvoScene& scene, bool setProjection);

}  // namespace zelFramework
