// Which lights can reach what a view shows: spheres inside, across and outside each side of a
// perspective view volume, for a camera that is moved and turned.
#include <gtest/gtest.h>

#include <cmath>

#include "renderengine/light_reach.h"

using namespace RenderEngine;

namespace {

// gluPerspective(fovY, aspect, zNear, zFar), column-major.
void perspective(float fovY, float aspect, float zNear, float zFar, float m[16]) {
    const float f = 1.0f / std::tan(fovY * 3.14159265f / 360.0f);
    for (int i = 0; i < 16; ++i) m[i] = 0.0f;
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0f;
    m[14] = 2.0f * zFar * zNear / (zNear - zFar);
}

// A camera at the origin turned by `yawDegrees` about +y (a positive turn looks towards -x): the
// view matrix is the turn's transpose.
void camera(float yawDegrees, float m[16]) {
    const float a = yawDegrees * 3.14159265f / 180.0f, c = std::cos(a), s = std::sin(a);
    const float r[16] = {c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) m[i] = r[i];
}

bool reaches(const ViewPlanes& planes, float x, float y, float z, float radius) {
    const float centre[3] = {x, y, z};
    return sphereReachesView(planes, centre, radius);
}

}  // namespace

TEST(LightReach, SpheresAreKeptExactlyWhenTheyMeetTheViewVolume) {
    float view[16], projection[16];
    camera(0.0f, view);  // looking down -z
    perspective(90.0f, 1.0f, 1.0f, 100.0f, projection);  // sides at 45 degrees: x = +-(-z)
    const ViewPlanes planes = viewPlanesOf(view, projection);

    EXPECT_TRUE(reaches(planes, 0, 0, -50, 1));       // straight ahead
    EXPECT_TRUE(reaches(planes, 0, 0, 5, 6.5f));   // behind the eye, reaching past the near plane at z = -1
    EXPECT_FALSE(reaches(planes, 0, 0, 5, 5.5f));  // behind the eye, short of it
    EXPECT_FALSE(reaches(planes, 0, 0, -110, 9.0f));  // beyond the far plane
    EXPECT_TRUE(reaches(planes, 0, 0, -110, 11.0f));
    // Beside the left side plane x = z (distance |x - z| / sqrt 2 from it).
    EXPECT_FALSE(reaches(planes, -30, 0, -10, 14.0f));  // 20 / sqrt 2 = 14.14 away
    EXPECT_TRUE(reaches(planes, -30, 0, -10, 14.3f));
    EXPECT_FALSE(reaches(planes, 0, 30, -10, 14.0f));   // above the top plane
    EXPECT_TRUE(reaches(planes, 0, 30, -10, 14.3f));
    EXPECT_FALSE(reaches(planes, 0, -30, -10, 14.0f));  // below
    EXPECT_FALSE(reaches(planes, 30, 0, -10, 14.0f));   // right
}

TEST(LightReach, TheVolumeFollowsTheCamerasTurn) {
    float view[16], projection[16];
    perspective(60.0f, 2.28f, 1.0f, 1000.0f, projection);
    camera(0.0f, view);
    const ViewPlanes ahead = viewPlanesOf(view, projection);
    camera(90.0f, view);  // now looking down -x
    const ViewPlanes turned = viewPlanesOf(view, projection);
    EXPECT_TRUE(reaches(ahead, 0, 0, -200, 10));
    EXPECT_FALSE(reaches(turned, 0, 0, -200, 10));
    EXPECT_TRUE(reaches(turned, -200, 0, 0, 10));
    EXPECT_FALSE(reaches(ahead, -200, 0, 0, 10));
    // A light far behind but with a reach that covers the camera is always kept.
    EXPECT_TRUE(reaches(turned, 300, 0, 0, 400));
}
