#version 300 es
// Chromatic aberration: red and blue are pushed apart along the line from
// the screen centre, like a cheap lens: a small split in the middle that
// grows towards the edges. Green stays in place, so detail stays sharp.
precision highp float;

in vec2 v_uv;
out vec4 fragColor;

uniform sampler2D u_texture0;  // the scene
uniform vec2 u_resolution;     // pixels

const float CENTRE_SPLIT_PX = 1.0;  // split at the centre
const float EDGE_SPLIT_PX = 3.0;    // extra split at the middle of the rim

void main() {
    vec2 fromCentre = v_uv - 0.5;
    float radius = length(fromCentre);
    vec2 direction = radius > 1e-4 ? fromCentre / radius : vec2(1.0, 0.0);
    vec2 pixel = 1.0 / max(u_resolution, vec2(1.0));
    vec2 offset = direction * (CENTRE_SPLIT_PX + EDGE_SPLIT_PX * 2.0 * radius) * pixel;

    // Red moves outwards, blue inwards.
    float red = texture(u_texture0, v_uv - offset).r;
    float green = texture(u_texture0, v_uv).g;
    float blue = texture(u_texture0, v_uv + offset).b;
    fragColor = vec4(red, green, blue, 1.0);
}
