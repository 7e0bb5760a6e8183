// The card table driven frame by frame through Update, with the real input
// manager fed hand-made SDL events. The framework is never initialised: the
// state draws, loads and plays through recording doubles, and two probe
// states stand in for "menu" and "gameover".
#include "Game.h"
#include "GameRunState.h"

#include "FixedSizeRenderer.h"
#include "RecordingWindowManager.h"
#include "RecordingSoundManager.h"
#include "RecordingSpriteRenderer.h"
#include "RecordingTextureManager.h"
#include "components/TimerComponent.h"
#include "core/Config.h"
#include "core/InputManager.h"
#include "core/State.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class TableGame : public Game {
public:
    using Game::config;
    using Game::currentState;
    using Game::eventBuffer;
    using Game::gameData;
    using Game::inputManager;
    using Game::name;
    using Game::states;
};

class ProbeState : public Ostrel::State {
public:
    explicit ProbeState(Ostrel::Framework* framework) : Ostrel::State(framework) {}
    int enters = 0;
    void OnEnter() override { ++enters; }
};

std::string TestConfig() {
    std::string text = "time_to_start=1000\nhide_time=500\ncard=pictures/back.png\nicon_navbar=pictures/nav.png\n";
    for (int i = 0; i < 14; ++i) text += "texture_" + std::to_string(i) + "=pictures/" + std::to_string(i) + ".png\n";
    return text;
}

class TableTest : public ::testing::Test {
protected:
    TableGame game;
    OstrelTest::FixedSizeRenderer renderer{800, 600};
    OstrelTest::RecordingSpriteRenderer sprites{&renderer};
    OstrelTest::RecordingTextureManager textures;
    OstrelTest::RecordingSoundManager sounds;
    OstrelTest::RecordingWindowManager window;
    ProbeState menu{&game};
    ProbeState gameover{&game};
    std::unique_ptr<GameRunState> table;

    void SetUp() override { Build(TestConfig(), 800, 600); }

    void TearDown() override { game.states.clear(); }

    void Build(const std::string& configText, int width, int height) {
        game.config->text = configText;
        sounds.LoadSound("card.wav", "card_sound");
        sounds.LoadSound("click.wav", "click_sound");
        window.settings.width = width;
        window.settings.height = height;
        game.gameData.animationSpeed = 0.01f;
        std::srand(42);
        table = std::make_unique<GameRunState>(&game, &game.gameData);
        table->textureManager = &textures;
        table->soundManager = &sounds;
        table->spriteRenderer = &sprites;
        table->windowManager = &window;
        game.states["menu"] = &menu;
        game.states["gameover"] = &gameover;
        game.AddState("game", table.get());
        game.SwitchState("game");
    }

    // One frame of the framework's loop as far as the table is concerned.
    void Frame(float dt = 16.0f) {
        game.inputManager->Update(dt);
        game.Update(dt);
        game.currentState->Update(dt);
        game.inputManager->EndFrame();
        game.eventBuffer.count = 0;
    }

    void Push(const SDL_Event& event) { game.eventBuffer.events[game.eventBuffer.count++] = event; }
    void Key(SDL_Keycode sym) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        Push(e);
    }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    void Button(bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        Push(e);
    }
    void Pad(Uint8 button) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERBUTTONDOWN;
        e.cbutton.button = button;
        Push(e);
    }
    Ostrel::ControllerState& Controller() { return game.inputManager->controllers[0]; }

    // Moves the pointer and presses in one frame.
    void Press(int x, int y, float dt = 16.0f) {
        Motion(x, y);
        Button(true);
        Frame(dt);
    }
    // Press on the card's centre in one frame, release in the next.
    void Click(size_t index) {
        const Card& card = table->cards[index];
        Press(card.x + card.w / 2, card.y + card.h / 2);
        Button(false);
        Frame();
    }

    void EndMemorisePhase() {
        Frame(1001.0f);
        for (const Card& card : table->cards) ASSERT_TRUE(card.faceDown);
        Frame();
    }

    // Two cards with the same picture, and one with another picture.
    size_t PartnerOf(size_t index) const {
        for (size_t i = 0; i < table->cards.size(); ++i) {
            if (i != index && table->cards[i].frontTexture == table->cards[index].frontTexture) return i;
        }
        return index;
    }
    size_t OtherThan(size_t index) const {
        for (size_t i = 0; i < table->cards.size(); ++i) {
            if (table->cards[i].frontTexture != table->cards[index].frontTexture) return i;
        }
        return index;
    }
    int FaceUp() const {
        int count = 0;
        for (const Card& card : table->cards) count += card.faceDown ? 0 : 1;
        return count;
    }
};

TEST_F(TableTest, InitLoadsPicturesDealsAndLaysOut) {
    ASSERT_EQ(game.gameData.textureNames.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        const std::string key = "texture_" + std::to_string(i);
        EXPECT_EQ(game.gameData.textureNames[static_cast<size_t>(i)], key);
        auto* texture = static_cast<OstrelTest::RecordingTexture*>(textures.GetTexture(key));
        ASSERT_NE(texture, nullptr) << key;
        EXPECT_NE(texture->params.filter, 1) << "card pictures use nearest filtering";
    }
    EXPECT_EQ(table->cardBackTexture, textures.GetTexture("card"));
    EXPECT_EQ(table->navbarTexture, textures.GetTexture("icon_navbar"));
    EXPECT_EQ(textures.loadedPaths.front(), "pictures/0.png");
    EXPECT_EQ(table->clickSound, sounds.GetSound("click_sound"));
    EXPECT_EQ(table->startTimer->duration, 1000.0f);
    EXPECT_EQ(table->hideTimer->duration, 500.0f);
    EXPECT_EQ(table->leftTimer->duration, 150.0f);
    EXPECT_EQ(table->upTimer->duration, 150.0f);

    ASSERT_EQ(table->cards.size(), 12u);
    EXPECT_EQ(table->columns, 4);
    EXPECT_EQ(table->rows, 3);
    game.gameData.onAnimationSpeedChanged(0.05f);  // reaches every card
    for (const Card& card : table->cards) {
        EXPECT_FALSE(card.faceDown);
        EXPECT_EQ(card.backTexture, "card");
        EXPECT_FLOAT_EQ(card.flipSpeed, 0.05f);
        EXPECT_EQ(card.sound, sounds.GetSound("card_sound"));
        EXPECT_EQ(card.w, 128);
    }
    EXPECT_EQ(table->cards[0].x, 96);
    EXPECT_EQ(table->cards[0].y, 76);
    EXPECT_EQ(game.currentState, table.get());
}

TEST_F(TableTest, MemorisePhaseIgnoresClicksThenHidesEveryCard) {
    Press(table->cards[0].x + 5, table->cards[0].y + 5, 500.0f);
    EXPECT_EQ(FaceUp(), 12);
    table->cards[0].Hide();  // even a face-down card is not turned during the phase
    Frame(400.0f);
    EXPECT_TRUE(table->cards[0].faceDown);
    Button(false);
    Frame(16.0f);
    table->cards[0].Reveal();
    EXPECT_EQ(FaceUp(), 12);
    Frame(100.0f);  // 1016 ms in all
    EXPECT_EQ(FaceUp(), 0);
    for (const Card& card : table->cards) EXPECT_TRUE(card.flipping);
}

TEST_F(TableTest, SweepingWithButtonHeldRevealsAMatchingPairThatStaysUp) {
    EndMemorisePhase();
    const size_t partner = PartnerOf(0);
    Press(table->cards[0].x + 1, table->cards[0].y + 1);
    EXPECT_FALSE(table->cards[0].faceDown);
    EXPECT_EQ(sounds.PlayCount("card_sound"), 1);
    Motion(table->cards[partner].x + 1, table->cards[partner].y + 1);
    Frame();
    EXPECT_TRUE(table->cards[0].matched);
    EXPECT_TRUE(table->cards[partner].matched);
    EXPECT_EQ(sounds.PlayCount("card_sound"), 2);
    Button(false);
    Frame(2000.0f);
    Frame();
    EXPECT_FALSE(table->cards[0].faceDown);
    EXPECT_FALSE(table->cards[partner].faceDown);
    EXPECT_EQ(FaceUp(), 2);
}

TEST_F(TableTest, MismatchBlocksInputForHideTimeThenTurnsBack) {
    EndMemorisePhase();
    const size_t other = OtherThan(0);
    Click(0);
    Click(other);
    EXPECT_EQ(FaceUp(), 2);
    EXPECT_FALSE(table->cards[0].matched);

    // 2 frames of 16 ms have passed since the pair showed; clicks are ignored.
    size_t third = 0;
    while (third == 0 || third == other) ++third;
    Click(third);
    EXPECT_TRUE(table->cards[third].faceDown);
    EXPECT_EQ(FaceUp(), 2);

    Frame(400.0f);  // 464 ms: still shown
    EXPECT_EQ(FaceUp(), 2);
    Frame(40.0f);  // 504 ms: run out, both turn back
    EXPECT_EQ(FaceUp(), 0);
    Click(third);
    EXPECT_FALSE(table->cards[third].faceDown);
}

TEST_F(TableTest, EscapeWithButtonHeldStillRevealsInSameFrame) {
    EndMemorisePhase();
    Motion(table->cards[5].x + 3, table->cards[5].y + 3);
    Button(true);
    Key(SDLK_ESCAPE);
    Frame();
    EXPECT_EQ(game.currentState, &menu);
    EXPECT_EQ(menu.enters, 1);
    EXPECT_FALSE(table->cards[5].faceDown);
    EXPECT_EQ(sounds.PlayCount("click_sound"), 0) << "Escape switches silently";
}

TEST_F(TableTest, EditorVisibleBlocksCardsButNotEscape) {
    EndMemorisePhase();
    Key(SDLK_TAB);
    Frame();
    ASSERT_TRUE(game.gameData.editorVisible);
    Click(3);
    EXPECT_TRUE(table->cards[3].faceDown);
    Key(SDLK_TAB);
    Frame();
    ASSERT_FALSE(game.gameData.editorVisible);
    Click(3);
    EXPECT_FALSE(table->cards[3].faceDown);

    Key(SDLK_TAB);
    Frame();
    Key(SDLK_ESCAPE);
    Frame();
    EXPECT_EQ(game.currentState, &menu);
}

TEST_F(TableTest, MenuButtonSwitchesOnceWithClickSoundAndStartOnlyWithController) {
    Press(5, 5);
    EXPECT_EQ(game.currentState, &menu);
    Frame();
    Frame();
    EXPECT_EQ(menu.enters, 1);
    EXPECT_EQ(sounds.PlayCount("click_sound"), 1);

    Button(false);
    game.SwitchState("game");
    Pad(SDL_CONTROLLER_BUTTON_START);
    Frame();
    EXPECT_EQ(game.currentState, table.get()) << "no controller connected";
    Controller().connected = true;
    Pad(SDL_CONTROLLER_BUTTON_START);
    Frame();
    EXPECT_EQ(game.currentState, &menu);
}

TEST_F(TableTest, PressOnMenuButtonDoesNotTurnTheCardBeneathIt) {
    // 20 cards at 800 x 600 start at (20, 20): the 32 x 32 button covers a corner.
    game.gameData.cardCount = 20;
    game.gameData.newGameRequested = true;
    game.SwitchState("game");
    ASSERT_EQ(table->cards.size(), 20u);
    ASSERT_LT(table->cards[0].x, 32);
    ASSERT_LT(table->cards[0].y, 32);
    EndMemorisePhase();
    const int x = table->cards[0].x + 2, y = table->cards[0].y + 2;
    ASSERT_TRUE(table->cards[0].Contains(x, y));
    Press(x, y);
    EXPECT_EQ(game.currentState, &menu);
    EXPECT_TRUE(table->cards[0].faceDown);
    EXPECT_EQ(sounds.PlayCount("card_sound"), 0);

    // Just outside the button the same card turns.
    Button(false);
    Frame();
    game.SwitchState("game");
    Press(table->cards[0].x + 20, table->cards[0].y + 20);
    EXPECT_FALSE(table->cards[0].faceDown);
}

TEST_F(TableTest, LastPairFinishesAndSwitchesOneFrameLater) {
    EndMemorisePhase();
    const size_t partner = PartnerOf(0);
    for (size_t i = 0; i < table->cards.size(); ++i) {
        if (i != 0 && i != partner) {
            table->cards[i].matched = true;
            table->cards[i].faceDown = false;
        }
    }
    Click(0);
    Press(table->cards[partner].x + 2, table->cards[partner].y + 2);
    EXPECT_TRUE(table->cards[partner].matched);
    EXPECT_FALSE(game.gameData.gameFinished);
    Button(false);
    Frame();
    EXPECT_TRUE(game.gameData.gameFinished);
    EXPECT_EQ(game.currentState, table.get());
    EXPECT_EQ(gameover.enters, 0);
    Frame();
    EXPECT_EQ(game.currentState, &gameover);
    EXPECT_EQ(gameover.enters, 1);
}

TEST_F(TableTest, ContinueKeepsDealAndNewGameOrFinishedTableDealsAgain) {
    EndMemorisePhase();
    Click(0);
    const std::vector<Card> before = table->cards;
    game.SwitchState("menu");
    game.SwitchState("game");
    ASSERT_EQ(table->cards.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(table->cards[i].frontTexture, before[i].frontTexture);
        EXPECT_EQ(table->cards[i].faceDown, before[i].faceDown);
    }

    game.gameData.cardCount = 16;
    game.gameData.newGameRequested = true;
    game.SwitchState("menu");
    game.SwitchState("game");
    EXPECT_EQ(table->cards.size(), 16u);
    EXPECT_FALSE(game.gameData.newGameRequested);
    EXPECT_EQ(FaceUp(), 16);
    EXPECT_EQ(table->cards[0].y, 20);

    EndMemorisePhase();
    game.gameData.gameFinished = true;
    game.gameData.cardCount = 20;
    table->OnEnter();
    EXPECT_EQ(table->cards.size(), 20u);
    EXPECT_FALSE(game.gameData.gameFinished);
    EXPECT_EQ(table->columns, 5);
    EXPECT_EQ(table->cards[0].x, 20);
    EXPECT_EQ(FaceUp(), 20);
    EXPECT_EQ(table->startTimer->elapsed, 0.0f);
}

TEST_F(TableTest, HideTimerRunningOutDuringNewMemorisePhaseKeepsCardsUp) {
    EndMemorisePhase();
    Click(0);
    Click(OtherThan(0));  // hide timer restarts
    game.gameData.newGameRequested = true;
    table->OnEnter();
    Frame(600.0f);  // hide timer runs out, start timer has not
    EXPECT_EQ(FaceUp(), 12);
    Frame(500.0f);
    EXPECT_EQ(FaceUp(), 0);
}

TEST_F(TableTest, MenuButtonSizeOnEnterAndOnResize) {
    window.settings.width = 1280;
    window.settings.height = 720;
    table->OnEnter();
    EXPECT_EQ(table->navbarRect.z, 64);
    EXPECT_EQ(table->navbarRect.w, 64);

    window.Resize(1280, 720);
    EXPECT_EQ(table->navbarRect.z, 32);
    EXPECT_EQ(table->navbarRect.w, 32);
    window.Resize(1281, 721);
    EXPECT_EQ(table->navbarRect.z, 64);
    EXPECT_EQ(table->navbarRect.x, 0);
    EXPECT_EQ(table->navbarRect.y, 0);

    window.settings.width = 1279;
    table->OnEnter();
    EXPECT_EQ(table->navbarRect.z, 32);
}

TEST_F(TableTest, ResizeLaysCardsOutAgain) {
    window.Resize(1920, 1080);
    EXPECT_EQ(table->cards[0].w, 256);
    window.Resize(600, 800);
    EXPECT_EQ(table->columns, 3);
    EXPECT_EQ(table->rows, 4);
    window.Resize(0, 0);  // a window shrunk to nothing still ends with a layout
    EXPECT_EQ(table->cards[0].w, 0);
    window.Resize(1, 1);
    EXPECT_EQ(table->cards[0].w, 0);
    Frame();
    window.Resize(800, 600);
    EXPECT_EQ(table->cards[0].w, 128);
}

class ControllerTest : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        Controller().connected = true;
        Frame(151.0f);  // the direction gates open
    }
    int Selected() const { return table->selectedIndex; }

    // Each step: optionally place the highlight, press the buttons, run one
    // frame, then expect the highlight (unless expected is -1).
    struct Step {
        std::vector<Uint8> pads;
        float dt;
        int expected;
        int place = -1;
    };
    void Run(const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].place >= 0) table->selectedIndex = steps[i].place;
            for (Uint8 pad : steps[i].pads) Pad(pad);
            Frame(steps[i].dt);
            if (steps[i].expected >= 0) {
                EXPECT_EQ(Selected(), steps[i].expected) << "step " << i;
            }
        }
    }
    static constexpr Uint8 L = SDL_CONTROLLER_BUTTON_DPAD_LEFT, R = SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                           U = SDL_CONTROLLER_BUTTON_DPAD_UP, D = SDL_CONTROLLER_BUTTON_DPAD_DOWN;
};

TEST_F(ControllerTest, DpadWrapsInEveryDirection) {
    // Up from the top row goes to the same column in the bottom row, and down
    // from the bottom row to the same column in the top row.
    Run({{{L}, 16, 11}, {{R}, 16, 0}, {{U}, 16, 8}, {{D}, 16, 0}, {{}, 151, 0}, {{D}, 16, 1, 9}, {{R}, 16, 0, 11}});
}

TEST_F(ControllerTest, SecondPressWithin150MsIsIgnored) {
    Run({{{R}, 100, 1}, {{R}, 16, 1}, {{}, 40, -1}, {{R}, 16, 2}});  // 100 ms, then 156 ms since the move
}

TEST_F(ControllerTest, LeftWinsOverRightWhileItsGateIsOpen) {
    // Then left's gate is closed and right's open; then both are closed.
    Run({{{L, R}, 16, 11}, {{L, R}, 16, 0}, {{L, R}, 16, 0}});
}

TEST_F(ControllerTest, StickAtExactlyHalfIsIgnoredAndHeldStickRepeats) {
    Controller().axes[0] = 0.5f;
    Frame();
    Controller().axes[1] = -0.5f;
    Frame();
    EXPECT_EQ(Selected(), 0);

    Controller().axes[1] = 0.0f;
    Controller().axes[0] = 0.51f;
    std::vector<int> seen;
    for (int i = 0; i < 9; ++i) {
        Frame(50.0f);
        seen.push_back(Selected());
    }
    // Moves when the gate has run out: elapsed must pass 150 ms.
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 3}));
}

TEST_F(ControllerTest, SelectRevealsOnlyOutsideMemorisePhaseAndSmallerDealKeepsHighlight) {
    Pad(SDL_CONTROLLER_BUTTON_A);
    Frame();
    EXPECT_EQ(FaceUp(), 12);
    Pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Frame();
    EXPECT_EQ(Selected(), 1) << "the highlight moves during the memorise phase";

    Frame(1001.0f);
    ASSERT_EQ(FaceUp(), 0);
    Frame();
    Pad(SDL_CONTROLLER_BUTTON_A);
    Frame();
    EXPECT_FALSE(table->cards[1].faceDown);
    EXPECT_EQ(FaceUp(), 1);

    // A smaller new deal keeps the highlight on the table.
    game.gameData.cardCount = 20;
    game.gameData.newGameRequested = true;
    table->OnEnter();
    table->selectedIndex = 19;
    game.gameData.cardCount = 12;
    game.gameData.newGameRequested = true;
    table->OnEnter();
    EXPECT_LT(Selected(), 12);
}

TEST_F(ControllerTest, RenderTintsSelectedCardAndDrawsMenuButtonLast) {
    Pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Frame();
    table->Render();
    EXPECT_EQ(sprites.begins, (std::vector<int>{0, 0}));
    EXPECT_EQ(sprites.ends, 2);
    ASSERT_EQ(sprites.draws.size(), 13u);
    for (size_t i = 0; i < 12; ++i) {
        const auto& draw = sprites.draws[i];
        EXPECT_EQ(draw.rect.x, table->cards[i].x);
        EXPECT_FLOAT_EQ(draw.tint.x, i == 1 ? 1.2f : 1.0f) << i;
        EXPECT_FLOAT_EQ(draw.tint.w, i == 1 ? 0.5f : 1.0f) << i;
    }
    EXPECT_EQ(sprites.draws[12].form, OstrelTest::RecordingSpriteRenderer::Form::Rect);
    EXPECT_EQ(sprites.draws[12].texture, textures.GetTexture("icon_navbar"));
    EXPECT_EQ(sprites.draws[12].rect.z, 32);

    Controller().connected = false;
    Frame();
    sprites.Clear();
    game.gameData.postEffect = PostEffect::CRT;  // no effect object exists: a plain table
    table->Render();
    ASSERT_EQ(sprites.draws.size(), 13u);
    for (size_t i = 0; i < 12; ++i) EXPECT_FLOAT_EQ(sprites.draws[i].tint.x, 1.0f);
}

class TableConfigTest : public TableTest {
protected:
    void SetUp() override {}
};

TEST_F(TableConfigTest, MissingOrMalformedDurationsFallBackToDefaults) {
    testing::internal::CaptureStderr();
    Build("hide_time=soon\n", 800, 600);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(table->startTimer->duration, static_cast<float>(GameRunState::DefaultTimeToStart));
    EXPECT_EQ(table->hideTimer->duration, static_cast<float>(GameRunState::DefaultHideTime));
    EXPECT_NE(errors.find("time_to_start"), std::string::npos);
    EXPECT_NE(errors.find("hide_time"), std::string::npos);
    EXPECT_NE(errors.find("texture_0"), std::string::npos) << "a picture with no path is reported";
    EXPECT_EQ(table->cards.size(), 12u);
}

}  // namespace
