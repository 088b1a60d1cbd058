// "ArenaTunnel.orvo": the players' tunnel between the intro and the stadium. 800 units of concrete
// tunnel along -z around the arena tunnel layer's seven lights (its first light hangs in the middle
// of the run), with light panels in the ceiling, team banners, handrails and doors, ending in a
// mouth that opens onto the stadium. The camera runs through it in 5.458 s and stops in the mouth.
#include <cmath>

#include "camera_path.h"
#include "pictures_common.h"
#include "props.h"
#include "sets.h"
#include "tunnel_pictures.h"

namespace zelFramework::scenegen {

using content::rgb;

namespace {

constexpr float kHalfWidth = 70, kFloorY = -55, kCeilingY = 60;
constexpr float kStartZ = 440, kMouthZ = -370, kSection = 40;
constexpr float kRunSeconds = 5.458f;
// Surfaces that carry their own light: their light maps let none of the tunnel's lamps in (no lamp
// reaches the view or the sign anyway), so each shows its picture at this level, sharp, with only a
// little of the scene glow. The glare that haloes the mouth comes from the light strip round its
// edges, which is meant to glow, not from blooming the view.
struct OwnLight {
    float level, glowMask;
};
constexpr OwnLight kViewLight{0.7f, 0.12f}, kSignLight{0.75f, 0.2f}, kStripLight{1.0f, 1.0f};
constexpr float kStripWidth = 2.0f;

void buildShell(Mesh& walls, Mesh& floor, Mesh& ceiling) {
    for (float z = kStartZ; z > kMouthZ + 0.5f; z -= kSection) {
        float z0 = z, z1 = std::max(z - kSection, kMouthZ);
        floor.addQuad({-kHalfWidth, kFloorY, z0}, {kHalfWidth, kFloorY, z0}, {kHalfWidth, kFloorY, z1}, {-kHalfWidth, kFloorY, z1});
        ceiling.addQuad({kHalfWidth, kCeilingY, z0}, {-kHalfWidth, kCeilingY, z0}, {-kHalfWidth, kCeilingY, z1},
                        {kHalfWidth, kCeilingY, z1});
        walls.addQuad({-kHalfWidth, kFloorY, z0}, {-kHalfWidth, kFloorY, z1}, {-kHalfWidth, kCeilingY, z1},
                      {-kHalfWidth, kCeilingY, z0});
        walls.addQuad({kHalfWidth, kFloorY, z1}, {kHalfWidth, kFloorY, z0}, {kHalfWidth, kCeilingY, z0},
                      {kHalfWidth, kCeilingY, z1});
    }
    walls.addQuad({kHalfWidth, kFloorY, kStartZ}, {-kHalfWidth, kFloorY, kStartZ}, {-kHalfWidth, kCeilingY, kStartZ},
                  {kHalfWidth, kCeilingY, kStartZ});
}

void buildFittings(Mesh& panels, Mesh& steel, Mesh& doors, Mesh (&banners)[3], Mesh& sign) {
    int k = 0;
    for (float z = kStartZ - 20; z > kMouthZ; z -= kSection, ++k) {
        panels.append(makeBoxBetween({-30, kCeilingY - 3, z - 8}, {30, kCeilingY, z + 8}));
        // Handrails on both walls.
        for (float side : {-1.0f, 1.0f}) {
            steel.append(makeTube({{side * (kHalfWidth - 4), kFloorY + 40, z + 20}, {side * (kHalfWidth - 4), kFloorY + 40, z - 20}}, 1.2f, 6));
            steel.append(makeTube({{side * (kHalfWidth - 4), kFloorY, z}, {side * (kHalfWidth - 4), kFloorY + 40, z}}, 1.0f, 6));
        }
        // Banners every other section, alternating sides; a door now and then.
        float side = k % 2 ? 1.0f : -1.0f;
        if (k % 2 == 0 || k % 3 == 0)
            banners[k % 3].append(makePanel({side * (kHalfWidth - 0.5f), 10, z - 10}, {-side, 0, 0}, 44, 80));
        if (k % 4 == 1) {
            doors.append(makePanel({-side * (kHalfWidth - 0.4f), kFloorY + 40, z - 5}, {side, 0, 0}, 36, 80));
            steel.append(makeBoxBetween({-side * (kHalfWidth - 1.5f), kFloorY + 80, z - 25}, {-side * kHalfWidth, kFloorY + 84, z + 15}));
        }
    }
    // The sign over the mouth, facing the runners.
    sign.append(makePanel({0, kCeilingY - 16, kMouthZ + 2}, {0, 0, 1}, 120, 24));
}

// What the mouth opens onto: a picture of the floodlit bowl whose lower edge (the pitch) meets the
// tunnel floor, and a strip of pitch from the mouth to it.
void buildView(Mesh& pitch, Mesh& view, Mesh& frame, Mesh& strip) {
    const float viewZ = kMouthZ - 380, height = 700;
    pitch.append(makeGrid({0, kFloorY - 0.5f, (kMouthZ + viewZ) * 0.5f}, 1400, kMouthZ - viewZ, 14, 4));
    view.append(makePanel({0, kFloorY + height * 0.5f - 40, viewZ}, {0, 0, 1}, 1400, height));
    frame.append(makeBoxBetween({-kHalfWidth - 30, kFloorY, kMouthZ - 10}, {-kHalfWidth + 6, kCeilingY + 30, kMouthZ}));
    frame.append(makeBoxBetween({kHalfWidth - 6, kFloorY, kMouthZ - 10}, {kHalfWidth + 30, kCeilingY + 30, kMouthZ}));
    frame.append(makeBoxBetween({-kHalfWidth - 30, kCeilingY - 6, kMouthZ - 10}, {kHalfWidth + 30, kCeilingY + 30, kMouthZ}));
    // A light strip round the opening, on the frame's inner edges: the floodlit glare at the mouth.
    // Its top bar reaches down behind the sign's upper corners, so no pinhole of the dark beyond shows
    // between the sign and the posts.
    const float inner = kHalfWidth - 6, top = kCeilingY - 6, front = kMouthZ + 0.5f;
    strip.append(makeBoxBetween({-inner - kStripWidth, kFloorY, front - 2}, {-inner + 0.5f, top + 0.5f, front}));
    strip.append(makeBoxBetween({inner - 0.5f, kFloorY, front - 2}, {inner + kStripWidth, top + 0.5f, front}));
    strip.append(makeBoxBetween({-inner - kStripWidth, top - 4.0f, front - 2}, {inner + kStripWidth, top + kStripWidth, front}));
}

Shot runShot() {
    // A steady run with a slight bob, slowing a little into the mouth.
    Shot s;
    const int keys = 9;
    for (int i = 0; i <= keys; ++i) {
        float t = kRunSeconds * i / keys;
        float f = float(i) / keys;
        float z = lerp(kStartZ - 30, kMouthZ + 20, f * (1.15f - 0.15f * f));
        float bob = 3 * std::sin(f * 14);
        float sway = 6 * std::sin(f * 5);
        s.keys.push_back({t, {sway, bob, z}, {sway * 0.3f, bob * 0.5f - 4 + f * f * 70, z - 300}, 34 + 6 * f});
    }
    s.keys.push_back({kRunSeconds + 0.5f, {0, 2, kMouthZ + 15}, {0, 80, kMouthZ - 300}, 40});
    return s;
}

}  // namespace

SetDescription buildArenaTunnelScene() {
    SetDescription s;
    s.fileName = "ArenaTunnel.orvo";
    const std::string light = "arena_light.png";
    auto mat = [&](const char* name, const char* picture, Vec3 specular, float rough, float glow = 0, float refl = 0) {
        s.materials.push_back(makeMaterial(name, picture, light, specular, rough, glow, refl));
    };
    // A material lit by itself, with the light map "<name>_light.png" painted for its level.
    auto ownLit = [&](const std::string& name, const char* picture, OwnLight own) {
        const std::string lightMap = name + "_light.png";
        s.materials.push_back(makeMaterial(name, picture, lightMap, {0, 0, 0}, 1.0f, own.glowMask));
        s.pictures.push_back({lightMap, [own] { return paintOwnLight(own.level); }, content::PngChannels::Rgba});
    };
    mat("arena_walls", "arena_wall.png", {0.2f, 0.2f, 0.2f}, 0.6f);
    mat("arena_floor", "arena_floor.png", {0.5f, 0.5f, 0.5f}, 0.3f, 0, 0.1f);
    mat("arena_ceiling", "arena_ceiling.png", {0.1f, 0.1f, 0.1f}, 0.8f);
    mat("arena_panels", "tunnel_lamp.png", {1, 1, 1}, 0.2f, 1.0f);
    mat("arena_steel", "stadium_steel.png", {0.6f, 0.6f, 0.6f}, 0.3f);
    mat("arena_doors", "tv_body.png", {0.3f, 0.3f, 0.3f}, 0.5f);
    mat("banner_blue", "arena_banner1.png", {0.1f, 0.1f, 0.1f}, 0.7f);
    mat("banner_red", "arena_banner2.png", {0.1f, 0.1f, 0.1f}, 0.7f);
    mat("banner_black", "arena_banner3.png", {0.1f, 0.1f, 0.1f}, 0.7f);
    ownLit("arena_sign", "arena_sign.png", kSignLight);
    mat("arena_pitch", "stadium_pitch.png", {0.05f, 0.05f, 0.05f}, 0.9f, 0.3f);
    ownLit("arena_view", "arena_view.png", kViewLight);
    ownLit("arena_strip", "arena_strip.png", kStripLight);
    s.pictures.insert(s.pictures.end(), {
        {"arena_wall.png", paintArenaWall},
        {"arena_floor.png", paintArenaFloor},
        {"arena_ceiling.png", paintArenaCeiling},
        {"tunnel_lamp.png", paintTunnelLamp},
        {"tv_body.png", paintTvBody},
        {"arena_banner1.png", [] { return paintArenaBanner(0); }},
        {"arena_banner2.png", [] { return paintArenaBanner(1); }},
        {"arena_banner3.png", [] { return paintArenaBanner(2); }},
        {"arena_view.png", paintArenaView},
        {"arena_strip.png", [] { return content::Image(4, 4, rgb(0.5f, 0.55f, 0.6f)); }},
        {"arena_sign.png", paintArenaSign},
        {light, [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.6f, 0.6f, 0.66f)); }},
    });
    Mesh walls, floor, ceiling, panels, steel, doors, banners[3], sign, pitch, view, frame, strip;
    buildShell(walls, floor, ceiling);
    buildFittings(panels, steel, doors, banners, sign);
    buildView(pitch, view, frame, strip);
    s.add("arena_tunnel", "", "");
    s.add("walls", "arena_tunnel", "arena_walls", std::move(walls));
    s.add("floor", "arena_tunnel", "arena_floor", std::move(floor));
    s.add("ceiling", "arena_tunnel", "arena_ceiling", std::move(ceiling));
    s.add("light_panels", "arena_tunnel", "arena_panels", std::move(panels));
    s.add("rails", "arena_tunnel", "arena_steel", std::move(steel));
    s.add("doors", "arena_tunnel", "arena_doors", std::move(doors));
    s.add("banners_blue", "arena_tunnel", "banner_blue", std::move(banners[0]));
    s.add("banners_red", "arena_tunnel", "banner_red", std::move(banners[1]));
    s.add("banners_black", "arena_tunnel", "banner_black", std::move(banners[2]));
    s.add("mouth_sign", "arena_tunnel", "arena_sign", std::move(sign));
    s.add("mouth_frame", "arena_tunnel", "arena_walls", std::move(frame));
    s.add("mouth_light", "arena_tunnel", "arena_strip", std::move(strip));
    s.add("stadium_pitch", "arena_tunnel", "arena_pitch", std::move(pitch));
    s.add("stadium_view", "arena_tunnel", "arena_view", std::move(view));
    s.camera = sampleCameraPath({runShot()}, kRunSeconds, {1, 3000});
    return s;
}

}  // namespace zelFramework::scenegen
