#include "platform/file_write.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace zelFramework {

namespace {

// Unique among the processes (the id) and among this process's threads (the count), so that two
// writers of the same file never share a half-written one.
std::string partNameFor(std::string_view name) {
    static std::atomic<unsigned> count{0};
    return std::string(name) + "." + std::to_string(long(getpid())) + "-" + std::to_string(count++) + ".part";
}

}  // namespace

bool replaceFileThrough(std::string_view name, std::string_view temporary, std::span<const uint8_t> bytes,
                        std::string& problem) {
    const std::string part(temporary);
    FILE* file = openFile(part, "wb");
    if (!file) {
        problem = "cannot create " + part + " (" + std::strerror(errno) + ")";
        return false;
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed) {
        problem = "cannot write " + part + " (" + std::strerror(errno) + ")";
        std::filesystem::remove(nativePath(part), ec);
        return false;
    }
    std::filesystem::rename(nativePath(part), nativePath(name), ec);
    if (ec) {
        problem = "cannot replace it with " + part + " (" + ec.message() + ")";
        std::filesystem::remove(nativePath(part), ec);
        return false;
    }
    return true;
}

bool writeFileReplacing(std::string_view name, std::span<const uint8_t> bytes, std::string& problem) {
    return replaceFileThrough(name, partNameFor(name), bytes, problem);
}

}  // namespace zelFramework
