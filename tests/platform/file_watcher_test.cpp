// The resources watcher on a real folder: what counts as a change, folders that appear later, and
// a root that cannot be watched.
#include "platform/file_watcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace zelFramework {
namespace {

namespace fs = std::filesystem;

class FileWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("orvo_watch_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "shaders");
    }
    void TearDown() override {
        watcher.stop();
        fs::remove_all(root);
    }
    void write(const fs::path& relative, const std::string& text) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << text;
    }
    // Changes arrive through the kernel; give them a moment rather than assuming they are instant.
    std::vector<std::string> changesWithin(int milliseconds = 1000) {
        std::vector<std::string> all;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            for (std::string& c : watcher.takeChanges()) all.push_back(std::move(c));
            if (!all.empty()) {
                // Collect what belongs to the same burst too.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                for (std::string& c : watcher.takeChanges()) all.push_back(std::move(c));
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return all;
    }
    fs::path root;
    FileWatcher watcher;
};

TEST_F(FileWatcherTest, WrittenAndRenamedFilesAreReportedOnceWithRelativeNames) {
    write("shaders/old.h", "x");
    std::string problem;
    ASSERT_TRUE(watcher.start(root, problem)) << problem;
    EXPECT_TRUE(watcher.active());
    EXPECT_TRUE(watcher.takeChanges().empty());  // what was there before start is not a change

    write("shaders/old.h", "one");
    write("top.png", "two");
    {
        std::ofstream again(root / "top.png", std::ios::binary | std::ios::app);
        again << "more";  // a second write of the same file in the same burst is still one change
    }
    EXPECT_EQ(changesWithin(), (std::vector<std::string>{"shaders/old.h", "top.png"}));

    // An atomic save: written under another name, then renamed into place.
    write("data/demosynch.dat.saving", "bytes");
    watcher.takeChanges();
    changesWithin(200);
    fs::rename(root / "data/demosynch.dat.saving", root / "data/demosynch.dat");
    EXPECT_EQ(changesWithin(), (std::vector<std::string>{"data/demosynch.dat"}));
}

TEST_F(FileWatcherTest, FoldersMadeAfterTheStartAreWatchedWithWhatTheyAlreadyHold) {
    std::string problem;
    ASSERT_TRUE(watcher.start(root, problem)) << problem;
    write("new/deeper/scene.orvo", "s");
    std::vector<std::string> changes = changesWithin();
    // The file may be written before or after the watch on its new folder exists; either way the
    // folder is watched from then on.
    write("new/deeper/scene.orvo", "t");
    for (std::string& c : changesWithin()) changes.push_back(c);
    EXPECT_NE(std::find(changes.begin(), changes.end(), "new/deeper/scene.orvo"), changes.end());
}

TEST_F(FileWatcherTest, OpeningOrReadingIsNoChangeAndStopEndsReporting) {
    write("a.obj", "v 0 0 0\n");
    std::string problem;
    ASSERT_TRUE(watcher.start(root, problem)) << problem;
    { std::ifstream read(root / "a.obj"); std::string s; read >> s; }
    EXPECT_TRUE(changesWithin(200).empty());
    watcher.stop();
    EXPECT_FALSE(watcher.active());
    write("a.obj", "v 1 1 1\n");
    EXPECT_TRUE(watcher.takeChanges().empty());
}

TEST_F(FileWatcherTest, AMissingRootOrAFileAsRootIsRefusedWithItsName) {
    std::string problem;
    EXPECT_FALSE(watcher.start(root / "absent", problem));
    EXPECT_NE(problem.find("absent"), std::string::npos) << problem;
    write("plain.txt", "x");
    problem.clear();
    EXPECT_FALSE(watcher.start(root / "plain.txt", problem));
    EXPECT_NE(problem.find("plain.txt"), std::string::npos) << problem;
    EXPECT_FALSE(watcher.active());
    EXPECT_TRUE(watcher.takeChanges().empty());
}

}  // namespace
}  // namespace zelFramework
