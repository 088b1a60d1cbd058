// "intro-005.orvo": the opening set, a two-level broadcast gallery about 18 units across around the
// origin. The intro layer's three lights fall on its three places: the vision mixer's console at the
// lower right, the director's desk on the mezzanine at the upper left, and the wall of screens at the
// back. The camera spends the whole intro (35.833 s) on one slow move: along the console, up to the
// mezzanine, and across to the screens, ending close on the stadium they show.
#include <cmath>

#include "camera_path.h"
#include "intro_pictures.h"
#include "pictures_common.h"
#include "props.h"
#include "sets.h"
#include "tunnel_pictures.h"

namespace zelFramework::scenegen {

using content::rgb;

namespace {

constexpr float kRoomX = 9, kBackZ = -10, kFrontZ = 8, kCeilingY = 18, kMezzanineY = 9.6f;

void buildRoom(Mesh& floor, Mesh& walls, Mesh& steel) {
    floor.append(makeGrid({0, 0, (kBackZ + kFrontZ) * 0.5f}, 2 * kRoomX, kFrontZ - kBackZ, 6, 6));
    walls.addQuad({-kRoomX, 0, kBackZ}, {kRoomX, 0, kBackZ}, {kRoomX, kCeilingY, kBackZ}, {-kRoomX, kCeilingY, kBackZ});
    walls.addQuad({-kRoomX, 0, kFrontZ}, {-kRoomX, 0, kBackZ}, {-kRoomX, kCeilingY, kBackZ}, {-kRoomX, kCeilingY, kFrontZ});
    walls.addQuad({kRoomX, 0, kBackZ}, {kRoomX, 0, kFrontZ}, {kRoomX, kCeilingY, kFrontZ}, {kRoomX, kCeilingY, kBackZ});
    walls.addQuad({kRoomX, 0, kFrontZ}, {-kRoomX, 0, kFrontZ}, {-kRoomX, kCeilingY, kFrontZ}, {kRoomX, kCeilingY, kFrontZ});
    walls.addQuad({-kRoomX, kCeilingY, kBackZ}, {kRoomX, kCeilingY, kBackZ}, {kRoomX, kCeilingY, kFrontZ}, {-kRoomX, kCeilingY, kFrontZ});
    // A lighting truss grid under the ceiling.
    for (float x = -6; x <= 6; x += 4) steel.append(makeBoxBetween({x - 0.1f, 16.6f, kBackZ}, {x + 0.1f, 16.9f, kFrontZ}));
    for (float z = -8; z <= 6; z += 4) steel.append(makeBoxBetween({-kRoomX, 16.6f, z - 0.1f}, {kRoomX, 16.9f, z + 0.1f}));
}

// Fifteen screens in a 5 x 3 wall, each showing its part of one big picture.
void buildVideoWall(Mesh& screens, Mesh& frame) {
    const int cols = 5, rows = 3;
    const float x0 = -7.5f, top = 16.0f, w = 3.0f, h = 2.6f;
    frame.append(makeBoxBetween({x0 - 0.2f, top - rows * h - 0.2f, kBackZ}, {x0 + cols * w + 0.2f, top + 0.2f, kBackZ + 0.25f}));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            float xa = x0 + c * w + 0.05f, xb = x0 + (c + 1) * w - 0.05f;
            float yt = top - r * h - 0.05f, yb = top - (r + 1) * h + 0.05f;
            Vec2 lo{float(c) / cols, float(r) / rows}, hi{float(c + 1) / cols, float(r + 1) / rows};
            float z = kBackZ + 0.27f;
            screens.addQuad({xa, yb, z}, {xb, yb, z}, {xb, yt, z}, {xa, yt, z}, {lo.x, hi.y}, {hi.x, hi.y}, {hi.x, lo.y},
                            {lo.x, lo.y});
        }
}

// A monitor on a small foot, facing `yaw`, showing atlas tile `tile` of the 3 x 2 feed picture.
void addMonitor(Mesh& body, Mesh& feeds, Vec3 base, float yaw, float width, int tile) {
    float h = width * 0.62f;
    Mat4 place = placeProp(base, yaw);
    body.append(makeBox({0, 0.08f, 0}, {width * 0.3f, 0.16f, 0.25f}), place);
    body.append(makeBox({0, 0.16f + h * 0.5f, 0}, {width, h, 0.08f}), place);
    Vec2 lo{(tile % 3) / 3.0f, (tile / 3) / 2.0f}, hi{lo.x + 1 / 3.0f, lo.y + 0.5f};
    Mesh face;
    float hw = width * 0.46f, hh = h * 0.44f, cy = 0.16f + h * 0.5f;
    face.addQuad({-hw, cy - hh, 0.041f}, {hw, cy - hh, 0.041f}, {hw, cy + hh, 0.041f}, {-hw, cy + hh, 0.041f}, {lo.x, hi.y},
                 {hi.x, hi.y}, {hi.x, lo.y}, {lo.x, lo.y});
    feeds.append(face, place);
}

// The vision mixer's console at the lower right, its operator's light just in front of it.
void buildConsole(Mesh& desk, Mesh& panel, Mesh& body, Mesh& feeds) {
    desk.append(makeBoxBetween({3.4f, 0, 0.6f}, {9, 0.85f, 4.2f}));
    // The sloped control surface.
    panel.addQuad({3.6f, 0.86f, 3.9f}, {8.8f, 0.86f, 3.9f}, {8.8f, 1.15f, 1.6f}, {3.6f, 1.15f, 1.6f});
    for (int i = 0; i < 3; ++i) addMonitor(body, feeds, {4.6f + i * 1.7f, 0.86f, 1.1f}, 0, 1.5f, i);
    addMonitor(body, feeds, {8.4f, 0.86f, 2.2f}, -70, 1.1f, 3);
    // The operator's chair.
    body.append(makeBoxBetween({6.0f, 0.45f, 4.6f}, {7.0f, 0.55f, 5.5f}));
    body.append(makeBoxBetween({6.0f, 0.55f, 5.4f}, {7.0f, 1.5f, 5.55f}));
    body.append(makeCylinder(0.06f, 0, 0.45f, 8, false), Mat4::translation({6.5f, 0, 5.05f}));
}

// Rows of desks facing the screens in the dark middle of the room.
void buildDeskRows(Mesh& desk, Mesh& body, Mesh& feeds) {
    for (int row = 0; row < 2; ++row) {
        float z = -3.5f + row * 3.2f;
        float y = row * 0.4f;
        if (row == 1) desk.append(makeBoxBetween({-3.8f, 0, z - 0.8f}, {2.8f, y, z + 2.4f}));
        desk.append(makeBoxBetween({-3.5f, y, z}, {2.5f, y + 0.8f, z + 0.9f}));
        for (int i = 0; i < 4; ++i) addMonitor(body, feeds, {-2.8f + i * 1.6f, y + 0.8f, z + 0.3f}, 180, 1.2f, (i + row) % 6);
    }
}

// The mezzanine on the left with the director's desk under the third light, stairs down, a railing.
void buildMezzanine(Mesh& slab, Mesh& desk, Mesh& body, Mesh& feeds, Mesh& steel) {
    slab.append(makeBoxBetween({-kRoomX, kMezzanineY - 0.35f, -6}, {-4.2f, kMezzanineY, 7}));
    for (float z : {-5.5f, 0.5f, 6.5f}) steel.append(makeBoxBetween({-4.5f, 0, z - 0.15f}, {-4.2f, kMezzanineY - 0.35f, z + 0.15f}));
    steel.append(makeTube({{-4.3f, kMezzanineY + 1.1f, -6}, {-4.3f, kMezzanineY + 1.1f, 7}}, 0.05f, 6));
    for (float z = -5.5f; z <= 6.5f; z += 1.0f)
        steel.append(makeTube({{-4.3f, kMezzanineY, z}, {-4.3f, kMezzanineY + 1.1f, z}}, 0.03f, 5));
    // Stairs under the screens, rising from the middle of the floor to the mezzanine's edge.
    Mesh stairs = makeStairs(1.6f, 9.0f, kMezzanineY, 24);
    slab.append(stairs, Mat4::translation({4.8f, 0, -5.0f}) * Mat4::rotationY(-90));
    // The director's desk facing the room (+x), monitors on it.
    desk.append(makeBoxBetween({-8.8f, kMezzanineY, -1.2f}, {-6.6f, kMezzanineY + 0.85f, 4.0f}));
    for (int i = 0; i < 3; ++i) addMonitor(body, feeds, {-8.3f, kMezzanineY + 0.85f, -0.4f + i * 1.5f}, 90, 1.3f, (i + 3) % 6);
    body.append(makeBoxBetween({-6.2f, kMezzanineY + 0.45f, 0.8f}, {-5.4f, kMezzanineY + 0.55f, 1.8f}));
}

// Studio furniture: an ON AIR sign by the mezzanine, spot cans on the truss, a pedestal camera aimed
// at the screens, chairs at the desk rows and acoustic panels on the side walls.
void buildFurniture(Mesh& sign, Mesh& body, Mesh& lenses, Mesh& panels) {
    body.append(makeBoxBetween({-9.0f, 13.0f, 0.2f}, {-8.85f, 13.9f, 2.4f}));
    sign.append(makePanel({-8.84f, 13.45f, 1.3f}, {1, 0, 0}, 2.0f, 0.7f));
    for (float x = -6; x <= 6; x += 4)
        for (float z = -6; z <= 6; z += 4) {
            Mat4 can = placeProp({x, 16.55f, z}, 0, 0);
            body.append(makeCylinder(0.22f, -0.55f, 0, 12, true), can);
            lenses.append(makeCylinder(0.18f, -0.57f, -0.55f, 12, true), can);
        }
    // Pedestal camera in the middle of the floor, aimed at the wall of screens.
    Mat4 camera = placeProp({0.8f, 0, 3.2f}, 180);
    for (int leg = 0; leg < 3; ++leg) {
        float a = radians(leg * 120.0f);
        body.append(makeTube({{0.7f * std::cos(a), 0, 0.7f * std::sin(a)}, {0, 1.3f, 0}}, 0.04f, 6), camera);
    }
    body.append(makeBox({0, 1.55f, 0}, {0.45f, 0.45f, 0.8f}), camera);
    body.append(makeBox({0, 1.9f, -0.2f}, {0.3f, 0.22f, 0.35f}), camera);
    Mesh lens = makeCylinder(0.14f, 0, 0.45f, 12, true);
    body.append(lens, camera * Mat4::translation({0, 1.55f, 0.4f}) * Mat4::rotationX(90));
    lenses.append(makeCylinder(0.11f, 0.45f, 0.47f, 12, true), camera * Mat4::translation({0, 1.55f, 0.4f}) * Mat4::rotationX(90));
    // Chairs behind the desk rows.
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 4; ++i) {
            float y = row * 0.4f, z = -3.5f + row * 3.2f + 1.5f;
            Mat4 chair = placeProp({-2.8f + i * 1.6f, y, z}, 180 + (i % 2 ? 12.0f : -9.0f));
            body.append(makeBox({0, 0.48f, 0}, {0.55f, 0.08f, 0.55f}), chair);
            body.append(makeBox({0, 0.85f, -0.27f}, {0.55f, 0.7f, 0.06f}), chair);
            body.append(makeCylinder(0.04f, 0, 0.45f, 6, false), chair);
        }
    // Acoustic panels along both side walls.
    for (float z = -8; z <= 6; z += 2.2f)
        for (float y : {2.5f, 6.5f}) {
            panels.append(makeBoxBetween({kRoomX - 0.12f, y, z}, {kRoomX, y + 3.0f, z + 1.9f}));
            if (y < 5 || z > -5) panels.append(makeBoxBetween({-kRoomX, y, z}, {-kRoomX + 0.12f, y + 3.0f, z + 1.9f}));
        }
}

Shot introShot() {
    Shot s;
    s.keys = {
        {0.0f, {2.8f, 2.2f, 7.2f}, {6.8f, 1.4f, 1.5f}, 40},
        {7.0f, {1.8f, 3.0f, 6.8f}, {6.0f, 1.8f, 1.0f}, 40},
        {13.0f, {0.0f, 6.0f, 6.5f}, {-6.5f, 10.6f, 1.5f}, 40},
        {19.0f, {-1.2f, 10.5f, 5.5f}, {-7.4f, 11.0f, 1.0f}, 38},
        {25.0f, {-0.5f, 12.5f, 4.0f}, {-1.5f, 12.5f, -10.0f}, 38},
        {31.0f, {0.0f, 12.6f, 0.0f}, {0.0f, 12.3f, -10.0f}, 34},
        {35.833f, {0.05f, 12.4f, -3.5f}, {0.05f, 12.2f, -10.0f}, 30},
    };
    return s;
}

}  // namespace

SetDescription buildIntroScene() {
    SetDescription s;
    s.fileName = "intro-005.orvo";
    const std::string light = "intro_light.png";
    auto mat = [&](const char* name, const char* picture, Vec3 specular, float rough, float glow = 0, float refl = 0) {
        s.materials.push_back(makeMaterial(name, picture, light, specular, rough, glow, refl));
    };
    mat("gallery_floor", "intro_floor.png", {0.5f, 0.5f, 0.6f}, 0.2f, 0, 0.1f);
    mat("gallery_walls", "intro_wall.png", {0.1f, 0.1f, 0.1f}, 0.8f);
    mat("video_wall", "intro_videowall.png", {0.6f, 0.6f, 0.6f}, 0.1f, 0.6f);
    mat("screen_frames", "intro_plastic.png", {0.3f, 0.3f, 0.3f}, 0.4f);
    mat("monitor_feeds", "intro_feeds.png", {0.6f, 0.6f, 0.6f}, 0.1f, 0.5f);
    mat("console_panel", "intro_console.png", {0.4f, 0.4f, 0.4f}, 0.3f, 0.2f);
    mat("desks", "intro_desk.png", {0.3f, 0.3f, 0.3f}, 0.4f);
    mat("gallery_steel", "stadium_steel.png", {0.6f, 0.6f, 0.6f}, 0.3f);
    mat("mezzanine", "stadium_concrete.png", {0.1f, 0.1f, 0.1f}, 0.9f);
    mat("on_air", "intro_onair.png", {0.5f, 0.5f, 0.5f}, 0.2f, 1.0f);
    mat("spot_lenses", "tunnel_lamp.png", {1, 1, 1}, 0.1f, 1.0f);
    mat("acoustic_panels", "intro_wall.png", {0.05f, 0.05f, 0.05f}, 0.9f);
    s.pictures = {
        {"intro_floor.png", paintGalleryFloor},
        {"intro_wall.png", paintGalleryWall},
        {"intro_videowall.png", paintVideoWall},
        {"intro_plastic.png", paintDarkPlastic},
        {"intro_feeds.png", paintMonitorFeeds},
        {"intro_console.png", paintMixingConsole},
        {"intro_desk.png", paintDeskTop},
        {"intro_onair.png", paintOnAirSign},
        {"tunnel_lamp.png", paintTunnelLamp},
        {light, [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.58f, 0.58f, 0.66f)); }},
    };
    Mesh floor, walls, steel, screens, frame, desk, panel, body, feeds, slab, sign, lenses, acoustic;
    buildRoom(floor, walls, steel);
    buildVideoWall(screens, frame);
    buildConsole(desk, panel, body, feeds);
    buildDeskRows(desk, body, feeds);
    buildMezzanine(slab, desk, body, feeds, steel);
    buildFurniture(sign, body, lenses, acoustic);
    s.add("gallery", "", "");
    s.add("truss", "gallery", "gallery_steel", std::move(steel));
    s.add("video_wall", "gallery", "video_wall", std::move(screens));
    s.add("video_wall_frame", "gallery", "screen_frames", std::move(frame));
    s.add("desks", "gallery", "desks", std::move(desk));
    s.add("console_panel", "gallery", "console_panel", std::move(panel));
    s.add("monitors", "gallery", "screen_frames", std::move(body));
    s.add("monitor_feeds", "gallery", "monitor_feeds", std::move(feeds));
    s.add("mezzanine", "gallery", "mezzanine", std::move(slab));
    s.add("on_air_sign", "gallery", "on_air", std::move(sign));
    s.add("spot_lenses", "gallery", "spot_lenses", std::move(lenses));
    s.add("acoustic_panels", "gallery", "acoustic_panels", std::move(acoustic));
    // The room goes last: everything stands in front of its floor and walls, so the depth test
    // turns most of their pixels away before they are shaded instead of shading them twice.
    s.add("floor", "gallery", "gallery_floor", std::move(floor));
    s.add("walls", "gallery", "gallery_walls", std::move(walls));
    s.camera = sampleCameraPath({introShot()}, 35.833f, {0.1f, 500});
    return s;
}

}  // namespace zelFramework::scenegen
