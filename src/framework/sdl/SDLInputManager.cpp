#include "SDLInputManager.h"

#include <SDL.h>

namespace Ostrel {

namespace {

// Moves eight keys into the unused range 28..35; every other code stays.
int32_t MapKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_UP:
            return KeyCode::Up;
        case SDLK_DOWN:
            return KeyCode::Down;
        case SDLK_LEFT:
            return KeyCode::Left;
        case SDLK_RIGHT:
            return KeyCode::Right;
        case SDLK_RETURN:
            return KeyCode::Return;
        case SDLK_KP_ENTER:
            return KeyCode::KeypadEnter;
        case SDLK_BACKQUOTE:
            return KeyCode::Backquote;
        case SDLK_TAB:
            return KeyCode::Tab;
        default:
            return static_cast<int32_t>(key);
    }
}

constexpr int ControllerSlots = 4;

bool IsSlot(SDL_JoystickID id) {
    return id >= 0 && id < ControllerSlots;
}

}  // namespace

SDLInputManager::SDLInputManager(EventBuffer* events_)
    : InputManager(), events(events_), lastMouseX(0), lastMouseY(0) {}

void SDLInputManager::Init() {
    InputManager::Init();
    InitControllers();
}

void SDLInputManager::InitControllers() {
    // Only four slots exist; joysticks beyond them are left closed.
    for (int i = 0; i < SDL_NumJoysticks() && i < ControllerSlots; ++i) {
        SDL_GameControllerEventState(SDL_ENABLE);
        SDL_GameControllerOpen(i);
        controllers[i].connected = true;
        controllers[i].dpad = 0;
        controllers[i].buttons = 0;
    }
}

void SDLInputManager::Update(float dt) {
    leftClickTimer -= dt;
    rightClickTimer -= dt;
    for (auto& key : keys) key.second = false;
    mouse.dx = 0;
    mouse.dy = 0;
    if (leftReleasePending) mouse.left = false;
    if (rightReleasePending) mouse.right = false;
    leftReleasePending = rightReleasePending = false;
    leftDownThisFrame = rightDownThisFrame = false;

    for (int32_t i = 0; i < events->count; ++i) {
        const SDL_Event& event = events->events[i];
        switch (event.type) {
            case SDL_KEYDOWN:
                keys[MapKey(event.key.keysym.sym)] = true;
                break;
            case SDL_MOUSEMOTION:
                mouse.dx = event.motion.x - lastMouseX;
                mouse.dy = event.motion.y - lastMouseY;
                mouse.x = event.motion.x;
                mouse.y = event.motion.y;
                lastMouseX = event.motion.x;
                lastMouseY = event.motion.y;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button == SDL_BUTTON_LEFT) {
                    mouse.left = true;
                    leftDownThisFrame = true;
                    leftReleasePending = false;
                    leftClickTimer = clickWindow;
                } else if (event.button.button == SDL_BUTTON_RIGHT) {
                    mouse.right = true;
                    rightDownThisFrame = true;
                    rightReleasePending = false;
                    rightClickTimer = clickWindow;
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.button == SDL_BUTTON_LEFT) {
                    if (leftDownThisFrame)
                        leftReleasePending = true;
                    else
                        mouse.left = false;
                }
                if (event.button.button == SDL_BUTTON_RIGHT) {
                    if (rightDownThisFrame)
                        rightReleasePending = true;
                    else
                        mouse.right = false;
                }
                // A release clicks only its own button: a right release soon after a
                // left click must not repeat the left one.
                if (event.button.button == SDL_BUTTON_LEFT && leftClickTimer > 0.0f)
                    NotifyClick(OnClickEvent{true, false});
                if (event.button.button == SDL_BUTTON_RIGHT && rightClickTimer > 0.0f)
                    NotifyClick(OnClickEvent{false, true});
                break;
            case SDL_CONTROLLERBUTTONDOWN: {
                if (!IsSlot(event.cbutton.which)) break;
                ControllerState& controller = controllers[event.cbutton.which];
                switch (event.cbutton.button) {
                    case SDL_CONTROLLER_BUTTON_A:
                        controller.buttons |= ControllerButton::A;
                        break;
                    case SDL_CONTROLLER_BUTTON_B:
                        controller.buttons |= ControllerButton::B;
                        break;
                    case SDL_CONTROLLER_BUTTON_X:
                        controller.buttons |= ControllerButton::X;
                        break;
                    case SDL_CONTROLLER_BUTTON_Y:
                        controller.buttons |= ControllerButton::Y;
                        break;
                    case SDL_CONTROLLER_BUTTON_START:
                        controller.buttons |= ControllerButton::Start;
                        break;
                    case SDL_CONTROLLER_BUTTON_DPAD_UP:
                        controller.dpad |= DpadDirection::Up;
                        break;
                    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
                        controller.dpad |= DpadDirection::Down;
                        break;
                    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
                        controller.dpad |= DpadDirection::Left;
                        break;
                    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
                        controller.dpad |= DpadDirection::Right;
                        break;
                    default:
                        break;
                }
                break;
            }
            case SDL_CONTROLLERAXISMOTION: {
                if (!IsSlot(event.caxis.which)) break;
                ControllerState& controller = controllers[event.caxis.which];
                const float value = static_cast<float>(event.caxis.value) / 32767.0f;
                switch (event.caxis.axis) {
                    case SDL_CONTROLLER_AXIS_LEFTX:
                        controller.axes[0] = value;
                        break;
                    case SDL_CONTROLLER_AXIS_LEFTY:
                        controller.axes[1] = value;
                        break;
                    case SDL_CONTROLLER_AXIS_RIGHTX:
                        controller.axes[2] = value;
                        break;
                    case SDL_CONTROLLER_AXIS_RIGHTY:
                        controller.axes[3] = value;
                        break;
                    default:
                        break;
                }
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace Ostrel
