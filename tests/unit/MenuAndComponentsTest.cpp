// The menu tree driven by hand-made events and drawn into a text recorder; the timer and the icon label.
#include "UnitDoubles.h"
#include "components/IconLabel.h"
#include "components/MenuComponent.h"
#include "components/TimerComponent.h"

using namespace OstrelTest;

struct Menus : testing::Test {
    ScreenBed bed;
    CountingSound click;
    std::vector<std::string> chosen;
    std::unique_ptr<MenuComponent> root;
    // Play; Options (the label Settings, Sound, Back); Quit.
    void SetUp() override {
        root = std::make_unique<MenuComponent>(bed.inputManager, &bed.text, &bed.font);
        auto record = [this](MenuEntrySelectedEvent* e) { chosen.push_back(e->label); };
        root->AddEntry("Play", record);
        MenuComponent* options = root->AddEntry("Options", record);
        options->AddLabel("Settings");
        options->AddEntry("Sound", record);
        options->AddEntry("Back", record, Back);
        root->AddEntry("Quit", record);
        root->SetClickSound(&click);
        root->Initialize();
        root->Open();
        bed.onUpdate = [this](float dt) { root->Update(dt); };
    }
    void ClickAt(const MenuComponent* entry) { bed.Click(entry->hitRect.x + 1, entry->hitRect.y + 1); }
    // The lines drawn, the selected one marked with '*'.
    std::string Drawn() {
        bed.text.draws.clear();
        root->Draw();
        std::string out;
        for (const TextCall& d : bed.text.draws)
            out += std::string(out.empty() ? "" : " ") + (d.colour.z ? "" : "*") + d.text;
        return out;
    }
    // Each row: presses, each in a frame of its own after the 150 ms input gate, then the lines drawn.
    void Script(const std::vector<std::pair<std::vector<SDL_Event>, const char*>>& steps) {
        for (const auto& [presses, drawn] : steps) {
            for (const SDL_Event& e : presses) bed.Frame({}, 151.0f), bed.Frame({e});
            EXPECT_EQ(Drawn(), drawn) << "after " << presses.size() << " presses";
        }
    }
};

TEST_F(Menus, KeysMoveChooseEnterSubmenusAndGoBack) {
    EXPECT_EQ(Captured([&] { bed.Frame(); }, true), "");  // an initialised menu has nothing to complain about
    // Three lines of 32 with 10-pixel gaps, centred in 800 x 600.
    EXPECT_EQ(Str(root->children[0]->hitRect), "368,237,64,32");
    EXPECT_EQ(Str(root->children[1]->hitRect), "344,279,112,32");
    const SDL_Event up = KeyDown(SDLK_UP), down = KeyDown(SDLK_DOWN), enter = KeyDown(SDLK_RETURN);
    Script({{{}, "*Play Options Quit"}, {{up}, "Play Options *Quit"}});  // wraps to the end
    bed.Frame({down});                                                   // within the input gate: ignored
    Script({{{down, down, enter}, "Settings Sound Back"},                // only the open node's lines
            {{down}, "Settings *Sound Back"},
            {{up}, "Settings Sound *Back"},  // the label is skipped
            {{enter}, "Play *Options Quit"},
            {{enter, KeyDown(SDLK_ESCAPE)}, "Play *Options Quit"},  // Escape in a submenu goes up
            {{KeyDown(SDLK_ESCAPE)}, ""},                           // and on the root closes the menu
            {{KeyDown(SDLK_ESCAPE)}, "Play *Options Quit"}});
    EXPECT_EQ(chosen, (std::vector<std::string>{"Options", "Back", "Options"}));
}

TEST_F(Menus, ControllerAndMouseDriveTheSameTree) {
    bed.inputManager->controllers[0].connected = true;
    const SDL_Event centre = PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);  // a push past half way moves once per gate
    Script({{{PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), PadButton(SDL_CONTROLLER_BUTTON_A),
              PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN)},
             "Settings *Sound Back"},
            {{PadButton(SDL_CONTROLLER_BUTTON_B), PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000), centre},
             "Play Options *Quit"},
            {{PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -30000), centre}, "Play *Options Quit"}});
    ClickAt(root->children[1]);
    EXPECT_EQ(Drawn(), "Settings Sound Back");
    ClickAt(root->children[1]->children[0]);  // a label is no choice
    ClickAt(root->children[1]->children[2]);
    EXPECT_EQ(chosen, (std::vector<std::string>{"Options", "Options", "Back"}));
    EXPECT_EQ(click.plays, 3);
    EXPECT_EQ(Drawn(), "Play Options *Quit");  // Back sat where Quit is: the entry under the pointer is selected
    bed.Frame({MouseMotion(5, 5)});
    Script({{{}, "Play Options Quit"}, {{KeyDown(SDLK_DOWN)}, "*Play Options Quit"}});
    root->selectedIndex = 7;  // stale, from a longer submenu the mouse hovered
    Script({{{KeyDown(SDLK_UP)}, "Play Options *Quit"}});
}

TEST_F(Menus, ReopenedRootLeavesOneMenuOpenAndAReleasedRootIgnoresClicks) {
    MenuComponent* deeper = root->children[1]->AddEntry("Deeper", nullptr);
    deeper->AddEntry("Leaf", nullptr);
    deeper->Open();
    root->Open();                                      // an owner reopens the root while a grandchild is open
    const MenuComponent* options = root->children[1];  // open states of the path down to the grandchild
    EXPECT_EQ(Str({int(root->openState), int(options->openState), int(deeper->openState), 0}), "1,3,0,0");
    EXPECT_EQ(Drawn(), "*Play Options Quit");
    bed.onUpdate = nullptr;
    root.reset();  // its click listener stays with the input manager
    bed.Frame({MouseButton(true), MouseButton(false)});
    EXPECT_TRUE(chosen.empty());
}

TEST_F(Menus, AbsurdOrMissingFontNumbersKeepTheLayoutSane) {
    const std::tuple<int, int, float> rows[] = {
        {INT32_MAX, 10, 4.0f}, {INT32_MIN, 10, 1.0f}, {16, -10, 1.0f}, {16, INT32_MAX, 2.0f}, {16, INT32_MIN, 1.0f}};
    for (auto [height, advance, scale] : rows) {
        bed.font.height = height;
        for (auto& [code, glyph] : bed.font.characters) glyph.advance[0] = uint32_t(advance);
        root->SetScale(scale);
        bed.Frame();
        const ivec4 a = root->children[0]->hitRect, b = root->children[1]->hitRect;
        const std::string row = std::to_string(height) + " " + std::to_string(advance) + ": " + Str(a);
        EXPECT_GE(a.w, 0) << row;
        EXPECT_LE(a.y, b.y) << row;                         // in order
        EXPECT_LE(std::abs(int64_t(a.x)), 1 << 25) << row;  // no overflow
        EXPECT_EQ(a.z < 0, advance < 0) << row;             // a negative advance narrows
    }
    MenuComponent bare(bed.inputManager, &bed.text, nullptr);
    bare.AddEntry("Play", nullptr);
    bare.Layout();
    EXPECT_EQ(Str(bare.children[0]->hitRect), "400,295,0,0");  // no font measures 0
}

TEST(Timer, FiresOnceUntilResetOrEveryRunOutWhenRepeating) {
    int onceFired = 0, repeatFired = 0;
    TimerComponent once([&](TimerComponent*) { ++onceFired; }, 100.0f),
        repeating([&](TimerComponent*) { ++repeatFired; }, 50.0f);
    repeating.repeat = true;
    for (float dt : {100.0f, 1.0f, 500.0f}) once.Update(dt);  // only past the duration, and once
    once.Reset();
    once.Update(101.0f);
    for (int i = 0; i < 6; ++i) repeating.Update(30.0f);  // past 50 at 60, 120 and 180 ms
    EXPECT_EQ(onceFired, 2);
    EXPECT_EQ(repeatFired, 3);
}

TEST_F(Menus, IconLabelIsAFontHighIconAndACaptionAfterIt) {
    bed.text.draws.clear();
    IconLabel label(&bed.sprites, &bed.text, &bed.font, "Menu", nullptr, ivec2(100, 50));
    label.iconOffset = ivec2(0, 10);
    label.scale = 0.5f;
    label.Render();
    const TextCall& caption = bed.text.draws.at(0);
    EXPECT_EQ(Str(bed.sprites.draws.at(0).rect), "100,60,16,16");
    EXPECT_EQ(Str(ivec4(caption.position.x, caption.position.y, 0, 0)), "121,50,0,0");
}
