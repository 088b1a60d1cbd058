// "velmora-logo.orvo": the logo that turns in the closing tunnel. The word VELMORA in extruded
// letters about 2 units across, on a bar, with a ring behind it, centred on the origin so the tunnel
// layer can place and turn it. The layer keeps its own camera; the scene's path circles the logo.
#include <cmath>

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

Image paintChrome() {
    Image img(64, 256);
    content::fillAll(img, content::linearGradient({0, 0}, hex(0xc9cfdc), {0, 256}, hex(0x4a5568)));
    content::fillRect(img, 0, 120, 64, 10, content::solid(hex(0xe8ecf4)));
    return img;
}

Image paintAccent() {
    Image img(64, 64);
    content::fillAll(img, content::linearGradient({0, 0}, hex(0xff5b8a), {0, 64}, hex(0xb0144a)));
    return img;
}

}  // namespace

SetDescription buildLogoScene() {
    SetDescription s;
    s.fileName = "velmora-logo.orvo";
    s.materials.push_back(makeMaterial("logo_chrome", "logo_chrome.png", "logo_light.png", {0.6f, 0.6f, 0.6f}, 0.2f, 0.1f, 0.3f));
    s.materials.push_back(makeMaterial("logo_accent", "logo_accent.png", "logo_light.png", {1, 0.8f, 0.9f}, 0.2f, 0.6f, 0.3f));
    s.pictures = {
        {"logo_chrome.png", paintChrome},
        {"logo_accent.png", paintAccent},
        {"logo_light.png", [] { return paintSphereLight(rgb(1, 1, 1), rgb(0.5f, 0.52f, 0.6f)); }},
    };
    Mesh letters;
    for (LetterMesh& l : extrudeLine("VELMORA", 0.4f, 0.12f, {0, -0.12f, 0}, false)) letters.append(l.mesh);
    Mesh accent;
    accent.append(makeBoxBetween({-0.98f, -0.26f, -0.05f}, {0.98f, -0.2f, 0.05f}));
    // A thin ring standing behind the word.
    Mesh ring;
    const int pieces = 48;
    for (int i = 0; i < pieces; ++i) {
        float a0 = 2 * kPi * i / pieces, a1 = 2 * kPi * (i + 1) / pieces;
        ring.append(makeTube({{0.62f * std::cos(a0), 0.05f + 0.62f * std::sin(a0), -0.12f},
                              {0.62f * std::cos(a1), 0.05f + 0.62f * std::sin(a1), -0.12f}},
                             0.035f, 8));
    }
    accent.append(ring);
    s.add("velmora", "", "");
    s.add("letters", "velmora", "logo_chrome", std::move(letters));
    s.add("accent", "velmora", "logo_accent", std::move(accent));
    Shot orbit;
    for (int i = 0; i <= 8; ++i) {
        float a = radians(-40.0f + i * 10.0f);
        orbit.keys.push_back({i * 0.5f, {3.2f * std::sin(a), 0.4f, 3.2f * std::cos(a)}, {0, 0, 0}, 30});
    }
    s.camera = sampleCameraPath({orbit}, 4.0f, {0.1f, 500});
    return s;
}

}  // namespace zelFramework::scenegen
