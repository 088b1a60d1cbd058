// A broken digital picture: horizontal strips pushed sideways and wobbling, rectangular blocks that
// show another part of the picture, and the colour channels pulled apart. Each amount is 0 for no
// effect; randOffset changes the pattern (the same offset always gives the same picture).
uniform sampler2D image;
uniform vec2 randOffset;
uniform float stripCount;                 // number of strips over the picture's height
uniform float stripTranslationIntensity;  // how far a strip may be pushed sideways
uniform float stripIntensity;             // how strongly a strip wobbles
uniform float blockCount;                 // blocks over the picture's height
uniform float blockWidth;                 // blocks over the picture's width
uniform float blockIntensity;             // how far a block's content is displaced
uniform float rgbDistortion;              // how far red and blue separate

float hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

vec2 strips(vec2 uv)
{
    if (stripCount < 1.0) return uv;
    float strip = floor(uv.y * stripCount);
    float pick = hash(vec2(strip, randOffset.x));
    // About a third of the strips move.
    if (pick > 0.66) {
        float push = hash(vec2(strip, randOffset.y)) - 0.5;
        uv.x += push * stripTranslationIntensity * 0.25;
        float inside = fract(uv.y * stripCount);
        uv.x += sin(inside * 18.0 + randOffset.y) * stripIntensity * 0.01;
    }
    return uv;
}

vec2 blocks(vec2 uv)
{
    if (blockCount < 1.0 || blockWidth < 1.0) return uv;
    vec2 cell = floor(uv * vec2(blockWidth, blockCount));
    float pick = hash(cell + randOffset);
    if (pick > 0.8) {
        vec2 jump = vec2(hash(cell + randOffset.yx), hash(cell - randOffset)) - 0.5;
        uv += jump * blockIntensity * 0.2;
    }
    return uv;
}

void main()
{
    vec2 uv = blocks(strips(gl_TexCoord[0].st));
    float split = rgbDistortion * 0.01 * (0.5 + hash(randOffset));
    vec3 c;
    c.r = texture2D(image, uv + vec2(split, 0.0)).r;
    c.g = texture2D(image, uv).g;
    c.b = texture2D(image, uv - vec2(split, 0.0)).b;
    gl_FragColor = vec4(c, 1.0) * gl_Color;
}
