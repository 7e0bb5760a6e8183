#version 300 es
// Glyph quad: positions already in pixels (origin bottom left), moved by the
// model matrix and projected.
layout(location = 0) in vec2 a_position;
layout(location = 1) in vec2 a_uv;

uniform mat4 u_projection_matrix;
uniform mat4 u_view_matrix;
uniform mat4 u_transform_matrix;

out vec2 v_uv;

void main() {
    gl_Position = u_projection_matrix * u_view_matrix * u_transform_matrix * vec4(a_position, 0.0, 1.0);
    v_uv = a_uv;
}
