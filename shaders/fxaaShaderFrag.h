// Fast approximate anti-aliasing: find the local edge direction from the luma of the four diagonal
// neighbours, blur along it with two and four taps, and keep the wider blur only where it stays inside
// the neighbourhood's luma range (otherwise it crossed the edge). "w" and "h" are the picture size.
// The picture arrives on unit 0; its alpha (the glow mask) is carried through from the centre texel.
uniform sampler2D image;
uniform float w;
uniform float h;

const float REDUCE_MIN = 1.0 / 128.0;
const float REDUCE_MUL = 1.0 / 8.0;
const float SPAN_MAX = 8.0;

float luma(vec3 color)
{
    return dot(color, vec3(0.299, 0.587, 0.114));
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec2 texel = vec2(1.0 / max(w, 1.0), 1.0 / max(h, 1.0));

    vec4 centre = texture2D(image, uv);
    float lumaNW = luma(texture2D(image, uv + vec2(-1.0, -1.0) * texel).rgb);
    float lumaNE = luma(texture2D(image, uv + vec2(1.0, -1.0) * texel).rgb);
    float lumaSW = luma(texture2D(image, uv + vec2(-1.0, 1.0) * texel).rgb);
    float lumaSE = luma(texture2D(image, uv + vec2(1.0, 1.0) * texel).rgb);
    float lumaM = luma(centre.rgb);

    float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));

    // The edge runs across the luma gradient.
    vec2 dir = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    float dirReduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * 0.25 * REDUCE_MUL, REDUCE_MIN);
    float rcpDirMin = 1.0 / (min(abs(dir.x), abs(dir.y)) + dirReduce);
    dir = clamp(dir * rcpDirMin, vec2(-SPAN_MAX), vec2(SPAN_MAX)) * texel;

    vec3 rgbA = 0.5 * (texture2D(image, uv + dir * (1.0 / 3.0 - 0.5)).rgb
                     + texture2D(image, uv + dir * (2.0 / 3.0 - 0.5)).rgb);
    vec3 rgbB = rgbA * 0.5 + 0.25 * (texture2D(image, uv + dir * -0.5).rgb
                                   + texture2D(image, uv + dir * 0.5).rgb);
    float lumaB = luma(rgbB);

    vec3 result = (lumaB < lumaMin || lumaB > lumaMax) ? rgbA : rgbB;
    gl_FragColor = vec4(result, centre.a);
}
