// The GL benchmarks' common start: one hidden window with a current GL context, working in a scratch
// copy of the shader folder so that the scrambled copies the programs write stay out of the source
// tree. The including target defines ORVO_SOURCE_DIR.
#pragma once

#include <cstdio>
#include <filesystem>

#include "platform/native_window.h"

namespace zelFramework {

// Opens the window and makes `<temp>/<scratchName>` (with a copy of every shader header) the working
// directory; false, with the reason on stderr, when no context can be had.
inline bool openBenchContext(const char* scratchName) {
    WindowRequest request;
    request.title = "orvo-bench";
    request.hidden = true;
    if (!openWindow(request)) {
        std::fprintf(stderr, "no GL context: %s\n", lastWindowError().c_str());
        return false;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / scratchName;
    std::filesystem::create_directories(folder / "shaders");
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ORVO_SOURCE_DIR) / "shaders"))
        if (entry.path().extension() == ".h")
            std::filesystem::copy_file(entry.path(), folder / "shaders" / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(folder);
    return true;
}

}  // namespace zelFramework
