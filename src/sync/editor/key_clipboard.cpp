#include "sync/editor/key_clipboard.h"

#include <algorithm>

namespace zelFramework {

KeyClipboard copyKeys(const Controller& c, const std::vector<uint32_t>& indices) {
    std::vector<uint32_t> sorted;
    for (uint32_t i : indices)
        if (i < c.keys.size() && std::find(sorted.begin(), sorted.end(), i) == sorted.end()) sorted.push_back(i);
    std::sort(sorted.begin(), sorted.end());
    KeyClipboard clip;
    for (size_t n = 0; n < sorted.size(); ++n) {
        const uint32_t i = sorted[n];
        CopiedKey key;
        key.offset = c.keys[i].time - c.keys[sorted[0]].time;
        key.value = c.keys[i].value;
        // The shape that leads into this key from the key before it in the controller.
        if (i > 0 && i - 1 < c.segments.size()) key.into = c.segments[i - 1];
        clip.keys.push_back(key);
    }
    return clip;
}

namespace {

// The index of the key that addKey just placed at `time`: the last one at or before it.
int indexOfAdded(const Controller& c, float time) {
    int index = -1;
    for (size_t i = 0; i < c.keys.size(); ++i)
        if (c.keys[i].time <= time) index = int(i);
    return index;
}

}  // namespace

std::vector<uint32_t> pasteKeys(Controller& c, const KeyClipboard& clip, float at) {
    std::vector<float> pastedTimes;
    for (size_t n = 0; n < clip.keys.size(); ++n) {
        const float time = at + clip.keys[n].offset;
        const size_t before = c.keys.size();
        c.addKey(time, clip.keys[n].value);
        if (c.keys.size() == before) continue;
        pastedTimes.push_back(time);
        // Between two pasted keys the copied shape holds; the first pasted key's incoming segment
        // stays as the controller had it.
        const int index = indexOfAdded(c, time);
        const bool afterPasted = pastedTimes.size() > 1 && index > 0 && c.keys[size_t(index - 1)].time == pastedTimes[pastedTimes.size() - 2];
        if (afterPasted && size_t(index - 1) < c.segments.size()) c.segments[size_t(index - 1)] = clip.keys[n].into;
    }
    std::vector<uint32_t> indices;
    for (float time : pastedTimes)
        if (const int index = indexOfAdded(c, time); index >= 0) indices.push_back(uint32_t(index));
    return indices;
}

}  // namespace zelFramework
