#include "runtime/png_writer_queue.h"

#include "runtime/png_writer.h"

namespace zelFramework {

PngWriterQueue::PngWriterQueue(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity), thread_([this] { run(); }) {}

PngWriterQueue::~PngWriterQueue() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::vector<uint8_t> PngWriterQueue::takeBuffer(size_t bytes) {
    std::vector<uint8_t> buffer;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!spare_.empty()) {
            buffer = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    buffer.resize(bytes);
    return buffer;
}

void PngWriterQueue::push(std::string path, int width, int height, std::vector<uint8_t> rows) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return queue_.size() < capacity_; });
    queue_.push_back({std::move(path), width, height, std::move(rows)});
    changed_.notify_all();
}

void PngWriterQueue::drain() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return queue_.empty() && !busy_; });
}

long PngWriterQueue::written() const {
    std::lock_guard<std::mutex> hold(lock_);
    return written_;
}

bool PngWriterQueue::failed() const {
    std::lock_guard<std::mutex> hold(lock_);
    return !failure_.empty();
}

std::string PngWriterQueue::failure() const {
    std::lock_guard<std::mutex> hold(lock_);
    return failure_;
}

void PngWriterQueue::run() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and nothing left to write
        Frame frame = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        const bool skip = !failure_.empty();
        hold.unlock();
        changed_.notify_all();  // a place in the queue is free

        std::string why;
        const bool ok = skip || encodePngFile(frame.path, frame.width, frame.height, frame.rows, why);

        hold.lock();
        if (!skip) {
            if (ok) ++written_;
            else failure_ = why;
        }
        spare_.push_back(std::move(frame.rows));
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace zelFramework
