// One axis of the separable glow ("direction" scales the tap spacing along that axis; (0, 0) keeps the
// picture). Each texel contributes its colour weighted by its glow mask (alpha), and the result carries
// alpha 1, so the second pass, which reads this result, blurs it as it is.
uniform sampler2D colorBuffer;
uniform vec2 texelSize;
uniform vec2 direction;

const int TAPS = 7;
const float SPACING = 2.0;

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec3 sum = vec3(0.0);
    float weightSum = 0.0;
    for (int i = -TAPS; i <= TAPS; i++) {
        float offset = float(i);
        float weight = exp(-offset * offset / (2.0 * 16.0));
        vec4 tap = texture2D(colorBuffer, uv + direction * texelSize * offset * SPACING);
        sum += tap.rgb * tap.a * weight;
        weightSum += weight;
    }
    gl_FragColor = vec4(sum / weightSum, 1.0);
}
