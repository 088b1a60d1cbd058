// Snapshot names, the undo list, undo, reset and the clean-up at editor shutdown.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/snapshots.h"
#include "sync_test_support.h"

using namespace zelFramework;

namespace {

std::tm utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// Snapshots and the sync file are named relative to the resources folder: run inside a scratch one.
class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    synctest::ScratchFolder dir_;
    std::filesystem::path previous_;
};

constexpr std::time_t APRIL_18_2014_130522 = 1397826322;

}  // namespace

TEST(SnapshotName, FollowsTheSequenceAndUtcTime) {
    EXPECT_EQ(snapshotName(3, utc(2014, 4, 18, 13, 5, 22)), "editor\\--3--2014-04-18!13-05-22.dat");
    EXPECT_EQ(snapshotName(4, utc(2014, 5, 2, 9, 7, 3)), "editor\\--4--2014-05-02!09-07-03.dat");
    EXPECT_EQ(snapshotName(123, utc(2031, 12, 31, 23, 59, 59)), "editor\\--123--2031-12-31!23-59-59.dat");
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
    EXPECT_TRUE(std::filesystem::exists("editor/--1--2014-04-18!13-05-22.dat"));

    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("fade"), c);
    EXPECT_EQ(c->keys.size(), 2u);
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(c->keys.size(), 1u);
    EXPECT_FALSE(undoSnapshot(set, history));
    // Restored snapshots leave the list but stay on disk.
    EXPECT_TRUE(std::filesystem::exists("editor/--2--2014-04-18!13-05-22.dat"));

    ASSERT_TRUE(takeSnapshot(set, history));
    EXPECT_EQ(history.undoList[0].rfind("editor\\--3--", 0), 0u);
    const std::filesystem::path third = "editor/" + history.undoList[0].substr(7);
    EXPECT_TRUE(std::filesystem::exists(third));
    deleteSnapshots(history);
    EXPECT_TRUE(history.undoList.empty());
    EXPECT_FALSE(std::filesystem::exists(third));
    EXPECT_TRUE(std::filesystem::exists("editor/--1--2014-04-18!13-05-22.dat"));
}

TEST_F(SnapshotTest, UnwritableSnapshotIsReportedAndNotListed) {
    ControllerSet set;
    SnapshotHistory history;
    synctest::writeBytes("editor", {1, 2, 3});  // a file where the folder should be
    orvotest::TraceCapture capture;
    EXPECT_FALSE(takeSnapshotAt(set, history, APRIL_18_2014_130522));
    EXPECT_TRUE(history.undoList.empty());
    EXPECT_TRUE(capture.contains("WARNING (syncData)"));
}

TEST_F(SnapshotTest, UndoDropsASnapshotThatCannotBeRead) {
    ControllerSet set;
    set.get("a")->addKey(0.0f, 1.0f);
    SnapshotHistory history;
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522));
    ASSERT_TRUE(takeSnapshotAt(set, history, APRIL_18_2014_130522 + 1));
    std::filesystem::remove("editor/--2--2014-04-18!13-05-23.dat");
    set.get("a")->addKey(1.0f, 2.0f);

    orvotest::TraceCapture capture;
    EXPECT_FALSE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("a")->keys.size(), 2u);
    EXPECT_TRUE(capture.contains("undo could not restore editor\\--2--2014-04-18!13-05-23.dat"));
    ASSERT_TRUE(undoSnapshot(set, history));
    EXPECT_EQ(set.get("a")->keys.size(), 1u);
}

TEST_F(SnapshotTest, ResetReloadsTheSyncFile) {
    std::filesystem::create_directory("data");
    ControllerSet set;
    Controller* c = set.get("fade");
    c->addKey(0.0f, 0.0f);
    ASSERT_TRUE(set.save(SYNC_DATA_FILE));
    EXPECT_TRUE(std::filesystem::exists("data/demosynch.dat"));
    c->addKey(3.0f, 1.0f);
    ASSERT_TRUE(resetToSyncFile(set));
    EXPECT_EQ(c->keys.size(), 1u);
}
