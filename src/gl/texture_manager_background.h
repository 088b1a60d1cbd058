// Pictures decoded on worker threads while the main thread goes on; the OpenGL upload stays on the
// main thread, which owns the context.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gl/picture_file.h"
#include "gl/texture.h"

namespace zelFramework {

struct PictureJob {
    std::string name;  // as requested, for messages
    std::vector<uint8_t> bytes;
    int keepWidth = 0;  // 0: keep the decoded size
    int keepHeight = 0;
    bool flip = false;
    bool mipmaps = false;
    bool dropUnreadLevels = false;  // with mipmaps: keepWidth x keepHeight bounds the draws, see PictureFit
    GL_MemTexture* texture = nullptr;
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
    // Filled by the worker.
    bool ok = false;
    DecodedPicture picture;
    std::vector<DecodedPicture> smallerLevels;  // with `mipmaps`
    std::string why;
};

// Decodes, turns and resizes a picture as the job asks: the work that needs no OpenGL.
void preparePicture(PictureJob& job);

class BackgroundPictures {
public:
    // Workers stop taking jobs while the decoded pictures waiting for upload hold `waitingBytes` or
    // more, so that memory stays bounded however many pictures are asked for at once.
    explicit BackgroundPictures(int threads, size_t waitingBytes = 16u << 20);
    ~BackgroundPictures();  // waits for the workers; jobs not yet taken are dropped

    void submit(std::unique_ptr<PictureJob> job);
    // The jobs finished since the last call, in the order they finished. With `wait`, first waits
    // for at least one, unless none is left to finish: an empty result then means all are done.
    std::vector<std::unique_ptr<PictureJob>> takeFinished(bool wait);

private:
    void work();

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<PictureJob>> waiting_;
    std::vector<std::unique_ptr<PictureJob>> finished_;
    size_t finishedBytes_ = 0;
    const size_t waitingBytes_;
    int running_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace zelFramework
