// The end of a played show: every layer released and deleted, the shared tools and the texture
// manager let go.
#pragma once

#include "runtime/frame_host.h"

namespace zelFramework {

void releaseShow(ShowRuntime& rt, FrameHost& host);

}  // namespace zelFramework
