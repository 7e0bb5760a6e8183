#include "FileReader.h"

#include <exception>
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
    std::string raw;
    bool readable = file.is_open();
    if (readable) {
        // A directory opens but fails on the first read, and libstdc++ throws
        // from inside the stream buffer for that: treat it like a failed open.
        try {
            raw.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        } catch (const std::exception&) {
            readable = false;
        }
    }
    if (!readable) {
        std::cerr << "Current path: " << GetCurrentPath() << std::endl;
        std::cerr << "Could not open the file - '" << full << "'" << std::endl;
        return std::string();
    }
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text.push_back(raw[i]);
    }
    return text;
}

}  // namespace Ostrel
