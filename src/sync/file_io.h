// Whole-file reads and safe replacing writes for the sync data and its snapshots.
// Names use the program's '\'-separated form; the platform layer maps them to the file system.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_read.h"

namespace zelFramework {

// Whole-file reads: readWholeFile of platform/file_read.h.

// Writes `bytes` to a temporary file beside the target, then renames it over the target. The
// previous file stays whole until the new one is complete, so a failed save loses nothing.
bool replaceFile(std::string_view name, std::span<const uint8_t> bytes, std::string& problem);

// The temporary file `replaceFile` writes before the rename.
std::string temporaryNameFor(std::string_view name);

}  // namespace zelFramework
