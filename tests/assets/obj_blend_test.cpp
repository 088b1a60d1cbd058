// The choice of the two key frames and the blend factor between them.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/obj_frame_blend.h"

using namespace zelFramework;

TEST(ObjFrameBlend, PicksNeighbouringFramesAndTheFactorBetweenThem) {
    struct Case {
        size_t frames;
        float position, positionAfter;
        bool draw;
        size_t current, next;
        float factor;
    } cases[] = {
        {3, 0.25f, 0.25f, true, 0, 1, 0.5f},
        {3, 0.5f, 0.5f, true, 1, 2, 0.0f},  // next still differs: the attributes are bound
        {4, 1.7f, 1.0f, true, 3, 0, 0.0f},  // clamped; the last frame shows unblended
        {4, 1.0f, 1.0f, true, 3, 0, 0.0f},
        {1, 0.6f, 0.6f, true, 0, 0, 0.0f},
        {0, 0.5f, 0.5f, false, 0, 0, 0.0f},
        {3, -0.5f, 0.0f, true, 0, 1, 0.0f},  // negative positions clamp at the first frame
        {5, 0.3f, 0.3f, true, 1, 2, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames at " << c.position);
        float position = c.position;
        ObjFrameBlend b = objFrameBlend(c.frames, position);
        EXPECT_EQ(position, c.positionAfter);
        EXPECT_EQ(b.draw, c.draw);
        EXPECT_EQ(b.current, c.current);
        EXPECT_EQ(b.next, c.next);
        EXPECT_NEAR(b.factor, c.factor, 1e-6);
        EXPECT_GE(b.factor, 0.0f);
        EXPECT_LT(b.factor, 1.0f);
    }
    float undefined = std::nanf("");
    ObjFrameBlend b = objFrameBlend(3, undefined);
    EXPECT_EQ(undefined, 0.0f);
    EXPECT_EQ(b.current, 0u);
}
