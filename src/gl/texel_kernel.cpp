// Texel kernels of the blur passes, and the programs' texts that read them.
#include "gl/texel_kernel.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

namespace zelFramework {
namespace {

constexpr float BINOMIAL[7] = {1.0f / 64, 6.0f / 64, 15.0f / 64, 20.0f / 64, 15.0f / 64, 6.0f / 64, 1.0f / 64};

using Weights = std::map<std::pair<int, int>, float>;  // (row, column) -> weight

TexelKernel fromWeights(const Weights& weights) {
    TexelKernel kernel;
    for (const auto& [at, weight] : weights)
        if (weight != 0.0f)
            kernel.push_back({at.second, at.first, weight});
    return kernel;
}

Weights toWeights(const TexelKernel& kernel) {
    Weights weights;
    for (const TexelTap& t : kernel) weights[{t.dy, t.dx}] += t.weight;
    return weights;
}

// A filtered tap `offset` texels from a texel centre, along the line: the texel below it takes the
// weight left of the fraction, the next one the rest.
void addFilteredTap(Weights& weights, float offset, float weight, bool vertical) {
    const float below = std::floor(offset);
    const float fraction = offset - below;
    const int first = int(below);
    auto add = [&](int along, float w) {
        if (w != 0.0f)
            weights[vertical ? std::make_pair(along, 0) : std::make_pair(0, along)] += w;
    };
    add(first, weight * (1.0f - fraction));
    add(first + 1, weight * fraction);
}

// GLSL 1.10 takes no integer where a float belongs, so every number keeps a point or an exponent.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    std::string s = text;
    if (s.find_first_of(".en") == std::string::npos)
        s += ".0";
    return s;
}

}  // namespace

TexelKernel binomialLine(float stepTexels, bool vertical) {
    Weights weights;
    for (int k = -3; k <= 3; ++k) addFilteredTap(weights, float(k) * stepTexels, BINOMIAL[k + 3], vertical);
    return fromWeights(weights);
}

TexelKernel binomialCross(float stepX, float stepY) {
    return scaledAndMoved(kernelSum(binomialLine(stepX, false), binomialLine(stepY, true)), 0.5f, 0);
}

TexelKernel scaledAndMoved(const TexelKernel& kernel, float factor, int rows) {
    TexelKernel out = kernel;
    for (TexelTap& t : out) {
        t.weight *= factor;
        t.dy += rows;
    }
    return out;
}

TexelKernel kernelSum(const TexelKernel& a, const TexelKernel& b) {
    Weights weights = toWeights(a);
    for (const TexelTap& t : b) weights[{t.dy, t.dx}] += t.weight;
    return fromWeights(weights);
}

std::string kernelFragment(const std::vector<TexelKernel>& sums, float texelWidth, float texelHeight, float originY,
                           bool opaque) {
    // Each texel any sum reads is fetched once and goes into every sum that weighs it.
    std::map<std::pair<int, int>, std::vector<float>> texels;
    for (size_t s = 0; s < sums.size(); ++s)
        for (const TexelTap& t : sums[s]) {
            std::vector<float>& w = texels[{t.dy, t.dx}];
            w.resize(sums.size(), 0.0f);
            w[s] += t.weight;
        }

    std::string text = "uniform sampler2D diffuse_tex;\nuniform float blurExponent;\n";
    text += opaque ? "vec4 powered(vec4 s) { return blurExponent == 1.0 ? s : vec4(pow(s.rgb, vec3(blurExponent)), s.a); }\n"
                   : "vec4 powered(vec4 s) { return blurExponent == 1.0 ? s : pow(s, vec4(blurExponent)); }\n";
    text += "void main()\n{\n\tvec2 uv = gl_TexCoord[0].st;\n\tvec4 t;\n";
    for (size_t s = 0; s < sums.size(); ++s) text += "\tvec4 sum" + std::to_string(s) + " = vec4(0.0);\n";
    for (const auto& [at, weights] : texels) {
        const float x = float(at.second) * texelWidth, y = (float(at.first) + originY) * texelHeight;
        text += x == 0.0f && y == 0.0f ? "\tt = texture2D(diffuse_tex, uv);\n"
                                       : "\tt = texture2D(diffuse_tex, uv + vec2(" + number(x) + ", " + number(y) + "));\n";
        for (size_t s = 0; s < weights.size(); ++s)
            if (weights[s] != 0.0f)
                text += "\tsum" + std::to_string(s) + " += t * " + number(weights[s]) + ";\n";
    }
    if (sums.empty()) {
        text += "\tgl_FragColor = vec4(0.0);\n}\n";
        return text;
    }
    text += "\tgl_FragColor = (";
    for (size_t s = 0; s < sums.size(); ++s) text += (s ? " + powered(sum" : "powered(sum") + std::to_string(s) + ")";
    text += ") * " + number(1.0f / float(sums.size())) + ";\n}\n";
    return text;
}

}  // namespace zelFramework
