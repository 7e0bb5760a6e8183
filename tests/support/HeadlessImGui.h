// HeadlessImGui.h - a Dear ImGui context without a renderer or platform back
// end: frames run on the CPU only, and the test places the mouse, clicks,
// types and presses keys through ImGuiIO. Items are found on screen by their
// ImGui identifier (hover tests), so a test clicks what a user would click.
#pragma once

#include <imgui.h>
#include <imgui_internal.h>

#include <functional>
#include <optional>
#include <string>

namespace OstrelTest {

class HeadlessImGui {
public:
    using DrawFn = std::function<void()>;

    // One context for the fixture's life; `draw` is called inside every frame.
    explicit HeadlessImGui(DrawFn draw, ImVec2 displaySize = ImVec2(1280, 720));
    ~HeadlessImGui();
    HeadlessImGui(const HeadlessImGui&) = delete;
    HeadlessImGui& operator=(const HeadlessImGui&) = delete;

    void SetDraw(DrawFn draw) { this->draw = std::move(draw); }

    // NewFrame, draw, Render with the current input state.
    void Frame();
    void Frames(int count);
    // Lets enough time pass that the next click is not taken as a double-click.
    void Idle();

    void MoveMouse(ImVec2 pos);
    // Press in one frame, release in the next, then Idle.
    void Click(ImVec2 pos);
    // Two clicks in quick succession, then Idle.
    void DoubleClick(ImVec2 pos);
    void SetModifiers(bool ctrl, bool shift);
    // Queues characters for the active text field and runs one frame.
    void Type(const std::string& text);
    // Escape down for one frame, then up (the key map of the context has Escape).
    void PressEscape();

    ImGuiID HoveredId() const;

    // Where the mouse hovers the item `id` inside `window`: `guess` first,
    // then a scan of the window's rectangle. Empty when the item is not there.
    std::optional<ImVec2> Locate(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess = std::nullopt);
    // Like Locate, scanning only down a column of the window (list rows).
    std::optional<ImVec2> LocateRow(ImGuiWindow* window, ImGuiID id, float xOffset = 12.0f);
    // Locates and clicks; false when the item is not found.
    bool ClickItem(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess = std::nullopt);
    bool DoubleClickItem(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess = std::nullopt);

    // Identifier of `label` submitted directly in `window` (no pushed IDs).
    static ImGuiID IdIn(ImGuiWindow* window, const char* label);
    static ImGuiID IdIn(ImGuiWindow* window, int pushedInt, const char* label);
    static ImGuiID IdIn(ImGuiWindow* window, const void* pushedPtr, const char* label);

    static ImGuiWindow* FindWindowByName(const std::string& name);
    // The child window `childName` of `parent` (its name starts with parent's name + "/" + childName + "_").
    static ImGuiWindow* FindChild(ImGuiWindow* parent, const std::string& childName);
    // The innermost open popup's window, or null.
    static ImGuiWindow* TopPopup();
    static int OpenPopupCount();

private:
    DrawFn draw;
    ImGuiContext* context = nullptr;
    unsigned char* fontPixels = nullptr;
};

}  // namespace OstrelTest
