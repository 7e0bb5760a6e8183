// The menu screen through recording doubles and the real input manager: the
// tree it builds, what each entry does, the logo's size steps, and the order
// in which the logo goes through the chosen effect before the menu text.
#include "GameMenuState.h"

#include "ScreenTestBed.h"
#include "components/MenuComponent.h"
#include "core/InputManager.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Ostrel::MenuComponent;
using Ostrel::MenuEntryType;

std::vector<std::string> Labels(const MenuComponent* node) {
    std::vector<std::string> labels;
    for (const MenuComponent* child : node->children) labels.push_back(child->label);
    return labels;
}

MenuComponent* Child(MenuComponent* node, const std::string& label) {
    for (MenuComponent* child : node->children) {
        if (child->label == label) return child;
    }
    ADD_FAILURE() << "no entry '" << label << "' under '" << node->label << "'";
    return nullptr;
}

class MenuScreenTest : public ::testing::Test {
protected:
    OstrelTest::ScreenTestBed bed;
    GameMenuState screen{&bed.game, &bed.game.gameData};
    Ostrel::ITexture2D* logo = nullptr;

    void SetUp() override {
        // The intro screen loads the logo before this screen is registered.
        logo = bed.textures.LoadTexture("pictures/logo.png", "logo");
        bed.Register("menu", bed.Wire(&screen));
    }

    MenuComponent* Root() { return screen.menu; }
    MenuComponent* Node(const std::string& label) { return Child(Root(), label); }

    void Enter() {
        bed.Switch("menu");
        bed.Frame();
    }
    void Press(SDL_Keycode key) {
        bed.Idle();
        bed.Key(key);
        bed.Frame();
    }
    // Moves the pointer onto the entry in one frame and clicks it in the next.
    void Click(const MenuComponent* entry) {
        const int x = entry->hitRect.x + entry->hitRect.z / 2;
        const int y = entry->hitRect.y + entry->hitRect.w / 2;
        bed.Motion(x, y);
        bed.Frame();
        bed.Button(true);
        bed.Button(false);
        bed.Frame();
    }
    std::vector<std::string> DrawnTexts() const {
        std::vector<std::string> texts;
        for (const auto& call : bed.text.draws) texts.push_back(call.text);
        return texts;
    }
    bool InGame() const { return bed.Current() == &bed.tableProbe; }
};

TEST_F(MenuScreenTest, TreeHoldsTheEntriesInDisplayOrderWithClickSound) {
    EXPECT_EQ(Labels(Root()), (std::vector<std::string>{"Continue", "New Game", "Options", "Credits", "Quit Game"}));
    EXPECT_EQ(Labels(Node("New Game")), (std::vector<std::string>{"12 cards", "16 cards", "20 cards"}));
    EXPECT_EQ(Labels(Node("Options")), (std::vector<std::string>{"Effects", "Back"}));
    MenuComponent* effects = Child(Node("Options"), "Effects");
    EXPECT_EQ(Labels(effects),
              (std::vector<std::string>{"None", "CRT Effect", "Dither Effect", "Gameboy Effect", "Back"}));
    EXPECT_EQ(Labels(Node("Credits")),
              (std::vector<std::string>{"Art - Dorvane Tamsel", "Programming - Halbrenk Oskel",
                                        "Programming - Vantosi Tobran", "Font - Wendral Mauk", "Back"}));

    for (MenuComponent* back : {Child(Node("Options"), "Back"), Child(effects, "Back"), Child(Node("Credits"), "Back")})
        EXPECT_EQ(back->entryType, MenuEntryType::Back);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Node("Credits")->children[i]->entryType, MenuEntryType::Label);
        EXPECT_FALSE(Node("Credits")->children[i]->onSelected);
    }
    EXPECT_EQ(Node("New Game")->children[0]->entryType, MenuEntryType::Action);
    for (MenuComponent* entry : Root()->children) EXPECT_TRUE(entry->onSelected) << entry->label;

    EXPECT_EQ(Child(effects, "None")->initState, Ostrel::LifecycleInitialised);
    EXPECT_EQ(Child(Node("Credits"), "Back")->clickSound, bed.sounds.GetSound("click_sound"));
    EXPECT_EQ(screen.logoTexture, logo);
    EXPECT_TRUE(Root()->IsClosed()) << "the menu opens when the screen is entered";
}

TEST_F(MenuScreenTest, EnteringOpensTheRootAtTheGameScaleInDefaultColours) {
    bed.game.gameData.menuColor = Ostrel::vec4(1.0f, 0.0f, 0.0f, 1.0f);  // this screen ignores them
    Enter();
    EXPECT_EQ(Root()->openState, Ostrel::Open);
    EXPECT_FLOAT_EQ(Child(Child(Node("Options"), "Effects"), "Back")->scale, 0.5f);
    bed.Render();
    EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"Continue", "New Game", "Options", "Credits", "Quit Game"}));
    EXPECT_FLOAT_EQ(bed.text.draws[0].colour.z, 0.0f) << "the first entry is selected: yellow";
    EXPECT_FLOAT_EQ(bed.text.draws[1].colour.y, 1.0f) << "the others white";
    EXPECT_FLOAT_EQ(bed.text.draws[1].colour.z, 1.0f);
    EXPECT_FLOAT_EQ(bed.text.draws[1].scale, 0.5f);
}

TEST_F(MenuScreenTest, SixteenCardsByKeyboardSetsCountAndFlagAndSwitches) {
    Enter();
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);
    EXPECT_EQ(Node("New Game")->openState, Ostrel::Open);
    EXPECT_EQ(bed.Current(), &screen);
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);
    EXPECT_TRUE(InGame());
    EXPECT_EQ(bed.game.gameData.cardCount, 16);
    EXPECT_TRUE(bed.game.gameData.newGameRequested);
    EXPECT_EQ(Node("New Game")->openState, Ostrel::Open) << "the submenu was still open when the screen left";

    // The next visit shows the root again.
    bed.Switch("menu");
    EXPECT_EQ(Root()->openState, Ostrel::Open);
    EXPECT_EQ(Node("New Game")->openState, Ostrel::ChildOfOpen);
    bed.Frame();
    bed.ClearRecords();
    bed.Render();
    EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"Continue", "New Game", "Options", "Credits", "Quit Game"}));
}

TEST_F(MenuScreenTest, EveryDeckSizeSetsItsCount) {
    for (const auto& deck :
         {std::make_tuple("12 cards", 12), std::make_tuple("20 cards", 20), std::make_tuple("16 cards", 16)}) {
        bed.Switch("menu");
        bed.game.gameData.newGameRequested = false;
        Ostrel::MenuEntrySelectedEvent event{std::get<0>(deck)};
        Child(Node("New Game"), std::get<0>(deck))->onSelected(&event);
        EXPECT_EQ(bed.game.gameData.cardCount, std::get<1>(deck));
        EXPECT_TRUE(bed.game.gameData.newGameRequested);
        EXPECT_TRUE(InGame());
    }
}

TEST_F(MenuScreenTest, ContinueEscapeAndControllerBReturnToTheTableInTheSameFrame) {
    bed.ConnectController();
    for (const char* way : {"Continue", "Escape", "B"}) {
        SCOPED_TRACE(way);
        Enter();
        bed.Idle();
        if (way[0] == 'B') {
            bed.PadButton(SDL_CONTROLLER_BUTTON_B);
        } else {
            bed.Key(way[0] == 'C' ? SDLK_RETURN : SDLK_ESCAPE);  // "Continue" is selected on entry
        }
        bed.Frame();
        EXPECT_TRUE(Root()->IsClosed());
        EXPECT_TRUE(InGame());
    }
    EXPECT_FALSE(bed.game.gameData.newGameRequested);
    EXPECT_EQ(bed.game.gameData.cardCount, 12);
}

TEST_F(MenuScreenTest, EscapeInASubmenuGoesBackToTheRootAndStays) {
    Enter();
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);  // "New Game", which has no back entry
    Press(SDLK_ESCAPE);
    EXPECT_EQ(Root()->openState, Ostrel::Open);
    EXPECT_EQ(bed.Current(), &screen);
}

TEST_F(MenuScreenTest, QuitGameByMouseStopsTheFrameLoopWithAClick) {
    Enter();
    ASSERT_TRUE(bed.game.running);
    Click(Node("Quit Game"));
    EXPECT_FALSE(bed.game.running);
    EXPECT_EQ(bed.sounds.PlayCount("click_sound"), 1);
    EXPECT_EQ(bed.Current(), &screen) << "quitting does not leave the screen";
}

TEST_F(MenuScreenTest, EffectsApplyAtOnceAndKeepTheirSubmenuOpen) {
    Enter();
    Press(SDLK_DOWN);
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);  // Options
    Press(SDLK_RETURN);  // Effects
    MenuComponent* effects = Child(Node("Options"), "Effects");
    ASSERT_EQ(effects->openState, Ostrel::Open);

    const std::vector<PostEffect> expected{PostEffect::None, PostEffect::CRT, PostEffect::OrderedDither,
                                           PostEffect::Gameboy};
    bed.game.gameData.postEffect = PostEffect::Gameboy;
    Press(SDLK_RETURN);
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::None);
    for (size_t i = 1; i < expected.size(); ++i) {
        Press(SDLK_DOWN);
        Press(SDLK_RETURN);
        EXPECT_EQ(bed.game.gameData.postEffect, expected[i]) << effects->children[i]->label;
        EXPECT_EQ(effects->openState, Ostrel::Open);
        EXPECT_EQ(bed.Current(), &screen);
    }
    Press(SDLK_DOWN);
    Press(SDLK_RETURN);  // Back
    EXPECT_EQ(Node("Options")->openState, Ostrel::Open);
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::Gameboy);
}

TEST_F(MenuScreenTest, CreditsShowFourLinesAndOnlyBackIsSelectable) {
    Enter();
    for (int i = 0; i < 3; ++i) Press(SDLK_DOWN);
    Press(SDLK_RETURN);
    MenuComponent* credits = Node("Credits");
    ASSERT_EQ(credits->openState, Ostrel::Open);
    for (int i = 0; i < 6; ++i) {
        Press(i % 2 == 0 ? SDLK_DOWN : SDLK_UP);
        EXPECT_EQ(credits->selectedIndex, 4);
    }
    bed.ClearRecords();
    bed.Render();
    EXPECT_EQ(DrawnTexts(), Labels(credits));
    for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(bed.text.draws[i].colour.z, 1.0f) << "labels are never highlighted";
    Press(SDLK_RETURN);
    EXPECT_EQ(Root()->openState, Ostrel::Open);
}

TEST_F(MenuScreenTest, OtherLabelsChangeNothing) {
    bed.Switch("menu");
    for (const char* label : {"New Game", "Options", "Credits", "Effects", "Back", "continue", "Quit"}) {
        Ostrel::MenuEntrySelectedEvent event{label};
        screen.OnMenuEntrySelected(&event);
    }
    EXPECT_EQ(bed.Current(), &screen);
    EXPECT_TRUE(bed.game.running);
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::None);
    EXPECT_FALSE(bed.game.gameData.newGameRequested);
}

struct LogoCase {
    int width;
    int height;
    Ostrel::ivec4 rect;
};

class MenuLogoTest : public MenuScreenTest, public ::testing::WithParamInterface<LogoCase> {};

TEST_P(MenuLogoTest, LogoSizeFollowsTheWindow) {
    const LogoCase& c = GetParam();
    Enter();
    bed.Resize(c.width, c.height);
    bed.Frame();
    EXPECT_EQ(screen.logoRect.x, c.rect.x);
    EXPECT_EQ(screen.logoRect.y, c.rect.y);
    EXPECT_EQ(screen.logoRect.z, c.rect.z);
    EXPECT_EQ(screen.logoRect.w, c.rect.w);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, MenuLogoTest,
    ::testing::Values(LogoCase{800, 600, {261, 50, 279, 105}}, LogoCase{1280, 720, {501, 50, 279, 105}},
                      LogoCase{1600, 900, {614, 50, 372, 140}}, LogoCase{1920, 1080, {774, 50, 372, 140}},
                      LogoCase{799, 600, {306, 50, 186, 70}}, LogoCase{800, 599, {307, 50, 186, 70}},
                      LogoCase{640, 480, {227, 50, 186, 70}}, LogoCase{1281, 600, {454, 50, 372, 140}},
                      LogoCase{1024, 721, {326, 50, 372, 140}}));

TEST_F(MenuScreenTest, EachEffectWrapsOnlyTheLogo) {
    Enter();
    const struct {
        PostEffect effect;
        OstrelTest::FakeEffectShader* shader;
    } cases[] = {{PostEffect::None, nullptr},
                 {PostEffect::CRT, bed.crtShader},
                 {PostEffect::OrderedDither, bed.ditherShader},
                 {PostEffect::Gameboy, bed.gameboyShader}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.effect));
        bed.game.gameData.postEffect = c.effect;
        const int usesBefore = c.shader ? c.shader->useCount : 0;
        const int allBefore = bed.crtShader->useCount + bed.ditherShader->useCount + bed.gameboyShader->useCount;
        const int bindsBefore = bed.post.recordingFramebuffer.bindCalls;
        const int drawsBefore = bed.post.recordingFramebuffer.drawCalls;
        bed.ClearRecords();
        bed.Render();
        std::vector<std::string> head{"sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()", "text.Begin(0)"};
        if (c.shader) {  // without an effect the logo goes straight to the screen
            head.insert(head.begin(), {"post.Bind", "post.Clear"});
            head.insert(head.end() - 1, "post.Draw");
        }
        ASSERT_GE(bed.journal.size(), head.size() + 1);
        EXPECT_EQ(std::vector<std::string>(bed.journal.begin(), bed.journal.begin() + head.size()), head);
        EXPECT_EQ(bed.journal.back(), "text.End()");
        ASSERT_EQ(bed.sprites.draws.size(), 1u);
        EXPECT_EQ(bed.sprites.draws[0].texture, logo);
        EXPECT_EQ(bed.sprites.draws[0].rect.x, 261);
        EXPECT_EQ(bed.sprites.draws[0].rect.z, 279);
        EXPECT_EQ(bed.post.recordingFramebuffer.bindCalls, bindsBefore + (c.shader ? 1 : 0));
        EXPECT_EQ(bed.post.recordingFramebuffer.drawCalls, drawsBefore + (c.shader ? 1 : 0));
        if (c.shader) {
            EXPECT_EQ(c.shader->useCount, usesBefore + 1) << "the chosen effect draws the logo";
        }
        EXPECT_EQ(bed.crtShader->useCount + bed.ditherShader->useCount + bed.gameboyShader->useCount,
                  allBefore + (c.shader ? 1 : 0))
            << "and no other effect";
    }
}

}  // namespace
