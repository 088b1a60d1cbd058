// Vertex stage of the glitch pass: a plain full-picture quad whose texture coordinate the fragment
// stage bends.
void main()
{
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
