#include "sync/snapshots.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/trace.h"
#include "platform/platform.h"
#include "sync/controller_set.h"
#include "sync/sync_data.h"

namespace zelFramework {

namespace {
constexpr const char* TAG = "syncData";
}

std::string snapshotName(uint32_t sequence, const std::tm& utc) {
    char name[96];
    std::snprintf(name, sizeof name, "%s\\--%u--%02d-%02d-%02d!%02d-%02d-%02d.dat", SNAPSHOT_FOLDER, unsigned(sequence),
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return name;
}

bool takeSnapshot(const ControllerSet& set, SnapshotHistory& history) {
    return takeSnapshotAt(set, history, std::time(nullptr));
}

bool takeSnapshotAt(const ControllerSet& set, SnapshotHistory& history, std::time_t now) {
    ++history.taken;
    std::tm utc{};
    gmtime_r(&now, &utc);
    const std::string name = snapshotName(history.taken, utc);

    // A missing folder must not make undo silently lose its history.
    std::error_code ec;
    std::filesystem::create_directories(nativePath(SNAPSHOT_FOLDER), ec);
    if (ec) {
        trace(TRACE_WARNING, TAG, "cannot create the snapshot folder \"%s\": %s", SNAPSHOT_FOLDER,
              ec.message().c_str());
        return false;
    }
    if (!set.save(name)) return false;  // save has said why
    history.undoList.push_back(name);
    history.written.push_back(name);
    return true;
}

bool undoSnapshot(ControllerSet& set, SnapshotHistory& history) {
    if (history.undoList.empty()) return false;
    const std::string name = history.undoList.back();
    history.undoList.pop_back();
    SyncData replaced = syncDataFromSet(set);
    // A snapshot that cannot be read is dropped all the same, so the next undo reaches an older one.
    if (!set.load(name)) {
        trace(TRACE_WARNING, TAG, "undo could not restore %s", name.c_str());
        return false;
    }
    history.redoList.push_back(std::move(replaced));
    return true;
}

bool redoSnapshot(ControllerSet& set, SnapshotHistory& history) {
    if (history.redoList.empty()) return false;
    if (!takeSnapshot(set, history)) return false;  // without it the redo could not be undone
    applySyncData(history.redoList.back(), set);
    history.redoList.pop_back();
    return true;
}

bool resetToSyncFile(ControllerSet& set) { return set.load(SYNC_DATA_FILE); }

void deleteSnapshots(SnapshotHistory& history) {
    for (const std::string& name : history.written) {
        std::error_code ec;
        std::filesystem::remove(nativePath(name), ec);
    }
    history.undoList.clear();
    history.redoList.clear();
    history.written.clear();
}

}  // namespace zelFramework
