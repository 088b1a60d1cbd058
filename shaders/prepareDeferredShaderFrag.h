// Geometry pass, fragment stage. Writes two pictures:
//   gl_FragData[0] = view-space normal (xyz) and linear eye distance along the view axis (w); the
//                    occlusion, its blur and the depth of field read this. Background stays 0.
//   gl_FragData[1] = shaded colour (rgb) and the glow mask (a) the glow pass blooms from.
// Blended objects (aoEnable 0) leave the normal/depth picture as it is: they write 0, which both
// the additive and the alpha blend turn into "keep the destination", so they cast no occlusion.
// Prefix defines: REAL_LIGHT_MODEL (point lights with windowed inverse-square falloff, Blinn-Phong
// highlights) or SPHERICAL_HARMONICS_LIGHTING (an irradiance-map ambient plus soft wrapped lights),
// and REFLECTION (sphere-mapped environment on unit 2).

#ifdef GL_ARB_shader_texture_lod
#extension GL_ARB_shader_texture_lod : enable
#endif

struct PointLight {
    vec3 position;          // world space
    vec3 color;
    float falloffDistance;  // the light fades to nothing at this distance
};

const int MAX_LIGHTS = 8;
uniform PointLight lights[8];
uniform int numLights;
uniform mat4 viewMatrix;

uniform vec3 ambientLightColor;
uniform float lightIntensity;
uniform float radialLightFactor;
uniform float lightInfluence;
uniform float diffuseAddFactor;

uniform vec3 fogColor;
uniform float fogDistance;
uniform float fogStart;

uniform float aoEnable;
uniform float glowIntensity;

// Material values the scene drawing sends per object.
uniform float specularShininess;
uniform vec3 specularColor;
uniform float reflectionIntensity;

uniform sampler2D matCap;   // unit 0
uniform sampler2D diffuse;  // unit 1
uniform vec2 diffuseSize;   // its size in texels; (0, 0) reads it with one plain tap
#ifdef REFLECTION
uniform sampler2D reflectionMap;  // unit 2
#endif

varying vec3 viewPosition;
varying vec3 viewNormal;
varying vec2 surfaceUV;

// Smoothly windowed inverse-square falloff: physically shaped near the light, exactly 0 at the
// falloff distance so that a light never reaches past it.
float distanceFalloff(float distance, float falloffDistance)
{
    float ratio = distance / max(falloffDistance, 0.0001);
    float ratio2 = ratio * ratio;
    float window = clamp(1.0 - ratio2 * ratio2, 0.0, 1.0);
    float scaled = ratio * 4.0;
    return window * window / (1.0 + scaled * scaled);
}

// Leaves values up to `knee` as they are and bends everything above it smoothly towards `limit`
// (slope 1 at the knee, never reaching the limit), per channel.
vec3 softLimit(vec3 value, float knee, float limit)
{
    vec3 over = max(value - vec3(knee), vec3(0.0));
    return min(value, vec3(knee)) + over / (vec3(1.0) + over / (limit - knee));
}

#ifdef REAL_LIGHT_MODEL
// A highlight tighter than the spread of normals inside one pixel (thin bevels, curved edges seen
// from afar) would light some pixels and miss their neighbours. The spread of the normal across the
// pixel widens the lobe to what the pixel would average to (roughness filtering), expressed on the
// Blinn-Phong exponent through the usual mapping shininess = 2 / roughness^2 - 2.
float filteredShininess(vec3 n, float shininess)
{
    vec3 dx = dFdx(n);
    vec3 dy = dFdy(n);
    float spread = min(0.5 * (dot(dx, dx) + dot(dy, dy)), 0.18);
    float roughness2 = 2.0 / (shininess + 2.0) + spread;
    return max(2.0 / min(roughness2, 1.0) - 2.0, 1.0);
}
#endif

#ifdef SPHERICAL_HARMONICS_LIGHTING
// Second-order spherical-harmonics irradiance of a fixed outdoor sky (bright cool zenith, warm dim
// ground), evaluated for a world-space normal with Z up. The nine coefficients are the projection of
// that sky; the constants are the usual irradiance convolution factors.
vec3 skyIrradiance(vec3 n)
{
    const float c1 = 0.429043;
    const float c2 = 0.511664;
    const float c3 = 0.743125;
    const float c4 = 0.886227;
    const float c5 = 0.247708;
    vec3 L00 = vec3(0.62, 0.62, 0.66);
    vec3 L1m1 = vec3(0.02, 0.02, 0.03);
    vec3 L10 = vec3(0.30, 0.32, 0.40);
    vec3 L11 = vec3(0.04, 0.035, 0.03);
    vec3 L2m2 = vec3(0.01, 0.01, 0.01);
    vec3 L2m1 = vec3(0.03, 0.03, 0.04);
    vec3 L20 = vec3(-0.05, -0.05, -0.04);
    vec3 L21 = vec3(0.02, 0.02, 0.02);
    vec3 L22 = vec3(-0.02, -0.02, -0.03);
    return c1 * L22 * (n.x * n.x - n.y * n.y) + c3 * L20 * n.z * n.z + c4 * L00 - c5 * L20
         + 2.0 * c1 * (L2m2 * n.x * n.y + L21 * n.x * n.z + L2m1 * n.y * n.z)
         + 2.0 * c2 * (L11 * n.x + L1m1 * n.y + L10 * n.z);
}
#endif

// Up to this many taps along a slanted surface's footprint.
const float MAX_ALONG_TAPS = 8.0;

// The diffuse picture under this pixel. Seen at a slant (a floor running away, a wall beside the
// camera), the pixel covers a strip of texels many times longer than wide, and one trilinear tap
// takes the level that fits the strip's length: lines running away from the viewer fade into the
// floor. Here taps spread along the strip instead, each read at the level of the strip's width (or
// of its length shared among the taps), and are averaged. A footprint about as wide as long, or no
// larger than a texel, is one plain tap, so a picture drawn at its size shows exactly its texels.
vec4 diffuseTexel(vec2 uv)
{
    vec2 alongX = dFdx(uv), alongY = dFdy(uv);
#ifdef GL_ARB_shader_texture_lod
    float lengthX = length(alongX * diffuseSize), lengthY = length(alongY * diffuseSize);
    float longer = max(lengthX, lengthY), shorter = min(lengthX, lengthY);
    if (longer > 1.0 && longer > 1.5 * shorter) {
        vec2 major = lengthX > lengthY ? alongX : alongY;
        vec2 minor = lengthX > lengthY ? alongY : alongX;
        float taps = min(ceil(longer / max(shorter, 1.0e-6)), MAX_ALONG_TAPS);
        vec2 stride = major / taps;
        vec4 sum = vec4(0.0);
        for (float i = 0.0; i < MAX_ALONG_TAPS; i += 1.0) {
            if (i >= taps) break;
            sum += texture2DGradARB(diffuse, uv + stride * (i + 0.5 - 0.5 * taps), minor, stride);
        }
        return sum / taps;
    }
#endif
    return texture2D(diffuse, uv);
}

#ifdef DEPTH_ONLY
void main()
{
    gl_FragData[0] = vec4(0.0);
}
#else
void main()
{
    vec3 toEye = normalize(-viewPosition);
    // Across a thin smooth-shaded bevel the corner normals can point almost opposite ways, and their
    // interpolation passes through (nearly) zero: normalising that gives no direction at all, and the
    // occlusion and depth-of-field gathers would spread the undefined result into a cluster of dots.
    // Such a pixel faces the viewer instead.
    float normalLength2 = dot(viewNormal, viewNormal);
    vec3 n = normalLength2 > 1.0e-8 ? viewNormal * inversesqrt(normalLength2) : toEye;
    float opaque = step(0.5, aoEnable);

    vec4 diffuseSample = diffuseTexel(surfaceUV);
    vec3 base = diffuseSample.rgb + vec3(diffuseAddFactor);
    // Matcap: the view-space normal picks the texel, so the picture behaves like baked lighting. Its
    // alpha is how much of the scene's lights the surface takes: 1 (every three-channel light map)
    // lights it fully; 0 marks a surface that carries its own light, such as a backdrop painted as a
    // floodlit place or a lit sign, which then shows its picture times the light map's colour
    // whatever lights are near.
    vec4 matCapSample = texture2D(matCap, n.xy * 0.495 + 0.5);
    vec3 matCapColor = matCapSample.rgb;
    float sceneLightShare = lightInfluence * matCapSample.a;

    // A soft light from the viewer, strongest where the surface faces the camera.
    vec3 diffuseLight = ambientLightColor + vec3(radialLightFactor * 0.3 * max(dot(n, toEye), 0.0));
    vec3 specularLight = vec3(0.0);
    float shininess = max(specularShininess, 1.0);

    // The lights are given in world space. Rather than bring every light into eye space per pixel,
    // bring the pixel into world space once: viewMatrix is a rigid camera transform, so its inverse is
    // the transposed rotation (a vector multiplied from the left) after removing the translation.
    vec3 worldPosition = (vec4(viewPosition - viewMatrix[3].xyz, 0.0) * viewMatrix).xyz;
    vec3 worldNormal = (vec4(n, 0.0) * viewMatrix).xyz;
    vec3 worldToEye = (vec4(toEye, 0.0) * viewMatrix).xyz;

#ifdef SPHERICAL_HARMONICS_LIGHTING
    diffuseLight += max(skyIrradiance(normalize(worldNormal)), vec3(0.0)) * lightIntensity;
#endif

#ifdef REAL_LIGHT_MODEL
    float specularShininessHere = filteredShininess(n, shininess);
    float specularNormalisation = (specularShininessHere + 8.0) / 25.1327;
    float grazingFade = smoothstep(0.0, 0.25, dot(n, toEye));
#endif

    for (int i = 0; i < MAX_LIGHTS; i++) {
        // Leaving the loop (rather than skipping) lets the unused iterations cost nothing.
        if (i >= numLights)
            break;
        vec3 toLight = lights[i].position - worldPosition;
        float distanceSquared = dot(toLight, toLight);
        float reach = lights[i].falloffDistance;
        // Both falloffs are exactly 0 from the falloff distance on, so a light that far away adds
        // nothing here and its shading is not worth computing.
        if (distanceSquared >= reach * reach)
            continue;
        float distance = sqrt(distanceSquared);
        vec3 l = toLight / max(distance, 0.0001);
        vec3 radiance = lights[i].color * lightIntensity;
#ifdef REAL_LIGHT_MODEL
        float attenuation = distanceFalloff(distance, reach);
        float lambert = max(dot(worldNormal, l), 0.0);
        // The half vector; a light straight behind the surface, seen from the front, has none, and
        // normalize() of the zero vector is undefined (a NaN that the later gathers would spread).
        vec3 halfway = l + worldToEye;
        vec3 h = halfway * inversesqrt(max(dot(halfway, halfway), 1.0e-12));
        // Schlick's rational stand-in for pow(cos, shininess): the same lobe without the two
        // transcendental calls per light and pixel.
        float cosine = max(dot(worldNormal, h), 0.0);
        float highlight = cosine / (specularShininessHere - specularShininessHere * cosine + cosine);
        // Normalised Blinn-Phong weighted by the cosine at the light, so the highlight fades out
        // with the diffuse light towards the terminator instead of stopping at it.
        specularLight += radiance * (attenuation * lambert * highlight * specularNormalisation);
#else
        float attenuation = clamp(1.0 - distance / max(reach, 0.0001), 0.0, 1.0);
        float lambert = clamp(dot(worldNormal, l) * 0.5 + 0.5, 0.0, 1.0);
        lambert *= lambert;
#endif
        diffuseLight += radiance * attenuation * lambert;
    }

#ifdef REAL_LIGHT_MODEL
    // Surfaces seen edge-on keep their highlight out: there the interpolated normal swings past the
    // eye within a pixel and the highlight would land on every other pixel.
    specularLight *= grazingFade;
#endif

    vec3 lit = mix(vec3(1.0), diffuseLight, sceneLightShare);
    vec3 color = base * matCapColor * lit + softLimit(specularColor * specularLight * sceneLightShare, 0.5, 1.25);

#ifdef REFLECTION
    // Sphere-map lookup of the view-space reflection vector.
    vec3 r = reflect(-toEye, n);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    vec2 sphereUV = r.xy / max(m, 0.0001) + 0.5;
    color += texture2D(reflectionMap, sphereUV).rgb * reflectionIntensity;
#endif

    float distanceToEye = length(viewPosition);
    float fog = clamp((distanceToEye - fogStart) / max(fogDistance, 0.0001), 0.0, 1.0);
    color = mix(color, fogColor, fog);
    // No single pixel may outshine its surroundings by more than the later passes can smooth: the
    // anti-aliasing and the depth-of-field gather would spread one into a cluster of dots.
    color = softLimit(color, 1.0, 1.5);

    gl_FragData[0] = opaque * vec4(n, max(-viewPosition.z, 0.0001));
    gl_FragData[1] = vec4(color, mix(diffuseSample.a, glowIntensity, opaque));
}
#endif
