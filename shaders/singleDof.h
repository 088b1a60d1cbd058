// Depth of field as a gather over concentric rings of samples.
// "depth" (unit 0) holds the eye distance in w (0 = background, taken as infinitely far); "image" (unit 1)
// is the sharp picture. Focus follows the picture centre (autofocus on what the camera looks at):
//   x = octaves(distance / focus distance) - dofFocusBackShift   (about the octaves from the focal
//                                                   plane; the shift moves that plane back, or forward if < 0)
//   circle of confusion = dofFocusRadius x clamp(|x|, 0, 1) ^ dofFocusFalloff
// so the falloff shapes how fast blur grows away from the plane (small values blur all but the plane),
// the radius is the largest blur (1.0 is 0.6 % of the picture height) and the quality the
// number of sample rings. Samples behind the centre may only blur into it by the centre's own circle,
// so a sharp foreground does not smear over a blurred background.
uniform sampler2D depth;
uniform sampler2D image;
uniform vec2 invTexSize;
uniform float dofFocusFalloff;
uniform float dofFocusBackShift;
uniform float dofFocusRadius;
uniform float dofFocusQuality;

const int MAX_RINGS = 3;
const float FAR_AWAY = 1.0e6;

// Taps fall between texels, and filtering mixes a surface with the empty background (all zero) by its
// coverage, which is also the length of the mixed normal: dividing by it gives the surface's distance
// back, and a mostly empty texel counts as background.
float eyeDistance(vec2 uv)
{
    vec4 g = texture2D(depth, uv);
    float coverage = length(g.xyz);
    return coverage > 0.5 ? g.w / coverage : FAR_AWAY;
}

// The nearest of five taps round the picture centre, so a thin object there still takes the focus.
float focusDistance()
{
    float focus = eyeDistance(vec2(0.5, 0.5));
    focus = min(focus, eyeDistance(vec2(0.47, 0.5)));
    focus = min(focus, eyeDistance(vec2(0.53, 0.5)));
    focus = min(focus, eyeDistance(vec2(0.5, 0.46)));
    return min(focus, eyeDistance(vec2(0.5, 0.54)));
}

// log2(a / b) through 2 atanh(r) / ln 2 with r = (a - b) / (a + b), to first order: exact near the
// focal plane, saturating at about 2.9 octaves for infinitely far, and free of transcendental calls,
// which this gather makes dozens of times per pixel.
float octaves(float distance, float focus)
{
    return 2.8853901 * (distance - focus) / (distance + focus);
}

// Circle of confusion as a fraction of the largest blur (0 = sharp, 1 = dofFocusRadius).
float confusion(float distance, float focus)
{
    float x = octaves(distance, focus) - dofFocusBackShift;
    return pow(clamp(abs(x), 0.0, 1.0), max(dofFocusFalloff, 0.0001));
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    float focus = focusDistance();
    float centreDistance = eyeDistance(uv);
    float centreCoc = confusion(centreDistance, focus);

    // Blur radius in texture units: 0.6 % of the picture height per unit of radius, so the look
    // does not change with the render size.
    float maxRadius = max(dofFocusRadius, 0.0) * 0.006;
    vec2 unit = vec2(maxRadius * invTexSize.x / max(invTexSize.y, 0.000001), maxRadius);
    int rings = int(clamp(floor(dofFocusQuality + 0.5), 1.0, float(MAX_RINGS)));

    vec4 sum = texture2D(image, uv);
    float weightSum = 1.0;
    for (int ring = 1; ring <= MAX_RINGS; ring++) {
        if (ring > rings)
            break;
        float ringRadius = float(ring) / float(rings);
        int count = ring * 6;
        for (int k = 0; k < MAX_RINGS * 6; k++) {
            if (k >= count)
                break;
            float angle = (float(k) + 0.5 * float(ring)) * 6.2831853 / float(count);
            vec2 tapUV = uv + vec2(cos(angle), sin(angle)) * unit * ringRadius;
            float tapDistance = eyeDistance(tapUV);
            float tapCoc = confusion(tapDistance, focus);
            // A tap spreads to the centre when its own circle reaches that far; a tap behind the centre
            // is limited by the centre's circle too.
            float coc = tapDistance > centreDistance ? min(tapCoc, centreCoc) : tapCoc;
            float weight = clamp((coc - ringRadius) * float(rings) + 1.0, 0.0, 1.0);
            sum += texture2D(image, tapUV) * weight;
            weightSum += weight;
        }
    }
    gl_FragColor = sum / weightSum;
}
