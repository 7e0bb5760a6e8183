#version 300 es
precision mediump float;

// The glyph texture on unit 0 is either a TrueType glyph (one red channel,
// sampled as (r, 0, 0, 1)) or a bitmap-font atlas (RGBA, light glyphs on
// transparent, sampled as (c, c, c, a)). min(brightest channel, alpha) is the
// coverage in both cases: r for the first, a for the second.
uniform sampler2D u_texture;
uniform vec4 u_color;

in vec2 v_uv;
out vec4 fragColor;

void main() {
    vec4 texel = texture(u_texture, v_uv);
    float coverage = min(max(texel.r, max(texel.g, texel.b)), texel.a);
    fragColor = vec4(u_color.rgb, u_color.a * coverage);
}
