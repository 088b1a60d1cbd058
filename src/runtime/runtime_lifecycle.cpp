// The runtime's life on the live hosts: set-up, loading, playing and stopping.
#include "gl/texture_manager.h"
#include "runtime/gl_frame_host.h"
#include "runtime/gl_loading_host.h"
#include "runtime/music_bridge.h"
#include "sync/controller_set.h"

namespace zelFramework {

bool initRuntime(ControllerSet* controllers, MusicState* music) {
    ShowRuntime& rt = runtime();
    rt.textures = new GL_TextureManager();
    rt.controllers = controllers;
    rt.music = music;
    if (controllers) controllers->load("data\\demosynch.dat");
    rt.editor = nullptr;
    return true;
}

void loadShow(WindowHandle window) {
    GLLoadingHost host(window);
    loadShowOn(host);
}

void runShow(WindowHandle window) {
    GLFrameHost host(window);
    runShowOn(host, window);
}

void stopShow() {
    ShowRuntime& rt = runtime();
    showMusicStop(rt.music);
    rt.state = RuntimeState::Quit;
}

}  // namespace zelFramework
