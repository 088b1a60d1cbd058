// The loading sequence on an injectable host: the GL host draws the loading picture, tests count the
// frames and their brightness.
#pragma once

#include <string>
#include <vector>

#include "runtime/show_runtime.h"

namespace zelFramework {

class GL_Texture;

class LoadingHost {
public:
    virtual ~LoadingHost() = default;
    // The loading picture, or null when it cannot be had.
    virtual GL_Texture* loadingImage() = 0;
    virtual void moveCursorHome() = 0;
    // Clears the window and draws the picture at the brightness (black without a picture), then presents.
    virtual void drawLoadingFrame(GL_Texture* image, float brightness) = 0;
    // The pause between two frames of a fade; the GL host counts the work done since the frame was
    // presented as part of it.
    virtual void fadePause() = 0;
    // Appends the notes of a MIDI file as triggers (see loadMidiTriggers).
    virtual void readMidiTriggers(const std::string& file, std::vector<MidiTrigger>& triggers) = 0;
};

// Fade frames per layer: about a tenth of a second of loading picture before each init.
constexpr int LOADING_FADE_STEPS = 10;

// Stops at the first layer whose init fails or traces an ERROR; the runtime is Ready only when none did.
void loadShowOn(LoadingHost& host);

}  // namespace zelFramework
