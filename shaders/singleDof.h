// Depth of field as a gather over concentric rings of samples.
// "depth" (unit 0) holds the eye distance in w (0 = background, taken as infinitely far); "image" (unit 1)
// is the sharp picture; "focusMap" (unit 2) is one texel holding 1 / the focus distance, found once a
// frame by this same file built with FOCUS_ONLY: the nearest of five taps round the picture centre
// (autofocus on what the camera looks at, so a thin object there still takes the focus).
// With x = octaves(distance / focus distance):
//   the sharp zone reaches |dofFocusBackShift| octaves (and a little more) either side of the focus
//   distance, so the plane in focus is always sharp and the shift sets how deep the sharp space is;
//   circle of confusion = dofFocusRadius x clamp(octaves outside the zone, 0, 1) ^ dofFocusFalloff,
// so the falloff shapes how fast blur grows away from the zone (small values blur all but the zone),
// the radius is the largest blur (1.0 is 0.6 % of the picture height) and the quality the number of
// sample rings (1 to 3, of 6, 12 and 18 samples). Samples behind the centre may only blur into it by
// the centre's own circle, so a sharp foreground does not smear over a blurred background.
uniform sampler2D depth;
uniform sampler2D image;
uniform sampler2D focusMap;
uniform vec2 invTexSize;
uniform float dofFocusFalloff;
uniform float dofFocusBackShift;
uniform float dofFocusRadius;
uniform float dofFocusQuality;

const float FAR_AWAY = 1.0e6;
// The sharp zone's least half depth, in octaves (about 3.5 % of the distance either way).
const float FOCUS_TOLERANCE = 0.05;

// Taps fall between texels, and filtering mixes a surface with the empty background (all zero) by its
// coverage, which is also the length of the mixed normal: dividing by it gives the surface's distance
// back, and a mostly empty texel counts as background.
float eyeDistance(vec2 uv)
{
    vec4 g = texture2D(depth, uv);
    float coverage = length(g.xyz);
    return coverage > 0.5 ? g.w / coverage : FAR_AWAY;
}

#ifdef FOCUS_ONLY

void main()
{
    float focus = eyeDistance(vec2(0.5, 0.5));
    focus = min(focus, eyeDistance(vec2(0.47, 0.5)));
    focus = min(focus, eyeDistance(vec2(0.53, 0.5)));
    focus = min(focus, eyeDistance(vec2(0.5, 0.46)));
    focus = min(focus, eyeDistance(vec2(0.5, 0.54)));
    gl_FragColor = vec4(1.0 / focus);
}

#else

// What every tap needs to know about the centre pixel and the frame.
struct Centre {
    float distance;
    float coc;
    float inverseFocus;
    float rings;
    float reachScale;  // pixels per unit of relative circle: a tap's reach is judged to the pixel
    float nearEdge;  // the sharp zone in octaves from the focus
    float farEdge;
    float falloff;
};

// log2(a / b) through 2 atanh(r) / ln 2 with r = (a - b) / (a + b), to first order: exact near the
// focal plane, saturating at about 2.9 octaves for infinitely far, and free of transcendental calls,
// which this gather makes dozens of times per pixel. Here a / b = distance x inverseFocus.
float octaves(float distance, float inverseFocus)
{
    float ratio = distance * inverseFocus;
    return 2.8853901 * (ratio - 1.0) / (ratio + 1.0);
}

// Circle of confusion as a fraction of the largest blur (0 = sharp, 1 = dofFocusRadius).
float confusion(float distance, Centre c)
{
    float x = octaves(distance, c.inverseFocus);
    float outside = max(max(x - c.farEdge, c.nearEdge - x), 0.0);
    return pow(min(outside, 1.0), c.falloff);
}

// One tap at `offset` from the centre on a ring of relative radius `ringRadius`: it spreads into the
// centre when its own circle reaches that far, fading in over the last pixel; a tap behind the centre
// is limited by the centre's circle too. Judging the reach in ring steps instead would let a circle of
// a fraction of a pixel take in the first ring, several pixels away, and soften what is nearly in focus.
void gather(vec2 uv, vec2 offset, float ringRadius, Centre c, inout vec4 sum, inout float weightSum)
{
    vec2 tapUV = uv + offset;
    float tapDistance = eyeDistance(tapUV);
    float tapCoc = confusion(tapDistance, c);
    float coc = tapDistance > c.distance ? min(tapCoc, c.coc) : tapCoc;
    float weight = clamp((coc - ringRadius) * c.reachScale + 1.0, 0.0, 1.0);
    sum += texture2D(image, tapUV) * weight;
    weightSum += weight;
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    Centre c;
    // 1 / the focus distance; a far background (or a lost value) stays far.
    c.inverseFocus = max(texture2D(focusMap, vec2(0.5, 0.5)).r, 1.0 / FAR_AWAY);
    c.farEdge = abs(dofFocusBackShift) + FOCUS_TOLERANCE;
    c.nearEdge = -c.farEdge;
    c.falloff = max(dofFocusFalloff, 0.0001);
    c.rings = clamp(floor(dofFocusQuality + 0.5), 1.0, 3.0);
    c.distance = eyeDistance(uv);
    c.coc = confusion(c.distance, c);

    vec4 sum = texture2D(image, uv);
    float weightSum = 1.0;
    // Blur radius in texture units: 0.6 % of the picture height per unit of radius, so the look
    // does not change with the render size. Ring k has 6k taps, turned by half a step against the
    // ring inside it; only the radii follow the quality.
    float maxRadius = max(dofFocusRadius, 0.0) * 0.006;
    vec2 unit = vec2(maxRadius * invTexSize.x / max(invTexSize.y, 0.000001), maxRadius);
    // Below a pixel per ring step the pixel test would take in every ring at once: then ring steps.
    c.reachScale = max(maxRadius / max(invTexSize.y, 0.000001), c.rings);
    // Loops that leave at the quality's ring count rather than blocks switched off by it: a
    // software rasteriser runs a switched-off block anyway, so the rings the quality leaves out
    // would cost as much as the ones it uses. Every ring starts at 30 degrees and steps by a fixed
    // turn (60, 30 or 20 degrees).
    const int MAX_RINGS = 3;
    for (int ring = 1; ring <= MAX_RINGS; ring++) {
        if (float(ring) > c.rings)
            break;
        float ringRadius = float(ring) / c.rings;
        vec2 ringStep = unit * ringRadius;
        vec2 turn = ring == 1 ? vec2(0.5000000, 0.8660254)
                              : (ring == 2 ? vec2(0.8660254, 0.5000000) : vec2(0.9396926, 0.3420201));
        vec2 direction = vec2(0.8660254, 0.5000000);
        for (int k = 0; k < MAX_RINGS * 6; k++) {
            if (k >= ring * 6)
                break;
            gather(uv, direction * ringStep, ringRadius, c, sum, weightSum);
            direction = vec2(direction.x * turn.x - direction.y * turn.y, direction.x * turn.y + direction.y * turn.x);
        }
    }
    gl_FragColor = sum / weightSum;
}

#endif
