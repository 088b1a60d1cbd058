#include "sync/editor/editor_layout.h"

#include <algorithm>
#include <iterator>

namespace zelFramework {

namespace {

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
    {"F1 or WORKSPACE > help", "this help (again: its next page, or close it)"},
    {"F2", "readout: show time, entries playing, frame rate"},
    {"F5, F6", "hide, show the editor"},
    {"Space in record mode", "drop a key at the music's position"},
};

// The usual places, laid out for a wide picture.
constexpr MenuHeaderPlace USUAL_PLACES[EDITOR_MENU_COUNT] = {
    {"WORKSPACE", 0.025f, 0.95f, 0.1f},
    {"LAYERS", 0.15f, 0.95f, 0.15f},
    {"CONTROLLERS", 0.325f, 0.95f, 0.2f},
    {"CONTROLLERS 2", 0.55f, 0.95f, 0.2f},
};
constexpr float HEADER_GAP = 0.01f;
constexpr int HEADER_PADDING_PIXELS = 8;

float pixelsToWidth(int pixels, int pictureWidth) { return float(pixels) / float(std::max(pictureWidth, 1)); }

// Splits `text` at spaces into lines of at most `room` pixels; a word longer than that keeps a line
// of its own.
std::vector<std::string> wrapWords(const std::string& text, const BitmapFont& font, int room) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.textWidth(longer.c_str()) > room) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        at = end + 1;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

std::span<const KeyHelp> editorKeyHelp() { return KEY_HELP; }

std::array<MenuHeaderPlace, EDITOR_MENU_COUNT> menuHeaderPlaces(const BitmapFont& font, int pictureWidth) {
    std::array<MenuHeaderPlace, EDITOR_MENU_COUNT> places{};
    float right = 0.0f;
    for (size_t i = 0; i < EDITOR_MENU_COUNT; ++i) {
        MenuHeaderPlace place = USUAL_PLACES[i];
        const int titlePixels = font.textWidth(place.title) + HEADER_PADDING_PIXELS;
        place.width = std::max(place.width, pixelsToWidth(titlePixels, pictureWidth));
        if (i > 0) place.x = std::max(place.x, right + HEADER_GAP);
        right = place.x + place.width;
        places[i] = place;
    }
    return places;
}

float keepInsideRight(float preferred, int textPixels, int pictureWidth) {
    const float end = 1.0f - HELP_MARGIN / 2.0f;
    return std::max(0.0f, std::min(preferred, end - pixelsToWidth(textPixels, pictureWidth)));
}

HelpLayout layoutHelp(std::span<const KeyHelp> keys, const BitmapFont& font, int pictureWidth, int pictureHeight,
                      float top) {
    HelpLayout layout;
    const int width = std::max(pictureWidth, 1), height = std::max(pictureHeight, 1);
    layout.line = float(font.ascent + font.descent + 3) / float(height);
    layout.top = top;
    int keysPixels = 0;
    for (const KeyHelp& k : keys) keysPixels = std::max(keysPixels, font.textWidth(k.keys));
    layout.keysWidth = pixelsToWidth(keysPixels, width);

    // The effects get what is left of the picture's width after the margins, keys and gap.
    const float outside = HELP_MARGIN;  // between the panel and the picture's edge
    const int room = std::max(1, int(float(width) * (1.0f - 2.0f * outside - 2.0f * HELP_MARGIN - HELP_COLUMN_GAP)) -
                                     keysPixels);
    std::vector<std::vector<HelpLine>> entries;
    int effectPixels = 0;
    for (const KeyHelp& k : keys) {
        std::vector<HelpLine> lines;
        for (const std::string& part : wrapWords(k.effect, font, room)) {
            lines.push_back({lines.empty() ? k.keys : "", part});
            effectPixels = std::max(effectPixels, font.textWidth(part.c_str()));
        }
        entries.push_back(std::move(lines));
    }

    // Pages: the title line and as many whole entries as the height holds.
    const float bottomLimit = outside;
    const size_t rows = size_t(std::max(2.0f, (top - bottomLimit - 2.0f * HELP_MARGIN) / layout.line));
    const size_t perPage = rows - 1;
    for (const std::vector<HelpLine>& entry : entries) {
        if (layout.pages.empty() || layout.pages.back().lines.size() + entry.size() > perPage)
            layout.pages.emplace_back();
        auto& lines = layout.pages.back().lines;
        lines.insert(lines.end(), entry.begin(), entry.end());
    }
    const size_t count = layout.pages.size();
    int titlePixels = 0;
    for (size_t p = 0; p < count; ++p) {
        HelpPage& page = layout.pages[p];
        const bool last = p + 1 == count;
        page.title = count == 1 ? "Editor keys (F1 closes)"
                                : "Editor keys, page " + std::to_string(p + 1) + " of " + std::to_string(count) +
                                      (last ? " (F1 closes)" : " (F1: next page)");
        titlePixels = std::max(titlePixels, font.textWidth(page.title.c_str()));
        page.bottom = top - float(page.lines.size() + 1) * layout.line - 2.0f * HELP_MARGIN;
    }
    const float textWidth = std::max(pixelsToWidth(titlePixels, width),
                                     layout.keysWidth + HELP_COLUMN_GAP + pixelsToWidth(effectPixels, width));
    const float panelWidth = textWidth + 2.0f * HELP_MARGIN;
    layout.left = std::max(outside, 0.5f - panelWidth / 2.0f);
    layout.right = layout.left + panelWidth;
    return layout;
}

}  // namespace zelFramework
