// "tunnel-004.orvo": the long service tunnel of the closing scene, from its closed end at z = 100
// down past z = -190. Riveted walls and a vault on ribs, ceiling lamps over the tunnel layer's eight
// lights, stacks of old television sets along both walls (their screens use "tvscreen.JPG", which the
// layer swaps for its own pictures), and a retro computer whose screen faces the point the layer's
// view blend looks from. The layer places its own camera; the scene's camera path is a plain run down
// the tunnel for viewing the set on its own.
#include <cmath>

#include "camera_path.h"
#include "pictures_common.h"
#include "props.h"
#include "sets.h"
#include "tunnel_pictures.h"

namespace zelFramework::scenegen {

using content::rgb;

namespace {

constexpr float kFloorY = -1.6f, kWallX = 7.5f, kSpringY = 5.5f, kCrownY = 8.5f;
constexpr const char* kTvScreenPicture = "tvscreen.JPG";
constexpr float kStartZ = 100, kEndZ = -196, kSection = 6;

void buildShell(Mesh& walls, Mesh& floor, Mesh& vault, Mesh& ribs) {
    for (float z = kStartZ; z > kEndZ; z -= kSection) {
        float z0 = z, z1 = z - kSection;
        floor.addQuad({-kWallX, kFloorY, z0}, {kWallX, kFloorY, z0}, {kWallX, kFloorY, z1}, {-kWallX, kFloorY, z1});
        walls.addQuad({-kWallX, kFloorY, z0}, {-kWallX, kFloorY, z1}, {-kWallX, kSpringY, z1}, {-kWallX, kSpringY, z0});
        walls.addQuad({kWallX, kFloorY, z1}, {kWallX, kFloorY, z0}, {kWallX, kSpringY, z0}, {kWallX, kSpringY, z1});
        const int pieces = 8;
        for (int i = 0; i < pieces; ++i) {
            float a0 = kPi * i / pieces, a1 = kPi * (i + 1) / pieces;
            Vec3 p{kWallX * std::cos(a0), kSpringY + (kCrownY - kSpringY) * std::sin(a0), 0};
            Vec3 q{kWallX * std::cos(a1), kSpringY + (kCrownY - kSpringY) * std::sin(a1), 0};
            // Seen from inside (below), p runs to q from right to left.
            vault.addQuad({q.x, q.y, z0}, {p.x, p.y, z0}, {p.x, p.y, z1}, {q.x, q.y, z1}, {0, 1}, {1, 1}, {1, 0}, {0, 0});
        }
        Mesh rib = makeArchRib(kWallX - 0.15f, kSpringY, kCrownY - 0.15f, 0.35f, 0.5f, 10);
        ribs.append(rib, Mat4::translation({0, 0, z0}));
        for (float side : {-1.0f, 1.0f})
            ribs.append(makeBoxBetween({side * (kWallX - 0.35f), kFloorY, z0 - 0.25f}, {side * kWallX, kSpringY, z0 + 0.25f}));
    }
    // The closed end behind the start, and a far end wall.
    walls.addQuad({kWallX, kFloorY, kStartZ}, {-kWallX, kFloorY, kStartZ}, {-kWallX, kCrownY, kStartZ}, {kWallX, kCrownY, kStartZ});
    float endZ = kStartZ - std::ceil((kStartZ - kEndZ) / kSection) * kSection;
    walls.addQuad({-kWallX, kFloorY, endZ}, {kWallX, kFloorY, endZ}, {kWallX, kCrownY, endZ}, {-kWallX, kCrownY, endZ});
}

// A lamp on the vault above each of the layer's lights, and a row of strip lights further down where
// the lights do not reach.
void buildLamps(Mesh& lamps, Mesh& steel) {
    const float lightZ[8] = {89.8343f, 72.7316f, 54.5313f, 43.382f, 27.6038f, 5.8723f, -8.4732f, -24.469f};
    for (float z : lightZ) {
        steel.append(makeTube({{0, kCrownY - 0.1f, z}, {0, 7.2f, z}}, 0.04f, 6));
        steel.append(makeLathe({{0.05f, 6.8f}, {0.55f, 6.85f}, {0.35f, 7.2f}, {0.05f, 7.25f}}, 16), Mat4::translation({0, 0, z}));
        lamps.append(makeCylinder(0.45f, 6.78f, 6.8f, 16, true), Mat4::translation({0, 0, z}));
    }
    for (float z = -40; z > kEndZ; z -= 12)
        lamps.append(makeBoxBetween({-0.3f, kCrownY - 0.25f, z - 2}, {0.3f, kCrownY - 0.1f, z + 2}));
}

void addTelevision(Mesh& bodies, Mesh& screens, Vec3 at, float yaw, float size) {
    TelevisionMeshes tv = makeTelevision(1.1f * size, 0.85f * size, 0.8f * size);
    Mat4 place = placeProp(at, yaw);
    bodies.append(tv.body, place);
    screens.append(tv.screen, place);
}

// Stacks of sets against both walls, two or three high on crates, between the layer's stands.
void buildTelevisions(Mesh& bodies, Mesh& screens, Mesh& crates) {
    int k = 0;
    for (float z = 95; z > -185; z -= 9.5f, ++k) {
        float side = (k % 2 == 0) ? -1.0f : 1.0f;
        float x = side * (kWallX - 0.8f);
        float yaw = side < 0 ? 90.0f : -90.0f;
        crates.append(makeBoxBetween({x - 0.6f, kFloorY, z - 1.4f}, {x + 0.6f, kFloorY + 0.7f, z + 1.4f}));
        float y = kFloorY + 0.7f;
        int high = 2 + (k % 3 == 0 ? 1 : 0);
        for (int i = 0; i < high; ++i) {
            float size = i == 0 ? 1.0f : 0.85f;
            addTelevision(bodies, screens, {x, y, z - 0.6f + 0.6f * (i % 2)}, yaw + (i % 2 ? 8.0f : -6.0f), size);
            addTelevision(bodies, screens, {x, y, z + 0.75f}, yaw - 4.0f, size * 0.9f);
            y += 0.85f * size + 0.02f;
        }
    }
    // A few sets hanging from the vault over the middle of the tunnel, facing both ways.
    for (float z : {60.0f, 20.0f, -60.0f, -120.0f, -170.0f}) {
        for (float yaw : {0.0f, 180.0f}) addTelevision(bodies, screens, {0, 5.9f, z + (yaw > 0 ? -0.5f : 0.5f)}, yaw, 1.2f);
        crates.append(makeTube({{0, kCrownY, z}, {0, 6.9f, z}}, 0.05f, 6));
    }
}

// The retro computer on a small table: its screen centre near (4.75, -0.4, -48.3), facing the point
// (4.0, -0.6, -47.73) that the layer's view blend moves the eye to.
void buildRetroComputer(Mesh& beige, Mesh& screen, Mesh& table) {
    Vec3 eye{4.0f, -0.6f, -47.73f};
    Vec3 centre{4.75f, -0.4f, -48.3f};
    Vec3 facing = normalize(eye - centre);
    float yaw = std::atan2(facing.x, facing.z) * 180.0f / kPi;
    float pitch = std::asin(-facing.y) * 180.0f / kPi;  // tip the face down towards the lower eye
    // Monitor: the frame is centred on the screen centre.
    Mat4 monitor = placeProp(centre, yaw, pitch);
    beige.append(makeBox({0, 0, -0.26f}, {0.66f, 0.58f, 0.5f}), monitor);
    beige.append(makeBox({0, -0.02f, -0.62f}, {0.44f, 0.4f, 0.3f}), monitor);
    screen.append(makePanel({0, 0.01f, 0.001f}, {0, 0, 1}, 0.5f, 0.38f), monitor);
    // Plinth, table and the keyboard computer in front.
    float tableY = -1.0f;
    Mat4 base = placeProp({centre.x, tableY, centre.z}, yaw);
    beige.append(makeBox({0, (centre.y - 0.29f - tableY) * 0.5f, -0.26f}, {0.3f, centre.y - 0.29f - tableY, 0.3f}), base);
    beige.append(makeBox({0, 0.05f, 0.3f}, {0.62f, 0.1f, 0.26f}), base);
    table.append(makeBox({0, -0.025f, 0}, {1.3f, 0.05f, 1.2f}), base);
    for (float sx : {-0.58f, 0.58f})
        for (float sz : {-0.52f, 0.52f}) table.append(makeBox({sx, (kFloorY - tableY) * 0.5f, sz}, {0.06f, tableY - kFloorY, 0.06f}), base);
}

}  // namespace

SetDescription buildTunnelScene() {
    SetDescription s;
    s.fileName = "tunnel-004.orvo";
    const std::string light = "tunnel_light.png";
    auto mat = [&](const char* name, const char* picture, Vec3 specular, float rough, float glow = 0, float refl = 0) {
        s.materials.push_back(makeMaterial(name, picture, light, specular, rough, glow, refl));
    };
    mat("tunnel_walls", "tunnel_wall.png", {0.2f, 0.2f, 0.2f}, 0.6f);
    mat("tunnel_floor", "tunnel_floor.png", {0.4f, 0.4f, 0.4f}, 0.4f);
    mat("tunnel_vault", "tunnel_vault.png", {0.1f, 0.1f, 0.1f}, 0.8f);
    mat("tunnel_steel", "tunnel_rib.png", {0.3f, 0.3f, 0.3f}, 0.5f);
    mat("tunnel_lamps", "tunnel_lamp.png", {1, 1, 1}, 0.2f, 1.0f);
    mat("tv_body", "tv_body.png", {0.3f, 0.3f, 0.3f}, 0.4f);
    // "tvscreen.JPG" is painted by the picture generator with the layer's other television pictures.
    mat("tv_screen", kTvScreenPicture, {0.8f, 0.8f, 0.8f}, 0.1f, 0.7f, 0.1f);
    mat("crates", "stadium_concrete.png", {0.1f, 0.1f, 0.1f}, 0.9f);
    mat("computer_case", "computer_beige.png", {0.3f, 0.3f, 0.3f}, 0.5f);
    mat("computer_screen", "computer_screen.png", {0.8f, 0.8f, 0.8f}, 0.1f, 0.8f);
    s.pictures = {
        {"tunnel_wall.png", paintTunnelWall},
        {"tunnel_floor.png", paintTunnelFloor},
        {"tunnel_vault.png", paintTunnelVault},
        {"tunnel_lamp.png", paintTunnelLamp},
        {"tunnel_rib.png", paintTunnelRib},
        {"tv_body.png", paintTvBody},
        {"computer_beige.png", paintBeige},
        {"computer_screen.png", paintComputerScreen},
        {light, [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.6f, 0.6f, 0.66f)); }},
    };

    s.picturesFromElsewhere = {kTvScreenPicture};

    Mesh walls, floor, vault, ribs, lamps, steel, bodies, screens, crates, beige, computerScreen, table;
    buildShell(walls, floor, vault, ribs);
    buildLamps(lamps, steel);
    buildTelevisions(bodies, screens, crates);
    buildRetroComputer(beige, computerScreen, table);
    s.add("tunnel", "", "");
    s.add("tunnel_walls", "tunnel", "tunnel_walls", std::move(walls));
    s.add("tunnel_floor", "tunnel", "tunnel_floor", std::move(floor));
    s.add("tunnel_vault", "tunnel", "tunnel_vault", std::move(vault));
    s.add("tunnel_ribs", "tunnel", "tunnel_steel", std::move(ribs));
    s.add("lamp_fittings", "tunnel", "tunnel_steel", std::move(steel));
    s.add("lamps", "tunnel", "tunnel_lamps", std::move(lamps));
    s.add("tv_sets", "tunnel", "tv_body", std::move(bodies));
    s.add("tv_screens", "tunnel", "tv_screen", std::move(screens));
    s.add("tv_crates", "tunnel", "crates", std::move(crates));
    s.add("computer", "tunnel", "computer_case", std::move(beige));
    s.add("computer_screen", "tunnel", "computer_screen", std::move(computerScreen));
    s.add("computer_table", "tunnel", "crates", std::move(table));

    Shot run;
    run.keys = {{0, {0, 3.8f, 92}, {0, 3.5f, 60}, 30},
                {20, {1.5f, 3.0f, 10}, {0, 2.5f, -20}, 30},
                {40, {-1, 2.0f, -80}, {0, 1.5f, -110}, 30},
                {60, {0, 1.5f, -170}, {0, 1.2f, -196}, 30}};
    s.camera = sampleCameraPath({run}, 60, {0.1f, 1000});
    return s;
}

}  // namespace zelFramework::scenegen
