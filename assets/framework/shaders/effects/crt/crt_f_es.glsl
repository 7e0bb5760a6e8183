#version 300 es
// CRT: the scene on a curved tube. The picture is bent outwards (the corners
// fall off the glass and stay black), each colour gun lands slightly off,
// scanlines roll slowly down the screen, a little analogue noise flickers
// from frame to frame and the vignette darkens the rim.
precision highp float;

in vec2 v_uv;
out vec4 fragColor;

uniform sampler2D u_texture0;  // the scene
uniform sampler2D u_texture1;  // scanlines (tiles)
uniform sampler2D u_texture2;  // vignette
uniform sampler2D u_texture3;  // Perlin noise (tiles)

uniform vec2 u_resolution;  // pixels
uniform float u_time;       // seconds
uniform float u_random;     // 0..1, new every frame

uniform vec2 u_redOffset;
uniform vec2 u_greenOffset;
uniform vec2 u_blueOffset;
uniform float u_bendFactor;           // larger is flatter
uniform float u_scanlineSpeed;        // screen heights per second
uniform float u_scanlineMixStrength;  // 0 none; 0.25 and up: black dark rows
uniform float u_noiseMixStrength;     // 0 none, 1 the noise alone

const float SCANLINE_ROW_PX = 1.5;     // screen pixels per scanline texel row
const float NOISE_TEXEL_PX = 1.0;      // screen pixels per noise texel
// The mix strengths are small numbers (0.05 by default); the scanline one is
// scaled so that the default darkens the dark rows by a fifth, enough to read
// as a tube from a normal distance.
const float SCANLINE_GAIN = 4.0;

// Pushes a point outwards by the square of its distance along the other axis,
// so straight edges bow out and the corners leave the 0..1 square.
vec2 Bend(vec2 uv) {
    vec2 centred = uv * 2.0 - 1.0;
    vec2 bow = abs(centred.yx) / max(u_bendFactor, 0.001);
    centred += centred * bow * bow;
    return centred * 0.5 + 0.5;
}

void main() {
    vec2 uv = Bend(v_uv);
    vec2 resolution = max(u_resolution, vec2(1.0));

    // Anti-aliased rim of the tube; exactly zero outside it.
    vec2 rimDistance = min(uv, 1.0 - uv) * resolution;
    float inside = clamp(min(rimDistance.x, rimDistance.y), 0.0, 1.0);
    if (inside <= 0.0) {
        fragColor = vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }

    vec3 colour;
    colour.r = texture(u_texture0, uv + u_redOffset).r;
    colour.g = texture(u_texture0, uv + u_greenOffset).g;
    colour.b = texture(u_texture0, uv + u_blueOffset).b;

    // Scanlines: the tile's rows laid over the tube's rows, rolling with time.
    // Half the rows are dark, so the lit rows are lifted by as much as the
    // dark ones lose on average and the picture keeps its brightness.
    vec2 scanlineTile = vec2(textureSize(u_texture1, 0)) * SCANLINE_ROW_PX;
    vec2 scanlineUv = vec2(uv.x, uv.y + u_time * u_scanlineSpeed) * resolution / scanlineTile;
    vec3 scanline = texture(u_texture1, scanlineUv).rgb;
    float scanlineWeight = clamp(u_scanlineMixStrength * SCANLINE_GAIN, -1.0, 1.0);
    colour *= mix(vec3(1.0), scanline, scanlineWeight) / (1.0 - 0.5 * scanlineWeight);

    // Noise: the tile at a new random place every frame.
    vec2 noiseUv = uv * resolution / (vec2(textureSize(u_texture3, 0)) * NOISE_TEXEL_PX) +
                   vec2(u_random * 7.31, u_random * 3.97);
    vec3 noise = texture(u_texture3, noiseUv).rgb;
    colour = mix(colour, noise, u_noiseMixStrength);

    // Vignette: transparent in the middle, darker towards the rim.
    vec4 vignette = texture(u_texture2, uv);
    colour = mix(colour, vignette.rgb, vignette.a);

    fragColor = vec4(colour * inside, 1.0);
}
