// What the frame loop asks of an attached editor. The timeline editor implements it; the runtime only
// knows this interface so that it does not depend on the editor's library.
#pragma once

#include <cstdint>

namespace zelFramework {

class ShowEditor {
public:
    virtual ~ShowEditor() = default;
    // Once, before the first frame.
    virtual void activate() = 0;
    // Every frame, after the layers, over the finished picture.
    virtual void draw() = 0;
    // Every window message, before the layers see it.
    virtual void handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // After every key was replaced from the sync data file while the show runs: indices into the old
    // keys mean nothing any more.
    virtual void keysReplaced() {}
    // Once, after the last frame; the runtime deletes the editor afterwards.
    virtual void shutdown() = 0;
};

}  // namespace zelFramework
