// EffectInstance.h - one ready-made post-processing effect: its shader plus the
// renderer and time manager that feed its standard uniforms.
#pragma once

namespace Ostrel {

class Renderer;
class ITimeManager;
class IEffectShader;

class EffectInstance {
public:
    Renderer* renderer;         // resolution source; not owned
    ITimeManager* timeManager;  // time source; not owned
    IEffectShader* shader;      // owned

    EffectInstance(Renderer* renderer, ITimeManager* timeManager, IEffectShader* shader);
    // Effects normally live as long as the process; the owner that does
    // destroy one (a test, a tool) must have the GL context current.
    ~EffectInstance();
    EffectInstance(const EffectInstance&) = delete;
    EffectInstance& operator=(const EffectInstance&) = delete;

    IEffectShader* GetShader();
    // Links the shader's program; each call links anew.
    void Initialize();
    // Puts the program in use with its tunables, resolution, time, a fresh
    // random value and its textures.
    void Apply();
};

}  // namespace Ostrel
