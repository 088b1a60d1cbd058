// Screen-space ambient occlusion over a normal-oriented hemisphere.
// "normalMap" (unit 0) holds the view-space normal in xyz and the eye distance in w (0 = nothing drawn);
// "rnm" (unit 1) is a tiling noise picture whose texels are random directions that turn the kernel per
// pixel, so the fixed kernel's banding becomes noise the bilateral blur removes.
// The kernel scales with the distance, so the occlusion has the same size on screen at any distance
// and in scenes of any unit; "rad" sets that size, "totStrength" how dark full occlusion gets.
// The result goes into every channel; the composite reads it from alpha.
uniform sampler2D normalMap;
uniform sampler2D rnm;
uniform float rad;
uniform float totStrength;

const float SAMPLES = 14.0;
// The eye position is rebuilt from the distance with a nominal frustum; projecting back uses the same
// frustum, so the kernel stays consistent and the true field of view only stretches it a little.
const float TAN_HALF_FOV = 0.6;
const float NOISE_SIZE = 64.0;

vec3 eyePosition(vec2 uv, float distance)
{
    return vec3((uv * 2.0 - 1.0) * TAN_HALF_FOV * distance, -distance);
}

// Filtering mixes a surface with the empty background by its coverage, which is also the length of the
// mixed normal: dividing by it recovers the distance; a mostly empty texel is background (0).
float surfaceDistance(vec4 g)
{
    float coverage = length(g.xyz);
    return coverage > 0.5 ? g.w / coverage : 0.0;
}

vec2 screenPosition(vec3 eye)
{
    return eye.xy / (-eye.z * TAN_HALF_FOV) * 0.5 + 0.5;
}

// 1 when the kernel point `samplePoint` lies behind the visible surface at its pixel, faded out for
// occluders far in front, so that silhouettes do not darken the background.
float occlusionAt(vec3 samplePoint, float distance, float radius, float bias)
{
    float sceneDistance = surfaceDistance(texture2D(normalMap, screenPosition(samplePoint)));
    if (sceneDistance <= 0.0)
        return 0.0;
    float occluded = step(sceneDistance, -samplePoint.z - bias);
    float inRange = smoothstep(0.0, 1.0, radius / max(abs(distance - sceneDistance), 0.00001));
    return occluded * inRange;
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec4 centre = texture2D(normalMap, uv);
    float distance = surfaceDistance(centre);
    if (distance <= 0.0) {
        gl_FragColor = vec4(1.0);
        return;
    }

    vec3 n = normalize(centre.xyz);
    vec3 p = eyePosition(uv, distance);

    // Per-pixel random turn of the kernel about the normal (Gram-Schmidt on the noise vector).
    vec3 random = texture2D(rnm, gl_FragCoord.xy / NOISE_SIZE).xyz * 2.0 - 1.0;
    if (dot(random, random) < 0.0001)
        random = vec3(1.0, 0.0, 0.0);
    vec3 tangent = random - n * dot(random, n);
    if (dot(tangent, tangent) < 0.0001)
        tangent = abs(n.x) < 0.9 ? vec3(1.0, 0.0, 0.0) - n * n.x : vec3(0.0, 1.0, 0.0) - n * n.y;
    tangent = normalize(tangent);
    vec3 bitangent = cross(n, tangent);

    // The square root keeps the small radii some scenes use visible while large ones stay moderate.
    float radius = distance * 0.12 * sqrt(max(rad, 0.0));
    float bias = distance * 0.003;
    vec3 t = tangent * radius;
    vec3 b = bitangent * radius;
    n *= radius;

    // The kernel: Fibonacci points on the hemisphere, point i at height z = (i + 0.5) / 14 on the ring of
    // radius sqrt(1 - z^2), turned by i x 2.3999632 (the golden angle), scaled by mix(0.1, 1, ((i + 1) / 14)^2)
    // so that the points crowd towards the centre; as (tangent, bitangent, normal) components.
    float occlusion = 0.0;
    occlusion += occlusionAt(p + t * 0.1045251 + n * 0.0037354, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.0867780 + b * 0.0794957 + n * 0.0126822, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.0121570 - b * 0.1385225 + n * 0.0252369, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.1021941 + b * 0.1332939 + n * 0.0433673, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.2002883 - b * 0.0354281 + n * 0.0690415, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.2058555 - b * 0.1309485 + n * 0.1042274, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.0747262 + b * 0.2779790 + n * 0.1508928, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.1532933 - b * 0.2951563 + n * 0.2110058, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.3522447 + b * 0.1286389 + n * 0.2865343, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.3796653 + b * 0.1567206 + n * 0.3794461, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.1837993 - b * 0.3927688 + n * 0.4917092, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.1299297 + b * 0.4142360 + n * 0.6252916, distance, radius, bias);
    occlusion += occlusionAt(p - t * 0.3413323 - b * 0.1978081 + n * 0.7821610, distance, radius, bias);
    occlusion += occlusionAt(p + t * 0.2586863 - b * 0.0568720 + n * 0.9642857, distance, radius, bias);

    float ao = clamp(1.0 - totStrength * occlusion / SAMPLES, 0.0, 1.0);
    gl_FragColor = vec4(ao);
}
