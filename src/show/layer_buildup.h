// The build-up: six layered slides (test cards, messages, a network logo, credits) over about twelve
// seconds, animated as a fixed function of the show time, drawn into the shared picture.
#pragma once

#include "runtime/layer_base.h"

namespace zelFramework {

class GL_FBOTexture;
class GL_Texture;

// The slide shown at show time T: 1 to 6, or 0 before the first.
int buildUpSlideAt(float T);

// The shake of the network logo on slide 4 at show time T: offset j (x by -j, y by +j) and scale.
struct LogoShake {
    float j;
    float scale;
};
LogoShake logoShake(float T);

class Layer_BuildUp : public Layer_Base {
public:
    enum Image {
        GenericL1, GenericL2, GenericL3,
        LunavexL1, LunavexL2, LunavexL3,
        TestImageL1, TestImageL2, TestImageL3,
        MessageL1, MessageL2, MessageL3, MessageL4,
        LogoL1, LogoL2,
        GroupsL1, GroupsL2,
        MessageForYouL1,
        IMAGE_COUNT
    };

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
    GL_Texture* images[IMAGE_COUNT] = {};

    void drawGeneric(float pulseOf);
    void slide1();
    void slide2();
    void slide3();
    void slide4();
    void slide5();
    void slide6();
};

}  // namespace zelFramework
