// Helpers of the show's GL tests: a frame host that draws the show at chosen moments, and picture
// statistics.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/gl_frame_host.h"

namespace zelFramework::testing {

// Draws one frame at each of the given show times (milliseconds, rising, the first one 0: the loop's
// first frame is always at the start of the span), and hands each finished picture to `inspect`
// before it is presented. The clock jumps between the moments, so a frame's delta is the gap.
class MomentsHost : public GLFrameHost {
public:
    MomentsHost(WindowHandle window, std::vector<uint32_t> momentsMs);
    std::function<void(uint32_t showMs)> inspect;

    int64_t counterFrequency() override { return 1000000; }
    int64_t counter() override;
    bool hasStream() override { return false; }
    const float* spectrum() override { return nullptr; }
    void idle() override {}
    void present() override;

private:
    std::vector<uint32_t> moments_;
    size_t next_ = 0;
    bool started_ = false;
};

struct PictureStats {
    double meanLuma = 0.0;
    double litFraction = 0.0;  // pixels brighter than a dark grey
};
PictureStats pictureStats(const std::vector<uint8_t>& rgba);
// Mean absolute difference per channel of two pictures of the same size, 0..255.
double pictureDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace zelFramework::testing
