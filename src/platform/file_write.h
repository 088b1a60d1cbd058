// Whole-file writes for files that another process may be reading at the same moment: the shader
// copies beside their sources and the model caches, which every running copy of the program (two
// workers of one capture, a show and a tool) reads and rewrites in the same folder.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelFramework {

// Writes `bytes` to a file of this process's own beside `name`, then renames it over `name`: a
// reader opening `name` at any moment finds the old contents or the new ones, whole, never a file
// cut short by a writer that has just truncated it. False with `problem` set (naming the file) when
// nothing could be written or renamed; `name` is then as it was and no partial file is left.
bool writeFileReplacing(std::string_view name, std::span<const uint8_t> bytes, std::string& problem);

// The same through a temporary file the caller names (the sync data keeps one fixed name for it).
bool replaceFileThrough(std::string_view name, std::string_view temporary, std::span<const uint8_t> bytes,
                        std::string& problem);

}  // namespace zelFramework
