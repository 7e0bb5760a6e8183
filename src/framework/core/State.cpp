#include "State.h"

#include "Framework.h"

namespace Ostrel {

State::State(Framework* fw)
    : initState(LifecycleCreated),
      framework(fw),
      windowManager(fw->windowManager),
      fontManager(fw->fontManager),
      effectFactory(fw->effectFactory),
      config(fw->config),
      textureManager(fw->textureManager),
      spriteRenderer(fw->spriteRenderer),
      textRenderer(fw->textRenderer),
      inputManager(fw->inputManager),
      postProcessManager(fw->postProcessManager),
      timeManager(fw->timeManager),
      soundManager(fw->soundManager) {}

void State::RunInit() {
    if (initState != LifecycleInitialised) {
        initState = LifecycleInitialised;
        Init();
    }
}

void State::RunCleanup() {
    if (initState == LifecycleInitialised) {
        initState = LifecycleReleased;
        Cleanup();
    }
}

void State::ChangeState(std::string stateName) {
    framework->SwitchState(stateName);
}

}  // namespace Ostrel
