// Copying keys between places and controllers: the copied keys keep their spacing, values and the
// shape of the segments between them, and are pasted with the first at a chosen time.
#pragma once

#include <cstdint>
#include <vector>

#include "sync/controller.h"

namespace zelFramework {

struct CopiedKey {
    float offset = 0.0f;  // seconds after the first copied key
    float value = 0.0f;
    ControllerSegment into;  // the segment from the previous copied key into this one
};

struct KeyClipboard {
    std::vector<CopiedKey> keys;  // ascending offset
    bool empty() const { return keys.empty(); }
};

// The keys of `c` at `indices` (any order, out-of-range ones skipped), in time order.
KeyClipboard copyKeys(const Controller& c, const std::vector<uint32_t>& indices);

// Adds the copied keys to `c` with the first at `at`; each keeps its value and, between pasted keys,
// the copied segment shape. Returns the indices of the pasted keys (a key at the time of the
// controller's last key is not added, as addKey does).
std::vector<uint32_t> pasteKeys(Controller& c, const KeyClipboard& clip, float at);

}  // namespace zelFramework
