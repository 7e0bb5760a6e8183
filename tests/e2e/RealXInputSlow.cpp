// The real zinnet on a private X server, played with xdotool and watched
// through window captures; every wait is for a picture or the process.
#include "GameHarness.h"

#include "CardLayout.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
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

Rgb CaptureWindow(unsigned long xWindow) {  // the game's 800 x 600, or nothing
    const std::string raw = Shell("import -window " + std::to_string(xWindow) + " -depth 8 rgb:-");
    Rgb shot;
    if (raw.size() == 800u * 600u * 3u) shot.width = 800, shot.height = 600, shot.px.assign(raw.begin(), raw.end());
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
        Until("the window", [&] {
            return (window = std::strtoul(Shell("xdotool search --name 'Zinnet Memory Game'").c_str(), nullptr, 10));
        });
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
    // Acts about every second until `done`: a menu's 150 ms gate or a loaded game's frame can swallow one try.
    void Retry(const std::function<void()>& act, const std::string& what, const std::function<bool(const Rgb&)>& done) {
        Shows(what, [&, polls = 0](const Rgb& s) mutable {
            if (!done(s) && polls++ % 8 == 0) act();
            return done(s);
        });
    }
    void KeyUntil(const std::string& key, const std::string& what, const std::function<bool(const Rgb&)>& done) {
        Retry([&] { Shell("xdotool key " + key); }, what, done);
    }
    int ExitStatus() {
        int status = -1;
        Until("the game to end", [&] { return waitpid(game, &status, WNOHANG) == game; });
        game = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    GameDir dir{ConfigWith({{"time_to_start", "5000"}, {"hide_time", "600"}})};
    OstrelTest::ScopedEnv display{"DISPLAY"};
    pid_t game = -1;
    std::string server;
    unsigned long window = 0;
};

// Pixels in a band 16 high (200 wide at the centre unless told) unlike the
// background (taken from a corner: an effect changes it).
int Ink(const Rgb& s, int top, int left = 300, int width = 200) {
    int n = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + width; ++x) n += std::memcmp(s.At(x, y), s.At(4, 596), 3) != 0;
    return n;
}

// The menu's lines, as text on their rows and nothing around them nor the table's menu button.
std::function<bool(const Rgb&)> Lines(int count) {
    return [count](const Rgb& s) {
        const int top = 300 - 13 * count;
        for (int i = 0; i < count; ++i)
            if (Ink(s, top + 26 * i) < 40) return false;
        return Ink(s, top - 26) == 0 && Ink(s, top + 26 * count) == 0 && Ink(s, 8, 0, 32) == 0;
    };
}

// Where the game lays out 12 cards in its 800 x 600 window.
std::vector<Card> Cards() {
    std::vector<Card> cards(12);
    CardLayout::Arrange(cards, 800, 600, 256);
    return cards;
}

using Faces = std::map<std::string, std::vector<size_t>>;  // card indices by picture

std::string FaceOf(const Rgb& s, const Card& card) {
    std::string face;
    for (int y = 0; y < card.h; y += 3)
        for (int x = 0; x < card.w; x += 3) face.append(reinterpret_cast<const char*>(s.At(card.x + x, card.y + y)), 3);
    return face;
}

Faces FacesOf(const Rgb& s) {
    const auto cards = Cards();
    Faces faces;
    for (size_t i = 0; i < cards.size(); ++i) faces[FaceOf(s, cards[i])].push_back(i);
    return faces;
}

// A face-up deal: six pictures, each on two cards.
bool Paired(const Faces& faces) {
    for (const auto& face : faces)
        if (face.second.size() != 2) return false;
    return faces.size() == 6;
}

TEST_F(RealXInput, FromIntroToQuitGame) {
    Shows("intro", [](const Rgb& s) { return s.Drawn(214, 75, 372, 140) > 10000 && s.Drawn(340, 295, 120, 20) > 100; });
    const auto cards = Cards();
    const auto click = [&](size_t i) { ClickAt(cards[i].x + cards[i].w / 2, cards[i].y + cards[i].h / 2); };
    Faces deal;
    ClickAt(400, 560);
    Shows("a face-up deal", [&](const Rgb& s) { return Paired(deal = FacesOf(s)); });
    ASSERT_TRUE(Paired(deal));
    Shows("the deal face down", [](const Rgb& s) { return FacesOf(s).size() == 1 && s.Drawn(0, 0, 800, 600) > 0; });
    const auto over = Lines(2);
    for (const auto& [face, pair] : deal)  // each card shown whole (or the game over) before the next is clicked
        for (size_t i : pair)
            Retry([&] { click(i); }, "card up", [&](const Rgb& s) { return FaceOf(s, cards[i]) == face || over(s); });
    Shows("game over", over);
    ClickAt(400, Line(2, 0));
    Shows("a new deal", [&](const Rgb& s) { return Paired(FacesOf(s)); });
    KeyUntil("Escape", "the menu", Lines(5));
    ClickAt(400, Line(5, 2));
    Shows("options", Lines(2));
    ClickAt(400, Line(2, 0));
    Shows("effects", Lines(5));
    ClickAt(400, Line(5, 3));
    Shows("the gameboy logo", [](const Rgb& s) { return s.Colours(261, 50, 279, 105) <= 4; });
    const Rgb before = CaptureWindow(window);
    ASSERT_EQ(before.width, 800);
    KeyUntil("Tab", "the editor", [&](const Rgb& s) { return std::memcmp(s.At(60, 60), before.At(60, 60), 3) != 0; });
    KeyUntil("Tab", "no editor", [&](const Rgb& s) { return std::memcmp(s.At(60, 60), before.At(60, 60), 3) == 0; });
    KeyUntil("Escape", "options again", Lines(2));
    KeyUntil("Escape", "the menu again", Lines(5));
    ClickAt(400, Line(5, 4));
    EXPECT_EQ(ExitStatus(), 0);
}

}  // namespace
