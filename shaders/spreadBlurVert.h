// Spread blur, vertex stage: a full-picture quad with its picture coordinate passed through.
varying vec2 pictureCoord;

void main()
{
	pictureCoord = gl_MultiTexCoord0.st;
	gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
