// Math.h - small value types shared by the whole framework.
//   vec2/vec3/vec4 (float), ivec2/ivec4 (int), mat3/mat4 (column-major),
//   the column-major matrix product and ReverseBits.
#pragma once

#include <cstdint>

namespace Ostrel {

struct vec2 {
    float x = 0.0f, y = 0.0f;
    vec2() = default;
    vec2(float x_, float y_) : x(x_), y(y_) {}
    float* data() { return &x; }
    const float* data() const { return &x; }
};

struct vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    vec3() = default;
    vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    float* data() { return &x; }
    const float* data() const { return &x; }
};

// Colours use x, y, z, w as red, green, blue, alpha.
struct vec4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
    vec4() = default;
    vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    float* data() { return &x; }
    const float* data() const { return &x; }
};

struct ivec2 {
    int32_t x = 0, y = 0;
    ivec2() = default;
    ivec2(int32_t x_, int32_t y_) : x(x_), y(y_) {}
};

// Rectangles: x, y, width (z), height (w) in window pixels.
struct ivec4 {
    int32_t x = 0, y = 0, z = 0, w = 0;
    ivec4() = default;
    ivec4(int32_t x_, int32_t y_, int32_t z_, int32_t w_) : x(x_), y(y_), z(z_), w(w_) {}
};

// Column-major: row r, column c lives at m[4c + r]. Zero-initialised.
struct mat4 {
    float m[16] = {};
    float& operator()(int row, int col) { return m[4 * col + row]; }
    float operator()(int row, int col) const { return m[4 * col + row]; }
    float* data() { return m; }
    const float* data() const { return m; }
    static mat4 Identity();
};

struct mat3 {
    float m[9] = {};
    float& operator()(int row, int col) { return m[3 * col + row]; }
    float operator()(int row, int col) const { return m[3 * col + row]; }
};

mat4 operator*(const mat4& a, const mat4& b);
mat3 operator+(const mat3& a, const mat3& b);

// Builders used by the sprite and text renderers.
mat4 Translate(float x, float y, float z);
mat4 Scale(float x, float y, float z);
// Right-handed rotation by angle (radians) about axis; the axis is normalised
// here, and a zero axis gives the identity.
mat4 Rotate(float angle, const vec3& axis);
mat4 Ortho(float left, float right, float bottom, float top, float zNear, float zFar);
mat4 LookAt(const vec3& eye, const vec3& centre, const vec3& up);

uint8_t ReverseBits(uint8_t value);

}  // namespace Ostrel
