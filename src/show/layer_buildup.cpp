#include "show/layer_buildup.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "gl/fbo_texture.h"
#include "gl/texture_manager.h"
#include "show/layer_gl.h"
#include "show/slide_drawing.h"

namespace zelFramework {

namespace {

// Slide starts, latest first: the first that has begun is shown.
const struct {
    float from;
    int slide;
} SLIDE_STARTS[] = {{122.759f, 6}, {121.3f, 5}, {118.621f, 4}, {115.857f, 3}, {113.103f, 2}, {112.369f, 1}};

constexpr float LAYER_END = 124.138f;  // where the schedule ends this layer
constexpr float TEST_CARD_DEPTH = 2.43f;

// The largest scales of the layers that zoom, pulse or shake (see the slides below). The pulse of
// slide 5 counts from 121.429 s, after the slide begins: before that its negative time makes it grow.
constexpr float SLIDE5_PULSE_FROM = 121.429f;
constexpr float GENERIC_PULSE_LARGEST = 1.0f + 0.1f * 4.0f * (SLIDE5_PULSE_FROM - 121.3f);
constexpr float LUNAVEX_ZOOM_LARGEST = 1.0f + 2.0f * (113.103f - 112.369f);
constexpr float MESSAGE_FOR_YOU_ZOOM_LARGEST = 1.0f + 0.8f * (LAYER_END - 122.759f);

struct SlidePicture {
    const char* file;
    bool clamp;  // the two message cards must not repeat at their edges
    // Drawn still over exactly the whole picture, so it can be kept at the picture's size; the cards
    // (drawn in perspective) and the layers that zoom, pulse or shake keep their whole size and get
    // mipmaps, since they are drawn at every size.
    bool still = true;
    // For a layer that zooms, pulses or shakes: the largest scale it is drawn at over the whole
    // picture, so that the mipmap levels larger than any of its draws are left out.
    float largestScale = 0.0f;
};

const SlidePicture PICTURES[Layer_BuildUp::IMAGE_COUNT] = {
    {"00-Generic\\kvt_generic_l1.png", false},
    {"00-Generic\\kvt_generic_l2.png", false},
    {"00-Generic\\kvt_generic_l3.png", false, false, GENERIC_PULSE_LARGEST},
    {"01-LunavexTestimage\\lunavex_l1.png", false},
    {"01-LunavexTestimage\\lunavex_l2.png", false, false, LUNAVEX_ZOOM_LARGEST},
    {"01-LunavexTestimage\\lunavex_l3.png", false},
    {"02-KVTTestimage\\kvt_testimage_l1.png", false},
    {"02-KVTTestimage\\kvt_testimage_l2.png", false},
    {"02-KVTTestimage\\kvt_testimage_l3.png", false, false},  // the turning card, see pictureFit
    {"03-KVTMessage\\message_slide_l1.png", true, false},
    {"03-KVTMessage\\message_slide_l2.png", true, false},
    {"03-KVTMessage\\message_slide_l3.png", false, false, 1.0f},  // shakes at its size
    {"03-KVTMessage\\message_slide_l4.png", false},
    {"04-KVTLogo\\kvt_logo_slide_l1.png", false},
    {"04-KVTLogo\\kvt_logo_slide_l2.png", false, false, 1.01f},  // see logoShake
    {"05-Credits\\groups_slide_l1.png", false, false},
    {"05-Credits\\groups_slide_l2.png", false, false},
    {"06-MessageForYou\\message_for_you_l1.png", false, false, MESSAGE_FOR_YOU_ZOOM_LARGEST},
};

// The closest views of the cards of slides 3 and 5, in picture heights along each side of the card:
// 5 % above what projecting the cards along their motion gives, at 50 steps a second. The first
// card of slide 3 turns too close to the view for this to leave out any of its levels; it keeps all.
struct CardView {
    int image;
    float width, height;
};
const CardView CARD_VIEWS[] = {
    {Layer_BuildUp::MessageL2, 1.275f, 0.753f},
    {Layer_BuildUp::GroupsL1, 4.32f, 1.213f},
    {Layer_BuildUp::GroupsL2, 2.78f, 1.218f},
};

PictureFit pictureFit(int image) {
    const SlidePicture& picture = PICTURES[image];
    if (picture.still) return fullPictureFit();
    if (image == Layer_BuildUp::TestImageL3) return facingCardFit(2.0f, 2.0f, TEST_CARD_DEPTH);
    for (const CardView& view : CARD_VIEWS)
        if (view.image == image) return movingCardFit(view.width, view.height);
    if (picture.largestScale <= 0.0f) return PictureFit{.drawnSmaller = true};
    PictureFit fit = fullPictureFit(picture.largestScale);
    fit.drawnSmaller = true;
    fit.dropUnreadLevels = true;
    return fit;
}

float sinSquared(double x) {
    const double s = std::sin(x);
    return float(s * s);
}

}  // namespace

int buildUpSlideAt(float T) {
    for (const auto& start : SLIDE_STARTS)
        if (T >= start.from) return start.slide;
    return 0;
}

LogoShake logoShake(float T) {
    const float k = std::clamp(2.0f * (T - 118.621f), 0.0f, 1.0f);
    const float j = sinSquared(15.0 * T) * 0.002f * float(std::cos(0.8 * std::sin(2.0 * T) + 80.0 * T + 0.2)) * k * k;
    const float scale = 1.0f + 0.01f * float(std::sin(100.0 * T)) * k;
    return {j, scale};
}

bool Layer_BuildUp::init(GL_TextureManager* /*textures*/, ControllerSet* /*controllers*/) {
    for (int i = 0; i < IMAGE_COUNT; ++i) {
        const GLenum wrap = PICTURES[i].clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
        images[i] = GL_TextureManager::getTexture(PICTURES[i].file, wrap, wrap, pictureFit(i));
    }
    finalTarget = findFinalTarget();
    return true;
}

void Layer_BuildUp::setTime(const LayerTime& t) {
    T = t.time;
    delta = t.delta;
}

// The common background of slides 2 to 6; its first two layers are stored for unflipped drawing.
void Layer_BuildUp::drawGeneric(float pulseOf) {
    drawSlideLayer(images[GenericL1], false);
    drawSlideLayer(images[GenericL2], false);
    drawSlideLayer(images[GenericL3], true, slidePulse(pulseOf));
}

void Layer_BuildUp::slide1() {
    drawSlideLayer(images[LunavexL1]);
    drawSlideLayer(images[LunavexL2], true, 1.0f + 2.0f * std::fmod(T - 112.369f, 1.0f));
    drawSlideLayer(images[LunavexL3]);
}

void Layer_BuildUp::slide2() {
    drawGeneric(T);
    glColor4f(1.0f, 1.0f, 1.0f, 0.7f + 0.1f * float(std::sin(18.0 * T)));
    drawSlideLayer(images[TestImageL1]);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawSlideLayer(images[TestImageL2]);
    if (bindPicture(images[TestImageL3])) {
        beginCardView();
        glTranslatef(0.01f, 0.0f, -TEST_CARD_DEPTH);
        glRotatef(20.0f * T, 0.0f, 0.0f, 1.0f);
        drawCardQuad(-1.0f, -1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
        endCardView();
        unbindPicture(images[TestImageL3]);
    }
}

void Layer_BuildUp::slide3() {
    const float L = T - 115.857f;
    drawGeneric(L);
    if (bindPicture(images[MessageL1])) {
        beginCardView();
        glTranslatef(-0.6f, 0.0f, -2.13f);
        glRotatef(10.0f * L + 15.0f, 0.0f, 1.0f, 0.0f);
        drawCardQuad(-1.215f, 1.0f, 1.215f, -1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
        endCardView();
        unbindPicture(images[MessageL1]);
    }
    if (bindPicture(images[MessageL2])) {
        beginCardView();
        glTranslatef(-1.8f, 0.0f, -4.63f);
        glRotatef(12.0f * L + 15.0f, 0.0f, 1.0f, 0.0f);
        drawCardQuad(-1.694f, 1.0f, 1.694f, -1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
        endCardView();
        unbindPicture(images[MessageL2]);
    }
    drawSlideLayer(images[MessageL3], true, 1.0f, 0.013f * float(std::sin(4.0 * T)) + 0.003f);
    drawSlideLayer(images[MessageL4]);
}

void Layer_BuildUp::slide4() {
    drawSlideLayer(images[LogoL1]);
    drawSlideLayer(images[GenericL2], false);
    drawSlideLayer(images[GenericL3], true, slidePulse(T));
    const LogoShake shake = logoShake(T);
    drawSlideLayer(images[LogoL2], true, shake.scale, -shake.j, shake.j);
}

void Layer_BuildUp::slide5() {
    const float L = T - SLIDE5_PULSE_FROM;
    drawGeneric(L);
    beginCardView();
    gluLookAt(0.9 * std::sin(0.5 * L), 0.2 * L, 2.8 - 0.2 * L, 0.15 * L - 0.1, 0.0, 0.0, 0.2 * std::sin(0.2 * L), 1.0,
              0.0);
    if (bindPicture(images[GroupsL1])) {
        drawCardQuad(-3.563f, 1.0f, 3.563f, -1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
        unbindPicture(images[GroupsL1]);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 0.7f + 0.4f * sinSquared(25.0 * T));
    glTranslatef(0.01f * float(std::sin(60.0 * T)), 0.0f, 0.0f);
    if (bindPicture(images[GroupsL2])) {
        drawCardQuad(-2.28f, 1.0f, 2.28f, -1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
        unbindPicture(images[GroupsL2]);
    }
    endCardView();
}

void Layer_BuildUp::slide6() {
    const float L = std::max(T - 122.759f, 0.0f);
    drawGeneric(T);
    drawSlideLayer(images[MessageForYouL1], true, 1.0f + 0.8f * L);
}

void Layer_BuildUp::render() {
    beginSlides(finalTarget);
    switch (buildUpSlideAt(T)) {
    case 1: slide1(); break;
    case 2: slide2(); break;
    case 3: slide3(); break;
    case 4: slide4(); break;
    case 5: slide5(); break;
    case 6: slide6(); break;
    default: break;
    }
    endSlides(finalTarget);
}

}  // namespace zelFramework
