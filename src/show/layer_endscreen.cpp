#include "show/layer_endscreen.h"

#include <GL/glew.h>

#include <cstdio>

#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "show/layer_gl.h"
#include "show/slide_drawing.h"

namespace zelFramework {

namespace {
constexpr float CARD_SIDE = 2.4f, CARD_DEPTH = 1.23f;
}

int endScreenLastLayer(float T) { return T < END_SCREEN_SWITCH ? 6 : 5; }

bool Layer_EndScreen::init(GL_TextureManager* /*textures*/, ControllerSet* /*controllers*/) {
    for (int i = 0; i < 6; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Endscreen\\endscreen_l%d.png", i + 1);
        // Layer 2 is the turning card; the others cover the whole picture.
        layers[i] = GL_TextureManager::getTexture(
            name, GL_REPEAT, GL_REPEAT, i == 1 ? facingCardFit(CARD_SIDE, CARD_SIDE, CARD_DEPTH) : fullPictureFit());
    }
    finalTarget = findFinalTarget();
    return true;
}

void Layer_EndScreen::setTime(const LayerTime& t) {
    T = t.time;
    delta = t.delta;
}

void Layer_EndScreen::render() {
    beginSlides(finalTarget);

    drawSlideLayer(layers[0]);
    if (bindPicture(layers[1])) {
        beginCardView();
        glTranslatef(0.5f, -0.68f, -CARD_DEPTH);
        glRotatef(20.0f * T, 0.0f, 0.0f, 1.0f);
        drawCardQuad(-CARD_SIDE / 2, -CARD_SIDE / 2, CARD_SIDE / 2, CARD_SIDE / 2, 0.0f, 0.0f, 1.0f, 1.0f);
        endCardView();
        unbindPicture(layers[1]);
    }
    drawSlideLayer(layers[2]);
    drawSlideLayer(layers[3]);
    drawSlideLayer(layers[endScreenLastLayer(T) - 1]);

    endSlides(finalTarget);
}

}  // namespace zelFramework
