// Fuzz targets run without a window: the message queue has no window-system events to pull in.
#include "platform/platform.h"

namespace zelFramework {
void pumpEvents() {}
}  // namespace zelFramework
