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

// Plain copy of the picture on unit 0, for render-target copies.
inline constexpr const char* COPY_FRAGMENT = R"(
uniform sampler2D picture;

void main()
{
	gl_FragColor = texture2D(picture, gl_TexCoord[0].st);
}
)";

// Cross blur: seven binomial taps (1 6 15 20 15 6 1 / 64) along each axis, the sum of weight 2
// halved, then every channel raised to blurExponent. The centre belongs to both lines, so it is
// fetched once with both its weights (0.3125 x 2) and the halving folded into the weights; an
// exponent of exactly 1 skips the power. With OPAQUE_SOURCE defined alpha is left out of the power:
// the picture had no alpha, so every alpha is 1, the weights sum to exactly 1 and 1 to any power is
// 1 again, and the power of three channels costs three quarters of four.
inline constexpr const char* BLUR_FRAGMENT = R"(
uniform sampler2D diffuse_tex;
uniform float blur_intensity;
uniform float blurExponent;

void main()
{
	vec2 uv = gl_TexCoord[0].st;
	float d = 0.009 * blur_intensity;
	vec2 dx = vec2(d, 0.0);
	vec2 dy = vec2(0.0, d);
	vec4 sum = texture2D(diffuse_tex, uv) * 0.3125;
	sum += (texture2D(diffuse_tex, uv - dy) + texture2D(diffuse_tex, uv + dy)
	      + texture2D(diffuse_tex, uv - dx) + texture2D(diffuse_tex, uv + dx)) * 0.1171875;
	sum += (texture2D(diffuse_tex, uv - 2.0 * dy) + texture2D(diffuse_tex, uv + 2.0 * dy)
	      + texture2D(diffuse_tex, uv - 2.0 * dx) + texture2D(diffuse_tex, uv + 2.0 * dx)) * 0.046875;
	sum += (texture2D(diffuse_tex, uv - 3.0 * dy) + texture2D(diffuse_tex, uv + 3.0 * dy)
	      + texture2D(diffuse_tex, uv - 3.0 * dx) + texture2D(diffuse_tex, uv + 3.0 * dx)) * 0.0078125;
#ifdef OPAQUE_SOURCE
	gl_FragColor = blurExponent == 1.0 ? sum : vec4(pow(sum.rgb, vec3(blurExponent)), sum.a);
#else
	gl_FragColor = blurExponent == 1.0 ? sum : pow(sum, vec4(blurExponent));
#endif
}
)";

// One line of the binomial blur, along `blurStep` (texture units): seven taps [1,6,15,20,15,6,1]/64.
// A horizontal and a vertical line pass spread as much as two cross passes at a little over half
// the fetches, and keep one power per pass. With ROW_PAIR defined it draws a picture of half the
// height: each pixel is the mean of the line at the two rows it covers, `rowOffset` above and below,
// each raised to the power first, as the full-height pass would have raised them.
inline constexpr const char* BLUR_LINE_FRAGMENT = R"(
uniform sampler2D diffuse_tex;
uniform vec2 blurStep;
uniform float blurExponent;
uniform vec2 rowOffset;

vec4 line(vec2 uv)
{
	vec4 sum = texture2D(diffuse_tex, uv) * 0.3125;
	sum += (texture2D(diffuse_tex, uv - blurStep) + texture2D(diffuse_tex, uv + blurStep)) * 0.234375;
	sum += (texture2D(diffuse_tex, uv - 2.0 * blurStep) + texture2D(diffuse_tex, uv + 2.0 * blurStep)) * 0.09375;
	sum += (texture2D(diffuse_tex, uv - 3.0 * blurStep) + texture2D(diffuse_tex, uv + 3.0 * blurStep)) * 0.015625;
#ifdef OPAQUE_SOURCE
	return blurExponent == 1.0 ? sum : vec4(pow(sum.rgb, vec3(blurExponent)), sum.a);
#else
	return blurExponent == 1.0 ? sum : pow(sum, vec4(blurExponent));
#endif
}

void main()
{
	vec2 uv = gl_TexCoord[0].st;
#ifdef ROW_PAIR
	gl_FragColor = (line(uv - rowOffset) + line(uv + rowOffset)) * 0.5;
#else
	gl_FragColor = line(uv);
#endif
}
)";

// Prefix of the line program that draws the half-height picture from two rows at a time.
inline constexpr const char* ROW_PAIR_PREFIX = "#define ROW_PAIR\n";

// Prefixes of the glow's programs for a picture without alpha (see the cross blur above).
inline constexpr const char* OPAQUE_PREFIX = "#define OPAQUE_SOURCE\n";
inline constexpr const char* OPAQUE_ROW_PAIR_PREFIX = "#define ROW_PAIR\n#define OPAQUE_SOURCE\n";

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
