// The in-game editor window, the effect panel, the texture picker and the file
// dialog, on a headless ImGui context.
#include "EditorWindow.h"
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/FileBrowser.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include "gl/GLEffectShader.h"
#include "platform/DriveQuery.h"
#include <gtest/gtest.h>
#include <filesystem>

namespace fs = std::filesystem;
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

namespace {
struct Dialog {
    TempDir dir;
    HeadlessGui gui;
    FileBrowser browser;
    explicit Dialog(uint32_t flags = 0) : browser(flags) {
        for (const char* file : {"a.png", "b.JPG", "c.txt", "$skip.png", "sub/d.png"}) dir.Write(file, "x");
        browser.SetDirectory(dir.Path());
        browser.Open();
        Frame();
    }
    std::string Frame() {
        return gui.Frame([this] { browser.Display(); });
    }
    ImGuiWindow* Window() { return HeadlessGui::Window(browser.GetOpenLabel()); }
    std::string Press(ImGuiWindow* window, const std::string& label) {
        HeadlessGui::Press(window, label);
        return Frame();
    }
    std::string Selected() {
        std::string names;
        for (const fs::path& name : browser.GetSelectedNames()) names += (names.empty() ? "" : ",") + name.string();
        return names;
    }
};
}  // namespace

TEST(FileBrowser, ListsFilteredEntriesAndMakesDirectories) {
    Dialog d(FileBrowserFlags::AllowNewDirectory);
    d.browser.SetTypeFilters({".PNG", ".jpg", ".png"});
    EXPECT_EQ(d.browser.GetTypeFilters(), (std::vector<std::string>{".png,.jpg", ".png", ".jpg"}));
    std::string text = d.Frame();
    // The path buttons share a line; directories first, then files, names sorted.
    EXPECT_NE(text.find("[ / ] [ tmp ] [ " + fs::path(d.dir.Path()).filename().string() + " ]"), std::string::npos)
        << text;
    EXPECT_NE(text.find("[D] ..\n[D] sub\n[F] a.png\n[F] b.JPG\n[  ok  ]"), std::string::npos) << text;
    const size_t records = d.browser.GetFileRecords().size();
    d.browser.Open();  // reopening lists anew
    EXPECT_EQ(d.browser.GetFileRecords().size(), records);
    d.Press(d.Window(), "##type_filters");
    text = d.Press(HeadlessGui::TopPopup(), ".png");
    EXPECT_EQ(d.browser.GetTypeFilterIndex(), 1u);
    text = d.Frame();
    EXPECT_NE(text.find("[F] a.png"), std::string::npos) << text;
    EXPECT_EQ(text.find("b.JPG"), std::string::npos) << text;

    d.Press(d.Window(), "+");
    d.Press(HeadlessGui::TopPopup(), "name");
    ImGui::GetIO().AddInputCharactersUTF8("made");
    d.Frame();
    d.Press(HeadlessGui::TopPopup(), "ok");
    EXPECT_TRUE(fs::is_directory(d.dir.File("made")));
    EXPECT_NE(d.Frame().find("[D] made"), std::string::npos);
    EXPECT_EQ(d.browser.GetDrives() + QueryBrowsableDrives(), 0u);  // no drive letters here
}

TEST(FileBrowser, ClickRules) {
    struct Row {
        uint32_t flags;
        bool ctrl;
        std::vector<std::string> clicks;
        const char* selected;
        const char* name;  // the name field
    };
    const uint32_t multi = FileBrowserFlags::MultiSelect, dirs = FileBrowserFlags::DirectoriesOnly;
    const Row rows[] = {
        {0, false, {"[F] a.png"}, "a.png", "a.png"},
        {0, false, {"[F] a.png", "[F] a.png"}, "", ""},  // a second click deselects
        {0, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG", "b.JPG"},
        {0, false, {"[F] a.png", "[D] sub"}, "a.png", "a.png"},  // the wrong kind is ignored
        {0, false, {"[F] a.png", "[D] .."}, "", "a.png"},
        {multi, true, {"[F] a.png", "[F] b.JPG"}, "a.png,b.JPG", "b.JPG"},
        {multi, true, {"[F] a.png", "[F] b.JPG", "[F] a.png"}, "b.JPG", ""},
        {multi, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG", "b.JPG"},
        {dirs, false, {"[D] sub", "[F] a.png"}, "sub", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.clicks.back() + " after " + std::to_string(row.clicks.size() - 1));
        Dialog d(row.flags);
        ImGui::GetIO().KeyCtrl = row.ctrl;
        for (const std::string& label : row.clicks) d.Press(HeadlessGui::Child(d.Window(), "ch"), label);
        ImGui::GetIO().KeyCtrl = false;
        EXPECT_EQ(d.Selected(), row.selected);
        EXPECT_STREQ(d.browser.GetInputName(), row.name);
        d.Press(d.Window(), " ok ");
        EXPECT_EQ(d.browser.HasSelected(), *row.selected != '\0');
    }
}

TEST(FileBrowser, VanishedWorkingDirectoryIsReportedAndTheDialogStaysUsable) {
    TempDir dir;
    dir.Write("gone/x", "x");
    dir.Write("here/a.png", "x");
    ScopedChdir chdir(dir.File("gone"));
    fs::remove_all(dir.File("gone"));
    HeadlessGui gui;
    FileBrowser browser;
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u) << browser.GetStatusText();
    browser.Open();
    gui.Frame([&] { browser.Display(); });
    EXPECT_NE(gui.Frame([&] { browser.Display(); }).find("last error: "), std::string::npos);
    EXPECT_TRUE(browser.SetDirectory(dir.File("here")));
    EXPECT_NE(gui.Frame([&] { browser.Display(); }).find("[F] a.png"), std::string::npos);
}
