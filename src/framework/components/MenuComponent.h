// MenuComponent.h - a tree of centred text menus driven by keyboard, the first
// game controller and the mouse.
//
//   MenuOpenState, MenuEntryType   the words a node carries
//   MenuEntrySelectedEvent         what an entry's callback receives
//   MenuComponent                  one node: the root is the menu, a child is an
//                                  entry, a child with children is a submenu
//
// The owning screen builds the tree, calls Initialize on the root, then Update
// and Draw on the root every frame. At most one node of a tree is Open; its
// children are the lines on screen.
#pragma once

#include "../core/InputManager.h"
#include "../core/LifecycleState.h"
#include "../core/Math.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ostrel {

class TextRenderer;
class Font;
struct Sound;
class TimerComponent;

enum MenuOpenState : uint32_t { Closed = 0, Open = 1, ParentOfOpen = 2, ChildOfOpen = 3 };

enum MenuEntryType : uint32_t { Action = 0, Back = 1, Label = 2 };

// Built on the stack for each choice; the pointer handed to the callback is only
// valid during the call. Handlers compare `label` exactly.
struct MenuEntrySelectedEvent {
    std::string label;
};

class MenuComponent {
public:
    using SelectedCallback = std::function<void(MenuEntrySelectedEvent*)>;

    TextRenderer* textRenderer = nullptr;
    InputManager* input = nullptr;
    std::function<void(const OnClickEvent&)> clickListener;
    LifecycleState initState = LifecycleCreated;
    MenuOpenState openState = Closed;
    ivec2 offset;
    std::string label;
    Font* font = nullptr;
    int32_t selectedIndex = 0;
    MenuEntryType entryType = Action;
    ivec4 hitRect;
    ivec4 drawRect;
    int32_t mouseMode = -1;  // -1 nothing seen yet, 0 keys/controller last, 1 mouse in control
    bool clicked = false;
    float scale = 1.0f;
    Sound* clickSound = nullptr;
    TimerComponent* inputTimer = nullptr;
    vec4 selectionColor{1.0f, 1.0f, 0.0f, 1.0f};
    vec4 color{1.0f, 1.0f, 1.0f, 1.0f};
    SelectedCallback onSelected;
    std::vector<MenuComponent*> children;
    MenuComponent* parent = nullptr;
    int32_t keyNext = KeyCode::Down;
    int32_t keyPrevious = KeyCode::Up;
    int32_t keySelect = KeyCode::Return;
    int32_t keyBack = KeyCode::Escape;

    MenuComponent(InputManager* input, TextRenderer* textRenderer, Font* font);
    MenuComponent(InputManager* input, TextRenderer* textRenderer, Font* font, std::string label,
                  MenuComponent* parent);
    MenuComponent(InputManager* input, TextRenderer* textRenderer, Font* font, std::string label,
                  SelectedCallback onSelected, MenuComponent* parent);
    ~MenuComponent();
    MenuComponent(const MenuComponent&) = delete;
    MenuComponent& operator=(const MenuComponent&) = delete;

    void Destroy();

    // Building, before Initialize.
    MenuComponent* AddEntry(std::string label, SelectedCallback onSelected, MenuEntryType type = Action);
    MenuComponent* AddLabel(std::string text);
    void Initialize();

    // Settings; all but the colours always apply to the whole subtree.
    void SetClickSound(Sound* sound);
    void SetPosition(ivec2 offset);
    void SetScale(float scale);
    void SetColor(const vec4& colour, bool applyToChildren);
    void SetSelectionColor(const vec4& colour, bool applyToChildren);

    void Open();
    void Close();
    bool IsClosed() const { return openState == Closed; }
    bool IsOpen() const { return openState != Closed; }
    MenuComponent* FindOpen(MenuComponent* node);
    void SetClicked();

    void Update(float dt);
    void Draw();

    // The steps of Update, public so that owners and tests can drive them.
    void Layout();
    void HandleKeyboardInput();
    void HandleGamepadInput();
    void HandleMouseInput();
    void OnClick(const OnClickEvent& event);

private:
    // The input manager cannot drop listeners, so the registered listener
    // reaches the root through this cell, which the root empties when it is
    // released: a click after that is ignored instead of touching freed memory.
    std::shared_ptr<MenuComponent*> listenerTarget;

    void Release();
    void ResetTimer();
    bool TimerRunOut() const;
    void ResetNeighbour(MenuOpenState state);
    void Choose(MenuComponent* entry);
    // Returns true when the handler must stop (the step ran or the node may not act).
    bool GoBack();
    void SelectNext();
    void SelectPrevious();
    bool HasSelectableChild() const;
    void SelectCurrent();
    MenuComponent* Root();
    void DemoteOtherOpenNodes(MenuComponent* node);
    bool IsAncestorOf(const MenuComponent* node) const;
};

}  // namespace Ostrel
