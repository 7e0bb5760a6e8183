#include "Math.h"

#include <cmath>

namespace Ostrel {

mat4 mat4::Identity() {
    mat4 r;
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
    return r;
}

mat4 operator*(const mat4& a, const mat4& b) {
    mat4 r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a(row, k) * b(k, c);
            r(row, c) = sum;
        }
    }
    return r;
}

mat3 operator+(const mat3& a, const mat3& b) {
    mat3 r;
    for (int i = 0; i < 9; ++i) r.m[i] = a.m[i] + b.m[i];
    return r;
}

mat4 Translate(float x, float y, float z) {
    mat4 r = mat4::Identity();
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

mat4 Scale(float x, float y, float z) {
    mat4 r;
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    r.m[15] = 1.0f;
    return r;
}

mat4 Rotate(float angle, const vec3& axis) {
    const float len = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    // A zero axis has no direction; turning about it leaves the sprite as it
    // is instead of filling the matrix with NaNs.
    if (!(len > 0.0f)) return mat4::Identity();
    const float nx = axis.x / len, ny = axis.y / len, nz = axis.z / len;
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    mat4 r;
    r.m[0] = c + nx * nx * t;
    r.m[1] = nx * ny * t + nz * s;
    r.m[2] = nx * nz * t - ny * s;
    r.m[4] = nx * ny * t - nz * s;
    r.m[5] = c + ny * ny * t;
    r.m[6] = ny * nz * t + nx * s;
    r.m[8] = nx * nz * t + ny * s;
    r.m[9] = ny * nz * t - nx * s;
    r.m[10] = c + nz * nz * t;
    r.m[15] = 1.0f;
    return r;
}

mat4 Ortho(float left, float right, float bottom, float top, float zNear, float zFar) {
    mat4 r;
    r.m[0] = 2.0f / (right - left);
    r.m[5] = 2.0f / (top - bottom);
    r.m[10] = -2.0f / (zFar - zNear);
    r.m[12] = -(right + left) / (right - left);
    r.m[13] = -(top + bottom) / (top - bottom);
    r.m[14] = -(zFar + zNear) / (zFar - zNear);
    r.m[15] = 1.0f;
    return r;
}

mat4 LookAt(const vec3& eye, const vec3& centre, const vec3& up) {
    vec3 f(centre.x - eye.x, centre.y - eye.y, centre.z - eye.z);
    float fl = std::sqrt(f.x * f.x + f.y * f.y + f.z * f.z);
    f = vec3(f.x / fl, f.y / fl, f.z / fl);
    vec3 s(f.y * up.z - f.z * up.y, f.z * up.x - f.x * up.z, f.x * up.y - f.y * up.x);
    float sl = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
    s = vec3(s.x / sl, s.y / sl, s.z / sl);
    vec3 u(s.y * f.z - s.z * f.y, s.z * f.x - s.x * f.z, s.x * f.y - s.y * f.x);
    mat4 r = mat4::Identity();
    r(0, 0) = s.x;
    r(0, 1) = s.y;
    r(0, 2) = s.z;
    r(1, 0) = u.x;
    r(1, 1) = u.y;
    r(1, 2) = u.z;
    r(2, 0) = -f.x;
    r(2, 1) = -f.y;
    r(2, 2) = -f.z;
    r(0, 3) = -(s.x * eye.x + s.y * eye.y + s.z * eye.z);
    r(1, 3) = -(u.x * eye.x + u.y * eye.y + u.z * eye.z);
    r(2, 3) = f.x * eye.x + f.y * eye.y + f.z * eye.z;
    return r;
}

uint8_t ReverseBits(uint8_t value) {
    uint8_t v = value;
    v = static_cast<uint8_t>((v & 0xF0) >> 4 | (v & 0x0F) << 4);
    v = static_cast<uint8_t>((v & 0xCC) >> 2 | (v & 0x33) << 2);
    v = static_cast<uint8_t>((v & 0xAA) >> 1 | (v & 0x55) << 1);
    return v;
}

}  // namespace Ostrel
