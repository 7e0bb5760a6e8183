// State.h - one named screen of an application. States reach the managers only
// through the pointers they copy from the framework when constructed.
#pragma once

#include "LifecycleState.h"

#include <string>

namespace Ostrel {

class Framework;
class WindowManager;
class FontManager;
class IEffectFactory;
class Config;
class ITextureManager;
class SpriteRenderer;
class TextRenderer;
class InputManager;
class PostProcessManager;
class ITimeManager;
class SoundManager;

class State {
public:
    LifecycleState initState = LifecycleCreated;
    Framework* framework = nullptr;
    WindowManager* windowManager = nullptr;
    FontManager* fontManager = nullptr;
    IEffectFactory* effectFactory = nullptr;
    Config* config = nullptr;
    ITextureManager* textureManager = nullptr;
    SpriteRenderer* spriteRenderer = nullptr;
    TextRenderer* textRenderer = nullptr;
    InputManager* inputManager = nullptr;
    PostProcessManager* postProcessManager = nullptr;
    ITimeManager* timeManager = nullptr;
    SoundManager* soundManager = nullptr;

    explicit State(Framework* framework);

    virtual void Init() {}
    virtual void Cleanup() {}
    virtual void OnEnter() {}
    virtual void Update(float dt) { (void)dt; }
    virtual void Render() {}
    virtual void OnExit() {}

    void RunInit();
    void RunCleanup();
    void ChangeState(std::string name);

protected:
    ~State() = default;
};

}  // namespace Ostrel
