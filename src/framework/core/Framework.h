// Framework.h - the application base: owns every manager, starts them in a
// fixed order, runs the frame loop over the current named state and shuts the
// managers down in a fixed order. An application derives from it and supplies
// Init, Update and Render.
#pragma once

#include "EventBuffer.h"

#include <map>
#include <string>

namespace Ostrel {

class ImGuiLayer;
class State;
class WindowManager;
class Renderer;
class ITimeManager;
class InputManager;
class ITextureManager;
class SpriteRenderer;
class TextRenderer;
class FontManager;
class SoundManager;
class FileReader;
class IImageLoader;
class Config;
class PostProcessManager;
class IEffectFactory;

class Framework {
public:
    Framework();
    Framework(const Framework&) = delete;
    Framework& operator=(const Framework&) = delete;

    void Initialize();
    void Run();
    void Shutdown();
    void Quit();
    void InitImGui();

    void AddState(std::string name, State* state);
    void SwitchState(std::string name);
    void RemoveState(std::string name);

    virtual void Init() = 0;
    virtual void Update(float dt) = 0;
    virtual void Render() = 0;

protected:
    // One pass of the frame loop between the time manager's BeginFrame and
    // EndFrame: events, updates, render, swap. Benchmarks drive it unpaced.
    void RunFrame(float dt);

    // States copy the manager pointers at construction.
    friend class State;

    EventBuffer eventBuffer;
    ImGuiLayer* imGuiLayer;
    State* currentState;
    std::map<std::string, State*> states;
    std::string name;
    bool running;
    WindowManager* windowManager;
    Renderer* renderer;
    ITimeManager* timeManager;
    InputManager* inputManager;
    ITextureManager* textureManager;
    SpriteRenderer* spriteRenderer;
    TextRenderer* textRenderer;
    FontManager* fontManager;
    SoundManager* soundManager;
    FileReader* fileReader;
    IImageLoader* imageLoader;
    Config* config;
    PostProcessManager* postProcessManager;
    IEffectFactory* effectFactory;

    ~Framework() = default;
};

}  // namespace Ostrel
