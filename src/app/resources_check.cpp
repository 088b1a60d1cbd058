#include "app/resources_check.h"

#include <system_error>

namespace zelFramework {

namespace {

// What no show can start without: its controller curves and its shaders. Pictures, scenes and the
// soundtrack are looked up one by one later, each with its own message when missing.
struct Essential {
    const char* path;
    bool folder;
};
constexpr Essential SHOW_ESSENTIALS[] = {{"data/demosynch.dat", false}, {"shaders", true}};

}  // namespace

std::string resourcesProblem(const std::filesystem::path& folder, bool needsShow) {
    std::error_code ec;
    const std::string name = "the resources folder \"" + folder.string() + "\"";
    if (!std::filesystem::exists(folder, ec)) return name + " does not exist (see --resources)";
    if (!std::filesystem::is_directory(folder, ec)) return name + " is not a folder (see --resources)";
    if (!needsShow) return {};
    for (const Essential& e : SHOW_ESSENTIALS) {
        const std::filesystem::path p = folder / e.path;
        const bool there = e.folder ? std::filesystem::is_directory(p, ec) : std::filesystem::is_regular_file(p, ec);
        if (!there)
            return name + " does not hold the show: " + e.path + (e.folder ? "/" : "") + " is missing (see --resources)";
    }
    return {};
}

}  // namespace zelFramework
