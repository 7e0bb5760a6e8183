#version 300 es
// Ordered dithering: the scene is read in blocks of CELL x CELL pixels and
// each channel is quantised to LEVELS values, the rounding threshold coming
// from an 8 x 8 Bayer matrix tiled over the blocks. The average brightness of
// an area survives; the output holds only the levels k / (LEVELS - 1).
precision highp float;

in vec2 v_uv;
out vec4 fragColor;

uniform sampler2D u_texture0;  // the scene

const float LEVELS = 4.0;
const float CELL = 2.0;  // screen pixels per dither cell, for the chunky look

const int BAYER[64] = int[64](
     0, 32,  8, 40,  2, 34, 10, 42,
    48, 16, 56, 24, 50, 18, 58, 26,
    12, 44,  4, 36, 14, 46,  6, 38,
    60, 28, 52, 20, 62, 30, 54, 22,
     3, 35, 11, 43,  1, 33,  9, 41,
    51, 19, 59, 27, 49, 17, 57, 25,
    15, 47,  7, 39, 13, 45,  5, 37,
    63, 31, 55, 23, 61, 29, 53, 21);

void main() {
    vec2 cell = floor(gl_FragCoord.xy / CELL);
    // The middle of the cell: with linear filtering this averages its pixels,
    // so thin lines do not vanish between cells.
    vec2 sceneSize = vec2(textureSize(u_texture0, 0));
    vec3 colour = texture(u_texture0, (cell + 0.5) * CELL / sceneSize).rgb;

    ivec2 bayer = ivec2(cell) & 7;
    // Threshold in (0, 1): the matrix rank centred in its 1/64 slot.
    float threshold = (float(BAYER[bayer.y * 8 + bayer.x]) + 0.5) / 64.0;
    float steps = LEVELS - 1.0;
    vec3 level = clamp(floor(colour * steps + threshold), 0.0, steps);
    fragColor = vec4(level / steps, 1.0);
}
