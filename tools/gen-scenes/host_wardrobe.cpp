#include "host_wardrobe.h"

#include <algorithm>

namespace zelFramework::scenegen {

using content::hex;
using content::Rgba;

namespace {

constexpr int kBandHeight = 18;   // rows per cloth; texture lookups stay on the middle row
constexpr int kRampMargin = 8;    // texels kept flat at both ends of a ramp
constexpr int kRampStart = kClipSize + kRampMargin;
constexpr int kRampLength = kHostPictureWidth - kClipSize - 2 * kRampMargin;

// Base colours in the show's palette: violet and night blue jackets like the titles and slides,
// warm skin, ink trousers.
Rgba albedo(Cloth cloth) {
    switch (cloth) {
    case Cloth::SkinLight: return hex(0xe6b48e);
    case Cloth::SkinDeep: return hex(0xa8704c);
    case Cloth::HairBrown: return hex(0x4a2c1a);
    case Cloth::HairBlack: return hex(0x1c1716);
    case Cloth::JacketViolet: return hex(0x7a46d8);
    case Cloth::JacketNavy: return hex(0x24408f);
    case Cloth::ShirtWhite: return hex(0xeef0f6);
    case Cloth::TrousersInk: return hex(0x262b3d);
    case Cloth::TrousersSlate: return hex(0x4a5266);
    case Cloth::ShoesWhite: return hex(0xf2f2f2);
    case Cloth::ShoesBlack: return hex(0x1a1a1e);
    case Cloth::Metal: return hex(0x8d93a3);
    case Cloth::Eye: return hex(0x15110f);
    case Cloth::Lips: return hex(0xa8505a);
    case Cloth::Count: break;
    }
    return hex(0xff00ff);
}

}  // namespace

Vec2 clothUV(Cloth cloth, float shade) {
    shade = std::clamp(shade, 0.0f, 1.0f);
    const float x = kRampStart + shade * kRampLength;
    const float y = int(cloth) * kBandHeight + kBandHeight * 0.5f;
    return {x / kHostPictureWidth, y / kHostPictureHeight};
}

float studioShade(Vec3 n) {
    n = normalize(n);
    const Vec3 key = normalize({0.55f, 0.45f, 0.7f});
    const Vec3 fill = normalize({-0.8f, 0.1f, 0.55f});
    const float keyLight = std::max(dot(n, key), 0.0f);
    const float fillLight = std::max(dot(n, fill), 0.0f);
    const float sky = 0.5f + 0.5f * n.y;
    return std::clamp(0.06f + 0.78f * keyLight + 0.16f * fillLight + 0.1f * sky, 0.0f, 1.0f);
}

Rgba clothColour(Cloth cloth, float shade) {
    shade = std::clamp(shade, 0.0f, 1.0f);
    const Rgba a = albedo(cloth);
    // Shadows lean to the stadium's blue, highlights stay the cloth's own colour.
    const Rgba shadow = content::rgb(a.r * 0.22f, a.g * 0.24f, a.b * 0.32f + 0.03f);
    const Rgba light = content::rgb(std::min(a.r * 1.08f, 1.0f), std::min(a.g * 1.08f, 1.0f), std::min(a.b * 1.08f, 1.0f));
    return content::mix(shadow, light, shade * shade * (3 - 2 * shade) * 0.35f + shade * 0.65f);
}

content::Image paintHostPicture(const content::Image& clip) {
    content::Image img(kHostPictureWidth, kHostPictureHeight, content::rgb(0, 0, 0));
    for (int y = 0; y < kClipSize && y < clip.height; ++y)
        for (int x = 0; x < kClipSize && x < clip.width; ++x)
            img.at(x, y) = clip.at(x, y);
    for (int c = 0; c < int(Cloth::Count); ++c)
        for (int y = c * kBandHeight; y < (c + 1) * kBandHeight && y < kHostPictureHeight; ++y)
            for (int x = kClipSize; x < kHostPictureWidth; ++x) {
                const float shade = float(x - kRampStart) / kRampLength;
                img.at(x, y) = clothColour(Cloth(c), shade);
            }
    return img;
}

}  // namespace zelFramework::scenegen
