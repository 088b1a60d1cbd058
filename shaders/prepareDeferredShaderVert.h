// Geometry pass, vertex stage. Models with a vertex animation send the next key frame as generic
// attributes and the blend towards it as "animFactor"; everything else leaves the factor at 0.
// Lighting is done in view space, so position and normal go out in eye coordinates.
uniform float animFactor;
attribute vec3 animVertex;
attribute vec3 animNormal;
attribute vec2 animUV;

varying vec3 viewPosition;
varying vec3 viewNormal;
varying vec2 surfaceUV;

void main()
{
    vec4 position = vec4(mix(gl_Vertex.xyz, animVertex, animFactor), gl_Vertex.w);
    vec3 normal = mix(gl_Normal, animNormal, animFactor);
    vec4 eye = gl_ModelViewMatrix * position;

    viewPosition = eye.xyz / eye.w;
    viewNormal = gl_NormalMatrix * normal;
    surfaceUV = mix(gl_MultiTexCoord0.xy, animUV, animFactor);
    gl_Position = gl_ProjectionMatrix * eye;
}
