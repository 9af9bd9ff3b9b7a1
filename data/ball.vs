#version 110
// The ball's quad: hands the picture coordinate and the sprite's colour to ball.fs.

varying vec2 pictureCoord;
varying vec4 spriteColour;

void main()
{
    pictureCoord = gl_MultiTexCoord0.xy;
    spriteColour = gl_Color;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
