#include "show/layer_endscreen.h"

#include <GL/glew.h>

#include <cstdio>

#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "show/layer_gl.h"
#include "show/slide_drawing.h"

namespace zelFramework {

int endScreenLastLayer(float T) { return T < END_SCREEN_SWITCH ? 6 : 5; }

bool Layer_EndScreen::init(GL_TextureManager* /*textures*/, ControllerSet* /*controllers*/) {
    for (int i = 0; i < 6; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Endscreen\\endscreen_l%d.png", i + 1);
        // Layer 2 is the turning card, drawn at every size; the others cover the whole picture.
        layers[i] = GL_TextureManager::getTexture(name, GL_REPEAT, GL_REPEAT,
                                                  i == 1 ? PictureFit{.drawnSmaller = true} : fullPictureFit());
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
        glTranslatef(0.5f, -0.68f, -1.23f);
        glRotatef(20.0f * T, 0.0f, 0.0f, 1.0f);
        drawCardQuad(-1.2f, -1.2f, 1.2f, 1.2f, 0.0f, 0.0f, 1.0f, 1.0f);
        endCardView();
        unbindPicture(layers[1]);
    }
    drawSlideLayer(layers[2]);
    drawSlideLayer(layers[3]);
    drawSlideLayer(layers[endScreenLastLayer(T) - 1]);

    endSlides(finalTarget);
}

}  // namespace zelFramework
