#include "Framework.h"

#include "Config.h"
#include "FileReader.h"
#include "IEffectFactory.h"
#include "ITimeManager.h"
#include "InputManager.h"
#include "PostProcessManager.h"
#include "Renderer.h"
#include "SoundManager.h"
#include "SpriteRenderer.h"
#include "State.h"
#include "TextRenderer.h"
#include "WindowManager.h"
#include "../editor/ImGuiLayer.h"
#include "../gl/FontManager.h"
#include "../gl/GLESRenderer_3_1.h"
#include "../gl/GLEffectFactory.h"
#include "../gl/GLPostProcessManager.h"
#include "../gl/GLSpriteRenderer.h"
#include "../gl/GLTextRenderer.h"
#include "../gl/GLTextureManager.h"
#include "../sdl/SDLInputManager.h"
#include "../sdl/SDLSoundManager.h"
#include "../sdl/SDLTimeManager.h"
#include "../sdl/SDLWindowManager.h"
#include "../sdl/STBImageLoader.h"

#include <iostream>

namespace Ostrel {

// Only this constructor names the concrete back ends; no SDL or GL call is made
// here, so an application object can be built without a display.
Framework::Framework() : imGuiLayer(nullptr), currentState(nullptr), states(), name("Ostrel Framework Game") {
    windowManager = new SDLWindowManager(&eventBuffer);
    renderer = new GLESRenderer_3_1(windowManager);
    timeManager = new SDLTimeManager(60);
    fileReader = new FileReader();
    imageLoader = new STBImageLoader();
    inputManager = new SDLInputManager(&eventBuffer);
    textureManager = new GLTextureManager(imageLoader);
    fontManager = new FontManager(textureManager, imageLoader, fileReader);
    spriteRenderer = new GLSpriteRenderer(renderer, fileReader);
    textRenderer = new GLTextRenderer(renderer, fileReader);
    soundManager = new SDLSoundManager();
    config = new Config();
    postProcessManager = new GLPostProcessManager(windowManager, renderer);
    effectFactory = new GLEffectFactory(fileReader, renderer, timeManager, textureManager);
    running = true;
    currentState = nullptr;
    imGuiLayer = nullptr;
}

void Framework::Initialize() {
    WindowSettings settings;
    settings.title = name;
    windowManager->Create(settings);
    renderer->Initialize();
    inputManager->Init();
    spriteRenderer->Initialize();
    textureManager->Initialize();
    fontManager->Initialize();
    textRenderer->Initialize();
    soundManager->Init();
    config->Load();
    postProcessManager->Initialize();
    windowManager->AddWindowResizedListener([this](WindowResizedEvent* event) {
        renderer->SetSize(event->width, event->height);
        spriteRenderer->Resize(event->width, event->height);
        textRenderer->Resize(event->width, event->height);
    });
    Init();
    timeManager->Start();
}

void Framework::Run() {
    while (running) {
        timeManager->BeginFrame();
        RunFrame(timeManager->GetDeltaMs());
        timeManager->EndFrame();
    }
}

void Framework::RunFrame(float dt) {
    eventBuffer.PollEvents();
    windowManager->ProcessEvents();
    if (windowManager->closeRequested) running = false;
    inputManager->Update(dt);
    if (imGuiLayer != nullptr) imGuiLayer->ProcessEvents();
    Update(dt);
    if (currentState != nullptr) currentState->Update(dt);
    renderer->BeginFrame();
    // Read afresh: a switch during Update renders the new state this frame.
    if (currentState != nullptr) currentState->Render();
    Render();
    renderer->EndFrame();
    inputManager->EndFrame();
    windowManager->SwapBuffers();
}

void Framework::Shutdown() {
    soundManager->ReleaseAll();
    soundManager->Shutdown();
    spriteRenderer->Shutdown();
    textRenderer->Shutdown();
    fontManager->UnloadAll();
    fontManager->Destroy();
    textureManager->UnloadAll();
    textureManager->Shutdown();
    renderer->Shutdown();
    windowManager->Destroy();
}

void Framework::Quit() {
    running = false;
}

void Framework::InitImGui() {
    imGuiLayer = new ImGuiLayer();
    auto* sdlWindow = static_cast<SDLWindowManager*>(windowManager);
    imGuiLayer->Init(sdlWindow->window, sdlWindow->glContext, &eventBuffer);
    renderer->SetImGuiLayer(imGuiLayer);
}

void Framework::AddState(std::string stateName, State* state) {
    auto it = states.find(stateName);
    if (it != states.end() && it->second != nullptr) it->second->RunCleanup();
    states[stateName] = state;
    if (state != nullptr) state->RunInit();
}

void Framework::SwitchState(std::string stateName) {
    auto it = states.find(stateName);
    if (it == states.end()) {
        // Switching to an unknown screen would leave no state to run; keep the current one.
        std::cerr << "Ostrel::Framework::SwitchState: no state named '" << stateName << "'" << std::endl;
        return;
    }
    if (currentState != nullptr) currentState->OnExit();
    currentState = it->second;
    if (currentState != nullptr) currentState->OnEnter();
}

void Framework::RemoveState(std::string stateName) {
    auto it = states.find(stateName);
    if (it == states.end()) return;
    if (it->second != nullptr) it->second->RunCleanup();
    states.erase(it);
}

}  // namespace Ostrel
