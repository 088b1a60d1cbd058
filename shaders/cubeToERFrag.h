// Polar panorama from the six cube faces. The texture coordinate s is the azimuth (0..1 once round),
// t runs from 1 at the picture centre (straight up, +Z) to 0 at the rim (straight down).
// The faces were rendered with their own look-at views, which do not match the cube-map conventions,
// so the world direction is first projected into the face that was actually rendered for it, and that
// face's image position is then turned into the cube-map direction that samples the same texel.
uniform samplerCube img;

// Face f was rendered looking along forward with the given up; right = forward x up.
void faceFrame(int f, out vec3 forward, out vec3 up)
{
    if (f == 0) { forward = vec3(1.0, 0.0, 0.0); up = vec3(0.0, 0.0, 1.0); }
    else if (f == 1) { forward = vec3(-1.0, 0.0, 0.0); up = vec3(0.0, 0.0, 1.0); }
    else if (f == 2) { forward = vec3(0.0, 1.0, 0.0); up = vec3(0.0, 0.0, 1.0); }
    else if (f == 3) { forward = vec3(0.0, -1.0, 0.0); up = vec3(0.0, 0.0, 1.0); }
    else if (f == 4) { forward = vec3(0.0, 0.0, -1.0); up = vec3(0.0, 1.0, 0.0); }
    else { forward = vec3(0.0, 0.0, 1.0); up = vec3(0.0, -1.0, 0.0); }
}

// The cube-map direction that reads image position (x, y) in [-1, 1] of the texture face f
// (GL_TEXTURE_CUBE_MAP_POSITIVE_X + f), whose rows were written bottom-up by the render target.
vec3 cubeDirection(int f, float x, float y)
{
    if (f == 0) return vec3(1.0, -y, -x);
    if (f == 1) return vec3(-1.0, -y, x);
    if (f == 2) return vec3(x, 1.0, y);
    if (f == 3) return vec3(x, -1.0, -y);
    if (f == 4) return vec3(x, -y, 1.0);
    return vec3(-x, -y, -1.0);
}

void main()
{
    float azimuth = gl_TexCoord[0].s * 6.2831853;
    float polar = (1.0 - gl_TexCoord[0].t) * 3.1415927;
    vec3 d = vec3(sin(polar) * cos(azimuth), sin(polar) * sin(azimuth), cos(polar));

    vec3 a = abs(d);
    int f;
    if (a.x >= a.y && a.x >= a.z)
        f = d.x > 0.0 ? 0 : 1;
    else if (a.y >= a.z)
        f = d.y > 0.0 ? 2 : 3;
    else
        f = d.z < 0.0 ? 4 : 5;

    vec3 forward;
    vec3 up;
    faceFrame(f, forward, up);
    vec3 right = cross(forward, up);
    float depth = max(dot(d, forward), 0.0001);
    float x = dot(d, right) / depth;
    float y = dot(d, up) / depth;

    gl_FragColor = vec4(textureCube(img, cubeDirection(f, x, y)).rgb, 1.0);
}
