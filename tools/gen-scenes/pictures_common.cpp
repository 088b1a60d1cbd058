#include "pictures_common.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace zelFramework::scenegen {

using content::Image;
using content::Rgba;

Image paintSphereLight(Rgba centre, Rgba rim, int size) {
    Image img(size, size, rim);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // The file's row 0 is texture coordinate v = 0, which the lookup reaches for normals
            // pointing down (n.y = -1); upward normals read the last row.
            float nx = (x + 0.5f) / size * 2 - 1, ny = (y + 0.5f) / size * 2 - 1;
            float r2 = std::min(nx * nx + ny * ny, 1.0f);
            float nz = std::sqrt(1 - r2);
            float t = 0.35f + 0.65f * nz + 0.12f * ny;
            t = std::clamp(t, 0.0f, 1.0f);
            img.at(x, y) = content::mix(rim, centre, t);
        }
    return img;
}

Image paintNoisy(int w, int h, Rgba base, Rgba other, float cells, uint32_t seed, int octaves) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float n = content::fractalNoise(x * cells / w, y * cells / h, octaves, seed);
            img.at(x, y) = content::mix(base, other, n);
        }
    return img;
}

Image paintOwnLight(float level) { return Image(4, 4, content::rgb(level, level, level, 0)); }

}  // namespace zelFramework::scenegen
