// Depth- and normal-aware Gaussian blur of the occlusion along one axis ("direction" (1, 0) or (0, 1)).
// "colorBuffer" (unit 0) is the occlusion, "gBuffer" (unit 1) the normal and eye distance. Taps across
// a depth step or a crease get no weight, so the noise of the occlusion goes while its edges stay.
// The result goes into every channel, so the composite can read it from alpha.
uniform sampler2D colorBuffer;
uniform sampler2D gBuffer;
uniform vec2 texelSize;
uniform vec2 direction;

// Weight of the taps of one side by their distance: exp(-offset^2 / (2 x 3^2)) for offsets 1 to 6.
const float SPATIAL_1 = 0.9459595;
const float SPATIAL_2 = 0.8007374;
const float SPATIAL_3 = 0.6065307;
const float SPATIAL_4 = 0.4111123;
const float SPATIAL_5 = 0.2493522;
const float SPATIAL_6 = 0.1353353;

// Distance of a filtered geometry texel: surface mixed with empty background is scaled back by its
// coverage (the mixed normal's length); a mostly empty texel is background (0).
float surfaceDistance(vec4 g)
{
    float coverage = length(g.xyz);
    return coverage > 0.5 ? g.w / coverage : 0.0;
}

// Adds one tap at `offset` texels along the direction, weighted by its distance (`spatial`) and by how
// far its depth and normal are from the centre's; a tap across a depth step or a crease gets none.
void addTap(vec2 uv, vec2 step, float offset, float spatial, vec3 centreNormal, float centreDistance,
            float depthTolerance, inout float sum, inout float weightSum)
{
    vec2 tapUV = uv + step * offset;
    vec4 geometry = texture2D(gBuffer, tapUV);
    float depthDifference = abs(surfaceDistance(geometry) - centreDistance) / depthTolerance;
    float facing = max(dot(geometry.xyz, centreNormal), 0.0);
    facing *= facing;
    facing *= facing;
    float weight = spatial * exp(-depthDifference * depthDifference) * facing * facing;  // facing^8
    sum += texture2D(colorBuffer, tapUV).a * weight;
    weightSum += weight;
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
    vec2 step = direction * texelSize;
    float sum = centreValue;
    float weightSum = 1.0;
    addTap(uv, step, -6.0, SPATIAL_6, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, -5.0, SPATIAL_5, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, -4.0, SPATIAL_4, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, -3.0, SPATIAL_3, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, -2.0, SPATIAL_2, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, -1.0, SPATIAL_1, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 1.0, SPATIAL_1, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 2.0, SPATIAL_2, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 3.0, SPATIAL_3, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 4.0, SPATIAL_4, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 5.0, SPATIAL_5, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    addTap(uv, step, 6.0, SPATIAL_6, centreNormal, centreDistance, depthTolerance, sum, weightSum);
    gl_FragColor = vec4(sum / weightSum);
}
