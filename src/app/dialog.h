// The setup dialog: a small window of its own, drawn with OpenGL and the bitmap font, where the
// viewer picks the display resolution and full screen before the show opens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/native_window.h"
#include "platform/platform.h"

namespace zelFramework {

// What the dialog fills in; the entry function holds it. The template's three unused flags are gone.
struct DisplaySettings {
    int32_t width = 1280;
    int32_t height = 720;
    int32_t bitsPerPixel = 32;  // only modes of this depth are listed
    int32_t windowed = 0;       // 0 = full screen; the check box shows the opposite
};

struct ModeSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ModeSize&) const = default;
};

constexpr size_t MAX_LISTED_MODES = 4096;

// The listed sizes, in the display's order: modes of the given depth, a pair equal to the one listed
// just before it dropped (several refresh rates of one size come one after another), at most 4096.
std::vector<ModeSize> listModes(const std::vector<DisplayMode>& modes, int bitsPerPixel);
// "1280 * 720"
std::string modeText(const ModeSize& size);
// The last listed size equal to the wanted one, or -1 (nothing selected).
int initialSelection(const std::vector<ModeSize>& sizes, int width, int height);

enum class DialogControl { None, ModeList, FullScreenBox, Run, Cancel };
enum class DialogOutcome { Open, Run, Cancel };

// Rows of the open drop-down list that fit below the field inside the dialog window.
constexpr int DIALOG_VISIBLE_ROWS = 5;

// Everything the dialog shows and answers with; handled without GL so it can be tested.
struct SetupDialogState {
    std::vector<ModeSize> sizes;
    std::vector<std::string> texts;
    int selection = -1;          // index into sizes, or -1
    bool fullScreenChecked = true;
    bool listOpen = false;       // the drop-down list is showing
    int listTop = 0;             // first row shown in the open list
    int hoverRow = -1;           // row under the mouse in the open list
    DialogControl focus = DialogControl::ModeList;
    DialogControl pressed = DialogControl::None;  // button held down by the mouse
    DialogOutcome outcome = DialogOutcome::Open;
};

// Fills the state from the display's modes and the settings' defaults.
SetupDialogState makeDialogState(const std::vector<DisplayMode>& modes, const DisplaySettings& defaults);
// One window message (keys, mouse, close) applied to the state.
void handleDialogMessage(SetupDialogState& state, const Message& msg);
// "Run": the selected size (kept when nothing is selected) and full screen into the settings.
void applyDialogChoice(const SetupDialogState& state, DisplaySettings& settings);

// Layout in window pixels, y downward, shared by drawing and mouse hit tests.
struct DialogRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};
constexpr int DIALOG_WIDTH = 374;
constexpr int DIALOG_HEIGHT = 168;
DialogRect dialogControlRect(DialogControl control);
// The open list's row at a point, or -1.
int dialogListRowAt(const SetupDialogState& state, int x, int y);
DialogRect dialogListRect(const SetupDialogState& state);

// Shows the dialog and waits for the viewer: 1 for "Run", 0 for "Cancel" or the close button, -1 when
// no window could be opened (the settings then keep their defaults).
int runSetupDialog(DisplaySettings& settings);

}  // namespace zelFramework
