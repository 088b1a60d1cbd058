// The editor's undo history: numbered, time-stamped copies of the whole sync data, and reset.
// Plain functions over a `SnapshotHistory`, so the timeline editor only has to hold one.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace zelFramework {

class ControllerSet;

// The sync data file of the show, relative to the resources folder.
inline constexpr const char* SYNC_DATA_FILE = "data\\demosynch.dat";
// Where snapshots go; created when missing.
inline constexpr const char* SNAPSHOT_FOLDER = "editor";

struct SnapshotHistory {
    uint32_t taken = 0;                // snapshots taken this run; the next one gets taken + 1
    std::vector<std::string> undoList; // snapshot names, most recent last
};

// "editor\--3--2014-04-18!13-05-22.dat" for the third snapshot at 13:05:22 UTC on 18 April 2014.
std::string snapshotName(uint32_t sequence, const std::tm& utc);

// Saves the whole set as the next snapshot, named from the current UTC time, and pushes its name on
// the undo list. False (nothing pushed, with a WARNING trace line) when the snapshot could not be written.
bool takeSnapshot(const ControllerSet& set, SnapshotHistory& history);
// The same at a given time, for callers and tests that fix the clock.
bool takeSnapshotAt(const ControllerSet& set, SnapshotHistory& history, std::time_t now);

// Loads the most recent snapshot and drops its name from the list (the file stays on disk). False
// when the list is empty or the snapshot could not be loaded; the set is then unchanged.
bool undoSnapshot(ControllerSet& set, SnapshotHistory& history);

// Loads the show's sync data file again, dropping every edit since the last save.
bool resetToSyncFile(ControllerSet& set);

// Deletes the files of every snapshot still on the undo list and empties it (editor shutdown).
void deleteSnapshots(SnapshotHistory& history);

}  // namespace zelFramework
