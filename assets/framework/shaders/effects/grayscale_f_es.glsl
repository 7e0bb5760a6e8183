#version 300 es
// Grayscale: every pixel becomes its Rec. 709 luminance on all three channels.
precision highp float;

in vec2 v_uv;
out vec4 fragColor;

uniform sampler2D u_texture0;  // the scene

void main() {
    vec3 colour = texture(u_texture0, v_uv).rgb;
    float luminance = dot(colour, vec3(0.2126, 0.7152, 0.0722));
    fragColor = vec4(vec3(luminance), 1.0);
}
