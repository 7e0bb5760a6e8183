// The editor window, effect panel, texture picker and file dialog on a headless ImGui context.
#include "EditorWindow.h"
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include "gl/GLEffectShader.h"
#include "platform/DriveQuery.h"

namespace fs = std::filesystem;
using namespace OstrelTest;

TEST(EditorWindow, ShowsTheAnimationSpeedAndAnEffectsUniformsAndPictures) {
    ScreenBed bed;
    TexturePicker picker(&bed.textures);
    // Effects live as long as the process (a GL shader is released only with a context).
    static auto* shader = new GLEffectShader("", "");
    static auto* effect = new EffectInstance(nullptr, nullptr, shader);
    shader->CreateUniform("u_weights", Vec3);
    shader->CreateUniform("u_strength", Float);
    int slot = 1;  // slots 1 to 3 hold the effect's own pictures
    for (const char* key : {"scanlines", "vignette", "noise"}) shader->textures[slot++] = bed.textures.LoadTexture(key);
    GameData& data = bed.gameData;
    data.gameboyEffect = effect;
    data.texturePicker = &picker;
    data.animationSpeed = 0.02f;
    HeadlessGui gui(
        [&] { EditorWindow(&data, bed.renderer, bed.windowManager, &bed.textures).Draw([] {}, [] {}, [] {}); });
    data.editorVisible = true;
    gui.Frame();
    EXPECT_NE(gui.Frame().find("{ 2.000 } Animation Speed"), std::string::npos);  // hundredths of a radian a ms
    gui.Press(HeadlessGui::Window("Editor"), "Post Processing");
    const std::string text = gui.Press(HeadlessGui::TopPopup(), "Gameboy Screen Effect");
    for (const char* shown : {"u_strength", "u_weights", "scanlines", "vignette", "noise"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
}

// Two slots given one picture must not share a texture: a second load under its key would delete the first.
TEST(TexturePicker, ChosenPicturesReachTheirSlot) {
    TempDir dir;
    dir.Write("pic.png", "x");
    const std::string path = dir.File("pic.png");
    TextureRecorder textures;
    TexturePicker picker(&textures);
    ITexture2D* slots[2] = {textures.LoadTexture("one"), textures.LoadTexture("two")};
    HeadlessGui gui([&] {
        for (int i = 0; i < 2; ++i)
            picker.DrawWithCallback("slot" + std::to_string(i), slots[i], [&slots, i](ITexture2D* t) { slots[i] = t; });
        picker.Display();
    });
    gui.Frame();
    auto choose = [&](const std::string& tile) {
        gui.Press(HeadlessGui::Window("T"), "##empty_tile", tile);
        picker.GetBrowser().SetDirectory(dir.Path());
        ImGuiWindow* dialog = HeadlessGui::Window(picker.GetBrowser().GetOpenLabel());
        EXPECT_NE(gui.Press(HeadlessGui::Child(dialog, "ch"), "[F] pic.png").find("Select texture"), std::string::npos);
        gui.Press(dialog, " ok ");
        picker.Update();
    };
    choose("slot0");
    choose("slot1");
    EXPECT_TRUE(slots[1] == textures.GetTexture(path + " (2)") && slots[0] == textures.GetTexture(path));
}

struct Dialog {
    TempDir dir;
    FileBrowser browser;
    HeadlessGui gui{[this] { browser.Display(); }};
    explicit Dialog(uint32_t flags = 0) : browser(flags) {
        for (const char* file : {"a.png", "b.JPG", "c.txt", "$skip.png", "sub/d.png"}) dir.Write(file, "x");
        browser.SetDirectory(dir.Path());
        browser.Open();
        gui.Frame();
    }
    ImGuiWindow* Window() { return HeadlessGui::Window(browser.GetOpenLabel()); }
    std::string Selected() {
        std::string names;
        for (const fs::path& name : browser.GetSelectedNames()) names += (names.empty() ? "" : ",") + name.string();
        return names + "|" + browser.GetInputName();
    }
};

TEST(FileBrowser, ListsFilteredEntriesAndMakesDirectories) {
    Dialog d(FileBrowserFlags::AllowNewDirectory);
    d.browser.SetTypeFilters({".PNG", ".jpg", ".png"});
    EXPECT_EQ(d.browser.GetTypeFilters(), (std::vector<std::string>{".png,.jpg", ".png", ".jpg"}));
    std::string text = d.gui.Frame();
    // The path buttons share a line; directories first, then files, names sorted.
    EXPECT_NE(text.find("[ / ] [ tmp ] [ " + fs::path(d.dir.Path()).filename().string() + " ]"), std::string::npos);
    EXPECT_NE(text.find("[D] ..\n[D] sub\n[F] a.png\n[F] b.JPG\n[  ok  ]"), std::string::npos) << text;
    const size_t records = d.browser.GetFileRecords().size();
    d.browser.Open();  // reopening lists anew
    EXPECT_EQ(d.browser.GetFileRecords().size(), records);
    d.gui.Press(d.Window(), "##type_filters");
    text = d.gui.Press(HeadlessGui::TopPopup(), ".png");
    EXPECT_TRUE(text.find("[F] a.png") != std::string::npos && text.find("b.JPG") == std::string::npos) << text;
    d.gui.Press(d.Window(), "+");
    d.gui.Press(HeadlessGui::TopPopup(), "name");
    ImGui::GetIO().AddInputCharactersUTF8("made");
    d.gui.Frame();
    d.gui.Press(HeadlessGui::TopPopup(), "ok");
    EXPECT_TRUE(fs::is_directory(d.dir.File("made")) && d.gui.Frame().find("[D] made") != std::string::npos);
    EXPECT_EQ(d.browser.GetDrives() + QueryBrowsableDrives(), 0u);  // no drive letters here
}

TEST(FileBrowser, ClickRules) {
    const uint32_t multi = FileBrowserFlags::MultiSelect, dirs = FileBrowserFlags::DirectoriesOnly;
    const std::tuple<uint32_t, bool, std::vector<std::string>, const char*> rows[] = {
        // flags, Ctrl held, clicks: the selection | the name field
        {0, false, {"[F] a.png"}, "a.png|a.png"},
        {0, false, {"[F] a.png", "[F] a.png"}, "|"},  // a second click deselects
        {0, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG|b.JPG"},
        {0, false, {"[F] a.png", "[D] sub"}, "a.png|a.png"},  // the wrong kind is ignored
        {0, false, {"[F] a.png", "[D] .."}, "|a.png"},
        {multi, true, {"[F] a.png", "[F] b.JPG"}, "a.png,b.JPG|b.JPG"},
        {multi, true, {"[F] a.png", "[F] b.JPG", "[F] a.png"}, "b.JPG|"},
        {multi, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG|b.JPG"},
        {dirs, false, {"[D] sub", "[F] a.png"}, "sub|"},
    };
    for (const auto& [flags, ctrl, clicks, selected] : rows) {
        Dialog d(flags);
        ImGui::GetIO().KeyCtrl = ctrl;
        for (const std::string& label : clicks) d.gui.Press(HeadlessGui::Child(d.Window(), "ch"), label);
        ImGui::GetIO().KeyCtrl = false;
        EXPECT_EQ(d.Selected(), selected) << clicks.back() << " after " << clicks.size() - 1;
        d.gui.Press(d.Window(), " ok ");
        EXPECT_EQ(d.browser.HasSelected(), selected[0] != '|');
    }
}

TEST(FileBrowser, VanishedWorkingDirectoryIsReportedAndTheDialogStaysUsable) {
    TempDir dir;
    dir.Write("gone/x", "x");
    dir.Write("here/a.png", "x");
    ScopedChdir chdir(dir.File("gone"));
    fs::remove_all(dir.File("gone"));
    FileBrowser browser;
    HeadlessGui gui([&] { browser.Display(); });
    browser.Open();
    gui.Frame();
    EXPECT_NE(gui.Frame().find("last error: "), std::string::npos);
    EXPECT_TRUE(browser.SetDirectory(dir.File("here")) && gui.Frame().find("[F] a.png") != std::string::npos);
}
