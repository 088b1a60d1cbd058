// Snapshot names, the undo list, undo, reset and the clean-up at editor shutdown.
#include <gtest/gtest.h>

#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/snapshots.h"
#include "sync_test_support.h"

using namespace zelFramework;

namespace {

// Snapshots and the sync file are named relative to the resources folder: run inside a scratch one.
class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(dir_.path); }
    void TearDown() override { std::filesystem::current_path(previous_); }
    std::filesystem::path previous_ = std::filesystem::current_path();
    synctest::ScratchFolder dir_;
};

constexpr std::time_t APRIL_18_2014_130522 = 1397826322;

}  // namespace

TEST(SnapshotName, FollowsTheSequenceAndUtcTime) {
    std::tm t{};
    t.tm_year = 2014 - 1900, t.tm_mon = 4, t.tm_mday = 2, t.tm_hour = 9, t.tm_min = 7, t.tm_sec = 3;
    EXPECT_EQ(snapshotName(4, t), "editor\\--4--2014-05-02!09-07-03.dat");
    EXPECT_EQ(snapshotName(123, t), "editor\\--123--2014-05-02!09-07-03.dat");
}

TEST_F(SnapshotTest, TakeUndoAndCleanUp) {
    ControllerSet set;
    Controller* c = set.get("fade");
    c->addKey(0.0f, 0.0f);
    SnapshotHistory history;

    // The editor folder does not exist yet: it is made rather than losing the snapshot.
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522));
    c->addKey(1.0f, 1.0f);
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522));  // same second, next number
    c->addKey(2.0f, 0.5f);
    ASSERT_EQ(history.undoList.size(), 2u);
    EXPECT_EQ(history.undoList[0], "editor\\--1--2014-04-18!13-05-22.dat");
    EXPECT_EQ(history.undoList[1], "editor\\--2--2014-04-18!13-05-22.dat");

    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("fade"), c);
    EXPECT_EQ(c->keys.size(), 2u);
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(c->keys.size(), 1u);
    EXPECT_FALSE(undoSnapshot(set, history));
    // Restored snapshots leave the list but stay on disk until shutdown.
    EXPECT_TRUE(std::filesystem::exists("editor/--2--2014-04-18!13-05-22.dat"));
    ASSERT_TRUE(takeSnapshot(set, history));
    EXPECT_EQ(history.undoList[0].rfind("editor\\--3--", 0), 0u);
    const std::filesystem::path third = "editor/" + history.undoList[0].substr(7);
    EXPECT_TRUE(std::filesystem::exists(third));
    deleteSnapshots(history);
    EXPECT_TRUE(history.undoList.empty());
    EXPECT_FALSE(std::filesystem::exists(third));
    // Nothing of the run is left behind, restored snapshots included.
    EXPECT_FALSE(std::filesystem::exists("editor/--1--2014-04-18!13-05-22.dat"));
    EXPECT_FALSE(std::filesystem::exists("editor/--2--2014-04-18!13-05-22.dat"));
}

TEST_F(SnapshotTest, RedoBringsBackWhatUndoReplacedUntilTheNextEdit) {
    ControllerSet set;
    Controller* c = set.get("fade");
    c->addKey(0.0f, 0.0f);
    SnapshotHistory history;
    EXPECT_FALSE(redoSnapshot(set, history));
    ASSERT_TRUE(takeSnapshot(set, history));
    c->addKey(1.0f, -0.5f);
    ASSERT_TRUE(takeSnapshot(set, history));
    c->keys[1].value = 195.0f;

    ASSERT_TRUE(undoSnapshot(set, history));
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(c->keys.size(), 1u);
    ASSERT_TRUE(redoSnapshot(set, history));
    ASSERT_EQ(c->keys.size(), 2u);
    EXPECT_EQ(c->keys[1].value, -0.5f);
    ASSERT_TRUE(redoSnapshot(set, history));
    EXPECT_EQ(c->keys[1].value, 195.0f);
    EXPECT_FALSE(redoSnapshot(set, history));
    EXPECT_EQ(set.get("fade"), c);
    // Undo after a redo goes back to the state the redo replaced.
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(c->keys[1].value, -0.5f);
    deleteSnapshots(history);
    EXPECT_TRUE(history.redoList.empty());
    EXPECT_FALSE(std::filesystem::exists("editor") && !std::filesystem::is_empty("editor"));
}

TEST_F(SnapshotTest, FailuresAreReportedAndLeaveTheSetAlone) {
    ControllerSet set;
    set.get("a")->addKey(0.0f, 1.0f);
    SnapshotHistory history;
    orvotest::TraceCapture capture;
    synctest::writeBytes("editor", {1, 2, 3});  // a file where the folder should be
    EXPECT_FALSE(takeSnapshotAt(set, history, APRIL_18_2014_130522));
    EXPECT_TRUE(history.undoList.empty());
    EXPECT_TRUE(capture.contains("WARNING (syncData)"));
    std::filesystem::remove("editor");
    history = {};

    // A snapshot that cannot be read is dropped from the list; the next undo takes the one before it.
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522));
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522 + 1));
    std::filesystem::remove("editor/--2--2014-04-18!13-05-23.dat");
    set.get("a")->addKey(1.0f, 2.0f);
    EXPECT_FALSE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("a")->keys.size(), 2u);
    EXPECT_TRUE(capture.contains("undo could not restore editor\\--2--2014-04-18!13-05-23.dat"));
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("a")->keys.size(), 1u);

    // Reset reloads the sync file under data/.
    std::filesystem::create_directory("data");
    ASSERT_TRUE(set.save(SYNC_DATA_FILE));
    EXPECT_TRUE(std::filesystem::exists("data/demosynch.dat"));
    set.get("a")->addKey(3.0f, 1.0f);
    ASSERT_TRUE(resetToSyncFile(set));
    EXPECT_EQ(set.get("a")->keys.size(), 1u);
}
