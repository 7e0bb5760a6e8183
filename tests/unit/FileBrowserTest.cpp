// The editor's file dialog on a headless ImGui context and a temporary tree.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "editor/FileBrowser.h"
#include "platform/DriveQuery.h"
#include <gtest/gtest.h>
#include <filesystem>

namespace fs = std::filesystem;
using namespace OstrelTest;

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
