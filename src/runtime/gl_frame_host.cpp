#include "runtime/gl_frame_host.h"

#include <GL/glew.h>

#include "gl/gltk.h"
#include "platform/native_window.h"
#include "runtime/frame_time_graph.h"
#include "runtime/music_bridge.h"

namespace zelFramework {

int64_t GLFrameHost::counterFrequency() { return int64_t(performanceFrequency()); }
int64_t GLFrameHost::counter() { return int64_t(performanceCounter()); }
bool GLFrameHost::takeMessage(Message& out) { return peekMessage(out); }
void GLFrameHost::dispatch(const Message& msg) { dispatchMessage(msg); }
bool GLFrameHost::keyHeld(uint32_t virtualKey) { return isKeyDown(virtualKey); }

bool GLFrameHost::hasStream() { return showMusicHasStream(runtime().music); }
bool GLFrameHost::musicPaused() { return showMusicPaused(runtime().music); }
void GLFrameHost::resumeMusic() { showMusicResume(runtime().music); }
void GLFrameHost::playMusic() { showMusicPlay(runtime().music); }
void GLFrameHost::seekMusic(uint32_t ms) { showMusicSeek(runtime().music, ms); }
void GLFrameHost::stopMusic() { showMusicStop(runtime().music); }
uint32_t GLFrameHost::musicTimeMs() { return showMusicPositionMs(runtime().music); }
const float* GLFrameHost::spectrum() { return showMusicSpectrum(runtime().music); }

void GLFrameHost::startSharedTools() { gltkInit(); }
void GLFrameHost::stopSharedTools() { gltkShutdown(); }
void GLFrameHost::showCursor() { zelFramework::showCursor(true); }

void GLFrameHost::clearFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GLFrameHost::beginLayer() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
}

void GLFrameHost::endLayer() {
    // The layer may have left another matrix current.
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void GLFrameHost::drawFrameTimeGraph(const std::array<float, FRAME_TIME_SAMPLES>& times, uint32_t count) {
    zelFramework::drawFrameTimeGraph(times, count);
}

void GLFrameHost::present() { swapBuffers(window_); }
void GLFrameHost::idle() { sleepMs(1); }
void GLFrameHost::setTitle(const char* title) { setWindowTitle(window_, title); }

}  // namespace zelFramework
