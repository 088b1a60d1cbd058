// The sets are laid out for the layers that draw them: the intro's set pieces sit within reach of its
// three short-range lights, the title words within reach of the key light and reading the right way
// for the camera, the players' tunnel camera stays inside the tunnel, and the stadium's camera never
// flies through the stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "camera_path.h"
#include "letters.h"
#include "sets.h"
#include "stadium_bowl.h"

using namespace zelFramework;
using namespace zelFramework::scenegen;

namespace {

const SetObject& objectNamed(const SetDescription& s, const std::string& name) {
    for (const SetObject& o : s.objects)
        if (o.name == name) return o;
    ADD_FAILURE() << "no object " << name << " in " << s.fileName;
    static SetObject none;
    return none;
}

// Smallest distance from `p` to any vertex of the object.
float nearestVertex(const SetObject& o, Vec3 p) {
    float best = 1e30f;
    for (Vec3 v : o.mesh.positions) best = std::min(best, length(v - p));
    return best;
}

Vec3 eyeOf(const SceneCameraSample& c) { return {c.position.x, c.position.y, c.position.z}; }

}  // namespace

TEST(SceneLayout, IntroSetPiecesSitUnderItsThreeLights) {
    // The intro's lights reach 10 units but fall off steeply: what must be seen is within a few units.
    SetDescription intro = buildIntroScene();
    EXPECT_LT(nearestVertex(objectNamed(intro, "video_wall"), {0.098f, 14.963f, -7.242f}), 3.5f);
    EXPECT_LT(nearestVertex(objectNamed(intro, "monitor_feeds"), {6.559f, 1.772f, 2.484f}), 2.0f);
    EXPECT_LT(nearestVertex(objectNamed(intro, "monitor_feeds"), {-7.452f, 12.176f, 1.322f}), 2.5f);
    EXPECT_LT(nearestVertex(objectNamed(intro, "on_air_sign"), {-7.452f, 12.176f, 1.322f}), 2.0f);
    // The camera stays in the room the whole time.
    for (const SceneCameraSample& c : intro.camera) {
        Vec3 e = eyeOf(c);
        EXPECT_LT(std::fabs(e.x), 9);
        EXPECT_GT(e.y, 0);
        EXPECT_LT(e.y, 18);
        EXPECT_GT(e.z, -10);
        EXPECT_LT(e.z, 8);
    }
}

TEST(SceneLayout, TitleWordsReadForTheCameraAndSitInTheKeyLight) {
    // Facing -z, the first letter of a line is at the larger x (the camera's right is -x there).
    std::vector<LetterMesh> line = extrudeLine("AB", 40, 12, {0, 0, 0}, true);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_GT(line[0].centre.x, line[1].centre.x);
    // Its face cap, the one nearer the camera, faces the camera.
    float front = 1e9f;
    for (Vec3 p : line[0].mesh.positions) front = std::min(front, p.z);
    for (size_t i = 0; i < line[0].mesh.vertexCount(); ++i) {
        const Mesh& m = line[0].mesh;
        if (m.positions[i].z == front && std::fabs(m.normals[i].z) > 0.99f) {
            EXPECT_LT(m.normals[i].z, 0);
        }
    }
    std::vector<TitleText> titles = featureTitles();
    for (size_t i = 0; i < titles.size(); ++i) {
        SetDescription s = buildTitleScene(titles[i], int(i));
        Vec3 keyLight{40, 50, -100};
        for (const SetObject& o : s.objects) {
            if (o.name.rfind("letter", 0) != 0) continue;
            for (Vec3 v : o.mesh.positions) EXPECT_LT(length(v - keyLight), 330) << s.fileName << " " << o.name;
        }
        // The camera looks at the words from the key light's side, from in front of the floor's edge.
        for (const SceneCameraSample& c : s.camera) {
            EXPECT_LT(c.position.z, -200);
            EXPECT_GT(c.direction.z, 0);
        }
    }
}

TEST(SceneLayout, PlayersTunnelCameraRunsInsideToTheMouth) {
    SetDescription s = buildArenaTunnelScene();
    ASSERT_EQ(s.camera.size(), size_t(std::ceil(5.458f * 24)) + 1);
    float lastZ = 1e9f;
    for (const SceneCameraSample& c : s.camera) {
        Vec3 e = eyeOf(c);
        EXPECT_LT(std::fabs(e.x), 70);
        EXPECT_GT(e.y, -55);
        EXPECT_LT(e.y, 60);
        EXPECT_LE(e.z, lastZ + 0.01f);  // always forward
        lastZ = e.z;
    }
    EXPECT_LT(lastZ, -300);  // ends at the mouth (z = -370), where the stadium begins
    EXPECT_GT(s.camera.front().position.z, 350);
}

TEST(SceneLayout, StadiumCameraNeverFliesThroughTheStands) {
    SetDescription s = buildStadiumScene();
    // From 6 s of scene time (just after the stadium first shows, when the camera has left the
    // tunnel mouth under the lowest ring) every eye is in the open bowl.
    for (size_t i = size_t(6 * kSamplesPerSecond); i < s.camera.size(); ++i) {
        Vec3 e = eyeOf(s.camera[i]);
        float r = std::hypot(e.x, e.z);
        EXPECT_GT(e.y, kPitchY) << i;
        for (const StandRing& ring : standRings())
            if (e.y > ring.firstRowY - kFasciaDrop && e.y < ring.topY() + 60) {
                EXPECT_LT(r, ring.innerRadius) << "sample " << i << " inside ring at radius " << r;
            }
    }
}
