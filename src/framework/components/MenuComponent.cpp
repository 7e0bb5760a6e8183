// MenuComponent.cpp - the menu tree.
//
//   construction and release
//   building and settings
//   open state (Open, Close, FindOpen)
//   per frame: Update, Layout, Draw
//   input: choosing, going back, moving, the three handlers, clicks
#include "MenuComponent.h"

#include "TimerComponent.h"
#include "../core/Renderer.h"
#include "../core/SoundManager.h"
#include "../core/TextRenderer.h"
#include "../gl/Font.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

namespace Ostrel {

namespace {
// Keyboard and controller act at most once per this many milliseconds.
constexpr float InputGateMs = 150.0f;
// Gap between two lines, in pixels.
constexpr int32_t LineGap = 10;
// The stick must pass this to count as a move.
constexpr float StickThreshold = 0.5f;
// Text measures and positions stay within this many pixels either way.
constexpr double MaxPixels = 1 << 24;

// Truncates toward zero like a cast, within +-MaxPixels (NaN gives 0).
int32_t ClampPixels(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::max(-MaxPixels, std::min(value, MaxPixels)));
}
}  // namespace

// ---------------------------------------------------------------------------
// Construction and release

MenuComponent::MenuComponent(InputManager* input_, TextRenderer* textRenderer_, Font* font_)
    : textRenderer(textRenderer_), input(input_), font(font_) {
    inputTimer = new TimerComponent(std::function<void(TimerComponent*)>(), InputGateMs);
    inputTimer->Reset();
}

MenuComponent::MenuComponent(InputManager* input_, TextRenderer* textRenderer_, Font* font_, std::string label_,
                             MenuComponent* parent_)
    : MenuComponent(input_, textRenderer_, font_) {
    label = std::move(label_);
    parent = parent_;
}

MenuComponent::MenuComponent(InputManager* input_, TextRenderer* textRenderer_, Font* font_, std::string label_,
                             SelectedCallback onSelected_, MenuComponent* parent_)
    : MenuComponent(input_, textRenderer_, font_, std::move(label_), parent_) {
    onSelected = std::move(onSelected_);
}

MenuComponent::~MenuComponent() {
    Release();
}

void MenuComponent::Destroy() {
    Release();
}

void MenuComponent::Release() {
    if (listenerTarget) {
        *listenerTarget = nullptr;
        listenerTarget.reset();
    }
    delete inputTimer;
    inputTimer = nullptr;
    for (MenuComponent* child : children) {
        delete child;
    }
    children.clear();
    parent = nullptr;
    initState = LifecycleReleased;
}

// ---------------------------------------------------------------------------
// Building and settings

MenuComponent* MenuComponent::AddEntry(std::string text, SelectedCallback callback, MenuEntryType type) {
    auto* child = new MenuComponent(input, textRenderer, font, std::move(text), std::move(callback), this);
    child->entryType = type;
    child->color = color;
    child->selectionColor = selectionColor;
    children.push_back(child);
    return child;
}

MenuComponent* MenuComponent::AddLabel(std::string text) {
    return AddEntry(std::move(text), SelectedCallback(), MenuEntryType::Label);
}

void MenuComponent::Initialize() {
    if (parent == nullptr) {
        // One cell per root, so that releasing the root silences every
        // listener it registered, also when it was initialised twice.
        if (!listenerTarget) listenerTarget = std::make_shared<MenuComponent*>(this);
        std::shared_ptr<MenuComponent*> target = listenerTarget;
        clickListener = [target](const OnClickEvent& event) {
            if (*target != nullptr) {
                (*target)->OnClick(event);
            }
        };
        input->AddClickListener(clickListener);
    }
    for (MenuComponent* child : children) {
        child->Initialize();
    }
    initState = LifecycleInitialised;
}

void MenuComponent::SetClickSound(Sound* sound) {
    clickSound = sound;
    for (MenuComponent* child : children) {
        child->SetClickSound(sound);
    }
}

void MenuComponent::SetPosition(ivec2 position) {
    offset = position;
    for (MenuComponent* child : children) {
        child->SetPosition(position);
    }
}

void MenuComponent::SetScale(float value) {
    scale = value;
    for (MenuComponent* child : children) {
        child->SetScale(value);
    }
}

void MenuComponent::SetColor(const vec4& colour, bool applyToChildren) {
    color = colour;
    if (applyToChildren) {
        for (MenuComponent* child : children) {
            child->SetColor(colour, true);
        }
    }
}

void MenuComponent::SetSelectionColor(const vec4& colour, bool applyToChildren) {
    selectionColor = colour;
    if (applyToChildren) {
        for (MenuComponent* child : children) {
            child->SetSelectionColor(colour, true);
        }
    }
}

// ---------------------------------------------------------------------------
// Open state

void MenuComponent::ResetTimer() {
    // A released node has no timer; it simply never acts again.
    if (inputTimer != nullptr) {
        inputTimer->Reset();
    }
}

bool MenuComponent::TimerRunOut() const {
    return inputTimer != nullptr && inputTimer->elapsed > inputTimer->duration;
}

// What Open and Close do to the direct neighbours of the node they act on.
void MenuComponent::ResetNeighbour(MenuOpenState state) {
    openState = state;
    ResetTimer();
    mouseMode = -1;
    clicked = false;
}

void MenuComponent::Open() {
    openState = MenuOpenState::Open;
    ResetTimer();
    clicked = false;
    for (MenuComponent* child : children) {
        child->ResetNeighbour(ChildOfOpen);
    }
    if (parent != nullptr) {
        parent->ResetNeighbour(ParentOfOpen);
    }
    DemoteOtherOpenNodes(Root());
}

// Opening a node that is not a neighbour of the open one (an owner reopening
// the root while a grandchild is open, say) would leave two open nodes, both
// drawn and both taking keys. The one open node is this one: its ancestors
// become parents of the open node, anything else open is closed.
void MenuComponent::DemoteOtherOpenNodes(MenuComponent* node) {
    if (node != this && node->openState == MenuOpenState::Open) {
        node->openState = node->IsAncestorOf(this) ? ParentOfOpen : Closed;
    }
    for (MenuComponent* child : node->children) {
        DemoteOtherOpenNodes(child);
    }
}

bool MenuComponent::IsAncestorOf(const MenuComponent* node) const {
    for (const MenuComponent* p = node->parent; p != nullptr; p = p->parent) {
        if (p == this) return true;
    }
    return false;
}

MenuComponent* MenuComponent::Root() {
    MenuComponent* node = this;
    while (node->parent != nullptr) {
        node = node->parent;
    }
    return node;
}

void MenuComponent::Close() {
    openState = Closed;
    for (MenuComponent* child : children) {
        child->Close();
    }
    if (parent != nullptr) {
        parent->ResetNeighbour(Closed);
    }
}

MenuComponent* MenuComponent::FindOpen(MenuComponent* node) {
    if (node == nullptr) return nullptr;
    if (node->openState == MenuOpenState::Open) return node;
    for (MenuComponent* child : node->children) {
        if (MenuComponent* found = FindOpen(child)) return found;
    }
    return nullptr;
}

void MenuComponent::SetClicked() {
    clicked = true;
    for (MenuComponent* child : children) {
        child->SetClicked();
    }
}

void MenuComponent::OnClick(const OnClickEvent& event) {
    if (event.left) {
        Root()->SetClicked();
    }
}

// ---------------------------------------------------------------------------
// Per frame

void MenuComponent::Update(float dt) {
    if (initState == LifecycleCreated) {
        std::cout << "MenuComponent is not initialized!!!" << std::endl;
    }
    // Children first; entries added by a callback during the loop wait a frame.
    const size_t count = children.size();
    for (size_t i = 0; i < count && i < children.size(); ++i) {
        children[i]->Update(dt);
    }
    Layout();
    HandleKeyboardInput();
    HandleGamepadInput();
    HandleMouseInput();
    if (inputTimer != nullptr) {
        inputTimer->Update(dt);
    }
}

void MenuComponent::Layout() {
    if (children.empty()) return;
    const Renderer* target = textRenderer->renderer;
    const int32_t width = target->GetWidth();
    const int32_t height = target->GetHeight();
    const int32_t n = static_cast<int32_t>(children.size());
    // A missing font measures 0; absurd numbers from a font description are
    // clamped (a negative height to 0) and the lines stacked in 64 bits, so
    // nothing overflows.
    const int32_t lineHeight =
        font != nullptr ? std::max(0, ClampPixels(static_cast<float>(font->GetHeight()) * scale)) : 0;
    const int64_t step = static_cast<int64_t>(lineHeight) + LineGap;
    int64_t y = static_cast<int64_t>(offset.y) - (step * n) / 2 + height / 2;

    for (MenuComponent* child : children) {
        int32_t textWidth = 0;
        for (char c : child->label) {
            if (font == nullptr) break;
            const Character* g = font->GetCharacter(c);
            if (font->type == FontType::TrueType) {
                textWidth = ClampPixels(static_cast<double>(textWidth) +
                                        static_cast<double>(static_cast<int32_t>(g->advance[0]) >> 6) + g->bearing.x);
            } else if (font->type == FontType::Bitmap) {
                // Signed, as the text renderer moves its pen: a negative width
                // from the description narrows the line instead of overflowing.
                const float advance = static_cast<float>(static_cast<int32_t>(g->advance[0]));
                textWidth = ClampPixels(advance * scale + static_cast<float>(textWidth));
            }
        }
        const ivec4 rect(ClampPixels(static_cast<double>(offset.x) - textWidth / 2 + width / 2),
                         ClampPixels(static_cast<double>(y)), textWidth, lineHeight);
        child->hitRect = rect;
        child->drawRect = rect;
        y += step;
        child->Layout();
    }
}

void MenuComponent::Draw() {
    if (openState == Closed) return;
    for (MenuComponent* child : children) {
        child->Draw();
    }
    if (openState != MenuOpenState::Open) return;
    for (size_t i = 0; i < children.size(); ++i) {
        const MenuComponent* child = children[i];
        const bool selected = static_cast<int32_t>(i) == selectedIndex && child->entryType != MenuEntryType::Label;
        const vec4& colour = selected ? selectionColor : color;
        textRenderer->DrawText(font, child->label,
                               vec2(static_cast<float>(child->drawRect.x), static_cast<float>(child->drawRect.y)),
                               scale, colour);
    }
}

// ---------------------------------------------------------------------------
// Input

// The callback runs first, with the entry's label; it may close the tree or
// switch the screen before the submenu or the parent opens.
void MenuComponent::Choose(MenuComponent* entry) {
    MenuEntrySelectedEvent event;
    event.label = entry->label;
    if (entry->onSelected) {
        entry->onSelected(&event);
    }
    if (entry->entryType == MenuEntryType::Action && !entry->children.empty()) {
        entry->Open();
    } else if (entry->entryType == MenuEntryType::Back && parent != nullptr) {
        parent->Open();
    }
}

bool MenuComponent::GoBack() {
    if (parent != nullptr) {
        if (openState != MenuOpenState::Open) return true;
        selectedIndex = 0;
        parent->Open();
        return true;
    }
    if (openState == Closed) {
        Open();
        return true;
    }
    if (openState == MenuOpenState::Open) {
        Close();
        return true;
    }
    return false;
}

bool MenuComponent::HasSelectableChild() const {
    for (const MenuComponent* child : children) {
        if (child->entryType != MenuEntryType::Label) return true;
    }
    return false;
}

void MenuComponent::SelectNext() {
    ResetTimer();
    mouseMode = 0;
    const int32_t n = static_cast<int32_t>(children.size());
    selectedIndex += 1;
    // The index may be stale: the mouse handler stores indices into whichever
    // descendant was open, which can have more entries than this node.
    if (selectedIndex >= n || selectedIndex < 0) selectedIndex = 0;
    if (!HasSelectableChild()) return;
    while (children[selectedIndex]->entryType == MenuEntryType::Label) {
        selectedIndex += 1;
        if (selectedIndex >= n) selectedIndex = 0;
    }
}

void MenuComponent::SelectPrevious() {
    ResetTimer();
    mouseMode = 0;
    const int32_t n = static_cast<int32_t>(children.size());
    selectedIndex -= 1;
    if (selectedIndex < 0 || selectedIndex >= n) selectedIndex = n - 1;
    if (!HasSelectableChild()) return;
    while (children[selectedIndex]->entryType == MenuEntryType::Label) {
        selectedIndex -= 1;
        if (selectedIndex < 0) selectedIndex = n - 1;
    }
}

void MenuComponent::SelectCurrent() {
    ResetTimer();
    if (selectedIndex < 0 || selectedIndex >= static_cast<int32_t>(children.size())) return;
    Choose(children[selectedIndex]);
}

void MenuComponent::HandleKeyboardInput() {
    if (!TimerRunOut()) return;
    if (input->IsKeyPressed(keyBack)) {
        ResetTimer();
        if (GoBack()) return;
    }
    if (openState != MenuOpenState::Open) return;
    if (input->IsKeyPressed(keySelect)) {
        SelectCurrent();
    } else if (input->IsKeyPressed(keyNext)) {
        SelectNext();
    } else if (input->IsKeyPressed(keyPrevious)) {
        SelectPrevious();
    }
}

void MenuComponent::HandleGamepadInput() {
    const ControllerState& pad = input->controllers[0];
    if (!pad.connected || !TimerRunOut()) return;
    if (pad.buttons & ControllerButton::B) {
        ResetTimer();
        if (GoBack()) return;
    }
    if (openState != MenuOpenState::Open) return;
    if (pad.buttons & ControllerButton::A) {
        SelectCurrent();
    } else if ((pad.dpad & DpadDirection::Down) || pad.axes[1] > StickThreshold) {
        SelectNext();
    } else if ((pad.dpad & DpadDirection::Up) || pad.axes[1] < -StickThreshold) {
        SelectPrevious();
    }
}

// Every node runs this, children first. Only the open node's own run still
// sees its click flag: its descendants find nothing open below them, and its
// ancestors run after the flag was cleared, so a click acts once per tree.
void MenuComponent::HandleMouseInput() {
    const MouseState m = input->GetMouseState();
    if (m.dx == 0 && m.dy == 0 && mouseMode != 1) {
        // No pointer motion since the keys took over: the click is not ours.
        clicked = false;
        return;
    }
    mouseMode = 1;

    MenuComponent* open = FindOpen(this);
    if (open == nullptr || open->children.empty()) {
        selectedIndex = -1;
        clicked = false;
        return;
    }

    int32_t hovered = -1;
    MenuComponent* pressedEntry = nullptr;
    const bool pressed = open->clicked;
    for (size_t i = 0; i < open->children.size(); ++i) {
        MenuComponent* child = open->children[i];
        const ivec4& r = child->hitRect;
        const bool hit = r.x <= m.x && m.x < r.x + r.z && r.y <= m.y && m.y < r.y + r.w;
        if (hit) {
            hovered = static_cast<int32_t>(i);
            if (pressed) {
                pressedEntry = child;
                break;
            }
        }
    }

    if (pressedEntry != nullptr) {
        // A menu without a click sound clicks silently.
        if (clickSound != nullptr) {
            clickSound->Play();
        }
        Choose(pressedEntry);
    }
    selectedIndex = hovered;
    clicked = false;
}

}  // namespace Ostrel
