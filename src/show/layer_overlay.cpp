#include "show/layer_overlay.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "app/screen_metrics.h"
#include "gl/gltk.h"
#include "gl/texture_manager.h"
#include "show/layer_gl.h"
#include "sync/controller_set.h"

namespace zelFramework {

namespace {

// The corner logo's box at the bottom right, in overlay units.
constexpr float CORNER_LOGO_WIDTH = 256.0f;
constexpr float CORNER_LOGO_HEIGHT = 86.0f;
// The band's rows, across the whole width.
constexpr float BAND_BOTTOM = 419.0f;
constexpr float BAND_TOP = 842.0f;

// The size in pixels of a box of the overlay: a picture drawn over exactly that box is kept at it.
PictureFit overlayBoxFit(float width, float height) {
    return {int(std::ceil(float(screenWidth) * width / OVERLAY_WIDTH)),
            int(std::ceil(float(renderHeight) * height / OVERLAY_HEIGHT))};
}

void unbindTextures() {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

}  // namespace

WipeShape wipeShape(float s) {
    const float w = float(std::sin(3.141 * double(s)) * 2.7 + 0.3);
    return {2320.0f * s, -400.0f * w, -50.0f, 0.0f};
}

bool Layer_TextOverlayAnimation::init(GL_TextureManager* /*textures*/, ControllerSet* controllers) {
    logoStripe[0] = controllers->get("Logo Stripe 1");
    logoStripe[1] = controllers->get("Logo Stripe 2");
    logoStripe[2] = controllers->get("Logo Stripe 3");
    logoBuild[0] = controllers->get("Logo Build 1");
    logoBuild[1] = controllers->get("Logo Build 2");
    logoBuild[2] = controllers->get("Logo Build 3");
    logoFadeIn = controllers->get("Logo Fade In");
    gralleFadeIn = controllers->get("Gralle Fade In");
    swooshWipe = controllers->get("Swoosh Wipe");
    tvLogo = controllers->get("TV Logo");

    titleImages[0] = GL_TextureManager::getTexture("ArenaBuildup\\01-logos.png", GL_REPEAT, GL_REPEAT, fullPictureFit());
    titleImages[1] = GL_TextureManager::getTexture("ArenaBuildup\\02-bring-you.png", GL_REPEAT, GL_REPEAT, fullPictureFit());
    titleImages[2] = GL_TextureManager::getTexture("ArenaBuildup\\03-the-event.png", GL_REPEAT, GL_REPEAT, fullPictureFit());
    fullLogo = GL_TextureManager::getTexture("stormhalo.png", GL_REPEAT, GL_REPEAT, fullPictureFit());
    // The corner logo and the band stand still at one size each (only their opacity changes): kept
    // at that size, each kept pixel the average of what it covers, they stay whole and crisp (mipmaps
    // would blend two levels of them).
    cornerLogo = GL_TextureManager::getTexture("lunavex-logo.png", GL_REPEAT, GL_REPEAT,
                                               overlayBoxFit(CORNER_LOGO_WIDTH, CORNER_LOGO_HEIGHT));
    bandLogo = GL_TextureManager::getTexture("gralle.png", GL_REPEAT, GL_REPEAT,
                                             overlayBoxFit(OVERLAY_WIDTH, BAND_TOP - BAND_BOTTOM));
    return true;
}

void Layer_TextOverlayAnimation::setTime(const LayerTime& t) {
    time = t.time - t.start;
    delta = t.delta;
}

void Layer_TextOverlayAnimation::onMidiTrigger(const MidiTrigger& trigger, bool noteOn) {
    if (noteOn) midiFlash.noteOn(trigger.name, time);
}

void Layer_TextOverlayAnimation::drawFullPicture(GL_Texture* picture, const Controller* opacity) {
    const float value = valueOf(opacity);
    if (!(value > 0.0f)) return;
    glColor4f(1.0f, 1.0f, 1.0f, value);
    if (!bindPicture(picture)) return;
    drawQuad(true, 1.0f, 0.0f, 0.0f, 0.0f);
    picture->unbind();
}

void Layer_TextOverlayAnimation::drawPictureQuad(GL_Texture* picture, const Controller* opacity, float x0, float y0,
                                                 float x1, float y1) {
    const float value = valueOf(opacity);
    if (!(value > 0.0f)) return;
    glColor4f(1.0f, 1.0f, 1.0f, value);
    if (!bindPicture(picture)) return;
    // Texture coordinate (0, 0) at the bottom left: the logos are stored upside down for this.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x0, y1);
    glEnd();
    picture->unbind();
}

void Layer_TextOverlayAnimation::drawWipe(float s) {
    unbindTextures();
    const WipeShape wipe = wipeShape(s);
    glTranslatef(wipe.shift, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glVertex2f(wipe.tailStart, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glVertex2f(wipe.edge, 0.0f);
    glVertex2f(wipe.edge, OVERLAY_HEIGHT);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glVertex2f(wipe.tailStart, OVERLAY_HEIGHT);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glVertex2f(wipe.edge, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glVertex2f(wipe.headEnd, 0.0f);
    glVertex2f(wipe.headEnd, OVERLAY_HEIGHT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glVertex2f(wipe.edge, OVERLAY_HEIGHT);
    glEnd();
}

void Layer_TextOverlayAnimation::drawBands() {
    static const float bands[3][2] = {{0.0f, 400.0f}, {400.0f, 561.0f}, {561.0f, 884.0f}};
    glBlendFunc(GL_ONE, GL_ONE);
    for (int i = 0; i < 3; ++i) {
        const float v = valueOf(logoStripe[i]);
        if (!(v > 0.0f)) continue;
        glColor4f(v, v, v, 1.0f);
        glBegin(GL_QUADS);
        glVertex2f(0.0f, bands[i][0]);
        glVertex2f(OVERLAY_WIDTH, bands[i][0]);
        glVertex2f(OVERLAY_WIDTH, bands[i][1]);
        glVertex2f(0.0f, bands[i][1]);
        glEnd();
    }
}

void Layer_TextOverlayAnimation::drawMidiFlash() {
    const float frame = midiFlash.strongest(time);
    if (!(frame > 0.0f)) return;  // no note sounding: not a pixel changes
    unbindTextures();
    glBlendFunc(GL_ONE, GL_ONE);
    glBegin(GL_QUADS);
    const float wash = 0.12f * frame;
    glColor4f(wash, wash, wash, 1.0f);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(OVERLAY_WIDTH, 0.0f);
    glVertex2f(OVERLAY_WIDTH, OVERLAY_HEIGHT);
    glVertex2f(0.0f, OVERLAY_HEIGHT);
    const float columnWidth = OVERLAY_WIDTH / float(MIDI_PITCH_CLASSES);
    for (int p = 0; p < MIDI_PITCH_CLASSES; ++p) {
        const float s = midiFlash.column(p, time);
        if (!(s > 0.0f)) continue;
        const FlashColour c = midiPitchColour(p);
        const float x0 = columnWidth * float(p), x1 = x0 + columnWidth;
        // Brightest at the bottom, fading towards the top.
        glColor4f(0.6f * s * c.r, 0.6f * s * c.g, 0.6f * s * c.b, 1.0f);
        glVertex2f(x0, 0.0f);
        glVertex2f(x1, 0.0f);
        glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
        glVertex2f(x1, OVERLAY_HEIGHT);
        glVertex2f(x0, OVERLAY_HEIGHT);
    }
    glEnd();
}

void Layer_TextOverlayAnimation::render() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, OVERLAY_WIDTH, 0.0, OVERLAY_HEIGHT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    for (int i = 0; i < 3; ++i) drawFullPicture(titleImages[i], logoBuild[i]);
    drawFullPicture(fullLogo, logoFadeIn);
    drawPictureQuad(cornerLogo, tvLogo, OVERLAY_WIDTH - CORNER_LOGO_WIDTH, 0.0f, OVERLAY_WIDTH, CORNER_LOGO_HEIGHT);
    const float s = valueOf(swooshWipe);
    if (s > 0.0f) drawWipe(s);
    drawPictureQuad(bandLogo, gralleFadeIn, 0.0f, BAND_BOTTOM, OVERLAY_WIDTH, BAND_TOP);
    drawBands();
    drawMidiFlash();

    unbindTextures();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

}  // namespace zelFramework
