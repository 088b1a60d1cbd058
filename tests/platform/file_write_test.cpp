// Files that several copies of the program rewrite and read at the same time (shader copies, model
// caches): a reader must always find one whole version, and a failed write must leave nothing behind.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/file_write.h"

namespace zelFramework {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("orvo-file-write-" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

TEST(FileReplacing, AReaderFindsOneWholeVersionWhileTwoWritersRewriteTheFile) {
    TempDir dir;
    const fs::path file = dir.path / "shader.frag.bin";
    // Large enough that a write is several system calls, so that a truncate-and-refill is seen.
    const std::string a(300000, 'a');
    const std::string b(200000, 'b');
    std::string problem;
    ASSERT_TRUE(writeFileReplacing(file.string(), bytesOf(a), problem)) << problem;

    std::atomic<bool> stop{false};
    std::atomic<int> failures{0};
    auto writer = [&](const std::string& text) {
        std::string why;
        while (!stop)
            if (!writeFileReplacing(file.string(), bytesOf(text), why)) ++failures;
    };
    std::thread first(writer, a), second(writer, b);
    int torn = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string seen = contents(file);
        if (seen != a && seen != b) ++torn;
    }
    stop = true;
    first.join();
    second.join();
    EXPECT_EQ(torn, 0) << "reads that found a file cut short or mixed";
    EXPECT_EQ(failures, 0);
    // Only the file itself is left: no writer's part file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(FileReplacing, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    TempDir dir;
    std::string problem;
    // Where the name's folder is a file, no part file can be made beside it, whoever runs the test.
    const fs::path notAFolder = dir.path / "cache";
    std::ofstream(notAFolder) << "a file";
    EXPECT_FALSE(writeFileReplacing((notAFolder / "model.obj.cache").string(), bytesOf("new"), problem));
    EXPECT_NE(problem.find("model.obj.cache"), std::string::npos) << problem;
    EXPECT_EQ(contents(notAFolder), "a file");

    // A folder standing where the file belongs: the rename is refused, the part file removed.
    const fs::path folder = dir.path / "copy.bin";
    fs::create_directories(folder / "inside");
    problem.clear();
    EXPECT_FALSE(writeFileReplacing(folder.string(), bytesOf("new"), problem));
    EXPECT_NE(problem.find("copy.bin"), std::string::npos) << problem;
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);
}

TEST(FileReplacing, ANameWithBackslashesIsTheSameFileAsWithSlashes) {
    TempDir dir;
    std::string problem;
    const std::string name = dir.path.string() + "\\copy.bin";
    ASSERT_TRUE(writeFileReplacing(name, bytesOf("xyz"), problem)) << problem;
    EXPECT_EQ(contents(dir.path / "copy.bin"), "xyz");
}

}  // namespace
}  // namespace zelFramework
