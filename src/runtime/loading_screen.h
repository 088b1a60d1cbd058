// The loading sequence: every layer's init behind a still picture that brightens as layers load.
#pragma once

#include <string>

namespace zelFramework {

class GL_Texture;

struct LoadingScreen {
    virtual ~LoadingScreen() = default;
    GL_Texture* image = nullptr;  // "loading.jpg" from the texture manager, not owned
    std::string midiFile;         // a MIDI file whose notes become triggers; empty for none
};

}  // namespace zelFramework
