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

    ASSERT_TRUE(intro.menuHint && intro.selectHint);
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

TEST_F(IntroTest, LayoutAt800x600AndAfterResizesEvenWhileAnotherScreenShows) {
    const struct {
        int width, height;
        int logoX, logoY, menuX, selectX, hintY;
        float promptX, promptY;
    } cases[] = {
        // The prompt is centred by a quarter of 32 x 0.5 per character of the 13-character prompt.
        {800, 600, 214, 75, 275, 395, 400, 400.0f - 52.0f, 300.0f},
        {1280, 720, 454, 90, 515, 635, 460, 640.0f - 52.0f, 360.0f},
        {801, 601, 400 - 186, 75, 275, 395, 400, 400.5f - 52.0f, 300.0f},  // odd sizes: halves truncate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        if (c.width != 800) bed.Resize(c.width, c.height);
        EXPECT_EQ(intro.logoRect.x, c.logoX);
        EXPECT_EQ(intro.logoRect.y, c.logoY);
        EXPECT_EQ(intro.logoRect.z, 372);
        EXPECT_EQ(intro.logoRect.w, 140);
        EXPECT_EQ(intro.menuHint->position.x, c.menuX);
        EXPECT_EQ(intro.menuHint->position.y, c.hintY);
        EXPECT_EQ(intro.selectHint->position.x, c.selectX);
        EXPECT_EQ(intro.selectHint->position.y, c.hintY);
        if (c.width != 801) {
            EXPECT_FLOAT_EQ(intro.promptPosition.x, c.promptX);
        }
        EXPECT_FLOAT_EQ(intro.promptPosition.y, c.promptY);
        if (c.width == 1280) bed.Switch("game");
    }
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
    EXPECT_TRUE(prompt[0].colour.x == 1.0f && prompt[0].colour.y == 1.0f && prompt[0].colour.z == 1.0f &&
                prompt[0].colour.w == 1.0f)
        << "white";

    ASSERT_EQ(bed.sprites.draws.size(), 3u);
    EXPECT_EQ(bed.sprites.draws[0].texture, bed.textures.GetTexture("icon_mouse"));
    EXPECT_EQ(bed.sprites.draws[0].rect.x, 395);
    EXPECT_EQ(bed.sprites.draws[0].rect.y, 410);
    EXPECT_EQ(bed.sprites.draws[0].rect.z, 16);
    EXPECT_EQ(bed.sprites.draws[1].texture, bed.textures.GetTexture("icon_esc"));
    EXPECT_EQ(bed.sprites.draws[2].texture, bed.textures.GetTexture("logo"));
    EXPECT_EQ(bed.sprites.draws[2].rect.x, 214);
    EXPECT_EQ(bed.sprites.draws[2].rect.y, 75);
    EXPECT_EQ(bed.sprites.draws[2].rect.z, 372);
    EXPECT_EQ(bed.sprites.draws[2].rect.w, 140);
}

TEST_F(IntroTest, MotionRightButtonAndDisconnectedControllerKeepTheIntro) {
    bed.Motion(300, 300);
    bed.Frame();
    bed.Button(true, SDL_BUTTON_RIGHT);
    bed.Frame();
    bed.PadButton(SDL_CONTROLLER_BUTTON_A);
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
