#include "HeadlessImGui.h"

#include <cstring>

namespace OstrelTest {

namespace {

constexpr int kEscapeIndex = 27;  // our own key index for ImGuiKey_Escape

bool Hovers(HeadlessImGui& gui, ImVec2 pos, ImGuiID id) {
    gui.MoveMouse(pos);
    return gui.HoveredId() == id;
}

}  // namespace

HeadlessImGui::HeadlessImGui(DrawFn draw_, ImVec2 displaySize) : draw(std::move(draw_)) {
    IMGUI_CHECKVERSION();
    context = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // tests leave no layout file behind
    io.LogFilename = nullptr;
    io.DisplaySize = displaySize;
    io.DeltaTime = 1.0f / 60.0f;
    io.KeyMap[ImGuiKey_Escape] = kEscapeIndex;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&fontPixels, &width, &height);
    io.Fonts->SetTexID(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(1)));
    io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
}

HeadlessImGui::~HeadlessImGui() {
    ImGui::DestroyContext(context);
}

void HeadlessImGui::Frame() {
    ImGui::NewFrame();
    if (draw) draw();
    ImGui::Render();
}

void HeadlessImGui::Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
}

void HeadlessImGui::Idle() {
    const ImGuiIO& io = ImGui::GetIO();
    const int frames = static_cast<int>(io.MouseDoubleClickTime / io.DeltaTime) + 2;
    Frames(frames);
}

void HeadlessImGui::MoveMouse(ImVec2 pos) {
    ImGui::GetIO().MousePos = pos;
    Frame();
}

void HeadlessImGui::Click(ImVec2 pos) {
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = pos;
    io.MouseDown[0] = true;
    Frame();
    io.MouseDown[0] = false;
    Frame();
    Idle();
}

void HeadlessImGui::DoubleClick(ImVec2 pos) {
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = pos;
    for (int i = 0; i < 2; ++i) {
        io.MouseDown[0] = true;
        Frame();
        io.MouseDown[0] = false;
        Frame();
    }
    Idle();
}

void HeadlessImGui::SetModifiers(bool ctrl, bool shift) {
    ImGuiIO& io = ImGui::GetIO();
    io.KeyCtrl = ctrl;
    io.KeyShift = shift;
}

void HeadlessImGui::Type(const std::string& text) {
    ImGui::GetIO().AddInputCharactersUTF8(text.c_str());
    Frame();
}

void HeadlessImGui::PressEscape() {
    ImGuiIO& io = ImGui::GetIO();
    io.KeysDown[kEscapeIndex] = true;
    Frame();
    io.KeysDown[kEscapeIndex] = false;
    Frame();
}

ImGuiID HeadlessImGui::HoveredId() const {
    return ImGui::GetCurrentContext()->HoveredId;
}

std::optional<ImVec2> HeadlessImGui::Locate(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess) {
    if (window == nullptr) return std::nullopt;
    if (guess && Hovers(*this, *guess, id)) return guess;
    const ImRect area = window->Rect();
    for (float y = area.Min.y + 2.0f; y < area.Max.y; y += 4.0f)
        for (float x = area.Min.x + 2.0f; x < area.Max.x; x += 8.0f)
            if (Hovers(*this, ImVec2(x, y), id)) return ImVec2(x, y);
    return std::nullopt;
}

std::optional<ImVec2> HeadlessImGui::LocateRow(ImGuiWindow* window, ImGuiID id, float xOffset) {
    if (window == nullptr) return std::nullopt;
    const ImRect area = window->InnerRect;
    for (float y = area.Min.y + 1.0f; y < area.Max.y; y += 3.0f)
        if (Hovers(*this, ImVec2(area.Min.x + xOffset, y), id)) return ImVec2(area.Min.x + xOffset, y);
    return std::nullopt;
}

bool HeadlessImGui::ClickItem(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess) {
    const std::optional<ImVec2> pos = Locate(window, id, guess);
    if (!pos) return false;
    Click(*pos);
    return true;
}

bool HeadlessImGui::DoubleClickItem(ImGuiWindow* window, ImGuiID id, std::optional<ImVec2> guess) {
    const std::optional<ImVec2> pos = Locate(window, id, guess);
    if (!pos) return false;
    DoubleClick(*pos);
    return true;
}

ImGuiID HeadlessImGui::IdIn(ImGuiWindow* window, const char* label) {
    return ImHashStr(label, 0, window->ID);
}

ImGuiID HeadlessImGui::IdIn(ImGuiWindow* window, int pushedInt, const char* label) {
    const ImGuiID seed = ImHashData(&pushedInt, sizeof(pushedInt), window->ID);
    return ImHashStr(label, 0, seed);
}

ImGuiID HeadlessImGui::IdIn(ImGuiWindow* window, const void* pushedPtr, const char* label) {
    const ImGuiID seed = ImHashData(&pushedPtr, sizeof(pushedPtr), window->ID);
    return ImHashStr(label, 0, seed);
}

ImGuiWindow* HeadlessImGui::FindWindowByName(const std::string& name) {
    return ImGui::FindWindowByName(name.c_str());
}

ImGuiWindow* HeadlessImGui::FindChild(ImGuiWindow* parent, const std::string& childName) {
    if (parent == nullptr) return nullptr;
    const std::string prefix = std::string(parent->Name) + "/" + childName + "_";
    for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows)
        if (window->ParentWindow == parent && std::strncmp(window->Name, prefix.c_str(), prefix.size()) == 0)
            return window;
    return nullptr;
}

ImGuiWindow* HeadlessImGui::TopPopup() {
    ImGuiContext& g = *ImGui::GetCurrentContext();
    if (g.OpenPopupStack.Size == 0) return nullptr;
    return g.OpenPopupStack.back().Window;
}

int HeadlessImGui::OpenPopupCount() {
    return ImGui::GetCurrentContext()->OpenPopupStack.Size;
}

}  // namespace OstrelTest
