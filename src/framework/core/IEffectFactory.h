// IEffectFactory.h - makes the framework's post-processing effects.
#pragma once

namespace Ostrel {

class EffectInstance;

class IEffectFactory {
public:
    virtual EffectInstance* CreateGrayscaleEffect() = 0;
    virtual EffectInstance* CreateOrderedDitherEffect() = 0;
    virtual EffectInstance* CreateChromaticAberrationEffect() = 0;
    virtual EffectInstance* CreateCRTEffect() = 0;
    virtual EffectInstance* CreateTexelColorEffect() = 0;

protected:
    IEffectFactory() = default;
    ~IEffectFactory() = default;
};

}  // namespace Ostrel
