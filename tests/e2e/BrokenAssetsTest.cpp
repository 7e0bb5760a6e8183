// The whole game on broken assets: each row breaks a fresh copy of assets/ and
// plays every screen, an effect and the editor in a child process of its own;
// it must end with status 0 and print its diagnostic line.
#include "GameHarness.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <sstream>

using namespace GameTest;
namespace fs = std::filesystem;

namespace {

struct Row {
    std::string name;
    std::function<void(const GameDir&)> breakage;
    std::string expected;  // a line containing this; empty when nothing need be said
    std::string effect = "";
};

std::string RandomBytes(size_t size, const std::string& salt) {
    std::seed_seq seed(salt.begin(), salt.end());
    std::mt19937 random(seed);
    std::string bytes(std::max<size_t>(size, 64), '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xff);
    return bytes;
}

struct ChildRun {
    std::string how;     // "exit 0", "signal 11" (14: hung)
    std::string output;  // standard output and error
};
std::vector<ChildRun> RunInChildren(const std::vector<std::function<int()>>& jobs, int parallel, int timeoutSeconds) {
    std::vector<ChildRun> runs(jobs.size());
    std::map<pid_t, size_t> running;
    const OstrelTest::TempDir logs;
    for (size_t next = 0; next < jobs.size() || !running.empty();) {
        if (next < jobs.size() && static_cast<int>(running.size()) < parallel) {
            std::fflush(nullptr);
            const pid_t pid = fork();
            if (pid == 0) {
                alarm(static_cast<unsigned>(timeoutSeconds));  // a hang ends as SIGALRM
                std::freopen(logs.File(std::to_string(getpid())).c_str(), "w", stdout);
                dup2(fileno(stdout), STDERR_FILENO);
                const int status = jobs[next]();
                std::fflush(nullptr);
                _exit(status);  // none of the test program's exit handlers
            }
            running[pid] = next++;
            continue;
        }
        int status = 0;
        const pid_t pid = wait(&status);
        ChildRun& run = runs[running[pid]];
        running.erase(pid);
        run.how = WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                                    : "signal " + std::to_string(WTERMSIG(status));
        run.output = ReadBytes(logs.File(std::to_string(pid)));
    }
    return runs;
}

// A file missing, cut to half, random bytes, or a directory in its place.
void AddFileRows(std::vector<Row>& rows, const std::string& path, const std::string& missing,
                 const std::string& garbled, const std::string& half, const std::string& effect = "") {
    const std::string names[] = {"missing ", "half of ", "random ", "directory "},
                      expected[] = {missing, half, garbled, missing};
    for (int kind = 0; kind < 4; ++kind) {
        const auto breakage = [path, kind](const GameDir& d) {
            const std::string original = ReadBytes(std::string(OSTREL_SOURCE_DIR) + "/" + path);
            d.Remove(path);
            if (kind == 1) d.Write(path, original.substr(0, original.size() / 2));
            if (kind == 2) d.Write(path, RandomBytes(original.size(), path));
            if (kind == 3) fs::create_directories(fs::path(d.Root()) / path);
        };
        rows.push_back({names[kind] + path, breakage, expected[kind], effect});
    }
}

// The script, the same for every row; it acts only where the screen allows.
int PlayInChild(const Row& row, const GameDir& dir, size_t n) {
    const char* effects[] = {"CRT Effect", "Dither Effect", "Gameboy Effect"};  // by turns, unless the row says
    const std::string effect = row.effect.empty() ? effects[n % 3] : row.effect;
    if (chdir(dir.Root().c_str()) != 0) return 71;
    row.breakage(dir);                 // here, where it may remove the working directory
    setenv("LP_NUM_THREADS", "1", 1);  // the children already share the cores
    TestGame game;
    game.maxFrames = 400;
    std::set<std::string> seen;  // what the script got to
    game.everyFrame = [&](TestGame& g) {
        seen.insert(g.Screen());
        if (g.EditorShown()) seen.insert("editor");
        if (g.Data().postEffect != PostEffect::None) seen.insert("effect");
    };
    const auto clickCard = [](size_t i) {
        return Do("card", [i](TestGame& g) {
            if (i < g.Cards().size()) PushClick(g.Cards()[i].x + 4, g.Cards()[i].y + 4);
        });
    };
    // Menus take clicks at once (keys only every 150 ms): out by Back and Continue.
    game.script = {Click(400, 300), Frames(14), clickCard(0), clickCard(1), Frames(2), Click(8, 8), Frames(2)};
    for (const std::string& line : {std::string("Options"), std::string("Effects"), effect, std::string("Back"),
                                    std::string("Back"), std::string("Continue")})
        game.script.insert(game.script.end(), {Do(line, [line](TestGame& g) { g.ClickLine(line); }), Frames(2)});
    game.script.insert(game.script.end(), {Do("Tab", [](TestGame&) { PushKeyPress(SDLK_TAB); }), Frames(2),
                                           Click(60, 60), Frames(2), Key(SDLK_TAB)});
    game.Play();
    std::cout << "BrokenAssets: saw";
    for (const std::string& what : seen) std::cout << " " << what;
    std::cout << std::endl;
    return testing::Test::HasFailure() ? 72 : 0;
}

void Check(const std::vector<Row>& rows) {
    std::vector<std::function<int()>> jobs;
    for (size_t i = 0; i < rows.size(); ++i)
        jobs.push_back([&rows, i] { return PlayInChild(rows[i], GameDir(), i); });  // the copy made in the child
    const std::vector<ChildRun> runs = RunInChildren(jobs, 6, 300);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(runs[i].how, "exit 0") << rows[i].name << "\n" << runs[i].output;
        EXPECT_NE(runs[i].output.find(rows[i].expected), std::string::npos)
            << rows[i].name << ": no \"" << rows[i].expected << "\" in " << runs[i].output;
    }
}

TEST(BrokenAssets, ConfiguredFiles) {
    std::vector<Row> rows;
    std::istringstream config(ReadBytes(std::string(OSTREL_SOURCE_DIR) + "/assets/game/config.txt"));
    for (std::string line; std::getline(config, line);) {
        const std::string path = line.substr(line.find('=') + 1);
        if (path.rfind("assets/", 0) != 0) continue;
        const std::string type = path.substr(path.size() - 4);
        AddFileRows(rows, path, path, type == ".csv" ? "" : path, type == ".png" ? path : "");
    }
    ASSERT_EQ(rows.size(), 4u * 23u);
    Check(rows);
}

TEST(BrokenAssets, ShadersFontsAndEffectTextures) {
    std::vector<Row> rows;
    const fs::path source(OSTREL_SOURCE_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(source / "assets/framework")) {
        const std::string path = fs::relative(entry.path(), source).string();
        // The game builds the sprite, text, CRT, dither and texel-colour programs.
        const bool used = std::regex_search(path, std::regex("/(sprite|text|crt|texel_color)/|ordered_dither"));
        const std::string error = used ? "Unable to initalize the shader program" : "";
        if (!entry.is_regular_file()) continue;
        if (path.find("/textures/") == std::string::npos) AddFileRows(rows, path, used ? path : "", error, error);
        if (path.find("/textures/") != std::string::npos)
            AddFileRows(rows, path, path, path, path,
                        path.find("/crt/") != std::string::npos ? "CRT Effect" : "Gameboy Effect");
    }
    AddFileRows(rows, "assets/game/fonts/ThaleahFat.ttf", "Failed to load font", "Failed to load font", "");
    ASSERT_EQ(rows.size(), 4u * (14u + 4u + 1u));
    Check(rows);
}

TEST(BrokenAssets, ConfigurationAndSurroundings) {
    const std::string config = "assets/game/config.txt";
    std::vector<Row> rows = {
        {"intact: the script gets everywhere", [](const GameDir&) {}, "saw editor effect game intro menu\n"},
        {"config.txt missing", [config](const GameDir& d) { d.Remove(config); },
         "Could not open the file - '" + config},
        {"config.txt empty", [config](const GameDir& d) { d.Write(config, ""); }, "no picture configured under 'logo'"},
        {"config.txt random", [config](const GameDir& d) { d.Write(config, RandomBytes(900, config)); },
         "no picture configured under 'logo'"},
        {"imgui.ini random", [](const GameDir& d) { d.Write("imgui.ini", RandomBytes(2000, "ini")); }, ""},
        {"imgui.ini a directory", [](const GameDir& d) { fs::create_directory(fs::path(d.Root()) / "imgui.ini"); },
         "'imgui.ini' is a directory"},
        {"no assets", [](const GameDir& d) { d.Remove("assets"); }, "Could not open the file - '" + config},
        {"working directory removed", [](const GameDir& d) { fs::remove_all(d.Root()); },
         "Could not open the file - '" + config},
    };
    for (const char* key : {"animation_speed", "time_to_start", "hide_time"}) {
        for (const char* value : {"fast", "", "99999999999999999999999999999999999999999", "-5000", "nan"}) {
            const bool quiet = std::string(value) == "-5000" && std::string(key) != "animation_speed";
            rows.push_back(
                {std::string(key) + "=" + value,
                 [=](const GameDir& d) {
                     std::map<std::string, std::string> values{{"time_to_start", "200"}, {"hide_time", "200"}};
                     values[key] = value;
                     d.Write(config, ConfigWith(values));
                 },
                 quiet ? "" : "'" + std::string(key) + "'"});
        }
    }
    Check(rows);
}

}  // namespace
