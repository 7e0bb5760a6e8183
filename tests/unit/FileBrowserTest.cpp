// The file dialog driven like a user would: a real directory tree, a headless
// ImGui context, the mouse placed on entries and buttons found by their ImGui
// identifiers, keys and characters fed through ImGuiIO.
#include "HeadlessImGui.h"
#include "TempDir.h"
#include "editor/FileBrowser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using OstrelTest::HeadlessImGui;
using OstrelTest::TempDir;

namespace {

std::vector<std::string> Names(const FileBrowser& browser) {
    std::vector<std::string> names;
    for (const FileBrowser::FileRecord& record : browser.GetFileRecords()) names.push_back(record.name.string());
    return names;
}

std::vector<std::string> Selection(const FileBrowser& browser) {
    std::vector<std::string> names;
    for (const fs::path& name : browser.GetSelectedNames()) names.push_back(name.string());
    return names;
}

// A fixture with one tree:
//   root/  Alpha/  beta/  (paren/  $hidden/  empty/
//          A.png  a.txt  b.png  c.JPG  d.gif  noext  .png  $secret.png
class FileBrowserTest : public ::testing::Test {
protected:
    TempDir tmp;
    fs::path root;
    HeadlessImGui gui{nullptr};

    void SetUp() override {
        root = fs::path(tmp.Path()) / "root";
        for (const char* dir : {"Alpha", "beta", "(paren", "$hidden", "empty"}) fs::create_directories(root / dir);
        for (const char* file : {"A.png", "a.txt", "b.png", "c.JPG", "d.gif", "noext", ".png", "$secret.png"})
            tmp.Write(std::string("root/") + file, "x");
        tmp.Write("root/Alpha/inner.png", "x");
    }

    void Show(FileBrowser& browser) {
        gui.SetDraw([&browser] { browser.Display(); });
        browser.Open();
        gui.Frames(2);
    }

    static ImGuiWindow* Dialog(const FileBrowser& browser) {
        return HeadlessImGui::FindWindowByName(browser.GetOpenLabel());
    }
    static ImGuiWindow* List(const FileBrowser& browser) { return HeadlessImGui::FindChild(Dialog(browser), "ch"); }
    bool IsShown(const FileBrowser& browser) {
        ImGuiWindow* dialog = Dialog(browser);
        return dialog != nullptr && dialog->Active;
    }

    // Visible entries of the list, top to bottom, by display text, with the
    // point at which each is hovered.
    std::vector<std::pair<std::string, ImVec2>> Rows(const FileBrowser& browser) {
        std::vector<std::pair<std::string, ImVec2>> rows;
        ImGuiWindow* list = List(browser);
        if (list == nullptr) return rows;
        std::map<ImGuiID, std::string> byId;
        for (const FileBrowser::FileRecord& record : browser.GetFileRecords())
            byId[HeadlessImGui::IdIn(list, record.displayText.c_str())] = record.displayText;
        const ImRect area = list->InnerRect;
        for (float y = area.Min.y + 1.0f; y < area.Max.y; y += 3.0f) {
            const ImVec2 pos(area.Min.x + 12.0f, y);
            gui.MoveMouse(pos);
            auto found = byId.find(gui.HoveredId());
            if (found == byId.end()) continue;
            if (rows.empty() || rows.back().first != found->second) rows.emplace_back(found->second, pos);
        }
        return rows;
    }

    std::vector<std::string> Visible(const FileBrowser& browser) {
        std::vector<std::string> texts;
        for (const auto& row : Rows(browser)) texts.push_back(row.first);
        return texts;
    }

    std::optional<ImVec2> RowOf(const FileBrowser& browser, const std::string& text) {
        for (const auto& row : Rows(browser))
            if (row.first == text) return row.second;
        return std::nullopt;
    }

    void ClickEntry(const FileBrowser& browser, const std::string& text, bool twice = false) {
        const std::optional<ImVec2> pos = RowOf(browser, text);
        ASSERT_TRUE(pos.has_value()) << text << " is not listed";
        twice ? gui.DoubleClick(*pos) : gui.Click(*pos);
    }
    void DoubleClickEntry(const FileBrowser& browser, const std::string& text) { ClickEntry(browser, text, true); }

    void ClickButton(const FileBrowser& browser, const char* label) {
        ImGuiWindow* dialog = Dialog(browser);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, label))) << "no button " << label;
    }
};

TEST_F(FileBrowserTest, ListsDirectoriesFirstInPathOrderWithDotDotSortedAmongThem) {
    FileBrowser browser;
    ASSERT_TRUE(browser.SetDirectory(root));
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::absolute(root));
    EXPECT_EQ(Names(browser),
              (std::vector<std::string>{"$hidden", "(paren", "..", "Alpha", "beta", "empty", "$secret.png", ".png",
                                        "A.png", "a.txt", "b.png", "c.JPG", "d.gif", "noext"}));
    const auto& records = browser.GetFileRecords();
    EXPECT_TRUE(records[2].isDirectory);
    EXPECT_EQ(records[2].displayText, "[D] ..");
    EXPECT_TRUE(records[2].extension.empty());
    EXPECT_EQ(records[3].displayText, "[D] Alpha");
    EXPECT_EQ(records[8].displayText, "[F] A.png");
    EXPECT_EQ(records[8].extension, ".png");
    EXPECT_TRUE(records[7].extension.empty()) << "a leading dot is not an extension";
    EXPECT_TRUE(records[13].extension.empty());
    EXPECT_FALSE(records[13].isDirectory);
}

TEST_F(FileBrowserTest, ShowsEveryEntryButThoseStartingWithDollar) {
    FileBrowser browser;
    browser.SetDirectory(root);
    Show(browser);
    ASSERT_TRUE(IsShown(browser));
    EXPECT_EQ(Visible(browser),
              (std::vector<std::string>{"[D] (paren", "[D] ..", "[D] Alpha", "[D] beta", "[D] empty", "[F] .png",
                                        "[F] A.png", "[F] a.txt", "[F] b.png", "[F] c.JPG", "[F] d.gif", "[F] noext"}));
}

TEST_F(FileBrowserTest, TypeFiltersAreLowerCasedMergedAndJoined) {
    FileBrowser browser;
    browser.SetTypeFilters({".png", ".PNG"});
    EXPECT_EQ(browser.GetTypeFilters(), (std::vector<std::string>{".png"}));
    EXPECT_FALSE(browser.HasAllFilter());

    browser.SetTypeFilters({".PNG", ".jpg", ".png"});
    EXPECT_EQ(browser.GetTypeFilters(), (std::vector<std::string>{".png,.jpg", ".png", ".jpg"}));
    EXPECT_TRUE(browser.HasAllFilter());
    EXPECT_EQ(browser.GetTypeFilterIndex(), 0u);

    browser.SetTypeFilters({".png", ".*"});
    EXPECT_EQ(browser.GetTypeFilters(), (std::vector<std::string>{".png", ".*"}));
    EXPECT_FALSE(browser.HasAllFilter());
    EXPECT_EQ(browser.GetTypeFilterIndex(), 0u);

    browser.SetTypeFilters({".png", ".jpg"});
    browser.SetTypeFilters({".png"});  // the earlier join is not kept
    EXPECT_EQ(browser.GetTypeFilters(), (std::vector<std::string>{".png"}));
    EXPECT_FALSE(browser.HasAllFilter());
}

TEST_F(FileBrowserTest, JoinedFilterListsBothTypesAndTheComboNarrowsToOne) {
    FileBrowser browser;
    browser.SetDirectory(root);
    browser.SetTypeFilters({".png", ".jpg"});
    Show(browser);
    EXPECT_EQ(Visible(browser), (std::vector<std::string>{"[D] (paren", "[D] ..", "[D] Alpha", "[D] beta", "[D] empty",
                                                          "[F] A.png", "[F] b.png", "[F] c.JPG"}));

    // Open the filter combo and choose ".jpg".
    ImGuiWindow* dialog = Dialog(browser);
    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, "##type_filters")));
    ImGuiWindow* combo = HeadlessImGui::TopPopup();
    ASSERT_NE(combo, dialog);
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(gui.ClickItem(combo, HeadlessImGui::IdIn(combo, ".jpg")));
    EXPECT_EQ(browser.GetTypeFilterIndex(), 2u);
    EXPECT_EQ(Visible(browser),
              (std::vector<std::string>{"[D] (paren", "[D] ..", "[D] Alpha", "[D] beta", "[D] empty", "[F] c.JPG"}));
}

TEST_F(FileBrowserTest, AnyFilterListsFilesWithoutExtension) {
    FileBrowser browser;
    browser.SetDirectory(root / "Alpha");
    tmp.Write("root/Alpha/README", "x");
    browser.SetTypeFilters({".png", ".*"});
    Show(browser);
    EXPECT_EQ(Visible(browser), (std::vector<std::string>{"[D] ..", "[F] inner.png"}));

    ImGuiWindow* dialog = Dialog(browser);
    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, "##type_filters")));
    ImGuiWindow* combo = HeadlessImGui::TopPopup();
    ASSERT_TRUE(gui.ClickItem(combo, HeadlessImGui::IdIn(combo, ".*")));
    EXPECT_EQ(Visible(browser), (std::vector<std::string>{"[D] ..", "[F] README", "[F] inner.png"}));
}

TEST_F(FileBrowserTest, MissingDirectoryIsReportedAndTheWorkingDirectoryListed) {
    OstrelTest::ScopedChdir cwd((root / "Alpha").string());
    FileBrowser browser;
    browser.SetDirectory(root);
    EXPECT_FALSE(browser.SetDirectory(root / "does-not-exist"));
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u) << browser.GetStatusText();
    EXPECT_NE(browser.GetStatusText().find("does-not-exist"), std::string::npos);
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::current_path());
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"..", "inner.png"}));

    // A later success leaves the message until the dialog is opened again.
    EXPECT_TRUE(browser.SetDirectory(root));
    EXPECT_FALSE(browser.GetStatusText().empty());
    browser.Open();
    EXPECT_TRUE(browser.GetStatusText().empty());
}

TEST_F(FileBrowserTest, PlainClicksSelectOneFileAndDirectoriesNotAtAll) {
    FileBrowser browser;
    browser.SetDirectory(root);
    Show(browser);

    ClickEntry(browser, "[F] A.png");
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png"}));
    EXPECT_STREQ(browser.GetInputName(), "A.png");

    ClickEntry(browser, "[F] b.png");
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"b.png"}));

    ClickEntry(browser, "[D] Alpha");  // a directory is not a choice here
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"b.png"}));

    ClickEntry(browser, "[F] b.png");  // clicking the selection again drops it
    EXPECT_TRUE(Selection(browser).empty());
    EXPECT_STREQ(browser.GetInputName(), "");

    ClickEntry(browser, "[F] a.txt");
    ClickEntry(browser, "[D] ..");
    EXPECT_TRUE(Selection(browser).empty());

    ClickButton(browser, " ok ");  // nothing selected: ok does nothing
    EXPECT_FALSE(browser.HasSelected());
    EXPECT_TRUE(IsShown(browser));

    ClickEntry(browser, "[F] b.png");  // without MultiSelect, modifiers do not add
    gui.SetModifiers(true, true);
    ClickEntry(browser, "[F] A.png");
    gui.SetModifiers(false, false);
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png"}));
}

TEST_F(FileBrowserTest, CtrlOrShiftClicksAddAndRemoveWithMultiSelect) {
    FileBrowser browser(FileBrowserFlags::MultiSelect);
    browser.SetDirectory(root);
    Show(browser);

    ClickEntry(browser, "[F] b.png");
    gui.SetModifiers(true, false);
    ClickEntry(browser, "[F] A.png");
    gui.SetModifiers(false, true);
    ClickEntry(browser, "[F] d.gif");
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png", "b.png", "d.gif"}));
    ClickEntry(browser, "[D] ..");  // a multi click on ".." changes nothing
    EXPECT_EQ(Selection(browser).size(), 3u);

    gui.SetModifiers(true, false);
    ClickEntry(browser, "[F] b.png");
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png", "d.gif"}));
    EXPECT_STREQ(browser.GetInputName(), "");

    gui.SetModifiers(false, false);
    ClickEntry(browser, "[F] A.png");  // a plain click on a selected entry empties it all
    EXPECT_TRUE(Selection(browser).empty());

    // The first in path order is the chosen path.
    ClickEntry(browser, "[F] d.gif");
    gui.SetModifiers(true, false);
    ClickEntry(browser, "[F] a.txt");
    gui.SetModifiers(false, false);
    ClickButton(browser, " ok ");
    EXPECT_TRUE(browser.HasSelected());
    EXPECT_FALSE(IsShown(browser));
    EXPECT_EQ(browser.GetSelected(), fs::absolute(root) / "a.txt");
}

TEST_F(FileBrowserTest, DirectoriesOnlySelectsDirectoriesAndConfirmsTheCurrentOne) {
    FileBrowser browser(FileBrowserFlags::DirectoriesOnly | FileBrowserFlags::NameInput);
    browser.SetDirectory(root);
    Show(browser);
    ClickEntry(browser, "[F] A.png");
    EXPECT_TRUE(Selection(browser).empty());
    ClickEntry(browser, "[D] beta");
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"beta"}));
    EXPECT_STREQ(browser.GetInputName(), "") << "the name field is not used for directories";
    ClickEntry(browser, "[D] beta");
    EXPECT_TRUE(Selection(browser).empty());

    DoubleClickEntry(browser, "[F] A.png");  // no file is ever confirmed
    EXPECT_FALSE(browser.HasSelected());

    ClickButton(browser, " ok ");
    EXPECT_TRUE(browser.HasSelected());
    EXPECT_EQ(browser.GetSelected(), fs::absolute(root));
}

TEST_F(FileBrowserTest, DoubleClicksEnterDirectoriesAndConfirmFiles) {
    FileBrowser browser;
    browser.SetDirectory(root);
    Show(browser);
    DoubleClickEntry(browser, "[D] Alpha");
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::absolute(root) / "Alpha");
    EXPECT_EQ(Visible(browser), (std::vector<std::string>{"[D] ..", "[F] inner.png"}));
    DoubleClickEntry(browser, "[D] ..");
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::absolute(root));
    DoubleClickEntry(browser, "[D] Alpha");

    DoubleClickEntry(browser, "[F] inner.png");
    EXPECT_TRUE(browser.HasSelected());
    EXPECT_FALSE(IsShown(browser));
    EXPECT_EQ(browser.GetSelected(), fs::absolute(root) / "Alpha" / "inner.png");

    browser.ClearSelected();
    EXPECT_FALSE(browser.HasSelected());
    EXPECT_TRUE(Selection(browser).empty());
    EXPECT_EQ(browser.GetSelected(), browser.GetCurrentDirectory());
}

TEST_F(FileBrowserTest, DotDotAtTheRootStaysThere) {
    FileBrowser browser;
    browser.SetDirectory("/");
    Show(browser);
    DoubleClickEntry(browser, "[D] ..");
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::path("/"));
    EXPECT_EQ(browser.GetFileRecords().front().isDirectory, true);
}

TEST_F(FileBrowserTest, PathButtonsReachEveryAncestorIncludingTheRoot) {
    FileBrowser browser;
    browser.SetDirectory(root / "Alpha");
    Show(browser);
    ImGuiWindow* dialog = Dialog(browser);
    const fs::path current = browser.GetCurrentDirectory();
    std::vector<std::string> elements;
    for (const fs::path& element : current) elements.push_back(element.string());
    ASSERT_GE(elements.size(), 3u);
    EXPECT_EQ(elements.front(), "/");

    // The parent of "Alpha": the second-to-last button.
    const int parentIndex = static_cast<int>(elements.size()) - 2;
    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, parentIndex, elements[parentIndex].c_str())));
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::absolute(root));

    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, 0, "/")));
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::path("/"));
    EXPECT_TRUE(browser.GetStatusText().empty());
}

TEST_F(FileBrowserTest, TypedNameIsTheSelection) {
    FileBrowser browser(FileBrowserFlags::NameInput);
    browser.SetDirectory(root);
    Show(browser);
    ImGuiWindow* dialog = Dialog(browser);
    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, &browser, "")));
    gui.Type("new.png");  // no such file: the typed name is chosen all the same
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"new.png"}));
    EXPECT_STREQ(browser.GetInputName(), "new.png");

    ClickEntry(browser, "[F] A.png");  // a click fills the field
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png"}));
    EXPECT_STREQ(browser.GetInputName(), "A.png");

    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, &browser, "")));
    gui.Type("z");
    EXPECT_EQ(Selection(browser).size(), 1u);
    EXPECT_EQ(Selection(browser).front(), browser.GetInputName());
    EXPECT_EQ(std::string(browser.GetInputName()).size(), 6u);

    ClickButton(browser, " ok ");
    EXPECT_TRUE(browser.HasSelected());
    EXPECT_EQ(browser.GetSelected(), fs::absolute(root) / browser.GetSelectedNames().begin()->string());
}

TEST_F(FileBrowserTest, NewDirectoryPopupCreatesListsAndReportsExistingNames) {
    FileBrowser browser(FileBrowserFlags::AllowNewDirectory);
    browser.SetDirectory(root);
    Show(browser);
    ImGuiWindow* dialog = Dialog(browser);

    auto openNewDir = [&]() -> ImGuiWindow* {
        EXPECT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, "+")));
        ImGuiWindow* popup = HeadlessImGui::TopPopup();
        EXPECT_NE(popup, dialog);
        return popup;
    };

    // An empty name keeps the popup open and creates nothing.
    ImGuiWindow* popup = openNewDir();
    ASSERT_NE(popup, nullptr);
    const int depth = HeadlessImGui::OpenPopupCount();
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "ok")));
    EXPECT_EQ(HeadlessImGui::OpenPopupCount(), depth);

    // A new name is created, listed, and the popup closes.
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "name")));
    gui.Type("fresh");
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "ok")));
    EXPECT_TRUE(fs::is_directory(root / "fresh"));
    EXPECT_EQ(HeadlessImGui::OpenPopupCount(), depth - 1);
    const std::vector<std::string> visible = Visible(browser);
    EXPECT_NE(std::find(visible.begin(), visible.end(), "[D] fresh"), visible.end());
    EXPECT_TRUE(browser.GetStatusText().empty());

    // An existing name is reported, and the popup closes.
    popup = openNewDir();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "name")));
    gui.Type("beta");
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "ok")));
    EXPECT_EQ(browser.GetStatusText(), "failed to create beta");
    EXPECT_EQ(HeadlessImGui::OpenPopupCount(), depth - 1);
}

TEST_F(FileBrowserTest, FailedCreationStaysInTheDialog) {
    FileBrowser browser(FileBrowserFlags::AllowNewDirectory);
    browser.SetDirectory(root);
    Show(browser);
    ImGuiWindow* dialog = Dialog(browser);
    ASSERT_TRUE(gui.ClickItem(dialog, HeadlessImGui::IdIn(dialog, "+")));
    ImGuiWindow* popup = HeadlessImGui::TopPopup();
    ASSERT_TRUE(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "name")));
    gui.Type("no/such/parent");  // create_directory does not make parents
    EXPECT_NO_THROW(gui.ClickItem(popup, HeadlessImGui::IdIn(popup, "ok")));
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u) << browser.GetStatusText();
    EXPECT_TRUE(IsShown(browser));
    EXPECT_EQ(HeadlessImGui::TopPopup(), dialog);
}

TEST_F(FileBrowserTest, RefreshKeepsOnlyNamesThatStillExistPlusTheTypedName) {
    FileBrowser browser(FileBrowserFlags::MultiSelect);
    browser.SetDirectory(root);
    Show(browser);
    ClickEntry(browser, "[F] A.png");
    gui.SetModifiers(true, false);
    ClickEntry(browser, "[F] b.png");
    ClickEntry(browser, "[F] a.txt");
    gui.SetModifiers(false, false);
    EXPECT_STREQ(browser.GetInputName(), "a.txt");
    fs::remove(root / "b.png");
    fs::remove(root / "a.txt");
    ClickButton(browser, "*");
    // b.png is gone; a.txt is gone too but is still the typed name.
    EXPECT_EQ(Selection(browser), (std::vector<std::string>{"A.png", "a.txt"}));
    const std::vector<std::string> visible = Visible(browser);
    EXPECT_EQ(std::find(visible.begin(), visible.end(), "[F] b.png"), visible.end());
}

TEST_F(FileBrowserTest, UnreadableDirectoryNeverEscapesTheDialog) {
    const fs::path doomed = root / "doomed";
    fs::create_directories(doomed / "sub");
    FileBrowser browser;
    browser.SetDirectory(doomed);
    Show(browser);
    fs::remove_all(doomed);

    // Refreshing a directory that vanished: reported, the dialog stays usable.
    EXPECT_NO_THROW(ClickButton(browser, "*"));
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u) << browser.GetStatusText();
    EXPECT_TRUE(IsShown(browser));
    EXPECT_EQ(Visible(browser), (std::vector<std::string>{"[D] .."}));

    // Opening it again is reported the same way.
    browser.ClearSelected();
    EXPECT_NO_THROW(browser.Open());
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u);
    gui.Frames(2);

    // ".." still leads out of it.
    DoubleClickEntry(browser, "[D] ..");
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::absolute(root));
    EXPECT_TRUE(IsShown(browser));
}

TEST_F(FileBrowserTest, DoubleClickIntoAVanishedDirectoryFallsBackToTheWorkingDirectory) {
    OstrelTest::ScopedChdir cwd((root / "Alpha").string());
    FileBrowser browser;
    browser.SetDirectory(root);
    Show(browser);
    const std::optional<ImVec2> pos = RowOf(browser, "[D] beta");
    ASSERT_TRUE(pos.has_value());
    fs::remove_all(root / "beta");
    gui.DoubleClick(*pos);
    EXPECT_EQ(browser.GetStatusText().rfind("last error: ", 0), 0u);
    EXPECT_EQ(browser.GetCurrentDirectory(), fs::current_path());
    EXPECT_TRUE(IsShown(browser));
}

TEST_F(FileBrowserTest, CancelAndEscapeClose) {
    FileBrowser plain;
    plain.SetDirectory(root);
    Show(plain);
    gui.PressEscape();
    EXPECT_TRUE(IsShown(plain)) << "Escape closes only with CloseOnEscape";
    ClickButton(plain, "cancel");
    EXPECT_FALSE(IsShown(plain));
    EXPECT_FALSE(plain.HasSelected());

    FileBrowser escapable(FileBrowserFlags::CloseOnEscape);
    escapable.SetDirectory(root);
    Show(escapable);
    ASSERT_TRUE(IsShown(escapable));
    gui.PressEscape();
    EXPECT_FALSE(IsShown(escapable));
    EXPECT_FALSE(escapable.HasSelected());
}

TEST_F(FileBrowserTest, StatusLineDrawnUnlessHideStatus) {
    OstrelTest::ScopedChdir cwd(root.string());  // the fallback shows the same directory
    for (FileBrowserFlags flags : {FileBrowserFlags(0), FileBrowserFlags(FileBrowserFlags::HideStatus)}) {
        FileBrowser browser(flags);
        browser.SetDirectory(root);
        Show(browser);
        const int quiet = Dialog(browser)->DrawList->VtxBuffer.Size;
        EXPECT_FALSE(browser.SetDirectory(root / "missing"));
        gui.Frame();
        const int reported = Dialog(browser)->DrawList->VtxBuffer.Size;
        // Four vertices per glyph; the long message is clipped at the dialog's
        // edge, but "last error:" at least is drawn.
        if (flags == 0)
            EXPECT_GE(reported - quiet, 4 * 10);
        else
            EXPECT_EQ(reported, quiet);
        ClickButton(browser, "cancel");
    }
}

TEST_F(FileBrowserTest, LabelsEmbedTheAddressSoTwoBrowsersAreIndependent) {
    FileBrowser first;
    FileBrowser second;
    first.SetTitle("Pick");
    second.SetTitle("Pick");
    EXPECT_NE(first.GetOpenLabel(), second.GetOpenLabel());

    first.SetDirectory(root);
    second.SetDirectory(root / "Alpha");
    gui.SetDraw([&] {
        first.Display();
        second.Display();
    });
    first.Open();
    gui.Frames(2);
    EXPECT_TRUE(IsShown(first));
    EXPECT_FALSE(IsShown(second));
    ClickButton(first, "cancel");
    EXPECT_FALSE(IsShown(first));
}

TEST_F(FileBrowserTest, ModalKeepsAUserSizeAndNonModalOpensAtTheDefaultWidth) {
    FileBrowser modal;
    modal.SetDirectory(root);
    Show(modal);
    ImGuiWindow* window = Dialog(modal);
    EXPECT_EQ(window->Size.x, 700.0f);
    EXPECT_EQ(window->Size.y, 450.0f);
    ImGui::SetWindowSize(window->Name, ImVec2(500, 300));
    ClickButton(modal, "cancel");
    modal.Open();
    gui.Frames(2);
    EXPECT_EQ(Dialog(modal)->Size.x, 500.0f);

    FileBrowser plain(FileBrowserFlags::NonModal);
    plain.SetDirectory(root);
    Show(plain);
    ImGuiWindow* popup = HeadlessImGui::TopPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Size.x, 700.0f);
    ImGui::ClosePopupToLevel(0, false);
    gui.Frame();
    plain.Open();
    gui.Frames(2);
    EXPECT_EQ(HeadlessImGui::TopPopup()->Size.x, 700.0f);
}

}  // namespace
