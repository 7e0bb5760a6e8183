#include "FileReader.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace Ostrel {

std::string GetCurrentPath() {
    return std::string();
}

std::string FileReader::ReadFile(std::string path) {
    const std::string full = GetCurrentPath() + path;
    // Binary read plus our own "\r\n" -> "\n", so files written on Windows read
    // the same on every platform.
    std::ifstream file(full, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        std::cerr << "Current path: " << GetCurrentPath() << std::endl;
        std::cerr << "Could not open the file - '" << full << "'" << std::endl;
        return std::string();
    }
    const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text.push_back(raw[i]);
    }
    return text;
}

}  // namespace Ostrel
