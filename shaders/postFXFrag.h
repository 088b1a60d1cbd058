// Colour correction of the whole picture. Every parameter is neutral at 0, so a controller that is
// not keyed leaves the picture as it is:
//   blackPoint / whitePoint  move the ends of the input range in (0.1 maps 0.1 to black / 0.9 to white)
//   desaturate / saturate    pull the colour towards its grey level / push it away (0..1 each)
//   brightness               added to every channel
//   contrast                 steepens around mid grey by a factor 1 + contrast
//   fadeBlack / fadeWhite    mix the result towards black / white (1 = fully)
//   chromaDiff               samples red and blue apart, radially, like a cheap lens
//   exponent                 raises the picture to the power 1 + exponent (darker mid tones)
//   gamma                    gamma 1 + gamma (brighter mid tones)
uniform sampler2D colorBuffer;
uniform float blackPoint;
uniform float whitePoint;
uniform float desaturate;
uniform float saturate;
uniform float brightness;
uniform float contrast;
uniform float fadeBlack;
uniform float fadeWhite;
uniform float chromaDiff;
uniform float exponent;
uniform float gamma;

const vec3 LUMA = vec3(0.2126, 0.7152, 0.0722);

vec3 sampleWithFringes(vec2 uv)
{
    // The fringe grows towards the edges, where lenses show it.
    vec2 away = (uv - 0.5) * chromaDiff * 0.012;
    vec3 c;
    c.r = texture2D(colorBuffer, uv + away).r;
    c.g = texture2D(colorBuffer, uv).g;
    c.b = texture2D(colorBuffer, uv - away).b;
    return c;
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 c = chromaDiff != 0.0 ? sampleWithFringes(uv) : texture2D(colorBuffer, uv).rgb;

    float range = max(1.0 - blackPoint - whitePoint, 0.001);
    c = (c - vec3(blackPoint)) / range;

    float grey = dot(c, LUMA);
    c = mix(c, vec3(grey), clamp(desaturate, 0.0, 1.0));
    c = vec3(grey) + (c - vec3(grey)) * (1.0 + saturate);

    c = (c - vec3(0.5)) * (1.0 + contrast) + vec3(0.5) + vec3(brightness);

    // Powers need non-negative input; negative light has no meaning on screen anyway. A neutral
    // exponent or gamma (the show's usual state) leaves the picture as it is without a power.
    c = max(c, vec3(0.0));
    if (exponent != 0.0)
        c = pow(c, vec3(max(1.0 + exponent, 0.01)));
    if (gamma != 0.0)
        c = pow(c, vec3(1.0 / max(1.0 + gamma, 0.01)));

    c = mix(c, vec3(0.0), clamp(fadeBlack, 0.0, 1.0));
    c = mix(c, vec3(1.0), clamp(fadeWhite, 0.0, 1.0));
    gl_FragColor = vec4(c, 1.0);
}
