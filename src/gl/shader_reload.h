// Rebuilding the programs that read a shader file after that file changed on disk.
#pragma once

#include <string>
#include <string_view>

namespace zelFramework {

struct ShaderReloadReport {
    int rebuilt = 0;  // programs now running the new text
    int failed = 0;   // programs that kept their last good build
    std::string log;  // one block per failed program: "name (file): messages"
};

// Rebuilds every program whose vertex or fragment file is `fileName` (as given to loadFromFiles,
// relative to the shader folder; '\' and '/' count alike). Needs the show's context current.
ShaderReloadReport reloadShadersReading(std::string_view fileName);

}  // namespace zelFramework
