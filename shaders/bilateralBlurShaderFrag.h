// Depth- and normal-aware Gaussian blur of the occlusion along one axis ("direction" (1, 0) or (0, 1)).
// "colorBuffer" (unit 0) is the occlusion, "gBuffer" (unit 1) the normal and eye distance. Taps across
// a depth step or a crease get no weight, so the noise of the occlusion goes while its edges stay.
// The result goes into every channel, so the composite can read it from alpha.
uniform sampler2D colorBuffer;
uniform sampler2D gBuffer;
uniform vec2 texelSize;
uniform vec2 direction;

const int RADIUS = 6;

// Distance of a filtered geometry texel: surface mixed with empty background is scaled back by its
// coverage (the mixed normal's length); a mostly empty texel is background (0).
float surfaceDistance(vec4 g)
{
    float coverage = length(g.xyz);
    return coverage > 0.5 ? g.w / coverage : 0.0;
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec4 centreGeometry = texture2D(gBuffer, uv);
    float centreDistance = surfaceDistance(centreGeometry);
    float centreValue = texture2D(colorBuffer, uv).a;
    if (centreDistance <= 0.0) {
        gl_FragColor = vec4(centreValue);
        return;
    }

    vec3 centreNormal = centreGeometry.xyz;
    // Relative depth tolerance: the same for near and far surfaces.
    float depthTolerance = centreDistance * 0.02;
    float sum = centreValue;
    float weightSum = 1.0;

    for (int i = -RADIUS; i <= RADIUS; i++) {
        if (i == 0)
            continue;
        float offset = float(i);
        vec2 tapUV = uv + direction * texelSize * offset;
        vec4 geometry = texture2D(gBuffer, tapUV);
        float spatial = exp(-offset * offset / (2.0 * 9.0));
        float depthDifference = abs(surfaceDistance(geometry) - centreDistance) / depthTolerance;
        float depthWeight = exp(-depthDifference * depthDifference);
        float normalWeight = pow(max(dot(geometry.xyz, centreNormal), 0.0), 8.0);
        float weight = spatial * depthWeight * normalWeight;
        sum += texture2D(colorBuffer, tapUV).a * weight;
        weightSum += weight;
    }

    gl_FragColor = vec4(sum / weightSum);
}
