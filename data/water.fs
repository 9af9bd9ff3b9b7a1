#version 110
// Animated water over a width x height quad: a rippling surface with a foam line along the
// quad's top, drifting bands of light below it, deeper blue further down. See-through, and
// faded further by the sprite's colour alpha. The ripples and light follow window pixels, so
// water quads placed side by side join up.

uniform float time;
uniform int width;
uniform int height;

varying vec2 pictureCoord;
varying vec4 spriteColour;

const vec3 shallowColour = vec3(0.26, 0.64, 0.88);
const vec3 deepColour = vec3(0.05, 0.25, 0.56);
const vec3 lightColour = vec3(0.55, 0.8, 0.95);
const vec3 foamColour = vec3(0.9, 0.97, 1.0);
const float surfaceDepth = 4.0;      // pixels from the quad's top to the calm surface
const float shallowAlpha = 0.55;
const float deepAlpha = 0.8;
const float foamAlpha = 0.9;

void main()
{
    vec2 size = vec2(float(width), float(height));
    // Pixels from the quad's top-left corner, y downward (t = 1 is the top edge).
    vec2 pixel = vec2(pictureCoord.x, 1.0 - pictureCoord.y) * size;
    vec2 window = gl_FragCoord.xy;

    float ripple = 1.5 * sin(window.x * 0.11 + time * 2.3) + 0.8 * sin(window.x * 0.29 - time * 3.1);
    float surface = surfaceDepth + ripple;
    float underwater = clamp(pixel.y - surface + 0.5, 0.0, 1.0);
    float depth = clamp((pixel.y - surface) / size.y, 0.0, 1.0);

    vec2 drift = window * 0.085;
    float bands = sin(drift.x + time * 1.3 + sin(drift.y * 1.7 + time))
                + sin(drift.y * 1.3 - time * 1.1 + sin(drift.x * 1.5 - time * 0.7));
    float glimmer = pow(1.0 - abs(bands) * 0.5, 6.0);

    vec3 colour = mix(shallowColour, deepColour, depth) + lightColour * glimmer * (0.45 - 0.3 * depth);
    float foam = clamp(1.0 - abs(pixel.y - surface - 1.0) / 1.5, 0.0, 1.0);
    colour = mix(colour, foamColour, foam * 0.85);
    float alpha = mix(mix(shallowAlpha, deepAlpha, depth), foamAlpha, foam) * underwater;

    gl_FragColor = vec4(clamp(colour, 0.0, 1.0), alpha * spriteColour.a);
}
