// The real zinnet executable on a private X server, played with real X input
// (xdotool) and watched through window captures, the way a player would: the
// intro, a deal remembered from its face-up phase, game over, restart, the
// menu, an effect, the editor, Quit Game.
// Every wait is for a picture (or the process), with a generous limit.
#include "GameHarness.h"

#include "CardLayout.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace GameTest;

namespace {

// The middle of line i of a centred menu of n lines, 26 pixels apart.
int Line(int n, int i) {
    return 300 - 13 * n + 26 * i + 8;
}

std::string Shell(const std::string& command) {  // its standard output
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    for (int c; pipe != nullptr && (c = fgetc(pipe)) != EOF;) out += static_cast<char>(c);
    if (pipe != nullptr) pclose(pipe);
    return out;
}

Rgb CaptureWindow(unsigned long xWindow) {
    Rgb shot;
    const std::string ppm = Shell("import -window " + std::to_string(xWindow) + " -depth 8 ppm:-");
    int header = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &shot.width, &shot.height, &header) == 2 &&
        ppm.size() == static_cast<size_t>(header + 1 + shot.width * shot.height * 3))
        shot.px.assign(ppm.begin() + header + 1, ppm.end());
    if (shot.px.empty()) shot.width = shot.height = 0;
    return shot;
}

bool Until(const std::string& what, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return ADD_FAILURE() << "gave up waiting for " << what, false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

class RealXInput : public testing::Test {
protected:
    void SetUp() override {
        // A private server: nothing else takes our pointer or covers our window.
        const std::string number = dir.Root() + "/display";
        server =
            Shell("Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>" + number + " >/dev/null 2>&1 & echo $!");
        ASSERT_TRUE(Until("Xvfb", [&] { return ReadBytes(number).find('\n') != std::string::npos; }));
        setenv("DISPLAY", (":" + std::to_string(std::stoi(ReadBytes(number)))).c_str(), 1);
        const std::string zinnet = ExecutableDir() + "/../zinnet";
        ASSERT_EQ(access(zinnet.c_str(), X_OK), 0) << "build the game first: " << zinnet;
        game = fork();
        if (game == 0) {
            if (chdir(dir.Root().c_str()) != 0) _exit(126);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            execl(zinnet.c_str(), zinnet.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string found;
        Until("the window", [&] { return !(found = Shell("xdotool search --name 'Zinnet Memory Game'")).empty(); });
        window = std::strtoul(found.c_str(), nullptr, 10);
    }
    void TearDown() override {
        if (game > 0) kill(game, SIGKILL), waitpid(game, nullptr, 0);
        Shell("kill " + server);
    }

    void Shows(const std::string& what, const std::function<bool(const Rgb&)>& done) {
        Rgb shot;
        if (!Until(what, [&] { return (shot = CaptureWindow(window)).width == 800 && done(shot); }))
            shot.SavePng(FailurePath(what));
    }
    void ClickAt(int x, int y) {
        const std::string w = " --window " + std::to_string(window) + " ";
        Shell("xdotool mousemove" + w + std::to_string(x + 3) + " " + std::to_string(y + 2) + " sleep 0.1 mousemove" +
              w + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1 mousedown 1 sleep 0.08 mouseup 1");
    }
    void Key(const std::string& key) { Shell("sleep 0.2; xdotool key " + key); }  // the menu's 150 ms
    int ExitStatus() {
        int status = -1;
        Until("the game to end", [&] { return waitpid(game, &status, WNOHANG) == game; });
        game = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    GameDir dir{ConfigWith({{"time_to_start", "5000"}, {"hide_time", "600"}})};
    pid_t game = -1;
    std::string server;
    unsigned long window = 0;
};

// Pixels in a 200 x 16 band at the centre that differ from the background
// (taken from a corner: an effect changes it).
int Ink(const Rgb& s, int top) {
    int n = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = 300; x < 500; ++x) n += std::memcmp(s.At(x, y), s.At(4, 596), 3) != 0;
    return n;
}

// The menu's lines, as text on their rows and nothing on the rows around them.
std::function<bool(const Rgb&)> Lines(int count) {
    return [count](const Rgb& s) {
        const int top = 300 - 13 * count;
        for (int i = 0; i < count; ++i)
            if (Ink(s, top + 26 * i) < 40) return false;
        return Ink(s, top - 26) == 0 && Ink(s, top + 26 * count) == 0;
    };
}

// Where the game lays out 12 cards in its 800 x 600 window.
std::vector<Card> Cards() {
    std::vector<Card> cards(12);
    CardLayout::Arrange(cards, 800, 600, 256);
    return cards;
}

bool Same(const Rgb& s, const Card& a, const Card& b) {
    for (int y = 0; y < a.h; y += 3)
        for (int x = 0; x < a.w; x += 3)
            if (std::memcmp(s.At(a.x + x, a.y + y), s.At(b.x + x, b.y + y), 3) != 0) return false;
    return true;
}

// Each card's partner on a face-up deal; empty unless every card has exactly one.
std::vector<int> Partners(const Rgb& s) {
    const auto cards = Cards();
    std::vector<int> partner(cards.size(), -1);
    for (size_t i = 0; i < cards.size(); ++i) {
        for (size_t j = 0; j < cards.size(); ++j) {
            if (i == j || !Same(s, cards[i], cards[j])) continue;
            if (partner[i] >= 0) return {};
            partner[i] = static_cast<int>(j);
        }
        if (partner[i] < 0 || s.Drawn(cards[i].x, cards[i].y, cards[i].w, cards[i].h) < cards[i].w * cards[i].h / 2)
            return {};
    }
    return partner;
}

bool FaceDown(const Rgb& s) {
    const auto cards = Cards();
    for (const auto& card : cards)
        if (!Same(s, cards[0], card) || s.Drawn(card.x, card.y, card.w, card.h) == 0) return false;
    return true;
}

TEST_F(RealXInput, FromIntroToQuitGame) {
    Shows("intro", [](const Rgb& s) { return s.Drawn(214, 75, 372, 140) > 10000 && s.Drawn(340, 295, 120, 20) > 100; });
    const auto cards = Cards();
    const auto click = [&](size_t i) { ClickAt(cards[i].x + cards[i].w / 2, cards[i].y + cards[i].h / 2); };
    std::vector<int> partner;
    ClickAt(400, 560);
    Shows("a face-up deal", [&](const Rgb& s) { return !(partner = Partners(s)).empty(); });
    ASSERT_FALSE(partner.empty());
    Shows("the deal face down", FaceDown);
    for (size_t i = 0; i < cards.size(); ++i)
        if (partner[i] > static_cast<int>(i)) click(i), click(static_cast<size_t>(partner[i]));
    Shows("game over", Lines(2));
    ClickAt(400, Line(2, 0));
    Shows("a new deal", [&](const Rgb& s) { return !Partners(s).empty(); });
    Key("Escape");
    Shows("the menu", Lines(5));
    ClickAt(400, Line(5, 2));
    Shows("options", Lines(2));
    ClickAt(400, Line(2, 0));
    Shows("effects", Lines(5));
    ClickAt(400, Line(5, 3));
    Shows("the gameboy logo", [](const Rgb& s) { return s.Colours(261, 50, 279, 105) <= 4; });
    const Rgb before = CaptureWindow(window);
    ASSERT_EQ(before.width, 800);
    Key("Tab");
    Shows("the editor", [&](const Rgb& s) { return std::memcmp(s.At(60, 60), before.At(60, 60), 3) != 0; });
    Key("Tab");
    Key("Escape");
    Shows("options again", Lines(2));
    Key("Escape");
    Shows("the menu again", Lines(5));
    ClickAt(400, Line(5, 4));
    EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(RealXInput, SigtermExitsZero) {
    Shows("intro", [](const Rgb& s) { return s.Drawn(214, 75, 372, 140) > 10000; });
    kill(game, SIGTERM);
    EXPECT_EQ(ExitStatus(), 0);
}

}  // namespace
