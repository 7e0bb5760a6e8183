// ShaderUniform.h - an editable shader parameter: one, two or three floats with
// a slider range for the editor.
#pragma once

#include "../core/Math.h"

#include <cstdint>

namespace Ostrel {

// Stored as a 32-bit code; values outside the enumerators are possible (and
// reported where a type is handled).
enum UniformType : uint32_t {
    Float = 0,
    Vec2 = 1,
    Vec3 = 2,
};

class ShaderUniform {
public:
    UniformType type;
    vec3 value;
    vec3 min;  // slider range only; never clamps value
    vec3 max;

    explicit ShaderUniform(UniformType type_) : type(type_) {}

    virtual void ResolveLocation() = 0;
    virtual void Use() = 0;

protected:
    ~ShaderUniform() = default;
};

}  // namespace Ostrel
