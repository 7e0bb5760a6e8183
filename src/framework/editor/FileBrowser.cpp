// FileBrowser.cpp - the file dialog.
//
// Index: construction and labels; type filters; directory changes and the
// listing; Display and its parts (drive list, path buttons, refresh, new
// directory, list and click rules, name field, buttons, status, filter combo).
//
// Listing and directory operations can throw std::filesystem::filesystem_error.
// Inside Display every such operation is guarded where it is made, so the
// ImGui scopes stay balanced and the message lands in the status line.
#include "FileBrowser.h"

#include "../platform/DriveQuery.h"

#include <imgui.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>

namespace fs = std::filesystem;

namespace {

std::string ToLower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string AddressText(const void* address) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
}

// Names starting with '$' ($Recycle.Bin and the like on Windows) are not
// offered. The native string is wide on Windows and narrow elsewhere, so only
// its first character is compared, in the path's own character type.
bool IsDollarName(const fs::path& name) {
    const fs::path::string_type& native = name.native();
    return !native.empty() && native[0] == static_cast<fs::path::value_type>('$');
}

// Whether an extension equals a lower-case filter, compared per character in
// the path's own character type: converting a wide Windows name to a narrow
// string throws when the code page cannot hold it, and that would break the
// listing in the middle of the dialog. Only A to Z are folded, as the filters
// are folded.
bool ExtensionIs(const fs::path& extension, const std::string& lowerFilter) {
    using Char = fs::path::value_type;
    const fs::path::string_type& native = extension.native();
    if (native.size() != lowerFilter.size()) return false;
    for (size_t i = 0; i < native.size(); ++i) {
        Char c = native[i];
        if (c >= Char('A') && c <= Char('Z')) c = static_cast<Char>(c - Char('A') + Char('a'));
        if (c != static_cast<Char>(static_cast<unsigned char>(lowerFilter[i]))) return false;
    }
    return true;
}

bool RecordLess(const FileBrowser::FileRecord& a, const FileBrowser::FileRecord& b) {
    if (a.isDirectory != b.isDirectory) return a.isDirectory;
    return a.name.compare(b.name) < 0;
}

// Runs a directory operation; a failure becomes "last error: ..." in status.
template <typename Operation>
void Guarded(std::string& status, Operation operation) {
    try {
        operation();
    } catch (const std::exception& e) {
        status = std::string("last error: ") + e.what();
    } catch (...) {
        status = "last error: unknown";
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and labels

FileBrowser::FileBrowser(FileBrowserFlags flags_) : flags(flags_) {
    inputNameBuffer = std::make_unique<char[]>(kNameBufferSize);  // value-initialised: all zero
    if (flags & FileBrowserFlags::AllowNewDirectory) newDirNameBuffer = std::make_unique<char[]>(kNameBufferSize);
    SetTitle("file browser");
    // A working directory that cannot be read (or no longer exists) must not
    // stop the program that owns the browser: it starts with no listing and the
    // reason in its status line.
    Guarded(statusText, [this] { SetDirectory(fs::current_path()); });
    typeFilters.clear();
    typeFilterIndex = 0;
    hasAllFilter = false;
    drives = Ostrel::QueryBrowsableDrives();
}

FileBrowser::~FileBrowser() = default;

void FileBrowser::SetTitle(std::string title_) {
    title = std::move(title_);
    openLabel = title + "##filebrowser_" + AddressText(this);
    newDirLabel = "new dir##new_dir_" + AddressText(this);
}

// ---------------------------------------------------------------------------
// Type filters

void FileBrowser::SetTypeFilters(const std::vector<std::string>& filters) {
    typeFilters.clear();
    std::vector<std::string> working;
    for (const std::string& filter : filters) {
        std::string lower = ToLower(filter);
        if (std::find(working.begin(), working.end(), lower) == working.end()) working.push_back(std::move(lower));
    }
    hasAllFilter = false;
    const bool hasAny = std::find(working.begin(), working.end(), ".*") != working.end();
    if (working.size() >= 2 && !hasAny) {
        std::string joined;
        for (size_t i = 0; i < working.size(); ++i) {
            if (i > 0) joined += ",";
            joined += working[i];
        }
        typeFilters.push_back(std::move(joined));
        hasAllFilter = true;
    }
    typeFilters.insert(typeFilters.end(), working.begin(), working.end());
    typeFilterIndex = 0;
}

bool FileBrowser::MatchesTypeFilter(const fs::path& extension) const {
    if (typeFilters.empty() || typeFilterIndex >= typeFilters.size()) return true;
    if (!hasAllFilter || typeFilterIndex != 0) {
        const std::string& chosen = typeFilters[typeFilterIndex];
        return chosen == ".*" || ExtensionIs(extension, chosen);
    }
    return std::any_of(typeFilters.begin() + 1, typeFilters.end(),
                       [&extension](const std::string& filter) { return ExtensionIs(extension, filter); });
}

// ---------------------------------------------------------------------------
// Directory changes and the listing

void FileBrowser::ChangeDirectory(const fs::path& dir) {
    currentDirectory = dir.empty() ? fs::path() : fs::absolute(dir);
    RefreshEntries();
    selectedNames.clear();
    inputNameBuffer[0] = '\0';
}

bool FileBrowser::SetDirectory(const fs::path& dir) {
    try {
        ChangeDirectory(dir);
        return true;
    } catch (const std::exception& e) {
        statusText = std::string("last error: ") + e.what();
    } catch (...) {
        statusText = "last error: unknown";
    }
    ChangeDirectory(fs::current_path());
    return false;
}

void FileBrowser::RefreshEntries() {
    fileRecords.clear();
    fileRecords.push_back(FileRecord{true, "..", "[D] ..", fs::path()});
    for (const fs::directory_entry& entry : fs::directory_iterator(currentDirectory)) {
        const fs::file_status status = entry.status();
        bool isDirectory = false;
        if (fs::is_regular_file(status))
            isDirectory = false;
        else if (fs::is_directory(status))
            isDirectory = true;
        else
            continue;
        fs::path name = entry.path().filename();
        if (name.empty()) continue;
        FileRecord record;
        record.isDirectory = isDirectory;
        record.extension = name.extension();
        record.displayText = std::string(isDirectory ? "[D] " : "[F] ") + name.u8string();
        record.name = std::move(name);
        fileRecords.push_back(std::move(record));
    }
    std::sort(fileRecords.begin(), fileRecords.end(), RecordLess);
}

// A listing failure leaves what was read before it; sorted, that part is still
// a usable list (at least "..").
void FileBrowser::Refresh() {
    try {
        RefreshEntries();
    } catch (...) {
        std::sort(fileRecords.begin(), fileRecords.end(), RecordLess);
        throw;
    }
}

void FileBrowser::Open() {
    selectedNames.clear();
    inputNameBuffer[0] = '\0';
    confirmed = false;
    statusText.clear();
    // The dialog opens even when the directory cannot be read: the status line
    // says why, and ".." or the path buttons lead elsewhere.
    Guarded(statusText, [this] { Refresh(); });
    openRequested = true;
}

bool FileBrowser::HasSelected() const {
    return confirmed;
}

fs::path FileBrowser::GetSelected() const {
    if (selectedNames.empty()) return currentDirectory;
    return currentDirectory / *selectedNames.begin();
}

void FileBrowser::ClearSelected() {
    selectedNames.clear();
    inputNameBuffer[0] = '\0';
    confirmed = false;
}

// ---------------------------------------------------------------------------
// Display

void FileBrowser::Display() {
    ImGui::PushID(this);
    if (openRequested) ImGui::OpenPopup(openLabel.c_str(), 0);

    const bool nonModal = (flags & FileBrowserFlags::NonModal) != 0;
    const ImGuiCond sizeCondition = (openRequested && nonModal) ? ImGuiCond_None : ImGuiCond_FirstUseEver;
    ImGui::SetNextWindowSize(ImVec2(static_cast<float>(width), static_cast<float>(height)), sizeCondition);

    bool open = false;
    if (nonModal) {
        open = ImGui::BeginPopup(openLabel.c_str(), 0);
    } else {
        const ImGuiWindowFlags windowFlags = (flags & FileBrowserFlags::NoTitleBar) ? ImGuiWindowFlags_NoTitleBar : 0;
        open = ImGui::BeginPopupModal(openLabel.c_str(), nullptr, windowFlags);
    }
    if (!open) {
        openRequested = false;
        ImGui::PopID();
        return;
    }

    DrawDriveList();
    DrawPathButtons();
    DrawRefreshButton();
    DrawNewDirectory();
    DrawList();
    DrawNameField();
    DrawButtonsAndStatus();
    DrawTypeFilters();

    ImGui::EndPopup();
    openRequested = false;
    ImGui::PopID();
}

void FileBrowser::DrawDriveList() {
    // Without drive letters (POSIX) there is nothing to choose: the path
    // buttons start at "/".
    if (drives == 0) return;
    // The drive letter is read from the native string: string() would convert
    // the whole wide path, and a name it cannot convert would throw here,
    // outside any guard.
    const fs::path::string_type& native = currentDirectory.native();
    const char letter = native.empty() ? '\0' : static_cast<char>(native[0]);
    const std::string preview = std::string(1, letter) + ":";
    ImGui::PushItemWidth(ImGui::GetFontSize() * 4.0f);
    if (ImGui::BeginCombo("##select_drive", preview.c_str(), 0)) {
        for (int i = 0; i < 26; ++i) {
            if ((drives & (1u << i)) == 0) continue;
            const char driveLetter = static_cast<char>('A' + i);
            const std::string label = std::string(1, driveLetter) + ":";
            const bool selected = driveLetter == letter;
            if (ImGui::Selectable(label.c_str(), selected, 0, ImVec2(0, 0)) && !selected) {
                const std::string root = label + "\\";
                Guarded(statusText, [&] { SetDirectory(root); });
            }
        }
        ImGui::EndCombo();
    }
    ImGui::PopItemWidth();
}

void FileBrowser::DrawPathButtons() {
    // Windows paths iterate as "C:", "\", "dir", ...: the root directory gets
    // no button and the root-name button leads to the drive's root. POSIX paths
    // iterate as "/", "dir", ...: there the root directory's button is the way
    // back to "/".
    const bool hasRootName = currentDirectory.has_root_name();
    int index = 0;
    int pressed = -1;
    bool first = true;
    for (const fs::path& element : currentDirectory) {
        const bool isRootDirectory = hasRootName && index == 1 && element == currentDirectory.root_directory();
        if (!isRootDirectory) {
            ImGui::PushID(index);
            if (!first) ImGui::SameLine(0, -1);
            if (ImGui::SmallButton(element.u8string().c_str())) pressed = index;
            ImGui::PopID();
            first = false;
        }
        ++index;
    }
    if (pressed < 0) return;

    fs::path target;
    index = 0;
    for (const fs::path& element : currentDirectory) {
        if (index > pressed) break;
        target /= element;
        ++index;
    }
    if (pressed == 0 && hasRootName) target /= "\\";
    Guarded(statusText, [&] { SetDirectory(target); });
}

void FileBrowser::DrawRefreshButton() {
    ImGui::SameLine(0, -1);
    if (!ImGui::SmallButton("*")) return;
    Guarded(statusText, [this] {
        Refresh();
        std::set<fs::path> kept;
        for (const FileRecord& record : fileRecords)
            if (selectedNames.count(record.name) != 0) kept.insert(record.name);
        if (inputNameBuffer[0] != '\0') kept.insert(fs::path(inputNameBuffer.get()));
        selectedNames = std::move(kept);
    });
}

void FileBrowser::DrawNewDirectory() {
    if (!newDirNameBuffer) return;
    ImGui::SameLine(0, -1);
    if (ImGui::SmallButton("+")) {
        ImGui::OpenPopup(newDirLabel.c_str(), 0);
        newDirNameBuffer[0] = '\0';
    }
    if (!ImGui::BeginPopup(newDirLabel.c_str(), 0)) return;
    ImGui::InputText("name", newDirNameBuffer.get(), kNameBufferSize, 0);
    ImGui::SameLine(0, -1);
    if (ImGui::Button("ok", ImVec2(0, 0)) && newDirNameBuffer[0] != '\0') {
        const std::string name = newDirNameBuffer.get();
        Guarded(statusText, [&] {
            if (fs::create_directory(currentDirectory / fs::path(name)))
                Refresh();
            else
                statusText = "failed to create " + name;
        });
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

void FileBrowser::DrawList() {
    const bool nameField = (flags & FileBrowserFlags::NameInput) && !(flags & FileBrowserFlags::DirectoriesOnly);
    float reserved = ImGui::GetFrameHeightWithSpacing();
    if (nameField) reserved += ImGui::GetFrameHeightWithSpacing();
    const ImGuiWindowFlags childFlags =
        (flags & FileBrowserFlags::NonModal) ? ImGuiWindowFlags_AlwaysHorizontalScrollbar : ImGuiWindowFlags_None;
    ImGui::BeginChild("ch", ImVec2(0, -reserved), true, childFlags);

    bool hasPending = false;
    fs::path pending;
    for (const FileRecord& record : fileRecords) {
        if (!record.isDirectory && !MatchesTypeFilter(record.extension)) continue;
        if (IsDollarName(record.name)) continue;
        const bool selected = selectedNames.count(record.name) != 0;
        if (ImGui::Selectable(record.displayText.c_str(), selected, ImGuiSelectableFlags_DontClosePopups, ImVec2(0, 0)))
            ApplyClick(record);
        if (ImGui::IsItemClicked(0) && ImGui::IsMouseDoubleClicked(0)) {
            if (record.isDirectory) {
                hasPending = true;
                pending = record.name == ".." ? currentDirectory.parent_path() : currentDirectory / record.name;
            } else if (!(flags & FileBrowserFlags::DirectoriesOnly)) {
                selectedNames = {record.name};
                confirmed = true;
                ImGui::CloseCurrentPopup();
            }
        }
    }
    ImGui::EndChild();
    if (hasPending) Guarded(statusText, [&] { SetDirectory(pending); });
}

void FileBrowser::ApplyClick(const FileRecord& record) {
    const ImGuiIO& io = ImGui::GetIO();
    const bool multi = (flags & FileBrowserFlags::MultiSelect) &&
                       ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows) && (io.KeyCtrl || io.KeyShift);
    const bool directoriesOnly = (flags & FileBrowserFlags::DirectoriesOnly) != 0;

    if (selectedNames.count(record.name) != 0) {
        if (multi)
            selectedNames.erase(record.name);
        else
            selectedNames.clear();
        inputNameBuffer[0] = '\0';
        return;
    }
    if (record.name == "..") {
        if (!multi) selectedNames.clear();
        return;
    }
    if (record.isDirectory != directoriesOnly) return;  // wrong kind for this dialog

    if (!multi) selectedNames.clear();
    selectedNames.insert(record.name);
    if (!directoriesOnly) {
        // A name too long for the field is left out of it rather than cut in
        // the middle of a character; the selection still holds the whole name.
        const std::string text = record.name.u8string();
        if (text.size() < kNameBufferSize)
            std::memcpy(inputNameBuffer.get(), text.c_str(), text.size() + 1);
        else
            inputNameBuffer[0] = '\0';
    }
}

void FileBrowser::DrawNameField() {
    if (!(flags & FileBrowserFlags::NameInput) || (flags & FileBrowserFlags::DirectoriesOnly)) return;
    ImGui::PushID(this);
    ImGui::PushItemWidth(-1);
    if (ImGui::InputText("", inputNameBuffer.get(), kNameBufferSize, 0) && inputNameBuffer[0] != '\0')
        selectedNames = {fs::path(inputNameBuffer.get())};
    ImGui::PopItemWidth();
    ImGui::PopID();
}

void FileBrowser::DrawButtonsAndStatus() {
    if (ImGui::Button(" ok ", ImVec2(0, 0))) {
        if ((flags & FileBrowserFlags::DirectoriesOnly) || !selectedNames.empty()) {
            confirmed = true;
            ImGui::CloseCurrentPopup();
        }
    }
    ImGui::SameLine(0, -1);
    if (ImGui::Button("cancel", ImVec2(0, 0))) {
        ImGui::CloseCurrentPopup();
    } else if ((flags & FileBrowserFlags::CloseOnEscape) &&
               ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows) &&
               ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), true)) {
        ImGui::CloseCurrentPopup();
    }
    if (!statusText.empty() && !(flags & FileBrowserFlags::HideStatus)) {
        ImGui::SameLine(0, -1);
        ImGui::Text("%s", statusText.c_str());
    }
}

void FileBrowser::DrawTypeFilters() {
    if (typeFilters.empty()) return;
    ImGui::SameLine(0, -1);
    ImGui::PushItemWidth(ImGui::GetFontSize() * 8.0f);
    if (ImGui::BeginCombo("##type_filters", typeFilters[typeFilterIndex].c_str(), 0)) {
        for (uint32_t i = 0; i < typeFilters.size(); ++i) {
            const bool selected = i == typeFilterIndex;
            if (ImGui::Selectable(typeFilters[i].c_str(), selected, 0, ImVec2(0, 0)) && !selected) typeFilterIndex = i;
        }
        ImGui::EndCombo();
    }
    ImGui::PopItemWidth();
}
