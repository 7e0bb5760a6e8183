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
#include <utility>
#include <vector>

namespace {

using Ostrel::MenuComponent;
using Ostrel::MenuEntrySelectedEvent;
using Ostrel::MenuEntryType;
using Ostrel::MenuOpenState;
using Labels = std::vector<std::string>;

// One entry of a tree to build: an action or Back with its submenu, or a label.
struct Entry {
    std::string label;
    std::vector<Entry> children = {};
    MenuEntryType type = MenuEntryType::Action;
};

class MenuTest : public ::testing::Test {
protected:
    static constexpr int Width = 800;
    static constexpr int Height = 600;
    static constexpr unsigned GlyphAdvance = 10;  // bitmap advance of every printable character
    static constexpr int FontHeight = 16;

    Ostrel::EventBuffer events;
    Ostrel::SDLInputManager input{&events};
    OstrelTest::FixedSizeRenderer target{Width, Height};
    OstrelTest::RecordingTextRenderer text{&target};
    Ostrel::Font font{Ostrel::Bitmap};
    OstrelTest::RecordingSound click{"click"};
    Labels chosen;  // the label every Record() callback saw, in order

    void SetUp() override {
        font.height = FontHeight;
        for (int c = 32; c < 127; ++c) {
            Ostrel::Character glyph;
            glyph.size = Ostrel::ivec2(FontHeight, FontHeight);
            glyph.advance[0] = GlyphAdvance;
            font.AddCharacter(static_cast<char>(c), glyph);
        }
    }

    MenuComponent::SelectedCallback Record() {
        return [this](MenuEntrySelectedEvent* event) { chosen.push_back(event->label); };
    }

    template <typename Fill>
    static SDL_Event Ev(Uint32 type, Fill fill) {
        SDL_Event e{};
        e.type = type;
        fill(e);
        return e;
    }
    static SDL_Event Key(SDL_Keycode k) {
        return Ev(SDL_KEYDOWN, [&](SDL_Event& e) { e.key.keysym.sym = k; });
    }
    static SDL_Event Motion(int x, int y) {
        return Ev(SDL_MOUSEMOTION, [&](SDL_Event& e) { e.motion.x = x, e.motion.y = y; });
    }
    static SDL_Event Button(Uint32 type, Uint8 b) {
        return Ev(type, [&](SDL_Event& e) { e.button.button = b; });
    }
    static SDL_Event Pad(SDL_GameControllerButton b) {
        return Ev(SDL_CONTROLLERBUTTONDOWN, [&](SDL_Event& e) { e.cbutton.button = static_cast<Uint8>(b); });
    }
    static SDL_Event StickY(Sint16 v) {
        return Ev(SDL_CONTROLLERAXISMOTION, [&](SDL_Event& e) {
            e.caxis.axis = static_cast<Uint8>(SDL_CONTROLLER_AXIS_LEFTY);
            e.caxis.value = v;
        });
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

    // Each key (or button) in a frame of its own, after the gate has run out.
    void Press(MenuComponent& root, std::initializer_list<SDL_Keycode> keys) {
        for (SDL_Keycode k : keys) Idle(root), Frame(root, {Key(k)});
    }
    void PressPad(MenuComponent& root, std::initializer_list<SDL_GameControllerButton> buttons) {
        for (SDL_GameControllerButton b : buttons) Idle(root), Frame(root, {Pad(b)});
    }

    // A left click, with the pointer first moved to (x, y) or left in place.
    void ClickAt(MenuComponent& root, int x, int y) {
        Frame(root,
              {Motion(x, y), Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)});
    }
    void ClickInPlace(MenuComponent& root) {
        Frame(root, {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)});
    }

    static Ostrel::ivec2 Centre(const MenuComponent* entry) {
        return Ostrel::ivec2(entry->hitRect.x + entry->hitRect.z / 2, entry->hitRect.y + entry->hitRect.w / 2);
    }

    // A root built from `entries`, initialised and open; its actions record
    // their choice when `record` is set.
    std::unique_ptr<MenuComponent> Tree(const std::vector<Entry>& entries, bool record = false) {
        auto root = std::make_unique<MenuComponent>(&input, &text, &font);
        Add(*root, entries, record);
        root->Initialize();
        root->Open();
        return root;
    }
    void Add(MenuComponent& parent, const std::vector<Entry>& entries, bool record) {
        for (const Entry& e : entries) {
            if (e.type == MenuEntryType::Label)
                parent.AddLabel(e.label);
            else
                Add(*parent.AddEntry(e.label, record ? Record() : nullptr, e.type), e.children, record);
        }
    }
    // Action, label, action; the actions record their choice.
    std::unique_ptr<MenuComponent> Mixed() {
        return Tree({{"First"}, {"Note", {}, MenuEntryType::Label}, {"Third"}}, true);
    }

    // Every line drawn now is in the plain colour (none highlighted).
    void ExpectNothingHighlighted(MenuComponent& root) {
        text.Clear();
        root.Draw();
        for (const auto& call : text.draws) EXPECT_EQ(call.colour.z, 1.0f) << call.text;
    }
};

struct Step {
    SDL_Keycode key;
    int want;  // selected index after the key
};

// ---------------------------------------------------------------------------
// Moving the selection

TEST_F(MenuTest, KeysSkipLabelsAndWrapBothWays) {
    auto root = Mixed();
    ASSERT_EQ(root->selectedIndex, 0);
    const Step steps[] = {{SDLK_DOWN, 2}, {SDLK_DOWN, 0}, {SDLK_UP, 2}, {SDLK_UP, 0}};
    for (const Step& s : steps) {
        Press(*root, {s.key});
        EXPECT_EQ(root->selectedIndex, s.want) << "key " << s.key << " towards " << s.want;
    }
    // From no selection, next gives the first entry and previous the last.
    root->selectedIndex = -1;
    Press(*root, {SDLK_DOWN});
    EXPECT_EQ(root->selectedIndex, 0);
    root->selectedIndex = -1;
    Press(*root, {SDLK_UP});
    EXPECT_EQ(root->selectedIndex, 2);
    EXPECT_EQ(root->mouseMode, 0);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(MenuTest, ControllerDpadAndStickSkipLabels) {
    auto root = Mixed();
    input.controllers[0].connected = true;
    const std::pair<SDL_GameControllerButton, int> steps[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2}, {SDL_CONTROLLER_BUTTON_DPAD_UP, 0}, {SDL_CONTROLLER_BUTTON_DPAD_UP, 2}};
    for (const auto& [button, want] : steps) {
        PressPad(*root, {button});
        EXPECT_EQ(root->selectedIndex, want) << "button " << button;
    }
    // Stick down past the threshold moves once, then it is released.
    Idle(*root);
    Frame(*root, {StickY(20000)});
    EXPECT_EQ(root->selectedIndex, 0);
    Frame(*root, {StickY(0)});
    Idle(*root);
    Frame(*root, {StickY(-20000)});
    EXPECT_EQ(root->selectedIndex, 2);
}

TEST_F(MenuTest, TreesWithoutSelectableEntriesStepOnceAndStop) {
    const Entry label{"", {}, MenuEntryType::Label};
    auto root = Tree({label, label, label});
    // Would hang if the search for a selectable entry had no way out.
    const Step steps[] = {{SDLK_DOWN, 1}, {SDLK_UP, 0}, {SDLK_UP, 2}, {SDLK_DOWN, 0}};
    for (const Step& s : steps) {
        Press(*root, {s.key});
        EXPECT_EQ(root->selectedIndex, s.want) << "key " << s.key << " towards " << s.want;
    }
    // Nothing is highlighted, whatever the index.
    ExpectNothingHighlighted(*root);
    EXPECT_EQ(text.draws.size(), 3u);

    // An empty menu steps to no entry and has nothing to choose.
    auto empty = Tree({});
    Press(*empty, {SDLK_DOWN});
    EXPECT_EQ(empty->selectedIndex, 0);
    Press(*empty, {SDLK_UP});
    EXPECT_EQ(empty->selectedIndex, -1);
    Press(*empty, {SDLK_RETURN});
    EXPECT_TRUE(empty->IsOpen());
}

TEST_F(MenuTest, StaleIndexFromADeeperSubmenuWrapsInsteadOfLeavingTheEntries) {
    // Root of two entries; "Options" holds "Effects" (five entries) and "Back".
    auto tree =
        Tree({{"Options", {{"Effects", {{"e0"}, {"e1"}, {"e2"}, {"e3"}, {"e4"}}}, {"Back", {}, MenuEntryType::Back}}},
              {"Quit"}});
    MenuComponent& root = *tree;
    MenuComponent* effects = root.children[0]->children[0];
    Press(root, {SDLK_RETURN, SDLK_RETURN});  // Options, then Effects
    ASSERT_EQ(effects->openState, MenuOpenState::Open);

    // Hovering the last effect stores its index on every ancestor of the open
    // node; the root never sees the pointer again before it is reopened.
    Idle(root);
    const Ostrel::ivec2 last = Centre(effects->children[4]);
    Frame(root, {Motion(last.x, last.y)});
    ASSERT_EQ(effects->selectedIndex, 4);
    Press(root, {SDLK_ESCAPE, SDLK_ESCAPE});  // back to Options, then to the root
    ASSERT_EQ(root.openState, MenuOpenState::Open);
    ASSERT_EQ(root.selectedIndex, 4);

    Press(root, {SDLK_UP});
    EXPECT_EQ(root.selectedIndex, 1);
    root.selectedIndex = 4;
    Press(root, {SDLK_DOWN});
    EXPECT_EQ(root.selectedIndex, 0);
}

// ---------------------------------------------------------------------------
// Input gate

TEST_F(MenuTest, KeysWithin150msOfOpeningOrOfTheLastActionDoNothing) {
    auto root = Tree({{"a"}, {"b"}, {"c"}});
    // The gate opens only once more than 150 ms have been counted; the move
    // itself closes it again. {dt of the frame with the key, index after it}.
    const std::pair<float, int> frames[] = {{50.0f, 0},   // 100 ms counted
                                            {1.0f, 0},    // exactly 150 ms counted
                                            {16.0f, 1},   // 151 ms counted: moves
                                            {100.0f, 1},  // the move closed the gate
                                            {16.0f, 1}};
    Frame(*root, {}, 100.0f);
    for (const auto& [dt, want] : frames) {
        Frame(*root, {Key(SDLK_DOWN)}, dt);
        EXPECT_EQ(root->selectedIndex, want) << "dt " << dt;
    }
    Press(*root, {SDLK_DOWN});
    EXPECT_EQ(root->selectedIndex, 2);

    // Reopening closes the gate too.
    Idle(*root);
    root->Open();
    Frame(*root, {Key(SDLK_UP)});
    EXPECT_EQ(root->selectedIndex, 2);
}

TEST_F(MenuTest, KeyboardAndControllerInOneFrameActOnce) {
    auto root = Tree({{"a"}, {"b"}, {"c"}});
    input.controllers[0].connected = true;
    Idle(*root);
    Frame(*root, {Key(SDLK_DOWN), Pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN)});
    EXPECT_EQ(root->selectedIndex, 1);
    // Select wins over next within one handler.
    Idle(*root);
    Frame(*root, {Key(SDLK_DOWN), Key(SDLK_RETURN)});
    EXPECT_EQ(root->selectedIndex, 1);
}

// ---------------------------------------------------------------------------
// Layout and drawing

// Bitmap lines: line i of n at scale s starts at offset.y - (step * n) / 2 +
// height / 2 + i * step, step = trunc(h * s) + 10, centred on width / 2 +
// offset.x; the width is truncated after every scaled glyph.
TEST_F(MenuTest, BitmapLinesAreStackedCentredAndMeasuredPerGlyph) {
    struct Case {
        const char* name;
        Labels labels;  // entries; a name starting with '~' is a label
        std::vector<std::pair<char, int>> advances;
        float scale;
        Ostrel::ivec2 offset;
        int width, height;
        std::vector<int> widths;  // expected line widths
    };
    const Case cases[] = {
        // n = 3, h = 16: (26 * 3) / 2 = 39, lines at 261, 287, 313; "Quit Game" at 400 - 45.
        {"scale one", {"Continue", "~Art", "Quit Game"}, {}, 1.0f, {0, 0}, Width, Height, {80, 30, 90}},
        // 9 and 7 at 1.35 give 12.15 and 9.45: "BBB" is 27, not trunc(28.35);
        // trunc(16 * 1.35) = 21, step 31, (31 * 5) / 2 = 77 (not 77.5); odd widths halve down.
        {"scaled", {"AAA", "B", "AB", "BBB", ""}, {{'A', 9}, {'B', 7}}, 1.35f, {7, -11}, 1023, 701, {36, 9, 21, 27, 0}},
        // A description may give "Base Width,-4"; the glyph record holds it as
        // unsigned. The line measures as the text renderer draws it: 10 - 4.
        {"negative advance", {"an"}, {{'n', -4}}, 1.0f, {0, 0}, Width, Height, {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [ch, adv] : c.advances) font.characters[ch].advance[0] = static_cast<uint32_t>(adv);
        MenuComponent root(&input, &text, &font);
        for (const std::string& l : c.labels) {
            if (l[0] == '~')
                root.AddLabel(l.substr(1));
            else
                root.AddEntry(l, nullptr);
        }
        root.Initialize();
        root.SetPosition(c.offset);
        root.SetScale(c.scale);
        target.SetSize(c.width, c.height);
        root.Layout();

        const int n = static_cast<int>(c.labels.size());
        const int lineHeight = static_cast<int>(static_cast<float>(FontHeight) * c.scale);
        const int step = lineHeight + 10;
        for (int i = 0; i < n; ++i) {
            const Ostrel::ivec4& r = root.children[i]->hitRect;
            const Ostrel::ivec4& d = root.children[i]->drawRect;
            EXPECT_EQ(r.x, c.offset.x - c.widths[i] / 2 + c.width / 2) << i;
            EXPECT_EQ(r.y, c.offset.y - (step * n) / 2 + c.height / 2 + i * step) << i;
            EXPECT_EQ(r.z, c.widths[i]) << i;
            EXPECT_EQ(r.w, lineHeight) << i;
            EXPECT_TRUE(d.x == r.x && d.y == r.y && d.z == r.z && d.w == r.w) << "draw rect of " << i;
        }
        for (const auto& adv : c.advances) font.characters[adv.first].advance[0] = GlyphAdvance;
    }
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
        SCOPED_TRACE(labels[i]);
        EXPECT_EQ(call.text, labels[i]);
        EXPECT_EQ(call.font, &font);
        EXPECT_EQ(call.scale, 2.0f);
        EXPECT_EQ(call.position.x, static_cast<float>(root.children[i]->drawRect.x));
        EXPECT_EQ(call.position.y, static_cast<float>(root.children[i]->drawRect.y));
        EXPECT_EQ(call.colour.z, i == 0 ? 0.0f : 1.0f) << "yellow selection, white otherwise";
    }

    // The mouse can point the index at a label; it is still drawn plain.
    root.selectedIndex = 1;
    ExpectNothingHighlighted(root);

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
    auto root = Tree({{"Sub", {{"x"}}}, {"Quit"}});
    MenuComponent* sub = root->children[0];
    Press(*root, {SDLK_ESCAPE});
    EXPECT_TRUE(root->IsClosed() && sub->IsClosed() && sub->children[0]->IsClosed());
    text.Clear();
    root->Draw();
    EXPECT_TRUE(text.draws.empty());

    // Too soon: the Escape that closed the tree closed the gate.
    Frame(*root, {Key(SDLK_ESCAPE)}, 100.0f);
    Frame(*root, {Key(SDLK_ESCAPE)});
    EXPECT_TRUE(root->IsClosed());

    Press(*root, {SDLK_ESCAPE});
    EXPECT_EQ(root->openState, MenuOpenState::Open);
    EXPECT_EQ(sub->openState, MenuOpenState::ChildOfOpen);
}

TEST_F(MenuTest, EscapeInASubmenuReopensTheParentWithTheSubmenuSelectionReset) {
    auto tree = Tree({{"First"}, {"Sub", {{"x"}, {"y"}}}});
    MenuComponent& root = *tree;
    MenuComponent* sub = root.children[1];
    Press(root, {SDLK_DOWN, SDLK_RETURN});
    ASSERT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);

    // Escape right after the submenu opened does nothing.
    Frame(root, {Key(SDLK_ESCAPE)});
    EXPECT_EQ(sub->openState, MenuOpenState::Open);

    Press(root, {SDLK_DOWN});
    ASSERT_EQ(sub->selectedIndex, 1);
    Press(root, {SDLK_ESCAPE});
    EXPECT_EQ(root.openState, MenuOpenState::Open) << "one Escape, one step: the root did not also close";
    EXPECT_EQ(sub->openState, MenuOpenState::ChildOfOpen);
    EXPECT_EQ(sub->selectedIndex, 0);
    EXPECT_EQ(root.selectedIndex, 1) << "the parent keeps its own selection";
}

TEST_F(MenuTest, ControllerAChoosesAndBGoesBack) {
    auto tree = Tree({{"Sub", {{"x"}}}}, true);
    MenuComponent& root = *tree;
    MenuComponent* sub = root.children[0];
    input.controllers[0].connected = true;

    PressPad(root, {SDL_CONTROLLER_BUTTON_A});
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    PressPad(root, {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    PressPad(root, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_TRUE(root.IsClosed());
    PressPad(root, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(chosen, (Labels{"Sub", "x"}));

    // A controller that was never opened is not read.
    input.controllers[0].connected = false;
    PressPad(root, {SDL_CONTROLLER_BUTTON_B});
    EXPECT_EQ(root.openState, MenuOpenState::Open);
}

TEST_F(MenuTest, HeldStickRepeatsEachTimeTheGateRunsOut) {
    auto root = Tree({{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}});
    input.controllers[0].connected = true;

    // Just past the threshold moves; exactly at it does not.
    Idle(*root);
    Frame(*root, {StickY(16384)}, 50.0f);  // 0.50002: past it
    EXPECT_EQ(root->selectedIndex, 1);
    input.controllers[0].axes[1] = 0.5f;
    Idle(*root);
    Frame(*root, {}, 50.0f);
    EXPECT_EQ(root->selectedIndex, 1);

    // Held down at 0.8 with 50 ms frames: a move when more than 150 ms were
    // counted since the previous one, that is every fourth frame.
    input.controllers[0].axes[1] = 0.8f;
    std::vector<int> seen;
    for (int frame = 0; frame < 9; ++frame) {
        Frame(*root, {}, 50.0f);
        seen.push_back(root->selectedIndex);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 2, 2, 2, 3, 3, 3, 3, 4}));

    // Held up: the same cadence backwards.
    input.controllers[0].axes[1] = -0.8f;
    Idle(*root);
    Frame(*root, {}, 50.0f);
    EXPECT_EQ(root->selectedIndex, 3);
}

// ---------------------------------------------------------------------------
// Choosing

TEST_F(MenuTest, CallbackGetsTheExactLabelBeforeTheSubmenuOpens) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = nullptr;
    MenuOpenState stateDuringCallback = MenuOpenState::Open;
    sub = root.AddEntry("New Game ", [&](MenuEntrySelectedEvent* event) {
        chosen.push_back(event->label);
        stateDuringCallback = sub->openState;
    });
    sub->AddEntry("12 cards", nullptr);
    root.Initialize();
    root.Open();

    Press(root, {SDLK_RETURN});
    EXPECT_EQ(chosen, (Labels{"New Game "}));
    EXPECT_EQ(stateDuringCallback, MenuOpenState::ChildOfOpen);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(root.openState, MenuOpenState::ParentOfOpen);
}

TEST_F(MenuTest, BackEntryOpensTheParentAndABackOnTheRootDoesNothing) {
    const Entry back{"Back", {}, MenuEntryType::Back};
    auto tree = Tree({{"Options", {{"Effects"}, back}}, back}, true);
    MenuComponent& root = *tree;
    MenuComponent* options = root.children[0];

    Press(root, {SDLK_RETURN});
    ASSERT_EQ(options->openState, MenuOpenState::Open);
    Press(root, {SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(options->openState, MenuOpenState::ChildOfOpen);

    Press(root, {SDLK_DOWN, SDLK_RETURN});
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(chosen, (Labels{"Options", "Back", "Back"}));
}

TEST_F(MenuTest, ActionWithoutChildrenOrCallbackChangesNothingAndACallbackMayCloseTheTree) {
    auto root = Tree({{"Plain"}, {"Continue"}});
    Press(*root, {SDLK_RETURN});
    EXPECT_EQ(root->openState, MenuOpenState::Open);
    EXPECT_EQ(root->selectedIndex, 0);
    for (const MenuComponent* child : root->children) EXPECT_EQ(child->openState, MenuOpenState::ChildOfOpen);

    root->children[1]->onSelected = [&](MenuEntrySelectedEvent*) { root->Close(); };
    Press(*root, {SDLK_DOWN, SDLK_RETURN});
    EXPECT_TRUE(root->IsClosed());
}

TEST_F(MenuTest, SelectWithoutAValidSelectionOnlyClosesTheGate) {
    auto root = Tree({{"a"}, {"b"}}, true);
    root->selectedIndex = 2;
    Press(*root, {SDLK_RETURN});
    root->selectedIndex = -1;
    Frame(*root, {Key(SDLK_DOWN)});  // the select above closed the gate
    EXPECT_EQ(root->selectedIndex, -1);
    Press(*root, {SDLK_RETURN});
    EXPECT_TRUE(chosen.empty());
}

// ---------------------------------------------------------------------------
// Mouse

TEST_F(MenuTest, ClickCountsOnlyAfterPointerMotionSinceTheLastKeyMove) {
    auto root = Mixed();
    root->SetClickSound(&click);
    Frame(*root);
    const Ostrel::ivec2 first = Centre(root->children[0]);

    // Hover the first entry, then move the selection with a key.
    Frame(*root, {Motion(first.x, first.y)});
    EXPECT_EQ(root->selectedIndex, 0);
    EXPECT_EQ(root->mouseMode, 1);
    Press(*root, {SDLK_DOWN});
    EXPECT_EQ(root->selectedIndex, 2);
    EXPECT_EQ(root->mouseMode, 0);

    ClickInPlace(*root);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(click.playCount, 0);
    EXPECT_EQ(root->selectedIndex, 2);
    EXPECT_FALSE(root->clicked) << "an ignored click must not linger";

    // The flag of the ignored click is gone: motion alone chooses nothing.
    Frame(*root, {Motion(first.x + 1, first.y)});
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(root->selectedIndex, 0);

    ClickAt(*root, first.x + 2, first.y);
    EXPECT_EQ(chosen, (Labels{"First"}));
    EXPECT_EQ(click.playCount, 1);

    // Once the mouse is in control, a click needs no further motion.
    ClickInPlace(*root);
    EXPECT_EQ(chosen.size(), 2u);
    EXPECT_EQ(click.playCount, 2);
}

TEST_F(MenuTest, MovingOffEveryEntryClearsTheSelection) {
    auto root = Mixed();
    Frame(*root);
    const Ostrel::ivec2 third = Centre(root->children[2]);
    Frame(*root, {Motion(third.x, third.y)});
    EXPECT_EQ(root->selectedIndex, 2);
    Frame(*root, {Motion(5, 5)});
    EXPECT_EQ(root->selectedIndex, -1);
    ExpectNothingHighlighted(*root);
    Press(*root, {SDLK_RETURN});
    EXPECT_TRUE(chosen.empty());

    // The rectangle's far edges are outside it. {pointer, index after it}.
    const Ostrel::ivec4 r = root->children[0]->hitRect;
    const std::pair<Ostrel::ivec2, int> moves[] = {{{r.x + r.z, r.y}, -1}, {{r.x, r.y + r.w}, -1}, {{r.x, r.y}, 0}};
    for (const auto& [at, want] : moves) {
        Frame(*root, {Motion(at.x, at.y)});
        EXPECT_EQ(root->selectedIndex, want) << at.x << "," << at.y;
    }
    // Without a click sound a click still chooses.
    ClickAt(*root, r.x + 1, r.y + 1);
    EXPECT_EQ(chosen, (Labels{"First"}));
}

TEST_F(MenuTest, OneClickActsOnceAcrossTheTree) {
    // The submenu's first line lies where the clicked root line is, so a click
    // that acted twice would choose "Back" right after opening the submenu.
    auto tree = Tree({{"Sub", {{"Back", {}, MenuEntryType::Back}, {"Deep"}}}, {"Quit"}}, true);
    MenuComponent& root = *tree;
    MenuComponent* sub = root.children[0];
    root.SetClickSound(&click);
    Frame(root);
    const Ostrel::ivec2 at = Centre(root.children[0]);
    ASSERT_EQ(Centre(sub->children[0]).y, at.y);

    ClickAt(root, at.x, at.y);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(chosen, (Labels{"Sub"}));
    EXPECT_EQ(click.playCount, 1);
    for (int i = 0; i < 3; ++i) Frame(root);
    EXPECT_EQ(sub->openState, MenuOpenState::Open);
    EXPECT_EQ(chosen.size(), 1u);

    // A plain action in the submenu: its ancestors, which run after it and were
    // marked by the same click, must not choose it again.
    const Ostrel::ivec2 deep = Centre(sub->children[1]);
    ClickAt(root, deep.x, deep.y);
    EXPECT_EQ(chosen, (Labels{"Sub", "Deep"}));
    EXPECT_EQ(click.playCount, 2);
    EXPECT_FALSE(root.clicked);

    // In the submenu the next click chooses "Back" once and the root reopens.
    ClickAt(root, at.x + 1, at.y);
    EXPECT_EQ(root.openState, MenuOpenState::Open);
    EXPECT_EQ(chosen, (Labels{"Sub", "Deep", "Back"}));
    EXPECT_EQ(click.playCount, 3);
}

TEST_F(MenuTest, RightClicksAndClicksOffTheActionsChooseNothing) {
    auto root = Mixed();
    root->SetClickSound(&click);
    Frame(*root);
    const Ostrel::ivec2 first = Centre(root->children[0]);
    Frame(*root, {Motion(first.x, first.y), Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),
                  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT)});
    ClickAt(*root, 3, 3);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(click.playCount, 0);

    // A click that hit nothing is spent: moving onto an entry later chooses nothing.
    Frame(*root, {Motion(first.x, first.y)});
    Frame(*root, {Motion(first.x + 1, first.y)});
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(root->selectedIndex, 0);

    // A click on a label plays the sound and does nothing else.
    const Ostrel::ivec2 note = Centre(root->children[1]);
    ClickAt(*root, note.x, note.y);
    EXPECT_EQ(click.playCount, 1);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(root->openState, MenuOpenState::Open);
}

TEST_F(MenuTest, UninitialisedRootGetsNoClicksAndSaysSoEachUpdate) {
    MenuComponent root(&input, &text, &font);
    root.AddEntry("a", Record());
    root.AddEntry("b", Record());
    root.Open();

    testing::internal::CaptureStdout();
    Frame(root);
    // One line per node: the root and its two entries.
    const std::string line = "MenuComponent is not initialized!!!\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line + line + line);

    testing::internal::CaptureStdout();
    const Ostrel::ivec2 at = Centre(root.children[0]);
    ClickAt(root, at.x, at.y);
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(input.clickListeners.empty());
    // Keys still work on an uninitialised tree.
    Press(root, {SDLK_RETURN});
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(chosen, (Labels{"a"}));
}

TEST_F(MenuTest, OnlyTheRootRegistersAClickListener) {
    MenuComponent root(&input, &text, &font);
    MenuComponent* sub = root.AddEntry("Sub", nullptr);
    sub->AddEntry("x", nullptr);
    root.Initialize();
    EXPECT_EQ(input.clickListeners.size(), 1u);
    EXPECT_TRUE(static_cast<bool>(root.clickListener));
    EXPECT_FALSE(static_cast<bool>(sub->clickListener));
    EXPECT_EQ(sub->children[0]->initState, Ostrel::LifecycleInitialised);

    // A left click marks the whole tree; a right click marks nothing.
    input.clickListeners[0](Ostrel::OnClickEvent{false, true});
    EXPECT_FALSE(sub->children[0]->clicked);
    input.clickListeners[0](Ostrel::OnClickEvent{true, false});
    EXPECT_TRUE(root.clicked && sub->clicked && sub->children[0]->clicked);
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
    EXPECT_TRUE(sub->IsClosed() && leaf->IsClosed() && root.IsClosed());
    EXPECT_EQ(root.inputTimer->elapsed, 0.0f);
    EXPECT_EQ(root.FindOpen(&root), nullptr);
}

TEST_F(MenuTest, ReopeningTheRootLeavesOneOpenNode) {
    auto tree = Tree({{"Options", {{"Effects", {{"None"}}}}}});
    MenuComponent& root = *tree;
    MenuComponent* options = root.children[0];
    MenuComponent* effects = options->children[0];
    options->Open();
    effects->Open();

    // The owner reopens the root while a grandchild is open.
    root.Open();
    EXPECT_EQ(root.FindOpen(&root), &root);
    EXPECT_NE(effects->openState, MenuOpenState::Open);
    root.Layout();
    text.Clear();
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
}

TEST_F(MenuTest, DestroyReleasesOnceAndSilencesTheClickListener) {
    auto* root = new MenuComponent(&input, &text, &font);
    root->AddEntry("Sub", nullptr)->AddEntry("x", nullptr);
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
    events.events[events.count++] = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.events[events.count++] = Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
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
    Tree({{"a"}}, true).reset();
    auto root = Mixed();
    root->SetClickSound(&click);
    Frame(*root);
    ASSERT_EQ(input.clickListeners.size(), 2u);
    const Ostrel::ivec2 first = Centre(root->children[0]);
    ClickAt(*root, first.x, first.y);
    EXPECT_EQ(chosen, (Labels{"First"}));
    EXPECT_EQ(click.playCount, 1);
}

}  // namespace
