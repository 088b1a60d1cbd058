// One axis of the separable glow ("direction" scales the tap spacing along that axis; (0, 0) keeps the
// picture). Each texel contributes its colour weighted by its glow mask (alpha), and the result carries
// alpha 1, so the second pass, which reads this result, blurs it as it is.
uniform sampler2D colorBuffer;
uniform vec2 texelSize;
uniform vec2 direction;

// Fifteen taps two texels apart, weighted by exp(-offset^2 / (2 x 4^2)) and normalised: the weights
// below are those values divided by their sum.
const float SPACING = 2.0;  // the renderer's GLOW_TAP_SPACING: it samples nearest when SPACING x radius is whole or half

// A texel's colour weighted by its glow mask.
vec3 glowOf(vec2 uv)
{
    vec4 tap = texture2D(colorBuffer, uv);
    return tap.rgb * tap.a;
}

#ifdef HALF_TEXEL_TAPS
// Built for a spacing x radius of a whole number and a half, read with nearest sampling: the odd
// taps fall halfway between two texels and take the mean of both, as the linear filter mixes them.
vec3 oddTap(vec2 uv)
{
    vec2 halfTexel = normalize(direction) * texelSize * 0.5;
    vec4 tap = (texture2D(colorBuffer, uv - halfTexel) + texture2D(colorBuffer, uv + halfTexel)) * 0.5;
    return tap.rgb * tap.a;
}
#else
vec3 oddTap(vec2 uv)
{
    return glowOf(uv);
}
#endif

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec2 step = direction * texelSize * SPACING;
    vec3 sum = glowOf(uv) * 0.1061154;
    sum += (oddTap(uv - step * 1.0) + oddTap(uv + step * 1.0)) * 0.1028506;
    sum += (glowOf(uv - step * 2.0) + glowOf(uv + step * 2.0)) * 0.0936465;
    sum += (oddTap(uv - step * 3.0) + oddTap(uv + step * 3.0)) * 0.0801001;
    sum += (glowOf(uv - step * 4.0) + glowOf(uv + step * 4.0)) * 0.0643622;
    sum += (oddTap(uv - step * 5.0) + oddTap(uv + step * 5.0)) * 0.0485832;
    sum += (glowOf(uv - step * 6.0) + glowOf(uv + step * 6.0)) * 0.0344506;
    sum += (oddTap(uv - step * 7.0) + oddTap(uv + step * 7.0)) * 0.0229491;
    gl_FragColor = vec4(sum, 1.0);
}
