// Lighting composite: the shaded colour of the geometry pass darkened by the blurred ambient
// occlusion. The occlusion is read from the alpha channel, where the blur writes it too: without
// occlusion the unit is left empty, and an empty unit reads as (0, 0, 0, 1), which is "no occlusion".
// The glow mask in the colour's alpha is passed on for the glow pass.
uniform sampler2D colorImage;        // unit 0: attachment 1 of the geometry target
uniform sampler2D ambientOcclusion;  // unit 1: the blurred occlusion, or nothing
uniform float aoExponent;

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec4 color = texture2D(colorImage, uv);
    float occlusion = clamp(texture2D(ambientOcclusion, uv).a, 0.0, 1.0);
    gl_FragColor = vec4(color.rgb * pow(occlusion, max(aoExponent, 0.0001)), color.a);
}
