// Spread blur, fragment stage: a disc-shaped gather around each pixel.
// "intensity" (0..1) scales the disc's radius up to MAX_RADIUS of the picture width; "quality" sets the
// number of rings (3 at 1.0, at most 8), ring r holding 6 r taps, so quality 1.0 takes 37 samples.
// The picture read is the 640 x 360 scratch target, so the vertical radius is stretched by its aspect
// to keep the disc round.
uniform sampler2D diffuse_tex;
uniform float intensity;
uniform float quality;

varying vec2 pictureCoord;

const float MAX_RADIUS = 0.03;
const float SCRATCH_ASPECT = 640.0 / 360.0;
const int MAX_RINGS = 8;
const float TWO_PI = 6.2831853;

void main()
{
	int rings = int(clamp(floor(quality * 3.0 + 0.5), 1.0, float(MAX_RINGS)));
	vec2 radius = vec2(MAX_RADIUS, MAX_RADIUS * SCRATCH_ASPECT) * clamp(intensity, 0.0, 1.0);

	vec4 sum = texture2D(diffuse_tex, pictureCoord);
	float count = 1.0;
	for (int r = 1; r <= MAX_RINGS; ++r) {
		if (r > rings)
			break;
		float ringRadius = float(r) / float(rings);
		int taps = 6 * r;
		float tapAngle = TWO_PI / float(taps);
		// Each ring is turned by half a tap against the one inside it, so the taps do not line up.
		// The direction is turned tap by tap, so the trigonometry is paid per ring, not per tap.
		vec2 direction = vec2(cos(0.5 * float(r) * tapAngle), sin(0.5 * float(r) * tapAngle));
		float turnCos = cos(tapAngle);
		float turnSin = sin(tapAngle);
		vec2 ringExtent = radius * ringRadius;
		for (int s = 0; s < 6 * MAX_RINGS; ++s) {
			if (s >= taps)
				break;
			sum += texture2D(diffuse_tex, pictureCoord + ringExtent * direction);
			count += 1.0;
			direction = vec2(direction.x * turnCos - direction.y * turnSin, direction.x * turnSin + direction.y * turnCos);
		}
	}
	gl_FragColor = sum / count;
}
