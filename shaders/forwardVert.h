// Vertex stage of every full-picture pass: the quad comes with the fixed-function matrices already
// set up, so transform it with them and hand the texture coordinate and colour on unchanged.
// Written for GLSL 1.10 without a #version line, because callers put their #define prefix in front.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
