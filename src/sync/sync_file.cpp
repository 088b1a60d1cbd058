// Loading and saving the set as a sync data file.
#include <filesystem>
#include <string>
#include <system_error>

#include "app/trace.h"
#include "platform/platform.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/sync_data.h"

namespace zelFramework {

namespace {
constexpr const char* TAG = "syncData";
}

bool ControllerSet::load(std::string_view path) {
    // A show without a sync file simply runs on the layers' keyless controllers: nothing to report.
    std::error_code ec;
    if (!std::filesystem::exists(nativePath(path), ec)) return false;

    std::vector<uint8_t> bytes;
    std::string problem;
    if (!readWholeFile(path, bytes, problem)) {
        trace(TRACE_WARNING, TAG, "%.*s %s; controllers unchanged", int(path.size()), path.data(),
              problem.c_str());
        return false;
    }
    return loadFromBytes(bytes, path);
}

bool ControllerSet::loadFromBytes(std::span<const uint8_t> bytes, std::string_view source) {
    SyncData data;
    std::string problem;
    if (!parseSyncData(bytes, data, problem)) {
        trace(TRACE_WARNING, TAG, "%.*s refused: %s; controllers unchanged", int(source.size()), source.data(),
              problem.c_str());
        return false;
    }
    applySyncData(data, *this);
    return true;
}

bool ControllerSet::save(std::string_view path) const {
    const std::vector<uint8_t> bytes = serializeSyncData(syncDataFromSet(*this));
    std::string problem;
    if (!replaceFile(path, bytes, problem)) {
        trace(TRACE_WARNING, TAG, "saving %.*s failed: %s; the previous file is kept", int(path.size()),
              path.data(), problem.c_str());
        return false;
    }
    return true;
}

}  // namespace zelFramework
