// Props and placement: panels face where they are told with the picture upright, placed props turn
// the right way, stairs and arches have the size asked for, rings of stands stack without overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "image_io.h"
#include "picture_job.h"
#include "props.h"
#include "stadium_bowl.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

TEST(SceneProps, PanelsFaceTheirNormalUprightAndSized) {
    for (Vec3 n : {Vec3{0, 0, 1}, Vec3{1, 0, 0}, Vec3{-0.8f, -0.23f, 0.57f}, Vec3{0, 1, 0}}) {
        Mesh p = makePanel({1, 2, 3}, n, 4, 2);
        ASSERT_EQ(p.vertexCount(), 4u);
        Vec3 unit = normalize(n);
        for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(dot(p.normals[i], unit), 1, 1e-4f);
        EXPECT_NEAR(length(p.positions[1] - p.positions[0]), 4, 1e-4f);
        EXPECT_NEAR(length(p.positions[3] - p.positions[0]), 2, 1e-4f);
        Vec3 centre = (p.positions[0] + p.positions[2]) * 0.5f;
        EXPECT_NEAR(length(centre - Vec3{1, 2, 3}), 0, 1e-4f);
        // The picture's top row (v = 0) is the higher edge whenever the panel is not flat.
        if (std::fabs(unit.y) < 0.9f) {
            EXPECT_GT(p.positions[3].y, p.positions[0].y);
        }
        EXPECT_FLOAT_EQ(p.uvs[3].y, 0);
    }
}

TEST(SceneProps, PlacedPropsTurnAboutUpAndTipForward) {
    Mat4 m = placeProp({10, 0, 0}, 90);
    Vec3 front = m.direction({0, 0, 1});
    EXPECT_NEAR(front.x, 1, 1e-5f);  // yaw 90 turns the front from +z to +x
    EXPECT_NEAR(m.point({0, 0, 0}).x, 10, 1e-5f);
    Vec3 tipped = placeProp({0, 0, 0}, 0, 20).direction({0, 0, 1});
    EXPECT_LT(tipped.y, 0);  // a positive pitch tips the face down
}

TEST(SceneProps, StairsAndArchesHaveTheirSize) {
    Mesh stairs = makeStairs(2, 9, 3, 12);
    float top = 0, depth = 0;
    for (Vec3 p : stairs.positions) top = std::max(top, p.y), depth = std::max(depth, p.z);
    EXPECT_FLOAT_EQ(top, 3);
    EXPECT_FLOAT_EQ(depth, 9);
    EXPECT_EQ(stairs.triangleCount(), 12u * 12u);
    Mesh arch = makeArchRib(7, 5, 8, 0.3f, 0.5f, 10);
    float hi = 0, wide = 0;
    for (Vec3 p : arch.positions) hi = std::max(hi, p.y), wide = std::max(wide, std::fabs(p.x));
    EXPECT_NEAR(hi, 8, 0.3f);
    EXPECT_NEAR(wide, 7, 0.3f);
}

TEST(SceneStadiumRings, RingsStackWithoutOverlapAndLeaveTheMiddleOpen) {
    const auto& rings = standRings();
    ASSERT_EQ(rings.size(), 5u);
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        const StandRing& low = rings[i];
        const StandRing& high = rings[i + 1];
        // Where the two overlap in radius, the upper ring's underside is above the lower ring's rows
        // with room for the spectators' heads.
        float r0 = std::max(low.innerRadius, high.innerRadius), r1 = std::min(low.outerRadius(), high.outerRadius());
        for (float r = r0; r <= r1; r += 5) {
            int row = std::min(int((r - low.innerRadius) / low.rowDepth), low.rows - 1);
            float t = (r - high.innerRadius) / (high.outerRadius() - high.innerRadius);
            float underside = lerp(high.firstRowY - kFasciaDrop, high.topY() - kFasciaDrop, t);
            EXPECT_GT(underside - low.treadY(row), 60) << "ring " << i + 1 << " at radius " << r;
        }
        EXPECT_GT(high.firstRowY, low.topY());
    }
    // The lights of the layer hang in the open middle of the bowl.
    for (Vec3 light : {Vec3{-400, -2500, -400}, Vec3{400, -4000, 400}, Vec3{0, -3500, 0}})
        for (const StandRing& r : rings) EXPECT_LT(std::hypot(light.x, light.z), r.innerRadius);
}

TEST(SceneStadiumRings, SegmentsAislesAndTheDeckSector) {
    EXPECT_FLOAT_EQ(segmentAngle(0), 0);
    EXPECT_FLOAT_EQ(segmentAngle(kStandSegments), 360);
    int aisles = 0;
    for (int s = 0; s < kStandSegments; ++s) aisles += isAisleSegment(s) ? 1 : 0;
    EXPECT_EQ(aisles, kStandSegments / kAisleEvery);
    EXPECT_TRUE(isBehindBroadcastDeck(1, 180));
    EXPECT_FALSE(isBehindBroadcastDeck(0, 180));
    EXPECT_FALSE(isBehindBroadcastDeck(1, 90));
    Vec3 p = onRing(100, -5, 90);
    EXPECT_NEAR(p.x, 100, 1e-3f);
    EXPECT_NEAR(p.z, 0, 1e-3f);
    EXPECT_FLOAT_EQ(p.y, -5);
}

TEST(ScenePictures, ResourceNamesMapToFoldersAndPicturesAreWrittenAsRgb) {
    EXPECT_EQ(resourcePath("out", "video\\Tabor_Pimsel_00001.png"), "out/video/Tabor_Pimsel_00001.png");
    EXPECT_EQ(resourcePath("out", "plain.png"), "out/plain.png");
    std::string folder = testing::TempDir() + "scene_pictures";
    PictureJob job{"sub\\pic.png", [] {
                       content::Image img(8, 4, {0.2f, 0.4f, 0.6f, 0.5f});
                       img.at(0, 0) = {2, -1, 0.5f, 1};  // out of range: clamped when written
                       return img;
                   }};
    ASSERT_TRUE(writePicture(job, folder));
    content::Image back;
    ASSERT_TRUE(content::readPng(folder + "/sub/pic.png", back));
    EXPECT_EQ(back.width, 8);
    EXPECT_EQ(back.height, 4);
    EXPECT_FLOAT_EQ(back.at(0, 0).r, 1);
    EXPECT_FLOAT_EQ(back.at(0, 0).g, 0);
    EXPECT_FLOAT_EQ(back.at(1, 1).a, 1);  // written without alpha: the opaque pass needs RGB pictures
}
