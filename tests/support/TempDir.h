// TempDir.h - a fresh temporary directory removed with its contents on
// destruction, and a scoped change of the working directory.
#pragma once

#include <string>

namespace OstrelTest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    // Path of a file inside the directory.
    std::string File(const std::string& name) const { return path + "/" + name; }
    // Writes text (bytes as given, no line-end translation), creating parent directories.
    void Write(const std::string& name, const std::string& text) const;

private:
    std::string path;
};

// Makes `dir` the working directory until destruction, then goes back.
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::string previous;
};

// Directory of the running test executable (the build tree).
std::string ExecutableDir();

}  // namespace OstrelTest
