// The whole game started on broken assets: each case copies assets/ into a
// fresh working directory (one symbolic link per file, so a case can remove or
// replace a file without touching the repository), breaks something, and plays
// 120 frames in a child process: clicks on the intro, on the cards, on the menu
// icon, through the menu to an effect, the editor shown and clicked, back to
// the table. Every run must end with status 0 and print the diagnostics that
// the broken file calls for.
//
// Frames are not paced (the time manager's sleep is skipped) but every frame
// still counts 1000/60 ms of game time, so timers run as in real play.
// The last tests start the real zinnet executable on the worst of these
// directories, click into it with xdotool where there is an X display, stop it
// with SIGTERM (which SDL turns into a quit request) and expect status 0.
//
// This file runs in the sanitized pass too: some faults (an integer overflow
// in the menu layout) only show under UBSan.
#include "ChildProcess.h"
#include "E2EHarness.h"
#include "TempDir.h"

#include "Game.h"
#include "GameMenuState.h"
#include "GameRunState.h"
#include "components/MenuComponent.h"
#include "sdl/SDLTimeManager.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using OstrelTest::ChildResult;

namespace {

constexpr int Frames = 120;
constexpr int Parallel = 2;
constexpr double TimeoutSeconds = 120.0;
constexpr unsigned RandomSeed = 20240611u;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A working directory whose assets/ mirrors the repository's file by file.
class MirroredAssets {
public:
    MirroredAssets() {
        std::string pattern = (fs::temp_directory_path() / "ostrel-broken-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root = buffer.data();
        const fs::path repoAssets = fs::path(OSTREL_SOURCE_DIR) / "assets";
        for (const auto& entry : fs::recursive_directory_iterator(repoAssets)) {
            const fs::path target = root / "assets" / fs::relative(entry.path(), repoAssets);
            if (entry.is_directory()) {
                fs::create_directories(target);
            } else {
                fs::create_directories(target.parent_path());
                fs::create_symlink(entry.path(), target);
            }
        }
        // Short times, so that cards can be turned within the run.
        Write("assets/game/config.txt", OstrelTest::TestConfig());
    }
    ~MirroredAssets() {
        std::error_code error;
        fs::remove_all(root, error);  // removes the links, never their targets
    }
    MirroredAssets(const MirroredAssets&) = delete;
    MirroredAssets& operator=(const MirroredAssets&) = delete;

    const fs::path& Root() const { return root; }
    std::string Original(const std::string& relative) const { return ReadFile(root / relative); }
    void Remove(const std::string& relative) const { fs::remove(root / relative); }
    void Write(const std::string& relative, const std::string& bytes) const {
        const fs::path target = root / relative;
        fs::remove(target);  // a link: replace it, do not write through it
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    fs::path root;
};

using Breakage = std::function<void(const MirroredAssets&)>;

struct Case {
    std::string name;
    Breakage breakage;
    // Key diagnostic lines (substrings) the run must print.
    std::vector<std::string> expected;
    // Runs in the child once it is in the working directory, before the game.
    std::function<void(const fs::path&)> inChild = nullptr;
    // The menu's effect entry to choose; by default the cases take turns.
    std::string effect = "";
};

using App = OstrelTest::ScriptedApp<Game>;

// Press now, release two frames later: the intro and the cards react while
// the button is down, the menus to the release.
void Press(App& app, int frame, int x, int y) {
    app.At(frame, [x, y](App&) {
        OstrelTest::PushMouseMotion(x, y);
        OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, true, x, y);
    });
    app.At(frame + 2, [x, y](App&) { OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, false, x, y); });
}

// Clicks the entry of the open menu node with this label, when it has an area.
void ClickMenuEntry(App& app, const std::string& label) {
    auto* menuState = dynamic_cast<GameMenuState*>(app.States().at("menu"));
    if (menuState == nullptr || menuState->menu == nullptr) return;
    Ostrel::MenuComponent* open = menuState->menu->FindOpen(menuState->menu);
    if (open == nullptr) return;
    for (Ostrel::MenuComponent* entry : open->children) {
        const Ostrel::ivec4& r = entry->hitRect;
        if (entry->label != label || r.z <= 0 || r.w <= 0) continue;
        OstrelTest::PushClick(r.x + r.z / 2, r.y + r.w / 2);
        return;
    }
}

// Turns the card at this index face up, if the deal has one.
void ClickCard(App& app, size_t index) {
    auto* table = dynamic_cast<GameRunState*>(app.States().at("game"));
    if (table == nullptr || index >= table->cards.size()) return;
    const Card& card = table->cards[index];
    OstrelTest::PushMouseMotion(card.x + card.w / 2, card.y + card.h / 2);
    OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, true, card.x + card.w / 2, card.y + card.h / 2);
}

void ReleaseMouse(App&) {
    OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, false, 0, 0);
}

// The scripted play; `effect` picks the menu's effect entry.
void Script(App& app, const std::string& effect) {
    Press(app, 2, 400, 300);  // intro -> table
    // The memorise phase lasts 200 ms (12 frames); then turn cards in order.
    for (int i = 0; i < 8; ++i) {
        const int frame = 20 + 4 * i;
        app.At(frame, [i](App& a) { ClickCard(a, static_cast<size_t>(i)); });
        app.At(frame + 1, ReleaseMouse);
    }
    Press(app, 54, 10, 10);  // the menu icon -> menu
    app.At(60, [](App& a) { ClickMenuEntry(a, "Options"); });
    app.At(64, [](App& a) { ClickMenuEntry(a, "Effects"); });
    app.At(68, [effect](App& a) { ClickMenuEntry(a, effect); });
    app.At(72, [](App&) { OstrelTest::PushKeyPress(SDLK_DOWN); });
    // Back out: effects -> options -> root -> closed, which returns to the table.
    for (int frame : {76, 86, 96}) app.At(frame, [](App&) { OstrelTest::PushKeyPress(SDLK_ESCAPE); });
    app.At(100, [](App& a) { ClickCard(a, 9); });
    app.At(101, ReleaseMouse);
    app.At(104, [](App&) { OstrelTest::PushKeyPress(SDLK_TAB); });  // editor shown
    Press(app, 108, 90, 90);
    app.At(112, [](App&) { OstrelTest::PushClick(120, 140); });
    app.At(116, [](App&) { OstrelTest::PushKeyPress(SDLK_TAB); });  // and hidden
}

std::string StateName(App& app) {
    for (const auto& entry : app.States()) {
        if (entry.second == app.CurrentState()) return entry.first;
    }
    return "none";
}

// Plays the script; prints the frames rendered, the screens in the order they
// were shown and how far the play got, for the parent to check.
int PlayInChild(const fs::path& workDir, const std::string& effect,
                const std::function<void(const fs::path&)>& inChild) {
    if (chdir(workDir.c_str()) != 0) return 71;
    if (inChild) inChild(workDir);
    App app;
    app.keepLastFrame = false;
    static_cast<Ostrel::SDLTimeManager*>(app.Time())->delay = [](uint32_t) {};
    Script(app, effect);
    std::string route;
    int faceUpAfterMemorising = -1;
    int mostFaceUpWhilePlaying = 0;
    bool editorShown = false;
    app.AfterRender([&](App& a, int frame) {
        const std::string name = StateName(a);
        if (route.size() < name.size() || route.compare(route.size() - name.size(), name.size(), name) != 0)
            route += (route.empty() ? "" : ">") + name;
        if (auto* table = dynamic_cast<GameRunState*>(a.States().at("game"))) {
            int up = 0;
            for (const Card& card : table->cards) up += card.faceDown ? 0 : 1;
            if (frame == 19) faceUpAfterMemorising = up;
            if (frame >= 20 && frame < 54) mostFaceUpWhilePlaying = std::max(mostFaceUpWhilePlaying, up);
        }
        editorShown = editorShown || ImGui::FindWindowByName("Editor") != nullptr;
    });
    app.QuitAfterFrames(Frames);
    OstrelTest::RunApp(app);
    std::cout << "BrokenAssets: " << app.FramesRendered() << " frames rendered" << std::endl;
    std::cout << "BrokenAssets: route " << route << std::endl;
    std::cout << "BrokenAssets: cards face up " << faceUpAfterMemorising << " after memorising, at most "
              << mostFaceUpWhilePlaying << " while playing" << std::endl;
    std::cout << "BrokenAssets: editor " << (editorShown ? "shown" : "never shown") << std::endl;
    return app.FramesRendered() == Frames ? 0 : 72;
}

// Lines that are diagnostics rather than the harness's own.
std::vector<std::string> DiagnosticLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.rfind("BrokenAssets:", 0) == 0 || line.rfind("E2E:", 0) == 0) continue;
        lines.push_back(line);
    }
    return lines;
}

// Runs every case in its own child process and checks status, frame count and
// the expected lines; prints each case's diagnostics for the log.
void RunCases(const std::vector<Case>& cases) {
    const char* effects[] = {"CRT Effect", "Dither Effect", "Gameboy Effect"};
    std::vector<std::unique_ptr<MirroredAssets>> dirs;
    std::vector<OstrelTest::ChildJob> jobs;
    for (size_t i = 0; i < cases.size(); ++i) {
        dirs.push_back(std::make_unique<MirroredAssets>());
        cases[i].breakage(*dirs.back());
        const fs::path dir = dirs.back()->Root();
        const std::string effect = cases[i].effect.empty() ? effects[i % 3] : cases[i].effect;
        const auto inChild = cases[i].inChild;
        jobs.push_back([dir, effect, inChild] { return PlayInChild(dir, effect, inChild); });
    }
    const std::vector<ChildResult> results = OstrelTest::RunInChildren(jobs, Parallel, TimeoutSeconds);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const ChildResult& r = results[i];
        const std::vector<std::string> lines = DiagnosticLines(r.output);
        std::cout << "[case] " << c.name << ": " << r.Describe() << ", " << lines.size() << " diagnostic lines, "
                  << static_cast<int>(r.seconds * 1000.0) << " ms" << std::endl;
        for (size_t k = 0; k < lines.size() && k < 6; ++k) std::cout << "    " << lines[k] << std::endl;
        if (cases.size() == 1) std::cout << r.output;
        EXPECT_TRUE(r.Clean()) << c.name << ": " << r.Describe() << "\n" << r.output;
        EXPECT_NE(r.output.find("BrokenAssets: 120 frames rendered"), std::string::npos) << c.name << "\n" << r.output;
        for (const std::string& line : c.expected) {
            EXPECT_NE(r.output.find(line), std::string::npos)
                << c.name << ": expected a line containing \"" << line << "\"\n"
                << r.output;
        }
    }
}

// The script itself, on intact assets: it must get through every screen it
// means to, or the broken cases below prove little.
TEST(BrokenAssets, ScriptPlaysThroughIntactAssets) {
    RunCases({{"intact assets",
               [](const MirroredAssets&) {},
               {"BrokenAssets: route intro>game>menu>game\n", "cards face up 0 after memorising",
                "BrokenAssets: editor shown"}}});
}

// ---------------------------------------------------------------------------
// The files config.txt names

struct ConfiguredFile {
    std::string key;
    std::string path;
};

std::vector<ConfiguredFile> ConfiguredFiles() {
    std::vector<ConfiguredFile> files;
    std::istringstream lines(ReadFile(fs::path(OSTREL_SOURCE_DIR) / "assets/game/config.txt"));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string value = line.substr(eq + 1);
        if (value.rfind("assets/", 0) == 0) files.push_back({line.substr(0, eq), value});
    }
    return files;
}

bool IsPicture(const std::string& path) {
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
}
bool IsSound(const std::string& path) {
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".wav") == 0;
}

// What a file that cannot be read or decoded at all makes the game print.
std::vector<std::string> UnreadableLines(const ConfiguredFile& file, bool missing) {
    if (IsPicture(file.path)) return {"Could not open image file - '" + file.path};
    if (IsSound(file.path)) return {"Error loading sound file: " + file.path};
    if (missing) return {"could not open font description '" + file.path + "'"};
    return {};
}

std::string RandomBytes(size_t size, const std::string& salt) {
    std::seed_seq seed{RandomSeed, static_cast<unsigned>(std::hash<std::string>{}(salt)&0xffffffffu)};
    std::mt19937 generator(seed);
    std::string bytes(std::max<size_t>(size, 64), '\0');
    for (char& c : bytes) c = static_cast<char>(generator() & 0xff);
    return bytes;
}

TEST(BrokenAssets, ConfiguredFileMissing) {
    std::vector<Case> cases;
    for (const ConfiguredFile& file : ConfiguredFiles()) {
        cases.push_back({"missing " + file.path, [file](const MirroredAssets& a) { a.Remove(file.path); },
                         UnreadableLines(file, true)});
    }
    ASSERT_GE(cases.size(), 20u);
    RunCases(cases);
}

TEST(BrokenAssets, ConfiguredFileTruncatedToHalf) {
    std::vector<Case> cases;
    for (const ConfiguredFile& file : ConfiguredFiles()) {
        cases.push_back({"half of " + file.path,
                         [file](const MirroredAssets& a) {
                             const std::string bytes = a.Original(file.path);
                             a.Write(file.path, bytes.substr(0, bytes.size() / 2));
                         },
                         // Half a PNG never decodes; half a sound or a description may still load.
                         IsPicture(file.path) ? UnreadableLines(file, false) : std::vector<std::string>{}});
    }
    RunCases(cases);
}

TEST(BrokenAssets, ConfiguredFileRandomBytes) {
    std::vector<Case> cases;
    for (const ConfiguredFile& file : ConfiguredFiles()) {
        cases.push_back({"random bytes in " + file.path,
                         [file](const MirroredAssets& a) {
                             a.Write(file.path, RandomBytes(a.Original(file.path).size(), file.path));
                         },
                         UnreadableLines(file, false)});
    }
    RunCases(cases);
}

// ---------------------------------------------------------------------------
// config.txt itself

TEST(BrokenAssets, ConfigFileMissingOrEmpty) {
    const std::vector<std::string> unconfigured = {"Game: no path configured under 'click_sound'",
                                                   "no picture configured under 'logo'",
                                                   "no picture configured under 'texture_0'"};
    std::vector<std::string> missing = unconfigured;
    missing.push_back("Could not open the file - 'assets/game/config.txt'");
    RunCases({
        {"config.txt missing", [](const MirroredAssets& a) { a.Remove("assets/game/config.txt"); }, missing},
        {"config.txt empty", [](const MirroredAssets& a) { a.Write("assets/game/config.txt", ""); }, unconfigured},
        {"config.txt random bytes",
         [](const MirroredAssets& a) { a.Write("assets/game/config.txt", RandomBytes(900, "config")); }, unconfigured},
    });
}

TEST(BrokenAssets, ConfigNumberMalformed) {
    struct Number {
        std::string key;
        std::string kind;
    };
    const std::vector<Number> numbers = {
        {"animation_speed", "a number"}, {"time_to_start", "an integer"}, {"hide_time", "an integer"}};
    std::vector<Case> cases;
    for (const Number& number : numbers) {
        const auto with = [number](const std::string& value) {
            return [number, value](const MirroredAssets& a) {
                a.Write("assets/game/config.txt", OstrelTest::RepoConfigWith({{number.key, value}}));
            };
        };
        const std::string prefix = "Config: value of '" + number.key + "' is ";
        cases.push_back({number.key + "=fast", with("fast"), {prefix + "not " + number.kind}});
        cases.push_back({number.key + "=(empty)", with(""), {prefix + "not " + number.kind}});
        cases.push_back({number.key + " too large",
                         with("99999999999999999999999999999999999999999"),
                         {prefix + "out of range for " + number.kind}});
        cases.push_back({number.key + "=-5000", with("-5000"), {}});
        cases.push_back({number.key + "=nan", with("nan"), {}});
    }
    RunCases(cases);
}

// ---------------------------------------------------------------------------
// Shaders and fonts

std::vector<std::string> ShaderFiles() {
    std::vector<std::string> files;
    const fs::path assets = fs::path(OSTREL_SOURCE_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(assets / "assets/framework/shaders")) {
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), assets).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The game builds the sprite and text programs and three effects; the other
// effect files are never read.
bool GameLoads(const std::string& shader) {
    for (const char* used : {"/sprite/", "/text/", "/crt/", "ordered_dither", "/texel_color/"}) {
        if (shader.find(used) != std::string::npos) return true;
    }
    return false;
}

TEST(BrokenAssets, ShaderMissingOrNotCompiling) {
    std::vector<Case> cases;
    for (const std::string& shader : ShaderFiles()) {
        const bool loaded = GameLoads(shader);
        cases.push_back({"missing " + shader, [shader](const MirroredAssets& a) { a.Remove(shader); },
                         loaded ? std::vector<std::string>{"Could not open the file - '" + shader + "'",
                                                           "Unable to initalize the shader program"}
                                : std::vector<std::string>{}});
        cases.push_back({"syntax error in " + shader,
                         [shader](const MirroredAssets& a) {
                             a.Write(shader, a.Original(shader) + "\nvoid broken( { this is not GLSL\n");
                         },
                         loaded ? std::vector<std::string>{"An error occurred while compiling the shaders",
                                                           "Unable to initalize the shader program"}
                                : std::vector<std::string>{}});
    }
    ASSERT_GE(cases.size(), 10u);
    RunCases(cases);
}

TEST(BrokenAssets, FontsMissing) {
    RunCases({
        {"default font missing",
         [](const MirroredAssets& a) { a.Remove("assets/game/fonts/ThaleahFat.ttf"); },
         {"ERROR::FREETYPE: Failed to load font"}},
        {"bitmap font missing",
         [](const MirroredAssets& a) {
             a.Remove("assets/game/fonts/bitmap_font.png");
             a.Remove("assets/game/fonts/bitmap_font.csv");
         },
         {"Could not open image file - 'assets/game/fonts/bitmap_font.png",
          "could not open font description 'assets/game/fonts/bitmap_font.csv'"}},
        {"both fonts missing",
         [](const MirroredAssets& a) {
             a.Remove("assets/game/fonts/ThaleahFat.ttf");
             a.Remove("assets/game/fonts/bitmap_font.png");
             a.Remove("assets/game/fonts/bitmap_font.csv");
         },
         {"ERROR::FREETYPE: Failed to load font"}},
    });
}

// A description that parses but whose numbers are absurd: every screen still
// measures and draws its text with it.
TEST(BrokenAssets, BitmapFontDescriptionWithAbsurdNumbers) {
    const auto description = [](const std::string& header, const std::string& width) {
        return [header, width](const MirroredAssets& a) {
            std::string text = header;
            for (int code = 0; code < 128; ++code)
                text += "Char " + std::to_string(code) + " Base Width," + width + "\n";
            a.Write("assets/game/fonts/bitmap_font.csv", text);
        };
    };
    const std::string cells = "Image Width,512\nImage Height,512\nCell Width,32\nCell Height,32\n";
    RunCases({
        {"huge font height", description(cells + "Font Height,2147483647\n", "16"), {}},
        {"negative font height", description(cells + "Font Height,-2147483648\n", "16"), {}},
        {"huge advances", description(cells + "Font Height,32\n", "2147483647"), {}},
        {"negative advances", description(cells + "Font Height,32\n", "-2147483648"), {}},
        {"zero and negative cells", description("Cell Width,0\nCell Height,-32\nFont Height,32\n", "16"), {}},
        {"huge cells", description("Cell Width,2147483647\nCell Height,2147483647\nFont Height,32\n", "16"), {}},
    });
}

// The effects' own pictures, drawn while their effect is chosen.
TEST(BrokenAssets, EffectTextureMissingOrRandomBytes) {
    std::vector<Case> cases;
    const fs::path source(OSTREL_SOURCE_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(source / "assets/framework/textures")) {
        if (!entry.is_regular_file()) continue;
        const std::string texture = fs::relative(entry.path(), source).string();
        const std::string effect = texture.find("/crt/") != std::string::npos ? "CRT Effect" : "Gameboy Effect";
        const std::vector<std::string> expected = {"Could not open image file - '" + texture};
        cases.push_back({"missing " + texture, [texture](const MirroredAssets& a) { a.Remove(texture); }, expected,
                         nullptr, effect});
        cases.push_back(
            {"random bytes in " + texture,
             [texture](const MirroredAssets& a) { a.Write(texture, RandomBytes(a.Original(texture).size(), texture)); },
             expected, nullptr, effect});
    }
    ASSERT_GE(cases.size(), 8u);
    RunCases(cases);
}

// The editor's layout file, which Dear ImGui reads when the editor first shows.
TEST(BrokenAssets, EditorLayoutFileBroken) {
    RunCases({
        {"imgui.ini random bytes", [](const MirroredAssets& a) { a.Write("imgui.ini", RandomBytes(2000, "ini")); }, {}},
        {"imgui.ini absurd numbers",
         [](const MirroredAssets& a) {
             a.Write("imgui.ini",
                     "[Window][Editor]\nPos=-2147483648,2147483647\nSize=0,-99999\nCollapsed=1\n"
                     "[Window][Debug##Default]\nPos=99999999999999999999,nan\nSize=inf,-inf\n[Window][\n");
         },
         {}},
    });
}

// The working directory itself gone (removed while the game starts): nothing
// can be read or listed.
TEST(BrokenAssets, WorkingDirectoryRemoved) {
    RunCases({{"working directory removed",
               [](const MirroredAssets&) {},
               {"Could not open the file - 'assets/game/config.txt'"},
               [](const fs::path& dir) { fs::remove_all(dir); }}});
}

// Everything at once: no assets folder at all.
TEST(BrokenAssets, NoAssetsAtAll) {
    RunCases({{"no assets folder",
               [](const MirroredAssets& a) { fs::remove_all(a.Root() / "assets"); },
               {"Could not open the file - 'assets/game/config.txt'", "ERROR::FREETYPE: Failed to load font"}}});
}

// ---------------------------------------------------------------------------
// The real executable

struct ExecutableRun {
    bool exited = false;
    int status = -1;
    bool killed = false;
    bool clicked = false;
    std::string output;
};

bool HasXdotool() {
    return std::getenv("DISPLAY") != nullptr && std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

// Starts zinnet in `dir`, clicks the middle of its window twice (intro, then
// a card) when xdotool can, lets it run, then asks it to quit with SIGTERM.
ExecutableRun RunExecutable(const fs::path& dir) {
    const std::string executable = OstrelTest::ExecutableDir() + "/../zinnet";
    const fs::path log = dir / "zinnet.log";
    ExecutableRun run;
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(71);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, STDOUT_FILENO);
            dup2(fd, STDERR_FILENO);
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 1);
        // The game keeps its managers for the whole run by design.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(73);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    if (HasXdotool()) {
        const fs::path script = dir / "click.sh";
        std::ofstream(script) << "W=$(xdotool search --onlyvisible --name 'Zinnet Memory Game' | head -n 1)\n"
                                 "[ -n \"$W\" ] || exit 1\n"
                                 "xdotool mousemove --window $W 400 300 click 1 sleep 1\n"
                                 "xdotool mousemove --window $W 300 250 click 1 sleep 1\n"
                                 "xdotool key Escape sleep 0.5 key Down key Return sleep 0.5 key Escape key Escape\n";
        run.clicked = std::system(("timeout 20 sh " + script.string() + " >/dev/null 2>&1").c_str()) == 0;
    }
    int status = 0;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            run.exited = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!run.exited) {
        run.killed = true;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.status = status;
    run.output = ReadFile(log);
    return run;
}

TEST(BrokenAssetsExecutable, EverythingBrokenAtOnceStillQuitsWithStatusZero) {
    if (!fs::exists(OstrelTest::ExecutableDir() + "/../zinnet")) GTEST_SKIP() << "zinnet is not built";
    struct Run {
        std::string name;
        Breakage breakage;
    };
    const std::vector<Run> runs = {
        {"every configured file random bytes, every shader broken, no default font",
         [](const MirroredAssets& a) {
             for (const ConfiguredFile& file : ConfiguredFiles())
                 a.Write(file.path, RandomBytes(a.Original(file.path).size(), file.path));
             for (const std::string& shader : ShaderFiles()) a.Write(shader, "broken {\n");
             a.Remove("assets/game/fonts/ThaleahFat.ttf");
         }},
        {"no assets folder", [](const MirroredAssets& a) { fs::remove_all(a.Root() / "assets"); }},
        {"intact assets", [](const MirroredAssets&) {}},
    };
    for (const Run& r : runs) {
        MirroredAssets dir;
        r.breakage(dir);
        const ExecutableRun run = RunExecutable(dir.Root());
        std::cout << "[executable] " << r.name << ": "
                  << (run.killed              ? "did not quit"
                      : WIFEXITED(run.status) ? "exit " + std::to_string(WEXITSTATUS(run.status))
                                              : "signal " + std::to_string(WTERMSIG(run.status)))
                  << (run.clicked ? ", clicked and keyed with xdotool" : "") << std::endl;
        if (HasXdotool()) {
            EXPECT_TRUE(run.clicked) << r.name << ": xdotool found no window";
        }
        EXPECT_FALSE(run.killed) << r.name << ": did not quit after SIGTERM\n" << run.output;
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << r.name << "\n" << run.output;
    }
}

}  // namespace
