#include "E2EHarness.h"

#include "GLTestContext.h"
#include "TempDir.h"

#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace OstrelTest {

void PrepareE2EEnvironment() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    }
    // An environment variable rather than a hint: SDL_Quit clears hints.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
}

namespace {

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string RepoConfigWith(const std::map<std::string, std::string>& overrides) {
    const std::string original = ReadWhole(fs::path(OSTREL_SOURCE_DIR) / "assets/game/config.txt");
    std::map<std::string, std::string> pending = overrides;
    std::istringstream lines(original);
    std::string line;
    std::string out;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? std::string() : line.substr(0, eq);
        auto it = pending.find(key);
        if (it != pending.end()) {
            out += key + "=" + it->second + "\n";
            pending.erase(it);
        } else {
            out += line + "\n";
        }
    }
    for (const auto& entry : pending) out += entry.first + "=" + entry.second + "\n";
    return out;
}

std::string TestConfig() {
    return RepoConfigWith({{"time_to_start", "200"}, {"hide_time", "200"}});
}

E2EWorkDir::E2EWorkDir(const std::string& configText) {
    PrepareE2EEnvironment();
    std::string pattern = (fs::temp_directory_path() / "ostrel-e2e-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
    path = buffer.data();

    // Read-only assets are linked; the game's folder is a real one so that its
    // config.txt can be replaced without touching the repository.
    const fs::path repoAssets = fs::path(OSTREL_SOURCE_DIR) / "assets";
    const fs::path assets = fs::path(path) / "assets";
    fs::create_directories(assets / "game");
    for (const auto& entry : fs::directory_iterator(repoAssets)) {
        if (entry.path().filename() == "game") continue;
        fs::create_directory_symlink(entry.path(), assets / entry.path().filename());
    }
    for (const auto& entry : fs::directory_iterator(repoAssets / "game")) {
        if (entry.path().filename() == "config.txt") continue;
        const fs::path link = assets / "game" / entry.path().filename();
        if (entry.is_directory())
            fs::create_directory_symlink(entry.path(), link);
        else
            fs::create_symlink(entry.path(), link);
    }
    WriteConfig(configText);

    previous = fs::current_path().string();
    fs::current_path(path);
}

E2EWorkDir::~E2EWorkDir() {
    std::error_code error;
    fs::current_path(previous, error);
    fs::remove_all(path, error);
}

void E2EWorkDir::WriteConfig(const std::string& text) const {
    WriteFile("assets/game/config.txt", text);
}

void E2EWorkDir::WriteFile(const std::string& relativePath, const std::string& text) const {
    const fs::path target = fs::path(path) / relativePath;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << text;
}

namespace {

void Push(SDL_Event& event) {
    event.common.timestamp = SDL_GetTicks();
    if (SDL_PushEvent(&event) != 1) std::cerr << "E2E: SDL_PushEvent failed: " << SDL_GetError() << std::endl;
}

Uint32 FocusedWindowId() {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    return window != nullptr ? SDL_GetWindowID(window) : 0;
}

void PushKey(SDL_Keycode key, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = FocusedWindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    Push(e);
}

}  // namespace

void PushKeyDown(SDL_Keycode key) {
    PushKey(key, true);
}
void PushKeyUp(SDL_Keycode key) {
    PushKey(key, false);
}
void PushKeyPress(SDL_Keycode key) {
    PushKey(key, true);
    PushKey(key, false);
}

void PushMouseMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = FocusedWindowId();
    e.motion.x = x;
    e.motion.y = y;
    Push(e);
}

void PushMouseButton(Uint8 button, bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = FocusedWindowId();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    Push(e);
}

void PushClick(int x, int y, Uint8 button) {
    PushMouseMotion(x, y);
    PushMouseButton(button, true, x, y);
    PushMouseButton(button, false, x, y);
}

void PushWindowClose(SDL_Window* window) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = window != nullptr ? SDL_GetWindowID(window) : FocusedWindowId();
    Push(e);
}

void PushControllerButton(SDL_JoystickID which, Uint8 button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.which = which;
    e.cbutton.button = button;
    e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    Push(e);
}

void PushControllerAxis(SDL_JoystickID which, Uint8 axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = which;
    e.caxis.axis = axis;
    e.caxis.value = value;
    Push(e);
}

void ResizeWindowAsUser(SDL_Window* window, int width, int height) {
    SDL_SetWindowSize(window, width, height);
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_RESIZED;
    e.window.windowID = SDL_GetWindowID(window);
    e.window.data1 = width;
    e.window.data2 = height;
    Push(e);
}

VirtualController::VirtualController() {
    PrepareE2EEnvironment();
    // The framework's SDL_Init later only adds a reference to these subsystems.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
        std::cerr << "VirtualController: " << SDL_GetError() << std::endl;
        return;
    }
    deviceIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                            SDL_CONTROLLER_BUTTON_MAX, 0);
    if (deviceIndex < 0) {
        std::cerr << "VirtualController: " << SDL_GetError() << std::endl;
        return;
    }
    instanceId = SDL_JoystickGetDeviceInstanceID(deviceIndex);
}

VirtualController::~VirtualController() {
    // SDL_Quit (at the framework's shutdown) already removed the device.
    if (deviceIndex >= 0 && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
        SDL_JoystickDetachVirtual(deviceIndex);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }
}

SDL_Joystick* VirtualController::Joystick() {
    // The input manager opened the device as a controller; reuse that joystick.
    if (joystick == nullptr) joystick = SDL_JoystickFromInstanceID(instanceId);
    if (joystick == nullptr) joystick = SDL_JoystickOpen(deviceIndex);
    return joystick;
}

void VirtualController::SetButton(SDL_GameControllerButton button, bool pressed) {
    if (SDL_Joystick* j = Joystick()) SDL_JoystickSetVirtualButton(j, button, pressed ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualController::SetAxis(SDL_GameControllerAxis axis, Sint16 value) {
    if (SDL_Joystick* j = Joystick()) SDL_JoystickSetVirtualAxis(j, axis, value);
}

std::vector<uint8_t> ReadBackBuffer(int width, int height) {
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    if (bottomUp.empty()) return bottomUp;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::copy_n(bottomUp.begin() + static_cast<long>(static_cast<size_t>(height - 1 - y) * row), row,
                    topDown.begin() + static_cast<long>(static_cast<size_t>(y) * row));
    }
    return topDown;
}

std::string FailureImagePath(const std::string& tag) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
    const fs::path dir = fs::path(ExecutableDir()) / "e2e-failures";
    std::error_code error;
    fs::create_directories(dir, error);
    std::string file = test + "-" + tag + ".png";
    for (char& c : file)
        if (c == '/') c = '_';
    return (dir / file).string();
}

bool SaveRgbaPng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height) {
    if (rgba.empty()) return false;
    const bool ok = WritePng(path, rgba, width, height);
    if (ok) std::cerr << "E2E: frame saved to " << path << std::endl;
    return ok;
}

}  // namespace OstrelTest
