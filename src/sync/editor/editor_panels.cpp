// The editor's text panels: the keys (help), the readout of show time, entries playing and frame
// rate, the number being typed, and the notice after a save or a refused edit. Every line is placed
// in whole font lines from a corner, so lines never overlap at any window size.
#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "gl/gltk.h"
#include "platform/platform.h"
#include "runtime/show_runtime.h"
#include "sync/editor/editor_gl.h"
#include "sync/editor/timeline_editor.h"

namespace zelFramework {

namespace {

// A line's height in the normalised space, from the font's pixels and the viewport's height.
float lineHeight(const BitmapFont& font) {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float pixels = float(font.ascent + font.descent + 3);
    return pixels / float(viewport[3] > 0 ? viewport[3] : 1);
}

int viewportPixels(int index) {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::max(viewport[index], 1);
}

}  // namespace

HelpLayout TimelineEditor::helpLayout() const {
    // Under the menu headers, whose boxes reach half a row below their text.
    const float top = workspaceMenu.y - workspaceMenu.rowHeight / 2.0f - HELP_MARGIN;
    return layoutHelp(editorKeyHelp(), smallFont, viewportPixels(2), viewportPixels(3), top);
}

void TimelineEditor::stepHelp() {
    if (!helpShown) {
        helpShown = true;
        helpPage = 0;
    } else if (helpPage + 1 < helpPages) {
        ++helpPage;
    } else {
        helpShown = false;
    }
}

void TimelineEditor::drawHelp() {
    const HelpLayout layout = helpLayout();
    helpPages = layout.pages.size();
    if (helpPages == 0) return;
    helpPage = std::min(helpPage, helpPages - 1);
    const HelpPage& page = layout.pages[helpPage];
    beginBlend();
    fillRect(layout.left, page.bottom, layout.right, layout.top, {0.0f, 0.0f, 0.0f, 0.8f});
    outlineRect(layout.left, page.bottom, layout.right, layout.top, {0.8f, 0.8f, 0.8f, 0.65f});
    endBlend();
    const float left = layout.left + HELP_MARGIN;
    float y = layout.top - HELP_MARGIN - layout.line;
    drawText(smallFont.listBase, left, y, 1.0f, 0.9f, 0.5f, 1.0f, "%s", page.title.c_str());
    for (const HelpLine& line : page.lines) {
        y -= layout.line;
        if (!line.keys.empty()) drawText(smallFont.listBase, left, y, 0.8f, 0.8f, 1.0f, 1.0f, "%s", line.keys.c_str());
        drawText(smallFont.listBase, left + layout.keysWidth + HELP_COLUMN_GAP, y, 1.0f, 1.0f, 1.0f, 1.0f, "%s",
                 line.effect.c_str());
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
    std::vector<std::string> lines;
    char text[160];
    std::snprintf(text, sizeof text, "show time %.3f s   %.1f frames/s", runtime->startOffset + runtime->playTime,
                  double(fps));
    lines.push_back(text);
    if (runtime->span.loop) {
        std::snprintf(text, sizeof text, "loop %.3f - %.3f s", double(runtime->span.loopFromMs) / 1000.0,
                      double(runtime->span.loopToMs) / 1000.0);
        lines.push_back(text);
    }
    // As many entries as fit above the time axis.
    const size_t room = size_t(std::max(0.0f, (0.86f - TIMELINE_TOP) / line));
    for (uint32_t slot = 0; slot < SLOT_COUNT && lines.size() < room; ++slot) {
        const ScheduleEntry* e = runtime->activeSlots[slot];
        if (!e) continue;
        std::string name = "?";
        for (const LayerRegistration& r : runtime->registry)
            if (r.layer == e->layer) name = r.name;
        std::snprintf(text, sizeof text, "slot %u  %s  %.3f - %.3f s", unsigned(slot), name.c_str(),
                      double(e->startMs) / 1000.0, double(e->endMs) / 1000.0);
        lines.push_back(text);
    }
    int widest = 0;
    for (const std::string& l : lines) widest = std::max(widest, smallFont.textWidth(l.c_str()));
    const float x = keepInsideRight(0.62f, widest, viewportPixels(2));
    float y = 0.86f;
    for (const std::string& l : lines) {
        drawText(smallFont.listBase, x, y, 0.7f, 1.0f, 0.7f, 1.0f, "%s", l.c_str());
        y -= line;
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
    // An open menu is what the author is looking at: the help steps aside until it closes.
    const auto menuList = menus();
    const bool menuOpen = std::any_of(menuList.begin(), menuList.end(), [](const MenuList* m) { return m->open; });
    if (helpShown && !menuOpen) drawHelp();
}

}  // namespace zelFramework
