// The menu tree driven through the SDL input manager with hand-made events and
// drawn into a recording text renderer; the timer and the icon label.
#include "UnitDoubles.h"
#include "components/IconLabel.h"
#include "components/MenuComponent.h"
#include "components/TimerComponent.h"
#include "core/EventBuffer.h"
#include "gl/Font.h"
#include "sdl/SDLInputManager.h"
#include <gtest/gtest.h>
#include <climits>
#include <memory>

using namespace Ostrel;
using Labels = std::vector<std::string>;

namespace {
SDL_Event Ev(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}
SDL_Event Key(SDL_Keycode k) {
    SDL_Event e = Ev(SDL_KEYDOWN);
    e.key.keysym.sym = k;
    return e;
}
SDL_Event Pad(SDL_GameControllerButton b) {
    SDL_Event e = Ev(SDL_CONTROLLERBUTTONDOWN);
    e.cbutton.button = Uint8(b);
    return e;
}

struct MenuBed : testing::Test {
    EventBuffer events;
    SDLInputManager input{&events};
    OstrelTest::SizedRenderer target{800, 600};
    OstrelTest::TextRecorder text{&target};
    Font font{Bitmap};
    OstrelTest::CountingSound click;
    Labels chosen;

    // Every printable character 10 pixels wide, lines 16 high.
    void SetUp() override {
        font.height = 16;
        for (int c = 32; c < 127; ++c) {
            Character glyph;
            glyph.advance[0] = 10;
            font.AddCharacter(char(c), glyph);
        }
    }
    MenuComponent::SelectedCallback Record() {
        return [this](MenuEntrySelectedEvent* e) { chosen.push_back(e->label); };
    }
    // Play; Options (Settings label, Sound, Back); Quit.
    std::unique_ptr<MenuComponent> Tree() {
        auto root = std::make_unique<MenuComponent>(&input, &text, &font);
        root->AddEntry("Play", Record());
        MenuComponent* options = root->AddEntry("Options", Record());
        options->AddLabel("Settings");
        options->AddEntry("Sound", Record());
        options->AddEntry("Back", Record(), Back);
        root->AddEntry("Quit", Record());
        root->SetClickSound(&click);
        root->Initialize();
        root->Open();
        return root;
    }
    void Frame(MenuComponent& root, std::vector<SDL_Event> frame = {}, float dt = 16.0f) {
        events.count = 0;
        for (const SDL_Event& e : frame) events.events[events.count++] = e;
        input.Update(dt);
        root.Update(dt);
        input.EndFrame();
    }
    // Each event in a frame of its own, after the 150 ms input gate has run out.
    void Press(MenuComponent& root, std::vector<SDL_Event> presses) {
        for (const SDL_Event& e : presses) {
            Frame(root, {}, 151.0f);
            Frame(root, {e});
        }
    }
    void ClickAt(MenuComponent& root, const MenuComponent* entry) {
        SDL_Event move = Ev(SDL_MOUSEMOTION), down = Ev(SDL_MOUSEBUTTONDOWN), up = Ev(SDL_MOUSEBUTTONUP);
        move.motion.x = entry->hitRect.x + entry->hitRect.z / 2;
        move.motion.y = entry->hitRect.y + entry->hitRect.w / 2;
        down.button.button = up.button.button = SDL_BUTTON_LEFT;
        Frame(root, {move, down, up});
    }
    // Labels drawn, the selected one marked with '*'.
    Labels Drawn(MenuComponent& root) {
        text.draws.clear();
        root.Draw();
        Labels out;
        for (const auto& d : text.draws) out.push_back((d.colour.z == 0.0f ? "*" : "") + d.text);
        return out;
    }
};
}  // namespace

TEST_F(MenuBed, KeysMoveChooseEnterSubmenusAndGoBack) {
    auto root = Tree();
    Frame(*root);
    EXPECT_EQ(Drawn(*root), (Labels{"*Play", "Options", "Quit"}));
    // Three lines of 16 with 10-pixel gaps, centred in 800 x 600.
    const ivec4 play = root->children[0]->hitRect;
    EXPECT_EQ(play.x, 380);
    EXPECT_EQ(play.y, 261);
    EXPECT_EQ(play.z, 40);
    EXPECT_EQ(play.w, 16);
    EXPECT_EQ(root->children[1]->hitRect.y, 287);
    Press(*root, {Key(SDLK_UP)});  // wraps to the end
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "*Quit"}));
    Frame(*root, {Key(SDLK_DOWN)});  // within the input gate: ignored
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "*Quit"}));
    Press(*root, {Key(SDLK_DOWN), Key(SDLK_DOWN), Key(SDLK_RETURN)});
    EXPECT_EQ(chosen, (Labels{"Options"}));
    EXPECT_EQ(Drawn(*root), (Labels{"Settings", "Sound", "Back"}));  // only the open node's lines
    Press(*root, {Key(SDLK_DOWN)});
    EXPECT_EQ(Drawn(*root), (Labels{"Settings", "*Sound", "Back"}));
    Press(*root, {Key(SDLK_UP)});  // the label is skipped, wrapping to the end
    EXPECT_EQ(Drawn(*root), (Labels{"Settings", "Sound", "*Back"}));
    Press(*root, {Key(SDLK_RETURN)});
    EXPECT_EQ(chosen, (Labels{"Options", "Back"}));
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "*Options", "Quit"}));
    Press(*root, {Key(SDLK_RETURN), Key(SDLK_ESCAPE)});  // Escape in a submenu goes up
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "*Options", "Quit"}));
    Press(*root, {Key(SDLK_ESCAPE)});  // and on the root closes the menu
    EXPECT_TRUE(root->IsClosed());
    EXPECT_EQ(Drawn(*root), Labels{});
    Press(*root, {Key(SDLK_ESCAPE)});
    EXPECT_TRUE(root->IsOpen());
}

TEST_F(MenuBed, ControllerAndMouseDriveTheSameTree) {
    auto root = Tree();
    input.controllers[0].connected = true;
    Press(*root,
          {Pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN), Pad(SDL_CONTROLLER_BUTTON_A), Pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN)});
    EXPECT_EQ(Drawn(*root), (Labels{"Settings", "*Sound", "Back"}));
    Press(*root, {Pad(SDL_CONTROLLER_BUTTON_B)});
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "*Options", "Quit"}));
    // The stick: a push past half way moves once per input gate.
    SDL_Event stick = Ev(SDL_CONTROLLERAXISMOTION), centre = stick;
    stick.caxis.axis = centre.caxis.axis = SDL_CONTROLLER_AXIS_LEFTY;
    stick.caxis.value = 30000;
    Press(*root, {stick});
    Frame(*root, {centre});
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "*Quit"}));
    stick.caxis.value = -30000;
    Press(*root, {stick});
    Frame(*root, {centre});
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "*Options", "Quit"}));
    EXPECT_EQ(click.plays, 0);  // keys and buttons click silently

    ClickAt(*root, root->children[1]);
    EXPECT_EQ(chosen, (Labels{"Options", "Options"}));
    EXPECT_EQ(click.plays, 1);
    EXPECT_EQ(Drawn(*root), (Labels{"Settings", "Sound", "Back"}));
    ClickAt(*root, root->children[1]->children[0]);  // a label is no choice
    EXPECT_EQ(click.plays, 2);
    ClickAt(*root, root->children[1]->children[2]);
    EXPECT_EQ(chosen.back(), "Back");
    // Back sat where Quit is: the entry under the pointer is the selection.
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "*Quit"}));
    SDL_Event away = Ev(SDL_MOUSEMOTION);
    away.motion.x = 5;
    Frame(*root, {away});
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "Quit"}));
    Press(*root, {Key(SDLK_DOWN)});  // a stale index from the submenu's hover wraps
    EXPECT_EQ(Drawn(*root), (Labels{"*Play", "Options", "Quit"}));
    root->selectedIndex = 7;
    Press(*root, {Key(SDLK_UP)});
    EXPECT_EQ(Drawn(*root), (Labels{"Play", "Options", "*Quit"}));
}

TEST_F(MenuBed, ReleasedRootIgnoresClicksAndReopeningLeavesOneMenuOpen) {
    auto root = Tree();
    MenuComponent* sub = root->children[1]->AddEntry("Deeper", Record());
    sub->AddEntry("Leaf", Record());
    sub->Open();
    root->Open();  // an owner reopens the root while a grandchild is open
    int open = 0;
    std::function<void(MenuComponent*)> count = [&](MenuComponent* n) {
        open += n->openState == Open;
        for (MenuComponent* c : n->children) count(c);
    };
    count(root.get());
    EXPECT_EQ(open, 1);
    EXPECT_EQ(Drawn(*root), (Labels{"*Play", "Options", "Quit"}));

    root.reset();  // its click listener stays with the input manager
    SDL_Event down = Ev(SDL_MOUSEBUTTONDOWN), up = Ev(SDL_MOUSEBUTTONUP);
    down.button.button = up.button.button = SDL_BUTTON_LEFT;
    events.events[0] = down;
    events.events[1] = up;
    events.count = 2;
    input.Update(16.0f);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MenuBed, AbsurdOrMissingFontNumbersKeepTheLayoutSane) {
    struct Row {
        int32_t height;
        int32_t advance;
        float scale;
    };
    const Row rows[] = {{INT32_MAX, 10, 1.0f}, {INT32_MAX, 10, 4.0f}, {INT32_MIN, 10, 1.0f},
                        {16, -10, 1.0f},       {16, INT32_MAX, 2.0f}, {16, INT32_MIN, 1.0f}};
    for (const Row& row : rows) {
        font.height = row.height;
        for (auto& [code, glyph] : font.characters) glyph.advance[0] = uint32_t(row.advance);
        auto root = Tree();
        root->SetScale(row.scale);
        Frame(*root);
        const ivec4 a = root->children[0]->hitRect, b = root->children[1]->hitRect;
        SCOPED_TRACE(std::to_string(row.height) + " " + std::to_string(row.advance));
        EXPECT_GE(a.w, 0);
        EXPECT_LE(a.y, b.y);  // lines stay in order
        EXPECT_LE(std::abs(int64_t(a.x)), 1 << 25);
        EXPECT_EQ(row.advance < 0, a.z < 0);  // a negative advance narrows instead of wrapping
    }
    MenuComponent bare(&input, &text, nullptr);
    bare.AddEntry("Play", Record());
    bare.Initialize();
    bare.Layout();
    EXPECT_EQ(bare.children[0]->hitRect.z, 0);  // no font measures 0
    EXPECT_EQ(bare.children[0]->hitRect.w, 0);
}

TEST(Timer, FiresOnceUntilResetOrEveryRunOutWhenRepeating) {
    int fired = 0;
    TimerComponent once([&](TimerComponent*) { ++fired; }, 100.0f);
    once.Update(100.0f);
    EXPECT_EQ(fired, 0);  // only past the duration
    once.Update(1.0f);
    once.Update(500.0f);
    EXPECT_EQ(fired, 1);
    once.Reset();
    once.Update(101.0f);
    EXPECT_EQ(fired, 2);
    once.running = false;
    once.Reset();
    once.Update(500.0f);
    EXPECT_EQ(fired, 2);

    TimerComponent repeating([&](TimerComponent*) { ++fired; }, 50.0f);
    repeating.repeat = true;
    for (int i = 0; i < 6; ++i) repeating.Update(30.0f);  // over 50 at 60, 120 and 180 ms
    EXPECT_EQ(fired, 5);
    TimerComponent empty(nullptr, 10.0f);
    empty.Update(20.0f);
    EXPECT_TRUE(empty.fired);
}

TEST(IconLabel, IconIsAFontHighSquareAndTheCaptionFollowsIt) {
    OstrelTest::SizedRenderer target(800, 600);
    OstrelTest::SpriteRecorder sprites(&target);
    OstrelTest::TextRecorder text(&target);
    OstrelTest::FakeTexture icon(8, 8);
    Font font(Bitmap);
    font.height = 32;
    IconLabel label(&sprites, &text, &font, "Menu", &icon, ivec2(100, 50));
    label.iconOffset = ivec2(0, 10);
    label.scale = 0.5f;
    label.Render();
    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(sprites.draws[0].rect.x, 100);
    EXPECT_EQ(sprites.draws[0].rect.y, 60);
    EXPECT_EQ(sprites.draws[0].rect.z, 16);
    EXPECT_EQ(sprites.draws[0].rect.w, 16);
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "Menu");
    EXPECT_FLOAT_EQ(text.draws[0].position.x, 121.0f);
    EXPECT_FLOAT_EQ(text.draws[0].position.y, 50.0f);
    label.font = nullptr;
    label.Render();
    EXPECT_EQ(sprites.draws[1].rect.z, 0);
    EXPECT_FLOAT_EQ(text.draws[1].position.x, 105.0f);
}
