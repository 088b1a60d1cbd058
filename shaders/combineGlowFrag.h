// Adds the blurred glow to the picture, scaled by "glowIntensity".
uniform sampler2D color;  // unit 0
uniform sampler2D glow;   // unit 1
uniform float glowIntensity;

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec4 picture = texture2D(color, uv);
    gl_FragColor = vec4(picture.rgb + texture2D(glow, uv).rgb * glowIntensity, picture.a);
}
