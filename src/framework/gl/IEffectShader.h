// IEffectShader.h - the program of a full-screen effect plus what every effect
// shares: resolution, time, a per-frame random value and four texture slots.
#pragma once

#include "../core/Math.h"
#include "Shader.h"

namespace Ostrel {

class ITexture2D;

class IEffectShader : public Shader {
public:
    virtual void SetResolution(ivec2 size) = 0;
    virtual void SetTime(float seconds) = 0;
    virtual void SetRandom(float value) = 0;
    // Each binds its slot's texture to the unit of the same number and points
    // "u_textureN" at it; an empty slot or an unused sampler does nothing.
    virtual void BindTexture0() = 0;
    virtual void BindTexture1() = 0;
    virtual void BindTexture2() = 0;
    virtual void BindTexture3() = 0;
    // The texture of slot 0..3 (null when empty or out of range), and its
    // replacement (the editor swaps slots 1..3); textures are not owned.
    virtual ITexture2D* GetTexture(int slot) = 0;
    virtual void SetTexture(int slot, ITexture2D* texture) = 0;
};

}  // namespace Ostrel
