// Frames written on the writer's thread: the same files as writing them in place, in order, and a
// failed write stops the rest and says which file failed.
#include "runtime/png_writer.h"
#include "runtime/png_writer_queue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include "support/file_text.h"

using namespace zelFramework;

namespace {

using orvotest::fileText;

std::vector<uint8_t> frame(int width, int height, uint8_t seed) {
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * 3);
    std::iota(rows.begin(), rows.end(), seed);
    return rows;
}

struct Folder {
    std::filesystem::path path;
    explicit Folder(const char* name) : path(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(PngWriterQueue, WritesTheSameFilesAsWritingInPlace) {
    Folder folder("orvo_png_queue_same");
    constexpr int FRAMES = 12;
    {
        PngWriterQueue queue(2);
        for (int i = 0; i < FRAMES; ++i) {
            std::vector<uint8_t> rows = queue.takeBuffer(7 * 5 * 3);
            rows = frame(7, 5, uint8_t(i * 11));
            queue.push((folder.path / ("q" + std::to_string(i) + ".png")).string(), 7, 5, std::move(rows));
        }
        queue.drain();
        EXPECT_EQ(queue.written(), FRAMES);
        EXPECT_FALSE(queue.failed());
    }
    for (int i = 0; i < FRAMES; ++i) {
        const auto direct = folder.path / ("d" + std::to_string(i) + ".png");
        ASSERT_TRUE(writePngBottomUp(direct.string(), 7, 5, frame(7, 5, uint8_t(i * 11))));
        EXPECT_EQ(fileText(folder.path / ("q" + std::to_string(i) + ".png")), fileText(direct)) << i;
    }
}

TEST(PngWriterQueue, AFailedWriteStopsTheRestAndNamesTheFile) {
    Folder folder("orvo_png_queue_fail");
    PngWriterQueue queue(3);
    queue.push((folder.path / "a.png").string(), 2, 2, frame(2, 2, 1));
    queue.push((folder.path / "no-such-folder" / "b.png").string(), 2, 2, frame(2, 2, 2));
    queue.push((folder.path / "c.png").string(), 2, 2, frame(2, 2, 3));
    queue.drain();
    EXPECT_EQ(queue.written(), 1);
    EXPECT_TRUE(queue.failed());
    EXPECT_NE(queue.failure().find("no-such-folder/b.png"), std::string::npos) << queue.failure();
    EXPECT_TRUE(std::filesystem::exists(folder.path / "a.png"));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "c.png"));
}

TEST(PngWriterQueue, DestructionWritesWhatIsStillQueued) {
    Folder folder("orvo_png_queue_end");
    {
        PngWriterQueue queue(1);
        for (int i = 0; i < 4; ++i)
            queue.push((folder.path / ("e" + std::to_string(i) + ".png")).string(), 3, 3, frame(3, 3, uint8_t(i)));
    }
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::filesystem::exists(folder.path / ("e" + std::to_string(i) + ".png")));
}
