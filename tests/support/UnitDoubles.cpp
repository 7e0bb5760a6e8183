#include "UnitDoubles.h"

#include "core/Config.h"
#include "core/InputManager.h"
#include "core/State.h"
#include "gl/FontManager.h"
#include <algorithm>

namespace OstrelTest {

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string Str(const Ostrel::ivec4& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.z) + "," + std::to_string(r.w);
}

SDL_Event KeyDown(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    return e;
}
SDL_Event MouseButton(bool down, Uint8 button) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    return e;
}
SDL_Event MouseMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}
SDL_Event PadButton(SDL_GameControllerButton button, int which) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.which = which;
    e.cbutton.button = Uint8(button);
    return e;
}
SDL_Event PadAxis(SDL_GameControllerAxis axis, Sint16 value, int which) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = which;
    e.caxis.axis = Uint8(axis);
    e.caxis.value = value;
    return e;
}

const SpriteCall* SpriteRecorder::Of(const Ostrel::ITexture2D* t) const {
    for (const SpriteCall& c : draws)
        if (c.texture == t) return &c;
    return nullptr;
}

const TextCall* TextRecorder::Of(const std::string& text) const {
    for (const TextCall& c : draws)
        if (c.text == text) return &c;
    return nullptr;
}

Ostrel::ITexture2D* TextureRecorder::Load(const std::string& path, const std::string& key) {
    paths.push_back(path);
    textures[key] = std::make_unique<FakeTexture>(16, 16);
    return textures[key].get();
}

Ostrel::ITexture2D* TextureRecorder::CreateTexture(const unsigned char* px, unsigned w, unsigned h,
                                                   Ostrel::TextureParameters params) {
    const size_t bpp = params.channels == 1 ? 1 : params.channels == 3 ? 3 : 4;
    created.emplace_back();
    if (px != nullptr) created.back().assign(px, px + w * h * bpp);
    return new FakeTexture(w, h);
}

Ostrel::ITexture2D* TextureRecorder::GetTexture(std::string key) {
    auto it = textures.find(key);
    return it == textures.end() ? nullptr : it->second.get();
}

bool TextureRecorder::FindKey(Ostrel::ITexture2D* texture, std::string* key) {
    for (auto& [k, t] : textures)
        if (t.get() == texture && texture != nullptr) {
            *key = k;
            return true;
        }
    return false;
}

Ostrel::Sound* SoundRecorder::GetSound(std::string name) {
    auto it = sounds.find(name);
    return it == sounds.end() ? nullptr : it->second.get();
}

Ostrel::Sound* SoundRecorder::LoadSound(std::string, std::string name) {
    auto& slot = sounds[name];
    if (!slot) slot = std::make_unique<CountingSound>();
    return slot.get();
}

int SoundRecorder::Plays(const std::string& name) const {
    auto it = sounds.find(name);
    return it == sounds.end() ? 0 : it->second->plays;
}

void WindowRecorder::Resize(int width, int height) {
    settings.width = width;
    settings.height = height;
    Ostrel::WindowResizedEvent event{width, height};
    NotifyWindowResized(&event);
}

HeadlessGui::HeadlessGui() {
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(1280, 720);
    io.DeltaTime = 1.0f / 60.0f;
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);  // the pointer hovers nothing
}

HeadlessGui::~HeadlessGui() {
    ImGui::DestroyContext();
}

std::string HeadlessGui::Frame(const std::function<void()>& draw) {
    // ImGui's text log stops where the first popup drawn in the frame ends.
    testing::internal::CaptureStdout();
    ImGui::NewFrame();
    ImGui::Begin("T");
    ImGui::LogToTTY();
    if (draw) draw();
    ImGui::End();
    ImGui::Render();
    return testing::internal::GetCapturedStdout();
}

void HeadlessGui::Press(ImGuiWindow* window, const std::string& label, const std::string& scope) {
    ASSERT_NE(window, nullptr) << label;
    const ImGuiID seed = scope.empty() ? window->ID : ImHashStr(scope.c_str(), 0, window->ID);
    ImGui::ActivateItem(ImHashStr(label.c_str(), 0, seed));
    GImGui->NavInputSource = ImGuiInputSource_Keyboard;  // so that a text field takes input
}

ImGuiWindow* HeadlessGui::Child(ImGuiWindow* parent, const std::string& name) {
    for (ImGuiWindow* w : GImGui->Windows)
        if (parent != nullptr && w->ParentWindow == parent &&
            std::string(w->Name).find("/" + name + "_") != std::string::npos)
            return w;
    return nullptr;
}

ImGuiWindow* HeadlessGui::TopPopup() {
    return GImGui->OpenPopupStack.Size == 0 ? nullptr : GImGui->OpenPopupStack.back().Window;
}

ScreenBed::ScreenBed(const std::string& config) {
    game.config->text = config;
    window.settings.width = 800;
    window.settings.height = 600;
    font.height = 32;
    for (int c = 32; c < 127; ++c) {
        Ostrel::Character glyph;
        glyph.advance[0] = 16;
        font.AddCharacter(char(c), glyph);
    }
    game.gameData.font = &font;
    game.gameData.fontScale = 0.5f;
    game.fontManager->defaultFont = &font;
    sounds.LoadSound("click.wav", "click_sound");
    sounds.LoadSound("card.wav", "card_sound");
}

ScreenBed::~ScreenBed() {
    // The screens are this bed's: the game must keep no pointer into them.
    game.states.clear();
    game.currentState = nullptr;
    game.fontManager->defaultFont = nullptr;
    for (auto& deleter : deleters) deleter();
}

void ScreenBed::Wire(Ostrel::State* state) {
    state->windowManager = &window;
    state->textureManager = &textures;
    state->spriteRenderer = &sprites;
    state->textRenderer = &text;
    state->timeManager = &time;
    state->soundManager = &sounds;
}

void ScreenBed::Frame(std::vector<SDL_Event> events, float dt) {
    game.eventBuffer.count = 0;
    for (const SDL_Event& e : events) game.eventBuffer.events[game.eventBuffer.count++] = e;
    game.inputManager->Update(dt);
    if (game.currentState != nullptr) game.currentState->Update(dt);
    game.inputManager->EndFrame();
    game.eventBuffer.count = 0;
}

void ScreenBed::Click(int x, int y) {
    Frame({MouseMotion(x, y), MouseButton(true)});
    Frame({MouseButton(false)});
}

void ScreenBed::Render() {
    sprites.draws.clear();
    text.draws.clear();
    text.begins = 0;
    if (game.currentState != nullptr) game.currentState->Render();
}

std::string ScreenBed::Current() const {
    for (const auto& [name, state] : game.states)
        if (state == game.currentState) return name;
    return "";
}

}  // namespace OstrelTest
