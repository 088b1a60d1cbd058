#include "show_gl_support.h"

#include <cmath>
#include <cstdlib>

#include "runtime/frame_host.h"

namespace zelFramework::testing {

MomentsHost::MomentsHost(WindowHandle window, std::vector<uint32_t> momentsMs)
    : GLFrameHost(window), moments_(std::move(momentsMs)) {}

// The loop reads the counter once when the clock starts (time 0 of the run) and then once per
// frame, accumulating float steps; a 0.4 ms lead keeps each frame's whole millisecond on its moment.
int64_t MomentsHost::counter() {
    if (!started_) {
        started_ = true;
        return 0;
    }
    const size_t i = next_ < moments_.size() ? next_ : moments_.size() - 1;
    const int64_t extra = next_ < moments_.size() ? 0 : 1000000;
    return int64_t(moments_.empty() ? 0 : moments_[i]) * 1000 + 400 + extra;
}

void MomentsHost::present() {
    if (inspect) inspect(frameShowMs(runtime()));
    GLFrameHost::present();
    ++next_;
}

PictureStats pictureStats(const std::vector<uint8_t>& rgba) {
    PictureStats s;
    const size_t n = rgba.size() / 4;
    if (n == 0) return s;
    size_t lit = 0;
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double y = 0.2126 * rgba[4 * i] + 0.7152 * rgba[4 * i + 1] + 0.0722 * rgba[4 * i + 2];
        sum += y;
        lit += y > 12.0;
    }
    s.meanLuma = sum / double(n);
    s.litFraction = double(lit) / double(n);
    return s;
}

double pictureDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 255.0;
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;
        sum += std::abs(int(a[i]) - int(b[i]));
        ++count;
    }
    return sum / double(count);
}

}  // namespace zelFramework::testing
