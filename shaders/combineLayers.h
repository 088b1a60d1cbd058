// Puts the second scene pass ("imageA", unit 0) over the first ("imageB", unit 1). The passes are drawn
// on a cleared black background and their alpha carries the glow mask, not coverage, so coverage is
// taken from brightness: black is empty, anything clearly lit covers what lies behind it. Both layers
// have been blurred already, so the key's soft edge follows the blur.
uniform sampler2D imageA;
uniform sampler2D imageB;

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec4 front = texture2D(imageA, uv);
    vec4 back = texture2D(imageB, uv);
    float coverage = clamp(max(front.r, max(front.g, front.b)) * 12.0, 0.0, 1.0);
    gl_FragColor = vec4(front.rgb + back.rgb * (1.0 - coverage), max(front.a, back.a));
}
