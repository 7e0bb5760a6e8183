// The texture picker: tiles pressed with the mouse, a file confirmed in its
// dialog, and the deferred load applied by Update, against a recording
// texture manager.
#include "HeadlessImGui.h"
#include "RecordingTextureManager.h"
#include "TempDir.h"
#include "editor/TexturePicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using OstrelTest::HeadlessImGui;
using OstrelTest::RecordingTexture;
using OstrelTest::RecordingTextureManager;

namespace {

class TexturePickerTest : public ::testing::Test {
protected:
    OstrelTest::TempDir tmp;
    RecordingTextureManager textures;
    Ostrel::TexturePicker picker{&textures};
    HeadlessImGui gui{nullptr};

    uint32_t cardName = 7;  // GL texture names the tiles show
    uint32_t effectName = 9;
    Ostrel::ITexture2D* effectTexture = nullptr;
    std::vector<Ostrel::ITexture2D*> received;  // what the callback was handed
    std::vector<bool> callbackTileResults;      // DrawWithCallback per frame

    void SetUp() override {
        tmp.Write("pics/one.png", "x");
        tmp.Write("pics/two.jpg", "x");
        tmp.Write("pics/notes.txt", "x");
        Ostrel::ITexture2D* card = textures.LoadTexture("card.png", "texture_0");
        card->handle = &cardName;
        effectTexture = textures.LoadTexture("noise.png", "noise");
        effectTexture->handle = &effectName;
        textures.loadedPaths.clear();
        picker.GetBrowser().SetDirectory(fs::path(tmp.Path()) / "pics");
        gui.SetDraw([this] {
            ImGui::SetNextWindowPos(ImVec2(10, 10));
            ImGui::SetNextWindowSize(ImVec2(300, 400));
            ImGui::Begin("Tiles");
            picker.DrawForKey("texture_0", "texture_0");
            callbackTileResults.push_back(picker.DrawWithCallback(
                "noise", effectTexture, [this](Ostrel::ITexture2D* texture) { received.push_back(texture); }));
            ImGui::End();
            picker.Display();
        });
        gui.Frame();
    }

    static ImGuiWindow* Tiles() { return HeadlessImGui::FindWindowByName("Tiles"); }

    static ImGuiID TileId(uint32_t* glName) {
        ImGuiWindow* window = Tiles();
        return HeadlessImGui::IdIn(window, reinterpret_cast<void*>(static_cast<intptr_t>(*glName)), "#image");
    }

    void PressTile(uint32_t* glName) { ASSERT_TRUE(gui.ClickItem(Tiles(), TileId(glName))); }

    ImGuiWindow* Dialog() { return HeadlessImGui::FindWindowByName(picker.GetBrowser().GetOpenLabel()); }

    // Double-clicks the entry in the open dialog: the choice is confirmed.
    void Choose(const std::string& displayText) {
        ImGuiWindow* list = HeadlessImGui::FindChild(Dialog(), "ch");
        ASSERT_NE(list, nullptr) << "the dialog is not open";
        const std::optional<ImVec2> pos = gui.LocateRow(list, HeadlessImGui::IdIn(list, displayText.c_str()));
        ASSERT_TRUE(pos.has_value()) << displayText << " is not listed";
        gui.DoubleClick(*pos);
        ASSERT_TRUE(picker.GetBrowser().HasSelected());
    }

    std::string PicPath(const char* name) const { return (fs::absolute(tmp.Path()) / "pics" / name).string(); }
};

TEST_F(TexturePickerTest, DialogIsTitledAndFiltersPictures) {
    EXPECT_EQ(picker.GetBrowser().GetTitle(), "Select texture");
    EXPECT_EQ(picker.GetBrowser().GetTypeFilters(), (std::vector<std::string>{".png,.jpg", ".png", ".jpg"}));

    PressTile(&cardName);
    ImGuiWindow* list = HeadlessImGui::FindChild(Dialog(), "ch");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(gui.LocateRow(list, HeadlessImGui::IdIn(list, "[F] one.png")).has_value());
    EXPECT_TRUE(gui.LocateRow(list, HeadlessImGui::IdIn(list, "[F] two.jpg")).has_value());
    EXPECT_FALSE(gui.LocateRow(list, HeadlessImGui::IdIn(list, "[F] notes.txt")).has_value());
}

TEST_F(TexturePickerTest, KeyTileLoadsTheChosenPictureUnderItsKeyOnTheNextUpdate) {
    Ostrel::ITexture2D* before = textures.GetTexture("texture_0");
    PressTile(&cardName);
    EXPECT_EQ(picker.GetMode(), 2u);
    EXPECT_EQ(picker.GetKey(), "texture_0");
    Choose("[F] one.png");
    EXPECT_TRUE(textures.loadedPaths.empty()) << "nothing is loaded while drawing";

    picker.Update();
    EXPECT_EQ(textures.loadedPaths, (std::vector<std::string>{PicPath("one.png")}));
    Ostrel::ITexture2D* after = textures.GetTexture("texture_0");
    EXPECT_EQ(textures.DeleteCount(before), 1) << "the old picture is replaced";
    EXPECT_EQ(static_cast<RecordingTexture*>(after)->params.filter, 0) << "pictures are drawn with hard edges";
    EXPECT_EQ(picker.GetMode(), 0u);
    EXPECT_TRUE(picker.GetKey().empty());
    EXPECT_FALSE(picker.GetBrowser().HasSelected());
    EXPECT_TRUE(received.empty());

    picker.Update();  // applied once only
    EXPECT_EQ(textures.loadedPaths.size(), 1u);
}

TEST_F(TexturePickerTest, KeyTileThenCallbackTileServesTheCallbackOnly) {
    Ostrel::ITexture2D* card = textures.GetTexture("texture_0");
    PressTile(&cardName);
    gui.ClickItem(Dialog(), HeadlessImGui::IdIn(Dialog(), "cancel"));
    PressTile(&effectName);
    EXPECT_EQ(picker.GetMode(), 1u);
    Choose("[F] two.jpg");
    picker.Update();

    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], textures.GetTexture(PicPath("two.jpg"))) << "stored under its own path";
    EXPECT_EQ(textures.GetTexture("texture_0"), card);
    EXPECT_EQ(textures.DeleteCount(card), 0);
    EXPECT_TRUE(picker.HasCallback()) << "the callback stays until the next press";
}

TEST_F(TexturePickerTest, CallbackTileThenKeyTileLoadsUnderTheKeyOnly) {
    PressTile(&effectName);
    gui.ClickItem(Dialog(), HeadlessImGui::IdIn(Dialog(), "cancel"));
    EXPECT_EQ(picker.GetMode(), 1u) << "cancelling leaves the request";
    PressTile(&cardName);
    EXPECT_FALSE(picker.HasCallback());
    Choose("[F] one.png");
    picker.Update();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(textures.loadedPaths, (std::vector<std::string>{PicPath("one.png")}));
    EXPECT_EQ(textures.textures.count(PicPath("one.png")), 0u);
}

TEST_F(TexturePickerTest, SecondChoiceOfTheSameFileReplacesTheFirstTexture) {
    PressTile(&effectName);
    Choose("[F] one.png");
    picker.Update();
    // Like an effect slot, the tile now shows the texture it was handed.
    ASSERT_EQ(received.size(), 1u);
    effectTexture = received[0];
    effectTexture->handle = &effectName;
    gui.Frame();
    PressTile(&effectName);
    Choose("[F] one.png");
    picker.Update();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(textures.loadedPaths, (std::vector<std::string>{PicPath("one.png"), PicPath("one.png")}));
    EXPECT_EQ(textures.DeleteCount(received[0]), 1) << "the first texture is replaced under the same key";
    EXPECT_EQ(textures.GetTexture(PicPath("one.png")), received[1]);
}

// Two slots given the same picture one after the other: the first slot's
// texture must stay alive, since that slot still draws it.
TEST_F(TexturePickerTest, SamePictureForTwoSlotsLeavesEachSlotALiveTexture) {
    uint32_t nameA = 21;
    uint32_t nameB = 22;
    Ostrel::ITexture2D* slotA = textures.LoadTexture("a.png", "slot_a");
    Ostrel::ITexture2D* slotB = textures.LoadTexture("b.png", "slot_b");
    slotA->handle = &nameA;
    slotB->handle = &nameB;
    textures.loadedPaths.clear();
    gui.SetDraw([&] {
        ImGui::SetNextWindowPos(ImVec2(10, 10));
        ImGui::SetNextWindowSize(ImVec2(300, 400));
        ImGui::Begin("Tiles");
        picker.DrawWithCallback("a", slotA, [&](Ostrel::ITexture2D* texture) { slotA = texture; });
        picker.DrawWithCallback("b", slotB, [&](Ostrel::ITexture2D* texture) { slotB = texture; });
        ImGui::End();
        picker.Display();
    });
    gui.Frame();

    PressTile(&nameA);
    Choose("[F] one.png");
    picker.Update();
    Ostrel::ITexture2D* first = slotA;
    ASSERT_NE(first, nullptr);
    first->handle = &nameA;
    gui.Frame();

    PressTile(&nameB);
    Choose("[F] one.png");
    picker.Update();
    ASSERT_NE(slotB, nullptr);
    EXPECT_NE(slotB, first);
    EXPECT_EQ(slotA, first);
    EXPECT_EQ(textures.DeleteCount(first), 0) << "slot a still draws its texture";
    EXPECT_EQ(textures.GetTexture(PicPath("one.png")), first);
    std::string keyB;
    ASSERT_TRUE(textures.FindKey(slotB, &keyB));
    EXPECT_EQ(keyB, PicPath("one.png") + " (2)");
    EXPECT_EQ(textures.loadedPaths, (std::vector<std::string>{PicPath("one.png"), PicPath("one.png")}));

    // Choosing it again for slot a replaces slot a's own texture only.
    PressTile(&nameA);
    Choose("[F] one.png");
    picker.Update();
    EXPECT_EQ(textures.DeleteCount(first), 1);
    EXPECT_EQ(textures.GetTexture(PicPath("one.png")), slotA);
    std::string keyAfter;
    EXPECT_TRUE(textures.FindKey(slotB, &keyAfter)) << "slot b's texture is untouched";
}

TEST_F(TexturePickerTest, CallbackTileReportsThePressInItsFrameOnly) {
    callbackTileResults.clear();
    PressTile(&effectName);
    int presses = 0;
    for (bool pressed : callbackTileResults) presses += pressed ? 1 : 0;
    EXPECT_EQ(presses, 1);
    EXPECT_GT(callbackTileResults.size(), 3u);
}

TEST_F(TexturePickerTest, UpdateWithoutConfirmationDoesNothing) {
    picker.Update();
    PressTile(&cardName);  // a request, but nothing confirmed
    picker.Update();
    gui.ClickItem(Dialog(), HeadlessImGui::IdIn(Dialog(), "cancel"));
    picker.Update();
    PressTile(&effectName);
    picker.Update();
    EXPECT_TRUE(textures.loadedPaths.empty());
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(picker.GetMode(), 1u);
}

TEST_F(TexturePickerTest, TileForAMissingKeyOrNullTextureIsBlankButPressable) {
    Ostrel::ITexture2D* none = nullptr;
    gui.SetDraw([&] {
        ImGui::SetNextWindowPos(ImVec2(10, 10));
        ImGui::SetNextWindowSize(ImVec2(300, 400));
        ImGui::Begin("Tiles");
        picker.DrawForKey("missing", "missing");
        picker.DrawWithCallback("null", none, [this](Ostrel::ITexture2D* texture) { received.push_back(texture); });
        ImGui::End();
        picker.Display();
    });
    gui.Frame();
    ImGuiWindow* tiles = Tiles();
    const ImGuiID missingTile = HeadlessImGui::IdIn(tiles, "missing");
    const ImGuiID blank = ImHashStr("##empty_tile", 0, missingTile);
    ASSERT_TRUE(gui.ClickItem(tiles, blank));
    EXPECT_EQ(picker.GetMode(), 2u);
    EXPECT_EQ(picker.GetKey(), "missing");
    Choose("[F] one.png");
    picker.Update();
    EXPECT_NE(textures.GetTexture("missing"), nullptr);

    const ImGuiID nullTile = ImHashStr("##empty_tile", 0, HeadlessImGui::IdIn(tiles, "null"));
    ASSERT_TRUE(gui.ClickItem(tiles, nullTile));
    EXPECT_EQ(picker.GetMode(), 1u);
}

}  // namespace
