// The intro screen through recording doubles: what it loads, where it lays
// out prompt, hints and logo (also after a resize), what it draws in which
// order, and which input starts the game.
#include "GameIntroState.h"

#include "ScreenTestBed.h"
#include "components/IconLabel.h"
#include "core/InputManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using OstrelTest::RecordingTexture;

const char* const Config =
    "icon_esc=pictures/esc.png\n"
    "icon_mouse=pictures/mouse.png\n"
    "logo=pictures/logo.png\n";

class IntroTest : public ::testing::Test {
protected:
    OstrelTest::ScreenTestBed bed{Config};
    GameIntroState intro{&bed.game, &bed.game.gameData};

    void SetUp() override {
        bed.Register("intro", bed.Wire(&intro));
        bed.Switch("intro");
    }

    bool InGame() const { return bed.Current() == &bed.tableProbe; }
};

TEST_F(IntroTest, InitLoadsHintIconsAndLogoWithNearestFiltering) {
    EXPECT_EQ(bed.textures.loadedPaths,
              (std::vector<std::string>{"pictures/esc.png", "pictures/mouse.png", "pictures/logo.png"}));
    for (const char* key : {"icon_esc", "icon_mouse", "logo"}) {
        auto* texture = static_cast<RecordingTexture*>(bed.textures.GetTexture(key));
        ASSERT_NE(texture, nullptr) << key;
        EXPECT_EQ(texture->params.filter, 0) << key;
        EXPECT_EQ(texture->params.channels, -1) << key;
        EXPECT_NE(texture->params.clampToEdge, 0) << key;
    }
    EXPECT_EQ(intro.logoTexture, bed.textures.GetTexture("logo"));

    ASSERT_NE(intro.menuHint, nullptr);
    ASSERT_NE(intro.selectHint, nullptr);
    EXPECT_EQ(intro.menuHint->caption, "Menu");
    EXPECT_EQ(intro.menuHint->icon, bed.textures.GetTexture("icon_esc"));
    EXPECT_EQ(intro.selectHint->caption, "Select");
    EXPECT_EQ(intro.selectHint->icon, bed.textures.GetTexture("icon_mouse"));
    for (const Ostrel::IconLabel* hint : {intro.menuHint, intro.selectHint}) {
        EXPECT_EQ(hint->font, &bed.bitmapFont);
        EXPECT_FLOAT_EQ(hint->scale, 0.5f);
        EXPECT_EQ(hint->iconOffset.x, 0);
        EXPECT_EQ(hint->iconOffset.y, 10);
    }
}

TEST_F(IntroTest, LayoutAt800x600) {
    EXPECT_EQ(intro.logoRect.x, 214);
    EXPECT_EQ(intro.logoRect.y, 75);
    EXPECT_EQ(intro.logoRect.z, 372);
    EXPECT_EQ(intro.logoRect.w, 140);
    EXPECT_EQ(intro.menuHint->position.x, 275);
    EXPECT_EQ(intro.menuHint->position.y, 400);
    EXPECT_EQ(intro.selectHint->position.x, 395);
    EXPECT_EQ(intro.selectHint->position.y, 400);
    // Centred by a quarter of 32 x 0.5 per character of the 13-character prompt.
    EXPECT_FLOAT_EQ(intro.promptPosition.x, 400.0f - 52.0f);
    EXPECT_FLOAT_EQ(intro.promptPosition.y, 300.0f);
}

TEST_F(IntroTest, ResizeMovesEverythingAtOnceEvenWhileAnotherScreenShows) {
    bed.Resize(1280, 720);
    EXPECT_EQ(intro.logoRect.x, 454);
    EXPECT_EQ(intro.logoRect.y, 90);
    EXPECT_EQ(intro.menuHint->position.x, 515);
    EXPECT_EQ(intro.menuHint->position.y, 460);
    EXPECT_EQ(intro.selectHint->position.x, 635);
    EXPECT_EQ(intro.selectHint->position.y, 460);
    EXPECT_FLOAT_EQ(intro.promptPosition.x, 640.0f - 52.0f);
    EXPECT_FLOAT_EQ(intro.promptPosition.y, 360.0f);

    bed.Switch("game");
    bed.Resize(801, 601);  // odd sizes: halves truncate
    EXPECT_EQ(intro.logoRect.x, 400 - 186);
    EXPECT_EQ(intro.logoRect.y, 75);
    EXPECT_EQ(intro.menuHint->position.x, 275);  // trunc(400.5 - 125)
    EXPECT_EQ(intro.menuHint->position.y, 400);  // trunc(300.5 + 100)
    EXPECT_FLOAT_EQ(intro.promptPosition.y, 300.0f);
}

TEST_F(IntroTest, RenderDrawsPromptThenHintsThenLogo) {
    bed.Render();
    const std::vector<std::string> expected{
        "text.Begin(0)", "text.DrawText(Click to play)", "text.End()",
        // select hint: icon, caption
        "sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()", "text.Begin(0)", "text.DrawText(Select)", "text.End()",
        // menu hint
        "sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()", "text.Begin(0)", "text.DrawText(Menu)", "text.End()",
        // logo
        "sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()"};
    EXPECT_EQ(bed.journal, expected);

    const auto prompt = bed.text.DrawsOf("Click to play");
    ASSERT_EQ(prompt.size(), 1u);
    EXPECT_EQ(prompt[0].font, &bed.bitmapFont);
    EXPECT_FLOAT_EQ(prompt[0].position.x, 348.0f);
    EXPECT_FLOAT_EQ(prompt[0].position.y, 300.0f);
    EXPECT_FLOAT_EQ(prompt[0].scale, 0.5f);
    EXPECT_FLOAT_EQ(prompt[0].colour.x, 1.0f);
    EXPECT_FLOAT_EQ(prompt[0].colour.y, 1.0f);
    EXPECT_FLOAT_EQ(prompt[0].colour.z, 1.0f);
    EXPECT_FLOAT_EQ(prompt[0].colour.w, 1.0f);

    ASSERT_EQ(bed.sprites.draws.size(), 3u);
    EXPECT_EQ(bed.sprites.draws[0].texture, bed.textures.GetTexture("icon_mouse"));
    EXPECT_EQ(bed.sprites.draws[0].rect.x, 395);
    EXPECT_EQ(bed.sprites.draws[0].rect.y, 410);
    EXPECT_EQ(bed.sprites.draws[0].rect.z, 16);
    EXPECT_EQ(bed.sprites.draws[1].texture, bed.textures.GetTexture("icon_esc"));
    const auto& logo = bed.sprites.draws[2];
    EXPECT_EQ(logo.texture, bed.textures.GetTexture("logo"));
    EXPECT_EQ(logo.rect.x, 214);
    EXPECT_EQ(logo.rect.y, 75);
    EXPECT_EQ(logo.rect.z, 372);
    EXPECT_EQ(logo.rect.w, 140);
}

TEST_F(IntroTest, PointerMotionAloneKeepsTheIntro) {
    bed.Motion(300, 300);
    bed.Frame();
    bed.Button(true, SDL_BUTTON_RIGHT);
    bed.Frame();
    EXPECT_EQ(bed.Current(), &intro);
}

TEST_F(IntroTest, LeftButtonDownStartsTheGameInTheSameUpdate) {
    bed.Button(true);
    bed.Frame(0.0f);
    EXPECT_TRUE(InGame());
    EXPECT_EQ(bed.tableProbe.enters, 1);
}

TEST_F(IntroTest, ControllerStickDoesNotStartButEveryButtonAndDirectionDoes) {
    bed.ConnectController();
    bed.PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    bed.PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -32767);
    bed.Frame();
    EXPECT_EQ(bed.Current(), &intro);
    bed.PadButton(SDL_CONTROLLER_BUTTON_BACK);  // not among the buttons that start
    bed.Frame();
    EXPECT_EQ(bed.Current(), &intro);

    const SDL_GameControllerButton starters[] = {
        SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
        SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_DPAD_UP,
        SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    for (SDL_GameControllerButton button : starters) {
        bed.Switch("intro");
        bed.PadButton(button);
        bed.Frame();
        EXPECT_TRUE(InGame()) << "button " << static_cast<int>(button);
    }
}

TEST_F(IntroTest, ButtonsOfADisconnectedControllerAreIgnored) {
    bed.PadButton(SDL_CONTROLLER_BUTTON_A);
    bed.Frame();
    EXPECT_EQ(bed.Current(), &intro);
}

TEST_F(IntroTest, CleanupUnloadsTheIconsButKeepsTheLogo) {
    Ostrel::ITexture2D* logo = bed.textures.GetTexture("logo");
    Ostrel::ITexture2D* esc = bed.textures.GetTexture("icon_esc");
    intro.RunCleanup();
    EXPECT_EQ(bed.textures.DeleteCount(esc), 1);
    EXPECT_EQ(bed.textures.textures.count("icon_esc"), 0u);
    EXPECT_EQ(bed.textures.textures.count("icon_mouse"), 0u);
    EXPECT_EQ(bed.textures.DeleteCount(logo), 0);
    EXPECT_EQ(bed.textures.GetTexture("logo"), logo);
}

TEST(IntroWithoutConfig, MissingPicturesAreReportedAndTheScreenStillWorks) {
    OstrelTest::ScreenTestBed bed("");
    GameIntroState intro(&bed.game, &bed.game.gameData);
    testing::internal::CaptureStderr();
    bed.Register("intro", bed.Wire(&intro));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostics.find("icon_esc"), std::string::npos);
    EXPECT_NE(diagnostics.find("logo"), std::string::npos);
    EXPECT_TRUE(bed.textures.loadedPaths.empty());

    bed.Switch("intro");
    bed.Render();
    EXPECT_EQ(bed.text.DrawsOf("Click to play").size(), 1u);
    intro.RunCleanup();  // nothing was loaded, so nothing is unloaded
    EXPECT_TRUE(bed.textures.deleted.empty());
}

}  // namespace
