// What the frame loop asks of an attached file watcher: the live reloader implements it; the loop
// only knows this interface, so a test can stand in for it.
#pragma once

namespace zelFramework {

class ShowWatcher {
public:
    virtual ~ShowWatcher() = default;
    // Every frame, before the layers draw: brings in whatever changed on disk since the last frame.
    virtual void poll() = 0;
    // Every frame, after the layers and the editor, over the finished picture.
    virtual void draw() = 0;
};

}  // namespace zelFramework
