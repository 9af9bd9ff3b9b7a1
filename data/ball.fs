#version 110
// Draws the ball picture as a lit sphere. The picture's alpha is the disc, so the outside stays
// transparent. ballState 0: rolling; 1 (up held): livelier, brighter, with a warm glow pulsing
// round the rim; 2 (down held): heavier, a dark metallic sheen with a hard highlight.

uniform sampler2D texture0;
uniform float time;
uniform int ballState;
uniform int width;
uniform int height;

varying vec2 pictureCoord;
varying vec4 spriteColour;

const vec3 towardsLight = vec3(-0.45, 0.6, 0.66);   // upper left, in front
const vec3 towardsViewer = vec3(0.0, 0.0, 1.0);
const vec3 glowColour = vec3(1.0, 0.8, 0.3);
const float glowBeatsPerSecond = 1.6;

float Highlight(vec3 normal, vec3 light, float sharpness)
{
    vec3 halfway = normalize(light + towardsViewer);
    return pow(max(dot(normal, halfway), 0.0), sharpness);
}

void main()
{
    vec4 picture = texture2D(texture0, pictureCoord);

    // The point of the sphere under this pixel; y grows upward (t = 1 is the picture's top).
    // Half a pixel is taken off the radius so the rim pixels still get a sensible normal.
    vec2 size = vec2(float(width), float(height));
    vec2 onDisc = (pictureCoord * 2.0 - 1.0) * (size / max(size - 1.0, vec2(1.0)));
    float squared = min(dot(onDisc, onDisc), 1.0);
    vec3 normal = vec3(onDisc, sqrt(1.0 - squared));
    vec3 light = normalize(towardsLight);
    float diffuse = max(dot(normal, light), 0.0);
    float rim = pow(1.0 - normal.z, 2.0);

    vec3 colour;
    if (ballState == 1) {
        float pulse = 0.5 + 0.5 * sin(time * 6.2831853 * glowBeatsPerSecond);
        colour = picture.rgb * (0.75 + 0.55 * diffuse) + vec3(0.55) * Highlight(normal, light, 20.0);
        colour += glowColour * rim * (0.45 + 0.75 * pulse);
    } else if (ballState == 2) {
        float grey = dot(picture.rgb, vec3(0.3, 0.55, 0.15));
        vec3 metal = mix(picture.rgb, grey * vec3(0.72, 0.78, 0.92), 0.7);
        colour = metal * (0.3 + 0.55 * diffuse) + vec3(0.85) * Highlight(normal, light, 70.0);
    } else {
        colour = picture.rgb * (0.55 + 0.6 * diffuse) + vec3(0.4) * Highlight(normal, light, 32.0);
    }
    gl_FragColor = vec4(clamp(colour, 0.0, 1.0), picture.a * spriteColour.a);
}
