// The effect panel in a headless ImGui context: its menu opened with the
// mouse, sliders clicked at their ends, "Normalize" pressed, and its texture
// tiles handed through the texture picker into the effect's slots.
#include "FakeEffectShader.h"
#include "HeadlessImGui.h"
#include "RecordingTextureManager.h"
#include "TempDir.h"
#include "editor/ImGuiEffectComponent.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using OstrelTest::FakeEffectShader;
using OstrelTest::HeadlessImGui;

namespace {

class EffectPanelTest : public ::testing::Test {
protected:
    OstrelTest::TempDir tmp;
    OstrelTest::RecordingTextureManager textures;
    Ostrel::TexturePicker picker{&textures};
    FakeEffectShader* shader = new FakeEffectShader();  // owned by the effect
    Ostrel::EffectInstance effect{nullptr, nullptr, shader};
    std::map<std::string, bool> normalizeFlags;
    bool withPicker = true;
    int uses = 0;
    HeadlessImGui gui{nullptr};

    void SetUp() override {
        gui.SetDraw([this] {
            ImGui::SetNextWindowPos(ImVec2(10, 10));
            ImGui::SetNextWindowSize(ImVec2(300, 200));
            ImGui::Begin("Editor");
            // Built anew every frame, as the editor window does.
            Ostrel::ImGuiEffectComponent panel(&effect, withPicker ? &picker : nullptr, &textures);
            panel.Draw(
                "Effect", [this] { ++uses; }, &normalizeFlags);
            ImGui::End();
            picker.Display();
        });
        gui.Frame();
    }

    static ImGuiWindow* EditorWindow() { return HeadlessImGui::FindWindowByName("Editor"); }

    // Hovering the menu's item opens it; its popup is then the top popup.
    ImGuiWindow* OpenMenu() {
        ImGuiWindow* editor = EditorWindow();
        const std::optional<ImVec2> item = gui.LocateRow(editor, HeadlessImGui::IdIn(editor, "Effect"));
        EXPECT_TRUE(item.has_value());
        if (!item) return nullptr;
        gui.Click(*item);
        ImGuiWindow* menu = HeadlessImGui::TopPopup();
        EXPECT_NE(menu, nullptr);
        return menu;
    }

    // Identifier of component `index` of a multi-component slider.
    static ImGuiID ComponentId(ImGuiWindow* menu, const char* label, int index) {
        const ImGuiID scope = ImHashStr(label, 0, menu->ID);
        return ImHashStr("", 0, ImHashData(&index, sizeof(index), scope));
    }

    static ImGuiID NormalizeId(ImGuiWindow* menu, const char* uniformName) {
        return ImHashStr("Normalize", 0, ImHashStr(uniformName, 0, menu->ID));
    }

    // Clicks the first and the last pixel column of a slider's frame.
    void ClickSliderEnd(ImGuiWindow* menu, ImGuiID id, bool right) {
        const std::optional<ImVec2> pos = gui.Locate(menu, id);
        ASSERT_TRUE(pos.has_value());
        ImVec2 end = *pos;
        const float step = right ? 1.0f : -1.0f;
        for (ImVec2 probe = end; probe.x > menu->Pos.x && probe.x < menu->Pos.x + menu->Size.x; probe.x += step) {
            gui.MoveMouse(probe);
            if (gui.HoveredId() != id) break;
            end = probe;
        }
        gui.Click(end);
    }
};

TEST_F(EffectPanelTest, ClosedMenuDrawsNothingAndChangesNothing) {
    shader->Add("u_weights", Ostrel::Vec2, {3, 4, 0}, 0, 10);
    normalizeFlags["u_weights"] = true;
    gui.Frames(3);
    ImGuiWindow* editor = EditorWindow();
    EXPECT_EQ(HeadlessImGui::OpenPopupCount(), 0);
    EXPECT_FALSE(gui.Locate(editor, HeadlessImGui::IdIn(editor, "Use")).has_value());
    EXPECT_EQ(uses, 0);
    EXPECT_EQ(shader->GetUniform("u_weights")->value.x, 3.0f);

    ImGuiWindow* menu = OpenMenu();
    ASSERT_TRUE(gui.ClickItem(menu, HeadlessImGui::IdIn(menu, "Use")));
    EXPECT_EQ(uses, 1);
}

TEST_F(EffectPanelTest, UniformsAreListedInNameOrderBelowUse) {
    shader->Add("u_zeta", Ostrel::Float, {0.5f, 0, 0}, 0, 1);
    shader->Add("u_alpha", Ostrel::Float, {0.5f, 0, 0}, 0, 1);
    shader->Add("u_mid", Ostrel::Vec3, {0.5f, 0.5f, 0.5f}, 0, 1);
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    const std::optional<ImVec2> use = gui.LocateRow(menu, HeadlessImGui::IdIn(menu, "Use"));
    const std::optional<ImVec2> alpha = gui.LocateRow(menu, HeadlessImGui::IdIn(menu, "u_alpha"));
    const std::optional<ImVec2> mid = gui.LocateRow(menu, ComponentId(menu, "u_mid", 0));
    const std::optional<ImVec2> zeta = gui.LocateRow(menu, HeadlessImGui::IdIn(menu, "u_zeta"));
    ASSERT_TRUE(use && alpha && mid && zeta);
    EXPECT_LT(use->y, alpha->y);
    EXPECT_LT(alpha->y, mid->y);
    EXPECT_LT(mid->y, zeta->y);
}

TEST_F(EffectPanelTest, SlidersSpanTheUniformRangeAndVectorsUseTheFirstComponentsRange) {
    Ostrel::ShaderUniform* amount = shader->Add("u_amount", Ostrel::Float, {1.0f, 0, 0}, 0.5f, 2.0f);
    Ostrel::ShaderUniform* offset = shader->Add("u_offset", Ostrel::Vec2, {0.5f, 150.0f, 0}, 0.0f, 1.0f);
    offset->min.y = 100.0f;  // ignored: one range for every component
    offset->max.y = 200.0f;
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);

    ClickSliderEnd(menu, HeadlessImGui::IdIn(menu, "u_amount"), true);
    EXPECT_FLOAT_EQ(amount->value.x, 2.0f);
    ClickSliderEnd(menu, HeadlessImGui::IdIn(menu, "u_amount"), false);
    EXPECT_FLOAT_EQ(amount->value.x, 0.5f);

    ClickSliderEnd(menu, ComponentId(menu, "u_offset", 1), true);
    EXPECT_FLOAT_EQ(offset->value.y, 1.0f);
    EXPECT_FLOAT_EQ(offset->value.x, 0.5f) << "only the clicked component changes";
}

TEST_F(EffectPanelTest, NormalizeOnlyForFlaggedVectors) {
    shader->Add("u_float", Ostrel::Float, {0.5f, 0, 0}, 0, 1);
    shader->Add("u_plain", Ostrel::Vec2, {3, 4, 0}, 0, 10);
    shader->Add("u_off", Ostrel::Vec3, {1, 2, 2}, 0, 10);
    shader->Add("u_weights", Ostrel::Vec3, {1, 2, 2}, 0, 10);
    normalizeFlags = {{"u_float", true}, {"u_off", false}, {"u_weights", true}};
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(gui.Locate(menu, NormalizeId(menu, "u_weights")).has_value());
    EXPECT_FALSE(gui.Locate(menu, NormalizeId(menu, "u_float")).has_value());
    EXPECT_FALSE(gui.Locate(menu, NormalizeId(menu, "u_plain")).has_value());
    EXPECT_FALSE(gui.Locate(menu, NormalizeId(menu, "u_off")).has_value());
}

TEST_F(EffectPanelTest, NormalizeMakesUnitVectorsAndLeavesAZeroVectorAlone) {
    Ostrel::ShaderUniform* two = shader->Add("u_two", Ostrel::Vec2, {3, 4, 9}, 0, 10);
    Ostrel::ShaderUniform* three = shader->Add("u_three", Ostrel::Vec3, {1, 2, 2}, 0, 10);
    Ostrel::ShaderUniform* zero = shader->Add("u_zero", Ostrel::Vec3, {0, 0, 0}, 0, 10);
    normalizeFlags = {{"u_two", true}, {"u_three", true}, {"u_zero", true}};
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);

    ASSERT_TRUE(gui.ClickItem(menu, NormalizeId(menu, "u_two")));
    EXPECT_FLOAT_EQ(two->value.x, 0.6f);
    EXPECT_FLOAT_EQ(two->value.y, 0.8f);
    EXPECT_FLOAT_EQ(two->value.z, 9.0f) << "a two-component vector keeps its third float";
    EXPECT_FLOAT_EQ(three->value.x, 1.0f) << "each button normalises its own vector";

    ASSERT_TRUE(gui.ClickItem(menu, NormalizeId(menu, "u_three")));
    EXPECT_FLOAT_EQ(three->value.x, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(three->value.y, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(three->value.z, 2.0f / 3.0f);

    ASSERT_TRUE(gui.ClickItem(menu, NormalizeId(menu, "u_zero")));
    EXPECT_EQ(zero->value.x, 0.0f);
    EXPECT_EQ(zero->value.y, 0.0f);
    EXPECT_EQ(zero->value.z, 0.0f);
}

TEST_F(EffectPanelTest, UnhandledUniformTypeIsReportedAndSkipped) {
    shader->Add("u_odd", static_cast<Ostrel::UniformType>(7), {0, 0, 0}, 0, 1);
    shader->Add("u_ok", Ostrel::Float, {0.5f, 0, 0}, 0, 1);
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    testing::internal::CaptureStdout();
    gui.Frame();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Ostrel::ImGuiEffectComponent::Draw --- unhandeled type\n");
    EXPECT_TRUE(gui.Locate(menu, HeadlessImGui::IdIn(menu, "u_ok")).has_value());
}

class EffectTexturesTest : public EffectPanelTest {
protected:
    uint32_t noiseName = 11;
    uint32_t strayName = 12;
    Ostrel::ITexture2D* noise = nullptr;
    OstrelTest::RecordingTexture stray{nullptr, 0, 0, Ostrel::TextureParameters(), 4};
    Ostrel::ITexture2D* slot0 = nullptr;

    void SetUp() override {
        EffectPanelTest::SetUp();
        tmp.Write("pics/grain.png", "x");
        picker.GetBrowser().SetDirectory(fs::path(tmp.Path()) / "pics");
        noise = textures.LoadTexture("assets/noise.png", "assets/noise.png");
        noise->handle = &noiseName;
        stray.handle = &strayName;  // a texture the manager does not know
        slot0 = textures.LoadTexture("scene", "scene");
        shader->textures[0] = slot0;
        shader->textures[1] = noise;
        shader->textures[2] = nullptr;
        shader->textures[3] = &stray;
    }

    static ImGuiID TileId(ImGuiWindow* menu, uint32_t* glName) {
        void* texId = reinterpret_cast<void*>(static_cast<intptr_t>(*glName));
        return HeadlessImGui::IdIn(menu, texId, "#image");
    }
};

TEST_F(EffectTexturesTest, OnlyRegisteredTexturesOfSlotsOneToThreeGetTiles) {
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(gui.Locate(menu, TileId(menu, &noiseName)).has_value());
    EXPECT_FALSE(gui.Locate(menu, TileId(menu, &strayName)).has_value());

    withPicker = false;
    gui.Frame();
    EXPECT_FALSE(gui.Locate(menu, TileId(menu, &noiseName)).has_value()) << "no tiles without a picker";
}

TEST_F(EffectTexturesTest, ChosenPictureBecomesThatSlotsTexture) {
    ImGuiWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(gui.ClickItem(menu, TileId(menu, &noiseName)));
    ImGuiWindow* dialog = HeadlessImGui::FindWindowByName(picker.GetBrowser().GetOpenLabel());
    ImGuiWindow* list = HeadlessImGui::FindChild(dialog, "ch");
    ASSERT_NE(list, nullptr);
    const std::optional<ImVec2> row = gui.LocateRow(list, HeadlessImGui::IdIn(list, "[F] grain.png"));
    ASSERT_TRUE(row.has_value());
    gui.DoubleClick(*row);
    ASSERT_TRUE(picker.GetBrowser().HasSelected());

    picker.Update();  // the panel of the pressing frame is long gone
    const std::string path = (fs::absolute(tmp.Path()) / "pics" / "grain.png").string();
    EXPECT_EQ(shader->textures[1], textures.GetTexture(path));
    EXPECT_NE(shader->textures[1], nullptr);
    EXPECT_EQ(shader->textures[0], slot0);
    EXPECT_EQ(shader->textures[2], nullptr);
    EXPECT_EQ(shader->textures[3], &stray);
}

}  // namespace
