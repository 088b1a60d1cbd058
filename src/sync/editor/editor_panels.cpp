// The editor's text panels: the keys (help), the readout of show time, entries playing and frame
// rate, the number being typed, and the notice after a save or a refused edit. Every line is placed
// in whole font lines from a corner, so lines never overlap at any window size.
#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "gl/gltk.h"
#include "platform/platform.h"
#include "runtime/show_runtime.h"
#include "sync/editor/editor_gl.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {

struct KeyHelp {
    const char* keys;
    const char* effect;
};

constexpr KeyHelp KEY_HELP[] = {
    {"left drag on a key", "move it in time (Shift: snap to the compare keys and the beat grid)"},
    {"Control + left click", "select several keys"},
    {"right drag up or down", "change the values of the selected keys (within the band)"},
    {"V, then a number, Enter", "set the value of the selected keys (any value)"},
    {"T, then a number, Enter", "set the time of the selected key; Delete or a click cancels"},
    {"middle click on the key row", "add a key on the curve"},
    {"Backspace + right click", "delete the key under the mouse"},
    {"Control + C, Control + V", "copy the selected keys, paste them at the mouse (or the show time)"},
    {"Control + Z", "undo"},
    {"Control + Y, Shift + Control + Z", "redo"},
    {"mouse wheel", "zoom about the pointer"},
    {"middle drag", "pan the time axis"},
    {"left drag in the waveform", "zoom to the range (right click there: the whole song)"},
    {"Tab + left click", "seek the show and the music"},
    {"L", "loop the zoomed range (again: stop looping)"},
    {"F1 or WORKSPACE > help", "this help"},
    {"F2", "readout: show time, entries playing, frame rate"},
    {"F5, F6", "hide, show the editor"},
    {"Space in record mode", "drop a key at the music's position"},
};

// A line's height in the normalised space, from the font's pixels and the viewport's height.
float lineHeight(const BitmapFont& font) {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float pixels = float(font.ascent + font.descent + 3);
    return pixels / float(viewport[3] > 0 ? viewport[3] : 1);
}

float textWidth(const BitmapFont& font, const char* text) {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return float(font.textWidth(text)) / float(viewport[2] > 0 ? viewport[2] : 1);
}

}  // namespace

void TimelineEditor::drawHelp() {
    const float line = lineHeight(smallFont);
    float keysWidth = 0.0f, width = 0.0f;
    for (const KeyHelp& k : KEY_HELP) keysWidth = std::max(keysWidth, textWidth(smallFont, k.keys));
    for (const KeyHelp& k : KEY_HELP) width = std::max(width, keysWidth + 0.02f + textWidth(smallFont, k.effect));
    const float rows = float(std::size(KEY_HELP) + 1);
    const float left = std::max(0.01f, 0.5f - width / 2.0f), top = 0.9f;
    const float bottom = std::max(0.01f, top - rows * line - 0.01f);
    beginBlend();
    fillRect(left - 0.01f, bottom, left + width + 0.01f, top + 0.01f, {0.0f, 0.0f, 0.0f, 0.8f});
    outlineRect(left - 0.01f, bottom, left + width + 0.01f, top + 0.01f, {0.8f, 0.8f, 0.8f, 0.65f});
    endBlend();
    float y = top - line;
    drawText(smallFont.listBase, left, y, 1.0f, 0.9f, 0.5f, 1.0f, "Editor keys (F1 closes)");
    for (const KeyHelp& k : KEY_HELP) {
        y -= line;
        if (y < bottom) break;
        drawText(smallFont.listBase, left, y, 0.8f, 0.8f, 1.0f, 1.0f, "%s", k.keys);
        drawText(smallFont.listBase, left + keysWidth + 0.02f, y, 1.0f, 1.0f, 1.0f, 1.0f, "%s", k.effect);
    }
}

void TimelineEditor::countFrame() {
    if (!runtime) return;
    fpsTime += runtime->frameDelta;
    ++fpsFrames;
    if (fpsTime >= 0.5f) {
        fps = float(fpsFrames) / fpsTime;
        fpsTime = 0.0f;
        fpsFrames = 0;
    }
}

void TimelineEditor::drawReadout() {
    if (!runtime) return;
    const float line = lineHeight(smallFont);
    float y = 0.86f;
    const float x = 0.62f;
    const auto print = [&](const std::string& text) {
        drawText(smallFont.listBase, x, y, 0.7f, 1.0f, 0.7f, 1.0f, "%s", text.c_str());
        y -= line;
    };
    char text[160];
    std::snprintf(text, sizeof text, "show time %.3f s   %.1f frames/s", double(runtime->startOffset + runtime->playTime),
                  double(fps));
    print(text);
    if (runtime->span.loop) {
        std::snprintf(text, sizeof text, "loop %.3f - %.3f s", double(runtime->span.loopFromMs) / 1000.0,
                      double(runtime->span.loopToMs) / 1000.0);
        print(text);
    }
    for (uint32_t slot = 0; slot < SLOT_COUNT; ++slot) {
        const ScheduleEntry* e = runtime->activeSlots[slot];
        if (!e) continue;
        std::string name = "?";
        for (const LayerRegistration& r : runtime->registry)
            if (r.layer == e->layer) name = r.name;
        std::snprintf(text, sizeof text, "slot %u  %s  %.3f - %.3f s", unsigned(slot), name.c_str(),
                      double(e->startMs) / 1000.0, double(e->endMs) / 1000.0);
        print(text);
        if (y < TIMELINE_TOP + line) break;
    }
}

void TimelineEditor::drawPanels() {
    const float line = lineHeight(smallFont);
    if (entry.active()) {
        const char* what = entry.field() == TypedEntry::Field::Value ? "value" : "time";
        const size_t count = targetKeys().size();
        drawText(largeFont.listBase, 0.3f, TIMELINE_TOP + 0.02f + 2.0f * line, 1.0f, 1.0f, 0.4f, 1.0f, "%s: %s_", what,
                 entry.text().c_str());
        drawText(smallFont.listBase, 0.3f, TIMELINE_TOP + 0.01f + line, 0.8f, 0.8f, 0.8f, 1.0f,
                 "for %zu key(s); Enter sets it, Delete or a click cancels", count);
    }
    if (!notice.empty() && performanceCounter() < noticeUntil)
        drawText(smallFont.listBase, 0.15f, 0.95f - 2.0f * workspaceMenu.rowHeight, 1.0f, 0.85f, 0.3f, 1.0f, "%s",
                 notice.c_str());
    if (readoutShown) drawReadout();
    if (helpShown) drawHelp();
}

}  // namespace zelFramework
