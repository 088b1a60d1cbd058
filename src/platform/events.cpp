// Turns window-system events into queued messages and keeps the key-state table current.
#include <array>

#include "platform/platform.h"

namespace zelFramework {

namespace {
std::array<bool, 256>& keyTable() {
    static std::array<bool, 256> keys{};
    return keys;
}
}  // namespace

bool isKeyDown(uint32_t vk) { return vk < 256 && keyTable()[vk]; }
void setKeyDown(uint32_t vk, bool down) {
    if (vk < 256) keyTable()[vk] = down;
}

void pumpEvents() {
    // The SDL event translation arrives with the window.
}

}  // namespace zelFramework
