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
void click(SetupDialogState& s, const DialogRect& r) {
    handleDialogMessage(s, mouse(WM_LBUTTONDOWN, r));
    handleDialogMessage(s, mouse(WM_LBUTTONUP, r));
}

TEST(SetupDialogModes, OnlyConsecutiveDuplicatesOfTheDepthAreDropped) {
    const std::vector<ModeSize> sizes = listModes(sampleModes(), 32);
    const std::vector<ModeSize> expected = {{1920, 1080}, {1280, 720}, {1024, 768}, {1280, 720}};
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(modeText(sizes[0]), "1920 * 1080");
    EXPECT_EQ(initialSelection(sizes, 1280, 720), 3);  // the last equal pair
    EXPECT_EQ(initialSelection(sizes, 640, 480), -1);
    EXPECT_TRUE(listModes(sampleModes(), 8).empty());
}

TEST(SetupDialogModes, TheListStopsAt4096Sizes) {
    std::vector<DisplayMode> many;
    for (int i = 0; i < 5000; ++i) many.push_back({100 + i, 100, 32, 60});
    EXPECT_EQ(listModes(many, 32).size(), MAX_LISTED_MODES);
}

TEST(SetupDialogModes, DefaultsFillTheState) {
    DisplaySettings defaults;
    SetupDialogState state = makeDialogState(sampleModes(), defaults);
    EXPECT_EQ(state.texts.size(), 4u);
    EXPECT_EQ(state.texts[1], "1280 * 720");
    EXPECT_EQ(state.selection, 3);
    EXPECT_TRUE(state.fullScreenChecked);
    defaults.windowed = 1;
    EXPECT_FALSE(makeDialogState(sampleModes(), defaults).fullScreenChecked);
}

TEST(SetupDialog, EnterRunsWithTheSelectionAndEscapeCancels) {
    DisplaySettings settings;
    SetupDialogState state = makeDialogState(sampleModes(), settings);
    handleDialogMessage(state, key(VK_UP));
    handleDialogMessage(state, key(VK_UP));  // 1280 * 720 -> 1024 * 768 -> 1280 * 720 (index 1)
    handleDialogMessage(state, key(VK_UP));  // 1920 * 1080
    handleDialogMessage(state, key(VK_UP));  // stays at the top
    EXPECT_EQ(state.selection, 0);
    handleDialogMessage(state, key(VK_RETURN));
    ASSERT_EQ(state.outcome, DialogOutcome::Run);
    applyDialogChoice(state, settings);
    EXPECT_EQ(settings.width, 1920);
    EXPECT_EQ(settings.height, 1080);
    EXPECT_EQ(settings.windowed, 0);

    SetupDialogState other = makeDialogState(sampleModes(), DisplaySettings{});
    handleDialogMessage(other, key(VK_ESCAPE));
    EXPECT_EQ(other.outcome, DialogOutcome::Cancel);
    SetupDialogState closed = makeDialogState(sampleModes(), DisplaySettings{});
    handleDialogMessage(closed, {WM_CLOSE, 0, 0});
    EXPECT_EQ(closed.outcome, DialogOutcome::Cancel);
}

TEST(SetupDialog, RunWithNothingSelectedKeepsTheSettings) {
    DisplaySettings settings;
    settings.width = 1366;
    settings.height = 768;
    SetupDialogState state = makeDialogState(sampleModes(), settings);
    EXPECT_EQ(state.selection, -1);
    click(state, dialogControlRect(DialogControl::FullScreenBox));
    EXPECT_FALSE(state.fullScreenChecked);
    click(state, dialogControlRect(DialogControl::Run));
    ASSERT_EQ(state.outcome, DialogOutcome::Run);
    applyDialogChoice(state, settings);
    EXPECT_EQ(settings.width, 1366);
    EXPECT_EQ(settings.height, 768);
    EXPECT_EQ(settings.windowed, 1);
}

TEST(SetupDialog, TheDropDownPicksARowWithTheMouse) {
    SetupDialogState state = makeDialogState(sampleModes(), DisplaySettings{});
    click(state, dialogControlRect(DialogControl::ModeList));
    ASSERT_TRUE(state.listOpen);
    const DialogRect list = dialogListRect(state);
    const Message onRow2 = {WM_LBUTTONDOWN, 0, makeMouseLParam(list.x + 10, list.y + 1 + 2 * 19 + 5)};
    EXPECT_EQ(dialogListRowAt(state, list.x + 10, list.y + 1 + 2 * 19 + 5), 2);
    handleDialogMessage(state, onRow2);
    EXPECT_FALSE(state.listOpen);
    EXPECT_EQ(state.selection, 2);
    EXPECT_EQ(state.outcome, DialogOutcome::Open);

    // Escape with the list open closes the list, not the dialog; a click elsewhere closes it too.
    click(state, dialogControlRect(DialogControl::ModeList));
    handleDialogMessage(state, key(VK_ESCAPE));
    EXPECT_FALSE(state.listOpen);
    EXPECT_EQ(state.outcome, DialogOutcome::Open);
}

TEST(SetupDialog, AButtonActsOnlyWhenReleasedOverIt) {
    SetupDialogState state = makeDialogState(sampleModes(), DisplaySettings{});
    handleDialogMessage(state, mouse(WM_LBUTTONDOWN, dialogControlRect(DialogControl::Cancel)));
    handleDialogMessage(state, mouse(WM_LBUTTONUP, dialogControlRect(DialogControl::Run)));
    EXPECT_EQ(state.outcome, DialogOutcome::Open);
    click(state, dialogControlRect(DialogControl::Cancel));
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

TEST(SetupDialog, AnEmptyListIgnoresNavigation) {
    SetupDialogState state = makeDialogState({}, DisplaySettings{});
    handleDialogMessage(state, key(VK_DOWN));
    handleDialogMessage(state, key(VK_END));
    click(state, dialogControlRect(DialogControl::ModeList));
    EXPECT_FALSE(state.listOpen);
    EXPECT_EQ(state.selection, -1);
}

TEST(SetupDialog, TheOpenListScrollsToFollowTheSelection) {
    std::vector<DisplayMode> many;
    for (int i = 0; i < 30; ++i) many.push_back({640 + 10 * i, 480, 32, 60});
    SetupDialogState state = makeDialogState(many, DisplaySettings{});
    click(state, dialogControlRect(DialogControl::ModeList));
    handleDialogMessage(state, key(VK_END));
    EXPECT_EQ(state.selection, 29);
    EXPECT_EQ(state.listTop, 30 - DIALOG_VISIBLE_ROWS);
    handleDialogMessage(state, {WM_MOUSEWHEEL, uintptr_t(uint16_t(120)) << 16, 0});  // one notch up
    EXPECT_EQ(state.listTop, 30 - DIALOG_VISIBLE_ROWS - 1);
    handleDialogMessage(state, key(VK_HOME));
    EXPECT_EQ(state.listTop, 0);
}

}  // namespace
}  // namespace zelFramework
