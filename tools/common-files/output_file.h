// Opening a file a generator writes: its folders are made first, so a fresh build tree needs no set-up.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace zelFramework::toolfiles {

// The file opened for binary writing, or null after a line on stderr that starts with `tool`.
inline std::FILE* openForWriting(const std::string& path, const char* tool)
{
    std::error_code ec;
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path(), ec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path.c_str());
    return f;
}

}  // namespace zelFramework::toolfiles
