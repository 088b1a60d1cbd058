#include "runtime/gl_loading_host.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "platform/native_window.h"
#include "platform/platform.h"
#include "runtime/midi_triggers.h"

namespace zelFramework {

GL_Texture* GLLoadingHost::loadingImage() {
    return GL_TextureManager::getTexture("loading.jpg", GL_REPEAT, GL_REPEAT, fullPictureFit());
}

void GLLoadingHost::moveCursorHome() { setCursorPos(0, 0); }

void GLLoadingHost::drawLoadingFrame(GL_Texture* image, float brightness) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // Without the picture the frame stays black; the fade still paces the loading.
    if (image) {
        image->bind(GL_TEXTURE0);
        glColor3f(brightness, brightness, brightness);
        drawQuad(true, 1.0f, 0.0f, 0.0f, 0.0f);
        image->unbind();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    swapBuffers(window_);
    frameShownAt_ = performanceCounter();
}

// Each frame of the fade stays 10 ms on screen; what the loading did since it was presented (the
// upload of decoded pictures) counts towards that time instead of adding to it.
void GLLoadingHost::fadePause() {
    const uint64_t frequency = std::max<uint64_t>(performanceFrequency(), 1);
    const double spentMs = double(performanceCounter() - frameShownAt_) * 1000.0 / double(frequency);
    if (spentMs < 10.0) sleepMs(uint32_t(std::ceil(10.0 - spentMs)));
}

void GLLoadingHost::readMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) {
    loadMidiTriggers(file, triggers);
}

}  // namespace zelFramework
