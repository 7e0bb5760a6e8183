// The editor window, effect panel, texture picker and file dialog on a headless ImGui context.
#include "EditorWindow.h"
#include "GameRunState.h"
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include "gl/GLEffectShader.h"

namespace fs = std::filesystem;
using namespace OstrelTest;

// Every action reaches the game: the speed its cards turn at, the window, the effect drawn through and
// the pictures, each replacing its own slot or key and no other.
TEST(EditorWindow, ActionsReachTheGameAndItsCards) {
    TempDir dir;
    for (const char* file : {"p1.png", "p2.png"}) dir.Write(file, "x");
    std::string config = "card=c.png\nicon_navbar=n.png\n";
    for (int i = 0; i < 14; ++i) config += "texture_" + std::to_string(i) + "=t.png\n";
    ScreenBed bed(config);
    GameRunState* run = bed.Add("game", new GameRunState(&bed, &bed.gameData));
    TexturePicker picker(&bed.textures);
    // The game's own picker loads through GL, and the bed deletes it: it is put back before then.
    std::shared_ptr<void> restore(
        nullptr, [&bed, own = bed.gameData.texturePicker](void*) { bed.gameData.texturePicker = own; });
    // Effects live as long as the process (a GL shader is released only with a context).
    static auto* shader = new GLEffectShader("", "");
    static auto* effect = new EffectInstance(nullptr, nullptr, shader);
    ShaderUniform* weights = shader->CreateUniform("u_weights", Vec3);
    weights->value = {1, 2, 2};
    shader->CreateUniform("u_strength", Float);
    const char* keys[] = {"scanlines", "vignette", "noise"};  // slots 1 to 3 hold the effect's own pictures
    for (int k = 1; k <= 3; ++k) shader->textures[k] = bed.textures.LoadTexture(keys[k - 1]);
    GameData& data = bed.gameData;
    data.ditherEffect = data.crtEffect = data.gameboyEffect = effect;  // each panel's "Use" names its own
    data.normalizeFlags["u_weights"] = true;
    data.texturePicker = &picker;
    data.animationSpeed = 0.02f;
    HeadlessGui gui([&] { bed.Game::Render(); });
    data.editorVisible = true;
    gui.Frame();
    ImGuiWindow* editor = HeadlessGui::Window("Editor");
    EXPECT_NE(gui.Frame().find("{ 2.000 } Animation Speed"), std::string::npos);  // hundredths of a radian a ms
    gui.Click(HeadlessGui::Id(editor, "Animation Speed"), 1, 0.99f);              // the slider's far end
    EXPECT_FLOAT_EQ(data.animationSpeed, 0.1f);
    EXPECT_FLOAT_EQ(run->cards.back().flipSpeed, 0.1f);
    gui.Press(editor, "Resolution");
    for (const char* size : {"1920x1080", "800x600", "1600x900", "1280x720"}) {
        gui.Press(HeadlessGui::Window("##Menu_00"), size);
        const WindowSettings& window = bed.windowManager->settings;
        EXPECT_EQ(std::to_string(window.width) + "x" + std::to_string(window.height), size);
    }
    const std::pair<const char*, int> uses[] = {
        {"CRT Effect", 1}, {"Ordered Dithering", 2}, {"Gameboy Screen Effect", 3}};
    gui.Press(editor, "Post Processing");
    for (const auto& [panel, chosen] : uses) {
        gui.Press(HeadlessGui::Window("##Menu_00"), panel);
        gui.Press(HeadlessGui::Window("##Menu_01"), "Use");
        EXPECT_EQ(int(data.postEffect), chosen) << panel;
        gui.Press(HeadlessGui::Window("##Menu_00"), "None");
        EXPECT_EQ(int(data.postEffect), 0) << panel;
    }
    const std::string text = gui.Press(HeadlessGui::Window("##Menu_00"), "Gameboy Screen Effect");
    for (const char* shown : {"u_strength", "u_weights", "scanlines", "vignette", "noise"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
    gui.Press(HeadlessGui::Window("##Menu_01"), "Normalize", "u_weights");
    EXPECT_FLOAT_EQ(weights->value.x, 1 / 3.0f);
    EXPECT_FLOAT_EQ(weights->value.z, 2 / 3.0f);
    auto choose = [&](const std::string& file) {
        ImGuiWindow* dialog = HeadlessGui::Window(picker.GetBrowser().GetOpenLabel());
        picker.GetBrowser().SetDirectory(dir.Path());
        gui.Press(HeadlessGui::Child(dialog, "ch"), "[F] " + file);
        gui.Press(dialog, " ok ");
        data.editorVisible = false;  // the game polls the picker with the editor hidden too
        bed.Game::Update(16.0f);
        data.editorVisible = true;
    };
    // A picture given to two slots gets a second key: a load under the first would delete the first slot's.
    const std::string picked[] = {dir.File("p1.png"), dir.File("p2.png"), dir.File("p1.png") + " (2)"};
    for (int k = 1; k <= 3; ++k) {
        gui.Press(editor, "Post Processing");
        gui.Press(HeadlessGui::Window("##Menu_00"), "Gameboy Screen Effect");
        gui.Press(HeadlessGui::Window("##Menu_01"), "##empty_tile", keys[k - 1]);
        choose(k == 2 ? "p2.png" : "p1.png");
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(shader->textures[j], bed.textures.GetTexture(j <= k ? picked[j - 1] : keys[j - 1])) << k << j;
    }
    ITexture2D* const card = bed.textures.GetTexture("texture_13");  // the last card picture
    gui.Press(editor, "Textures");
    gui.Press(HeadlessGui::Window("##Menu_00"), "##empty_tile", "texture_13");
    choose("p1.png");
    EXPECT_NE(bed.textures.GetTexture("texture_13"), card);
    EXPECT_EQ(bed.textures.paths.back(), dir.File("p1.png"));
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
    ImGuiWindow* Window() { return HeadlessGui::TopPopup(); }  // while it is the only popup open
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
    for (const char* file : {"e.pngx", "f.pn", "g\xff.PnG"}) d.dir.Write(file, "x");  // the last not UTF-8
    d.browser.SetDirectory(d.dir.Path());
    std::string text = d.gui.Frame();
    // One path button per directory, on one line; directories first, then files, names sorted.
    std::string bar;
    int last = -1;
    for (const fs::path& part : fs::path(d.dir.Path())) bar += (++last ? " [ " : "[ ") + part.string() + " ]";
    EXPECT_NE(text.find(bar + " [ * ]"), std::string::npos) << text;
    EXPECT_NE(text.find("[D] ..\n[D] sub\n[F] a.png\n[F] b.JPG\n[F] g\xff.PnG\n[  ok  ]"), std::string::npos) << text;
    d.browser.SetDirectory(d.dir.File("sub"));  // then the button of the directory above opens it
    d.gui.Press(
        ImHashStr(fs::path(d.dir.Path()).filename().c_str(), 0, ImHashData(&last, sizeof last, d.Window()->ID)));
    EXPECT_EQ(d.browser.GetCurrentDirectory(), d.dir.Path());
    d.gui.Click(HeadlessGui::Id(HeadlessGui::Child(d.Window(), "ch"), "[D] sub"), 2);  // a double-click enters
    EXPECT_EQ(d.browser.GetCurrentDirectory(), d.dir.File("sub"));
    d.gui.Click(HeadlessGui::Id(HeadlessGui::Child(d.Window(), "ch"), "[D] .."), 2);
    EXPECT_EQ(d.browser.GetCurrentDirectory(), d.dir.Path());
    const size_t records = d.browser.GetFileRecords().size();
    d.browser.Open();  // reopening lists anew
    EXPECT_EQ(d.browser.GetFileRecords().size(), records);
    d.gui.Press(d.Window(), "##type_filters");
    text = d.gui.Press(HeadlessGui::TopPopup(), ".png");
    EXPECT_NE(text.find("[F] a.png"), std::string::npos) << text;
    EXPECT_EQ(text.find("b.JPG"), std::string::npos) << text;
    d.gui.Press(d.Window(), "+");
    d.gui.Press(HeadlessGui::TopPopup(), "name");
    ImGui::GetIO().AddInputCharactersUTF8("made");
    d.gui.Frame();
    d.gui.Press(HeadlessGui::TopPopup(), "ok");
    EXPECT_TRUE(fs::is_directory(d.dir.File("made")));
    EXPECT_NE(d.gui.Frame().find("[D] made"), std::string::npos);
    d.gui.Click(HeadlessGui::Id(HeadlessGui::Child(d.Window(), "ch"), "[F] a.png"), 2);  // a double-click confirms
    EXPECT_TRUE(d.browser.HasSelected());
    EXPECT_EQ(d.browser.GetSelected(), d.dir.File("a.png"));
}

// The same rules in every kind of dialog: modal or a plain popup, with a title bar or without.
TEST(FileBrowser, ClickRulesAndDialogKinds) {
    const uint32_t multi = FileBrowserFlags::MultiSelect, dirs = FileBrowserFlags::DirectoriesOnly;
    const uint32_t plain = FileBrowserFlags::NonModal, bare = FileBrowserFlags::NoTitleBar;
    const std::tuple<uint32_t, bool, std::vector<std::string>, const char*> rows[] = {
        // flags, Ctrl held, clicks: the selection | the name field
        {0, false, {"[F] a.png"}, "a.png|a.png"},
        {0, false, {"[F] a.png", "[F] a.png"}, "|"},  // a second click deselects
        {bare, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG|b.JPG"},
        {plain | bare, false, {"[F] a.png", "[D] sub"}, "a.png|a.png"},  // the wrong kind is ignored
        {0, false, {"[F] a.png", "[D] .."}, "|a.png"},
        {multi, true, {"[F] a.png", "[F] b.JPG"}, "a.png,b.JPG|b.JPG"},
        {multi, true, {"[F] a.png", "[F] b.JPG", "[F] a.png"}, "b.JPG|"},
        {multi | plain, false, {"[F] a.png", "[F] b.JPG"}, "b.JPG|b.JPG"},
        {dirs, false, {"[D] sub", "[F] a.png"}, "sub|"},
    };
    for (const auto& [flags, ctrl, clicks, selected] : rows) {
        Dialog d(flags);
        const ImGuiWindowFlags shown = d.Window()->Flags;
        EXPECT_EQ((shown & ImGuiWindowFlags_Modal) != 0, (flags & plain) == 0) << flags;
        EXPECT_EQ((shown & ImGuiWindowFlags_NoTitleBar) == 0, (flags & (plain | bare)) == 0) << flags;  // nor a popup
        ImGui::GetIO().KeyCtrl = ctrl;
        for (const std::string& label : clicks) d.gui.Press(HeadlessGui::Child(d.Window(), "ch"), label);
        ImGui::GetIO().KeyCtrl = false;
        EXPECT_EQ(d.Selected(), selected) << clicks.back() << " after " << clicks.size() - 1;
        d.gui.Press(d.Window(), " ok ");
        EXPECT_EQ(d.browser.HasSelected(), selected[0] != '|');
        d.browser.ClearSelected();
        EXPECT_FALSE(d.browser.HasSelected());
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
    EXPECT_TRUE(browser.SetDirectory(dir.File("here")));
    const std::string text = gui.Frame();
    EXPECT_NE(text.find("[F] a.png"), std::string::npos);
    EXPECT_NE(text.find("last error: "), std::string::npos);  // until the dialog is opened again
    browser.Open();
    EXPECT_EQ(gui.Frame().find("last error: "), std::string::npos);
}
