// The "Editor" window over a headless ImGui context, with recording window
// and texture managers and effects whose shaders need no GL: its menus are
// opened with the mouse and its widgets change the shared settings.
#include "EditorWindow.h"
#include "FakeEffectShader.h"
#include "FixedSizeRenderer.h"
#include "HeadlessImGui.h"
#include "RecordingTextureManager.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using OstrelTest::FakeEffectShader;
using OstrelTest::HeadlessImGui;

namespace {

class EditorWindowTest : public ::testing::Test {
protected:
    OstrelTest::TempDir tmp;
    OstrelTest::FixedSizeRenderer renderer{800, 600};
    OstrelTest::RecordingWindowManager window;
    OstrelTest::RecordingTextureManager textures;
    Ostrel::TexturePicker picker{&textures};
    FakeEffectShader* crtShader = new FakeEffectShader();
    FakeEffectShader* ditherShader = new FakeEffectShader();
    FakeEffectShader* gameboyShader = new FakeEffectShader();
    Ostrel::EffectInstance crt{nullptr, nullptr, crtShader};
    Ostrel::EffectInstance dither{nullptr, nullptr, ditherShader};
    Ostrel::EffectInstance gameboy{nullptr, nullptr, gameboyShader};
    GameData data;
    std::vector<float> speeds;  // what the speed callback received
    std::vector<std::pair<int, int>> resizes;
    HeadlessImGui gui{nullptr};
    uint32_t glNames[2] = {21, 22};

    void SetUp() override {
        data.crtEffect = &crt;
        data.ditherEffect = &dither;
        data.gameboyEffect = &gameboy;
        data.texturePicker = &picker;
        data.animationSpeed = 0.01f;
        data.onAnimationSpeedChanged = [this](float speed) { speeds.push_back(speed); };
        data.normalizeFlags["u_weights"] = true;
        gameboyShader->Add("u_weights", Ostrel::Vec3, {1, 2, 2}, 0, 1);
        crtShader->Add("u_curvature", Ostrel::Float, {0.5f, 0, 0}, 0, 1);
        window.AddWindowResizedListener(
            [this](Ostrel::WindowResizedEvent* event) { resizes.emplace_back(event->width, event->height); });
        for (int i = 0; i < 2; ++i) {
            const std::string key = "texture_" + std::to_string(i);
            textures.LoadTexture("card" + std::to_string(i) + ".png", key)->handle = &glNames[i];
            data.textureNames.push_back(key);
        }
        tmp.Write("pics/new.png", "x");
        picker.GetBrowser().SetDirectory(fs::path(tmp.Path()) / "pics");

        gui.SetDraw([this] {
            ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
            ImGui::SetNextWindowSize(ImVec2(400, 300), ImGuiCond_FirstUseEver);
            EditorWindow(&data, &renderer, &window, &textures)
                .Draw([this] { data.postEffect = PostEffect::OrderedDither; },
                      [this] { data.postEffect = PostEffect::CRT; }, [this] { data.postEffect = PostEffect::Gameboy; });
        });
    }

    static ImGuiWindow* Editor() { return HeadlessImGui::FindWindowByName("Editor"); }
    static bool EditorShown() { return Editor() != nullptr && Editor()->Active; }

    void Show() {
        data.editorVisible = true;
        gui.Frames(2);
    }

    // Opens a menu item of `parent` by clicking it; returns the menu's window.
    ImGuiWindow* OpenMenu(ImGuiWindow* parent, const char* label) {
        const std::optional<ImVec2> item = gui.LocateRow(parent, HeadlessImGui::IdIn(parent, label));
        EXPECT_TRUE(item.has_value()) << label;
        if (!item) return nullptr;
        gui.Click(*item);
        return HeadlessImGui::TopPopup();
    }

    // Ctrl+click turns a slider or drag field into a text field; select all, type and confirm.
    void TypeInto(ImVec2 pos, const char* text) {
        gui.SetModifiers(true, false);
        gui.Click(pos);
        gui.SetModifiers(false, false);
        ImGuiIO& io = ImGui::GetIO();
        io.KeyMap[ImGuiKey_A] = 'a';
        io.KeyCtrl = io.KeysDown['a'] = true;
        gui.Frame();
        io.KeyCtrl = io.KeysDown['a'] = false;
        gui.Type(text);
        io.KeyMap[ImGuiKey_Enter] = 13;
        io.KeysDown[13] = true;
        gui.Frame();
        io.KeysDown[13] = false;
        gui.Frames(2);
    }
};

TEST_F(EditorWindowTest, HiddenEditorSubmitsNoWindowAndNoDialog) {
    gui.Frames(2);
    EXPECT_EQ(Editor(), nullptr);
    Show();
    EXPECT_TRUE(EditorShown());
    data.editorVisible = false;
    gui.Frames(2);
    EXPECT_FALSE(EditorShown());

    // A dialog opened earlier stays out of sight while the editor is hidden.
    picker.GetBrowser().Open();
    gui.Frames(2);
    EXPECT_EQ(HeadlessImGui::FindWindowByName(picker.GetBrowser().GetOpenLabel()), nullptr);
    Show();
    ImGuiWindow* dialog = HeadlessImGui::FindWindowByName(picker.GetBrowser().GetOpenLabel());
    ASSERT_TRUE(dialog != nullptr && dialog->Active);
}

TEST_F(EditorWindowTest, ResolutionButtonResizesTheWindowAndNotifiesListeners) {
    Show();
    ImGuiWindow* menu = OpenMenu(Editor(), "Resolution");
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(gui.ClickItem(menu, HeadlessImGui::IdIn(menu, "1280x720")));
    EXPECT_EQ(window.resizeCalls, 1);
    EXPECT_EQ(resizes, (std::vector<std::pair<int, int>>{{1280, 720}}));
    EXPECT_EQ(window.settings.width, 1280);

    ASSERT_TRUE(gui.ClickItem(menu, HeadlessImGui::IdIn(menu, "1920x1080")));
    EXPECT_EQ(resizes.back(), std::make_pair(1920, 1080));
    EXPECT_EQ(window.resizeCalls, 2);
}

TEST_F(EditorWindowTest, PostProcessingNoneAndUseButtonsChooseTheEffect) {
    Show();
    ImGuiWindow* post = OpenMenu(Editor(), "Post Processing");
    ASSERT_NE(post, nullptr);

    const std::pair<const char*, PostEffect> panels[] = {{"CRT Effect", PostEffect::CRT},
                                                         {"Ordered Dithering", PostEffect::OrderedDither},
                                                         {"Gameboy Screen Effect", PostEffect::Gameboy}};
    for (const auto& [label, effect] : panels) {
        SCOPED_TRACE(label);
        ImGuiWindow* panel = OpenMenu(post, label);
        ASSERT_TRUE(panel != nullptr && panel != post);
        if (effect == PostEffect::Gameboy) {
            // Only this panel gets the normalize map: its "u_weights" has the button.
            ASSERT_TRUE(gui.ClickItem(panel, ImHashStr("Normalize", 0, ImHashStr("u_weights", 0, panel->ID))));
            EXPECT_FLOAT_EQ(gameboyShader->GetUniform("u_weights")->value.x, 1.0f / 3.0f);
        }
        ASSERT_TRUE(gui.ClickItem(panel, HeadlessImGui::IdIn(panel, "Use")));
        EXPECT_EQ(data.postEffect, effect);
        ASSERT_TRUE(gui.ClickItem(post, HeadlessImGui::IdIn(post, "None")));
        EXPECT_EQ(data.postEffect, PostEffect::None);
    }
}

TEST_F(EditorWindowTest, AnimationSpeedSliderShowsHundredthsAndReportsChanges) {
    Show();
    ImGuiWindow* editor = Editor();
    const ImGuiID slider = HeadlessImGui::IdIn(editor, "Animation Speed");
    const std::optional<ImVec2> pos = gui.Locate(editor, slider);
    ASSERT_TRUE(pos.has_value());
    EXPECT_TRUE(speeds.empty()) << "no change, no call";

    TypeInto(*pos, "4");

    EXPECT_FLOAT_EQ(data.animationSpeed, 0.04f);
    ASSERT_FALSE(speeds.empty());
    EXPECT_FLOAT_EQ(speeds.back(), 0.04f);
    const size_t calls = speeds.size();
    gui.Frames(3);
    EXPECT_EQ(speeds.size(), calls) << "frames without a change call nothing";
}

TEST_F(EditorWindowTest, ColourEditorsWriteClearAndMenuColours) {
    renderer.clearColour = Ostrel::vec4(0.1f, 0.2f, 0.3f, 0.5f);
    Show();
    ImGuiWindow* editor = Editor();
    // The first drag field of "Clear Color" is its red channel.
    const ImGuiID scope = ImHashStr("Clear Color", 0, editor->ID);
    const ImGuiID red = ImHashStr("##X", 0, scope);
    const std::optional<ImVec2> pos = gui.Locate(editor, red);
    ASSERT_TRUE(pos.has_value());
    TypeInto(*pos, "255");
    EXPECT_FLOAT_EQ(renderer.clearColour.x, 1.0f);
    EXPECT_FLOAT_EQ(renderer.clearColour.y, 0.2f);
    EXPECT_FLOAT_EQ(renderer.clearColour.w, 0.5f) << "alpha is not edited";

    // The two menu colours have editors of their own.
    EXPECT_TRUE(gui.Locate(editor, ImHashStr("##X", 0, ImHashStr("Menu Color", 0, editor->ID))).has_value());
    EXPECT_TRUE(gui.Locate(editor, ImHashStr("##X", 0, ImHashStr("Menu Selection Color", 0, editor->ID))).has_value());
}

TEST_F(EditorWindowTest, TexturesMenuTileReplacesThatCardPicture) {
    Show();
    ImGuiWindow* menu = OpenMenu(Editor(), "Textures");
    ASSERT_NE(menu, nullptr);
    void* second = reinterpret_cast<void*>(static_cast<intptr_t>(glNames[1]));
    Ostrel::ITexture2D* old = textures.GetTexture("texture_1");
    ASSERT_TRUE(gui.ClickItem(menu, HeadlessImGui::IdIn(menu, second, "#image")));

    ImGuiWindow* dialog = HeadlessImGui::FindWindowByName(picker.GetBrowser().GetOpenLabel());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::string(dialog->Name).rfind("Select texture##", 0), 0u);
    ImGuiWindow* list = HeadlessImGui::FindChild(dialog, "ch");
    const std::optional<ImVec2> row = gui.LocateRow(list, HeadlessImGui::IdIn(list, "[F] new.png"));
    ASSERT_TRUE(row.has_value());
    gui.DoubleClick(*row);
    picker.Update();
    EXPECT_EQ(textures.DeleteCount(old), 1);
    EXPECT_EQ(textures.loadedPaths.back(), (fs::absolute(tmp.Path()) / "pics" / "new.png").string());
    EXPECT_NE(textures.GetTexture("texture_0"), nullptr);
}

TEST_F(EditorWindowTest, EmptyTextureListGivesAnEmptyMenu) {
    data.textureNames.clear();
    Show();
    ImGuiWindow* menu = OpenMenu(Editor(), "Textures");
    ASSERT_NE(menu, nullptr);
    void* first = reinterpret_cast<void*>(static_cast<intptr_t>(glNames[0]));
    EXPECT_FALSE(gui.Locate(menu, HeadlessImGui::IdIn(menu, first, "#image")).has_value());
}

}  // namespace
