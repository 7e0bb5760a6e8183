// A working directory that can no longer be read (here: removed under the
// process) while the editor's file browser and texture picker are made and
// shown: no exception escapes, the reason is in the status line, and the
// browser still leads elsewhere.
#include "HeadlessImGui.h"
#include "RecordingTextureManager.h"
#include "TempDir.h"

#include "editor/FileBrowser.h"
#include "editor/TexturePicker.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;
using OstrelTest::HeadlessImGui;

namespace {

// Enters a fresh directory and removes it: getcwd then fails.
class VanishedWorkingDirectory : public ::testing::Test {
protected:
    std::string previous = fs::current_path().string();
    std::string gone;

    void SetUp() override {
        char pattern[] = "/tmp/ostrel-vanished-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        gone = pattern;
        ASSERT_EQ(chdir(gone.c_str()), 0);
        fs::remove(gone);
        std::error_code error;
        (void)fs::current_path(error);
        ASSERT_TRUE(error) << "the working directory is still readable";
    }
    void TearDown() override { ASSERT_EQ(chdir(previous.c_str()), 0); }
};

TEST_F(VanishedWorkingDirectory, FileBrowserIsMadeOpenedAndShownWithTheReason) {
    std::unique_ptr<FileBrowser> browser;
    ASSERT_NO_THROW(browser = std::make_unique<FileBrowser>());
    EXPECT_EQ(browser->GetStatusText().rfind("last error: ", 0), 0u) << browser->GetStatusText();

    HeadlessImGui gui([&] { browser->Display(); });
    ASSERT_NO_THROW(browser->Open());
    ASSERT_NO_THROW(gui.Frames(3));
    EXPECT_NE(HeadlessImGui::FindWindowByName(browser->GetOpenLabel()), nullptr) << "the dialog did not open";
    EXPECT_FALSE(browser->GetStatusText().empty());

    // Another directory can still be chosen.
    EXPECT_TRUE(browser->SetDirectory(previous));
    EXPECT_EQ(browser->GetCurrentDirectory(), fs::path(previous));
    EXPECT_GT(browser->GetFileRecords().size(), 1u);
}

TEST_F(VanishedWorkingDirectory, TexturePickerIsMadeAndShown) {
    OstrelTest::RecordingTextureManager textures;
    std::unique_ptr<Ostrel::TexturePicker> picker;
    ASSERT_NO_THROW(picker = std::make_unique<Ostrel::TexturePicker>(&textures));
    HeadlessImGui gui([&] {
        ImGui::Begin("Editor");
        picker->DrawForKey("logo", "logo");
        ImGui::End();
        picker->Display();
    });
    ASSERT_NO_THROW(gui.Frames(2));
    ASSERT_NO_THROW(picker->Update());
}

}  // namespace
