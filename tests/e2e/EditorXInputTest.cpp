// The editor on the running game, driven with real X input: the zinnet
// executable runs in a temporary working directory under the current X
// display (Xvfb in CI), xdotool moves the mouse, clicks and types, and the
// test reads the screen back through ImageMagick's import.
//
// Widgets are found on the screenshots: Dear ImGui's default dark style draws
// buttons in one blue, and the default font and spacing give its rows fixed
// heights. The layout file starts absent, so the "Editor" window opens at
// ImGui's default place.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// ---------------------------------------------------------------------------
// Shell helpers

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe) != nullptr) out += buffer;
    pclose(pipe);
    return out;
}

bool HasTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Rgb {
    int r, g, b;
};

// One screenshot of the whole X screen.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Rgb At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0};
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

// Dear ImGui's dark style: an idle button is drawn in this blue.
bool IsButtonBlue(Rgb c) {
    return std::abs(c.r - 43) <= 12 && std::abs(c.g - 77) <= 12 && std::abs(c.b - 118) <= 12;
}
bool IsPureRed(Rgb c) {
    return c.r >= 235 && c.g <= 30 && c.b <= 30;
}
bool IsDark(Rgb c) {
    return c.r < 45 && c.g < 45 && c.b < 45;
}
int Difference(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// ---------------------------------------------------------------------------
// The game under test

class RunningGame {
public:
    RunningGame(const std::string& executable, const std::string& workDir) {
        pid = fork();
        if (pid == 0) {
            if (chdir(workDir.c_str()) != 0) _exit(127);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            const std::string log = workDir + "/game.log";
            FILE* out = freopen(log.c_str(), "w", stdout);
            FILE* err = freopen(log.c_str(), "a", stderr);
            (void)out;
            (void)err;
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~RunningGame() { Stop(); }

    // The game's window, by process id and title; 0 when it does not appear.
    unsigned long FindWindow() {
        for (int attempt = 0; attempt < 100 && Alive(); ++attempt) {
            const std::string out =
                Shell("xdotool search --pid " + std::to_string(pid) + " --name 'Zinnet Memory Game' 2>/dev/null");
            if (!out.empty()) return std::stoul(out);
            std::this_thread::sleep_for(100ms);
        }
        return 0;
    }

    bool Alive() {
        if (pid <= 0) return false;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return false;
        }
        return true;
    }

    // SDL turns SIGTERM into a quit request: the game shuts down normally.
    void Stop() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        for (int i = 0; i < 20; ++i) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }

private:
    pid_t pid = -1;
};

class EditorXInputTest : public ::testing::Test {
protected:
    OstrelTest::TempDir tmp;
    std::optional<RunningGame> game;
    unsigned long window = 0;
    Rect frame;  // the game window on the screen
    Shot shot;
    std::string shotDir;
    int shotCount = 0;

    static constexpr int kTimeToStart = 40000;  // cards stay face up this long (ms)

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
        for (const char* tool : {"xdotool", "import"})
            if (!HasTool(tool)) GTEST_SKIP() << tool << " is not installed";
        const std::string executable = OstrelTest::ExecutableDir() + "/../zinnet";
        if (!fs::exists(executable)) GTEST_SKIP() << "the game executable is not built: " << executable;
        int screenWidth = 0;
        int screenHeight = 0;
        std::istringstream(Shell("xdotool getdisplaygeometry")) >> screenWidth >> screenHeight;
        if (screenWidth < 1920 || screenHeight < 1080)
            GTEST_SKIP() << "the screen must hold a 1920 x 1080 window, it is " << screenWidth << " x " << screenHeight;
        shotDir = OstrelTest::ExecutableDir() + "/e2e-editor";
        fs::create_directories(shotDir);

        MakeWorkingDirectory();
        game.emplace(executable, tmp.Path());
        window = game->FindWindow();
        ASSERT_NE(window, 0ul) << "the game window did not appear; see " << tmp.Path() << "/game.log";
        std::this_thread::sleep_for(1500ms);
        ReadFrame();
    }

    void TearDown() override {
        if (game) game->Stop();
    }

    // assets/ as in the repository, but a configuration with a long look at
    // the dealt cards; pictures for the file dialog beside it.
    void MakeWorkingDirectory() {
        const fs::path source = fs::path(OSTREL_SOURCE_DIR) / "assets";
        const fs::path target = fs::path(tmp.Path()) / "assets";
        fs::create_directories(target / "game");
        fs::create_directory_symlink(source / "framework", target / "framework");
        for (const fs::directory_entry& entry : fs::directory_iterator(source / "game"))
            if (entry.path().filename() != "config.txt")
                fs::create_symlink(entry.path(), target / "game" / entry.path().filename());
        std::ifstream in(source / "game" / "config.txt");
        std::ofstream out(target / "game" / "config.txt");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("time_to_start=", 0) == 0) line = "time_to_start=" + std::to_string(kTimeToStart);
            out << line << "\n";
        }
        ASSERT_EQ(std::system(("convert -size 64x64 xc:'#ff0000' PNG24:" + tmp.File("red.png")).c_str()), 0);
        ASSERT_EQ(std::system(("convert -size 64x64 xc:'#00ff00' " + tmp.File("photo.jpg")).c_str()), 0);
        tmp.Write("notes.txt", "not a picture\n");
        tmp.Write("sheet.gif", "not listed either\n");
    }

    void ReadFrame() {
        const std::string out = Shell("xdotool getwindowgeometry --shell " + std::to_string(window));
        std::istringstream lines(out);
        std::string line;
        while (std::getline(lines, line)) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = line.substr(0, eq);
            const int value = std::atoi(line.c_str() + eq + 1);
            if (key == "X") frame.x = value;
            if (key == "Y") frame.y = value;
            if (key == "WIDTH") frame.w = value;
            if (key == "HEIGHT") frame.h = value;
        }
    }

    void Shoot(const char* name = nullptr) {
        const std::string raw = tmp.File("shot.rgb");
        const std::string size = Shell("xdotool getdisplaygeometry");
        std::istringstream(size) >> shot.width >> shot.height;
        ASSERT_EQ(std::system(("import -window root -depth 8 rgb:" + raw).c_str()), 0);
        std::ifstream in(raw, std::ios::binary);
        shot.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_EQ(shot.rgb.size(), static_cast<size_t>(shot.width) * shot.height * 3);
        if (name != nullptr) Save(name);
    }

    // Writes the game window of the last screenshot as a PNG in the build tree.
    void Save(const std::string& name) {
        const std::string png = shotDir + "/" + std::to_string(++shotCount) + "-" + name + ".png";
        const std::string command = "convert -size " + std::to_string(shot.width) + "x" + std::to_string(shot.height) +
                                    " -depth 8 rgb:" + tmp.File("shot.rgb") + " -crop " + std::to_string(frame.w) +
                                    "x" + std::to_string(frame.h) + "+" + std::to_string(frame.x) + "+" +
                                    std::to_string(frame.y) + " +repage " + png;
        std::system(command.c_str());
    }

    // Pixel in window coordinates.
    Rgb Px(int x, int y) const { return shot.At(frame.x + x, frame.y + y); }

    // A press held for a few frames, as a hand would.
    void Click(int x, int y) {
        Shell("xdotool mousemove --sync " + std::to_string(frame.x + x) + " " + std::to_string(frame.y + y) +
              " mousedown 1 sleep 0.1 mouseup 1");
        std::this_thread::sleep_for(500ms);
    }

    void DoubleClick(int x, int y) {
        Shell("xdotool mousemove --sync " + std::to_string(frame.x + x) + " " + std::to_string(frame.y + y) +
              " mousedown 1 sleep 0.04 mouseup 1 sleep 0.04 mousedown 1 sleep 0.04 mouseup 1");
        std::this_thread::sleep_for(500ms);
    }

    void MoveAway() {
        Shell("xdotool mousemove --sync " + std::to_string(frame.x + frame.w - 5) + " " +
              std::to_string(frame.y + frame.h - 5));
    }

    void PressTab() {
        Shell("xdotool keydown Tab sleep 0.1 keyup Tab");
        std::this_thread::sleep_for(400ms);
    }

    // Centres of the idle buttons stacked in [x0, x1] x [y0, y1] (window
    // coordinates). The buttons' common left edge is the first column with
    // some button blue; one pixel inside it no text is drawn, so each button
    // is one run of blue down that column.
    std::vector<int> ButtonRows(int x0, int x1, int y0, int y1) const {
        int left = -1;
        for (int x = x0; x <= x1 && left < 0; ++x) {
            int count = 0;
            for (int y = y0; y <= y1; ++y) count += IsButtonBlue(Px(x, y)) ? 1 : 0;
            if (count >= 8) left = x;
        }
        std::vector<int> centres;
        if (left < 0) return centres;
        int runStart = -1;
        for (int y = y0; y <= y1 + 1; ++y) {
            const bool blue = y <= y1 && IsButtonBlue(Px(left + 1, y));
            if (blue && runStart < 0) runStart = y;
            if (!blue && runStart >= 0) {
                if (y - runStart >= 8) centres.push_back((runStart + y - 1) / 2);
                runStart = -1;
            }
        }
        return centres;
    }

    // Top rows of the image-button frames in a column: a frame's top and
    // bottom edges are full rows of button blue, its sides are not.
    std::vector<int> TileCentres(int x0, int x1, int y0, int y1) const {
        std::vector<int> edges;
        bool inEdge = false;
        for (int y = y0; y <= y1; ++y) {
            int count = 0;
            for (int x = x0; x <= x1; ++x) count += IsButtonBlue(Px(x, y)) ? 1 : 0;
            const bool edge = count >= 60;
            if (edge && !inEdge) edges.push_back(y);
            inEdge = edge;
        }
        std::vector<int> centres;
        for (size_t i = 0; i + 1 < edges.size(); i += 2) centres.push_back((edges[i] + edges[i + 1]) / 2 + 2);
        return centres;
    }

    int CountRed(int x0) const {
        int count = 0;
        for (int y = 0; y < frame.h; ++y)
            for (int x = x0; x < frame.w; ++x) count += IsPureRed(Px(x, y)) ? 1 : 0;
        return count;
    }

    // Share of dark pixels in the "Editor" window's body at its default place.
    double EditorDarkShare() const {
        int dark = 0;
        int total = 0;
        for (int y = 82; y < 230; y += 2)
            for (int x = 64; x < 236; x += 2) {
                dark += IsDark(Px(x, y)) ? 1 : 0;
                ++total;
            }
        return static_cast<double>(dark) / total;
    }

    // Horizontal extent of the cards along a row of the window: the first and
    // last column whose colour is far from the clear colour.
    std::pair<int, int> CardSpan(int y) const {
        const Rgb clear{163, 167, 194};
        int first = -1;
        int last = -1;
        for (int x = 0; x < frame.w; ++x)
            if (Difference(Px(x, y), clear) > 90) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }

    int RegionDifference(const Shot& before, int x0, int y0, int w, int h) const {
        int changed = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (Difference(before.At(frame.x + x, frame.y + y), Px(x, y)) > 60) ++changed;
        return changed;
    }

    // Rows of the editor window at its default place (window coordinates).
    static constexpr int kMenuX = 100;
    static constexpr int kResolutionY = 185;
    static constexpr int kPostProcessingY = 202;
    static constexpr int kTexturesY = 219;
};

TEST_F(EditorXInputTest, TabEditorResolutionEffectsAndPictures) {
    ASSERT_EQ(frame.w, 800);
    ASSERT_EQ(frame.h, 600);

    // Intro: a click deals the cards, face up for a while.
    Click(400, 300);
    const auto dealt = std::chrono::steady_clock::now();
    Shoot("table");
    const double hiddenShare = EditorDarkShare();

    // Tab shows the editor.
    PressTab();
    Shoot("editor-shown");
    EXPECT_GT(EditorDarkShare(), hiddenShare + 0.4) << "the Editor window is not drawn";

    // Resolution -> 1920x1080 first: the tall picture menu then shows enough
    // tiles that some of them are certainly on the table.
    Click(kMenuX, kResolutionY);
    MoveAway();
    Shoot("resolution-menu");
    std::vector<int> buttons = ButtonRows(240, 330, 150, 330);
    ASSERT_EQ(buttons.size(), 4u) << "expected the four resolution buttons";
    Click(270, buttons[3]);
    ReadFrame();
    ASSERT_EQ(frame.w, 1920);
    ASSERT_EQ(frame.h, 1080);
    MoveAway();

    // Textures -> a tile -> the dialog; a red picture replaces that card picture.
    Click(kMenuX, kTexturesY);
    MoveAway();
    Shoot("textures-menu");
    const std::vector<int> tiles = TileCentres(238, 340, 0, frame.h - 1);
    ASSERT_GE(tiles.size(), 9u) << "picture tiles not found";
    const int redBefore = CountRed(360);
    bool replaced = false;
    bool dialogChecked = false;
    for (size_t k = 0; k < tiles.size() && !replaced; ++k) {
        Click(280, tiles[k]);
        // The modal dialog is centred: 700 x 450.
        const int dx = (frame.w - 700) / 2;
        const int dy = (frame.h - 450) / 2;
        if (!dialogChecked) {
            MoveAway();
            Shoot("file-dialog");
            // Rows: [D] .., [D] assets, [F] photo.jpg, [F] red.png; notes.txt
            // and sheet.gif are filtered out, so row 4 is empty.
            auto rowHasText = [&](int row) {
                int bright = 0;
                for (int x = dx + 14; x < dx + 200; ++x) {
                    const Rgb c = Px(x, dy + 59 + 17 * row);
                    bright += (c.r > 200 && c.g > 200 && c.b > 200) ? 1 : 0;
                    const Rgb d = Px(x, dy + 57 + 17 * row);
                    bright += (d.r > 200 && d.g > 200 && d.b > 200) ? 1 : 0;
                }
                return bright > 4;
            };
            for (int row = 0; row < 4; ++row) EXPECT_TRUE(rowHasText(row)) << "row " << row;
            EXPECT_FALSE(rowHasText(4)) << "a file that is not a picture is listed";
            EXPECT_FALSE(rowHasText(5));
            dialogChecked = true;
        }
        DoubleClick(dx + 50, dy + 59 + 17 * 3);  // [F] red.png
        MoveAway();
        Shoot();
        replaced = CountRed(360) > redBefore + 2000;
        if (!replaced && TileCentres(238, 340, 0, frame.h - 1).size() < tiles.size()) {
            Click(kMenuX, kTexturesY);  // the menu closed with the dialog: open it again
            MoveAway();
        }
    }
    Save("picture-replaced");
    EXPECT_TRUE(replaced) << "no replaced picture appeared on the table";
    const auto textureStage = std::chrono::steady_clock::now() - dealt;
    EXPECT_LT(textureStage, std::chrono::milliseconds(kTimeToStart)) << "the cards were already turned down";

    // Resolution -> 1280x720: the window and the card layout follow.
    Click(kMenuX, kResolutionY);
    MoveAway();
    Shoot();
    buttons = ButtonRows(240, 330, 150, 330);
    ASSERT_EQ(buttons.size(), 4u);
    Click(270, buttons[1]);
    ReadFrame();
    EXPECT_EQ(frame.w, 1280);
    EXPECT_EQ(frame.h, 720);
    MoveAway();
    Shoot("resolution-1280x720");
    const auto span = CardSpan(frame.h / 2);
    EXPECT_NEAR((span.first + span.second) / 2.0, frame.w / 2.0, 12.0) << "cards are not centred in 1280 x 720";
    EXPECT_GT(span.second, 800) << "the cards still lie in the old 800-pixel width";

    // Post Processing -> CRT Effect -> Use: the curved screen darkens the corners.
    const Rgb cornerBefore = Px(4, frame.h - 4);
    EXPECT_LT(Difference(cornerBefore, Rgb{163, 167, 194}), 30);
    Click(kMenuX, kPostProcessingY);
    MoveAway();
    Shoot("post-processing-menu");
    const std::vector<int> none = ButtonRows(240, 300, kPostProcessingY - 20, kPostProcessingY + 30);
    ASSERT_EQ(none.size(), 1u) << "the \"None\" button was not found";
    Click(280, none[0] + 37);  // "CRT Effect", two rows below "None"
    MoveAway();
    Shoot("crt-menu");
    const std::vector<int> use = ButtonRows(421, 470, none[0] - 10, none[0] + 80);
    ASSERT_FALSE(use.empty()) << "the \"Use\" button was not found";
    Click(440, use[0]);
    MoveAway();
    Shoot("crt");
    EXPECT_TRUE(IsDark(Px(4, frame.h - 4))) << "the CRT effect is not on the table";

    // "None" switches it off again.
    Click(262, none[0]);
    MoveAway();
    Shoot();
    EXPECT_LT(Difference(Px(4, frame.h - 4), Rgb{163, 167, 194}), 30) << "\"None\" left an effect on";

    // Once the cards are down: with the editor shown a click on a card does
    // nothing; hidden, the same click turns it.
    const auto wait = std::chrono::milliseconds(kTimeToStart + 1500) - (std::chrono::steady_clock::now() - dealt);
    if (wait > 0ms) std::this_thread::sleep_for(wait);
    MoveAway();
    Shoot();
    const auto row = CardSpan(frame.h / 2);
    ASSERT_GT(row.first, 0);
    const int cardX = row.first + 40;
    const int cardY = frame.h / 2;
    const Shot down = shot;
    Click(cardX, cardY);
    MoveAway();
    std::this_thread::sleep_for(800ms);
    Shoot("click-with-editor");
    EXPECT_LT(RegionDifference(down, cardX - 30, cardY - 30, 60, 60), 50) << "a card turned under the editor";

    PressTab();
    MoveAway();
    Shoot("editor-hidden");
    EXPECT_LT(EditorDarkShare(), 0.3) << "Tab did not hide the editor";
    const Shot hidden = shot;
    Click(cardX, cardY);
    MoveAway();
    std::this_thread::sleep_for(800ms);
    Shoot("click-without-editor");
    EXPECT_GT(RegionDifference(hidden, cardX - 30, cardY - 30, 60, 60), 200) << "the card did not turn";

    // Dear ImGui keeps the window layout in the working directory.
    std::this_thread::sleep_for(1s);
    const fs::path ini = fs::path(tmp.Path()) / "imgui.ini";
    ASSERT_TRUE(fs::exists(ini));
    std::ifstream in(ini);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Window][Editor]"), std::string::npos) << text;
}

}  // namespace
