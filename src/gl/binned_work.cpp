#include "gl/binned_work.h"

#include <GL/glew.h>

#include "gl/render_limits.h"

namespace zelFramework {

namespace {

struct BinnedWork {
    bool limitKnown = false;
    size_t limit = 0;
    size_t sinceWait = 0;
    size_t waits = 0;
};

BinnedWork& work() {
    static BinnedWork w;
    return w;
}

}  // namespace

size_t binnedIndexLimit() {
    BinnedWork& w = work();
    if (!w.limitKnown) {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        w.limit = softwareRendererName(renderer) ? BINNED_INDEX_LIMIT : 0;
        w.limitKnown = true;
    }
    return w.limit;
}

void afterIndexedDraw(size_t indexCount) {
    BinnedWork& w = work();
    const size_t limit = binnedIndexLimit();
    if (limit == 0) return;
    w.sinceWait += indexCount;
    if (w.sinceWait < limit) return;
    glFinish();
    w.sinceWait = 0;
    ++w.waits;
}

void setBinnedIndexLimit(size_t limit) {
    BinnedWork& w = work();
    w.limit = limit;
    w.limitKnown = true;
    w.sinceWait = 0;
}

size_t binnedWorkWaits() { return work().waits; }

}  // namespace zelFramework
