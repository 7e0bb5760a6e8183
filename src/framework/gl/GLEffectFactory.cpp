#include "GLEffectFactory.h"

#include "../core/FileReader.h"
#include "../core/ITextureManager.h"
#include "EffectInstance.h"
#include "GLEffectShader.h"

#include <utility>

namespace Ostrel {

namespace {

const char* const kEffectsDir = "assets/framework/shaders/effects/";
const char* const kTexturesDir = "assets/framework/textures/";

TextureParameters Parameters(int channels, int filter, int clampToEdge, int loadMode) {
    TextureParameters params;
    params.channels = channels;
    params.filter = filter;
    params.clampToEdge = clampToEdge;
    params.loadMode = loadMode;
    return params;
}

// Effects keep pointers to their textures, and loading under a key deletes
// the texture already stored there: a second effect of the same kind would
// leave the first one drawing with deleted textures. A texture already loaded
// under its key is shared instead.
ITexture2D* EffectTexture(ITextureManager* textures, const std::string& path, const std::string& key,
                          TextureParameters params) {
    if (ITexture2D* loaded = textures->GetTexture(key)) return loaded;
    return textures->LoadTexture(path, key, params);
}

ShaderUniform* Tunable(IEffectShader* shader, const char* name, UniformType type, vec3 value) {
    ShaderUniform* uniform = shader->CreateUniform(name, type);
    uniform->value = value;
    return uniform;
}

}  // namespace

GLEffectFactory::GLEffectFactory(FileReader* fileReader_, Renderer* renderer_, ITimeManager* timeManager_,
                                 ITextureManager* textureManager_)
    : fileReader(fileReader_), renderer(renderer_), timeManager(timeManager_), textureManager(textureManager_) {}

EffectInstance* GLEffectFactory::CreateGrayscaleEffect() {
    ITexture2D* textures[4] = {nullptr, nullptr, nullptr, nullptr};
    return CreateEffect(std::string(kEffectsDir) + "grayscale_v_es.glsl",
                        std::string(kEffectsDir) + "grayscale_f_es.glsl", textures);
}

EffectInstance* GLEffectFactory::CreateOrderedDitherEffect() {
    ITexture2D* textures[4] = {nullptr, nullptr, nullptr, nullptr};
    return CreateEffect(std::string(kEffectsDir) + "ordered_dither_v_es.glsl",
                        std::string(kEffectsDir) + "ordered_dither_f_es.glsl", textures);
}

EffectInstance* GLEffectFactory::CreateChromaticAberrationEffect() {
    ITexture2D* textures[4] = {nullptr, nullptr, nullptr, nullptr};
    return CreateEffect(std::string(kEffectsDir) + "chromatic_aberration_v_es.glsl",
                        std::string(kEffectsDir) + "chromatic_aberration_f_es.glsl", textures);
}

EffectInstance* GLEffectFactory::CreateCRTEffect() {
    const std::string dir = std::string(kTexturesDir) + "crt/";
    ITexture2D* scanlines =
        EffectTexture(textureManager, dir + "scanlines.png", "crt_scanlines", Parameters(-1, 1, 0, 0));
    ITexture2D* vignette = EffectTexture(textureManager, dir + "vignette.png", "crt_vignette", Parameters(4, 1, 1, 1));
    ITexture2D* perlin = EffectTexture(textureManager, dir + "perlin.png", "crt_perlin", Parameters(4, 1, 0, 1));

    ITexture2D* textures[4] = {nullptr, scanlines, vignette, perlin};
    EffectInstance* effect = CreateEffect(std::string(kEffectsDir) + "crt/crt_v_es.glsl",
                                          std::string(kEffectsDir) + "crt/crt_f_es.glsl", textures);

    IEffectShader* shader = effect->GetShader();
    const vec3 offsetMin(-0.01f, -0.01f, 0.0f);
    const vec3 offsetMax(0.01f, 0.01f, 0.0f);
    for (auto [name, x] :
         {std::pair<const char*, float>{"u_redOffset", -0.004f}, std::pair<const char*, float>{"u_greenOffset", 0.0f},
          std::pair<const char*, float>{"u_blueOffset", 0.004f}}) {
        ShaderUniform* offset = Tunable(shader, name, Vec2, vec3(x, 0.0f, 0.0f));
        offset->min = offsetMin;
        offset->max = offsetMax;
    }
    ShaderUniform* bend = Tunable(shader, "u_bendFactor", Float, vec3(4.0f, 0.0f, 0.0f));
    bend->min.x = 3.0f;
    bend->max.x = 5.0f;
    ShaderUniform* speed = Tunable(shader, "u_scanlineSpeed", Float, vec3(-0.08f, 0.0f, 0.0f));
    speed->min.x = -0.2f;
    speed->max.x = 0.2f;
    // The mix strengths keep the preset range -1..1.
    Tunable(shader, "u_scanlineMixStrength", Float, vec3(0.05f, 0.0f, 0.0f));
    Tunable(shader, "u_noiseMixStrength", Float, vec3(0.05f, 0.0f, 0.0f));
    return effect;
}

EffectInstance* GLEffectFactory::CreateTexelColorEffect() {
    ITexture2D* palette = EffectTexture(textureManager, std::string(kTexturesDir) + "texel_color/gameboy_colors.png",
                                        "texel_color_input_texture", Parameters(-1, 1, 1, 0));
    ITexture2D* textures[4] = {nullptr, palette, nullptr, nullptr};
    EffectInstance* effect = CreateEffect(std::string(kEffectsDir) + "texel_color/texel_color_v_es.glsl",
                                          std::string(kEffectsDir) + "texel_color/texel_color_f_es.glsl", textures);
    ShaderUniform* weights = Tunable(effect->GetShader(), "u_weights", Vec3, vec3(0.2126f, 0.7152f, 0.0722f));
    weights->min = vec3(0.0f, 0.0f, 0.0f);
    weights->max = vec3(1.0f, 1.0f, 1.0f);
    return effect;
}

EffectInstance* GLEffectFactory::CreateEffect(std::string vertexPath, std::string fragmentPath,
                                              ITexture2D* textures[4]) {
    std::string vertexSource = fileReader->ReadFile(std::move(vertexPath));
    std::string fragmentSource = fileReader->ReadFile(std::move(fragmentPath));
    auto* shader = new GLEffectShader(std::move(vertexSource), std::move(fragmentSource));
    for (int i = 0; i < 4; ++i) {
        if (textures[i] != nullptr) shader->textures[i] = textures[i];
    }
    return new EffectInstance(renderer, timeManager, shader);
}

}  // namespace Ostrel
