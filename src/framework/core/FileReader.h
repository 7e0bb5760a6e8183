// FileReader.h - whole-file text reading relative to the working directory.
#pragma once

#include <string>

namespace Ostrel {

// Prefix put before every path the file reader and image loaders open.
std::string GetCurrentPath();

class FileReader {
public:
    // The whole file with "\n" line ends, or "" (and two diagnostic lines) when
    // it cannot be opened.
    std::string ReadFile(std::string path);
};

}  // namespace Ostrel
