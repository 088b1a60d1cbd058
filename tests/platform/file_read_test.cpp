// Bad files, as every reader meets them first: whatever stands where a file is expected is examined
// before any byte is read or any memory is sized for it, and the reason comes back in words.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/file_read.h"

namespace zelFramework {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("orvo-file-read-" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
    std::string file(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
};

TEST(BadFiles, AFolderADeviceAPipeOrASocketIsNoFile) {
    TempDir dir;
    const fs::path fifo = dir.path / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A socket file, bound and left behind.
    const fs::path sock = dir.path / "sock";
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    const struct {
        std::string name;
        const char* says;
    } cases[] = {{dir.path.string(), "is a folder, not a file"},
                 {"/dev/zero", "is a device, not a file"},
                 {fifo.string(), "is a pipe, not a file"},  // and no wait for a writer that never comes
                 {sock.string(), "is a socket, not a file"},
                 {(dir.path / "absent").string(), "does not exist"},
                 {(dir.path / "absent" / "below").string(), "does not exist"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = {1, 2, 3};
        std::string problem;
        const ReadFault fault = readFileChecked(std::string_view(c.name), bytes, problem);
        EXPECT_NE(fault, ReadFault::None);
        EXPECT_EQ(problem, c.says);
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(readWholeFile(c.name, bytes, problem));
    }
    ::close(s);
}

TEST(BadFiles, AFileLargerThanTheReadersLimitIsRefusedUnread) {
    TempDir dir;
    const std::string path = dir.file("big.bin", std::string(5000, 'x'));
    std::vector<uint8_t> bytes;
    std::string problem;
    EXPECT_EQ(readFileChecked(std::string_view(path), bytes, problem, 4999), ReadFault::TooLarge);
    EXPECT_EQ(problem, "is 5000 bytes, more than the 4999 bytes this reader takes");
    EXPECT_TRUE(bytes.empty());
    // A sparse file of 3 GiB is refused by its size alone: nothing is allocated for it.
    const fs::path huge = dir.path / "huge.bin";
    std::ofstream(huge).close();
    fs::resize_file(huge, uint64_t(3) << 30);
    EXPECT_EQ(readFileChecked(huge, bytes, problem), ReadFault::TooLarge);
    EXPECT_EQ(problem, "is 3 GiB, more than the 1 GiB this reader takes");

    EXPECT_EQ(readFileChecked(std::string_view(path), bytes, problem, 5000), ReadFault::None);
    EXPECT_EQ(bytes.size(), 5000u);
}

TEST(BadFiles, OrdinaryFilesReadWholeWithTheirStamp) {
    TempDir dir;
    const std::string path = dir.file("a.txt", "hello");
    std::vector<uint8_t> bytes;
    std::string problem;
    FileStamp stamp, again;
    ASSERT_EQ(readFileChecked(std::string_view(path), bytes, problem, FILE_READ_LIMIT, &stamp), ReadFault::None);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello");
    EXPECT_EQ(stamp.size, 5u);
    ASSERT_TRUE(fileStamp(path, again));
    EXPECT_EQ(again, stamp);
    EXPECT_FALSE(fileStamp(dir.path.string(), again));  // a folder has no stamp
    // An empty file is a file.
    EXPECT_TRUE(readWholeFile(dir.file("empty", ""), bytes, problem));
    EXPECT_TRUE(bytes.empty());
    // Names in the program's form, with '\' separators.
    EXPECT_TRUE(readWholeFile(path.substr(0, path.rfind('/')) + "\\a.txt", bytes, problem)) << problem;
}

}  // namespace
}  // namespace zelFramework
