// Where the program finds its resources folder when none is named on the command line.
#pragma once

#include <filesystem>
#include <vector>

namespace zelFramework {

// The places looked at, in order, for a program in `programDir`: "resources" beside it (the build tree,
// where build/orvo-show sits next to build/resources) and "../share/orvo/resources" (an installed or
// unpacked package, bin/orvo-show next to share/). Both are relative to the program itself, so a
// package unpacked under any root finds its own resources.
std::vector<std::filesystem::path> resourcesFolderCandidates(const std::filesystem::path& programDir);

// The first candidate that is a folder, or an empty path when none is.
std::filesystem::path findResourcesFolder(const std::filesystem::path& programDir);

}  // namespace zelFramework
