// The blurred glow scaled by "glowIntensity", added onto the picture by blending (one, one); alpha 0
// leaves the picture's alpha as it is.
uniform sampler2D glow;  // unit 0
uniform float glowIntensity;

void main()
{
	gl_FragColor = vec4(texture2D(glow, gl_TexCoord[0].xy).rgb * glowIntensity, 0.0);
}
