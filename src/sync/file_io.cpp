#include "sync/file_io.h"

#include "platform/file_write.h"

namespace zelFramework {

std::string temporaryNameFor(std::string_view name) { return std::string(name) + ".saving"; }

bool replaceFile(std::string_view name, std::span<const uint8_t> bytes, std::string& problem) {
    return replaceFileThrough(name, temporaryNameFor(name), bytes, problem);
}

}  // namespace zelFramework
