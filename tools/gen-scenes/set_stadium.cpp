// "Vexil2000.orvo": the stadium of the main part of the show. A football pitch at the bottom of a
// bowl of five stacked rings of stands closing in towards a roof ring, four floodlight masts, LED
// boards along every balcony front, and a broadcast deck hanging in front of the second ring where
// the stadium layer places its two characters and its studio light. The camera path runs on the
// layer's scene time (0 at 35.833 s of the show) to 84.2 s.
#include <cmath>
#include <cstdio>

#include "camera_path.h"
#include "human_figure.h"
#include "pictures_common.h"
#include "ring_band.h"
#include "sets.h"
#include "stadium_bowl.h"
#include "stadium_pictures.h"

namespace zelFramework::scenegen {

using content::rgb;

namespace {

constexpr float kDeckFloorY = -3185.013f;  // where the layer stands its first character
constexpr float kDeckFrontZ = -1340, kDeckBackZ = -1560;

struct RingMeshes {
    Mesh crowd, seats, stairs, concrete, boards, concourse;
};

UvRect crowdCell(int ring, int row, int segment) {
    uint32_t h = uint32_t(ring * 7919 + row * 104729 + segment * 1299709);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    int cell = int(h % 8);
    Vec2 lo{(cell % 2) * 0.5f, (cell / 2) * 0.25f};
    return {lo, {lo.x + 0.5f, lo.y + 0.25f}};
}

// Height of ring n's underside at radius r (it runs parallel to the rows, kFasciaDrop below them).
float soffitY(const StandRing& n, float r) {
    float t = (r - n.innerRadius) / (n.outerRadius() - n.innerRadius);
    return lerp(n.firstRowY - kFasciaDrop, n.topY() - kFasciaDrop, t);
}

void buildRing(int index, RingMeshes& m) {
    const auto& rings = standRings();
    const StandRing& r = rings[size_t(index)];
    for (int s = 0; s < kStandSegments; ++s) {
        float a0 = segmentAngle(s), a1 = segmentAngle(s + 1);
        float mid = (a0 + a1) * 0.5f;
        bool aisle = isAisleSegment(s);
        bool hidden = isBehindBroadcastDeck(index, mid);
        for (int k = 0; k < r.rows; ++k) {
            float front = r.innerRadius + k * r.rowDepth, back = front + r.rowDepth;
            float y = r.treadY(k);
            addBandSegment(aisle ? m.stairs : m.seats, {back, y}, {front, y}, a0, a1);
            if (k + 1 < r.rows)
                addBandSegment(aisle ? m.stairs : m.seats, {back, r.treadY(k + 1)}, {back, y}, a0, a1);
            if (!aisle && !hidden) {
                // The spectators sit at the back of their row, so every flash of the table (which
                // lies over the front 80 % of a row) is in front of them.
                float rm = front + r.rowDepth * kCrowdDepth;
                addBandSegment(m.crowd, {rm, y + 44}, {rm, y}, a0, a1, crowdCell(index, k, s));
            }
        }
        // Balcony front: LED boards on top, concrete below (the lowest ring's front is the pitch wall).
        float fasciaTop = r.firstRowY + 10;
        float fasciaBottom = index == 0 ? kPitchY : r.firstRowY - kFasciaDrop;
        float boardBottom = std::max(fasciaBottom, fasciaTop - 50);
        addBandSegment(m.boards, {r.innerRadius, fasciaTop}, {r.innerRadius, boardBottom}, a0, a1,
                       {{(s % 4) * 0.25f, 0}, {(s % 4) * 0.25f + 0.25f, 1}});
        if (boardBottom > fasciaBottom)
            addBandSegment(m.concrete, {r.innerRadius, boardBottom}, {r.innerRadius, fasciaBottom}, a0, a1);
        if (index > 0)
            addBandSegment(m.concrete, {r.innerRadius, fasciaBottom}, {r.outerRadius(), r.topY() - kFasciaDrop}, a0, a1);
        // Back wall up to the ring above (or to the roof ring), with a ceiling across when the ring
        // above ends further in.
        float wallTop, ceilingTo = -1;
        if (size_t(index) + 1 < rings.size()) {
            const StandRing& n = rings[size_t(index) + 1];
            if (r.outerRadius() <= n.outerRadius()) {
                wallTop = soffitY(n, r.outerRadius());
            } else {
                wallTop = n.topY() - kFasciaDrop;
                ceilingTo = n.outerRadius();
            }
        } else {
            wallTop = -880;
        }
        addBandSegment(m.concourse, {r.outerRadius(), wallTop}, {r.outerRadius(), r.topY()}, a0, a1);
        if (ceilingTo > 0) addBandSegment(m.concrete, {ceilingTo, wallTop}, {r.outerRadius(), wallTop}, a0, a1);
    }
}

// The roof ring over the top ring: a canopy whose underside carries a ring of floodlights and whose
// inner edge is one more LED band.
void buildRoofRing(Mesh& roof, Mesh& lamps, Mesh& boards) {
    const float inner = 800, outer = standRings().back().outerRadius(), bottom = -880, top = -820;
    for (int s = 0; s < kStandSegments; ++s) {
        float a0 = segmentAngle(s), a1 = segmentAngle(s + 1);
        addBandSegment(lamps, {inner + 20, bottom}, {inner + 110, bottom}, a0, a1);
        addBandSegment(roof, {inner + 110, bottom}, {outer, bottom}, a0, a1);
        addBandSegment(roof, {inner, bottom}, {inner + 20, bottom}, a0, a1);
        addBandSegment(boards, {inner, top}, {inner, bottom}, a0, a1, {{(s % 4) * 0.25f, 0}, {(s % 4) * 0.25f + 0.25f, 1}});
        addBandSegment(roof, {outer, top}, {inner, top}, a0, a1);
    }
}

// A lattice mast standing on the pitch's edge, its lamp head turned to the centre and tipped down.
void buildMast(float angle, Mesh& steel, Mesh& lamps) {
    Vec3 foot = onRing(940, kPitchY, angle);
    Vec3 inward = normalize(Vec3{-foot.x, 0, -foot.z});
    Vec3 side = normalize(cross({0, 1, 0}, inward));
    Mat4 frame = Mat4::basis(side, {0, 1, 0}, inward, foot);
    const float height = 1650, baseHalf = 26, topHalf = 14;
    auto corner = [&](int c, float y) {
        float h = lerp(baseHalf, topHalf, y / height);
        float sx = (c == 0 || c == 3) ? -h : h, sz = (c < 2) ? -h : h;
        return Vec3{sx, y, sz};
    };
    Mesh local;
    for (int c = 0; c < 4; ++c) local.append(makeTube({corner(c, 0), corner(c, height)}, 4, 6));
    for (float y = 0; y + 150 <= height; y += 150)
        for (int c = 0; c < 4; ++c) local.append(makeTube({corner(c, y), corner((c + 1) % 4, y + 150)}, 2, 5));
    steel.append(local, frame);
    // The head: a frame box with a face of lamps, tipped 25 degrees down towards the pitch.
    Mat4 head = frame * Mat4::translation({0, height + 60, 10}) * Mat4::rotationX(25);
    steel.append(makeBox({0, 0, -8}, {240, 140, 16}), head);
    Mesh face;
    face.addQuad({-110, -60, 1}, {110, -60, 1}, {110, 60, 1}, {-110, 60, 1});
    lamps.append(face, head);
}

void buildBroadcastDeck(Mesh& floor, Mesh& backdrop, Mesh& steel, Mesh& lamps) {
    floor.append(makeBoxBetween({-170, kDeckFloorY - 20, kDeckBackZ}, {170, kDeckFloorY, kDeckFrontZ}));
    backdrop.addQuad({-170, kDeckFloorY, kDeckBackZ + 6}, {170, kDeckFloorY, kDeckBackZ + 6},
                     {170, kDeckFloorY + 135, kDeckBackZ + 6}, {-170, kDeckFloorY + 135, kDeckBackZ + 6});
    steel.append(makeBoxBetween({-170, kDeckFloorY - 20, kDeckBackZ}, {170, kDeckFloorY + 140, kDeckBackZ + 5}));
    for (float x : {-172.0f, 166.0f})
        steel.append(makeBoxBetween({x, kDeckFloorY, kDeckBackZ}, {x + 6, kDeckFloorY + 140, kDeckBackZ + 110}));
    // Front rail on posts, struts down to the balcony front behind.
    steel.append(makeTube({{-170, kDeckFloorY + 38, kDeckFrontZ - 4}, {170, kDeckFloorY + 38, kDeckFrontZ - 4}}, 2.5f, 6));
    for (float x = -160; x <= 160; x += 40)
        steel.append(makeTube({{x, kDeckFloorY, kDeckFrontZ - 4}, {x, kDeckFloorY + 38, kDeckFrontZ - 4}}, 1.5f, 5));
    for (float x : {-130.0f, 130.0f})
        steel.append(makeTube({{x, kDeckFloorY - 20, kDeckFrontZ + 40}, {x, -3420, -1590}}, 7, 8));
    // The riser the second character stands on (8 units above the deck).
    Mesh riser = makeCylinder(30, kDeckFloorY, kDeckFloorY + 8, 24, true);
    steel.append(riser, Mat4::translation({-25.701f, 0, -1484.59f}));
    // A commentators' desk with two monitors off to the right, and the studio lamp at the front.
    steel.append(makeBoxBetween({80, kDeckFloorY, -1510}, {160, kDeckFloorY + 30, -1480}));
    for (float x : {95.0f, 135.0f}) {
        steel.append(makeBoxBetween({x - 14, kDeckFloorY + 30, -1500}, {x + 14, kDeckFloorY + 50, -1496}));
        lamps.addQuad({x - 12, kDeckFloorY + 32, -1495.9f}, {x + 12, kDeckFloorY + 32, -1495.9f},
                      {x + 12, kDeckFloorY + 48, -1495.9f}, {x - 12, kDeckFloorY + 48, -1495.9f});
    }
    Vec3 lamp{175.476f, kDeckFloorY, -1383.365f};
    steel.append(makeBoxBetween(lamp + Vec3{-9, 0, -9}, lamp + Vec3{9, 3, 9}));
    steel.append(makeBoxBetween(lamp + Vec3{-7, 3, -7}, lamp + Vec3{7, 11, 7}));
}

// The mouth of the players' tunnel under the lowest ring, where the camera comes in.
void buildTunnelMouth(Mesh& concrete, Mesh& dark) {
    concrete.append(makeBoxBetween({-95, kPitchY, 985}, {-75, kPitchY + 110, 1010}));
    concrete.append(makeBoxBetween({75, kPitchY, 985}, {95, kPitchY + 110, 1010}));
    concrete.append(makeBoxBetween({-95, kPitchY + 110, 985}, {95, kPitchY + 135, 1010}));
    dark.addQuad({75, kPitchY, 1009}, {-75, kPitchY, 1009}, {-75, kPitchY + 110, 1009}, {75, kPitchY + 110, 1009});
}

// Goal posts at both ends: a padded post, a crossbar and two uprights, in yellow.
void buildGoalPosts(Mesh& posts) {
    for (float side : {-1.0f, 1.0f}) {
        float x = side * 790;
        posts.append(makeTube({{x + side * 40, kPitchY, 0}, {x + side * 40, kPitchY + 110, 0}, {x, kPitchY + 130, 0}}, 4, 8));
        posts.append(makeTube({{x, kPitchY + 130, -75}, {x, kPitchY + 130, 75}}, 3, 8));
        for (float z : {-75.0f, 75.0f}) posts.append(makeTube({{x, kPitchY + 130, z}, {x, kPitchY + 330, z}}, 2.5f, 8));
    }
}

// The two teams lined up along the halfway line, facing the broadcast deck, for the anthem.
void buildLineUps(Mesh& home, Mesh& away) {
    Mesh player = buildFigure(Character::Pimsel);
    for (int team = 0; team < 2; ++team)
        for (int i = 0; i < 11; ++i) {
            float x = (team ? 40.0f : -40.0f) + (team ? 1 : -1) * i * 48.0f;
            float z = -60 + (i % 2) * 8.0f;
            Mat4 place = Mat4::translation({x, kPitchY, z}) * Mat4::rotationY(180 + (i % 3 - 1) * 6.0f) *
                         Mat4::scaling({40, 40, 40});
            (team ? away : home).append(player, place);
        }
}

std::vector<Shot> stadiumShots() {
    const float y0 = kPitchY;
    std::vector<Shot> shots;
    // Out of the tunnel mouth onto the pitch, rising as the bowl opens up.
    shots.push_back({{{0.0f, {0, y0 + 60, 1180}, {0, y0 + 60, 600}, 40},
                      {5.458f, {0, y0 + 62, 1010}, {0, y0 + 80, 400}, 40},
                      {8.5f, {30, y0 + 120, 700}, {0, y0 + 500, -600}, 44},
                      {12.0f, {120, y0 + 330, 380}, {-50, y0 + 1300, -900}, 48}}});
    // A crane move round the bowl.
    {
        Shot s;
        for (int i = 0; i <= 5; ++i) {
            float t = 12.0f + i * 1.9f;
            float a = 60.0f + i * 24.0f;
            Vec3 eye = onRing(720, y0 + 180 + i * 170, a);
            s.keys.push_back({t, eye, {0, y0 + 650 + i * 80, 0}, 46});
        }
        shots.push_back(s);
    }
    // From the middle of the pitch, looking up the stands to the roof ring.
    shots.push_back({{{21.5f, {40, y0 + 40, 120}, onRing(900, -1900, 200), 52},
                      {25.0f, {20, y0 + 45, 60}, onRing(900, -1700, 235), 52},
                      {29.0f, {0, y0 + 50, 0}, onRing(900, -1500, 275), 52}}});
    // High across the bowl, the crowd and its flashes below.
    shots.push_back({{{29.0f, {-700, -2350, 700}, {300, -3600, -600}, 44},
                      {33.0f, {-100, -2300, 300}, {500, -3400, -900}, 44},
                      {36.5f, {450, -2250, -150}, {700, -3300, -1300}, 44}}});
    // Along the top ring, close to its rows.
    {
        Shot s;
        for (int i = 0; i <= 4; ++i) {
            float t = 36.5f + i * 1.625f;
            Vec3 eye = onRing(690, -1150 + i * 10, 105 + i * 9);
            Vec3 target = onRing(1000, -1230, 138 + i * 9);
            s.keys.push_back({t, eye, target, 40});
        }
        shots.push_back(s);
    }
    // Across the void towards the broadcast deck.
    shots.push_back({{{43.0f, {-300, -3450, 600}, {0, -3150, -1470}, 42},
                      {46.0f, {-150, -3300, 50}, {0, -3140, -1470}, 40},
                      {49.0f, {-40, -3190, -800}, {0, -3135, -1475}, 36},
                      {52.07f, {0, -3140, -1250}, {0, -3135, -1478}, 32}}});
    // The characters: a two-shot, a close shot of each, a low two-shot pushing in.
    shots.push_back({{{52.07f, {-30, -3128, -1300}, {0, -3135, -1476}, 30},
                      {56.5f, {25, -3130, -1305}, {0, -3135, -1476}, 30}}});
    shots.push_back({{{56.5f, {62, -3118, -1390}, {25.7f, -3122, -1464}, 28},
                      {60.0f, {52, -3119, -1385}, {25.7f, -3123, -1464}, 28}}});
    shots.push_back({{{60.0f, {-68, -3112, -1410}, {-25.7f, -3115, -1484}, 28},
                      {63.5f, {-58, -3113, -1403}, {-25.7f, -3116, -1484}, 28}}});
    shots.push_back({{{63.5f, {35, -3178, -1320}, {0, -3125, -1476}, 34},
                      {66.87f, {12, -3175, -1375}, {0, -3122, -1478}, 34}}});
    // Back out into the bowl while the lights die, then up to the roof ring looking down.
    shots.push_back({{{66.87f, {0, -3120, -1330}, {0, -3135, -1480}, 36},
                      {70.0f, {0, -3060, -900}, {0, -3150, -1480}, 42},
                      {75.0f, {0, -2900, 100}, {0, -3250, -1480}, 48}}});
    shots.push_back({{{75.0f, {200, -2500, 450}, {0, -4300, -500}, 52},
                      {80.0f, {80, -1700, 250}, {0, -4350, -450}, 54},
                      {84.2f, {30, -1150, 120}, {0, -4400, -400}, 56}}});
    return shots;
}

}  // namespace

SetDescription buildStadiumScene() {
    SetDescription s;
    s.fileName = "Vexil2000.orvo";
    const std::string light = "stadium_light.png";
    auto mat = [&](const char* name, const char* picture, Vec3 specular, float rough, float glow = 0, float refl = 0) {
        s.materials.push_back(makeMaterial(name, picture, light, specular, rough, glow, refl));
    };
    mat("pitch", "stadium_pitch.png", {0.05f, 0.05f, 0.05f}, 0.9f);
    mat("apron", "stadium_apron.png", {0.05f, 0.05f, 0.05f}, 0.9f);
    mat("crowd", "stadium_crowd.png", {0.1f, 0.1f, 0.1f}, 0.8f);
    mat("seats", "stadium_seats.png", {0.3f, 0.3f, 0.3f}, 0.5f);
    mat("stairs", "stadium_stairs.png", {0.1f, 0.1f, 0.1f}, 0.9f);
    mat("concrete", "stadium_concrete.png", {0.1f, 0.1f, 0.1f}, 0.9f);
    mat("boards", "stadium_boards.png", {0.4f, 0.4f, 0.4f}, 0.3f, 0.8f);
    mat("concourse", "stadium_concourse.png", {0.3f, 0.3f, 0.3f}, 0.2f, 0.2f, 0.1f);
    mat("roof", "stadium_roof.png", {0.5f, 0.5f, 0.5f}, 0.4f, 0, 0.1f);
    mat("steel", "stadium_steel.png", {0.7f, 0.7f, 0.7f}, 0.3f, 0, 0.15f);
    mat("lamps", "stadium_lamps.png", {1, 1, 1}, 0.2f, 1.0f);
    mat("deck_floor", "stadium_stage.png", {0.6f, 0.6f, 0.7f}, 0.2f, 0, 0.2f);
    mat("backdrop", "stadium_backdrop.png", {0.2f, 0.2f, 0.2f}, 0.5f, 0.5f);
    mat("goal_posts", "stadium_goalpost.png", {0.5f, 0.5f, 0.3f}, 0.3f);
    mat("kit_home", "stadium_kit_home.png", {0.2f, 0.2f, 0.2f}, 0.6f);
    mat("kit_away", "stadium_kit_away.png", {0.2f, 0.2f, 0.2f}, 0.6f);
    s.pictures = {
        {"stadium_pitch.png", paintFootballPitch},
        {"stadium_apron.png", paintApron},
        {"stadium_crowd.png", paintCrowdAtlas},
        {"stadium_seats.png", paintSeatRow},
        {"stadium_stairs.png", paintStairs},
        {"stadium_concrete.png", paintConcrete},
        {"stadium_boards.png", paintLedBoards},
        {"stadium_concourse.png", paintConcourse},
        {"stadium_roof.png", paintRoofPanels},
        {"stadium_steel.png", paintSteel},
        {"stadium_lamps.png", paintFloodlightLamps},
        {"stadium_stage.png", paintStageFloor},
        {"stadium_backdrop.png", paintBroadcastBackdrop},
        {"stadium_goalpost.png", [] { return content::Image(16, 16, content::hex(0xf2c81c)); }},
        {"stadium_kit_home.png", [] { return paintTeamKit(0x1f4fd1, 0xf2f2f2); }},
        {"stadium_kit_away.png", [] { return paintTeamKit(0xd01c28, 0x1b1b22); }},
        {light, [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.62f, 0.62f, 0.68f)); }},
    };

    Mesh roof, lamps, boards, steel, deckFloor, backdrop, deckSteel, deckLamps, mouth, dark;
    buildRoofRing(roof, lamps, boards);
    for (int i = 0; i < 4; ++i) buildMast(45.0f + 90.0f * i, steel, lamps);
    buildBroadcastDeck(deckFloor, backdrop, deckSteel, deckLamps);
    buildTunnelMouth(mouth, dark);

    s.add("vexil", "", "");
    // The broadcast deck before the stands: seen from it, its backdrop and floor stand in front of
    // the stands and steel, so the depth test turns away what lies behind them before it is shaded.
    // Its parts keep their order among themselves (lamp faces, then the steel they sit on, then
    // the floor and backdrop that share faces with that steel), as the depth test settles ties
    // between touching faces by that order.
    s.add("deck_lamps", "vexil", "lamps", std::move(deckLamps));
    s.add("deck_steel", "vexil", "steel", std::move(deckSteel));
    s.add("deck_floor", "vexil", "deck_floor", std::move(deckFloor));
    s.add("deck_backdrop", "vexil", "backdrop", std::move(backdrop));
    s.add("pitch", "vexil", "pitch", makeGrid({0, kPitchY, 0}, 1560, 780, 24, 12));
    Mesh apron;
    for (int i = 0; i < 48; ++i) addBandSegment(apron, {1000, kPitchY - 1}, {0, kPitchY - 1}, i * 7.5f, (i + 1) * 7.5f);
    s.add("apron", "vexil", "apron", std::move(apron));

    for (int i = 0; i < int(standRings().size()); ++i) {
        RingMeshes m;
        buildRing(i, m);
        char name[32];
        auto add = [&](const char* part, const char* material, Mesh& mesh) {
            std::snprintf(name, sizeof name, "ring%d_%s", i + 1, part);
            s.add(name, "vexil", material, std::move(mesh));
        };
        add("crowd", "crowd", m.crowd);
        add("seats", "seats", m.seats);
        add("stairs", "stairs", m.stairs);
        add("structure", "concrete", m.concrete);
        add("boards", "boards", m.boards);
        add("concourse", "concourse", m.concourse);
    }
    s.add("roof_ring", "vexil", "roof", std::move(roof));
    s.add("roof_boards", "vexil", "boards", std::move(boards));
    s.add("floodlights", "vexil", "lamps", std::move(lamps));
    s.add("steelwork", "vexil", "steel", std::move(steel));
    s.add("tunnel_mouth", "vexil", "concrete", std::move(mouth));
    s.add("tunnel_dark", "vexil", "apron", std::move(dark));
    Mesh posts, home, away;
    buildGoalPosts(posts);
    buildLineUps(home, away);
    s.add("goal_posts", "vexil", "goal_posts", std::move(posts));
    s.add("team_home", "vexil", "kit_home", std::move(home));
    s.add("team_away", "vexil", "kit_away", std::move(away));

    s.camera = sampleCameraPath(stadiumShots(), 84.2f, {4, 9000});
    return s;
}

}  // namespace zelFramework::scenegen
