// The editor's keyboard: undo and redo, copy and paste of keys, typed values and times, the loop
// over the zoomed range, and the help and readout panels.
#include <algorithm>
#include <cstdio>

#include "platform/platform.h"
#include "runtime/frame_host.h"
#include "runtime/show_runtime.h"
#include "sync/controller_set.h"
#include "sync/editor/timeline_editor.h"
#include "sync/sync_source.h"

namespace zelFramework {

namespace {
constexpr uint32_t VK_C = 'C', VK_L = 'L', VK_T = 'T', VK_V = 'V', VK_Y = 'Y', VK_Z = 'Z';
constexpr uint64_t NOTICE_SECONDS = 6;
}  // namespace

std::vector<uint32_t> TimelineEditor::targetKeys() const {
    if (!current) return {};
    std::vector<uint32_t> keys;
    for (uint32_t k : selectedKeys)
        if (k < current->keys.size()) keys.push_back(k);
    if (keys.empty() && focusKey >= 0 && size_t(focusKey) < current->keys.size()) keys.push_back(uint32_t(focusKey));
    if (keys.empty() && hoveredKey >= 0 && size_t(hoveredKey) < current->keys.size()) keys.push_back(uint32_t(hoveredKey));
    return keys;
}

void TimelineEditor::showNotice(const std::string& text) {
    notice = text;
    noticeUntil = performanceCounter() + NOTICE_SECONDS * performanceFrequency();
}

float TimelineEditor::cursorTime() const {
    if (mouseY < TIMELINE_TOP && mouseY >= 0.0f && mouseX >= 0.0f && mouseX <= 1.0f) return view.xToTime(mouseX);
    return view.now;
}

void TimelineEditor::undo() {
    if (controllers() && undoSnapshot(*controllers(), history)) afterSetReload();
}

void TimelineEditor::redo() {
    if (controllers() && redoSnapshot(*controllers(), history)) afterSetReload();
}

void TimelineEditor::copySelection() {
    const std::vector<uint32_t> keys = targetKeys();
    if (keys.empty()) {
        showNotice("copy: select keys first (Control + click, or click one)");
        return;
    }
    clipboard = copyKeys(*current, keys);
    showNotice("copied " + std::to_string(clipboard.keys.size()) + " key(s)");
}

void TimelineEditor::paste() {
    if (!current || clipboard.empty()) {
        showNotice(current ? "paste: nothing copied yet (Control + C)" : "paste: no controller to paste into");
        return;
    }
    snapshot();
    const float at = snappedTime(cursorTime());
    selectedKeys = pasteKeys(*current, clipboard, at);
    hoveredKey = -1;
    focusKey = -1;
    selectedSegment = -1;
    char text[96];
    std::snprintf(text, sizeof text, "pasted %zu key(s) at %.3f", selectedKeys.size(), double(at));
    showNotice(text);
    rebuild();
}

void TimelineEditor::toggleLoop() {
    if (!runtime) return;
    PlaybackSpan& span = runtime->span;
    if (span.loop) {
        span.loop = false;
        showNotice("loop off");
        return;
    }
    const float from = view.xToTime(0.0f), to = view.xToTime(1.0f);
    setPlaybackLoop(span, from, to);
    char text[96];
    std::snprintf(text, sizeof text, "looping %.3f to %.3f (L again: off)", double(from), double(to));
    showNotice(text);
}

// Value and time entries start with V and T; while one is open the keys below edit it.
void TimelineEditor::onEntryKey(uintptr_t key) {
    if (key == VK_RETURN) {
        applyEntry();
    } else if (key == VK_BACK) {
        entry.erase();
    } else if (key == VK_DELETE) {
        entry.cancel();
    }
}

void TimelineEditor::onChar(uintptr_t c) {
    if (entry.active() && c < 0x80) entry.type(char(c));
}

void TimelineEditor::applyEntry() {
    const std::optional<float> number = entry.number();
    const TypedEntry::Field field = entry.field();
    const std::string text = entry.text();
    entry.cancel();
    const std::vector<uint32_t> keys = targetKeys();
    if (!number) {
        showNotice("'" + text + "' is not a number; nothing changed");
        return;
    }
    if (keys.empty()) {
        showNotice("no key to set: select keys first");
        return;
    }
    if (field == TypedEntry::Field::Value) {
        snapshot();
        for (uint32_t k : keys) current->keys[k].value = *number;
    } else {
        if (keys.size() != 1) {
            showNotice("a typed time moves one key; " + std::to_string(keys.size()) + " are selected");
            return;
        }
        snapshot();
        current->moveKey(int(keys[0]), *number);
        if (current->keys[keys[0]].time != *number) {
            char why[128];
            std::snprintf(why, sizeof why, "the key stays at %.3f: a key's time lies strictly between its neighbours'",
                          double(current->keys[keys[0]].time));
            showNotice(why);
        }
    }
    rebuild();
}

// The editing keys; true when the key was one of them.
bool TimelineEditor::onEditingKey(uintptr_t key) {
    const bool control = held(VK_CONTROL), shift = held(VK_SHIFT);
    if (control && key == VK_C) {
        copySelection();
    } else if (control && key == VK_V) {
        paste();
    } else if (!control && key == VK_V && current) {
        entry.begin(TypedEntry::Field::Value);
    } else if (!control && key == VK_T && current) {
        entry.begin(TypedEntry::Field::Time);
    } else if (!control && key == VK_L) {
        toggleLoop();
    } else if (key == VK_F1) {
        stepHelp();
    } else if (key == VK_F2) {
        readoutShown = !readoutShown;
    } else {
        return false;
    }
    (void)shift;
    return true;
}

void TimelineEditor::onKeyDown(uintptr_t key) {
    if (key < keyDown.size()) keyDown[key] = true;
    if (entry.active()) {
        onEntryKey(key);
        return;
    }
    // Auto-repeat keeps undoing (or redoing) while the keys stay down.
    const bool control = held(VK_CONTROL), shift = held(VK_SHIFT);
    if (control && (held(VK_Y) || (shift && held(VK_Z)))) {
        redo();
        return;
    }
    if (control && held(VK_Z)) {
        undo();
        return;
    }
    onEditingKey(key);
}

void TimelineEditor::saveCurves() {
    const ControllerSet* set = controllers();
    if (!set) return;
    showNotice(saveShowCurves(*set).message);
}

}  // namespace zelFramework
