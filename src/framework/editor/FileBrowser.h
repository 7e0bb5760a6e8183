// FileBrowser.h - the editor's file-open dialog, an immediate-mode ImGui popup
// that lists one directory at a time and hands back the confirmed path.
//
// The owner calls Open() once, Display() every frame inside the ImGui frame,
// and polls HasSelected(); then GetSelected() and ClearSelected().
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A u32 bit set fixed at construction; the named bits below combine with |.
struct FileBrowserFlags {
    static constexpr uint32_t DirectoriesOnly = 1 << 0;    // choose a directory, not a file
    static constexpr uint32_t NameInput = 1 << 1;          // free text field for a name
    static constexpr uint32_t NonModal = 1 << 2;           // plain popup instead of a modal one
    static constexpr uint32_t NoTitleBar = 1 << 3;         // modal popup without a title bar
    static constexpr uint32_t HideStatus = 1 << 4;         // status text not drawn
    static constexpr uint32_t CloseOnEscape = 1 << 5;      // Escape closes the focused dialog
    static constexpr uint32_t AllowNewDirectory = 1 << 6;  // "+" button and new-directory popup
    static constexpr uint32_t MultiSelect = 1 << 7;        // Ctrl/Shift click toggles one entry

    uint32_t bits = 0;

    constexpr FileBrowserFlags(uint32_t bits_ = 0) : bits(bits_) {}
    constexpr operator uint32_t() const { return bits; }
};

class FileBrowser {
public:
    struct FileRecord {
        bool isDirectory = false;
        std::filesystem::path name;
        std::string displayText;
        std::filesystem::path extension;
    };

    static constexpr size_t kNameBufferSize = 512;

    explicit FileBrowser(FileBrowserFlags flags = 0);
    ~FileBrowser();
    // The labels embed this object's address: a browser must stay where it was built.
    FileBrowser(const FileBrowser&) = delete;
    FileBrowser& operator=(const FileBrowser&) = delete;

    void SetTitle(std::string title);
    void SetTypeFilters(const std::vector<std::string>& filters);
    void Open();
    bool SetDirectory(const std::filesystem::path& dir);
    void Display();
    bool HasSelected() const;
    std::filesystem::path GetSelected() const;
    void ClearSelected();

    // Read-only views of the dialog state, for the editor and for tests.
    const std::string& GetTitle() const { return title; }
    const std::string& GetOpenLabel() const { return openLabel; }
    const std::string& GetNewDirLabel() const { return newDirLabel; }
    const std::string& GetStatusText() const { return statusText; }
    const std::vector<std::string>& GetTypeFilters() const { return typeFilters; }
    uint32_t GetTypeFilterIndex() const { return typeFilterIndex; }
    bool HasAllFilter() const { return hasAllFilter; }
    const std::filesystem::path& GetCurrentDirectory() const { return currentDirectory; }
    const std::set<std::filesystem::path>& GetSelectedNames() const { return selectedNames; }
    const std::vector<FileRecord>& GetFileRecords() const { return fileRecords; }
    const char* GetInputName() const { return inputNameBuffer.get(); }
    bool IsOpenRequested() const { return openRequested; }
    uint32_t GetDrives() const { return drives; }
    FileBrowserFlags GetFlags() const { return flags; }

private:
    void ChangeDirectory(const std::filesystem::path& dir);
    void RefreshEntries();
    bool MatchesTypeFilter(const std::filesystem::path& extension) const;

    void DisplayContents();
    void DrawDriveList();
    void DrawPathButtons();
    void DrawRefreshButton();
    void DrawNewDirectory();
    void DrawList();
    void DrawNameField();
    void DrawButtonsAndStatus();
    void DrawTypeFilters();
    void ApplyClick(const FileRecord& record);
    void Refresh();

    int32_t width = 700;
    int32_t height = 450;
    FileBrowserFlags flags = 0;
    std::string title;
    std::string openLabel;
    bool openRequested = false;
    bool confirmed = false;
    std::string statusText;
    std::vector<std::string> typeFilters;
    uint32_t typeFilterIndex = 0;
    bool hasAllFilter = false;
    std::filesystem::path currentDirectory;
    std::set<std::filesystem::path> selectedNames;
    std::vector<FileRecord> fileRecords;
    std::unique_ptr<char[]> inputNameBuffer;
    std::string newDirLabel;
    std::unique_ptr<char[]> newDirNameBuffer;
    uint32_t drives = 0;
};
