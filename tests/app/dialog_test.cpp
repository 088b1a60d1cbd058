// The setup dialog's mode list and its answers to keys and mouse, without a window.
#include <gtest/gtest.h>

#include "app/dialog.h"

namespace zelFramework {
namespace {

std::vector<DisplayMode> sampleModes() {
    return {{1920, 1080, 32, 60}, {1920, 1080, 32, 50}, {1920, 1080, 16, 60}, {1280, 720, 32, 60},
            {1280, 720, 32, 50},  {1024, 768, 32, 60},  {1280, 720, 32, 75}, {800, 600, 24, 60}};
}

Message key(uint32_t vk) { return {WM_KEYDOWN, vk, 1}; }
Message mouse(uint32_t message, const DialogRect& r) { return {message, 0, makeMouseLParam(r.x + r.w / 2, r.y + r.h / 2)}; }
void click(SetupDialogState& s, DialogControl control) {
    handleDialogMessage(s, mouse(WM_LBUTTONDOWN, dialogControlRect(control)));
    handleDialogMessage(s, mouse(WM_LBUTTONUP, dialogControlRect(control)));
}

TEST(SetupDialogModes, OnlyConsecutiveDuplicatesOfTheDepthAreDroppedAndTheDefaultsFillTheState) {
    const std::vector<ModeSize> sizes = listModes(sampleModes(), 32);
    EXPECT_EQ(sizes, (std::vector<ModeSize>{{1920, 1080}, {1280, 720}, {1024, 768}, {1280, 720}}));
    EXPECT_EQ(initialSelection(sizes, 640, 480), -1);
    EXPECT_TRUE(listModes(sampleModes(), 8).empty());

    DisplaySettings defaults;  // 1280 x 720, full screen
    SetupDialogState state = makeDialogState(sampleModes(), defaults);
    EXPECT_EQ(state.texts, (std::vector<std::string>{"1920 * 1080", "1280 * 720", "1024 * 768", "1280 * 720"}));
    EXPECT_EQ(state.selection, 3);  // the last equal pair
    EXPECT_TRUE(state.fullScreenChecked);
    defaults.windowed = 1;
    EXPECT_FALSE(makeDialogState(sampleModes(), defaults).fullScreenChecked);

    std::vector<DisplayMode> many;
    for (int i = 0; i < 5000; ++i) many.push_back({100 + i, 100, 32, 60});
    EXPECT_EQ(listModes(many, 32).size(), MAX_LISTED_MODES);
}

TEST(SetupDialog, EnterRunsWithTheSelectionEscapeAndCloseCancel) {
    DisplaySettings settings;
    SetupDialogState state = makeDialogState(sampleModes(), settings);
    // 1280 * 720 (index 3) -> 1024 * 768 -> 1280 * 720 -> 1920 * 1080, then it stays at the top.
    for (int i = 0; i < 4; ++i) handleDialogMessage(state, key(VK_UP));
    EXPECT_EQ(state.selection, 0);
    handleDialogMessage(state, key(VK_RETURN));
    ASSERT_EQ(state.outcome, DialogOutcome::Run);
    applyDialogChoice(state, settings);
    EXPECT_EQ(settings.width, 1920);
    EXPECT_EQ(settings.height, 1080);
    EXPECT_EQ(settings.windowed, 0);

    for (const Message& m : {key(VK_ESCAPE), Message{WM_CLOSE, 0, 0}}) {
        SetupDialogState other = makeDialogState(sampleModes(), DisplaySettings{});
        handleDialogMessage(other, m);
        EXPECT_EQ(other.outcome, DialogOutcome::Cancel) << m.message;
    }
}

TEST(SetupDialog, RunWithNothingSelectedKeepsTheSizeAndTakesTheCheckBox) {
    DisplaySettings settings;
    settings.width = 1366;
    settings.height = 768;
    SetupDialogState state = makeDialogState(sampleModes(), settings);
    EXPECT_EQ(state.selection, -1);
    click(state, DialogControl::FullScreenBox);
    EXPECT_FALSE(state.fullScreenChecked);
    click(state, DialogControl::Run);
    ASSERT_EQ(state.outcome, DialogOutcome::Run);
    applyDialogChoice(state, settings);
    EXPECT_EQ(settings.width, 1366);
    EXPECT_EQ(settings.height, 768);
    EXPECT_EQ(settings.windowed, 1);
}

TEST(SetupDialog, MouseButtonsActOnReleaseAndTheDropDownPicksARow) {
    SetupDialogState state = makeDialogState(sampleModes(), DisplaySettings{});
    // Pressed over Cancel, released over Run: neither acts.
    handleDialogMessage(state, mouse(WM_LBUTTONDOWN, dialogControlRect(DialogControl::Cancel)));
    handleDialogMessage(state, mouse(WM_LBUTTONUP, dialogControlRect(DialogControl::Run)));
    EXPECT_EQ(state.outcome, DialogOutcome::Open);

    click(state, DialogControl::ModeList);
    ASSERT_TRUE(state.listOpen);
    const DialogRect list = dialogListRect(state);
    const int rowX = list.x + 10, rowY = list.y + 1 + 2 * 19 + 5;
    EXPECT_EQ(dialogListRowAt(state, rowX, rowY), 2);
    handleDialogMessage(state, {WM_LBUTTONDOWN, 0, makeMouseLParam(rowX, rowY)});
    EXPECT_FALSE(state.listOpen);
    EXPECT_EQ(state.selection, 2);
    EXPECT_EQ(state.outcome, DialogOutcome::Open);

    // Escape with the list open closes the list, not the dialog.
    click(state, DialogControl::ModeList);
    handleDialogMessage(state, key(VK_ESCAPE));
    EXPECT_FALSE(state.listOpen);
    EXPECT_EQ(state.outcome, DialogOutcome::Open);
    click(state, DialogControl::Cancel);
    EXPECT_EQ(state.outcome, DialogOutcome::Cancel);
}

TEST(SetupDialog, TabAndSpaceReachEveryControl) {
    SetupDialogState state = makeDialogState(sampleModes(), DisplaySettings{});
    handleDialogMessage(state, key(VK_TAB));
    EXPECT_EQ(state.focus, DialogControl::FullScreenBox);
    handleDialogMessage(state, key(VK_SPACE));
    EXPECT_FALSE(state.fullScreenChecked);
    handleDialogMessage(state, key(VK_TAB));
    handleDialogMessage(state, key(VK_TAB));
    EXPECT_EQ(state.focus, DialogControl::Cancel);
    handleDialogMessage(state, key(VK_RETURN));  // Enter on the focused Cancel button
    EXPECT_EQ(state.outcome, DialogOutcome::Cancel);
}

TEST(SetupDialog, TheListScrollsToFollowTheSelectionAndAnEmptyOneIgnoresNavigation) {
    std::vector<DisplayMode> many;
    for (int i = 0; i < 30; ++i) many.push_back({640 + 10 * i, 480, 32, 60});
    SetupDialogState state = makeDialogState(many, DisplaySettings{});
    click(state, DialogControl::ModeList);
    handleDialogMessage(state, key(VK_END));
    EXPECT_EQ(state.selection, 29);
    EXPECT_EQ(state.listTop, 30 - DIALOG_VISIBLE_ROWS);
    handleDialogMessage(state, {WM_MOUSEWHEEL, uintptr_t(uint16_t(120)) << 16, 0});  // one notch up
    EXPECT_EQ(state.listTop, 30 - DIALOG_VISIBLE_ROWS - 1);
    handleDialogMessage(state, key(VK_HOME));
    EXPECT_EQ(state.listTop, 0);

    SetupDialogState empty = makeDialogState({}, DisplaySettings{});
    handleDialogMessage(empty, key(VK_DOWN));
    handleDialogMessage(empty, key(VK_END));
    click(empty, DialogControl::ModeList);
    EXPECT_FALSE(empty.listOpen);
    EXPECT_EQ(empty.selection, -1);
}

}  // namespace
}  // namespace zelFramework
