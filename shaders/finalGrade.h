// Colour grading through a look-up table. The table is a 32 x 32 x 32 colour cube laid out as a
// 1024 x 32 strip of 32 tiles: tile b holds the blue level b, within it the column is the red level
// and the row the green level; the strip's first row is at texture coordinate t = 0. Red and green
// are interpolated by the texture filter inside a tile; blue is interpolated here between two tiles.
// Prefix defines: NO_GRADING draws the picture as it is (times the colour), without a table; VIGNETTE
// lays the vignette picture (unit 2) over the result by its alpha, as drawing it over the output
// with alpha blending would, in the same pass.
uniform sampler2D colorBuffer;
uniform sampler2D gradeBuffer;
#ifdef VIGNETTE
uniform sampler2D vignette;
#endif

const float LEVELS = 32.0;

vec3 lookUp(vec3 c, float blueTile)
{
    // Half a texel in from the tile edges, so the filter never mixes neighbouring tiles.
    float u = (c.r * (LEVELS - 1.0) + 0.5 + blueTile * LEVELS) / (LEVELS * LEVELS);
    float v = (c.g * (LEVELS - 1.0) + 0.5) / LEVELS;
    return texture2D(gradeBuffer, vec2(u, v)).rgb;
}

void main()
{
    vec4 colour = texture2D(colorBuffer, gl_TexCoord[0].st);
#ifdef NO_GRADING
    vec4 result = colour * gl_Color;
#else
    vec3 c = clamp(colour.rgb, 0.0, 1.0);
    float blue = c.b * (LEVELS - 1.0);
    float lower = floor(blue);
    float upper = min(lower + 1.0, LEVELS - 1.0);
    vec3 graded = mix(lookUp(c, lower), lookUp(c, upper), blue - lower);
    vec4 result = vec4(graded, 1.0) * gl_Color;
#endif
#ifdef VIGNETTE
    // The output holds the result clamped, as the window stores it, before the vignette goes on.
    vec4 shade = texture2D(vignette, gl_TexCoord[0].st);
    result.rgb = mix(clamp(result.rgb, 0.0, 1.0), shade.rgb, shade.a);
#endif
    gl_FragColor = result;
}
