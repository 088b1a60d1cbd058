// Whether a resources folder can be played from, decided before any window opens: a wrong folder
// would otherwise give a show of missing shaders and thousands of warnings.
#pragma once

#include <filesystem>
#include <string>

namespace zelFramework {

// Empty when `folder` can be played from; otherwise one line naming the folder and what is wrong.
// With `needsShow` the folder must hold the show's own files; without (the test composition) it only
// has to be a folder.
std::string resourcesProblem(const std::filesystem::path& folder, bool needsShow);

}  // namespace zelFramework
