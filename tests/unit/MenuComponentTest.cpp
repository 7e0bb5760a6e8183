// Menu tree driven through the real SDL input manager with hand-made events,
// drawn into a recording text renderer.
#include "FixedSizeRenderer.h"
#include "RecordingSound.h"
#include "RecordingTextRenderer.h"

#include "components/MenuComponent.h"
#include "components/TimerComponent.h"
#include "core/EventBuffer.h"
#include "gl/Font.h"
#include "sdl/SDLInputManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Ostrel::MenuComponent;
using Ostrel::MenuEntrySelectedEvent;
using Ostrel::MenuEntryType;
using Ostrel::MenuOpenState;
using OstrelTest::RecordingTextRenderer;

SDL_Event KeyDown(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    return e;
}

SDL_Event MouseMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event MouseButton(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    return e;
}

SDL_Event PadButton(SDL_GameControllerButton button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.which = 0;
    e.cbutton.button = static_cast<Uint8>(button);
    return e;
}

SDL_Event PadAxis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = 0;
    e.caxis.axis = static_cast<Uint8>(axis);
    e.caxis.value = value;
    return e;
}

// Records every callback with the label it saw.
struct Choices {
    std::vector<std::string> labels;
    MenuComponent::SelectedCallback Callback() {
        return [this](MenuEntrySelectedEvent* event) { labels.push_back(event->label); };
    }
};

class MenuTest : public ::testing::Test {
protected:
    static constexpr int Width = 800;
    static constexpr int Height = 600;
    // Bitmap glyph width used by every printable character of `font`.
    static constexpr unsigned GlyphAdvance = 10;
    static constexpr int FontHeight = 16;

    Ostrel::EventBuffer events;
    Ostrel::SDLInputManager input{&events};
    OstrelTest::FixedSizeRenderer target{Width, Height};
    RecordingTextRenderer text{&target};
    Ostrel::Font font{Ostrel::Bitmap};
    OstrelTest::RecordingSound click{"click"};
    Choices choices;

    void SetUp() override {
        font.height = FontHeight;
        for (int c = 32; c < 127; ++c) {
            Ostrel::Character glyph;
            glyph.size = Ostrel::ivec2(FontHeight, FontHeight);
            glyph.advance[0] = GlyphAdvance;
            font.AddCharacter(static_cast<char>(c), glyph);
        }
    }

    // One frame of the loop as the framework runs it: input, then the menu.
    void Frame(MenuComponent& root, std::vector<SDL_Event> frameEvents = {}, float dt = 16.0f) {
        events.count = 0;
        for (const SDL_Event& e : frameEvents) events.events[events.count++] = e;
        input.Update(dt);
        root.Update(dt);
        input.EndFrame();
    }

    // Lets the 150 ms gate run out without any input.
    void Idle(MenuComponent& root) { Frame(root, {}, 151.0f); }

    void Press(MenuComponent& root, SDL_Keycode key) {
        Idle(root);
        Frame(root, {KeyDown(key)});
    }

    void PressPad(MenuComponent& root, SDL_GameControllerButton button) {
        Idle(root);
        Frame(root, {PadButton(button)});
    }

    // A left click at the pointer's position, with the pointer first moved there.
    void ClickAt(MenuComponent& root, int x, int y) {
        Frame(root, {MouseMotion(x, y), MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT),
                     MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)});
    }

    // A left click without pointer motion.
    void ClickInPlace(MenuComponent& root) {
        Frame(root,
              {MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)});
    }

    static Ostrel::ivec2 Centre(const MenuComponent* entry) {
        return Ostrel::ivec2(entry->hitRect.x + entry->hitRect.z / 2, entry->hitRect.y + entry->hitRect.w / 2);
    }

    // Action, label, action.
    MenuComponent* MakeMixedRoot() {
        auto* root = new MenuComponent(&input, &text, &font);
        root->AddEntry("First", choices.Callback(), MenuEntryType::Action);
        root->AddLabel("Note");
        root->AddEntry("Third", choices.Callback(), MenuEntryType::Action);
        root->Initialize();
        root->Open();
        return root;
    }
};

// ---------------------------------------------------------------------------
// Moving the selection

TEST_F(MenuTest, KeysSkipLabelsAndWrapBothWays) {
    MenuComponent* root = MakeMixedRoot();
    ASSERT_EQ(root->selectedIndex, 0);

    Press(*root, SDLK_DOWN);
    EXPECT_EQ(root->selectedIndex, 2);
    Press(*root, SDLK_DOWN);
    EXPECT_EQ(root->selectedIndex, 0);
    Press(*root, SDLK_UP);
    EXPECT_EQ(root->selectedIndex, 2);
    Press(*root, SDLK_UP);
    EXPECT_EQ(root->selectedIndex, 0);

    for (int i = 0; i < 7; ++i) {
        Press(*root, i % 3 == 0 ? SDLK_UP : SDLK_DOWN);
        EXPECT_NE(root->selectedIndex, 1) << "after press " << i;
    }
    EXPECT_TRUE(choices.labels.empty());
    delete root;
}

TEST_F(MenuTest, ControllerDpadAndStickSkipLabels) {
    MenuComponent* root = MakeMixedRoot();
    input.controllers[0].connected = true;

    PressPad(*root, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(root->selectedIndex, 2);
    PressPad(*root, SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(root->selectedIndex, 0);
    PressPad(*root, SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(root->selectedIndex, 2);

    // Stick down past the threshold moves once, then it is released.
    Idle(*root);
    Frame(*root, {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 20000)});
    EXPECT_EQ(root->selectedIndex, 0);
    Frame(*root, {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 0)});
    Idle(*root);
    Frame(*root, {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -20000)});
    EXPECT_EQ(root->selectedIndex, 2);
    delete root;
}

TEST_F(MenuTest, TreeOfOnlyLabelsStepsOnceAndStops) {
    MenuComponent root(&input, &text, &font);
    root.AddLabel("a");
    root.AddLabel("b");
    root.AddLabel("c");
    root.Initialize();
    root.Open();

    // Would hang if the search for a selectable entry had no way out.
    Press(root, SDLK_DOWN);
    EXPECT_EQ(root.selectedIndex, 1);
    Press(root, SDLK_UP);
    EXPECT_EQ(root.selectedIndex, 0);
    Press(root, SDLK_UP);
    EXPECT_EQ(root.selectedIndex, 2);
    Press(root, SDLK_DOWN);
    EXPECT_EQ(root.selectedIndex, 0);

    // Nothing is highlighted, whatever the index.
    text.Clear();
    root.Draw();
    ASSERT_EQ(text.draws.size(), 3u);
    for (const auto& call : text.draws) EXPECT_EQ(call.colour.z, 1.0f) << call.text;
}

TEST_F(MenuTest, FromNoSelectionNextGivesFirstAndPreviousGivesLast) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", nullptr);
    root.AddEntry("b", nullptr);
    root.AddEntry("c", nullptr);
    root.Initialize();
    root.Open();

    root.selectedIndex = -1;
    Press(root, SDLK_DOWN);
    EXPECT_EQ(root.selectedIndex, 0);
    root.selectedIndex = -1;
    Press(root, SDLK_UP);
    EXPECT_EQ(root.selectedIndex, 2);
    EXPECT_EQ(root.mouseMode, 0);
}

TEST_F(MenuTest, StaleIndexFromADeeperSubmenuWrapsInsteadOfLeavingTheEntries) {
    // Root of two entries; "Options" holds "Effects" (five entries) and "Back".
    MenuComponent root(&input, &text, &font);
    MenuComponent* options = root.AddEntry("Options", nullptr);
    root.AddEntry("Quit", nullptr);
    MenuComponent* effects = options->AddEntry("Effects", nullptr);
    options->AddEntry("Back", nullptr, MenuEntryType::Back);
    for (const char* name : {"e0", "e1", "e2", "e3", "e4"}) effects->AddEntry(name, nullptr);
    root.Initialize();
    root.Open();
    Press(root, SDLK_RETURN);  // Options
    Press(root, SDLK_RETURN);  // Effects
    ASSERT_EQ(effects->openState, MenuOpenState::Open);

    // Hovering the last effect stores its index on every ancestor of the open
    // node; the root never sees the pointer again before it is reopened.
    Idle(root);
    const Ostrel::ivec2 last = Centre(effects->children[4]);
    Frame(root, {MouseMotion(last.x, last.y)});
    ASSERT_EQ(effects->selectedIndex, 4);
    Press(root, SDLK_ESCAPE);  // back to Options
    Press(root, SDLK_ESCAPE);  // back to the root
    ASSERT_EQ(root.openState, MenuOpenState::Open);
    ASSERT_EQ(root.selectedIndex, 4);

    Press(root, SDLK_UP);
    EXPECT_EQ(root.selectedIndex, 1);
    root.selectedIndex = 4;
    Press(root, SDLK_DOWN);
    EXPECT_EQ(root.selectedIndex, 0);
}

TEST_F(MenuTest, EmptyOpenMenuStepsToNoEntry) {
    MenuComponent root(&input, &text, &font);
    root.Initialize();
    root.Open();
    Press(root, SDLK_DOWN);
    EXPECT_EQ(root.selectedIndex, 0);
    Press(root, SDLK_UP);
    EXPECT_EQ(root.selectedIndex, -1);
    Press(root, SDLK_RETURN);  // nothing to choose
    EXPECT_TRUE(root.IsOpen());
}

// ---------------------------------------------------------------------------
// Input gate

TEST_F(MenuTest, KeysWithin150msOfOpeningOrOfTheLastActionDoNothing) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", nullptr);
    root.AddEntry("b", nullptr);
    root.AddEntry("c", nullptr);
    root.Initialize();
    root.Open();

    // The gate opens only once more than 150 ms have been counted.
    Frame(root, {}, 100.0f);
    Frame(root, {KeyDown(SDLK_DOWN)}, 50.0f);  // 100 ms counted
    EXPECT_EQ(root.selectedIndex, 0);
    Frame(root, {KeyDown(SDLK_DOWN)}, 1.0f);  // exactly 150 ms counted
    EXPECT_EQ(root.selectedIndex, 0);
    Frame(root, {KeyDown(SDLK_DOWN)}, 16.0f);  // 151 ms counted
    EXPECT_EQ(root.selectedIndex, 1);

    // The move itself closes the gate again.
    Frame(root, {KeyDown(SDLK_DOWN)}, 100.0f);
    EXPECT_EQ(root.selectedIndex, 1);
    Frame(root, {KeyDown(SDLK_DOWN)}, 16.0f);
    EXPECT_EQ(root.selectedIndex, 1);
    Idle(root);
    Frame(root, {KeyDown(SDLK_DOWN)});
    EXPECT_EQ(root.selectedIndex, 2);

    // Reopening closes the gate too.
    Idle(root);
    root.Open();
    Frame(root, {KeyDown(SDLK_UP)});
    EXPECT_EQ(root.selectedIndex, 2);
}

TEST_F(MenuTest, KeyboardAndControllerInOneFrameActOnce) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", nullptr);
    root.AddEntry("b", nullptr);
    root.AddEntry("c", nullptr);
    root.Initialize();
    root.Open();
    input.controllers[0].connected = true;

    Idle(root);
    Frame(root, {KeyDown(SDLK_DOWN), PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN)});
    EXPECT_EQ(root.selectedIndex, 1);

    // Select wins over next within one handler.
    Idle(root);
    Frame(root, {KeyDown(SDLK_DOWN), KeyDown(SDLK_RETURN)});
    EXPECT_EQ(root.selectedIndex, 1);
}

// ---------------------------------------------------------------------------
// Layout and drawing

// The line rectangle as the layout rules give it, computed independently here.
struct ExpectedLine {
    int x, y, w, h;
};

ExpectedLine LineRect(int i, int n, int fontHeight, float scale, int textWidth, Ostrel::ivec2 offset, int width,
                      int height) {
    const int lineHeight = static_cast<int>(static_cast<float>(fontHeight) * scale);
    const int step = lineHeight + 10;
    return {offset.x - textWidth / 2 + width / 2, offset.y - (step * n) / 2 + height / 2 + i * step, textWidth,
            lineHeight};
}

TEST_F(MenuTest, LinesAreStackedAndCentredAtScaleOne) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("Continue", nullptr);
    root.AddLabel("Art");
    root.AddEntry("Quit Game", nullptr);
    root.Initialize();
    root.Layout();

    // n = 3, h = 16: (26 * 3) / 2 = 39, so the lines start at 300 - 39.
    EXPECT_EQ(root.children[0]->hitRect.y, 261);
    EXPECT_EQ(root.children[1]->hitRect.y, 287);
    EXPECT_EQ(root.children[2]->hitRect.y, 313);
    // "Continue": 8 glyphs of 10 pixels, centred on 400.
    EXPECT_EQ(root.children[0]->hitRect.x, 360);
    EXPECT_EQ(root.children[0]->hitRect.z, 80);
    EXPECT_EQ(root.children[0]->hitRect.w, 16);
    // "Quit Game": 90 pixels; 90 / 2 = 45.
    EXPECT_EQ(root.children[2]->hitRect.x, 355);
    for (const MenuComponent* child : root.children) {
        EXPECT_EQ(child->drawRect.x, child->hitRect.x);
        EXPECT_EQ(child->drawRect.y, child->hitRect.y);
        EXPECT_EQ(child->drawRect.z, child->hitRect.z);
        EXPECT_EQ(child->drawRect.w, child->hitRect.w);
    }
}

TEST_F(MenuTest, ScaledBitmapLinesTruncateHeightAndWidthPerGlyph) {
    // Glyph widths 9 and 7 at scale 1.35: 12.15 and 9.45; the running width is
    // truncated after every glyph, so "BBB" is 27, not trunc(28.35).
    font.characters['A'].advance[0] = 9;
    font.characters['B'].advance[0] = 7;
    MenuComponent root(&input, &text, &font);
    root.AddEntry("AAA", nullptr);
    root.AddEntry("B", nullptr);
    root.AddEntry("AB", nullptr);
    root.AddEntry("BBB", nullptr);
    root.AddEntry("", nullptr);
    root.Initialize();
    const Ostrel::ivec2 offset(7, -11);
    root.SetPosition(offset);
    root.SetScale(1.35f);
    target.SetSize(1023, 701);
    root.Layout();

    const int widths[] = {36, 9, 21, 27, 0};
    for (int i = 0; i < 5; ++i) {
        const ExpectedLine e = LineRect(i, 5, FontHeight, 1.35f, widths[i], offset, 1023, 701);
        const Ostrel::ivec4& r = root.children[i]->hitRect;
        EXPECT_EQ(r.x, e.x) << i;
        EXPECT_EQ(r.y, e.y) << i;
        EXPECT_EQ(r.z, e.w) << i;
        EXPECT_EQ(r.w, e.h) << i;
    }
    // trunc(16 * 1.35) = 21, step 31, (31 * 5) / 2 = 77 (not 77.5), 701 / 2 = 350.
    EXPECT_EQ(root.children[0]->hitRect.y, -11 - 77 + 350);
    EXPECT_EQ(root.children[4]->hitRect.y, -11 - 77 + 350 + 4 * 31);
    EXPECT_EQ(root.children[1]->hitRect.x, 7 - 4 + 511);  // odd width: 9 / 2 = 4
    EXPECT_EQ(root.children[3]->hitRect.z, 27);
    EXPECT_EQ(root.children[4]->hitRect.w, 21);
}

TEST_F(MenuTest, NegativeBitmapWidthNarrowsTheLine) {
    // A description may give "Base Width,-4"; the glyph record holds it as an
    // unsigned field. The line measures as the text renderer draws it: 10 - 4.
    font.characters['n'].advance[0] = static_cast<uint32_t>(-4);
    MenuComponent root(&input, &text, &font);
    root.AddEntry("an", nullptr);
    root.Initialize();
    root.Layout();
    EXPECT_EQ(root.children[0]->hitRect.z, 6);
    EXPECT_EQ(root.children[0]->hitRect.x, 0 - 3 + Width / 2);
}

TEST_F(MenuTest, TrueTypeWidthIsWholePixelAdvancePlusBearingUnscaled) {
    Ostrel::Font tt(Ostrel::TrueType);
    tt.height = 48;
    Ostrel::Character g;
    g.advance[0] = 638;  // 9.97 pixels: counts as 9
    g.bearing = Ostrel::ivec2(2, 30);
    tt.AddCharacter('H', g);
    g.advance[0] = 1280;  // 20 pixels
    g.bearing = Ostrel::ivec2(-1, 30);
    tt.AddCharacter('i', g);

    MenuComponent root(&input, &text, &tt);
    root.AddEntry("Hi", nullptr);
    root.AddEntry("HHH", nullptr);
    root.Initialize();
    root.SetScale(0.5f);
    root.Layout();

    // Width does not follow the scale; the line height does: trunc(48 * 0.5) = 24.
    EXPECT_EQ(root.children[0]->hitRect.z, 11 + 19);
    EXPECT_EQ(root.children[1]->hitRect.z, 33);
    EXPECT_EQ(root.children[0]->hitRect.w, 24);
    EXPECT_EQ(root.children[0]->hitRect.x, 400 - 15);
    EXPECT_EQ(root.children[1]->hitRect.x, 400 - 16);
    EXPECT_EQ(root.children[0]->hitRect.y, 300 - (34 * 2) / 2);
    EXPECT_EQ(root.children[1]->hitRect.y, 300 - 34 + 34);
}

TEST_F(MenuTest, LayoutFollowsTheRendererSizeAndRecursesIntoSubmenus) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    sub->AddEntry("yy", nullptr);
    root.Initialize();
    root.Layout();
    EXPECT_EQ(sub->children[1]->hitRect.x, 400 - 10);
    EXPECT_EQ(sub->children[1]->hitRect.y, 300 - 26 + 26);

    target.SetSize(1280, 720);
    root.Update(16.0f);
    EXPECT_EQ(sub->children[1]->hitRect.x, 640 - 10);
    EXPECT_EQ(sub->children[1]->hitRect.y, 360);
    EXPECT_EQ(sub->hitRect.y, 360 - 13);
}

TEST_F(MenuTest, DrawShowsOnlyTheOpenNodesEntriesWithSelectionColour) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("Inner", nullptr);
    root.AddLabel("Label");
    root.AddEntry("Quit", nullptr);
    root.Initialize();
    root.SetScale(2.0f);
    const Ostrel::vec4 white(1, 1, 1, 1);
    const Ostrel::vec4 yellow(1, 1, 0, 1);

    root.Layout();
    root.Draw();
    EXPECT_TRUE(text.draws.empty()) << "a closed tree draws nothing";

    root.Open();
    root.Layout();
    root.Draw();
    ASSERT_EQ(text.draws.size(), 3u);
    const char* labels[] = {"Sub", "Label", "Quit"};
    for (int i = 0; i < 3; ++i) {
        const auto& call = text.draws[i];
        EXPECT_EQ(call.text, labels[i]);
        EXPECT_EQ(call.font, &font);
        EXPECT_EQ(call.scale, 2.0f);
        EXPECT_EQ(call.position.x, static_cast<float>(root.children[i]->drawRect.x));
        EXPECT_EQ(call.position.y, static_cast<float>(root.children[i]->drawRect.y));
        const Ostrel::vec4 want = i == 0 ? yellow : white;
        EXPECT_EQ(call.colour.z, want.z) << labels[i];
    }

    // The mouse can point the index at a label; it is still drawn plain.
    root.selectedIndex = 1;
    text.Clear();
    root.Draw();
    for (const auto& call : text.draws) EXPECT_EQ(call.colour.z, 1.0f) << call.text;

    // With the submenu open only its entries show, in the open node's colours.
    sub->SetSelectionColor(Ostrel::vec4(0, 1, 0, 1), false);
    sub->Open();
    text.Clear();
    root.Draw();
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "Inner");
    EXPECT_EQ(text.draws[0].colour.x, 0.0f);
    EXPECT_EQ(text.draws[0].colour.y, 1.0f);
}

// ---------------------------------------------------------------------------
// Going back

TEST_F(MenuTest, EscapeClosesAnOpenRootAndReopensAClosedOne) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    root.AddEntry("Quit", nullptr);
    root.Initialize();
    root.Open();

    Press(root, SDLK_ESCAPE);
    EXPECT_TRUE(root.IsClosed());
    EXPECT_TRUE(sub->IsClosed());
    EXPECT_TRUE(sub->children[0]->IsClosed());
    text.Clear();
    root.Draw();
    EXPECT_TRUE(text.draws.empty());

    // Too soon: the Escape that closed the tree closed the gate.
    Frame(root, {KeyDown(SDLK_ESCAPE)}, 100.0f);
    Frame(root, {KeyDown(SDLK_ESCAPE)});
    EXPECT_TRUE(root.IsClosed());

    Press(root, SDLK_ESCAPE);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(sub->openState, MenuOpenState::ChildOfOpen);
}

TEST_F(MenuTest, EscapeInASubmenuReopensTheParentWithTheSubmenuSelectionReset) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("First", nullptr);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    sub->AddEntry("y", nullptr);
    root.Initialize();
    root.Open();

    Press(root, SDLK_DOWN);
    Press(root, SDLK_RETURN);
    ASSERT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);

    // Escape right after the submenu opened does nothing.
    Frame(root, {KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(sub->openState, MenuOpenState::Open);

    Press(root, SDLK_DOWN);
    ASSERT_EQ(sub->selectedIndex, 1);
    Press(root, SDLK_ESCAPE);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(sub->openState, MenuOpenState::ChildOfOpen);
    EXPECT_EQ(sub->selectedIndex, 0);
    EXPECT_EQ(root.selectedIndex, 1) << "the parent keeps its own selection";

    // One Escape, one step: the root did not also close in that frame.
    EXPECT_FALSE(root.IsClosed());
}

TEST_F(MenuTest, ControllerAChoosesAndBGoesBack) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", choices.Callback());
    sub->AddEntry("x", choices.Callback());
    root.Initialize();
    root.Open();
    input.controllers[0].connected = true;

    PressPad(root, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    PressPad(root, SDL_CONTROLLER_BUTTON_A);
    PressPad(root, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    PressPad(root, SDL_CONTROLLER_BUTTON_B);
    EXPECT_TRUE(root.IsClosed());
    PressPad(root, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Sub", "x"}));

    // A controller that was never opened is not read.
    input.controllers[0].connected = false;
    PressPad(root, SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
}

TEST_F(MenuTest, HeldStickRepeatsEachTimeTheGateRunsOut) {
    MenuComponent root(&input, &text, &font);
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) root.AddEntry(name, nullptr);
    root.Initialize();
    root.Open();
    input.controllers[0].connected = true;

    // Just past the threshold moves; exactly at it does not.
    Idle(root);
    Frame(root, {PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 16384)}, 50.0f);  // 0.50002: past it
    EXPECT_EQ(root.selectedIndex, 1);
    input.controllers[0].axes[1] = 0.5f;
    Idle(root);
    Frame(root, {}, 50.0f);
    EXPECT_EQ(root.selectedIndex, 1);

    // Held down at 0.8 with 50 ms frames: a move when more than 150 ms were
    // counted since the previous one, that is every fourth frame.
    input.controllers[0].axes[1] = 0.8f;
    std::vector<int> seen;
    for (int frame = 0; frame < 9; ++frame) {
        Frame(root, {}, 50.0f);
        seen.push_back(root.selectedIndex);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 2, 2, 2, 3, 3, 3, 3, 4}));

    // Held up: the same cadence backwards.
    input.controllers[0].axes[1] = -0.8f;
    Idle(root);
    Frame(root, {}, 50.0f);
    EXPECT_EQ(root.selectedIndex, 3);
}

// ---------------------------------------------------------------------------
// Choosing

TEST_F(MenuTest, CallbackGetsTheExactLabelBeforeTheSubmenuOpens) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = nullptr;
    std::vector<std::string> seen;
    MenuOpenState stateDuringCallback = MenuOpenState::Open;
    sub = root.AddEntry("New Game ", [&](MenuEntrySelectedEvent* event) {
        seen.push_back(event->label);
        stateDuringCallback = sub->openState;
    });
    sub->AddEntry("12 cards", nullptr);
    root.Initialize();
    root.Open();

    Press(root, SDLK_RETURN);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "New Game ");
    EXPECT_EQ(stateDuringCallback, MenuOpenState::ChildOfOpen);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);
}

TEST_F(MenuTest, BackEntryOpensTheParentAndABackOnTheRootDoesNothing) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* options = root.AddEntry("Options", choices.Callback());
    options->AddEntry("Effects", choices.Callback());
    options->AddEntry("Back", choices.Callback(), MenuEntryType::Back);
    root.AddEntry("Back", choices.Callback(), MenuEntryType::Back);
    root.Initialize();
    root.Open();

    Press(root, SDLK_RETURN);
    ASSERT_EQ(options->openState, MenuOpenState::Open);
    Press(root, SDLK_DOWN);
    Press(root, SDLK_RETURN);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(options->openState, MenuOpenState::ChildOfOpen);

    Press(root, SDLK_DOWN);
    Press(root, SDLK_RETURN);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Options", "Back", "Back"}));
}

TEST_F(MenuTest, ActionWithoutChildrenOrCallbackChangesNothing) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("Plain", nullptr);
    root.AddEntry("Other", nullptr);
    root.Initialize();
    root.Open();

    Press(root, SDLK_RETURN);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(root.selectedIndex, 0);
    for (const MenuComponent* child : root.children) EXPECT_EQ(child->openState, MenuOpenState::ChildOfOpen);
}

TEST_F(MenuTest, CallbackMayCloseTheTree) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("Continue", [&](MenuEntrySelectedEvent*) { root.Close(); });
    root.Initialize();
    root.Open();
    Press(root, SDLK_RETURN);
    EXPECT_TRUE(root.IsClosed());
}

TEST_F(MenuTest, SelectWithoutAValidSelectionOnlyClosesTheGate) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", choices.Callback());
    root.AddEntry("b", choices.Callback());
    root.Initialize();
    root.Open();

    root.selectedIndex = 2;
    Press(root, SDLK_RETURN);
    root.selectedIndex = -1;
    Frame(root, {KeyDown(SDLK_DOWN)});  // the select above closed the gate
    EXPECT_EQ(root.selectedIndex, -1);
    Press(root, SDLK_RETURN);
    EXPECT_TRUE(choices.labels.empty());
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(MenuTest, ClickCountsOnlyAfterPointerMotionSinceTheLastKeyMove) {
    MenuComponent* root = MakeMixedRoot();
    root->SetClickSound(&click);
    Frame(*root);
    const Ostrel::ivec2 first = Centre(root->children[0]);

    // Hover the first entry, then move the selection with a key.
    Frame(*root, {MouseMotion(first.x, first.y)});
    EXPECT_EQ(root->selectedIndex, 0);
    EXPECT_EQ(root->mouseMode, 1);
    Press(*root, SDLK_DOWN);
    EXPECT_EQ(root->selectedIndex, 2);
    EXPECT_EQ(root->mouseMode, 0);

    ClickInPlace(*root);
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_EQ(click.playCount, 0);
    EXPECT_EQ(root->selectedIndex, 2);
    EXPECT_FALSE(root->clicked) << "an ignored click must not linger";

    // The flag of the ignored click is gone: motion alone chooses nothing.
    Frame(*root, {MouseMotion(first.x + 1, first.y)});
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_EQ(root->selectedIndex, 0);

    ClickAt(*root, first.x + 2, first.y);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"First"}));
    EXPECT_EQ(click.playCount, 1);

    // Once the mouse is in control, a click needs no further motion.
    ClickInPlace(*root);
    EXPECT_EQ(choices.labels.size(), 2u);
    EXPECT_EQ(click.playCount, 2);
    delete root;
}

TEST_F(MenuTest, MovingOffEveryEntryClearsTheSelection) {
    MenuComponent* root = MakeMixedRoot();
    Frame(*root);
    const Ostrel::ivec2 third = Centre(root->children[2]);

    Frame(*root, {MouseMotion(third.x, third.y)});
    EXPECT_EQ(root->selectedIndex, 2);
    Frame(*root, {MouseMotion(5, 5)});
    EXPECT_EQ(root->selectedIndex, -1);

    text.Clear();
    root->Draw();
    for (const auto& call : text.draws) EXPECT_EQ(call.colour.z, 1.0f) << call.text;
    Press(*root, SDLK_RETURN);
    EXPECT_TRUE(choices.labels.empty());

    // The rectangle's far edges are outside it.
    const Ostrel::ivec4 r = root->children[0]->hitRect;
    Frame(*root, {MouseMotion(r.x + r.z, r.y)});
    EXPECT_EQ(root->selectedIndex, -1);
    Frame(*root, {MouseMotion(r.x, r.y + r.w)});
    EXPECT_EQ(root->selectedIndex, -1);
    Frame(*root, {MouseMotion(r.x, r.y)});
    EXPECT_EQ(root->selectedIndex, 0);
    delete root;
}

TEST_F(MenuTest, OneClickActsOnceAcrossTheTree) {
    // The submenu's first line lies where the clicked root line is, so a click
    // that acted twice would choose "Back" right after opening the submenu.
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", choices.Callback());
    sub->AddEntry("Back", choices.Callback(), MenuEntryType::Back);
    sub->AddEntry("Deep", choices.Callback());
    root.AddEntry("Quit", choices.Callback());
    root.Initialize();
    root.SetClickSound(&click);
    root.Open();
    Frame(root);
    const Ostrel::ivec2 at = Centre(root.children[0]);
    ASSERT_EQ(Centre(sub->children[0]).y, at.y);

    ClickAt(root, at.x, at.y);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Sub"}));
    EXPECT_EQ(click.playCount, 1);
    for (int i = 0; i < 3; ++i) Frame(root);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(choices.labels.size(), 1u);

    // A plain action in the submenu: its ancestors, which run after it and were
    // marked by the same click, must not choose it again.
    const Ostrel::ivec2 deep = Centre(sub->children[1]);
    ClickAt(root, deep.x, deep.y);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Sub", "Deep"}));
    EXPECT_EQ(click.playCount, 2);
    EXPECT_FALSE(root.clicked);

    // In the submenu the next click chooses "Back" once and the root reopens.
    ClickAt(root, at.x + 1, at.y);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Sub", "Deep", "Back"}));
    EXPECT_EQ(click.playCount, 3);
}

TEST_F(MenuTest, ClickOnALabelPlaysTheSoundAndDoesNothingElse) {
    MenuComponent* root = MakeMixedRoot();
    root->SetClickSound(&click);
    Frame(*root);
    const Ostrel::ivec2 note = Centre(root->children[1]);
    ClickAt(*root, note.x, note.y);
    EXPECT_EQ(click.playCount, 1);
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_EQ(root->openState, MenuOpenState::Open);
    delete root;
}

TEST_F(MenuTest, RightClickAndClicksOffTheEntriesChooseNothing) {
    MenuComponent* root = MakeMixedRoot();
    root->SetClickSound(&click);
    Frame(*root);
    const Ostrel::ivec2 first = Centre(root->children[0]);
    Frame(*root, {MouseMotion(first.x, first.y), MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),
                  MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT)});
    ClickAt(*root, 3, 3);
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_EQ(click.playCount, 0);

    // A click that hit nothing is spent: moving onto an entry later chooses nothing.
    Frame(*root, {MouseMotion(first.x, first.y)});
    Frame(*root, {MouseMotion(first.x + 1, first.y)});
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_EQ(root->selectedIndex, 0);
    delete root;
}

TEST_F(MenuTest, WithoutAClickSoundAClickStillChooses) {
    MenuComponent* root = MakeMixedRoot();
    Frame(*root);
    const Ostrel::ivec2 third = Centre(root->children[2]);
    ClickAt(*root, third.x, third.y);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"Third"}));
    delete root;
}

TEST_F(MenuTest, UninitialisedRootGetsNoClicksAndSaysSoEachUpdate) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", choices.Callback());
    root.AddEntry("b", choices.Callback());
    root.Open();

    testing::internal::CaptureStdout();
    Frame(root);
    const std::string out = testing::internal::GetCapturedStdout();
    // One line per node: the root and its two entries.
    EXPECT_EQ(out,
              "MenuComponent is not initialized!!!\n"
              "MenuComponent is not initialized!!!\n"
              "MenuComponent is not initialized!!!\n");

    testing::internal::CaptureStdout();
    const Ostrel::ivec2 at = Centre(root.children[0]);
    ClickAt(root, at.x, at.y);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(choices.labels.empty());
    EXPECT_TRUE(input.clickListeners.empty());

    // Keys still work on an uninitialised tree.
    testing::internal::CaptureStdout();
    Press(root, SDLK_RETURN);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"a"}));
}

TEST_F(MenuTest, OnlyTheRootRegistersAClickListener) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    root.Initialize();
    EXPECT_EQ(input.clickListeners.size(), 1u);
    EXPECT_TRUE(static_cast<bool>(root.clickListener));
    EXPECT_FALSE(static_cast<bool>(sub->clickListener));
    EXPECT_EQ(root.initState, Ostrel::LifecycleInitialised);
    EXPECT_EQ(sub->children[0]->initState, Ostrel::LifecycleInitialised);

    // A left click marks the whole tree; a right click marks nothing.
    input.clickListeners[0](Ostrel::OnClickEvent{false, true});
    EXPECT_FALSE(sub->children[0]->clicked);
    input.clickListeners[0](Ostrel::OnClickEvent{true, false});
    EXPECT_TRUE(root.clicked);
    EXPECT_TRUE(sub->clicked);
    EXPECT_TRUE(sub->children[0]->clicked);
}

// ---------------------------------------------------------------------------
// Open state transitions

TEST_F(MenuTest, OpenAndCloseResetTheirNeighbours) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    MenuComponent* leaf = sub->AddEntry("leaf", nullptr);
    root.Initialize();

    for (MenuComponent* node : {&root, sub, leaf}) {
        node->inputTimer->elapsed = 500.0f;
        node->mouseMode = 1;
        node->clicked = true;
    }
    sub->selectedIndex = 0;
    sub->Open();
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(sub->mouseMode, 1) << "the opened node keeps its own mouse mode";
    EXPECT_FALSE(sub->clicked);
    EXPECT_EQ(sub->inputTimer->elapsed, 0.0f);
    for (MenuComponent* neighbour : {&root, leaf}) {
        EXPECT_EQ(neighbour->mouseMode, -1);
        EXPECT_FALSE(neighbour->clicked);
        EXPECT_EQ(neighbour->inputTimer->elapsed, 0.0f);
    }
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);
    EXPECT_EQ(leaf->openState, MenuOpenState::ChildOfOpen);
    EXPECT_EQ(root.FindOpen(&root), sub);
    EXPECT_TRUE(root.IsOpen());

    // Closing a submenu closes its parent too.
    root.inputTimer->elapsed = 500.0f;
    sub->Close();
    EXPECT_TRUE(sub->IsClosed());
    EXPECT_TRUE(leaf->IsClosed());
    EXPECT_TRUE(root.IsClosed());
    EXPECT_EQ(root.inputTimer->elapsed, 0.0f);
    EXPECT_EQ(root.FindOpen(&root), nullptr);
}

TEST_F(MenuTest, ReopeningTheRootLeavesOneOpenNode) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* options = root.AddEntry("Options", nullptr);
    MenuComponent* effects = options->AddEntry("Effects", nullptr);
    effects->AddEntry("None", nullptr);
    root.Initialize();
    root.Open();
    options->Open();
    effects->Open();

    // The owner reopens the root while a grandchild is open.
    root.Open();
    EXPECT_EQ(root.FindOpen(&root), &root);
    EXPECT_NE(effects->openState, MenuOpenState::Open);
    text.Clear();
    root.Layout();
    root.Draw();
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "Options");

    // Opening a deep node directly leaves its ancestors as parents of it.
    effects->Open();
    EXPECT_EQ(root.FindOpen(&root), effects);
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);
    EXPECT_EQ(options->openState, MenuOpenState::ParentOfOpen);
    text.Clear();
    root.Draw();
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "None");
}

// ---------------------------------------------------------------------------
// Building, settings and release

TEST_F(MenuTest, EntriesInheritColoursAndSettingsReachTheSubtree) {
    MenuComponent root(&input, &text, &font);
    const Ostrel::vec4 red(1, 0, 0, 1);
    const Ostrel::vec4 blue(0, 0, 1, 1);
    root.SetColor(red, false);
    root.SetSelectionColor(blue, false);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    MenuComponent* leaf = sub->AddEntry("leaf", nullptr);
    MenuComponent* note = root.AddLabel("note");
    EXPECT_EQ(leaf->color.x, 1.0f);
    EXPECT_EQ(leaf->selectionColor.z, 1.0f);
    EXPECT_EQ(note->entryType, MenuEntryType::Label);
    EXPECT_FALSE(static_cast<bool>(note->onSelected));
    EXPECT_EQ(leaf->parent, sub);
    EXPECT_EQ(leaf->input, &input);
    EXPECT_EQ(leaf->font, &font);
    EXPECT_EQ(leaf->clickSound, nullptr);

    root.SetColor(blue, false);
    EXPECT_EQ(sub->color.x, 1.0f) << "not applied to children when asked not to";
    root.SetColor(blue, true);
    EXPECT_EQ(leaf->color.z, 1.0f);
    root.SetSelectionColor(red, true);
    EXPECT_EQ(leaf->selectionColor.x, 1.0f);

    root.SetScale(0.75f);
    root.SetPosition(Ostrel::ivec2(3, -4));
    root.SetClickSound(&click);
    for (MenuComponent* node : {&root, sub, leaf, note}) {
        EXPECT_EQ(node->scale, 0.75f);
        EXPECT_EQ(node->offset.x, 3);
        EXPECT_EQ(node->offset.y, -4);
        EXPECT_EQ(node->clickSound, &click);
    }
    EXPECT_EQ(root.keyNext, Ostrel::KeyCode::Down);
    EXPECT_EQ(root.keySelect, Ostrel::KeyCode::Return);
    EXPECT_EQ(root.inputTimer->duration, 150.0f);
}

TEST_F(MenuTest, DestroyReleasesOnceAndSilencesTheClickListener) {
    auto* root = new MenuComponent(&input, &text, &font);
    MenuComponent* sub = root->AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    root->Initialize();
    root->Open();
    ASSERT_EQ(input.clickListeners.size(), 1u);

    root->Destroy();
    EXPECT_EQ(root->initState, Ostrel::LifecycleReleased);
    EXPECT_TRUE(root->children.empty());
    EXPECT_EQ(root->inputTimer, nullptr);
    delete root;  // must not release the children a second time

    // The listener outlives the root in the input manager; a click is ignored.
    events.count = 0;
    events.events[events.count++] = MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.events[events.count++] = MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    input.Update(16.0f);
    input.EndFrame();
}

TEST_F(MenuTest, RootInitialisedTwiceSilencesBothListenersWhenReleased) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", nullptr);
    root.Initialize();
    root.Initialize();
    ASSERT_EQ(input.clickListeners.size(), 2u);
    root.Destroy();

    for (const auto& listener : input.clickListeners) listener(Ostrel::OnClickEvent{true, false});
    EXPECT_FALSE(root.clicked);
}

TEST_F(MenuTest, DeletedRootIgnoresLaterClicksWhileAnotherTreeKeepsWorking) {
    {
        MenuComponent gone(&input, &text, &font);
        gone.AddEntry("a", choices.Callback());
        gone.Initialize();
        gone.Open();
    }
    std::unique_ptr<MenuComponent> root(MakeMixedRoot());
    root->SetClickSound(&click);
    Frame(*root);
    ASSERT_EQ(input.clickListeners.size(), 2u);

    const Ostrel::ivec2 first = Centre(root->children[0]);
    ClickAt(*root, first.x, first.y);
    EXPECT_EQ(choices.labels, (std::vector<std::string>{"First"}));
    EXPECT_EQ(click.playCount, 1);
}

}  // namespace
