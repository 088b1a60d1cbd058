#include "assets/obj_frame_blend.h"

namespace zelFramework {

ObjFrameBlend objFrameBlend(size_t frameCount, float& animPosition) {
    if (animPosition > 1.0f) animPosition = 1.0f;
    // Below 0 the blend would run backwards from frame 1; an undefined position has no frame at all.
    if (!(animPosition >= 0.0f)) animPosition = 0.0f;
    ObjFrameBlend blend;
    if (frameCount == 0) return blend;
    blend.draw = true;
    if (frameCount == 1) return blend;
    const float f = float(frameCount - 1) * animPosition;
    blend.current = size_t(f);
    blend.factor = f - float(blend.current);
    blend.next = (blend.current + 1) % frameCount;
    return blend;
}

}  // namespace zelFramework
