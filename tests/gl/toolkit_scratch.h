// The blur toolkit set up for a test suite: its bokeh program reads its files from the shader folder
// below the current directory, so the suite works in a scratch folder holding copies of them.
#pragma once

#include <filesystem>
#include <memory>

#include "gl/gltk.h"
#include "gl_test_files.h"

namespace orvotest {

// Makes the scratch folder current, copies the bokeh program's shader files into it and runs
// gltkInit; the folder lives as long as the returned object.
inline std::unique_ptr<ScratchFolder> startToolkitInScratchFolder() {
    auto folder = std::make_unique<ScratchFolder>();
    std::filesystem::create_directory("shaders");
    for (const char* file : {"spreadBlurVert.h", "spreadBlurFrag.h"})
        std::filesystem::copy_file(std::filesystem::path(ORVO_SOURCE_DIR) / "shaders" / file,
                                   std::filesystem::path("shaders") / file);
    zelFramework::gltkInit();
    return folder;
}

}  // namespace orvotest
