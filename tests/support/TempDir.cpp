#include "TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace OstrelTest {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
    path = buffer.data();
}

TempDir::~TempDir() {
    std::error_code error;
    fs::remove_all(path, error);
}

void TempDir::Write(const std::string& name, const std::string& text) const {
    const fs::path target = fs::path(path) / name;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << text;
}

ScopedChdir::ScopedChdir(const std::string& dir) : previous(fs::current_path().string()) {
    fs::current_path(dir);
}

ScopedChdir::~ScopedChdir() {
    std::error_code error;
    fs::current_path(previous, error);
    if (error) std::cerr << "ScopedChdir: cannot return to " << previous << ": " << error.message() << std::endl;
}

ScopedEnv::ScopedEnv(std::string variable, const char* value, bool overwrite) : name(std::move(variable)) {
    if (const char* old = std::getenv(name.c_str())) saved = old;
    if (value != nullptr) setenv(name.c_str(), value, overwrite ? 1 : 0);
}

std::string ExecutableDir() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path().string();
    return exe.parent_path().string();
}

}  // namespace OstrelTest
