// SDLInputManager.h - reads the frame's SDL events into the input state.
#pragma once

#include "../core/EventBuffer.h"
#include "../core/InputManager.h"

namespace Ostrel {

class SDLInputManager : public InputManager {
public:
    EventBuffer* events = nullptr;
    int32_t lastMouseX = 0;
    int32_t lastMouseY = 0;
    // A press and its release inside one frame (a quick tap) would otherwise
    // never show the button down; the release is applied at the next Update.
    bool leftDownThisFrame = false;
    bool rightDownThisFrame = false;
    bool leftReleasePending = false;
    bool rightReleasePending = false;

    explicit SDLInputManager(EventBuffer* events);

    void Init() override;
    void Update(float dt) override;
    void InitControllers();
};

}  // namespace Ostrel
