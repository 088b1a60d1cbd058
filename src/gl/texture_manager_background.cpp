#include "gl/texture_manager_background.h"

#include <algorithm>

namespace zelFramework {

void preparePicture(PictureJob& job) {
    job.ok = decodePicture(job.bytes, job.name, job.picture, job.why);
    std::vector<uint8_t>().swap(job.bytes);  // the file's bytes are not needed any more
    if (!job.ok) return;
    if (job.flip) flipPictureRows(job.picture);
    if (job.mipmaps && job.dropUnreadLevels) {
        job.smallerLevels = smallerLevels(job.picture);
        dropUnreadLevels(job.picture, job.smallerLevels, job.keepWidth, job.keepHeight);
        return;
    }
    if (job.keepWidth > 0 && job.keepHeight > 0 &&
        (job.keepWidth < job.picture.width || job.keepHeight < job.picture.height)) {
        const int width = std::min(job.keepWidth, job.picture.width);
        const int height = std::min(job.keepHeight, job.picture.height);
        job.picture = resamplePicture(job.picture, width, height);
    }
    if (job.mipmaps) job.smallerLevels = smallerLevels(job.picture);
}

BackgroundPictures::BackgroundPictures(int threads, size_t waitingBytes) : waitingBytes_(waitingBytes) {
    for (int i = 0; i < std::max(threads, 1); ++i) threads_.emplace_back([this] { work(); });
}

BackgroundPictures::~BackgroundPictures() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void BackgroundPictures::submit(std::unique_ptr<PictureJob> job) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        waiting_.push_back(std::move(job));
    }
    changed_.notify_all();
}

std::vector<std::unique_ptr<PictureJob>> BackgroundPictures::takeFinished(bool wait) {
    std::vector<std::unique_ptr<PictureJob>> done;
    {
        std::unique_lock<std::mutex> hold(lock_);
        if (wait)
            changed_.wait(hold, [this] { return !finished_.empty() || (waiting_.empty() && running_ == 0); });
        done.swap(finished_);
        finishedBytes_ = 0;
    }
    changed_.notify_all();  // workers held back by the memory bound may go on
    return done;
}

void BackgroundPictures::work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return stopping_ || (!waiting_.empty() && finishedBytes_ < waitingBytes_); });
        if (stopping_) return;
        std::unique_ptr<PictureJob> job = std::move(waiting_.front());
        waiting_.pop_front();
        ++running_;
        hold.unlock();
        preparePicture(*job);
        hold.lock();
        finishedBytes_ += job->picture.pixels.size();
        for (const DecodedPicture& level : job->smallerLevels) finishedBytes_ += level.pixels.size();
        finished_.push_back(std::move(job));
        --running_;
        changed_.notify_all();
    }
}

}  // namespace zelFramework
