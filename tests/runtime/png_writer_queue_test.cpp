// Frames written on the writer's thread: the same files as writing them in place, in order, and a
// failed write stops the rest and says which file failed. A written frame reads back as exactly the
// pixels it was given, upright.
#include "runtime/png_writer.h"
#include "runtime/png_writer_queue.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
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

// A picture with what a show frame has: smooth gradients, flat areas, hard edges and noise. The rows
// run bottom-up, as the window's pixels are read.
std::vector<uint8_t> showLikeFrame(int width, int height) {
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * 3);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            uint8_t* p = &rows[(size_t(y) * size_t(width) + size_t(x)) * 3];
            const bool panel = (x / 37 + y / 23) % 3 == 0;
            p[0] = uint8_t(panel ? 240 : x * 255 / width);
            p[1] = uint8_t(panel ? 20 : int(127.5 + 127.5 * std::sin(0.05 * (x + 2 * y))));
            p[2] = uint8_t(y < height / 4 ? (noise >> 24) : y * 255 / height);
        }
    return rows;
}

}  // namespace

TEST(PngWriterQueue, AWrittenFrameReadsBackAsItsPixelsUpright) {
    Folder folder("orvo_png_round_trip");
    const int width = 203, height = 71;  // rows of no multiple of 4 bytes
    const std::vector<uint8_t> rows = showLikeFrame(width, height);
    const auto path = folder.path / "frame.png";
    ASSERT_TRUE(writePngBottomUp(path.string(), width, height, rows));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.string().c_str()));
    image.format = PNG_FORMAT_RGB;
    ASSERT_EQ(int(image.width), width);
    ASSERT_EQ(int(image.height), height);
    std::vector<uint8_t> read(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr));
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; ++y)  // the file's first row is the frame's top, the last one given
        ASSERT_TRUE(std::equal(read.begin() + std::ptrdiff_t(size_t(y) * stride),
                               read.begin() + std::ptrdiff_t(size_t(y + 1) * stride),
                               rows.begin() + std::ptrdiff_t(size_t(height - 1 - y) * stride)))
            << "row " << y;
}

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
