// The abstract layer every scene and full-screen effect of a show derives from, and the timing it is
// handed each frame.
#pragma once

#include <cstdint>

#include "runtime/midi_trigger.h"

namespace zelFramework {

class GL_TextureManager;
class ControllerSet;

// One frame's timing as one schedule entry sees it; all times in seconds of show time.
struct LayerTime {
    float time = 0.0f;       // show time now
    float delta = 0.0f;      // wall-clock seconds since the previous frame
    float duration = 0.0f;   // length of the entry
    float remaining = 0.0f;  // entry end minus now
    float start = 0.0f;      // entry start
    bool firstFrame = false; // the entry began within the last frame's span
    bool lastFrame = false;  // the entry ends within the next frame's span
    const float* spectrum = nullptr;  // the music's spectrum this frame, or null
};

class Layer_Base {
public:
    // Called once at shutdown, after release.
    virtual ~Layer_Base() = default;
    // Loads assets, builds shaders and targets, fetches controllers; false stops the loading.
    virtual bool init(GL_TextureManager* textures, ControllerSet* controllers) = 0;
    // Every frame the layer's entry is active, before render; not while paused.
    virtual void setTime(const LayerTime& t) = 0;
    // Once per MIDI trigger of the frame, after setTime; not while paused.
    virtual void onMidiTrigger(const MidiTrigger& trigger, bool noteOn) {
        (void)trigger;
        (void)noteOn;
    }
    // Draws, with identity projection and modelview matrices and the modelview pushed.
    virtual void render() = 0;
    // True when render() draws nothing but the shared final picture and starts by clearing it, so
    // that what the layers before it in the frame drew there is lost. Of the active layers that say
    // so, only the last in slot order is drawn; the others are still timed and told the triggers.
    // Such a layer must cope with frames in which it is not drawn, as it must when the show seeks.
    virtual bool replacesPicture() const { return false; }
    // Every window message while the layer was active in the last drawn frame.
    virtual void onWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        (void)message;
        (void)wParam;
        (void)lParam;
    }
    // Once at shutdown, before the destructor.
    virtual void release() = 0;
};

}  // namespace zelFramework
