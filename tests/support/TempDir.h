// TempDir.h - a fresh temporary directory removed with its contents on
// destruction; scoped changes of the working directory and the environment.
#pragma once

#include <cstdlib>
#include <optional>
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

// Sets `name` (a null value, or no overwrite of a set one, keeps it) and restores it when done.
struct ScopedEnv {
    explicit ScopedEnv(std::string name, const char* value = nullptr, bool overwrite = true);
    ScopedEnv(const ScopedEnv&) = delete;
    ~ScopedEnv() { saved ? setenv(name.c_str(), saved->c_str(), 1) : unsetenv(name.c_str()); }
    std::string name;
    std::optional<std::string> saved;
};

// Directory of the running test executable (the build tree).
std::string ExecutableDir();

}  // namespace OstrelTest
