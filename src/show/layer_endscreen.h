// The closing picture: five stacked layers, one of them a turning perspective card, and a last layer
// that changes at 179.221 s; drawn into the shared picture.
#pragma once

#include "runtime/layer_base.h"

namespace zelFramework {

class GL_FBOTexture;
class GL_Texture;

constexpr float END_SCREEN_SWITCH = 179.221f;

// Which of the two last layers is shown at show time T: 6 before the switch, 5 from it on.
int endScreenLastLayer(float T);

class Layer_EndScreen : public Layer_Base {
public:
    bool init(GL_TextureManager* textures, ControllerSet* controllers) override;
    void setTime(const LayerTime& t) override;
    void render() override;
    // Its slides start by clearing the picture and draw nothing else.
    bool replacesPicture() const override { return true; }
    void release() override {}

private:
    float T = 0.0f;
    float delta = 0.0f;
    GL_FBOTexture* finalTarget = nullptr;
    GL_Texture* layers[6] = {};  // endscreen_l1 .. endscreen_l6
};

}  // namespace zelFramework
