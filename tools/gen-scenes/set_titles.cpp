// The five feature titles: the words as extruded letters standing on a dark glossy floor, lit by
// the text layer's four lights. The layer's key light hangs in front of the words on the -z side,
// so the words face -z and the camera looks at them from there. Each letter drops in from above,
// one after the other, while the camera drifts past in 2.5 seconds.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "camera_path.h"
#include "draw.h"
#include "letters.h"
#include "pictures_common.h"
#include "sets.h"

namespace zelFramework::scenegen {

using content::hex;
using content::Image;
using content::rgb;

namespace {

constexpr float kEm = 40;         // letter height in scene units
constexpr float kDepth = 12;      // letter thickness
constexpr float kFloorY = -44;    // the floor the words stand over
constexpr float kDuration = 2.5f;
// The words keep this share of the picture free on every side for the whole drift, so that no
// letter is cut by the edge of the picture.
constexpr float kFrameMargin = 0.05f;

// Keys of one letter: hidden until it starts, then a fall from above with a half turn that eases
// out into its place, a small bounce, and rest.
std::vector<SceneKey> arrivalKeys(Vec3 pivot, float start) {
    std::vector<SceneKey> keys;
    auto key = [&](float t, float lift, float spin, bool visible) {
        SceneKey k;
        k.time = t * kSamplesPerSecond;
        k.translation = {0, lift, lift * 0.35f};
        k.rotatePivot = f3(pivot);
        k.scalePivot = f3(pivot);
        k.rotation = {0, spin, 0};  // the second angle turns about X: a forward tumble
        k.visible = visible ? 1 : 0;
        keys.push_back(k);
    };
    key(0, 140, -90, false);
    if (start > 0.01f) key(start - 0.01f, 140, -90, false);
    const float fall = 0.42f;
    for (int i = 0; i <= 6; ++i) {
        float f = i / 6.0f;
        float e = 1 - (1 - f) * (1 - f) * (1 - f);  // ease out
        key(start + f * fall, 140 * (1 - e), -90 * (1 - e), true);
    }
    key(start + fall + 0.08f, 4, 3, true);
    key(start + fall + 0.18f, 0, 0, true);
    return keys;
}

// Where `p` lands in the picture for a camera sample: x from 0 (left edge) to 1 (right edge), y from
// 0 (bottom) to 1 (top). False when it lies behind the eye.
bool pictureSpot(const SceneCameraSample& c, Vec3 p, Vec2& spot) {
    Vec3 eye{c.position.x, c.position.y, c.position.z};
    Vec3 forward = normalize({c.direction.x, c.direction.y, c.direction.z});
    Vec3 up = normalize({c.up.x, c.up.y, c.up.z});
    Vec3 right = normalize(cross(forward, up));
    up = cross(right, forward);
    Vec3 d = p - eye;
    float depth = dot(d, forward);
    if (depth <= 0) return false;
    float x = dot(d, right) / (depth * std::tan(radians(c.fovX) * 0.5f));
    float y = dot(d, up) / (depth * std::tan(radians(c.fovY) * 0.5f));
    spot = {0.5f + 0.5f * x, 0.5f + 0.5f * y};
    return true;
}

bool boxFitsEverySample(const std::vector<SceneCameraSample>& samples, Vec3 lo, Vec3 hi) {
    for (const SceneCameraSample& c : samples)
        for (int corner = 0; corner < 8; ++corner) {
            Vec3 p{corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z};
            Vec2 spot;
            if (!pictureSpot(c, p, spot)) return false;
            if (spot.x < kFrameMargin || spot.x > 1 - kFrameMargin || spot.y < kFrameMargin || spot.y > 1 - kFrameMargin)
                return false;
        }
    return true;
}

// The drift, pulled back along each key's line of sight just as far as the words' box needs to stay
// inside the picture with its margin (long titles are wider than the drift's first framing).
std::vector<SceneCameraSample> framedDrift(const Shot& drift, Vec3 lo, Vec3 hi) {
    const float length = kDuration + 0.25f;
    for (float distance = 1.0f; distance < 4.0f; distance *= 1.02f) {
        Shot pulled = drift;
        for (CameraKey& k : pulled.keys) k.eye = k.target + (k.eye - k.target) * distance;
        std::vector<SceneCameraSample> samples = sampleCameraPath({pulled}, length, {5, 3000});
        if (boxFitsEverySample(samples, lo, hi)) return samples;
    }
    return sampleCameraPath({drift}, length, {5, 3000});
}

Image paintFloor() {
    Image img(512, 512, rgb(0.09f, 0.09f, 0.11f));
    // Faint tiles, so that the floor reads as a surface and the reflections have something to sit on.
    for (int i = 0; i <= 8; ++i) {
        float p = i * 64.0f;
        content::fillRect(img, p - 1, 0, 2, 512, content::solid(rgb(0.16f, 0.16f, 0.2f)));
        content::fillRect(img, 0, p - 1, 512, 2, content::solid(rgb(0.16f, 0.16f, 0.2f)));
    }
    return img;
}

Image paintLetterSurface(uint32_t accent) {
    content::Rgba top = content::mix(hex(accent), rgb(1, 1, 1), 0.35f);
    content::Rgba bottom = content::mix(hex(accent), rgb(0, 0, 0), 0.35f);
    Image img(64, 256);
    content::fillAll(img, content::linearGradient({0, 0}, top, {0, 256}, bottom));
    return img;
}

}  // namespace

std::vector<TitleText> featureTitles() {
    return {
        {"No_Bigscreens_Just_Lasers.orvo", "NO BIGSCREENS", "JUST LASERS", 0x39d0ff},
        {"Quantum_Computing_Compo.orvo", "QUANTUM COMPUTING", "COMPO", 0xb06cff},
        {"8_Petabyte_Intro_Compo.orvo", "8 PETABYTE", "INTRO COMPO", 0xffb23a},
        {"Demoscene_Fashion_Show.orvo", "DEMOSCENE", "FASHION SHOW", 0xff4fa8},
        {"400_DJs_On_1200_Floors.orvo", "400 DJS ON", "1200 FLOORS", 0x5cff8a},
    };
}

SetDescription buildTitleScene(const TitleText& title, int index) {
    SetDescription s;
    s.fileName = title.fileName;
    char letterMaterial[64], letterPicture[64];
    std::snprintf(letterMaterial, sizeof letterMaterial, "title%d_letters", index + 1);
    std::snprintf(letterPicture, sizeof letterPicture, "title%d_letters.png", index + 1);

    s.materials.push_back(makeMaterial(letterMaterial, letterPicture, "title_light.png", {0.9f, 0.9f, 0.9f}, 0.25f,
                                       0.15f, 0.35f));
    s.materials.push_back(makeMaterial("title_floor", "title_floor.png", "title_light.png", {0.5f, 0.5f, 0.55f}, 0.15f,
                                       0, 0.25f));
    uint32_t accent = title.accent;
    s.pictures.push_back({letterPicture, [accent] { return paintLetterSurface(accent); }});
    s.pictures.push_back({"title_floor.png", paintFloor});
    s.pictures.push_back({"title_light.png", [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.55f, 0.55f, 0.62f)); }});

    s.add("title", "", "");
    s.add("floor", "title", "title_floor", makeGrid({0, kFloorY, 150}, 1400, 900, 14, 9));

    std::vector<LetterMesh> letters = extrudeLine(title.line1, kEm, kDepth, {0, 6, 0}, true);
    std::vector<LetterMesh> second = extrudeLine(title.line2, kEm, kDepth, {0, -38, 0}, true);
    for (LetterMesh& l : second) letters.push_back(std::move(l));
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const LetterMesh& l : letters)
        for (Vec3 p : l.mesh.positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
    for (size_t i = 0; i < letters.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "letter%02zu_%c", i, letters[i].character);
        SetObject& o = s.add(name, "title", letterMaterial, std::move(letters[i].mesh));
        o.keys = arrivalKeys(letters[i].centre, 0.05f + 0.045f * float(i));
    }

    // A slow drift across the words while they land, ending a little further back and lower.
    float side = index % 2 == 0 ? 1.0f : -1.0f;
    Shot drift;
    drift.keys = {
        {0.0f, {120 * side, 40, -300}, {10 * side, 2, 0}, 30},
        {1.25f, {40 * side, 22, -345}, {0, -2, 0}, 31},
        {2.5f, {-50 * side, 12, -390}, {-8 * side, -4, 0}, 32},
        {3.0f, {-85 * side, 9, -405}, {-11 * side, -5, 0}, 32},
    };
    s.camera = framedDrift(drift, lo, hi);
    return s;
}

}  // namespace zelFramework::scenegen
