#include "EffectInstance.h"

#include "../core/ITimeManager.h"
#include "../core/Renderer.h"
#include "IEffectShader.h"

#include <cstdlib>

namespace Ostrel {

EffectInstance::EffectInstance(Renderer* renderer_, ITimeManager* timeManager_, IEffectShader* shader_)
    : renderer(renderer_), timeManager(timeManager_), shader(shader_) {}

EffectInstance::~EffectInstance() {
    delete shader;
}

IEffectShader* EffectInstance::GetShader() {
    return shader;
}

void EffectInstance::Initialize() {
    shader->Load();
}

void EffectInstance::Apply() {
    shader->Use();
    shader->SetResolution(renderer->GetSize());
    shader->SetTime(timeManager->GetTotalSeconds());
    // Divide by the library's own maximum: glibc's rand() reaches 2^31 - 1,
    // and the shaders expect a value in 0..1.
    shader->SetRandom(static_cast<float>(static_cast<double>(std::rand()) / RAND_MAX));
    shader->BindTexture0();
    shader->BindTexture1();
    shader->BindTexture2();
    shader->BindTexture3();
}

}  // namespace Ostrel
