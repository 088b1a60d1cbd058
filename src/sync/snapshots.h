// The editor's undo history: numbered, time-stamped copies of the whole sync data, and reset.
// Plain functions over a `SnapshotHistory`, so the timeline editor only has to hold one.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "sync/sync_data.h"

namespace zelFramework {

class ControllerSet;

// The sync data file of the show, relative to the resources folder.
inline constexpr const char* SYNC_DATA_FILE = "data\\demosynch.dat";
// Where snapshots go; created when missing.
inline constexpr const char* SNAPSHOT_FOLDER = "editor";

struct SnapshotHistory {
    uint32_t taken = 0;                // snapshots taken this run; the next one gets taken + 1
    std::vector<std::string> undoList; // snapshot names, most recent last
    std::vector<SyncData> redoList;    // what undo replaced, most recent last; a new edit clears it
    std::vector<std::string> written;  // every snapshot file of this run, for the clean-up at exit
};

// "editor\--3--2014-04-18!13-05-22.dat" for the third snapshot at 13:05:22 UTC on 18 April 2014.
std::string snapshotName(uint32_t sequence, const std::tm& utc);

// Saves the whole set as the next snapshot, named from the current UTC time, and pushes its name on
// the undo list. False (nothing pushed, with a WARNING trace line) when the snapshot could not be written.
bool takeSnapshot(const ControllerSet& set, SnapshotHistory& history);
// The same at a given time, for callers and tests that fix the clock.
bool takeSnapshotAt(const ControllerSet& set, SnapshotHistory& history, std::time_t now);

// Loads the most recent snapshot and drops its name from the list (the file stays on disk until
// exit); what it replaced goes on the redo list. False when the list is empty or the snapshot could
// not be loaded; the set is then unchanged.
bool undoSnapshot(ControllerSet& set, SnapshotHistory& history);
// Brings back what the last undo replaced, keeping a snapshot first so that undo can go back again.
// False when there is nothing to redo.
bool redoSnapshot(ControllerSet& set, SnapshotHistory& history);

// Loads the show's sync data file again, dropping every edit since the last save.
bool resetToSyncFile(ControllerSet& set);

// Deletes every snapshot file of this run, restored ones included, and empties the lists (editor
// shutdown): the folder holds no leftovers of a run.
void deleteSnapshots(SnapshotHistory& history);

}  // namespace zelFramework
