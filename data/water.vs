#version 110
// The water quad: hands the quad coordinate and the sprite's colour to water.fs.

varying vec2 pictureCoord;
varying vec4 spriteColour;

void main()
{
    pictureCoord = gl_MultiTexCoord0.xy;
    spriteColour = gl_Color;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
