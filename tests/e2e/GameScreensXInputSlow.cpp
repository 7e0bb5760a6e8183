// A whole session of the real game executable on a private X server, played
// with real X input (xdotool through XTEST) and watched through window
// captures: intro, a deal memorised and played to the end, game over,
// restart, the menu with new deals of 16 and 20 cards, "Continue", every
// effect, the credits and "Quit Game".
//
// The deal is random and the program takes no arguments, so the test plays
// it the way a player with a perfect memory would: the card rectangles follow
// from the layout (window size and card count), and the pictures are read
// from a capture taken while the deal is shown face up.
//
// Every screen is saved under <build>/tests/e2e-screens/ for a look.
#include "E2EHarness.h"
#include "TempDir.h"
#include "XSession.h"

#include "Card.h"
#include "CardLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using OstrelTest::Shot;
using OstrelTest::XSession;

constexpr int Width = 800;
constexpr int Height = 600;
// Menu lines: the bitmap font is 32 pixels high and drawn at half size.
constexpr int LineHeight = 16;
constexpr int LineStep = LineHeight + 10;
constexpr int GlyphAdvance = 8;
const char* const Title = "Zinnet Memory Game";

struct Rect {
    int x, y, w, h;
};

std::vector<Rect> TableLayout(int cardCount) {
    std::vector<Card> cards(static_cast<size_t>(cardCount));
    CardLayout::Arrange(cards, Width, Height, 256);
    std::vector<Rect> rects;
    for (const Card& card : cards) rects.push_back({card.x, card.y, card.w, card.h});
    return rects;
}

// Top of line i of a centred menu of n lines.
int MenuLineTop(int n, int i) {
    return Height / 2 - (LineStep * n) / 2 + i * LineStep;
}

bool IsBackground(const uint8_t* p) {
    return std::abs(p[0] - 163) < 8 && std::abs(p[1] - 167) < 8 && std::abs(p[2] - 194) < 8;
}

// Menu text: white entries, yellow selection.
bool IsMenuText(const uint8_t* p) {
    return p[0] > 225 && p[1] > 225 && (p[2] > 225 || p[2] < 90);
}

double MeanDifference(const Shot& a, const Rect& ra, const Shot& b, const Rect& rb) {
    double sum = 0.0;
    for (int y = 0; y < ra.h; ++y) {
        for (int x = 0; x < ra.w; ++x) {
            const uint8_t* p = a.At(ra.x + x, ra.y + y);
            const uint8_t* q = b.At(rb.x + x, rb.y + y);
            sum += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
        }
    }
    return sum / (3.0 * ra.w * ra.h);
}

double MeanDifference(const Shot& a, const Shot& b, const Rect& r) {
    return MeanDifference(a, r, b, r);
}

int NonBackgroundPixels(const Shot& shot, const Rect& r) {
    int count = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) count += IsBackground(shot.At(x, y)) ? 0 : 1;
    }
    return count;
}

// Every card lies where the layout puts it and shows the same face.
bool AllShowTheSameFace(const Shot& shot, const std::vector<Rect>& cards) {
    for (const Rect& card : cards) {
        if (NonBackgroundPixels(shot, card) < card.w * card.h / 2) return false;
        if (MeanDifference(shot, cards[0], shot, card) > 1.0) return false;
    }
    return true;
}

// The pairs of a deal shown face up: every card's picture equals exactly one
// other card's. Empty when the capture does not show such a deal.
std::vector<std::pair<int, int>> FindPairs(const Shot& shot, const std::vector<Rect>& cards) {
    const int n = static_cast<int>(cards.size());
    std::vector<int> partner(static_cast<size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        if (NonBackgroundPixels(shot, cards[i]) < cards[i].w * cards[i].h / 2) return {};
        for (int j = 0; j < n; ++j) {
            if (i == j) continue;
            if (MeanDifference(shot, cards[i], shot, cards[j]) < 1.0) {
                if (partner[i] != -1) return {};  // three alike: backs, not a deal
                partner[i] = j;
            }
        }
        if (partner[i] == -1) return {};
    }
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < n; ++i) {
        if (partner[partner[i]] != i) return {};
        if (i < partner[i]) pairs.emplace_back(i, partner[i]);
    }
    return pairs;
}

// Left- and rightmost menu-text pixel in rows [top, top + height); (-1, -1) if none.
std::pair<int, int> TextExtent(const Shot& shot, int top, int height) {
    int left = -1;
    int right = -1;
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (!IsMenuText(shot.At(x, y))) continue;
            if (left < 0 || x < left) left = x;
            right = std::max(right, x);
        }
    }
    return {left, right};
}

// Each label is drawn centred on its line, about as wide as its characters.
bool ShowsMenu(const Shot& shot, const std::vector<std::string>& labels, std::string* why = nullptr) {
    const int n = static_cast<int>(labels.size());
    for (int i = 0; i < n; ++i) {
        const int width = static_cast<int>(labels[i].size()) * GlyphAdvance;
        const int left = Width / 2 - width / 2;
        const auto extent = TextExtent(shot, MenuLineTop(n, i), LineHeight);
        const bool ok = extent.first >= left - 1 && extent.first <= left + GlyphAdvance &&
                        extent.second <= left + width && extent.second >= left + width - 2 * GlyphAdvance;
        if (!ok) {
            if (why != nullptr) {
                *why = "line '" + labels[i] + "' expected in [" + std::to_string(left) + ", " +
                       std::to_string(left + width) + "), text found in [" + std::to_string(extent.first) + ", " +
                       std::to_string(extent.second) + "]";
            }
            return false;
        }
    }
    // Nothing drawn on the line above or below the menu.
    const auto above = TextExtent(shot, MenuLineTop(n, -1), LineHeight);
    const auto below = TextExtent(shot, MenuLineTop(n, n), LineHeight);
    if (above.first >= 0 || below.first >= 0) {
        if (why != nullptr) *why = "text outside the menu's lines";
        return false;
    }
    return true;
}

class PlayerSession : public ::testing::Test {
protected:
    XSession x;
    std::unique_ptr<OstrelTest::E2EWorkDir> dir;
    std::unique_ptr<OstrelTest::ProgramProcess> game;
    unsigned long window = 0;
    std::string screens;
    int shotNumber = 0;

    void SetUp() override {
        ASSERT_TRUE(x.Ok()) << x.Problem();
        screens = OstrelTest::ExecutableDir() + "/e2e-screens";
        fs::create_directories(screens);
        const std::string executable = OstrelTest::ExecutableDir() + "/../zinnet";
        ASSERT_TRUE(fs::exists(executable)) << "build the game first: " << executable;
        // Long enough to capture the face-up deal; short enough to keep the run brisk.
        dir = std::make_unique<OstrelTest::E2EWorkDir>(
            OstrelTest::RepoConfigWith({{"time_to_start", "4000"}, {"hide_time", "1000"}}));
        game = std::make_unique<OstrelTest::ProgramProcess>(std::vector<std::string>{executable},
                                                            std::vector<std::string>{"SDL_AUDIODRIVER=dummy"});
        ASSERT_TRUE(game->Started());
        window = x.FindWindow(Title, 20000);
        ASSERT_NE(window, 0u) << "no window titled " << Title;
    }

    void TearDown() override {
        if (game) game->Kill();
        dir.reset();
    }

    void Save(const Shot& shot, const std::string& name) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%02d-", ++shotNumber);
        shot.Save(screens + "/" + prefix + name + ".png");
    }

    // Captures until `done` holds or `timeoutMs` passes; the last capture is
    // saved under `name` either way.
    Shot WaitFor(const std::string& name, const std::function<bool(const Shot&)>& done, int timeoutMs = 8000) {
        Shot shot;
        const int step = 100;
        for (int waited = 0; waited <= timeoutMs; waited += step) {
            shot = x.Capture(window);
            if (!shot.Empty() && shot.width == Width && shot.height == Height && done(shot)) {
                Save(shot, name);
                return shot;
            }
            XSession::Sleep(step);
        }
        Save(shot, name + "-TIMEOUT");
        ADD_FAILURE() << "timed out waiting for: " << name;
        return Shot();
    }

    Shot WaitForMenu(const std::string& name, const std::vector<std::string>& labels) {
        std::string why;
        Shot shot = WaitFor(name, [&](const Shot& s) { return ShowsMenu(s, labels, &why); });
        if (shot.Empty()) ADD_FAILURE() << "menu '" << labels.front() << "': " << why;
        return shot;
    }

    struct Deal {
        Shot faceUp;
        std::vector<std::pair<int, int>> pairs;
    };

    // A deal of `count` cards shown face up: the capture and its pairs.
    Deal WaitForDeal(const std::string& name, int count) {
        const std::vector<Rect> cards = TableLayout(count);
        Deal deal;
        deal.faceUp = WaitFor(name, [&](const Shot& s) {
            deal.pairs = FindPairs(s, cards);
            return !deal.pairs.empty();
        });
        return deal;
    }

    // The card shows the picture it showed when the deal was face up.
    static bool ShowsItsPicture(const Shot& s, const Deal& deal, const Rect& card) {
        return MeanDifference(s, card, deal.faceUp, card) < 1.0;
    }

    Shot WaitForFaceDown(const std::string& name, int count) {
        const std::vector<Rect> cards = TableLayout(count);
        return WaitFor(name, [&](const Shot& s) { return AllShowTheSameFace(s, cards); });
    }

    void ClickAt(int px, int py) {
        x.MoveOnto(window, px, py);
        x.Click();
        XSession::Sleep(120);
    }
    void ClickMenuLine(int lines, int index) { ClickAt(Width / 2, MenuLineTop(lines, index) + LineHeight / 2); }
    void ClickCard(const Rect& card) { ClickAt(card.x + card.w / 2, card.y + card.h / 2); }
    // The menus act on keys only 150 ms after they opened or last acted.
    void PressKey(const std::string& key) {
        XSession::Sleep(250);
        x.Key(key);
    }

    const std::vector<std::string> rootMenu{"Continue", "New Game", "Options", "Credits", "Quit Game"};
    const std::vector<std::string> deckMenu{"12 cards", "16 cards", "20 cards"};
    const std::vector<std::string> optionsMenu{"Effects", "Back"};
    const std::vector<std::string> effectsMenu{"None", "CRT Effect", "Dither Effect", "Gameboy Effect", "Back"};
    const std::vector<std::string> creditsMenu{"Art - Dorvane Tamsel", "Programming - Halbrenk Oskel",
                                               "Programming - Vantosi Tobran", "Font - Wendral Mauk", "Back"};

    void OpenMenuFromTable(const std::string& name) {
        PressKey("Escape");
        WaitForMenu(name, rootMenu);
    }
};

TEST_F(PlayerSession, FromIntroToQuitGame) {
    // Intro: logo, prompt and hints on the clear colour.
    const Shot intro = WaitFor("intro", [](const Shot& s) {
        const auto prompt = TextExtent(s, 300, LineHeight);
        return NonBackgroundPixels(s, {214, 75, 372, 140}) > 10000 && prompt.first >= 340 && prompt.first <= 356 &&
               prompt.second >= 436 && prompt.second <= 452;
    });
    ASSERT_FALSE(intro.Empty());
    EXPECT_GT(NonBackgroundPixels(intro, {275, 400, 120, 30}), 100) << "the Menu hint";
    EXPECT_GT(NonBackgroundPixels(intro, {395, 400, 120, 30}), 100) << "the Select hint";

    // A click starts the game; the deal shows face up for the memorise phase.
    ClickAt(Width / 2, 560);
    const std::vector<Rect> twelve = TableLayout(12);
    const Deal deal = WaitForDeal("memorise-12-cards", 12);
    const auto& pairs = deal.pairs;
    ASSERT_EQ(pairs.size(), 6u);
    WaitForFaceDown("face-down", 12);

    // One wrong pair first: both turn back after the hide delay.
    ClickCard(twelve[pairs[0].first]);
    ClickCard(twelve[pairs[1].first]);
    WaitFor("wrong-pair-shown", [&](const Shot& s) {
        return ShowsItsPicture(s, deal, twelve[pairs[0].first]) && ShowsItsPicture(s, deal, twelve[pairs[1].first]);
    });
    WaitForFaceDown("wrong-pair-hidden", 12);

    // Then every pair from memory.
    for (size_t i = 0; i < pairs.size(); ++i) {
        ClickCard(twelve[pairs[i].first]);
        ClickCard(twelve[pairs[i].second]);
        if (i == 2) {
            XSession::Sleep(500);
            Save(x.Capture(window), "half-played");
        }
    }

    // Game over: logo and "Restart" / "Quit Game".
    const std::vector<std::string> gameOverMenu{"Restart", "Quit Game"};
    const Shot over = WaitForMenu("game-over", gameOverMenu);
    ASSERT_FALSE(over.Empty());
    EXPECT_GT(NonBackgroundPixels(over, {261, 50, 279, 105}), 8000) << "the logo";

    // Restart deals anew, face up again.
    ClickMenuLine(2, 0);
    const Deal again = WaitForDeal("restart-12-cards", 12);
    ASSERT_EQ(again.pairs.size(), 6u);
    // A new deal can repeat the last one only by chance; say so rather than fail.
    if (MeanDifference(again.faceUp, deal.faceUp, {0, 40, Width, Height - 40}) < 0.5) {
        std::cout << "note: the new deal happens to equal the last one" << std::endl;
    }

    // Escape opens the menu; New Game, 16 cards.
    OpenMenuFromTable("menu");
    ClickMenuLine(5, 1);
    WaitForMenu("menu-new-game", deckMenu);
    ClickMenuLine(3, 1);
    ASSERT_EQ(WaitForDeal("deal-16-cards", 16).pairs.size(), 8u);

    // Again with 20 cards.
    OpenMenuFromTable("menu-again");
    ClickMenuLine(5, 1);
    WaitForMenu("menu-new-game-again", deckMenu);
    ClickMenuLine(3, 2);
    const Deal deal20 = WaitForDeal("deal-20-cards", 20);
    const auto& pairs20 = deal20.pairs;
    ASSERT_EQ(pairs20.size(), 10u);
    const std::vector<Rect> twenty = TableLayout(20);
    WaitForFaceDown("twenty-face-down", 20);

    // One card up, then menu and "Continue": the same table comes back.
    ClickCard(twenty[pairs20[0].first]);
    const Shot table = WaitFor("one-card-up", [&](const Shot& s) {
        return ShowsItsPicture(s, deal20, twenty[pairs20[0].first]) &&
               MeanDifference(s, twenty[pairs20[1].first], s, twenty[pairs20[2].first]) < 1.0;
    });
    ASSERT_FALSE(table.Empty());
    OpenMenuFromTable("menu-before-continue");
    ClickMenuLine(5, 0);
    const Rect whole{0, 0, Width, Height};
    const Shot resumed = WaitFor("continue", [&](const Shot& s) { return MeanDifference(s, table, whole) < 0.5; });
    ASSERT_FALSE(resumed.Empty());

    // Options, Effects: each effect shows at once on the logo and then on the table.
    const Rect menuLogo{261, 50, 279, 105};
    const Rect tableArea{64, 64, Width - 64, Height - 64};  // clear of the menu icon
    const std::vector<std::pair<int, std::string>> effects{{1, "crt"}, {2, "dither"}, {3, "gameboy"}};
    Shot plainLogo;
    std::vector<Shot> tables;
    for (const auto& effect : effects) {
        OpenMenuFromTable("menu-for-" + effect.second);
        ClickMenuLine(5, 2);
        WaitForMenu("options-for-" + effect.second, optionsMenu);
        ClickMenuLine(2, 0);
        const Shot effectsShot = WaitForMenu("effects-for-" + effect.second, effectsMenu);
        if (plainLogo.Empty()) plainLogo = effectsShot;
        ClickMenuLine(5, effect.first);
        WaitFor("menu-logo-" + effect.second, [&](const Shot& s) {
            return MeanDifference(s, plainLogo, menuLogo) > 8.0 && ShowsMenu(s, effectsMenu);
        });
        // Back to the table: Effects -> Options -> root -> closed.
        PressKey("Escape");
        PressKey("Escape");
        PressKey("Escape");
        tables.push_back(WaitFor("table-" + effect.second, [&](const Shot& s) {
            return MeanDifference(s, table, tableArea) > 8.0 && TextExtent(s, MenuLineTop(5, 0), LineHeight).first < 0;
        }));
    }
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_GT(MeanDifference(tables[1], tables[2], tableArea), 4.0) << "dither and gameboy look alike";
    EXPECT_GT(MeanDifference(tables[0], tables[2], tableArea), 4.0) << "CRT and gameboy look alike";

    // "None" brings the plain table back.
    OpenMenuFromTable("menu-for-none");
    ClickMenuLine(5, 2);
    WaitForMenu("options-for-none", optionsMenu);
    ClickMenuLine(2, 0);
    WaitForMenu("effects-for-none", effectsMenu);
    ClickMenuLine(5, 0);
    PressKey("Escape");
    PressKey("Escape");
    PressKey("Escape");
    WaitFor("table-none", [&](const Shot& s) { return MeanDifference(s, table, whole) < 0.5; });

    // Credits: four lines and "Back".
    OpenMenuFromTable("menu-for-credits");
    ClickMenuLine(5, 3);
    const Shot credits = WaitForMenu("credits", creditsMenu);
    ASSERT_FALSE(credits.Empty());
    ClickMenuLine(5, 4);
    WaitForMenu("menu-after-credits", rootMenu);

    // Quit Game ends the program with status 0.
    ClickMenuLine(5, 4);
    int status = -2;
    ASSERT_TRUE(game->Wait(10000, &status)) << "the game did not quit";
    EXPECT_EQ(status, 0);
}

}  // namespace
