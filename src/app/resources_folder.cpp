#include "app/resources_folder.h"

#include <system_error>

namespace zelFramework {

std::vector<std::filesystem::path> resourcesFolderCandidates(const std::filesystem::path& programDir) {
    return {(programDir / "resources").lexically_normal(),
            (programDir / ".." / "share" / "orvo" / "resources").lexically_normal()};
}

std::filesystem::path findResourcesFolder(const std::filesystem::path& programDir) {
    for (const std::filesystem::path& candidate : resourcesFolderCandidates(programDir)) {
        std::error_code ec;
        if (std::filesystem::is_directory(candidate, ec)) return candidate;
    }
    return {};
}

}  // namespace zelFramework
