// The setup dialog: its mode list, its answers to keys and mouse, its drawing and its own window.
#include "app/dialog.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>

#include "app/trace.h"
#include "gl/bitmap_font.h"
#include "gl/gltk.h"

namespace zelFramework {

// ---- the mode list ----

std::vector<ModeSize> listModes(const std::vector<DisplayMode>& modes, int bitsPerPixel) {
    std::vector<ModeSize> sizes;
    for (const DisplayMode& mode : modes) {
        if (sizes.size() >= MAX_LISTED_MODES) break;
        if (mode.bitsPerPixel != bitsPerPixel) continue;
        const ModeSize size{mode.width, mode.height};
        if (!sizes.empty() && sizes.back() == size) continue;
        sizes.push_back(size);
    }
    return sizes;
}

std::string modeText(const ModeSize& size) {
    char text[48];
    std::snprintf(text, sizeof text, "%d * %d", size.width, size.height);
    return text;
}

int initialSelection(const std::vector<ModeSize>& sizes, int width, int height) {
    for (int i = int(sizes.size()) - 1; i >= 0; --i)
        if (sizes[size_t(i)] == ModeSize{width, height}) return i;
    return -1;
}

SetupDialogState makeDialogState(const std::vector<DisplayMode>& modes, const DisplaySettings& defaults) {
    SetupDialogState state;
    state.sizes = listModes(modes, defaults.bitsPerPixel);
    for (const ModeSize& size : state.sizes) state.texts.push_back(modeText(size));
    state.selection = initialSelection(state.sizes, defaults.width, defaults.height);
    state.fullScreenChecked = defaults.windowed == 0;
    return state;
}

void applyDialogChoice(const SetupDialogState& state, DisplaySettings& settings) {
    if (state.selection >= 0 && size_t(state.selection) < state.sizes.size()) {
        settings.width = state.sizes[size_t(state.selection)].width;
        settings.height = state.sizes[size_t(state.selection)].height;
    }
    settings.windowed = state.fullScreenChecked ? 0 : 1;
}

// ---- layout ----

namespace {

constexpr int ROW_HEIGHT = 19;
const DialogRect RUN_RECT{262, 94, 100, 28};
const DialogRect CANCEL_RECT{262, 126, 100, 28};
const DialogRect LIST_RECT{190, 40, 150, 24};
const DialogRect BOX_RECT{190, 73, 18, 18};
const DialogRect RESOLUTION_LABEL{20, 44, 150, 20};
const DialogRect FULLSCREEN_LABEL{20, 72, 150, 20};

int visibleRows(const SetupDialogState& state) { return std::min<int>(DIALOG_VISIBLE_ROWS, int(state.sizes.size())); }

void scrollToSelection(SetupDialogState& state) {
    const int rows = visibleRows(state);
    if (state.selection < 0 || rows == 0) return;
    if (state.selection < state.listTop) state.listTop = state.selection;
    if (state.selection >= state.listTop + rows) state.listTop = state.selection - rows + 1;
}

void moveSelection(SetupDialogState& state, int by) {
    if (state.sizes.empty()) return;
    const int count = int(state.sizes.size());
    // With nothing selected, a step down starts at the top and a step up at the bottom.
    const int from = state.selection >= 0 ? state.selection : (by < 0 ? count : -1);
    state.selection = std::clamp(from + by, 0, count - 1);
    scrollToSelection(state);
}

void scrollList(SetupDialogState& state, int rows) {
    const int maxTop = std::max(0, int(state.sizes.size()) - visibleRows(state));
    state.listTop = std::clamp(state.listTop + rows, 0, maxTop);
}

void cycleFocus(SetupDialogState& state, bool backwards) {
    static const DialogControl order[] = {DialogControl::ModeList, DialogControl::FullScreenBox, DialogControl::Run,
                                          DialogControl::Cancel};
    int i = 0;
    while (i < 4 && order[i] != state.focus) ++i;
    state.focus = order[(i + (backwards ? 3 : 1)) % 4];
}

void openList(SetupDialogState& state, bool open) {
    state.listOpen = open && !state.sizes.empty();
    state.hoverRow = -1;
    if (state.listOpen) scrollToSelection(state);
}

void activate(SetupDialogState& state, DialogControl control) {
    switch (control) {
        case DialogControl::ModeList: openList(state, !state.listOpen); break;
        case DialogControl::FullScreenBox: state.fullScreenChecked = !state.fullScreenChecked; break;
        case DialogControl::Run: state.outcome = DialogOutcome::Run; break;
        case DialogControl::Cancel: state.outcome = DialogOutcome::Cancel; break;
        case DialogControl::None: break;
    }
}

void handleKey(SetupDialogState& state, uint32_t key) {
    switch (key) {
        case VK_ESCAPE:
            if (state.listOpen)
                openList(state, false);
            else
                state.outcome = DialogOutcome::Cancel;
            break;
        case VK_RETURN:
            if (state.listOpen)
                openList(state, false);
            else
                state.outcome = state.focus == DialogControl::Cancel ? DialogOutcome::Cancel : DialogOutcome::Run;
            break;
        case VK_UP: case VK_LEFT: moveSelection(state, -1); break;
        case VK_DOWN: case VK_RIGHT: moveSelection(state, 1); break;
        case VK_PRIOR: moveSelection(state, -DIALOG_VISIBLE_ROWS); break;
        case VK_NEXT: moveSelection(state, DIALOG_VISIBLE_ROWS); break;
        case VK_HOME: moveSelection(state, -int(state.sizes.size())); break;
        case VK_END: moveSelection(state, int(state.sizes.size())); break;
        case VK_TAB: cycleFocus(state, isKeyDown(VK_SHIFT)); break;
        case VK_SPACE: activate(state, state.focus); break;
        default: break;
    }
}

DialogControl controlAt(int x, int y) {
    for (DialogControl c : {DialogControl::ModeList, DialogControl::FullScreenBox, DialogControl::Run, DialogControl::Cancel})
        if (dialogControlRect(c).contains(x, y)) return c;
    // The label belongs to its check box, as a click on it toggles the box.
    if (FULLSCREEN_LABEL.contains(x, y)) return DialogControl::FullScreenBox;
    return DialogControl::None;
}

void handleButtonDown(SetupDialogState& state, int x, int y) {
    if (state.listOpen) {
        const int row = dialogListRowAt(state, x, y);
        if (row >= 0) state.selection = row;
        if (row >= 0 || !LIST_RECT.contains(x, y)) {
            openList(state, false);
            return;
        }
    }
    const DialogControl control = controlAt(x, y);
    if (control == DialogControl::None) return;
    state.focus = control;
    if (control == DialogControl::Run || control == DialogControl::Cancel)
        state.pressed = control;  // a button acts when released over it
    else
        activate(state, control);
}

void handleButtonUp(SetupDialogState& state, int x, int y) {
    const DialogControl pressed = state.pressed;
    state.pressed = DialogControl::None;
    if (pressed != DialogControl::None && dialogControlRect(pressed).contains(x, y)) activate(state, pressed);
}

void handleWheel(SetupDialogState& state, uintptr_t wParam) {
    const int delta = int(int16_t(uint16_t(wParam >> 16)));
    const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    if (delta == 0) return;
    if (state.listOpen)
        scrollList(state, -notches);
    else
        moveSelection(state, -notches);
}

}  // namespace

DialogRect dialogControlRect(DialogControl control) {
    switch (control) {
        case DialogControl::ModeList: return LIST_RECT;
        case DialogControl::FullScreenBox: return BOX_RECT;
        case DialogControl::Run: return RUN_RECT;
        case DialogControl::Cancel: return CANCEL_RECT;
        case DialogControl::None: break;
    }
    return {};
}

DialogRect dialogListRect(const SetupDialogState& state) {
    return {LIST_RECT.x, LIST_RECT.y + LIST_RECT.h, LIST_RECT.w, visibleRows(state) * ROW_HEIGHT + 2};
}

int dialogListRowAt(const SetupDialogState& state, int x, int y) {
    if (!state.listOpen) return -1;
    const DialogRect list = dialogListRect(state);
    if (!list.contains(x, y)) return -1;
    const int row = state.listTop + (y - list.y - 1) / ROW_HEIGHT;
    return row >= 0 && row < int(state.sizes.size()) ? row : -1;
}

void handleDialogMessage(SetupDialogState& state, const Message& msg) {
    switch (msg.message) {
        case WM_CLOSE:
        case WM_QUIT: state.outcome = DialogOutcome::Cancel; break;
        case WM_KEYDOWN: handleKey(state, uint32_t(msg.wParam)); break;
        case WM_LBUTTONDOWN: handleButtonDown(state, mouseX(msg.lParam), mouseY(msg.lParam)); break;
        case WM_LBUTTONUP: handleButtonUp(state, mouseX(msg.lParam), mouseY(msg.lParam)); break;
        case WM_MOUSEMOVE: state.hoverRow = dialogListRowAt(state, mouseX(msg.lParam), mouseY(msg.lParam)); break;
        case WM_MOUSEWHEEL: handleWheel(state, msg.wParam); break;
        default: break;
    }
}

// ---- drawing ----

namespace {

struct Colour {
    float r, g, b;
};
constexpr Colour FACE{0.94f, 0.94f, 0.94f};
constexpr Colour BUTTON{0.88f, 0.88f, 0.88f};
constexpr Colour BUTTON_DOWN{0.80f, 0.85f, 0.92f};
constexpr Colour BORDER{0.60f, 0.60f, 0.60f};
constexpr Colour FOCUS{0.0f, 0.47f, 0.84f};
constexpr Colour WHITE{1.0f, 1.0f, 1.0f};
constexpr Colour TEXT{0.0f, 0.0f, 0.0f};

void fill(const DialogRect& r, Colour c) {
    glColor3f(c.r, c.g, c.b);
    glRecti(r.x, r.y, r.x + r.w, r.y + r.h);
}

void frame(const DialogRect& r, Colour c, int thickness = 1) {
    for (int t = 0; t < thickness; ++t) {
        glColor3f(c.r, c.g, c.b);
        glBegin(GL_LINE_LOOP);
        glVertex2f(float(r.x + t) + 0.5f, float(r.y + t) + 0.5f);
        glVertex2f(float(r.x + r.w - t) - 0.5f, float(r.y + t) + 0.5f);
        glVertex2f(float(r.x + r.w - t) - 0.5f, float(r.y + r.h - t) - 0.5f);
        glVertex2f(float(r.x + t) + 0.5f, float(r.y + r.h - t) - 0.5f);
        glEnd();
    }
}

// Text whose line box is vertically centred in the rectangle; align -1 left, 0 centre, 1 right.
void text(const BitmapFont& font, const DialogRect& r, const std::string& s, Colour c, int align) {
    if (!font.valid() || s.empty()) return;
    const int width = font.textWidth(s.c_str());
    int x = r.x + 4;
    if (align == 0) x = r.x + (r.w - width) / 2;
    if (align > 0) x = r.x + r.w - width - 4;
    const int baseline = r.y + (r.h + font.ascent - font.descent) / 2;
    drawText(font.listBase, float(x), float(baseline), c.r, c.g, c.b, 1.0f, "%s", s.c_str());
}

void drawButton(const BitmapFont& font, const SetupDialogState& state, DialogControl control, const char* label) {
    const DialogRect r = dialogControlRect(control);
    fill(r, state.pressed == control ? BUTTON_DOWN : BUTTON);
    // "Run" is the default button: Enter presses it, and its border says so.
    const bool marked = state.focus == control || (control == DialogControl::Run && state.focus != DialogControl::Cancel);
    frame(r, marked ? FOCUS : BORDER, marked ? 2 : 1);
    text(font, r, label, TEXT, 0);
}

void drawModeField(const BitmapFont& font, const SetupDialogState& state) {
    const DialogRect r = LIST_RECT;
    fill(r, WHITE);
    frame(r, state.focus == DialogControl::ModeList ? FOCUS : BORDER);
    if (state.selection >= 0) text(font, {r.x, r.y, r.w - 20, r.h}, state.texts[size_t(state.selection)], TEXT, -1);
    // The drop-down arrow.
    glColor3f(0.3f, 0.3f, 0.3f);
    const float cx = float(r.x + r.w - 11), cy = float(r.y + r.h / 2);
    glBegin(GL_TRIANGLES);
    glVertex2f(cx - 5.0f, cy - 2.5f);
    glVertex2f(cx + 5.0f, cy - 2.5f);
    glVertex2f(cx, cy + 3.5f);
    glEnd();
}

void drawCheckBox(const SetupDialogState& state) {
    const DialogRect r = BOX_RECT;
    fill(r, WHITE);
    frame(r, state.focus == DialogControl::FullScreenBox ? FOCUS : BORDER);
    if (!state.fullScreenChecked) return;
    glColor3f(TEXT.r, TEXT.g, TEXT.b);
    glLineWidth(2.0f);
    glBegin(GL_LINE_STRIP);
    glVertex2f(float(r.x + 4), float(r.y + 9));
    glVertex2f(float(r.x + 8), float(r.y + 13));
    glVertex2f(float(r.x + 14), float(r.y + 5));
    glEnd();
    glLineWidth(1.0f);
}

void drawOpenList(const BitmapFont& font, const SetupDialogState& state) {
    const DialogRect list = dialogListRect(state);
    fill(list, WHITE);
    frame(list, BORDER);
    const int rows = visibleRows(state);
    for (int i = 0; i < rows; ++i) {
        const int row = state.listTop + i;
        const DialogRect r{list.x + 1, list.y + 1 + i * ROW_HEIGHT, list.w - 2, ROW_HEIGHT};
        const bool lit = state.hoverRow >= 0 ? row == state.hoverRow : row == state.selection;
        if (lit) fill(r, FOCUS);
        text(font, r, state.texts[size_t(row)], lit ? WHITE : TEXT, -1);
    }
    // A thin scroll thumb when the list is longer than its window.
    const int count = int(state.sizes.size());
    if (count > rows) {
        const int trackH = list.h - 2;
        const int thumbH = std::max(6, trackH * rows / count);
        const int thumbY = list.y + 1 + (trackH - thumbH) * state.listTop / std::max(1, count - rows);
        fill({list.x + list.w - 5, thumbY, 4, thumbH}, BORDER);
    }
}

void drawDialog(const BitmapFont& font, const SetupDialogState& state) {
    glViewport(0, 0, DIALOG_WIDTH, DIALOG_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, DIALOG_WIDTH, DIALOG_HEIGHT, 0.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glClearColor(FACE.r, FACE.g, FACE.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    text(font, RESOLUTION_LABEL, "Resolution:", TEXT, 1);
    text(font, FULLSCREEN_LABEL, "Fullscreen:", TEXT, 1);
    drawModeField(font, state);
    drawCheckBox(state);
    drawButton(font, state, DialogControl::Run, "Run");
    drawButton(font, state, DialogControl::Cancel, "Cancel");
    if (state.listOpen) drawOpenList(font, state);
}

// The key that closed the dialog is still down in the key table, and its release goes to a window
// that no longer exists; the show must not start with Enter held.
void forgetDialogInput() {
    for (uint32_t key = 0; key < 256; ++key) setKeyDown(key, false);
    clearMessageQueue();
}

}  // namespace

int runSetupDialog(DisplaySettings& settings) {
    SetupDialogState state = makeDialogState(displayModes(), settings);
    WindowRequest request;
    request.title = "tessaly!2";
    request.width = DIALOG_WIDTH;
    request.height = DIALOG_HEIGHT;
    int desktopW = 0, desktopH = 0;
    if (desktopSize(desktopW, desktopH)) {
        request.x = desktopW / 2 - DIALOG_WIDTH / 2;
        request.y = desktopH / 2 - DIALOG_HEIGHT / 2;
    }
    WindowHandle window = openWindow(request);
    if (!window) {
        trace(TRACE_WARNING, "dialog", "the setup dialog cannot be shown: %s", lastWindowError().c_str());
        return -1;
    }
    BitmapFont font;
    createBitmapFont(font, 13);

    while (state.outcome == DialogOutcome::Open) {
        Message msg;
        while (state.outcome == DialogOutcome::Open && peekMessage(msg)) handleDialogMessage(state, msg);
        if (state.outcome != DialogOutcome::Open) break;
        drawDialog(font, state);
        swapBuffers(window);
        sleepMs(15);
    }

    releaseBitmapFont(font);
    closeWindow(window);
    forgetDialogInput();
    if (state.outcome != DialogOutcome::Run) return 0;
    applyDialogChoice(state, settings);
    return 1;
}

}  // namespace zelFramework
