#include "UnitDoubles.h"

#include "core/Config.h"
#include "core/InputManager.h"
#include "core/State.h"
#include "gl/FontManager.h"
#include <algorithm>

namespace OstrelTest {

std::string Captured(const std::function<void()>& fn, bool fromStdout) {
    fromStdout ? testing::internal::CaptureStdout() : testing::internal::CaptureStderr();
    fn();
    return fromStdout ? testing::internal::GetCapturedStdout() : testing::internal::GetCapturedStderr();
}
int Lines(const std::string& text) {
    return int(std::count(text.begin(), text.end(), '\n'));
}
std::string Str(const ivec4& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.z) + "," + std::to_string(r.w);
}

SDL_Event KeyDown(SDL_Keycode key) {
    SDL_Event e{SDL_KEYDOWN};
    e.key.keysym.sym = key;
    return e;
}
SDL_Event MouseButton(bool down, Uint8 button) {
    SDL_Event e{Uint32(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP)};
    e.button.button = button;
    return e;
}
SDL_Event MouseMotion(int x, int y) {
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion.x = x;
    e.motion.y = y;
    return e;
}
SDL_Event PadButton(SDL_GameControllerButton button, int which) {
    SDL_Event e{SDL_CONTROLLERBUTTONDOWN};
    e.cbutton.which = which;
    e.cbutton.button = Uint8(button);
    return e;
}
SDL_Event PadAxis(SDL_GameControllerAxis axis, Sint16 value, int which) {
    SDL_Event e{SDL_CONTROLLERAXISMOTION};
    e.caxis.which = which;
    e.caxis.axis = Uint8(axis);
    e.caxis.value = value;
    return e;
}

ITexture2D* TextureRecorder::CreateTexture(const unsigned char* px, unsigned w, unsigned h, TextureParameters params) {
    created.emplace_back(px, px == nullptr ? px : px + size_t(w) * h * (params.channels == 1 ? 1 : 4));
    auto* texture = new FakeTexture;
    texture->width = w;
    texture->height = h;
    return texture;
}

HeadlessGui::HeadlessGui(std::function<void()> draw_) : draw(std::move(draw_)) {
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280, 720);
    io.Fonts->Build();
}
std::string HeadlessGui::Frame() {
    testing::internal::CaptureStdout();
    ImGui::NewFrame();
    ImGui::Begin("T");
    ImGui::LogToTTY();
    if (draw) draw();
    ImGui::End();
    ImGui::Render();
    return testing::internal::GetCapturedStdout();
}
ImGuiID HeadlessGui::Id(ImGuiWindow* window, const std::string& label, const std::string& scope) {
    EXPECT_NE(window, nullptr) << label;
    if (window == nullptr) return 0;
    return ImHashStr(label.c_str(), 0, scope.empty() ? window->ID : ImHashStr(scope.c_str(), 0, window->ID));
}
// There is no public way to press an item without a mouse, so this goes through ImGui's internals (the
// nav activation, its input source, the popup stack): an ImGui upgrade may break it.
std::string HeadlessGui::Press(ImGuiID id) {
    ImGui::ActivateItem(id);
    GImGui->NavInputSource = ImGuiInputSource_Keyboard;  // so that a text field takes the press as a click
    Frame();
    return Frame();
}
// The press leaves the item's rectangle as the nav rectangle of its window, relative to its content.
void HeadlessGui::Click(ImGuiID id, int clicks, float x) {
    Press(id);
    EXPECT_EQ(GImGui->NavId, id);
    const ImGuiWindow* window = GImGui->NavWindow;
    const ImRect rect = window->NavRectRel[0];
    const ImVec2 origin = window->DC.CursorStartPos;
    GImGui->IO.MousePos = ImVec2(origin.x + rect.Min.x + rect.GetWidth() * x, origin.y + rect.GetCenter().y);
    GImGui->NavDisableMouseHover = false;
    for (int i = 0; i < 2 * clicks; ++i) {
        GImGui->IO.MouseDown[0] = i % 2 == 0;
        Frame();
    }
    GImGui->IO.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);  // away, so that nothing stays hovered
}
ImGuiWindow* HeadlessGui::Child(ImGuiWindow* parent, const std::string& name) {
    for (ImGuiWindow* w : GImGui->Windows)
        if (parent && w->ParentWindow == parent && std::string(w->Name).find("/" + name + "_") != std::string::npos)
            return w;
    return nullptr;
}

// The framework never frees its managers; the recorders stand in for some of them.
ScreenBed::ScreenBed(const std::string& configText) {
    config->text = configText;
    // Kept reachable, as a running game keeps them, so that leak detection reports anything else.
    static auto* kept = new std::vector<const void*>;  // never destroyed: leaks are looked for at exit
    kept->insert(kept->end(), {windowManager, renderer, timeManager, inputManager, textureManager, spriteRenderer,
                               textRenderer, fontManager, soundManager, fileReader, imageLoader, config,
                               postProcessManager, effectFactory, gameData.texturePicker});
    textureManager = &textures;
    spriteRenderer = &sprites;
    textRenderer = &text;
    soundManager = &sounds;
    static_cast<SDLTimeManager*>(timeManager)->deltaMs = 16.0f;
    font.height = 32;
    for (char c = 32; c < 127; ++c) font.GetOrCreateCharacter(c)->advance[0] = 16;
    gameData.font = &font;
    gameData.fontScale = 0.5f;
    fontManager->defaultFont = &font;
    for (const char* name : {"click_sound", "card_sound"}) sounds.LoadSound("", name);
}
ScreenBed::~ScreenBed() {
    // The screens are this bed's: the game keeps no pointer into them.
    states.clear();
    fontManager->defaultFont = nullptr;
    for (auto& deleter : deleters) deleter();
}
// The last frame ends as the next begins, so that a test reads this frame's input.
void ScreenBed::Frame(std::vector<SDL_Event> events, float dt) {
    inputManager->EndFrame();
    eventBuffer.count = 0;
    for (const SDL_Event& e : events) eventBuffer.events[eventBuffer.count++] = e;
    inputManager->Update(dt);
    if (currentState != nullptr) currentState->Update(dt);
    if (onUpdate) onUpdate(dt);
}
void ScreenBed::Click(int x, int y) {
    Frame({MouseMotion(x, y), MouseButton(true)});
    Frame({MouseButton(false)});
}
void ScreenBed::Render() {
    sprites.draws.clear();
    text.draws.clear();
    text.begins = 0;
    if (currentState != nullptr) currentState->Render();
}
std::string ScreenBed::Current() const {
    for (const auto& [name, state] : states)
        if (state == currentState) return name;
    return "";
}

}  // namespace OstrelTest
