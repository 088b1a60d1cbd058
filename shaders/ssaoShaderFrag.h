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

const int SAMPLES = 14;
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
    float occlusion = 0.0;

    for (int i = 0; i < SAMPLES; i++) {
        // Fibonacci points on the hemisphere, denser towards the centre of the kernel.
        float fi = float(i);
        float z = (fi + 0.5) / float(SAMPLES);
        float ring = sqrt(1.0 - z * z);
        float angle = fi * 2.3999632;
        float scale = (fi + 1.0) / float(SAMPLES);
        scale = mix(0.1, 1.0, scale * scale);
        vec3 direction = vec3(ring * cos(angle), ring * sin(angle), z) * scale;

        vec3 samplePoint = p + (tangent * direction.x + bitangent * direction.y + n * direction.z) * radius;
        vec2 sampleUV = screenPosition(samplePoint);
        float sceneDistance = surfaceDistance(texture2D(normalMap, sampleUV));
        if (sceneDistance <= 0.0)
            continue;
        // Occluded when the visible surface at the sample's pixel lies in front of the sample; the
        // range check fades out occluders far in front, so silhouettes do not darken the background.
        float occluded = step(sceneDistance, -samplePoint.z - bias);
        float inRange = smoothstep(0.0, 1.0, radius / max(abs(distance - sceneDistance), 0.00001));
        occlusion += occluded * inRange;
    }

    float ao = clamp(1.0 - totStrength * occlusion / float(SAMPLES), 0.0, 1.0);
    gl_FragColor = vec4(ao);
}
