// The in-game editor window, the effect panel and the texture picker on a
// headless ImGui context.
#include "EditorWindow.h"
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include "gl/GLEffectShader.h"
#include <gtest/gtest.h>

using namespace OstrelTest;

TEST(EditorWindow, WidgetsEditTheSettingsTheWindowAndTheEffects) {
    HeadlessGui gui;
    ScreenBed bed;
    TextureRecorder& textures = bed.textures;
    TexturePicker picker(&textures);
    // Effects live as long as the process (a GL shader is released only with a context).
    static auto* shader = new GLEffectShader("", "");
    static auto* effect = new EffectInstance(nullptr, nullptr, shader);
    ShaderUniform* weights = shader->CreateUniform("u_weights", Vec3);
    weights->value = vec3(3, 4, 0);
    shader->CreateUniform("u_strength", Float);
    int slot = 1;  // slots 1 to 3 hold the effect's own pictures
    for (const char* key : {"scanlines", "vignette", "noise"}) shader->textures[slot++] = textures.LoadTexture(key);
    GameData data;
    data.gameboyEffect = effect;  // the panel that offers "Normalize"
    data.texturePicker = &picker;
    data.normalizeFlags["u_weights"] = true;
    data.animationSpeed = 0.02f;
    int speedReports = 0;
    data.onAnimationSpeedChanged = [&](float) { ++speedReports; };
    std::string used;
    auto draw = [&] {
        EditorWindow(&data, bed.renderer, bed.windowManager, &textures).Draw([] {}, [] {}, [&] { used += "screen"; });
    };
    auto frame = [&] {
        gui.Frame(draw);  // a menu opened by a press has its window from the next frame on
        return gui.Frame(draw);
    };
    EXPECT_EQ(frame().find("Editor"), std::string::npos);  // hidden
    data.editorVisible = true;
    EXPECT_NE(frame().find("{ 2.000 } Animation Speed"), std::string::npos);  // hundredths of a radian a ms
    EXPECT_TRUE(data.animationSpeed == 0.02f && speedReports == 0);           // untouched without input
    ImGuiWindow* editor = HeadlessGui::Window("Editor");
    HeadlessGui::Press(editor, "Resolution");
    frame();
    HeadlessGui::Press(HeadlessGui::TopPopup(), "1280x720");
    frame();
    EXPECT_EQ(
        std::to_string(bed.windowManager->settings.width) + "x" + std::to_string(bed.windowManager->settings.height),
        "1280x720");
    data.postEffect = PostEffect::CRT;
    HeadlessGui::Press(editor, "Post Processing");
    frame();
    ImGuiWindow* post = HeadlessGui::TopPopup();
    HeadlessGui::Press(post, "None");
    frame();
    EXPECT_EQ(data.postEffect, PostEffect::None);
    HeadlessGui::Press(post, "Gameboy Screen Effect");
    const std::string text = frame();
    for (const char* shown : {"u_strength", "u_weights", "Normalize", "scanlines", "vignette", "noise"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
    ImGuiWindow* panel = HeadlessGui::TopPopup();
    HeadlessGui::Press(panel, "Normalize", "u_weights");
    frame();
    EXPECT_EQ(std::to_string(weights->value.x) + " " + std::to_string(weights->value.y), "0.600000 0.800000");
    HeadlessGui::Press(panel, "Use");
    frame();
    EXPECT_EQ(used, "screen");
}

// Two effect slots given the same picture must not share one texture: the
// second load would replace, and delete, the first slot's texture.
TEST(TexturePicker, ChosenPicturesReachTheirSlotOrKey) {
    TempDir dir;
    dir.Write("pic.png", "x");
    const std::string path = dir.File("pic.png");
    HeadlessGui gui;
    TextureRecorder textures;
    TexturePicker picker(&textures);
    ITexture2D* slots[2] = {textures.LoadTexture("one"), textures.LoadTexture("two")};
    auto frame = [&] {
        return gui.Frame([&] {
            for (int i = 0; i < 2; ++i)
                picker.DrawWithCallback("slot" + std::to_string(i), slots[i],
                                        [&slots, i](ITexture2D* t) { slots[i] = t; });
            picker.DrawForKey("Card", "texture_0");
            picker.Display();
        });
    };
    frame();
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
    choose("slot0");
    choose("slot1");
    EXPECT_EQ(slots[1], textures.GetTexture(path + " (2)"));
    EXPECT_EQ(slots[0], textures.GetTexture(path));  // still alive
    choose("slot0");                                 // the slot's own texture is replaced in place
    EXPECT_EQ(slots[0], textures.GetTexture(path));
    choose("Card");
    EXPECT_TRUE(textures.paths.back() == path && textures.GetTexture("texture_0") != nullptr);
    EXPECT_EQ(picker.GetMode(), 0u);
}
