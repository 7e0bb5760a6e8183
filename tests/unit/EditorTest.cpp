// The in-game editor window, the effect panel and the texture picker on a
// headless ImGui context.
#include "EditorWindow.h"
#include "GameData.h"
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/ImGuiEffectComponent.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include <gtest/gtest.h>
#include <cmath>

using OstrelTest::HeadlessGui;

namespace {
struct Editor {
    HeadlessGui gui;
    OstrelTest::SizedRenderer renderer{800, 600};
    OstrelTest::WindowRecorder window;
    OstrelTest::TextureRecorder textures;
    OstrelTest::StepTime time;
    OstrelTest::FakeEffectShader* shader = new OstrelTest::FakeEffectShader;
    Ostrel::EffectInstance effect{&renderer, &time, shader};
    Ostrel::TexturePicker picker{&textures};
    GameData data;
    std::vector<std::string> used;
    Editor() {
        Ostrel::ShaderUniform* weights = shader->CreateUniform("u_weights", Ostrel::Vec3);
        weights->value = Ostrel::vec3(3, 4, 0);
        weights->max = Ostrel::vec3(10, 10, 10);
        shader->CreateUniform("u_strength", Ostrel::Float);
        const char* keys[] = {"scanlines", "vignette", "noise"};
        for (int k = 1; k <= 3; ++k) shader->textures[k] = textures.LoadTexture(keys[k - 1]);
        data.gameboyEffect = &effect;  // the panel that offers "Normalize"
        data.texturePicker = &picker;
        data.normalizeFlags["u_weights"] = true;
        data.editorVisible = true;
    }
    std::string Frame() {
        return gui.Frame([this] {
            EditorWindow(&data, &renderer, &window, &textures)
                .Draw([this] { used.push_back("dither"); }, [this] { used.push_back("crt"); },
                      [this] { used.push_back("screen"); });
        });
    }
    std::string Press(ImGuiWindow* w, const std::string& label, const std::string& scope = "") {
        HeadlessGui::Press(w, label, scope);
        Frame();
        return Frame();  // a menu opened by the press has its window from now on
    }
};
}  // namespace

TEST(EditorWindow, WidgetsEditTheSettingsTheWindowAndTheEffects) {
    Editor e;
    e.data.editorVisible = false;
    EXPECT_EQ(e.Frame().find("Editor"), std::string::npos);
    e.data.editorVisible = true;
    e.data.animationSpeed = 0.02f;
    int speedReports = 0;
    e.data.onAnimationSpeedChanged = [&](float) { ++speedReports; };
    for (int i = 0; i < 3; ++i) e.Frame();
    EXPECT_FLOAT_EQ(e.data.animationSpeed, 0.02f);  // shown as 2.000, and untouched
    EXPECT_EQ(speedReports, 0);
    ImGuiWindow* editor = HeadlessGui::Window("Editor");
    e.Press(editor, "Resolution");
    e.Press(HeadlessGui::TopPopup(), "1280x720");
    EXPECT_EQ(e.window.settings.width, 1280);
    EXPECT_EQ(e.window.settings.height, 720);
    e.data.postEffect = PostEffect::CRT;
    e.Press(editor, "Post Processing");
    ImGuiWindow* post = HeadlessGui::TopPopup();
    e.Press(post, "None");
    EXPECT_EQ(e.data.postEffect, PostEffect::None);
    e.Press(post, "Gameboy Screen Effect");
    ImGuiWindow* panel = HeadlessGui::TopPopup();
    const std::string text = e.Frame();
    for (const char* shown : {"u_strength", "u_weights", "Normalize", "scanlines", "vignette", "noise"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
    e.Press(panel, "Normalize", "u_weights");
    const Ostrel::vec3 w = e.shader->uniforms["u_weights"]->value;
    EXPECT_FLOAT_EQ(w.x, 0.6f);
    EXPECT_FLOAT_EQ(w.y, 0.8f);
    e.Press(panel, "Use");
    EXPECT_EQ(e.used, std::vector<std::string>{"screen"});
}

// Two effect slots given the same picture must not share one texture: the
// second load would replace, and delete, the first slot's texture.
TEST(TexturePicker, ChosenPicturesReachTheirSlotOrKey) {
    OstrelTest::TempDir dir;
    dir.Write("pic.png", "x");
    HeadlessGui gui;
    OstrelTest::TextureRecorder textures;
    Ostrel::TexturePicker picker(&textures);
    Ostrel::ITexture2D* slots[2] = {textures.LoadTexture("one"), textures.LoadTexture("two")};
    auto frame = [&] {
        return gui.Frame([&] {
            for (int i = 0; i < 2; ++i)
                picker.DrawWithCallback("slot" + std::to_string(i), slots[i],
                                        [&slots, i](Ostrel::ITexture2D* t) { slots[i] = t; });
            picker.DrawForKey("Card", "texture_0");
            picker.Display();
        });
    };
    const std::string path = dir.File("pic.png");
    auto choose = [&](const std::string& tile) {
        HeadlessGui::Press(HeadlessGui::Window("T"), "##empty_tile", tile);
        frame();
        picker.GetBrowser().SetDirectory(dir.Path());
        ImGuiWindow* dialog = HeadlessGui::Window(picker.GetBrowser().GetOpenLabel());
        EXPECT_NE(frame().find("Select texture"), std::string::npos);
        HeadlessGui::Press(HeadlessGui::Child(dialog, "ch"), "[F] pic.png");
        frame();
        HeadlessGui::Press(dialog, " ok ");
        frame();
        picker.Update();
    };
    frame();
    choose("slot0");
    EXPECT_EQ(slots[0], textures.GetTexture(path));
    choose("slot1");
    EXPECT_EQ(slots[1], textures.GetTexture(path + " (2)"));
    EXPECT_EQ(slots[0], textures.GetTexture(path));  // still alive
    choose("slot0");                                 // the slot's own texture is replaced in place
    EXPECT_EQ(slots[0], textures.GetTexture(path));
    choose("Card");
    EXPECT_EQ(textures.paths.back(), path);
    EXPECT_NE(textures.GetTexture("texture_0"), nullptr);
    EXPECT_EQ(picker.GetMode(), 0u);
}
