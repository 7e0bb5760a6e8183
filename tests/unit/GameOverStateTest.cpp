// The game-over screen through recording doubles and the real input manager:
// its two entries, the editor's colours taken on entry, the fixed logo, and
// Escape closing and reopening the menu while the screen stays.
#include "GameOverState.h"

#include "ScreenTestBed.h"
#include "components/MenuComponent.h"
#include "core/InputManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ostrel::MenuComponent;

class GameOverTest : public ::testing::Test {
protected:
    OstrelTest::ScreenTestBed bed;
    GameOverState screen{&bed.game, &bed.game.gameData};
    Ostrel::ITexture2D* logo = nullptr;

    void SetUp() override {
        logo = bed.textures.LoadTexture("pictures/logo.png", "logo");
        bed.Register("gameover", bed.Wire(&screen));
    }

    void Enter() {
        bed.Switch("gameover");
        bed.Frame();
    }
    void Press(SDL_Keycode key, float idle = 200.0f) {
        bed.Frame(idle);
        bed.Key(key);
        bed.Frame();
    }
    std::vector<std::string> DrawnTexts() {
        bed.ClearRecords();
        bed.Render();
        std::vector<std::string> texts;
        for (const auto& call : bed.text.draws) texts.push_back(call.text);
        return texts;
    }
    MenuComponent* Entry(size_t i) { return screen.menu->children.at(i); }
};

TEST_F(GameOverTest, InitBuildsRestartAndQuitWithClickSoundAndLogo) {
    ASSERT_EQ(screen.menu->children.size(), 2u);
    EXPECT_EQ(Entry(0)->label, "Restart");
    EXPECT_EQ(Entry(1)->label, "Quit Game");
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Entry(i)->entryType, Ostrel::MenuEntryType::Action);
        EXPECT_EQ(Entry(i)->clickSound, bed.sounds.GetSound("click_sound"));
    }
    EXPECT_EQ(screen.logoTexture, logo);
}

TEST_F(GameOverTest, RestartFinishesTheDealAndQuitGameStopsTheLoop) {
    Enter();
    Press(SDLK_RETURN);
    EXPECT_TRUE(bed.game.gameData.gameFinished);
    EXPECT_EQ(bed.Current(), &bed.tableProbe);
    EXPECT_TRUE(bed.game.running);

    bed.game.gameData.gameFinished = false;
    Enter();
    Press(SDLK_DOWN);
    bed.Switch("game");
    Enter();
    EXPECT_EQ(screen.menu->selectedIndex, 1) << "the menu keeps its selection between visits";
    Press(SDLK_RETURN);
    EXPECT_FALSE(bed.game.running);
    EXPECT_FALSE(bed.game.gameData.gameFinished);
    EXPECT_EQ(bed.Current(), &screen);
}

TEST_F(GameOverTest, EnteringAppliesTheEditorColoursAndTheGameScale) {
    bed.game.gameData.menuColor = Ostrel::vec4(0.2f, 0.4f, 0.6f, 1.0f);
    bed.game.gameData.menuSelectionColor = Ostrel::vec4(0.9f, 0.1f, 0.1f, 1.0f);
    Enter();
    EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"Restart", "Quit Game"}));
    const auto& selected = bed.text.draws[0];
    const auto& other = bed.text.draws[1];
    EXPECT_FLOAT_EQ(selected.colour.x, 0.9f);
    EXPECT_FLOAT_EQ(selected.colour.y, 0.1f);
    EXPECT_FLOAT_EQ(other.colour.x, 0.2f);
    EXPECT_FLOAT_EQ(other.colour.z, 0.6f);
    EXPECT_FLOAT_EQ(other.scale, 0.5f);

    // Changed while the screen shows: applies from the next entry on.
    bed.game.gameData.menuColor = Ostrel::vec4(0.0f, 1.0f, 0.0f, 1.0f);
    DrawnTexts();
    EXPECT_FLOAT_EQ(bed.text.draws[1].colour.x, 0.2f);
    bed.Switch("game");
    Enter();
    DrawnTexts();
    EXPECT_FLOAT_EQ(bed.text.draws[1].colour.x, 0.0f);
    EXPECT_FLOAT_EQ(bed.text.draws[1].colour.y, 1.0f);
}

TEST_F(GameOverTest, LogoIsCentredAtThreeTimesItsSizeAndIgnoresLaterResizes) {
    Enter();
    EXPECT_EQ(screen.logoRect.x, 261);
    EXPECT_EQ(screen.logoRect.y, 50);
    EXPECT_EQ(screen.logoRect.z, 279);
    EXPECT_EQ(screen.logoRect.w, 105);

    bed.Resize(1920, 1080);
    bed.Frame();
    EXPECT_EQ(screen.logoRect.x, 261) << "set on entry only";

    bed.Switch("game");
    Enter();
    EXPECT_EQ(screen.logoRect.x, 821);
    EXPECT_EQ(screen.logoRect.y, 50);
    EXPECT_EQ(screen.logoRect.z, 279);
    EXPECT_EQ(screen.logoRect.w, 105);
}

TEST_F(GameOverTest, EscapeClosesTheMenuAndASecondEscapeLaterReopensIt) {
    Enter();
    Press(SDLK_ESCAPE);
    EXPECT_TRUE(screen.menu->IsClosed());
    EXPECT_EQ(bed.Current(), &screen) << "the screen stays";
    EXPECT_TRUE(DrawnTexts().empty());
    ASSERT_EQ(bed.sprites.draws.size(), 1u);
    EXPECT_EQ(bed.sprites.draws[0].texture, logo);

    // Within 150 ms of closing: ignored.
    Press(SDLK_ESCAPE, 100.0f);
    EXPECT_TRUE(screen.menu->IsClosed());

    Press(SDLK_ESCAPE);
    EXPECT_EQ(screen.menu->openState, Ostrel::Open);
    EXPECT_EQ(bed.Current(), &screen);
    EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"Restart", "Quit Game"}));

    // Controller B closes it too.
    bed.ConnectController();
    bed.Idle();
    bed.PadButton(SDL_CONTROLLER_BUTTON_B);
    bed.Frame();
    EXPECT_TRUE(screen.menu->IsClosed());
    EXPECT_EQ(bed.Current(), &screen);
}

TEST_F(GameOverTest, RenderPutsOnlyTheLogoThroughTheEffect) {
    Enter();
    bed.ClearRecords();
    bed.Render();
    EXPECT_EQ(bed.post.recordingFramebuffer.bindCalls, 0);
    EXPECT_EQ(bed.journal.front(), "sprite.Begin(0)");

    bed.game.gameData.postEffect = PostEffect::OrderedDither;
    bed.ClearRecords();
    bed.Render();
    const std::vector<std::string> expected{
        "post.Bind", "post.Clear",    "sprite.Begin(0)",        "sprite.DrawSprite",        "sprite.End()",
        "post.Draw", "text.Begin(0)", "text.DrawText(Restart)", "text.DrawText(Quit Game)", "text.End()"};
    EXPECT_EQ(bed.journal, expected);
    EXPECT_EQ(bed.ditherShader->useCount, 1);
    EXPECT_EQ(bed.crtShader->useCount + bed.gameboyShader->useCount, 0);
}

TEST_F(GameOverTest, ThePressThatFoundTheLastPairIsNotAChoice) {
    // A first visit left the menu in mouse mode.
    Enter();
    bed.Motion(10, 10);
    bed.Frame();
    bed.Switch("game");

    // The last card is pressed on the table; the table switches here while
    // the button is still down, and it comes up over "Quit Game".
    const Ostrel::ivec4 quit = Entry(1)->hitRect;
    bed.Motion(quit.x + 2, quit.y + 2);
    bed.Button(true);
    bed.Frame();
    Enter();
    bed.Button(false);
    bed.Frame();
    EXPECT_TRUE(bed.game.running);
    EXPECT_EQ(bed.sounds.PlayCount("click_sound"), 0);

    // A click of its own still chooses.
    bed.Button(true);
    bed.Frame();
    bed.Button(false);
    bed.Frame();
    EXPECT_FALSE(bed.game.running);
}

}  // namespace
