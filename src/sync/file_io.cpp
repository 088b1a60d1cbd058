#include "sync/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace zelFramework {

namespace {
std::string systemError() { return std::strerror(errno); }
}  // namespace

std::string temporaryNameFor(std::string_view name) { return std::string(name) + ".saving"; }

bool replaceFile(std::string_view name, std::span<const uint8_t> bytes, std::string& problem) {
    const std::string tempName = temporaryNameFor(name);
    FILE* f = openFile(tempName, "wb");
    if (!f) {
        problem = "cannot create " + tempName + " (" + systemError() + ")";
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed) {
        problem = "cannot write " + tempName + " (" + systemError() + ")";
        std::filesystem::remove(nativePath(tempName), ec);
        return false;
    }
    std::filesystem::rename(nativePath(tempName), nativePath(name), ec);
    if (ec) {
        problem = "cannot replace it with " + tempName + " (" + ec.message() + ")";
        std::filesystem::remove(nativePath(tempName), ec);
        return false;
    }
    return true;
}

}  // namespace zelFramework
