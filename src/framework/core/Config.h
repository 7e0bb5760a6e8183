// Config.h - "assets/game/config.txt": key=value lines with string, int and
// float lookups.
#pragma once

#include <map>
#include <string>

namespace Ostrel {

class Config {
public:
    std::string text;
    std::map<std::string, std::string> cache;

    void Load();
    bool GetString(std::string key, std::string* value);
    // A value that does not convert prints one line and returns false, leaving
    // *value unchanged so the caller keeps its default.
    bool GetInt(std::string key, int* value);
    bool GetFloat(std::string key, float* value);
};

}  // namespace Ostrel
