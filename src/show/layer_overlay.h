// The 2-D overlays drawn over the finished frame: title images, logos, a white wipe and additive
// bands, each driven by one controller (its opacity, brightness or position) in a 1920 x 842 space.
#pragma once

#include "runtime/layer_base.h"
#include "show/midi_flash.h"

namespace zelFramework {

struct Controller;
class GL_Texture;

constexpr float OVERLAY_WIDTH = 1920.0f;
constexpr float OVERLAY_HEIGHT = 842.0f;

// The white wipe at sweep position s (0..1): everything is moved right by `shift`; the opaque edge
// sits at x = -50 before the shift, fading to nothing at x = 0 ahead of it and at `tailStart` behind.
struct WipeShape {
    float shift;
    float tailStart;
    float edge;
    float headEnd;
};
WipeShape wipeShape(float s);

class Layer_TextOverlayAnimation : public Layer_Base {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    // Note-ons of a MIDI file light the note columns and the frame flash (midi_flash.h).
    void onMidiTrigger(const MidiTrigger& trigger, bool noteOn) override;
    void render() override;
    void release() override {}

private:
    float time = 0.0f;
    float delta = 0.0f;
    Controller* logoBuild[3] = {};
    Controller* logoFadeIn = nullptr;
    Controller* tvLogo = nullptr;
    Controller* swooshWipe = nullptr;
    Controller* gralleFadeIn = nullptr;
    Controller* logoStripe[3] = {};
    GL_Texture* titleImages[3] = {};
    GL_Texture* fullLogo = nullptr;
    GL_Texture* cornerLogo = nullptr;
    GL_Texture* bandLogo = nullptr;
    MidiFlash midiFlash;

    void drawFullPicture(GL_Texture* picture, const Controller* opacity);
    void drawPictureQuad(GL_Texture* picture, const Controller* opacity, float x0, float y0, float x1, float y1);
    void drawWipe(float s);
    void drawBands();
    void drawMidiFlash();
};

}  // namespace zelFramework
