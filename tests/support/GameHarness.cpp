#include "GameHarness.h"

#include "GameMenuState.h"
#include "GameOverState.h"
#include "core/ITimeManager.h"
#include "gl/GLEffectFactory.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>
// Static: other support files may carry their own copy of the writer.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace GameTest {

namespace {

// Game time moves by one fixed step a frame and nothing sleeps, so a loaded
// machine plays exactly the same game, only slower.
class FixedStep : public Ostrel::ITimeManager {
public:
    float GetFPS() override { return 60.0f; }
    void Start() override {}
    void BeginFrame() override {}
    void EndFrame() override { ++frames; }
    float GetDeltaMs() const override { return frames == 0 ? 0.0f : TestGame::StepMs; }
    float GetTotalSeconds() const override { return static_cast<float>(frames) * TestGame::StepMs / 1000.0f; }

private:
    long frames = 0;
};

void Push(SDL_Event e) {
    if (SDL_PushEvent(&e) != 1) ADD_FAILURE() << "SDL_PushEvent: " << SDL_GetError();
}

}  // namespace

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ConfigWith(std::map<std::string, std::string> values) {
    std::istringstream lines(ReadBytes(std::string(OSTREL_SOURCE_DIR) + "/assets/game/config.txt"));
    std::string out;
    for (std::string line; std::getline(lines, line);)
        if (values.count(line.substr(0, line.find('='))) == 0) out += line + "\n";
    for (const auto& entry : values) out += entry.first + "=" + entry.second + "\n";
    return out;
}

GameDir::GameDir(const std::string& config) {
    const fs::path repo = fs::path(OSTREL_SOURCE_DIR) / "assets";
    for (const auto& entry : fs::recursive_directory_iterator(repo)) {
        const fs::path target = fs::path(Root()) / "assets" / fs::relative(entry.path(), repo);
        fs::create_directories(entry.is_directory() ? target : target.parent_path());
        if (!entry.is_directory()) fs::create_symlink(entry.path(), target);
    }
    Write("assets/game/config.txt", config);
}

void GameDir::Write(const std::string& relative, const std::string& bytes) const {
    Remove(relative);
    TempDir::Write(relative, bytes);
}

void GameDir::Remove(const std::string& relative) const {
    fs::remove_all(fs::path(Root()) / relative);
}

void PushKeyPress(SDL_Keycode key) {
    for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event e{type};
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        Push(e);
    }
}

void PushMouse(int x, int y, bool down, bool move) {
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion.x = x;
    e.motion.y = y;
    if (move) Push(e);
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;  // a button event keeps the position elsewhere
    e.button.y = y;
    Push(e);
}

// One motion only: a second at the same place would read as no movement.
void PushClick(int x, int y) {
    PushMouse(x, y, true);
    PushMouse(x, y, false, false);
}

void PushResize(SDL_Window* window, int width, int height) {
    SDL_SetWindowSize(window, width, height);
    SDL_Event e{SDL_WINDOWEVENT};
    e.window.event = SDL_WINDOWEVENT_RESIZED;
    e.window.windowID = SDL_GetWindowID(window);
    e.window.data1 = width;
    e.window.data2 = height;
    Push(e);
}

VirtualPad::VirtualPad() {
    // The game's SDL_Init then only adds a reference; its SDL_Quit removes the device.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return;
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
}

int Rgb::Drawn(int x, int y, int w, int h) const {
    int count = 0;
    for (int row = std::max(y, 0); row < std::min(y + h, height); ++row)
        for (int col = std::max(x, 0); col < std::min(x + w, width); ++col) {
            const uint8_t* p = At(col, row);
            count += std::abs(p[0] - 163) + std::abs(p[1] - 167) + std::abs(p[2] - 194) > 12;
        }
    return count;
}

size_t Rgb::Colours(int x, int y, int w, int h, int step) const {
    std::set<std::string> colours;
    for (int row = std::max(y, 0); row < std::min(y + h, height); row += step)
        for (int col = std::max(x, 0); col < std::min(x + w, width); col += step)
            colours.insert(std::string(reinterpret_cast<const char*>(At(col, row)), 3));
    return colours.size();
}

bool Rgb::SavePng(const std::string& path) const {
    std::cerr << "E2E: frame saved to " << path << std::endl;
    return !px.empty() && stbi_write_png(path.c_str(), width, height, 3, px.data(), width * 3) != 0;
}

std::string FailurePath(const std::string& tag) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return ExecutableDir() + "/" + test->test_suite_name() + "." + test->name() + "-" + tag + ".png";
}

// Then the event's frame, 150 ms of game time (the menus' repeat gate) and one to spare.
Step Key(SDL_Keycode key) {
    return {std::string("key ") + SDL_GetKeyName(key), [key, left = 13](TestGame&) mutable {
                if (left == 13) PushKeyPress(key);
                return --left <= 0;
            }};
}

TestGame::TestGame() {
    timeManager = new FixedStep();
    static_cast<Ostrel::GLEffectFactory*>(effectFactory)->timeManager = timeManager;
}

void TestGame::Play() {
    Initialize();
    Run();
    if (next < script.size())
        ADD_FAILURE() << "the script stopped at step " << next << ": " << script[next].what << " (frame " << frame
                      << ", screen " << Screen() << ")";
    if (testing::Test::HasFailure() && !savedFailure) Pixels().SavePng(FailurePath("end"));
    Shutdown();
}

Ostrel::MenuComponent* TestGame::OpenMenu() const {
    Ostrel::MenuComponent* root = nullptr;
    if (auto* menu = dynamic_cast<GameMenuState*>(currentState)) root = menu->menu;
    if (auto* over = dynamic_cast<GameOverState*>(currentState)) root = over->menu;
    return root != nullptr ? root->FindOpen(root) : nullptr;
}

bool TestGame::ClickLine(const std::string& label) const {
    const std::vector<std::string> lines = MenuLines();
    const size_t i = static_cast<size_t>(std::find(lines.begin(), lines.end(), label) - lines.begin());
    const Ostrel::ivec4 r = i < lines.size() ? OpenMenu()->children[i]->hitRect : Ostrel::ivec4();
    if (r.z > 0 && r.w > 0) PushClick(r.x + r.z / 2, r.y + r.w / 2);
    return r.z > 0 && r.w > 0;
}

bool TestGame::EditorShown() const {
    const ImGuiWindow* editor = ImGui::GetCurrentContext() ? ImGui::FindWindowByName("Editor") : nullptr;
    return editor && editor->WasActive;
}

Rgb TestGame::Pixels() const {
    Rgb shot;
    SDL_GL_GetDrawableSize(Window(), &shot.width, &shot.height);
    std::vector<uint8_t> rgba(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!rgba.empty()) glReadPixels(0, 0, shot.width, shot.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (int y = shot.height - 1; y >= 0; --y)  // GL rows start at the bottom
        for (size_t i = static_cast<size_t>(y) * shot.width * 4, end = i + shot.width * 4; i < end; i += 4)
            shot.px.insert(shot.px.end(), &rgba[i], &rgba[i] + 3);
    return shot;
}

// Steps run after the screen has updated and drawn, so they see this frame's
// screen and pixels; their events arrive with the next frame.
void TestGame::Render() {
    Game::Render();
    if (next < script.size() && script[next].run(*this) && ++next == script.size()) Quit();
    if (everyFrame) everyFrame(*this);
    if (testing::Test::HasFailure() && !savedFailure) savedFailure = Pixels().SavePng(FailurePath("frame"));
    if (++frame >= maxFrames) Quit();
}

}  // namespace GameTest
