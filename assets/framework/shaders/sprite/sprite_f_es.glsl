#version 300 es
precision mediump float;

// The renderer binds the sprite's texture on unit 0.
uniform sampler2D u_texture;
uniform vec4 u_tint_color;

in vec2 v_uv;
out vec4 fragColor;

void main() {
    fragColor = texture(u_texture, v_uv) * u_tint_color;
}
