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

// The frame's focus: the same for every pixel and every pass built from this file.
struct Focus {
    float inverseFocus;
    float nearEdge;  // the sharp zone in octaves from the focus
    float farEdge;
    float falloff;
};

Focus frameFocus()
{
    Focus f;
    // 1 / the focus distance; a far background (or a lost value) stays far.
    f.inverseFocus = max(texture2D(focusMap, vec2(0.5, 0.5)).r, 1.0 / FAR_AWAY);
    f.farEdge = abs(dofFocusBackShift) + FOCUS_TOLERANCE;
    f.nearEdge = -f.farEdge;
    f.falloff = max(dofFocusFalloff, 0.0001);
    return f;
}

// log2(a / b) through 2 atanh(r) / ln 2 with r = (a - b) / (a + b), to first order: exact near the
// focal plane, saturating at about 2.9 octaves for infinitely far, and free of transcendental calls,
// which this gather makes dozens of times per pixel. Here a / b = distance x inverseFocus.
float octaves(float distance, float inverseFocus)
{
    float ratio = distance * inverseFocus;
    return 2.8853901 * (ratio - 1.0) / (ratio + 1.0);
}

// The falloff's curve over 0..1. Built with FALLOFF_POWER n (a whole number 1 to 4, the value of
// dofFocusFalloff) the power is multiplied out instead of a pow per tap.
float falloffCurve(float x, float falloff)
{
#if defined(FALLOFF_POWER) && FALLOFF_POWER == 1
    return x;
#elif defined(FALLOFF_POWER) && FALLOFF_POWER == 2
    return x * x;
#elif defined(FALLOFF_POWER) && FALLOFF_POWER == 3
    return x * x * x;
#elif defined(FALLOFF_POWER) && FALLOFF_POWER == 4
    float square = x * x;
    return square * square;
#else
    return pow(x, falloff);
#endif
}

// Circle of confusion as a fraction of the largest blur (0 = sharp, 1 = dofFocusRadius). It only
// grows away from the sharp zone on either side, so over a span of distances it is largest at one
// of the span's ends.
float confusion(float distance, Focus f)
{
    float x = octaves(distance, f.inverseFocus);
    float outside = max(max(x - f.farEdge, f.nearEdge - x), 0.0);
    return falloffCurve(min(outside, 1.0), f.falloff);
}

// Pixels per side of the tiles the gather's reach is bounded over.
const float TILE = 8.0;

#if defined(TILE_BOUND)

// One tile of TILE x TILE pixels: the largest circle any tap can find among the texels a tap anchored
// in this tile may filter. A filtered tap is a weighted mean of 2 x 2 texels, each
// mass x (unit normal, distance); its distance is the mean of the distances weighted by mass,
// divided by the length of the mixed normal over the mass. So it lies between the nearest distance
// and the farthest divided by the least cosine between the normals, unless the mixed normal can
// drop to the coverage limit, when the tap reads as far background.
struct Texel {
    vec3 normal;
    float mass;
    float distance;
};

Texel texelAt(vec2 texel)
{
    // Read at the texel centre with nearest sampling (the caller sets it), so this is the texel as stored.
    vec4 g = texture2D(depth, (texel + 0.5) * invTexSize);
    Texel t;
    t.mass = length(g.xyz);
    t.normal = t.mass > 0.0 ? g.xyz / t.mass : vec3(0.0);
    t.distance = t.mass > 0.0 ? g.w / t.mass : FAR_AWAY;
    return t;
}

// Widens [nearest, farthest] by the distances a tap filtering these four texels can read.
void spanOfFootprint(Texel a, Texel b, Texel c, Texel d, inout float nearest, inout float farthest)
{
    // Any unit direction bounds the mixed normal's length from below; the mean normal's is the closest.
    vec3 sum = a.normal + b.normal + c.normal + d.normal;
    vec3 mean = sum / max(length(sum), 1.0e-6);
    float cosine = min(min(dot(a.normal, mean), dot(b.normal, mean)), min(dot(c.normal, mean), dot(d.normal, mean)));
    float leastMass = min(min(a.mass, b.mass), min(c.mass, d.mass));
    nearest = min(nearest, min(min(a.distance, b.distance), min(c.distance, d.distance)));
    // A margin over the coverage limit for the filter's rounding.
    float far = cosine * leastMass > 0.51 ? max(max(a.distance, b.distance), max(c.distance, d.distance)) / cosine
                                          : FAR_AWAY;
    farthest = max(farthest, far);
}

void main()
{
    Focus f = frameFocus();
    vec2 origin = floor(gl_FragCoord.xy) * TILE;
    float nearest = FAR_AWAY;
    float farthest = 0.0;
    // Every 2 x 2 footprint whose lower left texel lies in the tile, walked a column at a time.
    for (int row = 0; row < int(TILE); row++) {
        float y = origin.y + float(row);
        Texel leftLow = texelAt(vec2(origin.x, y));
        Texel leftHigh = texelAt(vec2(origin.x, y + 1.0));
        for (int column = 1; column <= int(TILE); column++) {
            float x = origin.x + float(column);
            Texel rightLow = texelAt(vec2(x, y));
            Texel rightHigh = texelAt(vec2(x, y + 1.0));
            spanOfFootprint(leftLow, rightLow, leftHigh, rightHigh, nearest, farthest);
            leftLow = rightLow;
            leftHigh = rightHigh;
        }
    }
    float largest = max(confusion(nearest * 0.999, f), confusion(min(farthest * 1.001, FAR_AWAY), f));
    // Rounded up past the rounding of the half-float target and of the taps' own arithmetic. A tile
    // wholly inside the sharp zone (with the distances' margin) stays exactly 0: every tap there has
    // no circle at all, which matters where the first ring takes in any circle above 0 (a blur of
    // less than a pixel per ring).
    gl_FragColor = vec4(largest > 0.0 ? largest * 1.002 + 0.002 : 0.0);
}

#elif defined(TILE_REACH)

// The largest bound of the tiles within reachTiles of this one (unit 0 holds the per-tile bounds):
// what a tap of any pixel here can see.
uniform sampler2D tileBounds;
uniform vec2 invTileCount;
uniform float reachTiles;

const int MOST_REACH_TILES = 8;

void main()
{
    vec2 tile = floor(gl_FragCoord.xy);
    int reach = int(reachTiles);
    float largest = 0.0;
    for (int dy = -MOST_REACH_TILES; dy <= MOST_REACH_TILES; dy++) {
        if (dy < -reach)
            continue;
        if (dy > reach)
            break;
        for (int dx = -MOST_REACH_TILES; dx <= MOST_REACH_TILES; dx++) {
            if (dx < -reach)
                continue;
            if (dx > reach)
                break;
            largest = max(largest, texture2D(tileBounds, (tile + vec2(float(dx), float(dy)) + 0.5) * invTileCount).r);
        }
    }
    gl_FragColor = vec4(largest);
}

#else

// The largest circle any tap of this pixel's tile can have (unit 3, one texel per tile): rings it
// cannot reach are not gathered.
uniform sampler2D reachMap;
uniform vec2 reachMapScale;

// What every tap needs to know about the centre pixel and the frame.
struct Centre {
    float distance;
    float coc;
    float rings;
    float reachScale;  // pixels per unit of relative circle: a tap's reach is judged to the pixel
    Focus focus;
};

// One tap at `offset` from the centre on a ring of relative radius `ringRadius`: it spreads into the
// centre when its own circle reaches that far, fading in over the last pixel; a tap behind the centre
// is limited by the centre's circle too. Judging the reach in ring steps instead would let a circle of
// a fraction of a pixel take in the first ring, several pixels away, and soften what is nearly in focus.
float tapWeight(float coc, float ringRadius, float reachScale)
{
    return clamp((coc - ringRadius) * reachScale + 1.0, 0.0, 1.0);
}

void gather(vec2 uv, vec2 offset, float ringRadius, Centre c, inout vec4 sum, inout float weightSum)
{
    vec2 tapUV = uv + offset;
    float tapDistance = eyeDistance(tapUV);
    float tapCoc = confusion(tapDistance, c.focus);
    float coc = tapDistance > c.distance ? min(tapCoc, c.coc) : tapCoc;
    float weight = tapWeight(coc, ringRadius, c.reachScale);
    sum += texture2D(image, tapUV) * weight;
    weightSum += weight;
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    Centre c;
    c.focus = frameFocus();
    c.rings = clamp(floor(dofFocusQuality + 0.5), 1.0, 3.0);
    c.distance = eyeDistance(uv);
    c.coc = confusion(c.distance, c.focus);
    float reach = texture2D(reachMap, gl_FragCoord.xy * reachMapScale).r;

    vec4 sum = texture2D(image, uv);
    float weightSum = 1.0;
    // Blur radius in texture units: 0.6 % of the picture height per unit of radius, so the look
    // does not change with the render size. Ring k has 6k taps, turned by half a step against the
    // ring inside it; only the radii follow the quality.
    float maxRadius = max(dofFocusRadius, 0.0) * 0.006;
    vec2 unit = vec2(maxRadius * invTexSize.x / max(invTexSize.y, 0.000001), maxRadius);
    // Below a pixel per ring step the pixel test would take in every ring at once: then ring steps.
    c.reachScale = max(maxRadius / max(invTexSize.y, 0.000001), c.rings);
    // Loops that leave at the quality's ring count, and at the first ring that no circle within
    // reach of the tile gets to (every tap of it would weigh 0), rather than blocks switched off: a
    // software rasteriser runs a switched-off block anyway, but stops a loop that every pixel of
    // the block has left, and the tiles are aligned to its blocks. Every ring starts at 30 degrees
    // and steps by a fixed turn (60, 30 or 20 degrees).
    const int MAX_RINGS = 3;
    for (int ring = 1; ring <= MAX_RINGS; ring++) {
        float ringRadius = float(ring) / c.rings;
        if (float(ring) > c.rings || tapWeight(reach, ringRadius, c.reachScale) <= 0.0)
            break;
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

#endif
