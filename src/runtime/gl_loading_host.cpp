#include "runtime/gl_loading_host.h"

#include <GL/glew.h>

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
}

void GLLoadingHost::fadePause() { sleepMs(10); }

void GLLoadingHost::readMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) {
    loadMidiTriggers(file, triggers);
}

}  // namespace zelFramework
