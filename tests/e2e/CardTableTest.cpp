// Whole deals on the card table through the real game loop: one played with
// the mouse, one with a virtual controller (d-pad and A). Each test reads the
// deal to choose its moves, turns one mismatched pair first, and saves a
// picture of every phase under <build>/e2e-shots/.
#include "E2EHarness.h"
#include "TempDir.h"

#include "CardLayout.h"
#include "Game.h"
#include "GameRunState.h"
#include "components/TimerComponent.h"
#include "core/State.h"
#include "core/WindowManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

class TableGame : public Game {
public:
    GameData& Data() { return gameData; }
    GameRunState* Table() { return dynamic_cast<GameRunState*>(states["game"]); }
};

using App = OstrelTest::ScriptedApp<TableGame>;

// Long enough to see a card turn (about 390 ms at the shipped speed) and a
// failed pair, short enough for a test.
std::string TableConfig() {
    return OstrelTest::RepoConfigWith({{"time_to_start", "500"}, {"hide_time", "700"}});
}

std::string ShotPath(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(OstrelTest::ExecutableDir()) / "e2e-shots";
    std::filesystem::create_directories(dir);
    return (dir / ("card-table-" + name + ".png")).string();
}

// The input manager takes the pointer position from motion events only.
void Press(int x, int y) {
    OstrelTest::PushMouseMotion(x, y);
    OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, true, x, y);
}
void Release(int x, int y) {
    OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, false, x, y);
}

// The order of cards to turn: a failed pair first, then every pair.
std::vector<size_t> PlanDeal(const std::vector<Card>& cards) {
    std::vector<size_t> plan;
    size_t other = 1;
    while (cards[other].frontTexture == cards[0].frontTexture) ++other;
    plan.push_back(0);
    plan.push_back(other);
    std::vector<bool> used(cards.size(), false);
    for (size_t i = 0; i < cards.size(); ++i) {
        if (used[i]) continue;
        for (size_t j = i + 1; j < cards.size(); ++j) {
            if (!used[j] && cards[j].frontTexture == cards[i].frontTexture) {
                used[i] = used[j] = true;
                plan.push_back(i);
                plan.push_back(j);
                break;
            }
        }
    }
    return plan;
}

bool AnyFlipping(const std::vector<Card>& cards) {
    for (const Card& card : cards) {
        if (card.flipping) return true;
    }
    return false;
}

// Runs the plan: turns each card in order once the table takes input and the
// previous turn has finished, and notes which phase pictures to take.
class DealPlayer {
public:
    using TurnCard = std::function<bool(App&, size_t card)>;  // true once the card was chosen

    explicit DealPlayer(TurnCard turn) : turn(std::move(turn)) {}

    std::vector<size_t> plan;
    size_t next = 0;
    std::string shotPrefix;
    bool probeWithMouse = true;
    std::string pendingShot;
    std::vector<std::string> shotsTaken;
    int finishedFrame = -1;
    bool ignoredDuringMismatch = false;
    bool checkedMismatchBlock = false;
    int blockedProbeFrame = -1;
    size_t blockedProbeCard = 0;

    void Shot(const std::string& phase) {
        const std::string name = shotPrefix + phase;
        for (const std::string& taken : shotsTaken) {
            if (taken == name) return;
        }
        pendingShot = name;
    }

    void Step(App& app, int frame) {
        if (plan.empty() || finishedFrame >= 0) return;
        GameRunState* table = app.Table();
        std::vector<Card>& cards = table->cards;
        // The table still shows in this frame's picture; the flag is set by
        // its next update and the game-over screen follows one frame later.
        if (CardLayout::AllMatched(cards)) {
            finishedFrame = frame;
            Shot("finished");
            app.QuitAfterFrames(frame + 4);
            return;
        }
        if (!GameRunState::Expired(table->startTimer)) {
            Shot("memorise");
            return;
        }
        // Phase pictures, taken once each when the table shows them at rest.
        if (next >= 1 && cards[plan[0]].flipping && cards[plan[0]].flipAngle > 1.0f &&
            cards[plan[0]].flipAngle < 2.0f) {
            Shot("flip");
        }
        if (next == 1 && !AnyFlipping(cards)) Shot("one-up");
        if (next == 2 && !AnyFlipping(cards) && !cards[plan[0]].faceDown && !cards[plan[1]].faceDown) {
            Shot("mismatch");
            if (probeWithMouse && !checkedMismatchBlock) ProbeBlockedInput(app, frame);
        }
        if (blockedProbeFrame >= 0 && frame == blockedProbeFrame + 1) Release(0, 0);
        if (blockedProbeFrame >= 0 && frame == blockedProbeFrame + 3) {
            ignoredDuringMismatch = cards[blockedProbeCard].faceDown;
            blockedProbeFrame = -1;
        }
        if (next == 4 && !AnyFlipping(cards)) Shot("matched");

        if (next >= plan.size() || blockedProbeFrame >= 0) return;
        if (!table->InputAllowed() || AnyFlipping(cards)) return;
        // A pending failed pair turns back before the next move.
        if (next == 2 && (!cards[plan[0]].faceDown || !cards[plan[1]].faceDown)) return;
        if (turn(app, plan[next])) ++next;
    }

    // While the failed pair shows, choosing a third card must do nothing.
    void ProbeBlockedInput(App& app, int frame) {
        checkedMismatchBlock = true;
        std::vector<Card>& cards = app.Table()->cards;
        for (size_t i = 0; i < cards.size(); ++i) {
            if (i != plan[0] && i != plan[1]) {
                blockedProbeCard = i;
                break;
            }
        }
        const Card& card = cards[blockedProbeCard];
        Press(card.x + card.w / 2, card.y + card.h / 2);
        blockedProbeFrame = frame;
    }

private:
    TurnCard turn;
};

void SavePendingShot(App& app, DealPlayer& player) {
    if (player.pendingShot.empty()) return;
    EXPECT_TRUE(app.SaveFrame(ShotPath(player.pendingShot))) << player.pendingShot;
    player.shotsTaken.push_back(player.pendingShot);
    player.pendingShot.clear();
}

TEST(CardTable, WholeTwelveCardDealWithTheMouse) {
    OstrelTest::E2EWorkDir dir(TableConfig());
    App app;
    app.maxFrames = 3000;

    // Press on the card in one frame, release in the next.
    int pressFrame = -1;
    DealPlayer player([&](App& a, size_t index) {
        const Card& card = a.Table()->cards[index];
        const int x = card.x + card.w / 2;
        const int y = card.y + card.h / 2;
        if (pressFrame < 0) {
            Press(x, y);
            pressFrame = a.FrameNumber();
            return false;
        }
        Release(x, y);
        pressFrame = -1;
        return true;
    });

    bool memoriseClickIgnored = false;
    // "Click to play": the intro hands over to the table while the button is down.
    app.At(0, [](App&) { Press(799, 599); });
    app.At(1, [](App&) { Release(799, 599); });
    app.At(3, [&](App& a) {
        ASSERT_NE(a.Table(), nullptr);
        ASSERT_EQ(a.CurrentState(), a.Table());
        EXPECT_EQ(a.AppName(), "Zinnet Memory Game");
        EXPECT_EQ(a.WindowManager()->settings.width, 800);
        EXPECT_EQ(a.WindowManager()->settings.height, 600);
        ASSERT_EQ(a.Table()->cards.size(), 12u);
        // A click during the memorise phase turns nothing.
        const Card& card = a.Table()->cards[3];
        Press(card.x + 5, card.y + 5);
    });
    app.At(4, [](App&) { Release(0, 0); });
    app.At(6, [&](App& a) {
        int faceUp = 0;
        for (const Card& card : a.Table()->cards) faceUp += card.faceDown ? 0 : 1;
        memoriseClickIgnored = faceUp == 12 && !AnyFlipping(a.Table()->cards);
        player.plan = PlanDeal(a.Table()->cards);
    });
    app.EveryFrame([&](App& a, int frame) { player.Step(a, frame); });
    app.AfterRender([&](App& a, int) { SavePendingShot(a, player); });

    OstrelTest::RunApp(app);

    EXPECT_TRUE(memoriseClickIgnored);
    EXPECT_TRUE(player.ignoredDuringMismatch) << "a card chosen while a failed pair shows stays down";
    ASSERT_GE(player.finishedFrame, 0) << "the deal did not finish";
    EXPECT_EQ(player.next, player.plan.size());
    for (const Card& card : app.Table()->cards) EXPECT_TRUE(card.matched);
    for (const char* shot : {"memorise", "flip", "one-up", "mismatch", "matched", "finished"}) {
        EXPECT_TRUE(std::filesystem::exists(ShotPath(shot))) << shot;
    }
    EXPECT_TRUE(app.Data().gameFinished);
    // The game-over screen follows.
    ASSERT_EQ(app.States().count("gameover"), 1u);
    EXPECT_EQ(app.CurrentState(), app.States().at("gameover"));
}

TEST(CardTable, WholeSixteenCardDealWithAController) {
    OstrelTest::E2EWorkDir dir(TableConfig());
    OstrelTest::VirtualController controller;
    ASSERT_TRUE(controller.Attached());
    App app;
    app.maxFrames = 4000;

    // Moves the highlight one step at a time towards the card, each step in a
    // direction whose 150 ms gate is open, then presses A.
    SDL_GameControllerButton held = SDL_CONTROLLER_BUTTON_INVALID;
    int waitFrames = 0;
    DealPlayer player([&](App& a, size_t index) {
        GameRunState* table = a.Table();
        if (held != SDL_CONTROLLER_BUTTON_INVALID) {
            controller.SetButton(held, false);
            const bool wasA = held == SDL_CONTROLLER_BUTTON_A;
            held = SDL_CONTROLLER_BUTTON_INVALID;
            waitFrames = 1;  // the move shows in the next update
            return wasA;
        }
        if (waitFrames > 0) {
            --waitFrames;
            return false;
        }
        const int columns = table->columns;
        const int at = table->selectedIndex;
        const int target = static_cast<int>(index);
        const int rowStep = target / columns - at / columns;
        const int columnStep = target % columns - at % columns;
        if (rowStep > 0 && GameRunState::Expired(table->downTimer)) {
            held = SDL_CONTROLLER_BUTTON_DPAD_DOWN;
        } else if (rowStep < 0 && GameRunState::Expired(table->upTimer)) {
            held = SDL_CONTROLLER_BUTTON_DPAD_UP;
        } else if (columnStep > 0 && GameRunState::Expired(table->rightTimer)) {
            held = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
        } else if (columnStep < 0 && GameRunState::Expired(table->leftTimer)) {
            held = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
        } else if (rowStep == 0 && columnStep == 0) {
            held = SDL_CONTROLLER_BUTTON_A;
        }
        if (held != SDL_CONTROLLER_BUTTON_INVALID) controller.SetButton(held, true);
        return false;
    });

    // Any controller button starts the game from the intro.
    app.At(0, [&](App&) { controller.SetButton(SDL_CONTROLLER_BUTTON_A, true); });
    app.At(1, [&](App&) { controller.SetButton(SDL_CONTROLLER_BUTTON_A, false); });
    app.At(3, [&](App& a) {
        ASSERT_NE(a.Table(), nullptr);
        ASSERT_EQ(a.CurrentState(), a.Table());
        EXPECT_TRUE(a.Table()->controllerActive) << "the virtual controller is connected";
        // What the menu's "16 cards" does: ask for a new deal and enter the table.
        a.Data().cardCount = 16;
        a.Data().newGameRequested = true;
        a.SwitchState("game");
        ASSERT_EQ(a.Table()->cards.size(), 16u);
        EXPECT_EQ(a.Table()->columns, 4);
        player.plan = PlanDeal(a.Table()->cards);
    });
    app.EveryFrame([&](App& a, int frame) { player.Step(a, frame); });
    player.shotPrefix = "pad-";
    player.probeWithMouse = false;
    app.AfterRender([&](App& a, int) { SavePendingShot(a, player); });

    OstrelTest::RunApp(app);

    ASSERT_GE(player.finishedFrame, 0) << "the deal did not finish";
    EXPECT_EQ(player.next, player.plan.size());
    for (const Card& card : app.Table()->cards) EXPECT_TRUE(card.matched);
    EXPECT_TRUE(std::filesystem::exists(ShotPath("pad-mismatch")));
}

TEST(CardTable, BrokenTimingsAndSoundsFallBackAndStillPlay) {
    OstrelTest::E2EWorkDir dir(OstrelTest::RepoConfigWith({{"animation_speed", "fast"},
                                                           {"time_to_start", ""},
                                                           {"hide_time", "soon"},
                                                           {"card_sound", "assets/game/sounds/missing.wav"},
                                                           {"click_sound", "assets/game/sounds/missing.wav"}}));
    App app;
    app.maxFrames = 40;
    testing::internal::CaptureStderr();
    bool revealed = false;
    app.At(0, [](App&) { Press(799, 599); });
    app.At(1, [](App&) { Release(799, 599); });
    app.At(3, [&](App& a) {
        ASSERT_EQ(a.CurrentState(), a.Table());
        EXPECT_FLOAT_EQ(a.Data().animationSpeed, DefaultAnimationSpeed);
        for (const Card& card : a.Table()->cards) EXPECT_FLOAT_EQ(card.flipSpeed, DefaultAnimationSpeed);
        EXPECT_EQ(a.Table()->startTimer->duration, static_cast<float>(GameRunState::DefaultTimeToStart));
        EXPECT_EQ(a.Table()->hideTimer->duration, static_cast<float>(GameRunState::DefaultHideTime));
        // Skip the memorise phase; a card without its sound still turns.
        a.Table()->startTimer->elapsed = a.Table()->startTimer->duration + 1.0f;
        a.Table()->hideTimer->elapsed = a.Table()->hideTimer->duration + 1.0f;
        a.Table()->HideUnmatched();
        const Card& card = a.Table()->cards[5];
        Press(card.x + 4, card.y + 4);
    });
    app.At(4, [](App&) { Release(0, 0); });
    app.At(5, [&](App& a) { revealed = !a.Table()->cards[5].faceDown; });
    // The menu button without its click sound still opens the menu.
    app.At(6, [](App&) { Press(8, 8); });
    app.At(7, [](App&) { Release(8, 8); });

    OstrelTest::RunApp(app);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(revealed);
    EXPECT_EQ(app.CurrentState(), app.States().at("menu"));
    for (const char* key : {"animation_speed", "time_to_start", "hide_time"}) {
        EXPECT_NE(errors.find(key), std::string::npos) << key << " has no diagnostic in:\n" << errors;
    }
}

}  // namespace
