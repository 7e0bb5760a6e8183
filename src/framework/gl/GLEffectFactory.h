// GLEffectFactory.h - builds the five post-processing effects from their shader
// files, textures and tunable uniforms.
#pragma once

#include "../core/IEffectFactory.h"

#include <string>

namespace Ostrel {

class FileReader;
class Renderer;
class ITimeManager;
class ITextureManager;
class ITexture2D;

class GLEffectFactory : public IEffectFactory {
public:
    FileReader* fileReader = nullptr;
    Renderer* renderer = nullptr;
    ITimeManager* timeManager = nullptr;
    ITextureManager* textureManager = nullptr;

    GLEffectFactory(FileReader* fileReader, Renderer* renderer, ITimeManager* timeManager,
                    ITextureManager* textureManager);

    EffectInstance* CreateGrayscaleEffect() override;
    EffectInstance* CreateOrderedDitherEffect() override;
    EffectInstance* CreateChromaticAberrationEffect() override;
    EffectInstance* CreateCRTEffect() override;
    EffectInstance* CreateTexelColorEffect() override;

    EffectInstance* CreateEffect(std::string vertexPath, std::string fragmentPath, ITexture2D* textures[4]);
};

}  // namespace Ostrel
