#version 300 es
// Sprite quad: unit square scaled, turned and moved by the model matrix into
// window pixels, then projected (origin top left, y down).
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec2 a_uv;

uniform mat4 u_projection_matrix;
uniform mat4 u_view_matrix;
uniform mat4 u_transform_matrix;

out vec2 v_uv;

void main() {
    vec4 position = u_projection_matrix * u_view_matrix * u_transform_matrix * vec4(a_position, 1.0);
    // A sprite turned about a vertical or horizontal axis reaches out of the
    // thin depth range of the 2D projection; keep it inside so the near and
    // far planes never cut a turning card. Flat sprites are unaffected.
    position.z = clamp(position.z, -position.w, position.w);
    gl_Position = position;
    v_uv = a_uv;
}
