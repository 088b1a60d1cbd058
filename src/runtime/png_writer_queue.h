// Writes captured frames as PNG files on a thread of its own, so that the render thread only reads
// the pixels back and goes on to the next frame. At most `capacity` frames wait at a time, so memory
// stays bounded when the disk or the encoder is slower than the renderer.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelFramework {

class PngWriterQueue {
public:
    explicit PngWriterQueue(size_t capacity = 3);
    // Writes what is still queued, then ends the thread.
    ~PngWriterQueue();
    PngWriterQueue(const PngWriterQueue&) = delete;
    PngWriterQueue& operator=(const PngWriterQueue&) = delete;

    // A buffer of `bytes` bytes to read the next frame into (a recycled one when there is one).
    std::vector<uint8_t> takeBuffer(size_t bytes);
    // Queues a frame (rows bottom-up, as writePngBottomUp takes them); waits while the queue is full.
    // Frames are written in the order they are pushed. After a failed write nothing more is written.
    void push(std::string path, int width, int height, std::vector<uint8_t> rows);
    // Waits until every queued frame is written or dropped after a failure.
    void drain();

    long written() const;
    bool failed() const;
    // Why the failed write failed (names the file); empty while none has.
    std::string failure() const;

private:
    struct Frame {
        std::string path;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rows;
    };

    void run();

    const size_t capacity_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Frame> queue_;
    std::vector<std::vector<uint8_t>> spare_;
    bool busy_ = false;  // the thread holds a frame it took from the queue
    bool stopping_ = false;
    long written_ = 0;
    std::string failure_;
    std::thread thread_;
};

}  // namespace zelFramework
