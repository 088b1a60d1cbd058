// The texts of the toolkit's three built-in programs. They carry no #version line, so a prefix could
// still go in front; GLSL 1.10 with the fixed-function matrices and texture coordinates.
#pragma once

namespace zelFramework::gltkText {

// Passes texture coordinate 0 through and transforms with the fixed-function matrices.
inline constexpr const char* VERTEX = R"(
void main()
{
	gl_TexCoord[0] = gl_MultiTexCoord0;
	gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
)";

// Cross blur: seven binomial taps (1 6 15 20 15 6 1 / 64) along each axis, the centre sampled twice,
// the sum of weight 2 halved, then every channel raised to blurExponent.
inline constexpr const char* BLUR_FRAGMENT = R"(
uniform sampler2D diffuse_tex;
uniform float blur_intensity;
uniform float blurExponent;

void main()
{
	vec2 uv = gl_TexCoord[0].st;
	float d = 0.009 * blur_intensity;
	vec4 sum = vec4(0.0);
	sum += texture2D(diffuse_tex, uv + vec2(0.0, -3.0 * d)) * 0.015625;
	sum += texture2D(diffuse_tex, uv + vec2(0.0, -2.0 * d)) * 0.09375;
	sum += texture2D(diffuse_tex, uv + vec2(0.0, -1.0 * d)) * 0.234375;
	sum += texture2D(diffuse_tex, uv) * 0.3125;
	sum += texture2D(diffuse_tex, uv + vec2(0.0,  1.0 * d)) * 0.234375;
	sum += texture2D(diffuse_tex, uv + vec2(0.0,  2.0 * d)) * 0.09375;
	sum += texture2D(diffuse_tex, uv + vec2(0.0,  3.0 * d)) * 0.015625;
	sum += texture2D(diffuse_tex, uv + vec2(-3.0 * d, 0.0)) * 0.015625;
	sum += texture2D(diffuse_tex, uv + vec2(-2.0 * d, 0.0)) * 0.09375;
	sum += texture2D(diffuse_tex, uv + vec2(-1.0 * d, 0.0)) * 0.234375;
	sum += texture2D(diffuse_tex, uv) * 0.3125;
	sum += texture2D(diffuse_tex, uv + vec2( 1.0 * d, 0.0)) * 0.234375;
	sum += texture2D(diffuse_tex, uv + vec2( 2.0 * d, 0.0)) * 0.09375;
	sum += texture2D(diffuse_tex, uv + vec2( 3.0 * d, 0.0)) * 0.015625;
	gl_FragColor = pow(sum * 0.5, vec4(blurExponent));
}
)";

// Alpha-aware cross blur: the same taps at a tenth of the step; a tap whose alpha differs from the
// centre's by `threshold` or more drops out. The sum is halved, not renormalised.
inline constexpr const char* BLUR_THRESHOLD_FRAGMENT = R"(
uniform sampler2D diffuse_tex;
uniform float blur_intensity;
uniform float threshold;

vec4 alphaTap(vec2 uv, float centreAlpha, float weight)
{
	vec4 t = texture2D(diffuse_tex, uv);
	return t * weight * (1.0 - clamp(abs(centreAlpha - t.a) / threshold, 0.0, 1.0));
}

void main()
{
	vec2 uv = gl_TexCoord[0].st;
	float d = 0.0009 * blur_intensity;
	vec4 centre = texture2D(diffuse_tex, uv);
	float a = centre.a;
	vec4 sum = centre * 0.3125 * 2.0;
	sum += alphaTap(uv + vec2(0.0, -3.0 * d), a, 0.015625);
	sum += alphaTap(uv + vec2(0.0, -2.0 * d), a, 0.09375);
	sum += alphaTap(uv + vec2(0.0, -1.0 * d), a, 0.234375);
	sum += alphaTap(uv + vec2(0.0,  1.0 * d), a, 0.234375);
	sum += alphaTap(uv + vec2(0.0,  2.0 * d), a, 0.09375);
	sum += alphaTap(uv + vec2(0.0,  3.0 * d), a, 0.015625);
	sum += alphaTap(uv + vec2(-3.0 * d, 0.0), a, 0.015625);
	sum += alphaTap(uv + vec2(-2.0 * d, 0.0), a, 0.09375);
	sum += alphaTap(uv + vec2(-1.0 * d, 0.0), a, 0.234375);
	sum += alphaTap(uv + vec2( 1.0 * d, 0.0), a, 0.234375);
	sum += alphaTap(uv + vec2( 2.0 * d, 0.0), a, 0.09375);
	sum += alphaTap(uv + vec2( 3.0 * d, 0.0), a, 0.015625);
	gl_FragColor = sum * 0.5;
}
)";

// Depth-edge darkening: each of the four neighbours whose depth differs by more than 0.01 multiplies
// the colour by 0.6. Alpha is left unwritten.
inline constexpr const char* SMART_BLUR_FRAGMENT = R"(
uniform sampler2D depth_tex;
uniform sampler2D diffuse_tex;
uniform float xst;
uniform float yst;
uniform float blur_intensity;

void main()
{
	vec2 uv = gl_TexCoord[0].st;
	float depth = texture2D(depth_tex, uv).r;
	float factor = 1.0;
	if (abs(texture2D(depth_tex, uv + vec2( xst, 0.0)).r - depth) > 0.01) factor *= 0.6;
	if (abs(texture2D(depth_tex, uv + vec2(-xst, 0.0)).r - depth) > 0.01) factor *= 0.6;
	if (abs(texture2D(depth_tex, uv + vec2(0.0,  yst)).r - depth) > 0.01) factor *= 0.6;
	if (abs(texture2D(depth_tex, uv + vec2(0.0, -yst)).r - depth) > 0.01) factor *= 0.6;
	gl_FragColor.rgb = texture2D(diffuse_tex, uv).rgb * factor;
}
)";

}  // namespace zelFramework::gltkText
