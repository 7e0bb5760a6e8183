#version 300 es
// Texel colour: the scene's luminance, weighted by u_weights, picks one of
// the four colours of the palette texture (darkest first), so the output
// holds those four colours only.
precision highp float;

in vec2 v_uv;
out vec4 fragColor;

uniform sampler2D u_texture0;  // the scene
uniform sampler2D u_texture1;  // the palette: four colour bands, darkest first
uniform vec3 u_weights;

const float SHADES = 4.0;

vec3 PaletteColour(float index) {
    // Fetch the middle texel of the band, so neither filtering nor the
    // palette's pixel size can blend two colours. Works for a row or a column.
    ivec2 size = max(textureSize(u_texture1, 0), ivec2(1));
    bool row = size.x >= size.y;
    int count = row ? size.x : size.y;
    int texel = int((index + 0.5) * float(count) / SHADES);
    ivec2 at = row ? ivec2(texel, size.y / 2) : ivec2(size.x / 2, texel);
    return texelFetch(u_texture1, at, 0).rgb;
}

void main() {
    vec3 colour = texture(u_texture0, v_uv).rgb;
    float luminance = clamp(dot(colour, u_weights), 0.0, 1.0);
    float index = min(floor(luminance * SHADES), SHADES - 1.0);
    fragColor = vec4(PaletteColour(index), 1.0);
}
