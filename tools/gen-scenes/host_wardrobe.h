// The picture the two hosts wear. The stadium layer gives both host models one picture per frame of
// the broadcast clip, unlit; so each picture carries two things side by side:
//   left half  (u 0 .. 0.5): the clip itself, which the hosts' shirt fronts show like a screen;
//   right half (u 0.5 .. 1): one band per fabric or skin tone, each a ramp from its shadow colour to
//            its highlight, so that a vertex picks its shade of light by where its u falls in the band.
// The shading of the hosts is therefore baked into their texture coordinates (from a fixed studio
// key light), which keeps their bodies smoothly lit whatever the picture of the clip.
#pragma once

#include "geometry.h"
#include "image.h"

namespace zelFramework::scenegen {

constexpr int kHostPictureWidth = 512;
constexpr int kHostPictureHeight = 256;
constexpr int kClipSize = 256;  // the clip: the left 256 x 256 of the picture

enum class Cloth {
    SkinLight,
    SkinDeep,
    HairBrown,
    HairBlack,
    JacketViolet,
    JacketNavy,
    ShirtWhite,
    TrousersInk,
    TrousersSlate,
    ShoesWhite,
    ShoesBlack,
    Metal,
    Eye,
    Lips,
    Count
};

// Texture coordinate of `cloth` at brightness `shade` (0 = deepest shadow, 1 = full highlight).
Vec2 clothUV(Cloth cloth, float shade);

// Brightness of a surface with this (unit) normal in the hosts' own frame (they face +z) under the
// studio lights: a key from the front right and above, a soft fill from the left, light from above.
float studioShade(Vec3 normal);

// The full picture: `clip` (kClipSize square) on the left, the cloth ramps on the right.
content::Image paintHostPicture(const content::Image& clip);

// The colour a cloth has at a shade, as the ramp paints it (for the preview and the tests).
content::Rgba clothColour(Cloth cloth, float shade);

}  // namespace zelFramework::scenegen
